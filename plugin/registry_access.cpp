#include "plugin/registry_access.h"

#include <string>

#include "base/critical_region.h"
#include "base/encoding.h"

namespace {

// The module's registry and the region that guards its creation and release (not the
// registry's own lock). Made on first use: the order in which the libraries' static objects are
// built is not defined.
struct ModuleRegistry {
  QorThreads::CriticalRegion fRegion;
  Velto::rcResourceRegistry* fRegistry = nullptr;
};

ModuleRegistry& GetModuleRegistry() {
  static ModuleRegistry module;
  return module;
}

}  // namespace

Velto::rcResourceRegistry& GetResourceRegistry(const PlugInRecord& record) {
  ModuleRegistry& module = GetModuleRegistry();
  const QorThreads::CriticalRegion::Scope scope(module.fRegion);
  if (module.fRegistry == nullptr) {
    const std::string label = record.fName + " V" + std::to_string(record.fMajorVersion) + "." +
                              std::to_string(record.fMinorVersion);
    module.fRegistry = new Velto::rcResourceRegistry(true, Wex::Latin1ToWide(label));
    module.fRegistry->LoadStrings(record.fName + "_strings", "txt");
  }
  return *module.fRegistry;
}

void ReleaseResourceRegistry() {
  ModuleRegistry& module = GetModuleRegistry();
  const QorThreads::CriticalRegion::Scope scope(module.fRegion);
  delete module.fRegistry;
  module.fRegistry = nullptr;
}
