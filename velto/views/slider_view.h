#pragma once

// The sliders: a cap (the thumb) that moves along a slit (the track), straight or a circular
// arc. The base holds the value model, the looks, the film and the drag; the two kinds of slit
// answer the geometry. The slit parameter t runs from 0 at the slit's start to 1 at its end, and
// the cap of value v sits at t = (v - minimum) / (maximum - minimum) (0 for an empty range).
//
// A press on the cap grabs it; a press elsewhere on the swept slit makes the cap jump to the
// pointer with the first drag event (not with shift). Dragging moves the value by the pointer's
// movement along the slit: shift gives fine control (times the fine ratio), command holds the
// default value, and around an enabled snap value a dead zone of the snap area (pixels along the
// slit) holds the value. The drag's position is never clamped: movement beyond an end of the
// slit has to be taken back before the cap moves again.

#include <cstdint>

#include "base/key_value.h"
#include "base/rc.h"
#include "gui/events.h"
#include "gui/geometry.h"
#include "gui/resources/film.h"
#include "gui/resources/raster_resources.h"
#include "raster/geometry.h"
#include "raster/path.h"
#include "raster/transform.h"
#include "velto/views/value_view.h"

namespace Velto {

// How the cap looks at a value.
struct cSliderLook {
  ref<rcImageResource> fImage;  // centred on the cap; may be none
  std::uint32_t fColor = 0;     // of the cap shape, premultiplied ARGB; 0 for none
};

// Everything that a description sets of a slider besides its slit's geometry and value model.
struct cSliderDesign {
  double fFineRatio = 0.1;
  double fSnapArea = 4.0;  // pixels along the slit on each side of the snap value
  double fSlitThickness = 4.0;
  std::uint32_t fSlitColor = 0;  // premultiplied ARGB; 0: the slit is not drawn
  bool fCapRounded = false;      // an ellipse, else a rectangle
  double fCapWidth = 10.0;
  double fCapHeight = 10.0;
  cSliderLook fCapLook;
  cSliderLook fSnapLook;  // within kSnapEpsilon of the snap value
  double fCapImageScale = 1.0;
  iref<iFilm> fFilm;  // may be none
  Wex::cPoint fFilmOffset;
  bool fReadOnly = false;
};

class rcValueControlView : public rcValueView {
 public:
  rcValueControlView(const Wex::cRect& r, cSliderDesign design);

  // The film frame of the value at the film offset, the slit, the cap shape and the cap image.
  void Draw(Wex::rcGraphicsContext& context, const Wex::cRect& update) override;
  // Not handled read-only, disabled, with the secondary-click flag, on a slit without extent,
  // or away from the cap placed at the pointer's parameter (clamped to the slit).
  bool MouseDown(const Wex::cPoint& p, std::int32_t time, bool doubleClick,
                 const Wex::cKeyModifiers& modifiers) override;
  // A drag event of the press.
  void TrackMouse(const Wex::cPoint& p, std::int32_t time, const Wex::cKeyModifiers& modifiers) override;
  // On the cap placed at the pointer's parameter clamped to the slit: the slit swept by the cap.
  bool ContainsPoint(const Wex::cPoint& p) override;
  // The clamped value; the film frames and the cap areas of the old and the new value are
  // redrawn, not the whole view.
  bool SetValue(double value) override;

  // Whether the cap shape of value v covers the pixel; it is tested whether or not it is drawn.
  bool IsOnCap(const Wex::cPoint& p, double value);
  // The area that the cap covers at the value, shape and image (local coordinates): the shape's
  // box grown by a pixel when the colour drawn at the value is not 0, united with the image's
  // bounds placed by GetCapImageTransform.
  Wex::cRect GetCapArea();
  // Centres the cap image's extent on p, its offset displacing it from there, scaled by the image
  // scale. Without a cap image the snap cap image's bounds serve.
  QorRaster::Transform GetCapImageTransform(const QorRaster::Point& p) const;
  // The slit parameter of the value, and the value at a slit parameter.
  double ParameterOfValue(double value);
  double ValueAtParameter(double t);
  const cSliderDesign& GetDesign() const { return fDesign; }

