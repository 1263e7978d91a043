#include "gui/font.h"

#include "base/exceptions.h"
#include "platform/font.h"
#include "platform/text.h"

namespace Wex {

namespace {

constexpr const char* kSystemFaceName = "Lucida Grande";

// value × size / unitsPerEm with truncation toward zero, kept in 32 bits.
std::int32_t Scale(std::int32_t value, std::int32_t size, std::int32_t unitsPerEm) {
  return static_cast<std::int32_t>(std::int64_t{value} * size / unitsPerEm);
}

}  // namespace

rcFont::rcFont(const char* faceName, int size, bool /*bold*/, bool /*italic*/, bool /*underline*/)
    : fName(MakeRCString(faceName != nullptr && *faceName != '\0' ? faceName : kSystemFaceName)), fSize(size) {}

void GetFontMetrics(const rcFont& font, std::int32_t& leading, std::int32_t& ascent, std::int32_t& descent) {
  leading = ascent = descent = 0;
  const Platform::FontFace* face =
      Platform::FontFace::Find(Platform::Latin1ToUTF8(font.GetName()->GetText()), true);
  // A face without outlines has no design units to scale.
  if (face == nullptr || face->GetDesignMetrics().unitsPerEm == 0) {
    throw xExceptionWithRCString("Cannot find font");
  }
  const Platform::FontDesignMetrics& m = face->GetDesignMetrics();
  leading = Scale(m.leading, font.GetSize(), m.unitsPerEm);
  ascent = Scale(m.ascent, font.GetSize(), m.unitsPerEm);
  descent = Scale(-m.descent, font.GetSize(), m.unitsPerEm);
}

}  // namespace Wex
