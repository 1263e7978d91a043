// Feeds arbitrary text to every reader of description attribute values, layout rectangles, points
// and pairs, and to the AngelCode font reader. The first byte chooses the reader, the rest is the
// value text (parsed as a description first for the stroke and font descriptions) or the font
// file. A reader may answer or throw its own exceptions; anything else escapes and is a finding.
// What a reader answers must keep its promises: colours are premultiplied, accepted strokes pass
// their checks.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "base/exceptions.h"
#include "base/key_value.h"
#include "gui/resources/angelcode.h"
#include "gui/resources/attributes.h"
#include "gui/resources/layout.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

constexpr std::uint32_t kDefaultColor = 0xff204060;

void CheckColor(std::uint32_t color) {
  const std::uint32_t alpha = color >> 24;
  Check(((color >> 16) & 0xff) <= alpha && ((color >> 8) & 0xff) <= alpha && (color & 0xff) <= alpha);
}

// Every reader checks a stroke only as far as its own rules say; NaN passes them.
void CheckStroke(const Velto::cStroke& s) {
  CheckColor(s.fColor);
  Check(!(s.fWidth < 0) && !(s.fQuality <= 0) && s.fCaps >= 0 && s.fCaps <= 2 && s.fJoints >= 0 && s.fJoints <= 2);
  if (s.fDash != 0 || s.fGap != 0 || s.fDashOffset != 0) {
    Check(!(s.fDash <= 0) && !(s.fGap < 0) && !(s.fDashOffset < 0) && !(s.fDashOffset >= s.fDash + s.fGap));
  }
}

void CheckFont(const QorAngelCode::Font& font) {
  for (const auto& [id, file] : font.pages) Check(id >= 0 && id <= QorAngelCode::kMaxPageId);
}

void Read(unsigned reader, std::string_view text) {
  const Wex::cRect reference{50, 40, 250, 140};
  switch (reader) {
    case 0: CheckColor(Velto::ReadColor(text, kDefaultColor)); break;
    case 1: Velto::ReadRGBColor(text, kDefaultColor); break;
    case 2: CheckStroke(Velto::ReadStroke(text, kDefaultColor)); break;
    case 3: CheckStroke(Velto::ReadStrokeSpec(Wex::ParseKeyValueMap(text), Velto::cStroke())); break;
    case 4: Check(Velto::ReadTextAlignment(text, 0) <= 2); break;
    case 5: Check(Velto::ReadEllipsisSide(text, 0) <= 4); break;
    case 6: Velto::ReadCursor(text); break;
    case 7: Velto::ReadFontSpec(Wex::ParseKeyValueMap(text)); break;
    case 8: Velto::ReadLayoutRect(text, reference); break;
    case 9: Velto::ReadIntPoint(text, {3, 4}); break;
    case 10: Velto::ReadRealPoint(text, {3.0, 4.0}); break;
    case 11: Velto::ReadIntPair(text, {-1, 7}); break;
    case 12: Velto::ReadRealPair(text, {0.5, -2.5}); break;
    default: CheckFont(QorAngelCode::ReadFont(text.data(), text.data() + text.size())); break;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
  try {
    Read(data[0] % 14u, text);
  } catch (const Exception&) {  // FormatException included
  } catch (const QorAngelCode::Exception&) {
  }
  return 0;
}
