#include "velto/views/layout_edit_target.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/clipboard.h"
#include "velto/views/tests/view_fixture.h"

namespace VeltoTest {
namespace {

std::vector<std::string>& Steps() {
  static std::vector<std::string> steps;
  return steps;
}

std::string Text(const Wex::cRect& r) {
  return std::to_string(r.fLeft) + "," + std::to_string(r.fTop) + "," + std::to_string(r.fRight) + "," +
         std::to_string(r.fBottom);
}

// A layout editor that notes where the view is when it is told to redraw its frames.
class rcEditorProbe : public Wex::rcGUIElement {
 public:
  explicit rcEditorProbe(const ref<Wex::rcGUIElement>& view) : rcGUIElement({0, 0, 32000, 32000}), fView(view) {}
  void Draw(Wex::rcGraphicsContext&, const Wex::cRect&) override {}
  void WindowStateChanged() override { Steps().push_back("editor refresh, view at " + Text(fView->GetRect())); }

 private:
  ref<Wex::rcGUIElement> fView;
};

class LayoutEditTargetTest : public ViewTest {
 protected:
  LayoutEditTargetTest() { fPrevious = Platform::SetClipboardWriter([](const std::string& text) {
    Steps().push_back("clipboard " + text);
  }); }
  ~LayoutEditTargetTest() override { Platform::SetClipboardWriter(fPrevious); }

  Platform::ClipboardWriter fPrevious = nullptr;
};

TEST_F(LayoutEditTargetTest, CopiesEveryRectangleAndMovesTheViewBeforeTheEditorRedraws) {
  const ref<Wex::rcGUIElement> view = Make("type: rectangle, bounds: { 1, 2, 3, 4 }");
  const ref<Velto::rcLayoutEditTarget> target(new Velto::rcLayoutEditTarget(*fRoot, view));
  const iref<Velto::iLayoutEditListener> listener = target->AsListener();
  for (const bool withEditor : {false, true}) {
    SCOPED_TRACE(withEditor);
    fRoot->SetLayoutEditor(withEditor ? ref<Wex::rcGUIElement>(new rcEditorProbe(view)) : nullptr);
    Steps().clear();
    EXPECT_TRUE(listener->CanEdit({10, 20, 110, 50}, view.Get()));
    EXPECT_EQ(view->GetRect(), (Wex::cRect{1, 2, 4, 6}));  // grabbing moves nothing
    EXPECT_TRUE(listener->ApplyRect({-5, 0, 0, 7}, view.Get()));
    EXPECT_EQ(view->GetRect(), (Wex::cRect{-5, 0, 0, 7}));
    std::vector<std::string> expected = {"clipboard { 10, 20, 100, 30 }", "clipboard { -5, 0, 5, 7 }"};
    if (withEditor) expected.insert(expected.begin() + 1, "editor refresh, view at -5,0,0,7");
    EXPECT_EQ(Steps(), expected);
    view->SetRect({1, 2, 4, 6});
  }
}

}  // namespace
}  // namespace VeltoTest
