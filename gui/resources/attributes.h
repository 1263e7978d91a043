#pragma once

// Readers of description attribute values: colours, strokes, text alignment, ellipsis side,
// cursors and platform fonts. Each takes the raw text of one value (an absent key reads as empty
// text; an empty text gives the default) or, for fonts and structured strokes, a whole
// description. Names are compared exactly, after unquoting unless said otherwise. Rejected text
// throws FormatException with a message that names the kind of value, followed by the quoted
// text or the number; errors of the expression evaluator pass through unchanged.
//
// Colours are 32-bit premultiplied ARGB words: alpha in the top byte, then red, green and blue,
// none of the three above alpha.

#include <cstdint>
#include <string>
#include <string_view>

#include "base/key_value.h"
#include "base/rc.h"
#include "gui/cocoa_object.h"
#include "gui/font.h"
#include "gui/graphics_context.h"
#include "gui/resources/stroke.h"

namespace Velto {

// A whole unsigned number (decimal, 0x hexadecimal, leading-0 octal) is a colour word as it
// stands; a "{ red, green, blue [, opacity] }" list has components from 0 to 255 ("$" and an empty
// item give the default's) and an opacity from 0 to 1 ("$" is 1); otherwise the text is a colour
// name ("red", "transparent", ...).
std::uint32_t ReadColor(std::string_view text, std::uint32_t defaultColor);
// The red, green and blue bytes of ReadColor, premultiplied as they are.
Wex::cRGBColor ReadRGBColor(std::string_view text, std::uint32_t defaultColor);

// A colour (a stroke of width 1 in it), a "{ key: value, ... }" stroke description, or empty
// text: no stroke (width 0) for the default colour 0, else a stroke of width 1 in it.
cStroke ReadStroke(std::string_view text, std::uint32_t defaultColor);
// The keys "color", "stroke" (width), "caps", "joints", "miterLimit" (only with "joints: miter"),
// "quality", and "dash" ("none" or a length) with "gap" (the dash when absent) and "dashOffset",
// over the default stroke.
cStroke ReadStrokeSpec(const Description& description, const cStroke& defaultStroke);

// 0 "left", 1 "center", 2 "right".
std::int32_t ReadTextAlignment(std::string_view text, std::int32_t defaultAlignment);
// 0 "none", 1 "left", 2 "right", 3 "both", 4 "middle".
std::int32_t ReadEllipsisSide(std::string_view text, std::int32_t defaultSide);

// A new holder of the shared platform cursor of a cursor name ("arrow", "iBeam", "hand", ...),
// compared as written, without unquoting; null for empty text.
ref<Wex::rcCocoaObject> ReadCursor(std::string_view text);

// The values of a platform font description: "face" (unquoted), "size" (a whole number, 11 when
// none is read) and the flags "bold", "italic" and "underline" ("true" in any letter case).
struct cFontSpec {
  std::string fFace;
  std::int32_t fSize = 11;
  bool fBold = false;
  bool fItalic = false;
  bool fUnderline = false;
};
cFontSpec ReadFontValues(const Description& description);
// A new platform font of those values; an empty face is the system font.
ref<Wex::rcFont> ReadFontSpec(const Description& description);

}  // namespace Velto
