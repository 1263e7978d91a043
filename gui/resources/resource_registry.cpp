#include "gui/resources/resource_registry.h"

#include "base/encoding.h"
#include "base/key_value.h"
#include "base/text.h"

namespace Velto {

namespace {

using Scope = QorThreads::CriticalRegion::Scope;

// The file name of a resource: Latin-1 bytes as path characters.
std::wstring ResourceFileName(std::string_view name, std::string_view type) {
  std::string file(name);
  file += '.';
  file += type;
  return Wex::Latin1ToWide(file);
}

}  // namespace

rcResourceRegistry::rcResourceRegistry(bool useOverrideFolder, const std::wstring& label)
    : fBundle(Wex::GetCurrentImageBundle()) {
  if (useOverrideFolder) FindOverrideFolder(label);
}

void rcResourceRegistry::FindOverrideFolder(const std::wstring& label) {
  const QorFiles::Path place = Wex::ToQorFilesPath(Wex::GetCurrentBundleURL().Get()).GetParent();
  const QorFiles::Path pointerFile(place, label + L" Resources Path.txt");
  QorFiles::Path folder;
  if (pointerFile.IsFile()) {
    const std::string text = Wex::ReplaceAll(Wex::ReplaceAll(Wex::ReadFileAsString(pointerFile), "\n", ""), "\r", "");
    folder = QorFiles::Path(place, Wex::Latin1ToWide(text));
  } else {
    folder = QorFiles::Path(place, label + L" Resources");
  }
  if (folder.IsDirectory()) fOverrideFolder = folder;
}

std::string rcResourceRegistry::ReadResourceText(std::string_view name, std::string_view type) {
  if (!fOverrideFolder.IsEmpty()) {
    const QorFiles::Path file(fOverrideFolder, ResourceFileName(name, type));
    if (file.IsFile()) return Wex::ReadFileAsString(file);
  }
  const ref<Wex::rcResourceStream> stream = Wex::OpenBundleResource(*fBundle, type, name);
  std::string text(static_cast<std::size_t>(stream->GetLength()), '\0');
  stream->Read(text.data(), stream->GetLength());
  return text;
}

std::string rcResourceRegistry::LoadResource(std::string_view name, std::string_view type, bool cache) {
  const Scope lock(*this);
  std::pair<std::string, std::string> key(name, type);
  if (const auto found = fResourceTexts.find(key); found != fResourceTexts.end()) return found->second;
  std::string text = ReadResourceText(name, type);
  if (cache) fResourceTexts.emplace(std::move(key), text);
  return text;
}

void rcResourceRegistry::LoadStrings(std::string_view name, std::string_view type) {
  const Scope lock(*this);
  std::map<std::string, std::string> entries;
  Wex::ParseKeyValueText(LoadResource(name, type, false), entries);
  for (const auto& [key, value] : entries) fStrings.emplace(key, Wex::UnquoteWide(value));
}

std::wstring rcResourceRegistry::Translate(std::string_view text) {
  const Scope lock(*this);
  auto found = fStrings.find(text);
  if (found == fStrings.end()) found = fStrings.emplace(std::string(text), Wex::Latin1ToWide(text)).first;
  return found->second;
}

std::string rcResourceRegistry::TranslateLatin1(std::string_view text) {
  const Scope lock(*this);
  return Wex::WideToLatin1(Translate(text));
}

void rcResourceRegistry::Clear() {
  const Scope lock(*this);
  fResourceTexts.clear();
  fStrings.clear();
}

}  // namespace Velto
