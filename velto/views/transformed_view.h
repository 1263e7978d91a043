#pragma once

// The transformed view: a transform container driven by five GUI variables (opacity and scale in
// percent, x and y offsets in pixels, rotation in degrees about the view's centre).

#include <cstdint>
#include <string>

#include "base/key_value.h"
#include "base/rc.h"
#include "gui/geometry.h"
#include "raster/geometry.h"
#include "velto/views/transform_container.h"

namespace Velto {

class rcRootView;

class rcTransformedView : public rcTransformContainer {
 public:
  // The root, whose controller answers the variables, is borrowed.
  rcTransformedView(const Wex::cRect& r, rcRootView& root, std::string opacityVariable, std::string scaleVariable,
                    std::string offsetXVariable, std::string offsetYVariable, std::string rotationVariable);

  // Reads the five variables and, when their texts changed, sets the new opacity and transform;
  // then refreshes the children. A text without a finite number gives the default (opacity and
  // scale 100, offsets and rotation 0).
  void WindowStateChanged() override;

 private:
  rcRootView* fRoot;
  std::string fOpacityVariable;
  std::string fScaleVariable;
  std::string fOffsetXVariable;
  std::string fOffsetYVariable;
  std::string fRotationVariable;
  QorRaster::Point fCenter;
  // Of the texts last applied; 0 before the first refresh, never 0 after it.
  std::uint32_t fValuesHash = 0;
};

// The "transformed" type: the variable names "opacity", "scale", "offset" (a list of the x and y
// names) and "rotation", each unquoted; the children of "views" in list order; "autoRefresh".
ref<Wex::rcGUIElement> MakeTransformedView(rcRootView& root, const Wex::cRect& bounds, const Description& description);

}  // namespace Velto
