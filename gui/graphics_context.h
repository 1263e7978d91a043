#pragma once

// The drawing surface handed to elements: a cairo context whose user space has its origin at the
// top-left with y growing downwards.

#include <cairo.h>

#include <cstdint>

#include "base/rc.h"
#include "gui/font.h"
#include "gui/geometry.h"

namespace Wex {

class rcOffscreenContext16;
class rcOffscreenContext32;

// The colour form of platform text drawing: red, green and blue from 0 to 255.
struct cRGBColor {
  std::int32_t fRed = 0;
  std::int32_t fGreen = 0;
  std::int32_t fBlue = 0;

  friend bool operator==(const cRGBColor&, const cRGBColor&) = default;
};

class rcGraphicsContext : public rc {
 public:
  // Takes over one reference of the context (a context lent by the toolkit must be referenced
  // with cairo_reference first).
  explicit rcGraphicsContext(cairo_t* context) : fContext(context) {}
  rcGraphicsContext(const rcGraphicsContext&) = delete;
  rcGraphicsContext& operator=(const rcGraphicsContext&) = delete;
  ~rcGraphicsContext() override;

  // Pushes pending drawing to the surface.
  virtual void Flush();
  // No context answers these, except the off-screen bitmaps whose pixels raster code may fill.
  virtual ref<rcGraphicsContext> QueryContext();
  virtual ref<rcOffscreenContext16> GetPixelContext16();
  virtual ref<rcOffscreenContext32> GetPixelContext32();

  cairo_t* GetContext() const { return fContext; }

  // The bounds of the clip, in drawing coordinates, rounded outward to whole pixels.
  cRect GetClipBounds() const;
  // Whether the rectangle overlaps the clip bounds (touching is not overlapping).
  bool IsRectVisible(const cRect& r) const;
  // The drawing coordinates of the surface's top-left pixel.
  cPoint GetOffset() const;
  // Moves the origin to -p: a point q afterwards lands where q - p landed before.
  void Translate(const cPoint& p);

  // Colours are red, green and blue from 0 to 255.
  void FillRect(const cRect& r, std::int32_t red, std::int32_t green, std::int32_t blue);
  // Paints the outermost pixel ring of the rectangle.
  void FrameRect(const cRect& r, std::int32_t red, std::int32_t green, std::int32_t blue);

  // Draws one line of NUL-terminated ISO Latin-1 text with its baseline starting at p and answers
  // where the next text on that baseline would start. Characters that the original platform's
  // text encoding (Mac OS Roman) lacks are drawn as '?'.
  cPoint DrawText(const cPoint& p, const cRGBColor& color, const rcFont& font, const char* text);
  // The advance of exactly the text that DrawText draws, rounded to whole pixels.
  std::int32_t GetTextWidth(const rcFont& font, const char* text);
  // From the ascent above the baseline at p to the descent below it, as wide as the text; throws
  // like GetFontMetrics.
  cRect GetTextBounds(const cPoint& p, const rcFont& font, const char* text);

 protected:
  rcGraphicsContext() = default;
  // Destroys the context early, for subclasses whose surface memory dies before this base.
  void DestroyContext();
  void SetContext(cairo_t* context) { fContext = context; }

 private:
  cairo_t* fContext = nullptr;
};

// Saves the context's state and clips to a rectangle; the destructor restores the state. Scopes
// nest last in, first out.
class cClipScope {
 public:
  cClipScope(rcGraphicsContext& context, const cRect& r);
  cClipScope(const cClipScope&) = delete;
  cClipScope& operator=(const cClipScope&) = delete;
  ~cClipScope();

 private:
  rcGraphicsContext* fContext;
};

// Keeps the sum of the translations it applies to a context and takes them back when it ends,
// also when drawing throws.
class cTranslationScope {
 public:
  explicit cTranslationScope(rcGraphicsContext& context) : fContext(&context) {}
  cTranslationScope(const cTranslationScope&) = delete;
  cTranslationScope& operator=(const cTranslationScope&) = delete;
  ~cTranslationScope() { Set({}); }

  // Translates the context so that the sum of this scope's translations becomes t.
  void Set(const cPoint& t);
  const cPoint& GetTranslation() const { return fTranslation; }

 private:
  rcGraphicsContext* fContext;
  cPoint fTranslation;
};

}  // namespace Wex
