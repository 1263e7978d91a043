#pragma once

// Opening URLs, files and folders with the user's default application.

#include <cstdint>
#include <string>

#include "base/files.h"
#include "base/rc_string.h"

namespace Wex {

// The status of a refusal: no application can open the item, or it cannot be launched.
inline constexpr std::int32_t kLaunchRefusedStatus = -10810;

// Opens the URL (ISO Latin-1 text). A refusal throws xMacOSError: -43 when the item does not
// exist, -54 when it may not be read, -50 for a text that is no URI, else kLaunchRefusedStatus.
void LaunchURL(const rcString& url);
// Opens the file or folder; a path that is not absolute is refused with -50.
void LaunchPath(const QorFiles::Path& path);

}  // namespace Wex

namespace Platform {

// Opens a UTF-8 URI or throws Wex::xMacOSError. The default launcher asks GIO for the URI's
// default application.
using Launcher = void (*)(const std::string& uri);

// Installs the launcher that LaunchURL and LaunchPath call (null installs the default) and
// answers the previous one. Main thread only.
Launcher SetLauncher(Launcher launcher);

}  // namespace Platform
