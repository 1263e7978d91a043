// Re-encoders that rewrite another source's literal runs so that stretches of four or more equal
// values become repeated runs and opaque stretches carry the opaque flag, which lets compositing
// fill or copy them instead of blending.
#pragma once

#include "raster/source.h"

namespace QorRaster {

template <typename Value>
class RunOptimizedSource : public Source<Value> {
 public:
  explicit RunOptimizedSource(Source<Value>* source) : fSource(source) {}
  IntRect GetBounds() const override { return fSource->GetBounds(); }
  void Render(std::int32_t x, std::int32_t y, std::int32_t count, SpanList<Value>& list) override;

 private:
  Source<Value>* fSource;
};

using RunOptimizedPaint = RunOptimizedSource<Pixel>;
using RunOptimizedMask = RunOptimizedSource<Coverage>;

extern template class RunOptimizedSource<Pixel>;
extern template class RunOptimizedSource<Coverage>;

}  // namespace QorRaster
