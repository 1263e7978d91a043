// The root view with a hint window, which needs a display.
#include <gtest/gtest.h>

#include "velto/actions.h"
#include "velto/popup_menu.h"
#include "velto/root_view.h"
#include "velto/view_factory.h"
#include "velto/views/transform_container.h"
#include "velto/testing/view_stand_ins.h"
#include "velto/tests/root_fixture.h"

namespace VeltoTest {
namespace {

TEST_F(RootTest, TheHintWindowIsSharedAndTheRootsHintGoesOutsideItsArea) {
  const Wex::cRGBColor white{255, 255, 255};
  const Wex::cRGBColor black{0, 0, 0};
  const ref<Velto::rcHintWindow> window(new Velto::rcHintWindow(6, 16, &white, {2, 12}, &black, nullptr));
  fRoot->SetHintWindow(window);
  const ref<rcHintedView> view(new rcHintedView(fLog));
  Velto::ReadHint(*fRoot, view, {{"hint", "x"}});
  EXPECT_EQ(view->GetHintWindow(), window);
  for (const char* transitions : {"true", "false"}) {  // nested views share it, in a container or not
    ref<Wex::rcGUIElement> nested = Velto::CreateViewOfType(*fRoot, {}, "velto", {{"transitions", transitions}});
    if (const auto* container = dynamic_cast<Velto::rcTransformContainer*>(nested.Get())) {
      nested = container->GetChild(0);
    }
    EXPECT_EQ(dynamic_cast<Velto::rcRootView&>(*nested).GetHintWindow(), window);
  }
  Host(fRoot);
  HiddenHints().clear();
  fRoot->SetHintArea({10, 10, 50, 50});
  fRoot->MouseMoved({20, 30}, 0, {});
  EXPECT_EQ(fRoot->GetLastMousePoint(), (Wex::cPoint{20, 30}));
  EXPECT_TRUE(HiddenHints().empty());
  fRoot->MouseMoved({60, 30}, 0, {});
  EXPECT_EQ(fRoot->GetHintArea(), Wex::cRect());
  fRoot->SetHintArea({10, 10, 50, 50});
  fRoot->MouseExited(0);
  EXPECT_EQ(fRoot->GetHintArea(), Wex::cRect());
  EXPECT_EQ(HiddenHints(), (std::vector<const Wex::rcGUIElement*>{fRoot.Get(), fRoot.Get()}));
  fRoot->Detach();
  EXPECT_EQ(fRoot->GetHintWindow(), nullptr);
}

TEST_F(RootTest, TheHintActionShowsItsTextBesideTheOriginOrAtAPosition) {
  const ref<Velto::rcHintWindow> window(new Velto::rcHintWindow(6, 16, nullptr, {2, 12}, nullptr, nullptr));
  fView->fWindow = ref<Wex::rcExtWindow>(new GuiTest::rcFakeWindow({100, 200, 400, 300}));
  fRoot->SetHintWindow(window);
  Host(fRoot);
  fController.fVariables = {{"x", "value"}};
  fRoot->MouseMoved({20, 30}, 0, {});
  Velto::gActionOrigin = {500, 600};
  ShownHints().clear();
  EXPECT_TRUE(Velto::IsActionEnabled(*fRoot, "hint", ""));
  Velto::ExecuteAction(*fRoot, "hint", "{text: '[var]x[/var]!'}");
  EXPECT_EQ(fRoot->GetHintArea(), (Wex::cRect{15, 25, 25, 35}));
  Velto::ExecuteAction(*fRoot, "hint", "{offset: {-1, 2}, position: {3, 4}}");
  Velto::ExecuteAction(*fRoot, "hint", "{offset: {-1, 2}}");
  EXPECT_EQ(ShownHints(), (std::vector<std::pair<const Wex::rcGUIElement*, std::string>>{
                             {fRoot.Get(), "500,622 value!"}, {fRoot.Get(), "103,204 "}, {fRoot.Get(), "499,602 "}}));
}

}  // namespace
}  // namespace VeltoTest
