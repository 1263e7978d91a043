#include "gui/container.h"

#include <gtest/gtest.h>

#include "gui/bitmap_context.h"
#include "gui/simple_elements.h"
#include "gui/tests/pixels.h"
#include "gui/tests/tree_fixture.h"

namespace {

using GuiTest::Log;
using GuiTest::Rects;
using Wex::cPoint;
using Wex::cRect;

class Container : public GuiTest::TreeTest {};

TEST_F(Container, PressesGoFromTheLastChildToTheFirstUntilOneHandles) {
  auto top = RootContainer();
  auto below = Probe({0, 0, 50, 50}, "below");
  auto above = Probe({10, 10, 60, 60}, "above");
  auto hidden = Probe({0, 0, 100, 100}, "hidden");
  top->AddChild(below);
  top->AddChild(above);
  top->AddChild(hidden);
  hidden->Hide();
  TakeLog();

  EXPECT_FALSE(top->MouseDown({20, 30}, 0, false, {}));
  EXPECT_EQ(TakeLog(), (Log{"above:MouseDown 10,20", "below:MouseDown 20,30"}));
  above->fHandles = true;
  EXPECT_TRUE(top->MouseDown({20, 30}, 0, false, {}));
  EXPECT_TRUE(top->ContextClick({20, 30}, 0, {}));
  EXPECT_TRUE(top->MouseWheel({20, 30}, 0, {}, 1.5));
  EXPECT_EQ(TakeLog(), (Log{"above:MouseDown 10,20", "above:ContextClick 10,20", "above:MouseWheel 10,20"}));
  // Outside every child: nobody is asked; the container never handles the press itself.
  EXPECT_FALSE(top->MouseDown({150, 5}, 0, false, {}));
  EXPECT_FALSE(top->MouseDown({60, 30}, 0, false, {}));  // right edges are outside
  EXPECT_TRUE(TakeLog().empty());
}

TEST_F(Container, FindElementAtAsksTheTopmostChildUnderThePoint) {
  auto top = RootContainer();
  auto inner = NewContainer({10, 10, 60, 60});
  auto leaf = Probe({5, 5, 10, 10}, "leaf");
  auto over = Probe({0, 0, 20, 20}, "over");
  top->AddChild(inner);
  inner->AddChild(leaf);
  EXPECT_EQ(top->FindElementAt({16, 17}).Get(), leaf.Get());
  EXPECT_EQ(top->FindElementAt({30, 30}).Get(), inner.Get());
  EXPECT_EQ(top->FindElementAt({5, 5}).Get(), top.Get());
  top->AddChild(over);
  EXPECT_EQ(top->FindElementAt({16, 17}).Get(), over.Get());
}

TEST_F(Container, MovementEntersAndExitsChildrenInOrder) {
  auto top = RootContainer();
  auto a = Probe({0, 0, 50, 50}, "a");
  auto b = Probe({10, 10, 60, 60}, "b");
  top->AddChild(a);
  top->AddChild(b);
  TakeLog();

  top->MouseMoved({20, 20}, 0, {});
  EXPECT_EQ(TakeLog(), (Log{"a:MouseEntered", "a:MouseMoved 20,20", "b:MouseEntered", "b:MouseMoved 10,10"}));
  top->MouseMoved({55, 20}, 0, {});
  EXPECT_EQ(TakeLog(), (Log{"a:MouseExited", "b:MouseMoved 45,10"}));
  b->Hide();
  TakeLog();
  top->MouseMoved({5, 5}, 0, {});
  EXPECT_EQ(TakeLog(), (Log{"a:MouseEntered", "a:MouseMoved 5,5"}));

  // Leaving the container takes every child out with it.
  top->MouseEntered(0);
  top->MouseExited(0);
  EXPECT_FALSE(top->IsMouseInside());
  EXPECT_EQ(TakeLog(), (Log{"a:MouseExited"}));
}

TEST_F(Container, AddingAndRemovingHostsParentsAndInvalidates) {
  auto top = RootContainer();
  auto box = NewContainer({30, 40, 130, 90});
  auto leaf = Probe({5, 5, 15, 10}, "leaf");
  box->AddChild(leaf);
  EXPECT_EQ(leaf->GetParent(), box.Get());
  EXPECT_EQ(leaf->GetHost(), nullptr);
  EXPECT_TRUE(TakeInvalidated().empty());

  top->AddChild(box);
  EXPECT_EQ(box->GetHost(), fRoot.Get());
  EXPECT_EQ(leaf->GetHost(), fRoot.Get());
  EXPECT_EQ(leaf->GetWindowRect(), (cRect{35, 45, 45, 50}));
  EXPECT_EQ(TakeInvalidated(), (Rects{{30, 40, 130, 90}}));

  // Removing a container leaves its children in it, unhosted.
  top->RemoveChild(box);
  EXPECT_EQ(TakeInvalidated(), (Rects{{30, 40, 130, 90}}));
  EXPECT_EQ(box->GetParent(), nullptr);
  EXPECT_EQ(leaf->GetHost(), nullptr);
  EXPECT_EQ(leaf->GetParent(), box.Get());
  EXPECT_EQ(box->GetChildCount(), 1);
  EXPECT_EQ(TakeLog(), (Log{"leaf:Attached", "leaf:Detached"}));

  // Removing an element that is no child changes nothing.
  auto stranger = Probe({0, 0, 1, 1}, "stranger");
  top->RemoveChild(stranger);
  top->RemoveChild(leaf);
  top->RemoveChild(nullptr);
  EXPECT_EQ(leaf->GetParent(), box.Get());
  EXPECT_TRUE(TakeInvalidated().empty());
}

TEST_F(Container, RemovingAllChildrenDetachesTheirSubtrees) {
  const auto [top, box, leaf] = Nested("leaf");
  auto plain = Probe({0, 0, 5, 5}, "plain");
  top->AddChild(plain);
  plain->Hide();
  TakeInvalidated();
  TakeLog();

  top->RemoveAllChildren();
  EXPECT_EQ(top->GetChildCount(), 0);
  EXPECT_EQ(box->GetChildCount(), 0);
  EXPECT_EQ(leaf->GetParent(), nullptr);
  EXPECT_EQ(TakeLog(), (Log{"plain:Detached", "leaf:Detached"}));
  EXPECT_EQ(TakeInvalidated(), (Rects{{30, 40, 130, 90}}));
}

TEST_F(Container, DetachExitsTheMouseAndEmptiesTheTreeWithoutInvalidating) {
  const auto [top, box, leaf] = Nested("leaf");
  top->MouseEntered(0);
  top->MouseMoved({36, 46}, 0, {});
  fRoot->SetRootElement(nullptr);
  TakeInvalidated();
  TakeLog();
  top->Detach();
  EXPECT_EQ(TakeLog(), (Log{"leaf:MouseExited"}));
  EXPECT_FALSE(box->IsMouseInside());
  EXPECT_EQ(top->GetChildCount(), 0);
  EXPECT_EQ(box->GetChildCount(), 0);
  EXPECT_EQ(leaf->GetParent(), nullptr);
  EXPECT_TRUE(TakeInvalidated().empty());
}

TEST_F(Container, MovesRefreshTheWindowRectanglesOfTheWholeSubtree) {
  auto top = RootContainer();
  auto outer = NewContainer({10, 10, 110, 90});
  auto inner = NewContainer({5, 5, 50, 50});
  auto leaf = Probe({1, 2, 3, 4}, "leaf");
  inner->AddChild(leaf);
  outer->AddChild(inner);
  top->AddChild(outer);
  EXPECT_EQ(leaf->GetWindowRect(), (cRect{16, 17, 18, 19}));
  TakeInvalidated();

  outer->MoveTo({20, 30});
  EXPECT_EQ(inner->GetWindowRect(), (cRect{25, 35, 70, 80}));
  EXPECT_EQ(leaf->GetWindowRect(), (cRect{26, 37, 28, 39}));
  EXPECT_EQ(leaf->GetRect(), (cRect{1, 2, 3, 4}));
  EXPECT_EQ(TakeInvalidated(), (Rects{{10, 10, 110, 90}, {20, 30, 120, 100}}));
}

TEST_F(Container, NotificationsAndHostsReachEveryChild) {
  auto top = NewContainer({0, 0, 10, 10});
  auto a = Probe({0, 0, 1, 1}, "a");
  auto b = Probe({0, 0, 1, 1}, "b");
  top->AddChild(a);
  top->AddChild(b);
  fRoot->SetRootElement(top);
  fRoot->NotifyWindowStateChanged();
  EXPECT_EQ(TakeLog(), (Log{"a:Attached", "b:Attached", "a:WindowStateChanged", "b:WindowStateChanged"}));
}

TEST_F(Container, HandlersMayRemoveChildrenWhileBeingCalled) {
  auto top = RootContainer();
  auto a = Probe({0, 0, 50, 50}, "a");
  auto b = Probe({0, 0, 50, 50}, "b");
  top->AddChild(a);
  top->AddChild(b);

  // b removes everything from inside its handler, the container included.
  class rcSelfRemover : public GuiTest::rcProbe {
   public:
    using rcProbe::rcProbe;
    bool MouseDown(const cPoint& p, std::int32_t time, bool d, const Wex::cKeyModifiers& m) override {
      Wex::rcGUIRoot* host = GetHost();
      GetParent()->RemoveAllChildren();
      host->SetRootElement(nullptr);
      return rcProbe::MouseDown(p, time, d, m);
    }
  };
  ref<rcSelfRemover> remover(new rcSelfRemover({0, 0, 50, 50}, "remover", fLog));
  top->AddChild(remover);
  TakeLog();
  EXPECT_FALSE(top->MouseDown({1, 1}, 0, false, {}));
  EXPECT_EQ(top->GetChildCount(), 0);
  Log log = TakeLog();
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.back(), "remover:MouseDown 1,1");
}

