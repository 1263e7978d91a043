#include "gui/text_renderer.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/font.h"
#include "platform/text.h"

namespace Wex {

namespace {

// The most that the linear part of the matrix stretches a length: its largest singular value.
double LargestScale(const cairo_matrix_t& m) {
  const double squares = m.xx * m.xx + m.yx * m.yx + m.xy * m.xy + m.yy * m.yy;
  const double determinant = m.xx * m.yy - m.xy * m.yx;
  return std::sqrt((squares + std::sqrt(std::max(0.0, squares * squares - 4 * determinant * determinant))) / 2);
}

}  // namespace

// The glyphs of a text as the scaled font lays it out from the context's current point, or from
// (0, 0) without one.
class cTextRenderer::cGlyphs {
 public:
  cGlyphs(cairo_t* context, cairo_scaled_font_t* font, const std::string& text) {
    double x = 0, y = 0;
    cairo_get_current_point(context, &x, &y);
    if (cairo_scaled_font_text_to_glyphs(font, x, y, text.c_str(), -1, &fGlyphs, &fCount, nullptr, nullptr,
                                         nullptr) != CAIRO_STATUS_SUCCESS) {
      fCount = 0;
    }
  }
  cGlyphs(const cGlyphs&) = delete;
  cGlyphs& operator=(const cGlyphs&) = delete;
  ~cGlyphs() { cairo_glyph_free(fGlyphs); }

  const cairo_glyph_t* begin() const { return fGlyphs; }
  const cairo_glyph_t* end() const { return fGlyphs + fCount; }
  int size() const { return fCount; }

 private:
  cairo_glyph_t* fGlyphs = nullptr;
  int fCount = 0;
};

cTextRenderer::cTextRenderer(cairo_t* context, const rcFont& font) : fContext(context) {
  const Platform::FontFace* face = Platform::FontFace::Find(Platform::Latin1ToUTF8(font.GetName()->GetText()), false);
  if (face == nullptr) return;
  cairo_matrix_t ctm;
  cairo_get_matrix(context, &ctm);
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_get_font_options(context, options);
  cairo_scaled_font_t* scaled = face->CreateScaledFont(font.GetSize(), ctm, options);
  cairo_font_options_destroy(options);
  if (scaled == nullptr) return;
  cairo_set_scaled_font(context, scaled);
  cairo_scaled_font_destroy(scaled);
  // The context's own font: the one above with the target's font options merged in, scaled to
  // device pixels.
  fFont = cairo_scaled_font_reference(cairo_get_scaled_font(context));
  cairo_matrix_t scale;
  cairo_scaled_font_get_scale_matrix(fFont, &scale);
  fOutlines = LargestScale(scale) > kMaxGlyphImagePixelsPerEm;
  fEm = std::fabs(double(font.GetSize()));
}

cTextRenderer::~cTextRenderer() { cairo_scaled_font_destroy(fFont); }

double cTextRenderer::MeasureAdvance(const std::string& text) const {
  const cGlyphs glyphs(fContext, fFont, text);
  cairo_text_extents_t extents;
  cairo_scaled_font_glyph_extents(fFont, glyphs.begin(), glyphs.size(), &extents);
  return extents.x_advance;
}

void cTextRenderer::Show(const std::string& text) const {
  const cGlyphs glyphs(fContext, fFont, text);
  if (glyphs.size() == 0) return;
  if (fOutlines) {
    FillOutlines(glyphs);
  } else {
    cairo_show_glyphs(fContext, glyphs.begin(), glyphs.size());
  }
  // Past the last glyph's advance, where cairo_show_text leaves the current point.
  const cairo_glyph_t& last = glyphs.end()[-1];
  cairo_text_extents_t extents;
  cairo_scaled_font_glyph_extents(fFont, &last, 1, &extents);
  cairo_move_to(fContext, last.x + extents.x_advance, last.y + extents.y_advance);
}

// Only glyphs whose ink comes within an em of the clip go into the path, so that a long text
// costs the outlines of what can be seen, as cairo draws glyph images only of glyphs near the
// surface.
void cTextRenderer::FillOutlines(const cGlyphs& glyphs) const {
  double left, top, right, bottom;
  cairo_clip_extents(fContext, &left, &top, &right, &bottom);
  std::vector<cairo_glyph_t> visible;
  for (const cairo_glyph_t& glyph : glyphs) {
    cairo_text_extents_t ink;
    cairo_scaled_font_glyph_extents(fFont, &glyph, 1, &ink);
    const double x = glyph.x + ink.x_bearing, y = glyph.y + ink.y_bearing;
    if (x - fEm < right && left < x + ink.width + fEm && y - fEm < bottom && top < y + ink.height + fEm) {
      visible.push_back(glyph);
    }
  }
  cairo_new_path(fContext);
  cairo_glyph_path(fContext, visible.data(), static_cast<int>(visible.size()));
  cairo_fill(fContext);
}

}  // namespace Wex
