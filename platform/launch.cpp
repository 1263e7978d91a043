#include "platform/launch.h"

#include <gio/gio.h>

#include <memory>
#include <utility>

#include "base/exceptions.h"
#include "platform/text.h"

namespace Platform {

namespace {

// The OS status of a refusal.
std::int32_t StatusOf(const GError* error) {
  if (error != nullptr && error->domain == G_IO_ERROR) {
    switch (error->code) {
      case G_IO_ERROR_NOT_FOUND:
        return -43;
      case G_IO_ERROR_PERMISSION_DENIED:
        return -54;
      case G_IO_ERROR_INVALID_ARGUMENT:
      case G_IO_ERROR_INVALID_FILENAME:
        return -50;
      default:
        break;
    }
  }
  if (error != nullptr && error->domain == G_CONVERT_ERROR) return -50;
  return Wex::kLaunchRefusedStatus;
}

// Throws the status of the error and frees it.
[[noreturn]] void ThrowRefusal(GError* error) {
  const std::int32_t status = StatusOf(error);
  if (error != nullptr) g_error_free(error);
  throw Wex::xMacOSError(status);
}

void LaunchDefault(const std::string& uri) {
  GError* error = nullptr;
  if (!g_app_info_launch_default_for_uri(uri.c_str(), nullptr, &error)) ThrowRefusal(error);
}

Launcher gLauncher = LaunchDefault;

}  // namespace

Launcher SetLauncher(Launcher launcher) {
  return std::exchange(gLauncher, launcher != nullptr ? launcher : LaunchDefault);
}

}  // namespace Platform

namespace Wex {

void LaunchURL(const rcString& url) {
  // A NUL would cut the URI short.
  if (url.GetText().find('\0') != std::string_view::npos) throw xMacOSError(-50);
  Platform::gLauncher(Platform::Latin1ToUTF8(url.GetText()));
}

void LaunchPath(const QorFiles::Path& path) {
  GError* error = nullptr;
  const std::string text = path.GetNativeText();
  const std::unique_ptr<gchar, decltype(&g_free)> filename(
      g_filename_from_utf8(text.data(), static_cast<gssize>(text.size()), nullptr, nullptr, &error), g_free);
  if (!filename) Platform::ThrowRefusal(error);
  const std::unique_ptr<gchar, decltype(&g_free)> uri(g_filename_to_uri(filename.get(), nullptr, &error), g_free);
  if (!uri) Platform::ThrowRefusal(error);
  Platform::gLauncher(uri.get());
}

}  // namespace Wex
