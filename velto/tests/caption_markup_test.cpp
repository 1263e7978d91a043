// The layout of bubble pages and the bubble's geometry, on a bubble record without a view: fonts
// are fixed at 10 pixels per character, 12 high with an ascent of 9.
#include "velto/caption_markup.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/encoding.h"
#include "gui/bitmap_context.h"
#include "velto/bubble_state.h"
#include "velto/testing/fixed_font.h"
#include "velto/tests/root_fixture.h"

namespace VeltoTest {
namespace {

using Strings = std::vector<std::string>;

class MarkupTest : public RootTest {
 protected:
  MarkupTest() {
    fController.fFonts["ten"] = iref<Velto::iFont>(new rcFixedFont(10, 12, 9));
    fStyles = ref<Velto::rcTextStyleSet>(new Velto::rcTextStyleSet(
        Wex::ParseKeyValueMap("{ default: { font: ten }, b: { font: ten }, i: { font: ten },"
                              "  c: { font: ten, align: center }, r: { font: ten, align: right },"
                              "  s: { font: ten, lineSpacing: 5 }, t: { font: ten, typingRate: 0.1 },"
                              "  f: { font: ten, frame: { color: red, stroke: 2, padding: 1, margin: 3 } } }"),
        *fRoot));
  }

  // A bubble of the bounds whose one page is the text, without frame, margins or paddings.
  Velto::cBubbleState Bubble(const std::string& page, const Wex::cRect& bounds = {0, 0, 100, 40}) {
    Velto::cBubbleState bubble;
    bubble.fBaseBounds = bounds;
    bubble.fHeight = bounds.Height();
    bubble.fMaxHeight = 1000;
    bubble.fRoot = fRoot.Get();
    bubble.fDefaultStyle = fStyles->Find("default");
    bubble.fStyleSet = fStyles;
    bubble.fPages = {page};
    bubble.fCurrentPage = 0;
    return bubble;
  }
  // The message of the layout's error, empty when there is none.
  std::string Layout(Velto::cBubbleState& bubble) {
    return ErrorOf([&] { Velto::ParseCaptionMarkup(bubble, *fContext); });
  }
  // Each word as "text@x,y" (its text position).
  static Strings Words(const Velto::cBubbleState& bubble) {
    Strings words;
    for (const Velto::CaptionToken& t : bubble.fTokens) {
      if (!t.fStyle) continue;
      words.push_back(Wex::WideToUTF8(t.fText) + "@" + std::to_string(t.fTextPosition.fX) + "," +
                      std::to_string(t.fTextPosition.fY));
    }
    return words;
  }

