#pragma once

// Film fonts: the glyphs are the equal frames of one image strip, one frame per character, and
// every character advances the pen by the same amount. Texts are drawn as ISO Latin-1 bytes.

#include <cstdint>
#include <optional>

#include "base/rc.h"
#include "base/rc_string.h"
#include "gui/resources/film.h"
#include "gui/resources/font.h"

namespace Velto {

// Characters are stored as signed 8-bit values, as font descriptions give them, and compared
// by their byte values (0 to 255). A character the font lacks is drawn with the replacement's
// frame (0 means none) and still advances.
class rcFilmFont : public Wex::rc, public iFont {
 public:
  // Range form: frame i shows the character first + i, for as many frames as the film has.
  rcFilmFont(iref<iFilm> film, std::int32_t ascent, std::int32_t advance, std::int8_t first,
             std::int8_t replacement);
  // Character-list form: frame i shows the i-th byte of charset. A replacement missing from the
  // charset draws frame 0.
  rcFilmFont(iref<iFilm> film, std::int32_t ascent, std::int32_t advance, refString charset,
             std::int8_t replacement);

  // Height: frame 0's; ascent: the ascent given.
  void GetMetrics(Wex::rcGraphicsContext& context, std::int32_t& height, std::int32_t& ascent) override;
  // From the glyph row's top (p.y − ascent) as wide as the frames drawn reach and as high as the
  // highest; the include-advance flag is not used.
  Wex::cRect Measure(Wex::rcGraphicsContext& context, const Wex::cPoint& p, const Wex::rcVector<UniChar>& text,
                     bool includeAdvance) override;
  // Draws each frame with its top-left at (x, p.y − ascent) and answers
  // (p.x + advance × byte count, p.y − ascent): the end point lies on the glyph row's top.
  Wex::cPoint Draw(Wex::rcGraphicsContext& context, const Wex::cPoint& p,
                   const Wex::rcVector<UniChar>& text) override;
  // The film's.
  std::int32_t GetChangeCount() override { return fFilm->GetChangeCount(); }

 private:
  // The frame of a byte, without replacement.
  std::optional<std::int32_t> FindFrame(std::uint8_t byte) const;
  // The frame that stands for missing characters, when there is a replacement.
  std::optional<std::int32_t> ReplacementFrame() const;
  // Calls visit(frame, pen) for every Latin-1 byte of the text with its frame (the
  // replacement's for a byte without one; none when there is no replacement either) and the pen
  // from 0 in steps of the advance; answers the pen after the last byte.
  template <class Visit>
  std::int64_t ForEachByte(const Wex::rcVector<UniChar>& text, Visit&& visit) const;

  iref<iFilm> fFilm;
  std::int32_t fAscent;
  std::int32_t fAdvance;
  std::int8_t fFirst = 0;
  refString fCharset;  // null in the range form
  std::int8_t fReplacement;
};

}  // namespace Velto
