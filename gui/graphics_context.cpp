#include "gui/graphics_context.h"

#include <cassert>
#include <cmath>
#include <cstring>
#include <string>

#include "gui/bitmap_context.h"
#include "gui/text_renderer.h"
#include "platform/text.h"

namespace Wex {

namespace {

// The characters of ISO Latin-1 that Mac OS Roman, the original platform's text encoding, lacks.
bool IsMissingFromMacRoman(unsigned char c) {
  if (c >= 0x80 && c <= 0x9F) return true;
  switch (c) {
    case 0xA4: case 0xA6: case 0xAD: case 0xB2: case 0xB3: case 0xB9: case 0xBC: case 0xBD:
    case 0xBE: case 0xD0: case 0xD7: case 0xDD: case 0xDE: case 0xF0: case 0xFD: case 0xFE:
      return true;
    default:
      return false;
  }
}

// The text as it is drawn, in UTF-8 for cairo.
std::string DrawableText(const char* text) {
  std::string latin1 = text != nullptr ? text : "";
  for (char& c : latin1) {
    if (IsMissingFromMacRoman(static_cast<unsigned char>(c))) c = '?';
  }
  return Platform::Latin1ToUTF8(latin1);
}

double Component(std::int32_t value) { return value * 0.003921569f; }

void CheckState([[maybe_unused]] cairo_t* cr) { assert(cairo_status(cr) == CAIRO_STATUS_SUCCESS); }

}  // namespace

rcGraphicsContext::~rcGraphicsContext() { DestroyContext(); }

void rcGraphicsContext::DestroyContext() {
  if (fContext != nullptr) cairo_destroy(fContext);
  fContext = nullptr;
}

void rcGraphicsContext::Flush() { cairo_surface_flush(cairo_get_target(fContext)); }

ref<rcGraphicsContext> rcGraphicsContext::QueryContext() { return nullptr; }
ref<rcOffscreenContext16> rcGraphicsContext::GetPixelContext16() { return nullptr; }
ref<rcOffscreenContext32> rcGraphicsContext::GetPixelContext32() { return nullptr; }

cRect rcGraphicsContext::GetClipBounds() const {
  double x1, y1, x2, y2;
  cairo_clip_extents(fContext, &x1, &y1, &x2, &y2);
  return ToEnclosingRect(Platform::RectFromExtents(x1, y1, x2, y2));
}

bool rcGraphicsContext::IsRectVisible(const cRect& r) const { return Overlaps(r, GetClipBounds()); }

cPoint rcGraphicsContext::GetOffset() const {
  cairo_matrix_t m;
  cairo_get_matrix(fContext, &m);
  const float x = std::floor(static_cast<float>(m.x0)) * static_cast<float>(m.xx);
  const float y = std::floor(static_cast<float>(m.y0)) * static_cast<float>(m.yy);
  return -ToPoint({x, y});
}

void rcGraphicsContext::Translate(const cPoint& p) { cairo_translate(fContext, -double(p.fX), -double(p.fY)); }

void rcGraphicsContext::FillRect(const cRect& r, std::int32_t red, std::int32_t green, std::int32_t blue) {
  const Platform::Rect area = ToCGRect(r);
  cairo_set_source_rgb(fContext, Component(red), Component(green), Component(blue));
  cairo_new_path(fContext);
  cairo_rectangle(fContext, area.x, area.y, area.width, area.height);
  cairo_fill(fContext);
  CheckState(fContext);
}

void rcGraphicsContext::FrameRect(const cRect& r, std::int32_t red, std::int32_t green, std::int32_t blue) {
  const Platform::Rect area = ToCGRect(r);
  // A ring of one pixel fills a rectangle of at most two pixels across; a stroke of that width
  // would leave a zero-sized path, which draws nothing.
  if (area.width <= 2 || area.height <= 2) {
    if (area.width > 0 && area.height > 0) FillRect(r, red, green, blue);
    return;
  }
  cairo_set_source_rgb(fContext, Component(red), Component(green), Component(blue));
  cairo_new_path(fContext);
  cairo_rectangle(fContext, area.x + 0.5, area.y + 0.5, area.width - 1, area.height - 1);
  cairo_set_line_width(fContext, 1.0);
  cairo_stroke(fContext);
  CheckState(fContext);
}

cPoint rcGraphicsContext::DrawText(const cPoint& p, const cRGBColor& color, const rcFont& font, const char* text) {
  const cTextRenderer renderer(fContext, font);
  if (!renderer.CanDraw()) return p;
  cairo_set_source_rgb(fContext, Component(color.fRed), Component(color.fGreen), Component(color.fBlue));
  cairo_new_path(fContext);
  cairo_move_to(fContext, p.fX, p.fY);
  renderer.Show(DrawableText(text));
  double x, y;
  cairo_get_current_point(fContext, &x, &y);
  cairo_new_path(fContext);
  CheckState(fContext);
  return {RoundToPixel(x), p.fY};
}

std::int32_t rcGraphicsContext::GetTextWidth(const rcFont& font, const char* text) {
  const cTextRenderer renderer(fContext, font);
  return renderer.CanDraw() ? RoundToPixel(renderer.MeasureAdvance(DrawableText(text))) : 0;
}

cRect rcGraphicsContext::GetTextBounds(const cPoint& p, const rcFont& font, const char* text) {
  std::int32_t leading, ascent, descent;
  GetFontMetrics(font, leading, ascent, descent);
  const std::int32_t width = GetTextWidth(font, text);
  return {p.fX, WrapSub(p.fY, ascent), WrapAdd(p.fX, width), WrapAdd(p.fY, descent)};
}

void cTranslationScope::Set(const cPoint& t) {
  if (t == fTranslation) return;
  fContext->Translate(t - fTranslation);
  fTranslation = t;
}

cClipScope::cClipScope(rcGraphicsContext& context, const cRect& r) : fContext(&context) {
  cairo_t* cr = context.GetContext();
  const Platform::Rect clip = ToCGRect(r);
  cairo_save(cr);
  cairo_new_path(cr);
  cairo_rectangle(cr, clip.x, clip.y, clip.width, clip.height);
  cairo_clip(cr);
}

cClipScope::~cClipScope() {
  cairo_restore(fContext->GetContext());
  CheckState(fContext->GetContext());
}

}  // namespace Wex
