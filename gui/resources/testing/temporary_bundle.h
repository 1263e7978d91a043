#pragma once

// A bundle for tests: a fresh folder that holds "<folder>/Test.bundle/Resources/", made the
// current bundle while it lives. Override folders and pointer files go into the folder beside
// the bundle. Everything is removed, and the default bundle restored, when it goes.

#include <filesystem>
#include <string_view>

namespace ResourcesTest {

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
