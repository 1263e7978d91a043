// 256-entry tables that map a coverage value to a coverage value (gamma correction, opacity
// ramps) or to a pixel (colour gradients), built from gradient stops.
#pragma once

#include <array>
#include <span>

#include "raster/source.h"

namespace QorRaster {

// A point of a gradient: position 0 is the start, 1 the end. Stops are expected in ascending
// order of position.
template <typename Value>
struct Stop {
  double position;
  Value value;
};

using MaskStop = Stop<Coverage>;
using PaletteStop = Stop<Pixel>;

struct CoverageTable {
  std::array<Coverage, 256> fEntries{};
  bool fFlag = false;  // set only when every entry is 255
};

struct GammaTable : CoverageTable {
  // Entry i is 255 * (i / 255)^(1 / gamma), rounded; gamma is expected above 0. The flag stays
  // clear, so a gamma lookup never marks runs as full.
  explicit GammaTable(double gamma);
};

struct MaskTable : CoverageTable {
  // Interpolates the stops over the 256 entries; no stops give an all-zero table.
  void Build(std::span<const MaskStop> stops);
};

struct Palette {
  std::array<Pixel, 256> fEntries{};
  bool fFlag = false;  // set only when every entry is opaque (alpha at least 0xFE)

  // Interpolates the premultiplied stop colours over the 256 entries; no stops give an
  // all-zero palette.
  void Build(std::span<const PaletteStop> stops);
};

}  // namespace QorRaster
