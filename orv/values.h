#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "raster/source.h"

namespace ORDO {
class Interpreter;
}

// The value readers of ORV: number lists, colours and opacities. Each returns a value or throws
// an ORDO exception; none returns a partial value.
namespace ORV {

// Splits text into a list (bracketed elements expanded, empty elements kept) of minimum up to
// values.size() elements and reads each as a number into values; returns the count.
// "Too few list elements", "Too many list elements", "Invalid number".
size_t ParseNumbers(ORDO::Interpreter& context, std::string_view text, std::span<double> values, size_t minimum);

// A premultiplied ARGB colour: #rrggbb, #aarrggbb, rgb(r, g, b[, a]), hsv(h, s, v[, a]) or one of
// the seventeen names. "Invalid color", "Invalid pre-multiplied alpha color", "Value out of
// range" and the number-list messages.
QorRaster::Pixel ParseColor(ORDO::Interpreter& context, std::string_view text);

// An opacity byte: #hh or a number from 0 to 1. "Invalid opacity", "Invalid number", "Value out
// of range".
uint8_t ParseOpacity(std::string_view text);

} // namespace ORV