  // The slit's geometry. A slit without extent (or not finite) answers 0 to the first, third
  // and fourth and adds nothing to the path.
  virtual double ParameterAtPoint(const QorRaster::Point& p) const = 0;
  virtual QorRaster::Point PointAtParameter(double t) const = 0;
  virtual double DistanceToParameter(double pixels) const = 0;
  virtual double WrapParameterDelta(double delta) const = 0;
  virtual void GetSlitPath(QorRaster::Path& path) const = 0;
  // Whether the slit has a finite, non-zero extent that a press can follow.
  virtual bool HasExtent() const = 0;

 private:
  // The film frame of the value: (n - 1) × t rounded, within 0 .. n - 1. None without a film.
  ref<rcImage> GetFilmFrame(double value);
  // The snap dead zone: value to raw position and back.
  double RawToValue(double x) const;
  double ValueToRaw(double x) const;
  // Invalidates a rectangle that is not empty.
  void InvalidateArea(const Wex::cRect& r);
  // The look at the value.
  const cSliderLook& LookAt(double value) const;

  cSliderDesign fDesign;
  double fAccumulator = 0.0;
  Wex::cRect fDrawnFilmArea;
  double fLastParameter = 0.0;
  bool fResetToDefault = false;
  bool fFineMode = false;
  double fSnapZone = 0.0;
};

// A straight slit from the start point to the end point.
class rcSliderView : public rcValueControlView {
 public:
  rcSliderView(const Wex::cRect& r, cSliderDesign design, const QorRaster::Point& start, const QorRaster::Point& end);

  // The projection onto the line through start and end, not clamped.
  double ParameterAtPoint(const QorRaster::Point& p) const override;
  QorRaster::Point PointAtParameter(double t) const override;
  double DistanceToParameter(double pixels) const override;
  double WrapParameterDelta(double delta) const override;
  void GetSlitPath(QorRaster::Path& path) const override;
  bool HasExtent() const override;

 private:
  QorRaster::Point fStart;
  QorRaster::Point fEnd;
};

// An arc about the centre from the start angle through the sweep (radians; 0 points up, positive
// turns clockwise). Parameters are measured with the seam opposite the middle of the arc, and
// parameter differences are wrapped so that crossing the seam never counts as a long jump.
class rcArcSliderView : public rcValueControlView {
 public:
  rcArcSliderView(const Wex::cRect& r, cSliderDesign design, const QorRaster::Point& center, double radius,
                  double startAngle, double sweep);

  double ParameterAtPoint(const QorRaster::Point& p) const override;
  QorRaster::Point PointAtParameter(double t) const override;
  double DistanceToParameter(double pixels) const override;
  double WrapParameterDelta(double delta) const override;
  // A full circle from |sweep| >= 2 pi - 1e-6 on.
  void GetSlitPath(QorRaster::Path& path) const override;
  bool HasExtent() const override;

 private:
  QorRaster::Point fCenter;
  double fRadius;
  double fStartAngle;
  double fSweep;
};

// The "slider" type: the blocks "cap" (rounded 0 or 100, size, color, image, scale), "snap" (a
// block of value, area, image and color, or a boolean), "slit" (with "center" an arc of center,
// radius and sweep, else a line from start to end; thickness and color) and "film" (offset,
// frames, interpolate, image), and "fineRatio"; then a non-empty "variable" is bound through the
// root view, "hint" and "autoRefresh" are read, and the range ("range", 0 1), the default value
// ("default") and the snap value are set. "Unsupported cap roundness: " and the value for a
// "rounded" other than 0 or 100.
ref<Wex::rcGUIElement> MakeSliderView(rcRootView& root, const Wex::cRect& bounds, const Description& description);

}  // namespace Velto
