#pragma once

// The "marker" view: a hand-drawn looking pen stroke that circles a spot, growing tick by tick
// until it reaches its sweep. Each view's loop is irregular in its own way, from a random
// generator seeded per view and restarted on every tick, so the loop keeps its shape as it grows.

#include <cstdint>
#include <memory>

#include "base/key_value.h"
#include "base/rc.h"
#include "gui/element.h"
#include "gui/geometry.h"
#include "gui/resources/stroke.h"
#include "raster/geometry.h"
#include "raster/rle.h"
#include "raster/table.h"

namespace Velto {

class rcRootView;

class rcMarkerView : public Wex::rcGUIElement {
 public:
  static constexpr std::uint32_t kTickTimer = 5433;

  // Reads "gamma", "center", "size", "rotation" (degrees), "random" (percent), "pen", "quality",
  // "updateRate" (Hz), "start" and "sweep" (degrees), "outlineMix" (percent), "outlineWidth" and
  // "time" (seconds per turn), in this order; errors of the readers pass out.
  rcMarkerView(const Wex::cRect& r, const Description& description);

  // Starts the ticks; the phase reached so far stays.
  void OnHostAttached(Wex::rcGUIRoot& host) override;
  // A tick (kTickTimer only) grows the loop by one phase step, up to the sweep, and renders it.
  // A render that the raster library refuses ends the ticks and keeps the last picture.
  void OnTimer(Wex::rcScheduler& scheduler, std::int32_t dueTime, std::int32_t now, std::uint32_t id) override;
  // The last rendered loop, source-over.
  void Draw(Wex::rcGraphicsContext& context, const Wex::cRect& update) override;

  double GetPhase() const { return fPhase; }
  double GetPhaseStep() const { return fPhaseStep; }
  double GetSweep() const { return fSweep; }
  std::int32_t GetInterval() const { return fInterval; }
  std::int32_t GetOutlineMix() const { return fOutlineMix; }
  std::uint32_t GetSeed() const { return fSeed; }
  // The last rendered loop; null before the first render.
  const QorRaster::RLEImage* GetImage() const { return fImage.get(); }

 private:
  // Renders the loop up to the phase into a new picture.
  void Render();

  QorRaster::GammaTable fGamma;
  QorRaster::Point fCenter;
  QorRaster::Point fSize;
  double fRotation;
  double fRandomness;
  cStroke fPen;
  double fQuality;
  std::int32_t fInterval;
  std::uint32_t fSeed;
  double fStart;
  double fSweep;
  std::int32_t fOutlineMix;
  double fOutlineWidth;
  double fPhaseStep;
  double fPhase = 0.0;
  std::unique_ptr<QorRaster::RLEImage> fImage;
};

// The "marker" type.
ref<Wex::rcGUIElement> MakeMarkerView(rcRootView& root, const Wex::cRect& bounds, const Description& description);

}  // namespace Velto
