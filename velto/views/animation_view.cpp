#include "velto/views/animation_view.h"

#include <algorithm>
#include <cmath>

#include "base/expression.h"
#include "base/text.h"
#include "gui/resources/film.h"
#include "gui/resources/layout.h"
#include "raster/geometry.h"
#include "velto/readers.h"
#include "velto/root_view.h"

namespace Velto {

namespace {

// The bias curve: 0 below 0, c / c from 1 on, else c t / ((2c - 1) t + 1 - c); 0 where the
// result is no number (a t of no number, a curve of 0 at the end of the range).
double Bias(double t, double c) {
  double f = 0.0;
  if (t >= 1.0) {
    f = c / c;
  } else if (!(t < 0.0)) {
    f = c * t / ((2.0 * c - 1.0) * t + 1.0 - c);
  }
  return std::isnan(f) ? 0.0 : f;
}

// count × f cut to the positions 0 ... count - 1 while it is a double, then truncated.
std::int32_t PositionAt(std::int32_t count, double f) {
  return QorRaster::TruncateSaturated<std::int32_t>(std::clamp(count * f, 0.0, count - 1.0));
}

}  // namespace

rcAnimationView::rcAnimationView(const Wex::cRect& r, rcRootView& root, iref<iFilm> film, std::string variable,
                                 std::pair<double, double> range, double curve)
    : rcGUIElement(r),
      fRoot(&root),
      fFilm(std::move(film)),
      fFrameCount(fFilm->GetFrameRange()),
      fVariableName(std::move(variable)),
      fRange(range),
      fCurve(curve) {}

void rcAnimationView::Draw(Wex::rcGraphicsContext& context, const Wex::cRect&) {
  if (!fFrameImage) return;
  fDrawnBounds = fFrameBounds;
  fFrameImage->Draw(context, {0, 0});
}

void rcAnimationView::WindowStateChanged() {
  const double v = Wex::StringToDouble(fRoot->GetController().GetVariable(*fRoot, fVariableName), 0.0);
  const double t = (v - fRange.first) / (fRange.second - fRange.first);
  const std::int32_t position = PositionAt(fFrameCount, Bias(t, fCurve));
  if (position != fCurrentFrame) {
    InvalidateRect(fDrawnBounds);
    fCurrentFrame = position;
    fFrameImage = fFilm->GetFrame(position);
    fFrameBounds = fFrameImage->GetBounds();
    InvalidateRect(fFrameBounds);
  }
  rcGUIElement::WindowStateChanged();
}

ref<Wex::rcGUIElement> MakeAnimationView(rcRootView& root, const Wex::cRect& bounds, const Description& description) {
  std::string variable = Wex::Unquote(Wex::ValueOf(description, "variable"));
  const Description film = Wex::ParseKeyValueMap(Wex::ValueOf(description, "film"));
  iref<iFilm> strip = ReadFilmBlock(root, film);
  const double positions = strip->GetFrameRange();
  const std::pair<double, double> range = ReadRealPair(Wex::ValueOf(description, "range"), {0.0, positions});
  const double curve = Wex::EvaluateExpression(Wex::ValueOf(description, "curve"), 0.5);
  const ref<rcAnimationView> view(
      new rcAnimationView(bounds, root, std::move(strip), std::move(variable), range, curve));
  root.ReadAutoRefresh(view, description);
  return view;
}

}  // namespace Velto
