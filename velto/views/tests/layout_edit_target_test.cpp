#include "velto/views/layout_edit_target.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/clipboard.h"
#include "velto/views/tests/view_fixture.h"

namespace VeltoTest {
namespace {

std::vector<std::string> gSteps;

// A layout editor that notes where the view is when it is told to redraw its frames.
class rcEditorProbe : public Velto::rcLayoutEditor {
 public:
  explicit rcEditorProbe(const ref<Wex::rcGUIElement>& view) : fView(view) {}
  void WindowStateChanged() override { gSteps.push_back("redraw, view at " + RectText(fView->GetRect())); }

 private:
  ref<Wex::rcGUIElement> fView;
};

TEST_F(ViewTest, TheEditTargetMovesTheViewAndCopiesEveryRectangle) {
  const Platform::ClipboardWriter previous =
      Platform::SetClipboardWriter([](const std::string& text) { gSteps.push_back(text); });
  const ref<Wex::rcGUIElement> view = Make("type: rectangle, bounds: { 1, 2, 3, 4 }");
  const iref<Velto::iLayoutEditListener> target(new Velto::rcLayoutEditTarget(*fRoot, view));
  for (const bool withEditor : {false, true}) {
    SCOPED_TRACE(withEditor);
    fRoot->SetLayoutEditor(withEditor ? ref<Velto::rcLayoutEditor>(new rcEditorProbe(view)) : nullptr);
    gSteps.clear();
    view->SetRect({1, 2, 4, 6});
    EXPECT_TRUE(target->CanEdit({10, 20, 110, 50}, view.Get()));
    EXPECT_EQ(view->GetRect(), (Wex::cRect{1, 2, 4, 6}));  // grabbing moves nothing
    EXPECT_TRUE(target->ApplyRect({-5, 0, 0, 7}, view.Get()));
    std::vector<std::string> expected = {"{ 10, 20, 100, 30 }", "{ -5, 0, 5, 7 }"};
    if (withEditor) expected.insert(expected.begin() + 1, "redraw, view at -5,0,0,7");
    EXPECT_EQ(gSteps, expected);
  }
  Platform::SetClipboardWriter(previous);
}

}  // namespace
}  // namespace VeltoTest
