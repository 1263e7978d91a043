#include "velto/view_factory.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "gui/resources/image_wrappers.h"
#include "gui/simple_elements.h"
#include "velto/velto_view.h"
#include "velto/views/value_view.h"
#include "velto/views/tests/view_fixture.h"
#include "velto/views/transform_container.h"

namespace VeltoTest {
namespace {

class ViewFactoryTest : public ViewTest {
 protected:
  ViewFactoryTest() {
    WritePicture("white", 4, 4, 0xFFFFFFFF);
    WritePicture("grey", 4, 4, 0xFF404040);
  }
};

TEST_F(ViewFactoryTest, FindsEveryTypeByItsExactName) {
  std::vector<std::pair<std::string, std::string>> cases;  // name, error
  for (const char* name : {"raster", "rectangle", "click", "hover", "button", "knob", "transformed", "velto", "vector",
                           "animation", "group", "paged", "marker", "bubble", "console", "gradient", "caption",
                           "slider"}) {
    cases.emplace_back(name, "");
  }
  cases.emplace_back("cluster", "No images declared for cluster view");
  // "rasterx" falls in the slot of "bubble", "zzzz" in a slot of no name.
  for (const char* name : {"Knob", "knobs", "box", "transformedx", "rasterx", "zzzz", ""}) {
    cases.emplace_back(name, std::string("Unrecognized view type : \"") + name + "\"");
  }
  cases.emplace_back("ve\tl\xe9o", "Unrecognized view type : \"ve\\tl\\xe9o\"");
  const Velto::Description keys = {{"image", "white"}, {"source", "x"}, {"film", "{ image: white }"},
                                   {"style", "{ font: { size: 9 } }"}, {"stops", "{ { 0, red } }"}};
  const std::set<std::string> asking = {"raster", "animation", "bubble", "knob", "console", "caption", "slider"};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.first);
    ref<Wex::rcGUIElement> view;
    EXPECT_EQ(ErrorOf([&] { view = Velto::CreateViewOfType(*fRoot, {1, 2, 11, 22}, c.first, keys); }), c.second);
    EXPECT_EQ(view ? RectText(view->GetRect()) : "none", c.second.empty() ? "1,2,11,22" : "none");
    // Nothing is asked of the controller for a type that is refused.
    EXPECT_EQ(TakeCalls().empty(), !c.second.empty() || !asking.contains(c.first));
  }
}

TEST_F(ViewFactoryTest, RasterViewsShowTheImageBlendedAtTheirOpacity) {
  const ref<Velto::rcImage> white = fRegistry.GetImage("white");
  // keys, background, the colours of (3, 3) and (4, 4), and the drawable
  const std::tuple<const char*, std::uint32_t, std::uint32_t, std::uint32_t, const char*> cases[] = {
      {"image: white", 0xFF000000, 0xFFFFFF, 0x000000, "the image"},
      {"image: white, opacity: 150", 0xFF000000, 0xFFFFFF, 0x000000, "the image"},
      {"image: white, opacity: 99.9, blend: normal", 0xFF000000, 0xFFFFFF, 0x000000, "the image"},
      {"image: white, opacity: 0/0", 0xFF000000, 0xFFFFFF, 0x000000, "the image"},
      {"image: white, opacity: 50", 0xFF000000, 0x808080, 0x000000, "blended"},
      {"image: white, opacity: -10", 0xFF000000, 0x000000, 0x000000, "blended"},
      {"image: grey, blend: add, opacity: 100", 0xFF404040, 0x808080, 0x404040, "blended"},
      // Images of every kind are wrapped as they are; an empty one draws nothing.
      {"image: { name: white, clip: { 0, 0, 4, 4 } }, blend: add", 0xFF404040, 0xFFFFFF, 0x404040, "blended"},
      {"image: { name: white, clip: { 9, 9, 1, 1 } }, blend: add", 0xFF404040, 0x404040, 0x404040, "blended"},
  };
  for (const auto& [keys, background, inside, outside, expected] : cases) {
    SCOPED_TRACE(keys);
    fRoot->RemoveAllChildren();
    const ref<Wex::rcGUIElement> view = Make(std::string("type: raster, bounds: { 0, 0, 8, 8 }, ") + keys);
    const Wex::rcDrawable* drawable = dynamic_cast<Wex::rcDrawableElement&>(*view).GetDrawable().Get();
    const char* kind = drawable == nullptr                                               ? "none"
                       : drawable == white.Get()                                         ? "the image"
                       : dynamic_cast<const Velto::rcBlendedImage*>(drawable) != nullptr ? "blended"
                                                                                         : "other";
    EXPECT_STREQ(kind, expected);
    const ref<Wex::rcOffscreenContext32> bitmap = Draw({0, 0, 200, 100}, background);
    EXPECT_EQ(Rgb(*bitmap, 3, 3), inside);
    EXPECT_EQ(Rgb(*bitmap, 4, 4), outside);
  }
  TakeCalls();
  Make("type: raster, image: \"white\"");
  EXPECT_EQ(TakeCalls()[1], At("GetLayeredImage", {"\"white\""}));  // as written
}

