#include "gui/resources/resource_registry.h"

#include <algorithm>
#include <cmath>

#include "base/encoding.h"
#include "base/exceptions.h"
#include "base/expression.h"
#include "base/key_value.h"
#include "base/text.h"
#include "gui/resources/attributes.h"
#include "gui/resources/canvas.h"
#include "gui/resources/film.h"
#include "gui/resources/film_font.h"
#include "gui/resources/image_wrappers.h"
#include "gui/resources/layout.h"
#include "gui/resources/raster_resources.h"
#include "gui/resources/system_font.h"

namespace Velto {

using Wex::ValueOf;

namespace {

using Scope = QorThreads::CriticalRegion::Scope;

// The file name of a resource: Latin-1 bytes as path characters.
std::wstring ResourceFileName(std::string_view name, std::string_view type) {
  std::string file(name);
  file += '.';
  file += type;
  return Wex::Latin1ToWide(file);
}

// Gamma within 0 and the limit; a value that is no number counts as 0.
double ClampGamma(double gamma, double limit) { return gamma >= 0 ? std::min(gamma, limit) : 0.0; }

// Opacity within 0 to 1; a value that is no number counts as whole.
double ClampOpacity(double opacity) { return std::isnan(opacity) ? 1.0 : std::clamp(opacity, 0.0, 1.0); }

// The first byte of the unquoted "unknown" value as a signed character; 0 when it is empty.
std::int8_t ReadReplacement(const Description& keys) {
  const std::string unknown = Wex::Unquote(ValueOf(keys, "unknown"));
  return unknown.empty() ? 0 : static_cast<std::int8_t>(unknown[0]);
}

std::uint8_t Byte(std::int8_t c) { return static_cast<std::uint8_t>(c); }

// The bytes of a picture's decoded pixels.
std::int64_t DecodedBytes(std::int64_t width, std::int64_t height, bool mask) {
  return width * height * (mask ? 1 : 4);
}

// A film font over the strip: the charset's bytes, else "chars" bytes from "first", each one
// frame; ascent and advance from frame 0 unless given.
iref<iFont> MakeFilmFont(const Description& keys, const refString& charset, std::int8_t first,
                         std::int32_t frameCount, ref<rcImage> strip) {
  const iref<iFilm> film(new rcFilm(std::move(strip), frameCount));
  const Wex::cRect frame = film->GetFrame(0)->GetBounds();
  const std::int32_t ascent = Wex::EvaluateIntExpressionWithValue(ValueOf(keys, "ascent"), frame.Height());
  const std::int32_t advance = Wex::EvaluateIntExpressionWithValue(ValueOf(keys, "advance"), frame.Width());
  const std::int8_t replacement = ReadReplacement(keys);
  if (charset) {
    std::int64_t index = 0;
    if (replacement != 0 && !charset->FindChar(0, replacement, index)) {
      throw FormatException("Replacement char not found in charset");
    }
    return iref<iFont>(new rcFilmFont(film, ascent, advance, charset, replacement));
  }
  if (Byte(replacement) >= std::int64_t{Byte(first)} + frameCount ||
      (replacement != 0 && Byte(replacement) < Byte(first))) {
    throw FormatException("Replacement char not found in charset");
  }
  return iref<iFont>(new rcFilmFont(film, ascent, advance, first, replacement));
}

}  // namespace

rcResourceRegistry::rcResourceRegistry(bool useOverrideFolder, const std::wstring& label, std::int64_t maxImageBytes)
    : fBundle(Wex::GetCurrentImageBundle()), fMaxImageBytes(maxImageBytes) {
  if (useOverrideFolder) FindOverrideFolder(label);
}

void rcResourceRegistry::FindOverrideFolder(const std::wstring& label) {
  const QorFiles::Path place = Wex::ToQorFilesPath(Wex::GetCurrentBundleURL().Get()).GetParent();
  const QorFiles::Path pointerFile(place, label + L" Resources Path.txt");
  QorFiles::Path folder;
  if (pointerFile.IsFile()) {
    const std::string text =
        Wex::ReplaceAll(Wex::ReplaceAll(Wex::rcResourceStream(pointerFile).ReadRest(), "\n", ""), "\r", "");
    folder = QorFiles::Path(place, Wex::Latin1ToWide(text));
  } else {
    folder = QorFiles::Path(place, label + L" Resources");
  }
  if (folder.IsDirectory()) fOverrideFolder = folder;
}

ref<Wex::rcResourceStream> rcResourceRegistry::OpenResource(std::string_view name, std::string_view type) {
  if (!fOverrideFolder.IsEmpty()) {
    const QorFiles::Path file(fOverrideFolder, ResourceFileName(name, type));
    if (file.IsFile()) return ref<Wex::rcResourceStream>(new Wex::rcResourceStream(file));
  }
  return Wex::OpenBundleResource(*fBundle, type, name);
}

std::string rcResourceRegistry::LoadResource(std::string_view name, std::string_view type, bool cache) {
  const Scope lock(*this);
  std::pair<std::string, std::string> key(name, type);
  if (const auto found = fResourceTexts.find(key); found != fResourceTexts.end()) return found->second;
  std::string text = OpenResource(name, type)->ReadRest();
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
  fImageBytes = 0;
  fFonts.clear();
  fStrings.clear();
  fBitmapFontData.clear();
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
  wanted.fGamma = ClampGamma(Wex::EvaluateExpression(ValueOf(block, "gamma"), 0), 4.0);
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
  const bool whole = wanted.fClipLeft == wanted.fClipRight && wanted.fClipTop == wanted.fClipBottom &&
                     wanted.fOffsetX == 0 && wanted.fOffsetY == 0;
  if (whole && wanted.fBlend != kBlendNormal && OpacityAlpha(wanted.fOpacity) == 255) {
    // No opacity is baked in, so the blend does not change the pixels.
    cImageSpec plain = wanted;
    plain.fBlend = kBlendNormal;
    image = new rcBlendedImage(GetImageForSpec(plain, cache), wanted.fBlend, 255);
  } else if (whole) {
    image = LoadPNGImage(wanted.fName, wanted.fRLE, wanted.fMask, wanted.fBlend, wanted.fGamma, wanted.fOpacity);
    if (cache) fImageBytes += DecodedBytes(image->GetBounds().Width(), image->GetBounds().Height(), wanted.fMask);
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
  const ref<Wex::rcResourceStream> stream = OpenResource(name, "png");
  cPNGStreamSource source(*stream);
  QorPNG::Reader reader(source);
  const std::int64_t bytes = DecodedBytes(reader.GetWidth(), reader.GetHeight(), mask);
  if (bytes > fMaxImageBytes - fImageBytes) {
    throw FormatException("Too many image pixels: " + name + ".png (" + std::to_string(reader.GetWidth()) + " x " +
                          std::to_string(reader.GetHeight()) + ") would take decoded images past " +
                          std::to_string(fMaxImageBytes) + " bytes");
  }
  return MakeRasterImage(reader, rle, mask, blend, gamma, opacity);
}

iref<iFont> rcResourceRegistry::GetFont(std::string_view value) {
  const Scope lock(*this);
  if (const auto found = fFonts.find(value); found != fFonts.end()) return found->second;
  iref<iFont> font = BuildFont(value);
  fFonts.emplace(std::string(value), font);
  return font;
}

iref<iFont> rcResourceRegistry::BuildFont(std::string_view value) {
  const Scope lock(*this);
  const Description keys = Wex::ParseKeyValueMap(value);
  if (keys.contains("film")) {
    refString charset;
    std::int8_t first = 0;
    std::int32_t frameCount = 0;
    if (keys.contains("charset")) {
      charset = Wex::MakeRCString(Wex::Unquote(ValueOf(keys, "charset")));
      frameCount = SaturateToInt32(charset->GetSize() - 1);
    } else {
      first = static_cast<std::int8_t>(Wex::EvaluateIntExpressionWithValue(ValueOf(keys, "first"), 32) & 0xff);
      frameCount = Wex::EvaluateIntExpressionWithValue(ValueOf(keys, "chars"), 256);
    }
    if (frameCount < 1) throw FormatException("Invalid film font frame count: " + std::to_string(frameCount));
    cImageSpec strip;
    strip.fName = Wex::Unquote(ValueOf(keys, "film"));
    return MakeFilmFont(keys, charset, first, frameCount, GetImageForSpec(strip, true));
  }
  if (keys.contains("fnt")) {
    // A font's gamma has no upper limit; the decoder refuses an infinite one.
    const double gamma = ClampGamma(Wex::EvaluateExpression(ValueOf(keys, "gamma"), 0), HUGE_VAL);
    ref<rcAngelCodeFont> data = GetBitmapFontData(Wex::Unquote(ValueOf(keys, "fnt")), gamma);
    const std::int32_t replacement = Byte(ReadReplacement(keys));
    const std::uint32_t color = ReadColor(ValueOf(keys, "color"), 0xff000000);
    return iref<iFont>(new rcBitmapFont(std::move(data), replacement, color));
  }
  return iref<iFont>(new rcSystemFont(ReadFontSpec(keys), ReadRGBColor(ValueOf(keys, "color"), 0)));
}

ref<rcAngelCodeFont> rcResourceRegistry::GetBitmapFontData(const std::string& name, double gamma) {
  const Scope lock(*this);
  std::pair<std::string, double> key(name, gamma);
  if (const auto found = fBitmapFontData.find(key); found != fBitmapFontData.end()) return found->second;
  const std::string text = LoadResource(name, "fnt", false);
  ref<rcAngelCodeFont> data(new rcAngelCodeFont(text.data(), text.data() + text.size()));
  for (const auto& [id, file] : data->GetFont().pages) {
    cImageSpec page;
    page.fName = file.substr(0, file.rfind('.'));
    page.fRLE = page.fMask = true;
    page.fGamma = gamma;
    const ref<rcImage> image = GetImageForSpec(page, true);
    data->SetPage(id, ref<rcRasterResource>(dynamic_cast<rcRasterResource*>(image.Get())));
  }
  fBitmapFontData.emplace(std::move(key), data);
  return data;
}

}  // namespace Velto
