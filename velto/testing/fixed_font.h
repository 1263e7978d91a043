#pragma once

// A font for tests whose every character is one fixed advance wide and one line high, so that
// layouts come out in round numbers without the platform's fonts. It logs what it draws, and
// paints each drawn character as a solid cell of its colour from the line's top to the baseline.
// Coordinates wrap around at the ends of the 32-bit range.

#include <cstdint>
#include <string>
#include <vector>

#include "base/rc.h"
#include "gui/resources/font.h"

namespace VeltoTest {

class rcFixedFont : public Wex::rc, public Velto::iFont {
 public:
  rcFixedFont(std::int32_t advance, std::int32_t height, std::int32_t ascent, std::uint32_t color = 0);

  // (height, ascent).
  void GetMetrics(Wex::rcGraphicsContext& context, std::int32_t& height, std::int32_t& ascent) override;
  // From p.x to p.x + advance x the number of characters, from the ascent above p to the line's
  // bottom; the advance flag changes nothing.
  Wex::cRect Measure(Wex::rcGraphicsContext& context, const Wex::cPoint& p, const Wex::rcVector<UniChar>& text,
                     bool includeAdvance) override;
  // Logs "text@x,y" (the units narrowed to bytes) and fills the cells of the characters that
  // are not spaces, each advance - 1 wide, when the colour is not 0.
  Wex::cPoint Draw(Wex::rcGraphicsContext& context, const Wex::cPoint& p, const Wex::rcVector<UniChar>& text) override;
  std::int32_t GetChangeCount() override { return fChangeCount; }

  std::vector<std::string> fDrawn;
  std::int32_t fChangeCount = 0;

 private:
  // The advance of count characters, wrapped to 32 bits as coordinates are.
  std::int32_t Span(std::int64_t count) const;

  std::int32_t fAdvance;
  std::int32_t fHeight;
  std::int32_t fAscent;
  std::uint32_t fColor;
};

}  // namespace VeltoTest
