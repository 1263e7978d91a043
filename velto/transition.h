#pragma once

// The settings of the animated transitions of nested views, read from descriptions, and the
// transform that an animation step gives its content.

#include <cstdint>
#include <memory>
#include <string>

#include "base/key_value.h"
#include "raster/geometry.h"
#include "raster/transform.h"

namespace Velto {

// One transition. The phase runs from 0 to 1 (or back); every property is eased by its own curve.
class cTransitionSpec {
 public:
  // 50 ms ticks, a step of 0.05 (one second), opaque, natural size, no offset or rotation, linear
  // curves, no restart. Made on first use.
  static const cTransitionSpec& GetDefault();

  std::int64_t fUpdateInterval = 50;  // milliseconds between ticks, 1 ... 2^30
  double fPhaseStep = 0.05;           // per tick; negative when the transition runs backwards
  double fOpacity = 1.0;              // 1 is opaque
  double fScale = 1.0;                // 1 is natural size
  QorRaster::Point fOffset;           // pixels
  double fRotation = 0.0;             // radians
  // The shaping parameters of the easing curves; 0.5 is linear.
  double fOffsetCurve = 0.5;
  double fScaleCurve = 0.5;
  double fOpacityCurve = 0.5;
  double fRotationCurve = 0.5;
  bool fRestart = false;
};

// Reads "updateRate" (Hz), "rotation" (degrees), "offset", "scale" and "opacity" (percent), the
// four curves and "restart" over the defaults; the step makes the transition last `time` seconds
// and is negative with `reverse`. A rate that is not a positive finite number, and a property
// that is not finite, keep the default.
cTransitionSpec ReadAnimationSpec(const Description& description, bool reverse, const cTransitionSpec& defaults,
                                  double time);

// The transition under `key` of a "transitions" description, read over the defaults (over
// cTransitionSpec::GetDefault() without them): none when its "time" (seconds, by default the
// defaults' duration) is 0 or not finite. An absent key gives a copy of the defaults with the
// direction's sign on the step, or none without defaults.
std::unique_ptr<cTransitionSpec> ReadTransitionSpec(const Description& transitions, const std::string& key,
                                                    bool reverse, const cTransitionSpec* defaults);

// Maps a point by moving `centre` to the origin, scaling, rotating (radians) and moving the
// origin to centre + offset. A scale below 1e-5 (or NaN) gives the all-zero transform.
QorRaster::Transform MakeAnimationTransform(const QorRaster::Point& centre, const QorRaster::Point& offset,
                                            double scale, double rotation);

}  // namespace Velto