  ref<Velto::rcTextStyleSet> fStyles;
  ref<Wex::rcOffscreenContext32> fContext{new Wex::rcOffscreenContext32(1, 1, false)};
};

TEST_F(MarkupTest, MalformedTagsFailWithTheirMessagesAndKeepTheTokensMadeBefore) {
  const std::pair<std::string, std::string> cases[] = {
      {"</b>", "Unbalanced style tags: default and /b"}, {"<b>x</i>", "Unbalanced style tags: b and /i"},
      {"<click action=a>x</click></click>", "Unbalanced click tag"}, {"<do>", "Missing action in click or do tag"},
      {"<pause>", "Missing delay in pause tag"}, {"<move time=1>", "Missing bounds in move tag"},
      {"<br/>", "Unrecognized style tag: br/"}, {"<pause delay=2*>", "Unexpected end of string"},
  };
  for (const auto& [page, message] : cases) {
    Velto::cBubbleState bubble = Bubble(page);
    EXPECT_EQ(Layout(bubble), message) << page;
  }
  Velto::cBubbleState bubble = Bubble("a b </b> c");
  EXPECT_EQ(Layout(bubble), "Unbalanced style tags: default and /b");
  EXPECT_EQ(Words(bubble), (Strings{"a@0,0", "b@20,0"}));  // their line never ended
  bubble.fStyleSet = nullptr;
  bubble.fPages = {"<b>"};
  EXPECT_EQ(Layout(bubble), "Unrecognized style tag: b");
  bubble.fDefaultStyle = nullptr;
  EXPECT_EQ(Layout(bubble), "Missing (default) style specification for bubble view");
}

TEST_F(MarkupTest, TokensCarryTheirTextDelaysAndActions) {
  // Each token as "text|delay|reveal action:params|click action:params".
  const std::pair<std::string, Strings> cases[] = {
      {"", {"|0||"}},
      {"&#65;&#0x41;&lt;&amp;&foo; &quot;&gt;&#x41;", {"AA<&&foo;|0||", std::string("\">\0|0||", 7)}},
      {"&x y;z w", {"&x y;z|0||", "w|0||"}},  // an unknown entity runs to its ';' as it stands
      {"<pause delay=0.5>", {"|500||"}}, {"<pause delay=1e300>", {"|2147483647||"}},
      {"a <pause delay=1 delay=2> b<pause delay=0.25><pause delay=0.5>", {"a|1000||", "b|500||"}},
      {"<t>abc</t> d", {"abc|300||", "d|0||"}},
      {"<click action=go params='{p, 1}' auto=true>x y</click> z <do action=d params=q action=e>",
       {"|0|go:{p, 1}|", "x|0||go:{p, 1}", "y|0||go:{p, 1}", "z|0||", "|0|e:q|"}},
      {"[uppercase]q[/uppercase]", {"Q|0||"}},
  };
  for (const auto& [page, expected] : cases) {
    SCOPED_TRACE(page);
    Velto::cBubbleState bubble = Bubble(page);
    EXPECT_EQ(Layout(bubble), "");
    Strings tokens;
    for (const Velto::CaptionToken& t : bubble.fTokens) {
      tokens.push_back(Wex::WideToUTF8(t.fText) + "|" + std::to_string(t.fDelay) + "|" +
                       (t.fRevealAction.empty() ? "" : t.fRevealAction + ":" + t.fRevealParams) + "|" +
                       (t.fClickAction.empty() ? "" : t.fClickAction + ":" + t.fClickParams));
    }
    EXPECT_EQ(tokens, expected);
  }
}

TEST_F(MarkupTest, WordsWrapBreakAfterHyphensAndAreCutWhenLongerThanALine) {
  const std::tuple<std::int32_t, std::string, Strings> cases[] = {
      {50, "abcdefghijkl", {"abcde@0,9", "fghij@0,21", "kl@0,33"}},
      {50, "ab-cdefgh", {"ab-@0,9", "cdefg@0,21", "h@0,33"}}, {80, "x ab-cdefgh", {"x@0,9", "ab-@20,9", "cdefgh@0,21"}},
      {100, "x abc-defgh-", {"x@0,9", "abc-defgh-@0,21"}},  // after a final hyphen: no break
      {40, "ab&nbhp;cd", {"ab-c@0,9", "d@0,21"}}, {100, "ef&nbsp;gh ij", {"ef gh@0,9", "ij@60,9"}},
      {100, "a <b> c", {"a@0,9", "c@30,9"}},  // a space on each side of the tag
      {5, "abc", {"a@0,9", "b@0,21", "c@0,33"}},
      {100, "x <c>ab</c> <r>cd</r>", {"x@0,9", "ab@40,9", "cd@80,9"}},
      {100, "<s>a</s><br>b", {"a@0,9", "b@0,26"}}, {100, "<f>ab</f> c", {"ab@3,15", "c@39,15"}},
  };
  for (const auto& [width, page, expected] : cases) {
    Velto::cBubbleState bubble = Bubble(page, {0, 0, width, 40});
    EXPECT_EQ(Layout(bubble), "");
    EXPECT_EQ(Words(bubble), expected) << page;
  }
  // A word of more than 64 characters is cut without being measured whole.
  Velto::cBubbleState bubble = Bubble(std::string(150, 'x'));
  Layout(bubble);
  EXPECT_EQ(bubble.fTokens.size(), 15u);
  EXPECT_EQ(bubble.fTokens[14].fText, std::wstring(10, L'x'));
}

TEST_F(MarkupTest, MoveTagsLayThePageOutOnceForEachNewRectangleAndAlwaysEnd) {
  fController.fVariables = {{"x", "p"}};
  std::string twenty;
  for (int i = 1; i <= 20; ++i) twenty += "<move bounds='{0, 0, " + std::to_string(i) + ", 9}'>";
  const std::tuple<std::string, int, std::int32_t, double> cases[] = {
      // page, layout passes (one expansion of the macro each), target width, move time
      {"[var]x[/var] a <move bounds='{0, 0, 50, 20}' time=2 curve=0.7> b", 2, 50, 2.0},
      {"[var]x[/var]<move bounds='{0,0,50,20}'><move bounds='{0,0,60,30}' time=3>", 3, 60, 3.0},
      {"[var]x[/var]<move bounds='{0,0,100,40}' time=4>", 1, 100, 4.0},
      {"[var]x[/var]" + twenty, 17, 16, 0.0},
  };
  for (const auto& [page, passes, width, time] : cases) {
    SCOPED_TRACE(page);
    Velto::cBubbleState bubble = Bubble(page);
    EXPECT_EQ(Layout(bubble), "");
    int expansions = 0;
    for (const Call& call : TakeCalls()) expansions += call.fOperation == "GetVariable";
    EXPECT_EQ(expansions, passes);
    EXPECT_EQ(bubble.fTargetRect.Width(), width);
    EXPECT_EQ(bubble.fMoveTime, time);
  }
}

TEST_F(MarkupTest, TheOutlineItsRectanglesAndTheHeightThatTheTextNeeds) {
  Velto::cBubbleState bubble;
  const auto vertices = [&bubble] { return bubble.GetOutlinePath({0, 0, 10, 20}).GetVertices(); };
  using V = QorRaster::Path::Vertex;
  const std::vector<V> plain = {{0, 0, 0}, {1, 10, 0}, {1, 10, 0}, {1, 10, 20}, {1, 10, 20},
                                {1, 0, 20}, {1, 0, 20}, {1, 0, 0}, {2, 0, 0}};
  EXPECT_EQ(vertices(), plain);
  bubble.fTailSize = {3, 5};
  bubble.fTailPosition = 6;
  std::vector<V> tailed = plain;
  tailed.insert(tailed.begin() + 5, {{1, 9, 20}, {1, 6, 25}, {1, 3, 20}});
  EXPECT_EQ(vertices(), tailed);
  // Quarter arcs join the straight edges, whose ends come in order.
  bubble.fCorners = {4, 2};
  bubble.fTailSize = {0, 5};  // no base: no tail
  const std::vector<QorRaster::Point> ends = {{4, 0}, {6, 0}, {10, 2}, {10, 18}, {6, 20}, {4, 20}, {0, 18}, {0, 2}};
  std::size_t next = 0;
  for (const V& v : vertices()) {
    EXPECT_TRUE(v.x >= -1e-9 && v.x <= 10 + 1e-9 && v.y >= -1e-9 && v.y <= 20 + 1e-9);
    if (next < ends.size() && std::abs(v.x - ends[next].x) < 1e-9 && std::abs(v.y - ends[next].y) < 1e-9) ++next;
  }
  EXPECT_EQ(next, ends.size());
  EXPECT_GT(vertices().size(), plain.size() + 8);

  EXPECT_EQ(bubble.GetTextRect(100, 50), (Wex::cRect{0, 0, 100, 45}));
  bubble.fMargins = {4, 4, -4, -4};
  bubble.fPaddings = {1, 2, -3, -4};
  bubble.fTailSize = {3, 5.5};
  bubble.fFrame.fWidth = 3;  // no colour: it takes no room
  EXPECT_EQ(bubble.GetOutlineRect(100, 50), (Wex::cRect{4, 4, 96, 40}));
  bubble.fFrame.fColor = 0xFF000000;
  EXPECT_EQ(bubble.GetOutlineRect(100, 50), (Wex::cRect{6, 6, 94, 38}));
  EXPECT_EQ(bubble.GetInnerRect(100, 50), (Wex::cRect{8, 8, 92, 36}));
  EXPECT_EQ(bubble.GetTextRect(100, 50), (Wex::cRect{9, 10, 89, 32}));
  EXPECT_TRUE(bubble.ContainsPoint({6, 6}, 100, 50));
  EXPECT_FALSE(bubble.ContainsPoint({5, 6}, 100, 50) || bubble.ContainsPoint({93, 38}, 100, 50));
  // Text reaching 30 down, frame 3, tail room 6, margin and padding at the bottom 4 and 4: 47.
  bubble.fTextBounds = {9, 10, 50, 30};
  const std::tuple<std::int32_t, std::int32_t, std::optional<std::int32_t>, Wex::cRect> cases[] = {
      {40, 40, std::nullopt, {0, 10, 100, 200}},  // minimum = maximum = the height: kept
      {20, 100, std::nullopt, {0, 10, 100, 57}}, {50, 100, std::nullopt, {0, 10, 100, 60}},
      {50, 30, std::nullopt, {0, 10, 100, 40}},  // crossed limits: the maximum wins
      {20, 100, 50, {0, 3, 100, 50}},            // moved up out of the parent's bottom
      {20, 100, 40, {0, 0, 100, 47}},            // but never above the top
  };
  bubble.fHeight = 40;
  for (const auto& [minimum, maximum, parent, expected] : cases) {
    bubble.fMinHeight = minimum;
    bubble.fMaxHeight = maximum;
    bubble.fParentHeight = parent;
    EXPECT_EQ(bubble.FitHeight({0, 10, 100, 200}), expected) << minimum << " " << maximum;
  }
}

TEST_F(MarkupTest, ClickableWordsAreHitWithinHalfTheirFrameAndPagesMustExist) {
  Velto::cBubbleState bubble = Bubble("<f><click action=a>ab</click></f> <click action=b>c</click> d");
  Layout(bubble);  // boxes 0, 0, 26, 24 (frame 2), then 39, 6, 49, 18 (no frame) and 59, 6, 69, 18
  bubble.fRevealed = 4;
  const std::pair<Wex::cPoint, const char*> cases[] = {
      {{-1, -1}, "a"}, {{26, 24}, "a"}, {{-2, 5}, ""}, {{27, 5}, ""}, {{39, 17}, "b"}, {{49, 10}, ""}, {{55, 10}, ""},
  };
  for (const auto& [p, action] : cases) {
    const Velto::CaptionToken* hit = bubble.FindClickableToken(p);
    EXPECT_EQ(hit != nullptr ? hit->fClickAction : "", action) << p.fX << "," << p.fY;
  }
  bubble.fRevealed = 1;  // only revealed words are hit
  EXPECT_EQ(bubble.FindClickableToken({40, 10}), nullptr);
  bubble.fRoot = nullptr;
  EXPECT_EQ(bubble.FindClickableToken({5, 5}), nullptr);

  bubble.fPages = {"a", "b", "c"};
  bubble.fTypingDelayOverride = 7;
  for (const std::int32_t index : {3, -1}) {
    EXPECT_EQ(ErrorOf([&] { bubble.SetPage(index); }), "Invalid page number: " + std::to_string(index));
  }
  EXPECT_EQ(bubble.SetPage(2), (Wex::cRect{0, 0, 69, 24}));  // the text shown until now
  EXPECT_EQ(bubble.fCurrentPage, 2);
  EXPECT_EQ(bubble.fTypingDelayOverride, -1);
  EXPECT_TRUE(bubble.fTokens.empty());
}

}  // namespace
}  // namespace VeltoTest
