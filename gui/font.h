#pragma once

// A font description for the drawing contexts: a face name and a size.

#include <cstdint>

#include "base/rc_string.h"

namespace Wex {

class rcFont : public rc {
 public:
  // An empty or missing face name becomes the system font, "Lucida Grande". The style flags are
  // accepted and not kept: fonts are drawn in their regular style.
  rcFont(const char* faceName, int size, bool bold = false, bool italic = false, bool underline = false);

  // The face name in ISO Latin-1.
  const refString& GetName() const { return fName; }
  std::int32_t GetSize() const { return fSize; }

 private:
  refString fName;
  std::int32_t fSize;
};

// The line metrics of a font in whole pixels: leading (the gap between lines), ascent above the
// baseline and descent below it (both positive), each the design value scaled by size / units
// per em with truncation. Throws xExceptionWithRCString "Cannot find font", with the three
// outputs zeroed, when no installed face has the font's name.
void GetFontMetrics(const rcFont& font, std::int32_t& leading, std::int32_t& ascent, std::int32_t& descent);

}  // namespace Wex
