// Constant sources: one value everywhere, or one colour inside a rectangle.
#pragma once

#include "raster/source.h"

namespace QorRaster {

template <typename Value>
class SolidSource : public Source<Value> {
 public:
  explicit SolidSource(Value value) : fValue(value) {}
  IntRect GetBounds() const override { return WholePlaneRect; }
  void Render(std::int32_t, std::int32_t, std::int32_t count, SpanList<Value>& list) override {
    list.AppendValue(count, fValue);
  }
  Value GetValue() const { return fValue; }

 private:
  Value fValue;
};

using SolidPaint = SolidSource<Pixel>;
using SolidMask = SolidSource<Coverage>;

class SolidRectPaint : public Paint {
 public:
  SolidRectPaint(Pixel value, const IntRect& rect) : fValue(value), fRect(rect) {}
  IntRect GetBounds() const override { return fRect; }
  void Render(std::int32_t x, std::int32_t y, std::int32_t count, PaintSpanList& list) override;
  Pixel GetValue() const { return fValue; }

 private:
  Pixel fValue;
  IntRect fRect;
};

}  // namespace QorRaster
