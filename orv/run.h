#pragma once

#include <cstdint>
#include <string_view>

#include "raster/image.h"

namespace ORDO {
class Variables;
}

namespace ORV {

// The limits under which the editor runs an ORV source.
inline constexpr uint32_t kStatementsLimit = 1000000;
inline constexpr uint32_t kRecursionLimit = 100;

// Runs a whole ORV source the way the editor's vector view draws one: an image canvas over the
// image, an executor whose initial transform scales uniformly by scale, and a root ORDO context
// over it and the variables with the editor's limits. Errors leave as ORDO exceptions (and
// std::bad_alloc when memory runs out); what was drawn before an error stays in the image.
void RunSource(QorRaster::Image& image, double scale, ORDO::Variables& variables, std::string_view source);

} // namespace ORV
