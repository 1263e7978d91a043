#include "platform/bundle.h"

#include <dlfcn.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>

#include "base/encoding.h"
#include "base/exceptions.h"

namespace {

// The folder chosen by SetCurrentImageBundleFolder; empty for the default.
struct ChosenFolder {
  std::mutex fMutex;
  QorFiles::Path fFolder;
};

ChosenFolder& GetChosenFolder() {
  static ChosenFolder chosen;
  return chosen;
}

// The file that holds this code, as the loader names it; empty when it cannot be found.
std::string FindProgramFile() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&Wex::GetCurrentImageBundle), &info) == 0 || info.dli_fname == nullptr) {
    return {};
  }
  // The loader names the main program as it was started: a bare name found on the search path,
  // or a name relative to the working folder of that time.
  if (*info.dli_fname != '\0' && std::strcmp(info.dli_fname, program_invocation_name) == 0) {
    return "/proc/self/exe";
  }
  return info.dli_fname;
}

// The absolute form of an existing path, with links, "." and ".." resolved and no trailing
// separator; empty when the path does not exist.
QorFiles::Path Resolve(const std::string& text) {
  if (text.empty() || text.find('\0') != std::string::npos) return {};
  char* resolved = realpath(text.c_str(), nullptr);
  if (resolved == nullptr) return {};
  QorFiles::Path path(Wex::UTF8ToWide(resolved));
  std::free(resolved);
  return path;
}

QorFiles::Path GetBundleFolder(const Wex::rcResourceFile& bundle) {
  const auto* held = bundle.GetBundle() ? bundle.GetBundle()->GetObjectAs<Platform::rcCFBundle>() : nullptr;
  return held != nullptr ? held->GetFolder() : QorFiles::Path();
}

bool IsRegularFile(const QorFiles::Path& path) {
  const std::string text = path.GetNativeText();
  struct stat status{};
  return text.find('\0') == std::string::npos && stat(text.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

// The path, when it names a regular file.
const QorFiles::Path& CheckRegularFile(const QorFiles::Path& path) {
  if (!IsRegularFile(path)) throw QorFiles::Exception("Not a regular file: " + path.GetNativeText());
  return path;
}

}  // namespace

namespace Wex {

rcResourceStream::rcResourceStream(const QorFiles::Path& path)
    : fFile(CheckRegularFile(path)), fLength(fFile.GetSize()) {}

void rcResourceStream::Read(void* buffer, std::int64_t count) {
  if (count < 0 || count > fLength - fPosition) throw xCannotReadBeyondEnd();
  fFile.ReadExactlyAt(fPosition, static_cast<std::size_t>(count), buffer);
  fPosition += count;
}

std::string rcResourceStream::ReadRest() {
  std::string bytes(static_cast<std::size_t>(fLength - fPosition), '\0');
  Read(bytes.data(), fLength - fPosition);
  return bytes;
}

void SetCurrentImageBundleFolder(const QorFiles::Path& folder) {
  ChosenFolder& chosen = GetChosenFolder();
  const std::lock_guard<std::mutex> lock(chosen.fMutex);
  chosen.fFolder = folder;
}

ref<rcResourceFile> GetCurrentImageBundle() {
  ChosenFolder& chosen = GetChosenFolder();
  QorFiles::Path folder;
  {
    const std::lock_guard<std::mutex> lock(chosen.fMutex);
    folder = chosen.fFolder;
  }
  if (folder.IsEmpty()) {
    const std::string file = FindProgramFile();
    if (file.empty()) throw xExceptionWithRCString("Could not create bundle from current image URL");
    const QorFiles::Path program = Resolve(file);
    if (!program.IsEmpty()) folder = program.GetParent();
  } else {
    folder = Resolve(folder.GetNativeText());
  }
  if (!folder.IsDirectory()) throw xExceptionWithRCString("Could not obtain bundle from current image");
  return ref<rcResourceFile>(new rcResourceFile(ref<rcMacCFObject>(new rcMacCFObject(ref<rc>(new Platform::rcCFBundle(folder))))));
}

ref<rcMacCFObject> GetCurrentBundleURL() {
  const QorFiles::Path folder = GetBundleFolder(*GetCurrentImageBundle());
  return ref<rcMacCFObject>(new rcMacCFObject(ref<rc>(new Platform::rcCFURL(folder))));
}

QorFiles::Path ToQorFilesPath(const rcMacCFObject* url) {
  const auto* held = url != nullptr ? url->GetObjectAs<Platform::rcCFURL>() : nullptr;
  return held != nullptr ? held->GetPath() : QorFiles::Path();
}

ref<rcResourceStream> OpenBundleResource(const rcResourceFile& bundle, std::string_view type, std::string_view name) {
  const QorFiles::Path folder = GetBundleFolder(bundle);
  std::string file(name);
  file += '.';
  file += type;
  const QorFiles::Path path(QorFiles::Path(folder, L"Resources"), Latin1ToWide(file));
  if (folder.IsEmpty() || !IsRegularFile(path)) {
    std::string message = "Cannot get URL for resource: ";
    message += name;
    message += " (type: ";
    message += type;
    message += ')';
    throw xExceptionWithRCString(message);
  }
  return ref<rcResourceStream>(new rcResourceStream(path));
}

}  // namespace Wex