TEST_F(Container, ChildrenOutliveTheirContainerWithoutAParent) {
  auto leaf = Probe({0, 0, 5, 5}, "leaf");
  {
    auto box = NewContainer({0, 0, 10, 10});
    box->AddChild(leaf);
    EXPECT_EQ(leaf->GetParent(), box.Get());
  }
  EXPECT_EQ(leaf->GetParent(), nullptr);
  EXPECT_EQ(leaf->GetReferenceCount(), 1);
}

TEST_F(Container, ChildStorageMovesBetweenInlineAndHeap) {
  auto box = NewContainer({0, 0, 10, 10});
  std::vector<ref<GuiTest::rcProbe>> children;
  for (int i = 0; i < 40; ++i) {
    children.push_back(Probe({i, 0, i + 1, 1}, "c"));
    box->AddChild(children.back());
    const auto& list = box->GetChildren();
    if (i == 15) {
      EXPECT_TRUE(list.IsInline());
    } else if (i == 16) {
      EXPECT_FALSE(list.IsInline());
      EXPECT_EQ(list.GetCapacity(), 32);
    }
  }
  EXPECT_EQ(box->GetChildren().GetCapacity(), 64);
  // The order survives every move.
  for (int i = 0; i < 40; ++i) ASSERT_EQ(box->GetChild(i).Get(), children[i].Get());

  for (int i = 0; i < 25; ++i) box->RemoveChild(children[i]);
  EXPECT_EQ(box->GetChildCount(), 15);
  EXPECT_TRUE(box->GetChildren().IsInline());
  EXPECT_EQ(box->GetChildren().GetCapacity(), 16);
  EXPECT_EQ(box->GetChild(0).Get(), children[25].Get());
  EXPECT_EQ(box->GetChild(14).Get(), children[39].Get());
  EXPECT_EQ(children[0]->GetReferenceCount(), 1);
}

