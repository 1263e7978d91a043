// Nested views share the root's hint window, which needs a display.
#include <gtest/gtest.h>

#include "velto/velto_view.h"
#include "velto/view_factory.h"
#include "velto/views/tests/view_fixture.h"

namespace VeltoTest {
namespace {

TEST_F(ViewTest, NestedViewsShareTheRootsHintWindow) {
  const Wex::cRGBColor white{255, 255, 255};
  const Wex::cRGBColor black{0, 0, 0};
  const ref<Velto::rcHintWindow> window(new Velto::rcHintWindow(6, 16, &white, {2, 12}, &black, nullptr));
  fRoot->SetHintWindow(window);
  for (const char* transitions : {"true", "false"}) {
    SCOPED_TRACE(transitions);
    const ref<Wex::rcGUIElement> view =
        Velto::CreateViewOfType(*fRoot, {0, 0, 10, 10}, "velto", {{"transitions", transitions}});
    auto* container = dynamic_cast<Velto::rcTransformContainer*>(view.Get());
    auto* nested = dynamic_cast<Velto::rcVeltoView*>(container != nullptr ? container->GetChild(0).Get() : view.Get());
    ASSERT_NE(nested, nullptr);
    EXPECT_EQ(nested->GetHintWindow(), window);
  }
}

}  // namespace
}  // namespace VeltoTest
