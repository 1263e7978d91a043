#pragma once

// The module-wide registry of the GUI's resources: resource texts by name and type, the
// translation table of the texts that the program shows, and (through the image and font
// readers) images and fonts. Each resource comes from the override folder beside the bundle when
// that folder holds it, else from the bundle. Whatever is read stays cached until Clear.

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <utility>

#include "base/critical_region.h"
#include "base/files.h"
#include "base/rc.h"
#include "gui/resources/bitmap_font.h"
#include "gui/resources/font.h"
#include "gui/resources/image.h"
#include "gui/resources/image_resources.h"
#include "platform/bundle.h"

namespace Velto {

// Every operation holds the registry's re-entrant lock (the region it derives from) for its whole
// run, and leaves it on every exit. The registry carries no reference count: its creator owns it.
class rcResourceRegistry : public QorThreads::CriticalRegion {
 public:
  // The image cache holds at most this many bytes of decoded pixels by default: two pictures of
  // the most pixels that the PNG reader takes.
  static constexpr std::int64_t kMaxImageBytes = std::int64_t{512} * 1024 * 1024;

  // Takes the current bundle (and fails as Wex::GetCurrentImageBundle does). With
  // `useOverrideFolder` it looks beside the bundle for the override folder of `label`: the folder
  // that the pointer file "<label> Resources Path.txt" names relative to that place, else the
  // folder "<label> Resources". A pointer file that is there but is no regular file (a FIFO, a
  // device) or cannot be read throws QorFiles::Exception. The image cache holds at most
  // `maxImageBytes` bytes of decoded pixels.
  rcResourceRegistry(bool useOverrideFolder, const std::wstring& label, std::int64_t maxImageBytes = kMaxImageBytes);

  // The contents of the resource "<name>.<type>" (ISO Latin-1 names): the cached text when there
  // is one, else the text read now, which is cached when `cache` is true. A resource found
  // nowhere throws Wex::xExceptionWithRCString "Cannot get URL for resource: NAME (type: TYPE)";
  // one that the override folder holds as no regular file (a FIFO, a device) throws
  // QorFiles::Exception "Not a regular file: " and its path.
  std::string LoadResource(std::string_view name, std::string_view type, bool cache);
  // Reads the key/value text resource (without caching it) and adds its entries to the string
  // table: each key a text as the program writes it, each value (unquoted, with its escapes) the
  // text to show. An entry never replaces one already there; a malformed text throws the
  // reader's FormatException before any entry is added.
  void LoadStrings(std::string_view name, std::string_view type);
  // The translation of a Latin-1 text; a text without an entry translates to itself, and that
  // identity entry is added to the table.
  std::wstring Translate(std::string_view text);
  // Translate, back in Latin-1 ('?' for a character that Latin-1 lacks).
  std::string TranslateLatin1(std::string_view text);
  // Empties every cache and the string table; the bundle and the override folder stay. Images
  // and fonts already handed out stay usable.
  void Clear();

  // The image that an image description value denotes, built once per distinct image specification
  // and shared: a bare name (unquoted), or a block with the keys "name", "format" (empty, "rle",
  // "mask" or "rlemask"), "gamma" (0 to 4), "opacity" (percent), "blend" ("add", "multiply"),
  // "clip" (a layout rectangle against the whole picture's bounds) and "offset" (an integer
  // point). An unknown format throws FormatException "Invalid image format specification: " and
  // the quoted format; a missing picture, decoder errors (QorPNG::Exception) and expression
  // errors pass out, and leave the cache as it was (but for the whole picture of a block whose
  // "clip" or "offset" cannot be read). A picture whose decoded pixels (4 bytes a pixel, 1 for a
  // mask, packed or not) would take the cache past its bound throws FormatException "Too many
  // image pixels: " and the picture, before it is decoded. Image values that differ only in the
  // blend share the pixels when their opacity is whole, and clips share the whole picture's.
  ref<rcImage> GetImage(std::string_view value);

  // The font that a font description value denotes, built once per distinct text (spacing
  // counts) and shared. Its keys choose the kind:
  //  - "film" (a PNG strip, unquoted): a film font whose frames are the glyphs of the bytes of
  //    "charset" (unquoted), else of "chars" ("$" 256) bytes from "first" ("$" 32, its low
  //    byte); "ascent" and "advance" default to frame 0's height and width;
  //  - else "fnt" (an AngelCode resource, unquoted): a bitmap font in "color" (default opaque
  //    black) with its pages decoded as packed masks at "gamma" (0 below 0, no upper limit); the
  //    parsed font is shared by every bitmap font of the same resource and gamma;
  //  - else a platform font of "face", "size", "bold", "italic" and "underline" in "color"
  //    (default black).
  // The first byte of "unknown" replaces characters that a film or bitmap font lacks. Throws
  // FormatException "Invalid film font frame count: " and the count for fewer than 1 frame, and
  // "Replacement char not found in charset" for a film font's replacement that it lacks;
  // AngelCode, colour, expression, decoder and lookup errors pass out. Nothing is cached for a
  // value that fails (images and parsed fonts loaded on the way stay cached).
  iref<iFont> GetFont(std::string_view value);

 private:
  void FindOverrideFolder(const std::wstring& label);
  // The file "<name>.<type>" of the override folder when it is there (a FIFO or a device there
  // throws QorFiles::Exception "Not a regular file: " and its path), else the bundle's resource.
  ref<Wex::rcResourceStream> OpenResource(std::string_view name, std::string_view type);
  // The cached image of the image specification, else a new one (stored when `cache` is true): the
  // decoded picture, or a sub-image of the unclipped picture's image when the image specification has
  // a clip or an offset, or a blended image over the plain picture's pixels when the opacity is
  // whole. A decoded picture that is cached counts towards the bound.
  ref<rcImage> GetImageForSpec(const cImageSpec& wanted, bool cache);
  // Decodes the picture "<name>.png" of the override folder, else of the bundle, when its pixels
  // fit within the cache's bound.
  ref<rcImage> LoadPNGImage(const std::string& name, bool rle, bool mask, std::int32_t blend, double gamma,
                            double opacity);
  // A new font of the description value.
  iref<iFont> BuildFont(std::string_view value);
  // The cached parsed font of the "fnt" resource at the gamma, else the resource parsed now with
  // its pages, each page file's name cut before its last "." loaded as a packed mask.
  ref<rcAngelCodeFont> GetBitmapFontData(const std::string& name, double gamma);

  // Members in this order, so that they go in the reverse one and the lock last.
  ref<Wex::rcResourceFile> fBundle;
  QorFiles::Path fOverrideFolder;
  std::int64_t fMaxImageBytes;
  std::int64_t fImageBytes = 0;  // decoded pixels that the image cache holds
  std::map<std::pair<std::string, std::string>, std::string> fResourceTexts;
  std::map<cImageSpec, ref<rcImage>> fImages;
  std::map<std::string, iref<iFont>, std::less<>> fFonts;
  std::map<std::string, std::wstring, std::less<>> fStrings;
  std::map<std::pair<std::string, double>, ref<rcAngelCodeFont>> fBitmapFontData;
};

}  // namespace Velto