TEST_F(Container, AddingAnEntryOfItsOwnListAgainSurvivesTheMoveToTheHeap) {
  auto box = NewContainer({0, 0, 10, 10});
  for (int i = 0; i < 16; ++i) box->AddChild(Probe({i, 0, i + 1, 1}, "c"));
  const ref<Wex::rcGUIElement> first = box->GetChild(0);
  // The argument lives in the inline storage that the 17th child moves away.
  box->AddChild(box->GetChildren()[0]);
  EXPECT_EQ(box->GetChildCount(), 17);
  EXPECT_EQ(box->GetChild(16).Get(), first.Get());
  EXPECT_EQ(first->GetParent(), box.Get());
}

TEST_F(Container, ShrinkingHalvesTheHeapUntilHalfFull) {
  Wex::cChildList list;
  auto e = Probe({0, 0, 1, 1}, "e");
  for (int i = 0; i < 65; ++i) list.Append(e);
  EXPECT_EQ(list.GetCapacity(), 128);
  while (list.GetCount() > 32) list.RemoveAt(0);
  EXPECT_EQ(list.GetCapacity(), 64);
  list.RemoveAt(31);
  EXPECT_EQ(list.GetCapacity(), 32);
  while (list.GetCount() > 16) list.RemoveAt(0);
  EXPECT_FALSE(list.IsInline());
  list.RemoveAt(15);
  EXPECT_TRUE(list.IsInline());
  EXPECT_EQ(list.GetCapacity(), 16);
  while (list.GetCount() > 0) list.RemoveAt(list.GetCount() - 1);
  EXPECT_EQ(e->GetReferenceCount(), 1);
}

