#include "velto/view_factory.h"

#include <gtest/gtest.h>

#include <string>

#include "gui/resources/image_wrappers.h"
#include "gui/simple_elements.h"
#include "velto/velto_view.h"
#include "velto/views/rectangle_view.h"
#include "velto/views/tests/view_fixture.h"
#include "velto/views/transformed_view.h"

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
  const struct {
    const char* name;
    const char* error;  // empty when a view is made
  } cases[] = {
      {"raster", ""},
      {"rectangle", ""},
      {"gradient", "View type not built yet: \"gradient\""},
      {"vector", "View type not built yet: \"vector\""},
      {"caption", "View type not built yet: \"caption\""},
      {"click", "View type not built yet: \"click\""},
      {"hover", "View type not built yet: \"hover\""},
      {"button", "View type not built yet: \"button\""},
      {"slider", "View type not built yet: \"slider\""},
      {"knob", "View type not built yet: \"knob\""},
      {"cluster", "View type not built yet: \"cluster\""},
      {"animation", "View type not built yet: \"animation\""},
      {"bubble", "View type not built yet: \"bubble\""},
      {"marker", "View type not built yet: \"marker\""},
      {"group", "View type not built yet: \"group\""},
      {"paged", "View type not built yet: \"paged\""},
      {"transformed", ""},
      {"console", "View type not built yet: \"console\""},
      {"velto", ""},
      {"Knob", "Unrecognized view type : \"Knob\""},
      {"knobs", "Unrecognized view type : \"knobs\""},
      {"box", "Unrecognized view type : \"box\""},
      {"transformedx", "Unrecognized view type : \"transformedx\""},
      {"rasterx", "Unrecognized view type : \"rasterx\""},  // the slot of "bubble"
      {"zzzz", "Unrecognized view type : \"zzzz\""},        // a slot of no name
      {"", "Unrecognized view type : \"\""},
      {"ve\tl\xe9o", "Unrecognized view type : \"ve\\tl\\xe9o\""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ref<Wex::rcGUIElement> view;
    EXPECT_EQ(ErrorOf([&] { view = Velto::CreateViewOfType(*fRoot, {1, 2, 11, 22}, c.name, {{"image", "white"}}); }),
              c.error);
    EXPECT_EQ(bool(view), *c.error == '\0');
    if (view) {
      EXPECT_EQ(view->GetRect(), (Wex::cRect{1, 2, 11, 22}));
    } else {
      EXPECT_EQ(TakeCalls(), Calls{});  // nothing asked, nothing made
    }
    TakeCalls();
  }
}

TEST_F(ViewFactoryTest, RasterViewsShowTheImageBlendedAtTheirOpacity) {
  const ref<Velto::rcImage> white = fRegistry.GetImage("white");
  const struct {
    const char* keys;
    std::uint32_t background;
    std::uint32_t at00;  // colour at (0, 0) and (3, 3)
    std::uint32_t at44;  // colour at (4, 4), outside the image
    const char* drawable;
  } cases[] = {
      {"image: white", 0xFF000000, 0xFFFFFF, 0x000000, "the image"},
      {"image: white, opacity: 150", 0xFF000000, 0xFFFFFF, 0x000000, "the image"},
      {"image: white, opacity: 99.9", 0xFF000000, 0xFFFFFF, 0x000000, "the image"},
      {"image: white, opacity: 100, blend: normal", 0xFF000000, 0xFFFFFF, 0x000000, "the image"},
      {"image: white, opacity: 50", 0xFF000000, 0x808080, 0x000000, "blended"},
      {"image: white, opacity: -10", 0xFF000000, 0x000000, 0x000000, "blended"},
      {"image: white, opacity: 0/0", 0xFF000000, 0xFFFFFF, 0x000000, "the image"},
      {"image: grey, blend: add, opacity: 100", 0xFF404040, 0x808080, 0x404040, "blended"},
      {"image: grey, blend: \"multiply\"", 0xFF808080, 0x202020, 0x808080, "blended"},
      {"image: { name: white, clip: { 0, 0, 4, 4 } }, blend: add", 0xFF404040, 0xFFFFFF, 0x404040, "blended"},
      {"image: { name: white, clip: { 9, 9, 1, 1 } }, blend: add", 0xFF404040, 0x404040, 0x404040, "none"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.keys);
    fRoot->RemoveAllChildren();
    const ref<Wex::rcGUIElement> view = Make(std::string("type: raster, bounds: { 0, 0, 8, 8 }, ") + c.keys);
    const auto* element = dynamic_cast<Wex::rcDrawableElement*>(view.Get());
    ASSERT_NE(element, nullptr);
    const Wex::rcDrawable* drawable = element->GetDrawable().Get();
    const std::string kind = drawable == nullptr                                          ? "none"
                             : drawable == white.Get()                                    ? "the image"
                             : dynamic_cast<const Velto::rcBlendedImage*>(drawable) != nullptr ? "blended"
                                                                                          : "other";
    EXPECT_EQ(kind, c.drawable);
    const ref<Wex::rcOffscreenContext32> bitmap = Draw({0, 0, 200, 100}, c.background);
    EXPECT_EQ(Rgb(*bitmap, 0, 0), c.at00);
    EXPECT_EQ(Rgb(*bitmap, 3, 3), c.at00);
    EXPECT_EQ(Rgb(*bitmap, 4, 4), c.at44);
  }
  // The image specification goes to the controller as written.
  TakeCalls();
  Make("type: raster, image: \"white\"");
  EXPECT_EQ(TakeCalls()[1], At("GetLayeredImage", {"\"white\""}));
}

TEST_F(ViewFactoryTest, NestedViewsShareTheRootAndFillTheirTransitionContainer) {
  const ref<Wex::rcGUIElement> editor(new GuiTest::rcProbe({0, 0, 1, 1}, "editor", fLog));
  fRoot->SetLayoutEditor(editor);
  const struct {
    const char* transitions;  // null for none
    bool contained;
  } cases[] = {
      {nullptr, true}, {"false", false}, {"FALSE", false}, {"\"false\"", true}, {"0", true},
      {"{ default: { time: 1 } }", true}, {"TRUE", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.transitions != nullptr ? c.transitions : "(none)");
    Velto::Description description = {{"layoutVariable", "\"page.layout\""}};
    if (c.transitions != nullptr) description["transitions"] = c.transitions;
    const ref<Wex::rcGUIElement> view = Velto::CreateViewOfType(*fRoot, {10, 20, 110, 70}, "velto", description);
    EXPECT_EQ(view->GetRect(), (Wex::cRect{10, 20, 110, 70}));
    auto* container = dynamic_cast<Velto::rcTransformContainer*>(view.Get());
    ASSERT_EQ(container != nullptr, c.contained);
    auto* nested = dynamic_cast<Velto::rcVeltoView*>(container != nullptr ? container->GetChild(0).Get() : view.Get());
    ASSERT_NE(nested, nullptr);
    if (container != nullptr) {
      EXPECT_EQ(container->GetChildCount(), 1);
      EXPECT_EQ(nested->GetRect(), (Wex::cRect{0, 0, 100, 50}));
    }
    EXPECT_EQ(nested->GetLayoutVariable(), "page.layout");
    EXPECT_EQ(&nested->GetController(), &fController);
    EXPECT_EQ(nested->GetLayoutEditor(), editor);
    EXPECT_EQ(nested->GetHintWindow(), nullptr);  // the root has none
  }
}

}  // namespace
}  // namespace VeltoTest
