#include "orv/drawing_state.h"

#include <cmath>
#include <memory>

namespace ORV {

void DrawingState::SetGamma(double gamma)
{
    if (gamma == aaGamma)
        return;
    aaGamma = gamma;
    if (std::fabs(gamma - 1) >= 0.0001)
        gammaTable.Own(std::make_unique<QorRaster::GammaTable>(gamma));
    else
        gammaTable.Clear();
}

} // namespace ORV