TEST_F(Container, DrawingTranslatesAndClipsEachChild) {
  auto top = NewContainer({0, 0, 40, 40});
  auto left = ref<Wex::rcSolidColorElement>(new Wex::rcSolidColorElement({2, 2, 12, 12}, 255, 0, 0));
  auto nested = NewContainer({20, 10, 40, 30});
  auto inner = ref<Wex::rcSolidColorElement>(new Wex::rcSolidColorElement({5, 5, 30, 30}, 0, 0, 255));
  auto probe = Probe({0, 0, 40, 40}, "probe");
  auto corner = Probe({1, 1, 5, 5}, "corner");
  nested->AddChild(inner);
  top->AddChild(left);
  top->AddChild(nested);
  top->AddChild(probe);
  top->AddChild(corner);

  ref<Wex::rcOffscreenContext32> bitmap(new Wex::rcOffscreenContext32(40, 40, false));
  top->Draw(*bitmap, {0, 0, 30, 40});
  EXPECT_EQ(GuiTest::CountOther(*bitmap, {2, 2, 12, 12}, 0xFFFF0000u), 0);
  // The inner child is cut by its container's rectangle and by the update rectangle.
  EXPECT_EQ(GuiTest::CountOther(*bitmap, {25, 15, 30, 30}, 0xFF0000FFu), 0);
  EXPECT_EQ(GuiTest::CountOther(*bitmap, {0, 0, 40, 40}, 0), 100 + 75);
  EXPECT_EQ(TakeLog(), (Log{"probe:Draw 0,0,30,40", "corner:Draw 0,0,4,4"}));
  // The context is back in the container's coordinates.
  EXPECT_EQ(bitmap->GetOffset(), (cPoint{0, 0}));
  EXPECT_EQ(bitmap->GetClipBounds(), (cRect{0, 0, 40, 40}));

  // Children outside the update rectangle or the clip are skipped.
  {
    Wex::cClipScope clip(*bitmap, {0, 0, 15, 40});
    top->Draw(*bitmap, {0, 0, 40, 40});
  }
  top->Draw(*bitmap, {31, 31, 40, 40});
  EXPECT_EQ(TakeLog(), (Log{"probe:Draw 0,0,40,40", "corner:Draw 0,0,4,4", "probe:Draw 31,31,40,40"}));
}

}  // namespace
