#pragma once

#include <string_view>

#include "raster/geometry.h"
#include "raster/path.h"

// The reader of SVG path data: the commands M L H V C S Q T A Z, upper case absolute and lower
// case relative, with implicitly repeated argument sets.
namespace ORV {

// Reads one number at position: an optional sign, digits with an optional fraction (or a fraction
// alone), an optional exponent. On success stores it and moves position past it; on failure
// leaves position unchanged.
bool ScanNumber(const char*& position, const char* end, double& value);

// Reads x and y, skipping blanks before x (and one comma when separated) and blanks with one
// optional comma between them. On failure leaves position unchanged.
bool ScanPoint(const char*& position, const char* end, QorRaster::Point& point, bool separated);

// Appends the path data's shape to path, flattening curves and arcs with the given precision.
// "Invalid M syntax in svg path data", "Invalid L syntax in svg path data", "Invalid command in
// svg path data" (syntax errors).
void ParsePathData(std::string_view data, double precision, QorRaster::Path& path);

} // namespace ORV
