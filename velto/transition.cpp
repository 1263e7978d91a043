#include "velto/transition.h"

#include <cmath>

#include "base/expression.h"
#include "base/text.h"
#include "gui/resources/layout.h"
#include "velto/angles.h"
#include "velto/readers.h"

namespace Velto {

namespace {

constexpr double kDegreesPerRadian = 57.29577951308232;

// The number of the key, or the default when it is not finite.
double ReadFinite(const Description& description, const char* key, double defaultValue) {
  const double value = Wex::EvaluateExpression(Wex::ValueOf(description, key), defaultValue);
  return std::isfinite(value) ? value : defaultValue;
}

}  // namespace

const cTransitionSpec& cTransitionSpec::GetDefault() {
  static const cTransitionSpec defaults;
  return defaults;
}

cTransitionSpec ReadAnimationSpec(const Description& description, bool reverse, const cTransitionSpec& defaults,
                                  double time) {
  cTransitionSpec spec;
  spec.fUpdateInterval = ReadTickInterval(Wex::ValueOf(description, "updateRate"),
                                          1000.0 / static_cast<double>(defaults.fUpdateInterval));
  spec.fPhaseStep = static_cast<double>(spec.fUpdateInterval) / (1000.0 * time);
  if (reverse) spec.fPhaseStep = -spec.fPhaseStep;
  spec.fRotation = ReadFinite(description, "rotation", defaults.fRotation * kDegreesPerRadian) * kRadiansPerDegree;
  const QorRaster::Point offset = ReadRealPoint(Wex::ValueOf(description, "offset"), defaults.fOffset);
  spec.fOffset = {std::isfinite(offset.x) ? offset.x : defaults.fOffset.x,
                  std::isfinite(offset.y) ? offset.y : defaults.fOffset.y};
  spec.fScale = ReadFinite(description, "scale", 100.0 * defaults.fScale) * 0.01;
  spec.fOpacity = ReadFinite(description, "opacity", 100.0 * defaults.fOpacity) * 0.01;
  spec.fOffsetCurve = ReadFinite(description, "offsetCurve", defaults.fOffsetCurve);
  spec.fScaleCurve = ReadFinite(description, "scaleCurve", defaults.fScaleCurve);
  spec.fOpacityCurve = ReadFinite(description, "opacityCurve", defaults.fOpacityCurve);
  spec.fRotationCurve = ReadFinite(description, "rotationCurve", defaults.fRotationCurve);
  spec.fRestart = Wex::StringToBool(Wex::ValueOf(description, "restart"), defaults.fRestart);
  return spec;
}

std::unique_ptr<cTransitionSpec> ReadTransitionSpec(const Description& transitions, const std::string& key,
                                                    bool reverse, const cTransitionSpec* defaults) {
  const cTransitionSpec& base = defaults != nullptr ? *defaults : cTransitionSpec::GetDefault();
  const auto found = transitions.find(key);
  if (found == transitions.end()) {
    if (defaults == nullptr) return nullptr;
    auto copy = std::make_unique<cTransitionSpec>(*defaults);
    copy->fPhaseStep = reverse ? -std::fabs(copy->fPhaseStep) : std::fabs(copy->fPhaseStep);
    return copy;
  }
  const Description block = Wex::ParseKeyValueMap(found->second);
  const double defaultTime = static_cast<double>(base.fUpdateInterval) / (std::fabs(base.fPhaseStep) * 1000.0);
  const double time = Wex::EvaluateExpression(Wex::ValueOf(block, "time"), defaultTime);
  if (time == 0.0 || !std::isfinite(time)) return nullptr;
  return std::make_unique<cTransitionSpec>(ReadAnimationSpec(block, reverse, base, time));
}

QorRaster::Transform MakeAnimationTransform(const QorRaster::Point& centre, const QorRaster::Point& offset,
                                            double scale, double rotation) {
  QorRaster::Transform transform;
  if (!(scale >= 1e-5)) {
    transform.Set(0.0, 0.0, 0.0, 0.0, 0.0, 0.0);
    return transform;
  }
  return transform.Translate(-centre.x, -centre.y)
      .ScaleUniform(scale)
      .Rotate(rotation)
      .Translate(centre.x + offset.x, centre.y + offset.y);
}

}  // namespace Velto
