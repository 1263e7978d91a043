// Colours given as hue, saturation, value and alpha.
#pragma once

#include "raster/source.h"

namespace QorRaster {

// h, s, v and a are expected in 0..1; returns the premultiplied pixel, whose alpha byte is
// a * 255 truncated. A hue above 1 gives 0.
Pixel HSVToARGB(double h, double s, double v, double a);

}  // namespace QorRaster
