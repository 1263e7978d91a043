#include "gui/resources/resource_registry.h"

#include <algorithm>
#include <cmath>

#include "base/encoding.h"
#include "base/exceptions.h"
#include "base/expression.h"
#include "base/key_value.h"
#include "base/text.h"
#include "gui/resources/image_wrappers.h"
#include "gui/resources/layout.h"

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

// The value of a key, empty when the key is absent.
std::string_view ValueOf(const Description& description, const std::string& key) {
  const auto found = description.find(key);
  return found != description.end() ? std::string_view(found->second) : std::string_view();
}

// Gamma within 0 to 4; a value that is no number counts as 0.
double ClampGamma(double gamma) { return gamma >= 0 ? std::min(gamma, 4.0) : 0.0; }

// Opacity within 0 to 1; a value that is no number counts as whole.
double ClampOpacity(double opacity) { return std::isnan(opacity) ? 1.0 : std::clamp(opacity, 0.0, 1.0); }

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
  fImages.clear();
  fStrings.clear();
}

ref<rcImage> rcResourceRegistry::GetImage(std::string_view value) {
  const Scope lock(*this);
  cImageSpec wanted;
  if (!Wex::IsBlockText(value)) {
    wanted.fName = Wex::Unquote(value);
    return GetImageForSpec(wanted, true);
  }
  const Description block = Wex::ParseKeyValueMap(value);
  wanted.fName = Wex::Unquote(ValueOf(block, "name"));
  const std::string format = Wex::Unquote(ValueOf(block, "format"));
  if (format == "rle" || format == "rlemask") wanted.fRLE = true;
  if (format == "mask" || format == "rlemask") wanted.fMask = true;
  if (!format.empty() && !wanted.fRLE && !wanted.fMask) {
    throw FormatException("Invalid image format specification: " + Wex::Quote(format));
  }
  wanted.fGamma = ClampGamma(Wex::EvaluateExpression(ValueOf(block, "gamma"), 0));
  wanted.fOpacity = ClampOpacity(Wex::EvaluateExpression(ValueOf(block, "opacity"), 100) * 0.01);
  wanted.fBlend = ReadBlendMode(Wex::Unquote(ValueOf(block, "blend")));
  const bool hasClip = block.contains("clip");
  const bool hasOffset = block.contains("offset");
  if (hasClip || hasOffset) {
    // The clip is read against the whole picture; an offset alone shifts the whole picture.
    const Wex::cRect whole = GetImageForSpec(wanted, true)->GetBounds();
    const Wex::cRect clip = hasClip ? ReadLayoutRect(ValueOf(block, "clip"), whole) : whole;
    const Wex::cPoint offset = hasOffset ? ReadIntPoint(ValueOf(block, "offset"), {0, 0}) : Wex::cPoint();
    wanted.fClipLeft = clip.fLeft;
    wanted.fClipTop = clip.fTop;
    wanted.fClipRight = clip.fRight;
    wanted.fClipBottom = clip.fBottom;
    wanted.fOffsetX = offset.fX;
    wanted.fOffsetY = offset.fY;
  }
  return GetImageForSpec(wanted, true);
}

ref<rcImage> rcResourceRegistry::GetImageForSpec(const cImageSpec& wanted, bool cache) {
  const Scope lock(*this);
  if (const auto found = fImages.find(wanted); found != fImages.end()) return found->second;
  ref<rcImage> image;
  if (wanted.fClipLeft == wanted.fClipRight && wanted.fClipTop == wanted.fClipBottom && wanted.fOffsetX == 0 &&
      wanted.fOffsetY == 0) {
    image = LoadPNGImage(wanted.fName, wanted.fRLE, wanted.fMask, wanted.fBlend, wanted.fGamma, wanted.fOpacity);
  } else {
    cImageSpec whole = wanted;
    whole.fClipLeft = whole.fClipTop = whole.fClipRight = whole.fClipBottom = 0;
    whole.fOffsetX = whole.fOffsetY = 0;
    image = new rcSubImage(GetImageForSpec(whole, cache),
                           {wanted.fClipLeft, wanted.fClipTop, wanted.fClipRight, wanted.fClipBottom},
                           {wanted.fOffsetX, wanted.fOffsetY});
  }
  if (cache) fImages.emplace(wanted, image);
  return image;
}

ref<rcImage> rcResourceRegistry::LoadPNGImage(const std::string& name, bool rle, bool mask, std::int32_t blend,
                                              double gamma, double opacity) {
  const Scope lock(*this);
  if (!fOverrideFolder.IsEmpty()) {
    const QorFiles::Path path(fOverrideFolder, ResourceFileName(name, "png"));
    if (path.IsFile()) {
      const QorFiles::File file(path);
      cPNGFileSource source(file);
      QorPNG::Reader reader(source);
      return MakeRasterImage(reader, rle, mask, blend, gamma, opacity);
    }
  }
  const ref<Wex::rcResourceStream> stream = Wex::OpenBundleResource(*fBundle, "png", name);
  cPNGStreamSource source(*stream);
  QorPNG::Reader reader(source);
  return MakeRasterImage(reader, rle, mask, blend, gamma, opacity);
}

}  // namespace Velto
