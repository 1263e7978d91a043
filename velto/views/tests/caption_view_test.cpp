#include "velto/views/caption_view.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/clock.h"
#include "base/encoding.h"
#include "velto/testing/fixed_font.h"
#include "velto/views/tests/view_fixture.h"

namespace VeltoTest {
namespace {

// The units as bytes, an ellipsis character as '~'.
std::string Narrow(const Velto::rcViewText* text) {
  std::string bytes;
  for (std::int64_t i = 0; text != nullptr && i < text->GetSize(); ++i) {
    bytes += (*text)[i] == u'\u2026' ? '~' : static_cast<char>((*text)[i]);
  }
  return bytes;
}

// A font 10 pixels wide per character, text starting at the origin, that logs what it measures.
class rcMeasuredFont : public rcFixedFont {
 public:
  explicit rcMeasuredFont(std::vector<std::string>& log) : rcFixedFont(10, 12, 9), fMeasured(&log) {}
  Wex::cRect Measure(Wex::rcGraphicsContext& context, const Wex::cPoint& p, const Wex::rcVector<UniChar>& text,
                     bool includeAdvance) override {
    fMeasured->push_back(Narrow(&text));
    return rcFixedFont::Measure(context, p, text, includeAdvance);
  }

 private:
  std::vector<std::string>* fMeasured;
};

class CaptionViewTest : public ViewTest {
 protected:
  CaptionViewTest() {
    fView->fWindow = ref<Wex::rcExtWindow>(new GuiTest::rcMeasuringWindow({100, 200, 400, 300}));
    fController.fFonts["ten"] = iref<Velto::iFont>(fFont);
  }
  Velto::rcCaptionView& MakeCaption(const std::string& keys) {
    return Remake<Velto::rcCaptionView>("type: caption, font: ten, " + keys);
  }

