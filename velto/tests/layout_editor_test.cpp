// The layout editor above a root view, as the application places it: one container holds the
// root view and then the editor. Presses, drags and keys come through the recording native view.
#include "velto/layout_editor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/clipboard.h"
#include "velto/velto_view.h"
#include "velto/views/tests/view_fixture.h"

namespace VeltoTest {
namespace {

using Strings = std::vector<std::string>;

std::vector<std::string> gClipboard;

// A listener that logs its calls and answers as told.
class rcListener : public Wex::rc, public Velto::iLayoutEditListener {
 public:
  bool CanEdit(const Wex::cRect& r, Wex::rcGUIElement*) override {
    gClipboard.push_back("can edit " + RectText(r));
    return fCanEdit;
  }
  bool ApplyRect(const Wex::cRect& r, Wex::rcGUIElement*) override {
    gClipboard.push_back("apply " + RectText(r));
    return false;
  }
  bool fCanEdit = true;
};

class LayoutEditorTest : public ViewTest {
 protected:
  LayoutEditorTest() {
    fPreviousWriter = Platform::SetClipboardWriter([](const std::string& text) { gClipboard.push_back(text); });
    gClipboard.clear();
    fHost->SetRootElement(fTop);
    fTop->AddChild(fRoot);
    fTop->AddChild(fEditor);
    fRoot->SetLayoutEditor(fEditor);
  }
  ~LayoutEditorTest() override { Platform::SetClipboardWriter(fPreviousWriter); }

  // Ends the drag, which the editor tracks.
  void Release(const Wex::cPoint& p) {
    EXPECT_TRUE(fView->fTracker->EndTracking(fView->TrackingHost(), Event(p)));
    fView->fTracker = nullptr;
  }
  bool Key(std::uint8_t character) {
    Wex::cKeyEvent key;
    key.fCharacter = character;
    key.fKeyCode = 1;
    return fView->fTracker->TrackKey(fView->TrackingHost(), key);
  }
  Strings Names() const {
    Strings names;
    for (const Velto::LayoutEditorEntry& entry : fEditor->GetEntries()) names.push_back(entry.fName);
    return names;
  }

