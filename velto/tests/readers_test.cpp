#include "velto/readers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <numbers>
#include <string>
#include <vector>

#include "base/exceptions.h"
#include "platform/clipboard.h"
#include "velto/root_view.h"
#include "velto/testing/recording_controller.h"
#include "velto/text_style.h"
#include "velto/transition.h"

namespace {

using VeltoTest::Call;
using VeltoTest::Calls;

// The mask, or the message of the FormatException that the reader threw.
std::string Mask(const std::string& text) {
  try {
    return std::to_string(Velto::ReadClickMask(text));
  } catch (const FormatException& e) {
    return e.what();
  }
}

TEST(ClickMask, NamesJoinedByPlus) {
  const std::pair<std::string, std::string> cases[] = {
      {"click+shift", "3"},
      {"mac", "8192"},
      {"", "0"},
      {"click+", "1"},
      {"\"windows\"+'up'+down", "7168"},
      {"context+control+alt+command+left+right+press+release", "1020"},
      {"+click", "Invalid click mask constant: \"\""},
      {"click++shift", "Invalid click mask constant: \"\""},
      {"click + shift", "Invalid click mask constant: \"click \""},
      {"Click", "Invalid click mask constant: \"Click\""},
      {"click+\t", "Invalid click mask constant: \"\\t\""},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(Mask(text), expected) << text;
}

std::string Text(const std::unique_ptr<Velto::cTransitionSpec>& spec) {
  if (!spec) return "none";
  char text[200];
  std::snprintf(text, sizeof text, "%lld %g o%g s%g (%g,%g) r%g c%g,%g,%g,%g%s",
                static_cast<long long>(spec->fUpdateInterval), spec->fPhaseStep, spec->fOpacity, spec->fScale,
                spec->fOffset.x, spec->fOffset.y, spec->fRotation, spec->fOffsetCurve, spec->fScaleCurve,
                spec->fOpacityCurve, spec->fRotationCurve, spec->fRestart ? " restart" : "");
  return text;
}

TEST(TransitionSpec, ReadOverTheDefaults) {
  Velto::cTransitionSpec slow;  // two seconds of 100 ms ticks
  slow.fUpdateInterval = 100;
  slow.fPhaseStep = -0.05;
  slow.fScale = 0.5;
  struct Case {
    std::string value;
    bool reverse;
    const Velto::cTransitionSpec* defaults;
    std::string expected;
  };
  const Case cases[] = {
      {"{}", false, nullptr, "50 0.05 o1 s1 (0,0) r0 c0.5,0.5,0.5,0.5"},
      {"{ updateRate: 20 }", true, nullptr, "50 -0.05 o1 s1 (0,0) r0 c0.5,0.5,0.5,0.5"},
      {"{ updateRate: 30, time: 2 }", false, nullptr, "33 0.0165 o1 s1 (0,0) r0 c0.5,0.5,0.5,0.5"},
      {"{ rotation: 90, scale: 50, opacity: $ / 4, offset: { 3, -4 } }", false, nullptr,
       "50 0.05 o0.25 s0.5 (3,-4) r1.5708 c0.5,0.5,0.5,0.5"},
      {"{ offsetCurve: 0.1, scaleCurve: 0.2, opacityCurve: 0.3, rotationCurve: 1, restart: TRUE }", false, nullptr,
       "50 0.05 o1 s1 (0,0) r0 c0.1,0.2,0.3,1 restart"},
      {"{ updateRate: 20 }", false, &slow, "50 0.025 o1 s0.5 (0,0) r0 c0.5,0.5,0.5,0.5"},
      {"{ scale: $ * 3 }", false, &slow, "100 0.05 o1 s1.5 (0,0) r0 c0.5,0.5,0.5,0.5"},
      {"{ updateRate: 0 }", false, &slow, "100 0.05 o1 s0.5 (0,0) r0 c0.5,0.5,0.5,0.5"},
      {"{ updateRate: -1 / 0 }", false, nullptr, "50 0.05 o1 s1 (0,0) r0 c0.5,0.5,0.5,0.5"},
      {"{ updateRate: 1e9 }", false, nullptr, "1 0.001 o1 s1 (0,0) r0 c0.5,0.5,0.5,0.5"},
      {"{ updateRate: 1e-9, time: 1e9 }", false, nullptr, "1073741824 0.00107374 o1 s1 (0,0) r0 c0.5,0.5,0.5,0.5"},
      {"{ scale: 1 / 0, rotation: 0 / 0, offset: { 1e999, 2 } }", false, nullptr,
       "50 0.05 o1 s1 (0,2) r0 c0.5,0.5,0.5,0.5"},
      {"{ time: 0, scale: 10 }", false, nullptr, "none"},
      {"{ time: 1 / 0 }", false, nullptr, "none"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Text(Velto::ReadTransitionSpec({{"open", c.value}}, "open", c.reverse, c.defaults)), c.expected)
        << c.value;
  }
  // An absent key copies the defaults with the direction's sign on the step, or gives none.
  EXPECT_EQ(Text(Velto::ReadTransitionSpec({}, "open", false, &slow)), "100 0.05 o1 s0.5 (0,0) r0 c0.5,0.5,0.5,0.5");
  EXPECT_EQ(Text(Velto::ReadTransitionSpec({}, "open", true, &slow)), "100 -0.05 o1 s0.5 (0,0) r0 c0.5,0.5,0.5,0.5");
  EXPECT_EQ(Text(Velto::ReadTransitionSpec({}, "open", false, nullptr)), "none");
  EXPECT_DOUBLE_EQ(Velto::ReadTransitionSpec({{"open", "{ rotation: 90 }"}}, "open", false, nullptr)->fRotation,
                   std::numbers::pi / 2);
  EXPECT_THROW(Velto::ReadTransitionSpec({{"open", "{ scale: x }"}}, "open", false, nullptr), Exception);
}

TEST(AnimationTransform, MovesScalesAndRotatesAboutTheCentre) {
  const QorRaster::Point centre(50, 50);
  const auto map = [&](double scale, double rotation, QorRaster::Point p) {
    return Velto::MakeAnimationTransform(centre, {10, 0}, scale, rotation).Apply(p);
  };
  EXPECT_EQ(map(2, 0, {60, 50}).x, 80);
  EXPECT_NEAR(map(2, std::numbers::pi / 2, {60, 50}).x, 60, 1e-12);
  EXPECT_NEAR(map(2, std::numbers::pi / 2, {60, 50}).y, 70, 1e-12);
  EXPECT_EQ(map(1, 0, centre).x, 60);
  QorRaster::Transform zero;
  zero.Set(0, 0, 0, 0, 0, 0);
  for (const double scale : {0.99e-5, 0.0, -1.0, std::nan("")}) {
    EXPECT_EQ(Velto::MakeAnimationTransform(centre, {10, 0}, scale, 1), zero) << scale;
  }
  EXPECT_NE(Velto::MakeAnimationTransform(centre, {}, 1e-5, 0), zero);
}

class DescriptionReaders : public ::testing::Test {
 protected:
  void TearDown() override { fRoot->Detach(); }

  VeltoTest::RecordingController fController;
  ref<Velto::rcRootView> fRoot{new Velto::rcRootView({0, 0, 10, 10}, &fController)};
};

TEST_F(DescriptionReaders, PositionsCursorsSizesAndClipboardText) {
  struct PositionCase {
    Velto::Description description;
    bool isOffset;
    Wex::cPoint point;
  };
  const PositionCase positions[] = {
      {{{"position", "{ 1, 2 }"}, {"offset", "{ 3, 4 }"}}, false, {1, 2}},
      {{{"position", ""}}, false, {0, 0}},
      {{{"offset", "{ 3, 4 }"}}, true, {3, 4}},
      {{{"offset", "{ , $ + 1 }"}}, true, {5, 7}},
      {{}, true, {5, 6}},
  };
  for (const PositionCase& c : positions) {
    bool isOffset = !c.isOffset;
    Wex::cPoint point;
    Velto::ReadPositionOrOffset(c.description, isOffset, point, {5, 6});
    EXPECT_EQ(isOffset, c.isOffset);
    EXPECT_EQ(point, c.point);
  }

  EXPECT_EQ(Velto::ReadCursorName({{"cursor", "\"hand\""}}), "hand");
  EXPECT_EQ(Velto::ReadCursorName({{"cursor", "{ windows: x, mac: 'iBeam' }"}}), "iBeam");
  EXPECT_EQ(Velto::ReadCursorName({}), "");

  EXPECT_EQ(Velto::ReadDescriptionSize("{ bounds: { 10, 10, 520, 300 }, views: {} }"), std::make_pair(520, 300));
  EXPECT_EQ(Velto::ReadDescriptionSize("bounds: { 0, 0, w + 5, 7 }"), std::make_pair(5, 7));
  EXPECT_EQ(Velto::ReadDescriptionSize("{}"), std::make_pair(0, 0));

  static std::vector<std::string> put;
  const Platform::ClipboardWriter previous =
      Platform::SetClipboardWriter([](const std::string& text) { put.push_back(text); });
  Velto::CopyRectToClipboard({10, 20, 40, 60});
  Velto::CopyRectToClipboard({-5, 0, -10, 1});
  Platform::SetClipboardWriter(previous);
  EXPECT_EQ(put, (std::vector<std::string>{"{ 10, 20, 30, 40 }", "{ -5, 0, -5, 1 }"}));
}

TEST_F(DescriptionReaders, ActionBindings) {
  fController.fVariables = {{"a", "[var]p[/var]"}, {"p", "par"}, {"n", "next"}};
  struct Case {
    std::string text;
    bool found;
    std::string action;
    std::string params;
  };
  const Case cases[] = {
      {"{ action: 'go [var]n[/var]', actionVariable: a, params: \"q [var]p[/var]\", paramsVariable: p }", true,
       "go next", "q par"},
      {"{ actionVariable: a, paramsVariable: p }", true, "[var]p[/var]", "par"},
      {"{ action: go }", true, "go", "old params"},
      {"{ params: x, paramsVariable: p }", false, "old action", "old params"},
  };
  for (const Case& c : cases) {
    std::string action = "old action";
    std::string params = "old params";
    EXPECT_EQ(Velto::ReadActionBinding(*fRoot, c.text, action, params), c.found) << c.text;
    EXPECT_EQ(action, c.action);
    EXPECT_EQ(params, c.params);
  }
}

TEST_F(DescriptionReaders, TextStyles) {
  const ref<Velto::rcTextStyle> style = Velto::ReadTextStyle(
      Wex::ParseKeyValueMap("{ font: { face: Arial }, offset: { 1, 2 }, lineSpacing: 3, typingRate: 4.5, align: center,"
                            "  underline: red, frame: { color: blue, stroke: 2, padding: 5, margin: 6 } }"),
      *fRoot);
  EXPECT_EQ(style->fOffset, (Wex::cPoint{1, 2}));
  EXPECT_EQ(style->fLineSpacing, 3);
  EXPECT_EQ(style->fTypingRate, 4.5);
  EXPECT_EQ(style->fAlignment, 1);
  EXPECT_EQ(style->fUnderline.fColor, 0xffff0000u);  // a plain colour: a line of width 1 at offset 0
  EXPECT_EQ(style->fUnderline.fWidth, 1.0);
  EXPECT_EQ(style->fUnderlineOffset, 0.0);
  EXPECT_EQ(style->fFrame.fColor, 0xff0000ffu);
  EXPECT_EQ(style->fFrame.fWidth, 2.0);
  EXPECT_EQ(style->fFramePadding, 5.0);
  EXPECT_EQ(style->fFrameMargin, 6.0);

  const ref<Velto::rcTextStyleSet> set(new Velto::rcTextStyleSet(
      Wex::ParseKeyValueMap("{ b: { underline: { color: red, offset: 2 } }, a: { font: X } }"), *fRoot));
  ASSERT_EQ(set->GetStyles().size(), 2u);
  EXPECT_EQ(set->Find("b")->fUnderlineOffset, 2.0);
  EXPECT_EQ(set->Find("b")->fFrame.fWidth, 0.0);  // no frame
  EXPECT_EQ(set->Find("c"), nullptr);
  EXPECT_EQ(fController.TakeCalls(), (Calls{{fRoot.Get(), "GetFont", {"{ face: Arial }"}},
                                            {fRoot.Get(), "GetFont", {"X"}},
                                            {fRoot.Get(), "GetFont", {""}}}));
  EXPECT_THROW(Velto::ReadTextStyle({{"frame", "{ padding: ( }"}}, *fRoot), Exception);
}

}  // namespace