  std::vector<std::string> fMeasured;
  ref<rcMeasuredFont> fFont{new rcMeasuredFont(fMeasured)};
};

TEST_F(CaptionViewTest, EllipsesShortenTheTextPassByPassUntilItFits) {
  const struct {
    const char* keys;
    std::vector<std::string> tried;  // display texts measured by one recompute
  } cases[] = {
      {"bounds: { 0, 0, 45, 20 }, text: Hello, ellipsis: right", {"Hello", "Hell...", "Hel...", "He...", "H..."}},
      {"bounds: { 0, 0, 45, 20 }, text: Hello, ellipsis: left", {"Hello", "...ello", "...llo", "...lo", "...o"}},
      {"bounds: { 0, 0, 65, 20 }, text: abcdefg, ellipsis: middle", {"abcdefg", "abc...efg", "ab...fg", "a...g"}},
      {"bounds: { 0, 0, 55, 20 }, text: abcdef, ellipsis: middle", {"abcdef", "ab...ef", "a...f"}},
      {"bounds: { 0, 0, 25, 20 }, text: abcdef, ellipsis: both", {"abcdef", "...bcde...", "...cd...", "..."}},
      {"bounds: { 0, 0, 45, 20 }, text: Hello, ellipsis: { right, \"\\u2026\", x }", {"Hello", "Hell~", "Hel~"}},
      {"bounds: { 0, 0, 45, 20 }, text: Hello, ellipsis: { , \"~\" }", {"Hello", "Hell~", "Hel~"}},
      {"bounds: { 0, 0, 50, 20 }, text: Hello, ellipsis: right", {"Hello"}},
      // The offset counts, so does the left edge (a text that never fits ends at the ellipsis);
      // only the width is tested.
      {"bounds: { 0, 0, 50, 20 }, text: Hello, ellipsis: right, offset: { 1, 90 }",
       {"Hello", "Hell...", "Hel...", "He...", "H..."}},
      {"bounds: { 0, 0, 50, 20 }, text: Hello, ellipsis: left, offset: { -1, 0 }",
       {"Hello", "...ello", "...llo", "...lo", "...o", "..."}},
      // Without an ellipsis the text runs past the edge; alignment counts.
      {"bounds: { 0, 0, 45, 20 }, text: Hello", {}},
      {"bounds: { 0, 0, 45, 20 }, text: Hello, ellipsis: right, align: center",
       {"Hello", "Hell...", "Hel...", "He...", "H..."}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.keys);
    Velto::rcCaptionView& caption = MakeCaption(c.keys);
    fMeasured.clear();
    caption.UpdateDisplayText();
    // Each pass measures through the text bounds, once for a left alignment and twice else.
    Log tried = fMeasured;
    tried.erase(std::unique(tried.begin(), tried.end()), tried.end());
    EXPECT_EQ(tried, c.tried);
    EXPECT_EQ(Narrow(caption.GetDisplayText().Get()), c.tried.empty() ? "Hello" : c.tried.back());
  }
  // A long text finds the first pass that fits with a few measures rather than one per character.
  const std::string text = "ab" + std::string(5000, 'x') + "cd";
  const struct {
    const char* side;
    const char* display;
  } longCases[] = {
      {"right", "abxxxxx..."}, {"left", "...xxxxxcd"}, {"both", "...xxxx..."}, {"middle", "abx...xcd"}};
  for (const auto& c : longCases) {
    SCOPED_TRACE(c.side);
    Velto::rcCaptionView& caption =
        MakeCaption("bounds: { 0, 0, 105, 20 }, text: " + text + ", ellipsis: " + c.side);
    fMeasured.clear();
    caption.UpdateDisplayText();
    EXPECT_EQ(Narrow(caption.GetDisplayText().Get()), c.display);
    EXPECT_LT(fMeasured.size(), 100u);
  }
  // Outside a window nothing is measured and the whole text stays, until a recompute in one.
  const ref<Wex::rcExtWindow> window = std::exchange(fView->fWindow, nullptr);
  Velto::rcCaptionView& caption = MakeCaption("bounds: { 0, 0, 45, 20 }, text: Hello, ellipsis: right");
  EXPECT_EQ(Narrow(caption.GetDisplayText().Get()), "Hello");
  Wex::cRect bounds;
  EXPECT_FALSE(caption.GetTextBounds(bounds));
  fView->fWindow = window;
  EXPECT_EQ(Narrow(caption.GetDisplayText().Get()), "Hello");
  caption.SetSize({0, 0, 45, 20});
  EXPECT_EQ(Narrow(caption.GetDisplayText().Get()), "H...");
  ASSERT_TRUE(caption.GetTextBounds(bounds));
  EXPECT_EQ(RectText(bounds), "0,11,40,23");
}

TEST_F(CaptionViewTest, DescriptionsAreReadInOrderAndRefusedOnesLeaveNothing) {
  const struct {
    const char* keys;
    const char* error;
    Calls calls;
  } cases[] = {
      {"align: Center, ellipsis: top", "Invalid text alignment: \"Center\"", {}},
      {"ellipsis: top", "Invalid ellipsis side: \"top\"", {At("GetFont", {"ten"})}},
      {"offset: { x, 0 }, align: Center", "Undefined symbol: \"x\"", {}},
      {"text: \"[var]a[/b]\", autoRefresh: 10", "", {}},
      {"text: \"a[/var]\"", "Unexpected meta tag: [/var]", {}},
      {"text: \"[var]v[/var]\", autoRefresh: 10, align: left, ellipsis: top", "Invalid ellipsis side: \"top\"",
       {At("GetFont", {"ten"})}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.keys);
    EXPECT_EQ(ErrorOf([&] { MakeCaption(c.keys); }), c.error);
    EXPECT_EQ(fRoot->GetChildCount(), *c.error == 0 ? 1 : 0);
    Calls calls = TakeCalls();
    std::erase_if(calls, [](const Call& call) { return call.fOperation == "CreateView"; });
    if (*c.error != 0) {
      EXPECT_EQ(calls, c.calls);
    }
  }
  // A refused live caption leaves no refresh timer behind: only the made one refreshes.
  fHost->SetRootElement(nullptr);
  fHost->SetRootElement(fRoot);
  EXPECT_EQ(NextDue(), kNoTask);

  // The setters: equal values change nothing and tell nothing; SetText never tells.
  Velto::rcCaptionView& caption = MakeCaption("bounds: { 0, 0, 100, 20 }, text: Hi");
  Listen(caption, "c");
  fView->fInvalidated.clear();
  caption.SetText(Wex::WideToUTF16(L"Hi"));
  caption.SetFont(iref<Velto::iFont>(fFont));
  caption.SetAlignment(0);
  caption.SetOffset({0, 0});
  caption.SetEllipsis(0, Wex::WideToUTF16(L"..."));
  EXPECT_EQ(TakeLog(), Log{"c 0"});
  EXPECT_TRUE(fView->fInvalidated.empty());
  caption.SetText(Wex::WideToUTF16(L"Hey"));
  caption.SetAlignment(2);
  caption.SetOffset({0, -1});
  caption.SetEllipsis(0, Wex::WideToUTF16(L"~"));
  caption.SetSize({0, 0, 100, 20});
  caption.SetSize({0, 0, 90, 20});
  EXPECT_EQ(TakeLog(), (Log{"c 2", "c 2", "c 2", "c 1"}));
  // Old and new text rectangles (window coordinates of the root at the view's origin).
  ASSERT_GE(fView->fInvalidated.size(), 4u);
  EXPECT_EQ(RectText(fView->fInvalidated[0]), "0,11,20,20");
  EXPECT_EQ(RectText(fView->fInvalidated[1]), "0,11,30,20");
  EXPECT_EQ(RectText(fView->fInvalidated[3]), "70,11,100,20");
}

TEST_F(CaptionViewTest, DrawsTheDisplayTextAlignedOnTheBottomEdge) {
  // A caption made from a description is not in a window while it is configured, so it keeps
  // its whole text until the next recompute (here a SetSize).
  const struct {
    const char* keys;
    const char* drawn;
    const char* drawnAfterLayout = nullptr;  // when it differs
  } cases[] = {
      {"bounds: { 0, 0, 100, 20 }, text: Hi, offset: { 3, -2 }", "Hi@3,18"},
      {"bounds: { 0, 0, 100, 20 }, text: Hi, offset: { 3, -2 }, align: center", "Hi@43,18"},
      {"bounds: { 0, 0, 45, 20 }, text: Hi, align: center", "Hi@12,20"},
      {"bounds: { 0, 0, 100, 20 }, text: Hi, offset: { 3, -2 }, align: right", "Hi@83,18"},
      {"bounds: { 0, 0, 15, 20 }, text: Hi, align: right", "Hi@-5,20"},
      {"bounds: { 0, 0, 45, 20 }, text: Hello, ellipsis: right, align: right", "Hello@-5,20", "H...@5,20"},
      {"bounds: { 0, 0, 45, 20 }, text: \"[uppercase]a[/uppercase]b\"", "Ab@0,20"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.keys);
    Velto::rcCaptionView& caption = MakeCaption(c.keys);
    fFont->fDrawn.clear();
    Draw({0, 0, 200, 100}, 0xFF000000);
    caption.SetSize(caption.GetBounds());
    Draw({0, 0, 200, 100}, 0xFF000000);
    EXPECT_EQ(fFont->fDrawn, (Log{c.drawn, c.drawnAfterLayout != nullptr ? c.drawnAfterLayout : c.drawn}));
  }
  // Without a font nothing is drawn or measured.
  fRoot->RemoveAllChildren();
  const ref<Velto::rcCaptionView> bare(new Velto::rcCaptionView({0, 0, 10, 10}));
  fRoot->AddChild(bare);
  bare->SetText(Wex::WideToUTF16(L"x"));
  Wex::cRect bounds;
  EXPECT_FALSE(bare->GetTextBounds(bounds));
  EXPECT_EQ(GuiTest::CountOther(*Draw({0, 0, 200, 100}, 0xFF000000), {0, 0, 200, 100}, 0xFF000000), 0);
}

TEST_F(CaptionViewTest, LiveCaptionsRefreshTheirTextAndFontChangesRedraw) {
  fController.fVariables["v"] = "1";
  Velto::rcCaptionView& caption = MakeCaption("bounds: { 0, 0, 100, 20 }, text: \"v=[var]v[/var]\", autoRefresh: 10");
  ASSERT_NE(dynamic_cast<Velto::rcLiveCaptionView*>(&caption), nullptr);
  EXPECT_EQ(Narrow(caption.GetText().Get()), "");
  fRoot->WindowStateChanged();
  EXPECT_EQ(Narrow(caption.GetText().Get()), "v=1");
  // The timer starts with the next attach and comes every 100 ms.
  fHost->SetRootElement(nullptr);
  fHost->SetRootElement(fRoot);
  std::int32_t now = Wex::ToElementTime(Wex::GetMilliseconds());
  const std::int32_t delta = NextDue(now);
  EXPECT_TRUE(delta >= 90 && delta <= 100) << delta;
  fController.fVariables["v"] = "\xe9";
  now = Wex::WrapAdd(now, delta);
  fView->fInvalidated.clear();
  fView->fScheduler->RunDueTasks(now);
  EXPECT_EQ(caption.GetText()->GetSize(), 3);
  EXPECT_EQ((*caption.GetText())[2], u'\u00e9');  // read as ISO Latin-1
  EXPECT_EQ(fView->fInvalidated.size(), 2u);      // the old and the new text
  EXPECT_EQ(NextDue(now), 100);
  // Expansion errors leave the refresh that the tree sends; a timer's refresh drops them.
  fController.ThrowOn("GetVariable", std::runtime_error("gone"));
  EXPECT_EQ(ErrorOf([&] { fRoot->WindowStateChanged(); }), "gone");
  fView->fScheduler->RunDueTasks(Wex::WrapAdd(now, 100));

  // A font whose change count moved on redraws the whole view at the next refresh, once.
  Velto::rcCaptionView& fixed = MakeCaption("bounds: { 5, 6, 100, 20 }, text: Hi");
  fView->fInvalidated.clear();
  fixed.WindowStateChanged();
  ++fFont->fChangeCount;
  fixed.WindowStateChanged();
  fixed.WindowStateChanged();
  EXPECT_EQ(TakeInvalidated(), Log{"5,6,105,26"});

  // Detach drops the font and leaves the host, the parent and the listeners.
  const ref<Velto::rcCaptionView> kept(&fixed);
  Listen(fixed, "f");
  fRoot->RemoveAllChildren();
  EXPECT_EQ(kept->GetHost(), nullptr);
  EXPECT_EQ(kept->GetParent(), nullptr);
  EXPECT_FALSE(kept->GetFont());
  EXPECT_EQ(kept->GetListeners().GetSize(), 0);
  Wex::cRect bounds;
  EXPECT_FALSE(kept->GetTextBounds(bounds));
}

}  // namespace
}  // namespace VeltoTest