  Platform::ClipboardWriter fPreviousWriter;
  ref<Wex::rcGUIContainer> fTop{new Wex::rcGUIContainer({0, 0, 200, 100})};
  ref<Velto::rcLayoutEditor> fEditor = Velto::rcLayoutEditor::Create();
};

TEST_F(LayoutEditorTest, CornerSquaresResizeBarsMoveShiftMovesATenthTowardZeroAndEscapeCancels) {
  const ref<Wex::rcGUIElement> view = Make("type: rectangle, bounds: { 10, 20, 50, 30 }, edit: \"one\"");
  ASSERT_EQ(Names(), Strings{"one"});
  const Velto::LayoutEditorEntry& entry = fEditor->GetEntries().front();
  EXPECT_EQ(entry.fFrame, (Wex::cRect{10, 20, 60, 50}));
  // The bars around it: left 4..9, top 14..19, right 60..65, bottom 50..55.
  const std::tuple<Wex::cPoint, Wex::cPoint, bool, Wex::cRect> cases[] = {
      {{4, 14}, {7, 24}, false, {13, 30, 60, 50}},   // the top-left corner square
      {{65, 19}, {68, 29}, false, {10, 30, 63, 50}},  // top-right
      {{62, 52}, {65, 62}, false, {10, 20, 63, 60}},  // bottom-right
      {{9, 55}, {12, 65}, false, {13, 20, 60, 60}},   // bottom-left
      {{5, 35}, {8, 45}, false, {13, 30, 63, 60}},    // the left bar moves
      {{30, 15}, {33, 25}, false, {13, 30, 63, 60}},  // and so does the top one
      {{5, 35}, {6, 36}, true, {10, 20, 60, 50}}, {{5, 35}, {15, 45}, true, {11, 21, 61, 51}},
      {{5, 35}, {-4, 26}, true, {10, 20, 60, 50}},
  };
  for (const auto& [from, to, shift, expected] : cases) {
    SCOPED_TRACE(RectText({from.fX, from.fY, to.fX, to.fY}));
    fEditor->SetEntryRect(entry, {10, 20, 60, 50});  // through the edit target, which moves the view
    gClipboard.clear();
    ASSERT_TRUE(Press(from, Keys(shift ? "s" : "")));
    Drag(to);
    Release(to);
    EXPECT_EQ(view->GetRect(), expected);
    EXPECT_EQ(entry.fRect, expected);
    EXPECT_EQ(entry.fFrame, expected);  // the root is at the window's origin
    EXPECT_EQ(gClipboard.front(), "{ 10, 20, 50, 30 }");  // grabbing copies the rectangle first
    EXPECT_FALSE(fEditor->IsDragging());
  }
  // Escape cancels the drag through the view; other keys pass.
  ASSERT_TRUE(Press({5, 35}));
  Drag({25, 55});
  EXPECT_EQ(view->GetRect(), (Wex::cRect{30, 40, 80, 70}));
  EXPECT_FALSE(Key('a'));
  EXPECT_TRUE(fEditor->IsDragging());
  EXPECT_TRUE(Key(27));
  EXPECT_EQ(view->GetRect(), (Wex::cRect{10, 20, 60, 50}));
  EXPECT_FALSE(fView->fTracker);
  EXPECT_FALSE(fEditor->IsDragging());
  EXPECT_EQ(fEditor->GetSelectedEntry(), &fEditor->GetEntries().front());
}

TEST_F(LayoutEditorTest, ListenersMayRefuseAndTheEntryAddedLastWins) {
  const ref<rcListener> listener(new rcListener());
  fEditor->AddEditableView("refusing", fRoot, {100, 10, 150, 40}, fRoot.Get(),
                           iref<Velto::iLayoutEditListener>(listener), nullptr, {255, 0, 0});
  const Velto::LayoutEditorEntry& refusing = fEditor->GetEntries().back();
  ASSERT_TRUE(Press({95, 20}));
  Drag({105, 30});
  Release({105, 30});
  EXPECT_EQ(refusing.fRect, (Wex::cRect{100, 10, 150, 40}));
  EXPECT_EQ(refusing.fFrame, (Wex::cRect{100, 10, 150, 40}));
  listener->fCanEdit = false;
  EXPECT_FALSE(Press({95, 20}));
  EXPECT_EQ(gClipboard, (Strings{"can edit 100,10,150,40", "apply 110,20,160,50", "can edit 100,10,150,40"}));
  EXPECT_EQ(fEditor->GetSelectedEntry(), nullptr);  // a press beside every bar deselects

  Make("type: rectangle, bounds: { 10, 20, 50, 30 }, edit: one");
  Make("type: rectangle, bounds: { 12, 22, 50, 30 }, edit: two");
  ASSERT_TRUE(Press({8, 35}));  // on both left bars
  EXPECT_EQ(fEditor->GetSelectedEntry()->fName, "two");
}

TEST_F(LayoutEditorTest, FramesShowOnlyWhileTheMouseIsOverTheGUI) {
  Make("type: rectangle, bounds: { 10, 20, 50, 30 }, edit: one");
  const auto bar = [this] { return Rgb(*Draw({0, 0, 200, 100}, 0), 4, 30); };
  EXPECT_EQ(bar(), 0u);
  fView->fInvalidated.clear();
  Move({150, 90});
  EXPECT_EQ(bar(), 0xFFFF80u);
  // Entering redraws the four bars of every entry.
  EXPECT_EQ(fView->fInvalidated,
            (std::vector<Wex::cRect>{{4, 14, 10, 56}, {4, 14, 66, 20}, {60, 14, 66, 56}, {4, 50, 66, 56}}));
  ASSERT_TRUE(Press({5, 35}));
  Release({5, 35});
  EXPECT_EQ(bar(), 0xFFFFC0u);  // the selected entry is lighter
  fView->GetMovementHandler()->MouseExited(fView->Self());
  EXPECT_EQ(bar(), 0u);
}

TEST_F(LayoutEditorTest, EntriesFollowTheirElementsAndGoWithTheirViewsAndRoots) {
  Make("type: rectangle, bounds: { 1, 1, 4, 4 }, edit: a");
  const ref<Wex::rcGUIElement> nested = Make("type: velto, transitions: false, bounds: { 20, 30, 100, 40 }");
  auto& inner = dynamic_cast<Velto::rcVeltoView&>(*nested);
  Velto::MakeViewFromDescription(inner, Wex::ParseKeyValueMap("type: rectangle, bounds: { 2, 3, 10, 10 }, edit: n"),
                                 inner, false);
  ASSERT_EQ(Names(), (Strings{"a", "n"}));
  const Velto::LayoutEditorEntry& entry = fEditor->GetEntries().back();
  EXPECT_EQ(entry.fFrame, (Wex::cRect{22, 33, 32, 43}));
  nested->SetRect({40, 50, 120, 90});
  fEditor->WindowStateChanged();
  EXPECT_EQ(entry.fFrame, (Wex::cRect{42, 53, 52, 63}));
  EXPECT_EQ(entry.fRect, (Wex::cRect{2, 3, 12, 13}));
  // While it is dragged the nested view goes: the drag ends with it.
  ASSERT_TRUE(Press({37, 58}));
  fRoot->RemoveChild(nested);
  EXPECT_EQ(Names(), Strings{"a"});
  EXPECT_FALSE(fView->fTracker);
  EXPECT_EQ(fEditor->GetSelectedEntry(), nullptr);
  Make("type: rectangle, bounds: { 1, 1, 4, 4 }, edit: b");
  fRoot->RemoveAllChildren();
  EXPECT_EQ(Names(), Strings{});
  Make("type: rectangle, bounds: { 1, 1, 4, 4 }, edit: c");
  fEditor->AddEditableView("other root's", fRoot, {}, nullptr, nullptr, nullptr, {});
  fRoot->Detach();
  EXPECT_EQ(Names(), Strings{"other root's"});
  EXPECT_FALSE(fRoot->GetLayoutEditor());
  fEditor->Detach();
  EXPECT_EQ(Names(), Strings{});
}

}  // namespace
}  // namespace VeltoTest
