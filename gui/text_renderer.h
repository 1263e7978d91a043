#pragma once

// Platform-font text in a cairo context: the one way in which drawing contexts lay out, measure
// and draw it. The text is laid out as glyphs from the context's current point, as cairo's own
// text calls do. Glyphs of at most kMaxGlyphImagePixelsPerEm device pixels per em are drawn
// through cairo's glyph images; larger ones are filled as outlines. cairo makes an image of each
// glyph at its full size and its caches keep thousands of them after the drawing, so glyph images
// of larger text would cost memory growing with the square of the size; an outline is cached as a
// path, whose size does not depend on the font size.

#include <cairo.h>

#include <string>

#include "gui/font.h"

namespace Wex {

class cTextRenderer {
 public:
  // The largest em, in device pixels, drawn through glyph images. Glyphs up to this size fill
  // cairo's caches with at most about 200 MB of images, whatever the number of sizes drawn.
  static constexpr double kMaxGlyphImagePixelsPerEm = 128;

  // Selects the font into the context at its current transformation.
  cTextRenderer(cairo_t* context, const rcFont& font);
  cTextRenderer(const cTextRenderer&) = delete;
  cTextRenderer& operator=(const cTextRenderer&) = delete;
  ~cTextRenderer();

  // False when the font cannot be drawn (a size of 0, or one that the font machinery refuses);
  // the context is then left as it was.
  bool CanDraw() const { return fFont != nullptr; }
  // Whether the glyphs are filled as outlines rather than drawn as images.
  bool DrawsOutlines() const { return fOutlines; }

  // The advance of the UTF-8 text in user space.
  double MeasureAdvance(const std::string& text) const;
  // Draws the UTF-8 text with the context's source and moves the current point to where the next
  // text on the line would start; an empty text leaves the current point.
  void Show(const std::string& text) const;

 private:
  class cGlyphs;

  void FillOutlines(const cGlyphs& glyphs) const;

  cairo_t* fContext;
  cairo_scaled_font_t* fFont = nullptr;
  double fEm = 0;  // the em in user units
  bool fOutlines = false;
};

}  // namespace Wex
