#include "velto/views/transform_container.h"

#include <cmath>

#include "base/exceptions.h"
#include "gui/resources/canvas.h"
#include "gui/resources/shapes.h"
#include "raster/clip.h"
#include "raster/combine.h"
#include "raster/image_sampler.h"
#include "raster/solid.h"

namespace Velto {

namespace {

// The path of a rectangle given by its edges.
QorRaster::Path RectPath(const Wex::cRect& r) {
  const QorRaster::Rect d = EdgesToRealRect(r);
  QorRaster::Path path;
  path.AddRect(d.x, d.y, d.width, d.height);
  return path;
}

// Rounded half away from zero, saturating; NaN gives the minimum.
std::int32_t RoundSaturated(double v) { return QorRaster::TruncateSaturated<std::int32_t>(std::round(v)); }

// 256 steps per unit of opacity, limited to 0 ... 255; NaN draws nothing.
QorRaster::Coverage OpacityToAlpha(double opacity) {
  const double alpha = opacity * 256.0;
  if (!(alpha > 0.0)) return 0;
  return static_cast<QorRaster::Coverage>(alpha >= 255.0 ? 255 : std::lround(alpha));
}

}  // namespace

rcTransformContainer::rcTransformContainer(const Wex::cRect& r) : rcGUIContainer(r) {}

void rcTransformContainer::SetTransform(double opacity, const QorRaster::Transform& transform) {
  if (!(opacity == fOpacity && transform == fTransform)) {
    InvalidateAll();
    fOpacity = opacity;
    fTransform = transform;
    fInverseValid = false;
    InvalidateAll();
  }
  if (IsMouseInside() && (!IsIdentity() || !(fOpacity >= 0.5))) {
    MouseExited(Wex::CurrentElementTime());
  }
}

QorRaster::Path rcTransformContainer::GetChildrenOutline() const {
  QorRaster::Path outline;
  for (std::int64_t i = 0; i < GetChildCount(); ++i) outline.Append(RectPath(GetChild(i)->GetRect()));
  return outline.Transform(fTransform);
}

const QorRaster::Transform& rcTransformContainer::GetInverse() {
  if (!fInverseValid) {
    fInverse = fTransform;
    fInverse.Invert();
    fInverseValid = true;
  }
  return fInverse;
}

bool rcTransformContainer::HitsOutline(const Wex::cPoint& p) const {
  return fOpacity >= 0.5 && HitTestPath(GetChildrenOutline(), p.fX, p.fY);
}

void rcTransformContainer::Draw(Wex::rcGraphicsContext& context, const Wex::cRect& update) {
  if (IsIdentity() && fOpacity == 1.0) {
    fOffscreen = nullptr;
    DrawChildren(context, update);
    return;
  }
  QorRaster::Transform zero;
  zero.Set(0.0, 0.0, 0.0, 0.0, 0.0, 0.0);
  const QorRaster::Coverage alpha = OpacityToAlpha(fOpacity);
  if (fTransform == zero || fOpacity == 0.0 || alpha == 0) return;
  // The part of the children that lands in the update rectangle.
  const QorRaster::IntRect source =
      RectPath(update).Transform(GetInverse()).GetIntBounds().Intersect(EdgesToRect(GetBounds()));
  if (!fOffscreen || fOffscreen->GetBounds() != GetBounds()) {
    fOffscreen = nullptr;
    try {
      fOffscreen = new Wex::rcOffscreenContext32(GetBounds().Width(), GetBounds().Height(), false);
    } catch (const Wex::xExceptionWithRCString&) {
      return;  // too large for one bitmap: nothing shows in this pass
    }
  }
  {
    cContextCanvas pixels(*fOffscreen);
    QorRaster::SolidPaint clear(0);
    pixels.RenderRect(clear, source);
  }
  DrawChildren(*fOffscreen, {source.x, source.y, source.GetRight(), source.GetBottom()});
  const cContextCanvas pixels(*fOffscreen);
  cContextCanvas canvas(context);
  QorRaster::TransformedPaint shown(pixels, false, fTransform, QorRaster::WholePlaneRect);
  QorRaster::ClippedPaint clipped(&shown, EdgesToRect(update));
  QorRaster::SolidMask scale(alpha);
  QorRaster::MaskedPaint faded(&clipped, &scale);
  canvas.Draw(faded);
}

bool rcTransformContainer::MouseDown(const Wex::cPoint& p, std::int32_t time, bool doubleClick,
                                     const Wex::cKeyModifiers& modifiers) {
  if (fOpacity >= 0.5 && IsIdentity()) return rcGUIContainer::MouseDown(p, time, doubleClick, modifiers);
  return HitsOutline(p);
}

void rcTransformContainer::MouseMoved(const Wex::cPoint& p, std::int32_t time, const Wex::cKeyModifiers& modifiers) {
  if (fOpacity >= 0.5 && IsIdentity()) {
    rcGUIContainer::MouseMoved(p, time, modifiers);
  } else if (HitsOutline(p)) {
    const QorRaster::Point q = GetInverse().Apply(QorRaster::Point(p.fX, p.fY));
    rcGUIContainer::MouseMoved({RoundSaturated(q.x), RoundSaturated(q.y)}, time, modifiers);
  }
}

void rcTransformContainer::InvalidateRect(const Wex::cRect& r) {
  if (IsIdentity()) {
    rcGUIContainer::InvalidateRect(r);
    return;
  }
  const QorRaster::IntRect shown = RectPath(r).Transform(fTransform).GetIntBounds();
  rcGUIContainer::InvalidateRect({shown.x, shown.y, shown.GetRight(), shown.GetBottom()});
}

}  // namespace Velto
