// The root view with a hint window, which needs a display.
#include <gtest/gtest.h>

#include "velto/actions.h"
#include "velto/popup_menu.h"
#include "velto/root_view.h"
#include "velto/view_factory.h"
#include "velto/views/transform_container.h"
#include "velto/tests/root_fixture.h"

namespace VeltoTest {
namespace {

TEST_F(RootTest, TheHintWindowIsSharedAndTheRootsHintGoesOutsideItsArea) {
  const Wex::cRGBColor white{255, 255, 255};
  const Wex::cRGBColor black{0, 0, 0};
  const ref<Velto::rcHintWindow> window(
      new Velto::rcHintWindow(6, 16, &white, {2, 12}, &black, Velto::gDefaultFont()));
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
  const ref<Wex::rcGUIElement> root(fRoot);
  fRoot->SetHintArea({10, 10, 50, 50});
  window->ShowHint(root, {0, 0}, Wex::MakeRCString("root"));
  fRoot->MouseMoved({20, 30}, 0, {});
  EXPECT_EQ(fRoot->GetLastMousePoint(), (Wex::cPoint{20, 30}));
  EXPECT_EQ(window->GetOwner(), root);
  fRoot->MouseMoved({60, 30}, 0, {});
  EXPECT_EQ(fRoot->GetHintArea(), Wex::cRect());
  EXPECT_FALSE(window->GetOwner() || window->IsShown() || window->IsVisible());
  fRoot->SetHintArea({10, 10, 50, 50});
  window->ShowHint(root, {0, 0}, Wex::MakeRCString("root"));
  fRoot->MouseExited(0);
  EXPECT_EQ(fRoot->GetHintArea(), Wex::cRect());
  EXPECT_FALSE(window->GetOwner());
  fRoot->Detach();
  EXPECT_EQ(fRoot->GetHintWindow(), nullptr);
  window->Close();
}

TEST_F(RootTest, TheHintActionShowsItsTextBesideTheOriginOrAtAPosition) {
  const ref<Velto::rcHintWindow> window(
      new Velto::rcHintWindow(6, 16, nullptr, {2, 12}, nullptr, Velto::gDefaultFont()));
  fView->fWindow = ref<Wex::rcExtWindow>(new GuiTest::rcFakeWindow({100, 200, 400, 300}));
  fRoot->SetHintWindow(window);
  Host(fRoot);
  fController.fVariables = {{"x", "value"}};
  fRoot->MouseMoved({20, 30}, 0, {});
  Velto::gActionOrigin = {500, 600};
  EXPECT_TRUE(Velto::IsActionEnabled(*fRoot, "hint", ""));
  using Shown = std::pair<Wex::cPoint, std::string>;
  const std::pair<const char*, Shown> cases[] = {
      {"{text: '[var]x[/var]!'}", {{500, 622}, "value!"}}, {"{offset: {-1, 2}, position: {3, 4}}", {{103, 204}, ""}},
      {"{offset: {-1, 2}}", {{499, 602}, ""}},
  };
  for (const auto& [params, shown] : cases) {
    Velto::ExecuteAction(*fRoot, "hint", params);
    EXPECT_EQ(window->GetOwner().Get(), fRoot.Get());
    EXPECT_EQ(Shown(window->GetPoint(), std::string(window->GetText()->GetText())), shown) << params;
    EXPECT_TRUE(window->IsShown() && window->IsVisible());
    EXPECT_EQ(window->GetContentRect().TopLeft(), shown.first);
  }
  EXPECT_EQ(fRoot->GetHintArea(), (Wex::cRect{15, 25, 25, 35}));
  window->Close();
}

}  // namespace
}  // namespace VeltoTest
