#include "velto/view_factory.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <string>

#include "base/exceptions.h"
#include "base/expression.h"
#include "base/text.h"
#include "gui/resources/image_wrappers.h"
#include "gui/simple_elements.h"
#include "velto/bubble_view.h"
#include "velto/marker_view.h"
#include "velto/root_view.h"
#include "velto/velto_view.h"
#include "velto/views/animation_view.h"
#include "velto/views/button_view.h"
#include "velto/views/caption_view.h"
#include "velto/views/click_view.h"
#include "velto/views/cluster_view.h"
#include "velto/views/console_view.h"
#include "velto/views/gradient_view.h"
#include "velto/views/group_view.h"
#include "velto/views/hover_view.h"
#include "velto/views/knob_view.h"
#include "velto/views/paged_view.h"
#include "velto/views/rectangle_view.h"
#include "velto/views/slider_view.h"
#include "velto/views/transformed_view.h"
#include "velto/views/vector_view.h"

namespace Velto {

namespace {

// The type names; a name's index selects its maker.
constexpr std::array<std::string_view, 19> kTypeNames = {
    "raster",  "rectangle", "gradient", "vector", "caption", "click", "hover",       "button",  "slider", "knob",
    "cluster", "animation", "bubble",   "marker", "group",   "paged", "transformed", "console", "velto",
};

// The index of the name whose hash is the slot, -1 for the slots of no name.
constexpr std::array<std::int32_t, 32> kTypeIndex = {
    9, 11, -1, -1, -1, -1, 12, 0,  -1, -1, 17, -1, -1, 14, 2,  5,
    7, 10, 15, 3,  4,  -1, -1, -1, 1,  13, -1, 6,  8,  -1, 16, 18,
};

// The makers by type index.
constexpr std::array<ViewMaker, kTypeNames.size()> kMakers = {
    MakeRasterView,       // raster
    MakeRectangleView,    // rectangle
    MakeGradientView,     // gradient
    MakeVectorView,       // vector
    MakeCaptionView,      // caption
    MakeClickView,        // click
    MakeHoverView,        // hover
    MakeButtonView,       // button
    MakeSliderView,       // slider
    MakeKnobView,         // knob
    MakeClusterView,      // cluster
    MakeAnimationView,    // animation
    MakeBubbleView,       // bubble
    MakeMarkerView,       // marker
    MakeGroupView,        // group
    MakePagedView,        // paged
    MakeTransformedView,  // transformed
    MakeConsoleView,      // console
    MakeVeltoView,        // velto
};

// The index of the named type, -1 for none. The slot of a name of 4 to 11 bytes is its first byte
// XOR its length XOR its third byte, low five bits; one table read and one comparison decide.
std::int32_t FindType(std::string_view name) {
  if (name.size() < 4 || name.size() > 11) return -1;
  const auto byte = [&name](std::size_t i) { return static_cast<unsigned char>(name[i]); };
  const std::size_t slot = (byte(0) ^ name.size() ^ byte(2)) & 31;
  const std::int32_t index = kTypeIndex[slot];
  return index >= 0 && kTypeNames[static_cast<std::size_t>(index)] == name ? index : -1;
}

// Percent times 255 / 100, limited to 0 ... 255 before rounding; NaN is opaque.
std::int32_t OpacityToAlpha(double percent) {
  const double alpha = percent * 255.0 / 100.0;
  if (std::isnan(alpha)) return 255;
  return static_cast<std::int32_t>(std::lround(std::fmin(std::fmax(alpha, 0.0), 255.0)));
}

}  // namespace

ref<Wex::rcGUIElement> CreateViewOfType(rcRootView& root, const Wex::cRect& bounds, std::string_view type,
                                        const Description& description) {
  const std::int32_t index = FindType(type);
  if (index < 0) throw FormatException("Unrecognized view type : " + Wex::Quote(type));
  return kMakers[static_cast<std::size_t>(index)](root, bounds, description);
}

ref<Wex::rcGUIElement> MakeRasterView(rcRootView& root, const Wex::cRect& bounds, const Description& description) {
  ref<rcImage> image = root.GetController().GetLayeredImage(root, std::string(Wex::ValueOf(description, "image")));
  const std::int32_t mode = ReadBlendMode(Wex::Unquote(Wex::ValueOf(description, "blend")));
  const std::int32_t alpha = OpacityToAlpha(Wex::EvaluateExpression(Wex::ValueOf(description, "opacity"), 100.0));
  if (image && (mode != kBlendNormal || alpha != 255)) image = ref<rcImage>(new rcBlendedImage(image, mode, alpha));
  return ref<Wex::rcGUIElement>(new Wex::rcDrawableElement(bounds, image));
}

}  // namespace Velto
