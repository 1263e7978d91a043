#include "gui/resources/testing/temporary_bundle.h"

#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <string>
#include <system_error>

#include "base/encoding.h"
#include "platform/bundle.h"

namespace ResourcesTest {

namespace {

// The file name of a resource as the bundle stores it: Latin-1 bytes reach the OS as UTF-8.
std::filesystem::path ResourceFileName(std::string_view name, std::string_view type) {
  std::string file(name);
  file += '.';
  file += type;
  return Wex::WideToUTF8(Wex::Latin1ToWide(file));
}

std::filesystem::path LabelFileName(std::wstring_view label, std::wstring_view suffix) {
  return Wex::WideToUTF8(std::wstring(label) + std::wstring(suffix));
}

}  // namespace

TemporaryBundle::TemporaryBundle() {
  std::string pattern = (std::filesystem::temp_directory_path() / "marovell-bundle-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot make a temporary folder");
  fFolder = pattern;
  MakeFolder("Test.bundle/Resources");
  Wex::SetCurrentImageBundleFolder(QorFiles::Path(Wex::UTF8ToWide(GetBundleFolder().string())));
}

TemporaryBundle::~TemporaryBundle() {
  Wex::SetCurrentImageBundleFolder(QorFiles::Path());
  std::error_code ignored;
  std::filesystem::remove_all(fFolder, ignored);
}

void TemporaryBundle::WriteResource(std::string_view name, std::string_view type, std::string_view contents) const {
  WriteFile(std::filesystem::path("Test.bundle/Resources") / ResourceFileName(name, type), contents);
}

void TemporaryBundle::WriteOverride(std::wstring_view label, std::string_view name, std::string_view type,
                                    std::string_view contents) const {
  WriteFile(LabelFileName(label, L" Resources") / ResourceFileName(name, type), contents);
}

void TemporaryBundle::WritePointerFile(std::wstring_view label, std::string_view contents) const {
  WriteFile(LabelFileName(label, L" Resources Path.txt"), contents);
}

void TemporaryBundle::WriteFile(const std::filesystem::path& relative, std::string_view contents) const {
  const std::filesystem::path path = fFolder / relative;
  std::filesystem::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(contents.data(), static_cast<std::streamsize>(contents.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

void TemporaryBundle::MakeFolder(const std::filesystem::path& relative) const {
  std::filesystem::create_directories(fFolder / relative);
}

}  // namespace ResourcesTest
