#include "velto/views/transformed_view.h"

#include <array>
#include <cmath>
#include <utility>
#include <vector>

#include "base/text.h"
#include "gui/resources/canvas.h"
#include "velto/angles.h"
#include "velto/root_view.h"
#include "velto/transition.h"
#include "velto/views/view_construction.h"

namespace Velto {

namespace {

// The number at the start of the text; the default when there is none, or when it is not finite.
double FiniteNumber(const std::string& text, double defaultValue) {
  const double value = Wex::StringToDouble(text, defaultValue);
  return std::isfinite(value) ? value : defaultValue;
}

// One step of the texts' hash: each byte, sign-extended, then multiplied by the FNV prime.
std::uint32_t Mix(std::uint32_t hash, char c) {
  return (hash ^ static_cast<std::uint32_t>(static_cast<std::int32_t>(static_cast<signed char>(c)))) * 16777619u;
}

}  // namespace

rcTransformedView::rcTransformedView(const Wex::cRect& r, rcRootView& root, std::string opacityVariable,
                                     std::string scaleVariable, std::string offsetXVariable,
                                     std::string offsetYVariable, std::string rotationVariable)
    : rcTransformContainer(r),
      fRoot(&root),
      fOpacityVariable(std::move(opacityVariable)),
      fScaleVariable(std::move(scaleVariable)),
      fOffsetXVariable(std::move(offsetXVariable)),
      fOffsetYVariable(std::move(offsetYVariable)),
      fRotationVariable(std::move(rotationVariable)) {
  const QorRaster::Rect size = EdgesToRealRect(GetBounds());
  fCenter = {size.width / 2, size.height / 2};
}

void rcTransformedView::WindowStateChanged() {
  iController& controller = fRoot->GetController();
  const std::array<std::string, 5> texts = {
      controller.GetVariable(*fRoot, fOpacityVariable),  controller.GetVariable(*fRoot, fScaleVariable),
      controller.GetVariable(*fRoot, fOffsetXVariable),  controller.GetVariable(*fRoot, fOffsetYVariable),
      controller.GetVariable(*fRoot, fRotationVariable),
  };
  // A 0 byte ends each text, so that texts split differently hash differently.
  std::uint32_t hash = 0;
  for (const std::string& text : texts) {
    for (const char c : text) hash = Mix(hash, c);
    hash = Mix(hash, '\0');
  }
  if (hash == 0) hash = 1;
  if (hash != fValuesHash) {
    fValuesHash = hash;
    const double rotation = FiniteNumber(texts[4], 0.0) * kRadiansPerDegree;
    const QorRaster::Point offset(FiniteNumber(texts[2], 0.0), FiniteNumber(texts[3], 0.0));
    const double scale = FiniteNumber(texts[1], 100.0) * 0.01;
    const double opacity = FiniteNumber(texts[0], 100.0) * 0.01;
    SetTransform(opacity, MakeAnimationTransform(fCenter, offset, scale, rotation));
  }
  rcTransformContainer::WindowStateChanged();
}

ref<Wex::rcGUIElement> MakeTransformedView(rcRootView& root, const Wex::cRect& bounds, const Description& description) {
  std::string opacity = Wex::Unquote(Wex::ValueOf(description, "opacity"));
  std::string scale = Wex::Unquote(Wex::ValueOf(description, "scale"));
  const std::vector<std::string> offset = Wex::ParseList(Wex::ValueOf(description, "offset"));
  std::string offsetX = offset.size() > 0 ? Wex::Unquote(offset[0]) : std::string();
  std::string offsetY = offset.size() > 1 ? Wex::Unquote(offset[1]) : std::string();
  std::string rotation = Wex::Unquote(Wex::ValueOf(description, "rotation"));
  const ref<rcTransformedView> view(new rcTransformedView(bounds, root, std::move(opacity), std::move(scale),
                                                          std::move(offsetX), std::move(offsetY), std::move(rotation)));
  root.FinishOrForget(view, [&] {
    MakeChildViews(root, Wex::PartOf(description, "views"), *view);
    root.ReadAutoRefresh(view, description);
  });
  return view;
}

}  // namespace Velto
