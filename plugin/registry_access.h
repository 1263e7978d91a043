#pragma once

// The module-wide resource registry, shared by every plug-in instance of the module.

#include "gui/resources/resource_registry.h"
#include "plugin/plugin_record.h"

// The module's registry. The first call builds it, with the override folder of the label
// "<name> V<major>.<minor>", and then loads the string table "<name>_strings" of type "txt"; when
// that load fails its error passes out and the registry stays.
Velto::rcResourceRegistry& GetResourceRegistry(const PlugInRecord& record);

// Destroys the module's registry, if any; the next GetResourceRegistry builds a new one. Called
// when the last plug-in instance of the module closes.
void ReleaseResourceRegistry();
