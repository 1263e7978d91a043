#include "velto/view_factory.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "gui/resources/image_wrappers.h"
#include "gui/simple_elements.h"
#include "velto/velto_view.h"
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
      // Images that are no pixel resource are drawn into one first; an empty one gives none.
      {"image: { name: white, clip: { 0, 0, 4, 4 } }, blend: add", 0xFF404040, 0xFFFFFF, 0x404040, "blended"},
      {"image: { name: white, clip: { 9, 9, 1, 1 } }, blend: add", 0xFF404040, 0x404040, 0x404040, "none"},
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
