#pragma once

// A bundle for tests: a fresh folder that holds "<folder>/Test.bundle/Resources/", made the
// current bundle while it lives. Override folders and pointer files go into the folder beside
// the bundle. Everything is removed, and the default bundle restored, when it goes.

#include <filesystem>
#include <string_view>

namespace ResourcesTest {

// A PNG of 3 × 1 grey pixels (levels 0, 128 and 255) without transparency, with a gAMA chunk: a
// picture that reads as a mask.
inline constexpr std::string_view kGreyPicture(
    "\x89PNG\r\n\x1a\n\x00\x00\x00\x0dIHDR\x00\x00\x00\x03\x00\x00\x00\x01\x08\x00\x00\x00\x00\x3e\x8b\x4b\x68"
    "\x00\x00\x00\x04gAMA\x00\x01\x86\xa0\x31\xe8\x96\x5f\x00\x00\x00\x0cIDAT\x78\x9c\x63\x60\x68\xf8\x0f\x00\x02"
    "\x03\x01\x80\x24\x61\xf5\x97\x00\x00\x00\x00IEND\xae\x42\x60\x82",
    85);

class TemporaryBundle {
 public:
  TemporaryBundle();
  ~TemporaryBundle();
  TemporaryBundle(const TemporaryBundle&) = delete;
  TemporaryBundle& operator=(const TemporaryBundle&) = delete;

  // The folder that holds the bundle.
  const std::filesystem::path& GetFolder() const { return fFolder; }
  std::filesystem::path GetBundleFolder() const { return fFolder / "Test.bundle"; }

  // Writes the bundle resource "<name>.<type>"; name and type are ISO Latin-1 bytes.
  void WriteResource(std::string_view name, std::string_view type, std::string_view contents) const;
  // Writes "<name>.<type>" into the override folder "<label> Resources" beside the bundle,
  // making the folder when needed.
  void WriteOverride(std::wstring_view label, std::string_view name, std::string_view type,
                     std::string_view contents) const;
  // Writes the pointer file "<label> Resources Path.txt" beside the bundle.
  void WritePointerFile(std::wstring_view label, std::string_view contents) const;
  // Writes a file at a UTF-8 path relative to the folder, making its folders when needed.
  void WriteFile(const std::filesystem::path& relative, std::string_view contents) const;
  // Makes a folder (with its parents) at a UTF-8 path relative to the folder.
  void MakeFolder(const std::filesystem::path& relative) const;

 private:
  std::filesystem::path fFolder;
};

}  // namespace ResourcesTest