TEST_F(ViewFactoryTest, ImagesKeepTheirPlaceUnderOpacityBlendCapsAndInterpolation) {
  fBundle.WriteResource("pic", "png", GuiTest::ColorsPNG(4, 4));
  std::ifstream level(MAROVELL_SOURCE_DIR "/base/fuzz/corpus/png_fuzzer/interlaced.png", std::ios::binary);
  fBundle.WriteResource("level", "png", std::string(std::istreambuf_iterator<char>(level), {}));  // 3 x 3, no alpha
  // The keys of an image of each kind.
  const std::string kinds[] = {"name: pic", "name: pic, format: rle", "name: level, format: mask",
                               "name: level, format: rlemask", "name: pic, clip: { 1, 0, 2, 3 }"};
  const std::string knob = "type: knob, bounds: { 0, 0, 100, 100 }, ";
  const std::string slider =
      "type: slider, bounds: { 0, 0, 100, 100 }, slit: { start: { 20, 50 }, end: { 80, 50 } }, ";
  // Each use of an image "@": a view that shows it at the offset { 3, 5 } ("+" stands for that key),
  // a view that is to show the same pixels moved back by the offset (the image without it; a raster
  // view's opacity and blend baked into the image instead; a plain film for an interpolated one),
  // and the value of a control.
  const struct {
    std::string shifted, reference;
    double value;
  } uses[] = {
      {"type: raster, image: { @+ }, opacity: 50", "type: raster, image: { @, opacity: 50 }", 0},
      {"type: raster, image: { @+ }, blend: add", "type: raster, image: { @, blend: add }", 0},
      {"type: raster, image: { @+, blend: add }, opacity: 50, blend: multiply",
       "type: raster, image: { @, blend: multiply, opacity: 50 }", 0},
      {knob + "sweep: { 90, 90 }, cap: { image: { @+ }, angle: 90 }",
       knob + "sweep: { 90, 90 }, cap: { image: { @ }, angle: 90 }", 0},
      {slider + "cap: { image: { @+ } }", slider + "cap: { image: { @ } }", 0},
      {knob + "film: { image: { @+ }, frames: 2, interpolate: true }", knob + "film: { image: { @ }, frames: 2 }", 1},
  };
  const auto draw = [&](std::string text, const std::string& kind, double value) {
    for (const auto& [mark, keys] : {std::pair("@", kind), std::pair("+", std::string(", offset: { 3, 5 }"))}) {
      if (const std::size_t at = text.find(mark); at != std::string::npos) text.replace(at, 1, keys);
    }
    fRoot->RemoveAllChildren();
    if (auto* control = dynamic_cast<Velto::rcValueView*>(Make(text).Get())) control->SetValue(value);
    return Draw({0, 0, 200, 100}, 0xFF808080);
  };
  for (const auto& use : uses) {
    for (const std::string& kind : kinds) {
      SCOPED_TRACE(use.shifted + " with " + kind);
      const ref<Wex::rcOffscreenContext32> shifted = draw(use.shifted, kind, use.value);
      const ref<Wex::rcOffscreenContext32> reference = draw(use.reference, kind, use.value);
      int drawn = 0, misplaced = 0;
      for (int i = 0; i < 200 * 100; ++i) {
        const int x = i % 200, y = i / 200;
        const std::uint32_t expected = x >= 3 && y >= 5 ? Rgb(*reference, x - 3, y - 5) : 0x808080;
        drawn += expected != 0x808080;
        misplaced += Rgb(*shifted, x, y) != expected;
      }
      EXPECT_GT(drawn, 0);
      EXPECT_EQ(misplaced, 0);
    }
  }
}

TEST_F(ViewFactoryTest, NestedViewsShareTheRootAndFillTheirTransitionContainer) {
  const ref<Velto::rcLayoutEditor> editor = Velto::rcLayoutEditor::Create();
  fRoot->SetLayoutEditor(editor);
  const std::pair<const char*, bool> cases[] = {
      {"", true}, {"false", false}, {"FALSE", false}, {"\"false\"", true}, {"0", true}, {"{ default: {} }", true},
  };
  for (const auto& [transitions, contained] : cases) {
    SCOPED_TRACE(transitions);
    Velto::Description description = {{"layoutVariable", "\"page.layout\""}};
    if (*transitions != '\0') description["transitions"] = transitions;
    const ref<Wex::rcGUIElement> view = Velto::CreateViewOfType(*fRoot, {10, 20, 110, 70}, "velto", description);
    EXPECT_EQ(view->GetRect(), (Wex::cRect{10, 20, 110, 70}));
    auto* container = dynamic_cast<Velto::rcTransformContainer*>(view.Get());
    ASSERT_EQ(container != nullptr, contained);
    auto* nested = dynamic_cast<Velto::rcVeltoView*>(contained ? container->GetChild(0).Get() : view.Get());
    ASSERT_NE(nested, nullptr);
    if (contained) {
      EXPECT_EQ(container->GetChildCount(), 1);
      EXPECT_EQ(nested->GetRect(), (Wex::cRect{0, 0, 100, 50}));
    }
    EXPECT_EQ(nested->GetLayoutVariable(), "page.layout");
    EXPECT_EQ(&nested->GetController(), &fController);
    EXPECT_EQ(nested->GetLayoutEditor(), editor);
  }
}

}  // namespace
}  // namespace VeltoTest
