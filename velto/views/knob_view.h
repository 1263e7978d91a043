#pragma once

// The knob: a rotary value control that shows its value as an angle, through a film frame chosen
// by the angle, an image turned by it and a vector knob (a cap circle, a frame ring and a dial
// line). Dragging up or right raises the value; with option the knob points at the pointer;
// shift gives fine control, command resets to the default value, and a snap value holds the knob
// at a detent.
//
// Angles are radians; 0 points up and positive angles turn clockwise on the screen, so the point
// at angle a and distance r from the centre c is (c.x + r sin a, c.y - r cos a).

#include <cstdint>

#include "base/key_value.h"
#include "base/rc.h"
#include "gui/events.h"
#include "gui/geometry.h"
#include "gui/resources/film.h"
#include "gui/resources/raster_resources.h"
#include "gui/resources/stroke.h"
#include "raster/geometry.h"
#include "velto/views/value_view.h"

namespace Velto {

class rcRootView;

// How the knob looks at a value.
struct cKnobLook {
  ref<rcImageResource> fImage;  // turned by the value angle; may be none
  std::uint32_t fColor = 0;     // of the cap, premultiplied ARGB; 0 for none
  cStroke fFrame;               // of the ring
  cStroke fDial;                // of the dial line
};

// How pointer movement becomes a change of the value, in fractions of the range per pixel.
struct cKnobTransmission {
  double fVerticalRate = 0.005;
  double fHorizontalRate = 0.005;
  double fFineVerticalRate = 0.0005;
  double fFineHorizontalRate = 0.0005;
  double fQuantum = 1.0;  // pixel movements are counted in steps of 1 / quantum pixels
};

// Everything that a description sets of a knob.
struct cKnobDesign {
  cKnobTransmission fTransmission;
  double fStartAngle = 0.0;        // of the minimum
  double fSweep = 0.0;             // from the minimum to the maximum
  double fSize = 0.0;              // diameter of the cap
  QorRaster::Point fCenterOffset;  // from the centre of the view
  double fImageScale = 1.0;
  double fImageAngle = 0.0;  // subtracted from the value angle when turning the image
  cKnobLook fNormalLook;
  cKnobLook fSnapLook;  // at the snap value
  iref<iFilm> fFilm;    // may be none
  Wex::cPoint fFilmOffset;
  double fFilmStartAngle = 0.0;  // of the first frame
  double fFilmSweep = 0.0;       // from the first to the last frame
  bool fReadOnly = false;
};

class rcKnobView : public rcValueView {
 public:
  rcKnobView(const Wex::cRect& r, cKnobDesign design);

  // The film frame at the film offset, the look's image (its extent centred, its offset displacing
  // it) turned by the value angle about the centre, then the cap, ring and dial (dial over ring
  // over cap). The look is the snap look when the value is within kSnapEpsilon of the snap value,
  // whether snapping is on or not.
  void Draw(Wex::rcGraphicsContext& context, const Wex::cRect& update) override;
  // Not handled with the secondary-click flag, read-only or disabled. Outside the cap circle,
  // the base view's press; inside, any hint goes, the drag is anchored at the point, the value
  // hint shows at once and the knob tracks the mouse.
  bool MouseDown(const Wex::cPoint& p, std::int32_t time, bool doubleClick,
                 const Wex::cKeyModifiers& modifiers) override;
  // A change of shift or option re-anchors the drag. Option (or the flag at index 2) points the
  // knob at the pointer, the seam lying opposite the middle of the sweep; otherwise the movement
  // from the anchor, in quantum steps rounded half away from zero, times the rates (the fine ones
  // when the anchoring took shift in). Command taken in by the anchoring sets the default value.
  // With snapping, the value rests on the snap value over 1/32 of the range (pointing) or over 8
  // pixels' worth of the faster axis (16 when the drag crosses it). A value that is no finite
  // number leaves the value as it is.
  void TrackMouse(const Wex::cPoint& p, std::int32_t time, const Wex::cKeyModifiers& modifiers) override;
  // Strictly inside the cap circle.
  bool ContainsPoint(const Wex::cPoint& p) override;
  // The clamped value; the whole view is redrawn when it changes.
  bool SetValue(double value) override;

  // W(start + (v - minimum) × sweep / (maximum - minimum)), W mapping into [-pi, pi); 0 when the
  // range is empty.
  double GetValueAngle(double value);
  // The centre of the knob in view coordinates.
  QorRaster::Point GetCenter() const;
  // The film frame for the value: the angle measured from the film's start (cut opposite the
  // middle of the film's range) as a share of the film's sweep, rounded to one of the film's
  // positions. Frame 0 for a sweep of 0; none without a film.
  ref<rcImage> GetFilmFrame(double value);
  const cKnobDesign& GetDesign() const { return fDesign; }

 private:
  void Anchor(const Wex::cPoint& p, const Wex::cKeyModifiers& modifiers);
  // The value that pointing at p gives, or the value itself for an empty sweep.
  double PointedValue(const Wex::cPoint& p);
  // The value that the movement from the anchor to p gives.
  double DraggedValue(const Wex::cPoint& p);
  void DrawKnob(QorRaster::Image& canvas, const cKnobLook& look);

  cKnobDesign fDesign;
  Wex::cPoint fPressPoint;
  double fValueAtPress = 0.0;
  Wex::cKeyModifiers fPressModifiers;
};

// The "knob" type: "variable", "readonly", "default", "range" (0 1), "sweep" (degrees, -135 270)
// and the blocks "cap" (size, offset, frame, dial, color, image, scale, angle), "snap" (a block
// of value, image, frame, dial and color, or a boolean), "transmission" (resolution, vertical,
// horizontal, fine) and "film" (frames, offset, interpolate, image, range); then the range, the
// default value and the snap value are set, a non-empty variable is bound through the root view,
// and "hint" and "autoRefresh" are read.
ref<Wex::rcGUIElement> MakeKnobView(rcRootView& root, const Wex::cRect& bounds, const Description& description);

}  // namespace Velto
