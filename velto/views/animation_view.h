#pragma once

// The animation view: one frame of a film strip, chosen by a GUI variable mapped through a range
// and a bias curve.

#include <cstdint>
#include <string>
#include <utility>

#include "base/key_value.h"
#include "base/rc.h"
#include "gui/element.h"
#include "gui/geometry.h"
#include "gui/resources/film.h"
#include "gui/resources/image.h"

namespace Velto {

class rcRootView;

class rcAnimationView : public Wex::rcGUIElement {
 public:
  // The root, whose controller answers the variable, is borrowed. `range` holds the values that
  // map to the film's first and last positions; `curve` bends the mapping (0.5 is linear).
  rcAnimationView(const Wex::cRect& r, rcRootView& root, iref<iFilm> film, std::string variable,
                  std::pair<double, double> range, double curve);

  // The current frame at (0, 0); nothing before the first refresh.
  void Draw(Wex::rcGraphicsContext& context, const Wex::cRect& update) override;
  // Maps the variable's value (0 without a number) to t in the range, bends it to f = c t /
  // ((2c - 1) t + 1 - c) (0 below the range, c / c from its end on, 0 where that is no number)
  // and shows position count × f, cut to the film's positions. A new position invalidates the
  // area last drawn and the new frame's area; the same position does nothing.
  void WindowStateChanged() override;

  std::int32_t GetFrameCount() const { return fFrameCount; }
  std::int32_t GetCurrentFrame() const { return fCurrentFrame; }

 private:
  rcRootView* fRoot;
  iref<iFilm> fFilm;
  std::int32_t fFrameCount;
  std::string fVariableName;
  std::pair<double, double> fRange;
  double fCurve;
  std::int32_t fCurrentFrame = -1;
  Wex::cRect fDrawnBounds;
  Wex::cRect fFrameBounds;
  ref<rcImage> fFrameImage;
};

// The "animation" type: "variable" (unquoted); "film", a block of "frames" (integer, "$" = 1),
// "interpolate" (a cross-fading film of 256 positions per frame) and "image"; "range" (a real
// pair, 0 and the film's position count by default); "curve" (0.5); then "autoRefresh".
ref<Wex::rcGUIElement> MakeAnimationView(rcRootView& root, const Wex::cRect& bounds, const Description& description);

}  // namespace Velto
