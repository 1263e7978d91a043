#include "velto/readers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <numbers>
#include <string>
#include <tuple>
#include <vector>

#include "base/exceptions.h"
#include "platform/clipboard.h"
#include "velto/tests/root_fixture.h"
#include "velto/text_style.h"
#include "velto/transition.h"

namespace {

// The result as text, or the message of the exception thrown.
template <class Read>
std::string Outcome(Read read) {
  try {
    return read();
  } catch (const std::exception& e) {
    return e.what();
  }
}

TEST(ClickMask, NamesJoinedByPlus) {
  const std::pair<std::string, std::string> cases[] = {
      {"click+shift", "3"}, {"mac", "8192"}, {"", "0"}, {"click+", "1"},
      {"\"windows\"+'up'+down+context+control+alt+command+left+right+press+release", "8188"},
      {"+click", "Invalid click mask constant: \"\""}, {"click++shift", "Invalid click mask constant: \"\""},
      {"click + shift", "Invalid click mask constant: \"click \""}, {"Click", "Invalid click mask constant: \"Click\""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Outcome([&] { return std::to_string(Velto::ReadClickMask(c.first)); }), c.second) << c.first;
  }
}

TEST(ActionList, OneActionOrAListOfMaskedActions) {
  const auto read = [](const char* text) {
    return Outcome([&] {
      std::vector<Velto::cActionListEntry> entries{{7, {"kept", ""}}};
      Velto::ReadActionList(Wex::ParseKeyValueMap(text), entries);
      std::string shown;
      for (const Velto::cActionListEntry& e : entries) {
        shown += std::to_string(e.fMask) + " " + e.fBinding.fAction + " [" + e.fBinding.fParams + "];";
      }
      return shown;
    });
  };
  const std::pair<const char*, const char*> cases[] = {
      {"{action: 'go', params: '{x}', actions: {{shift, other}}}", "7 kept [];1 go ['{x}'];"},
      {"{action: go, mask: \"click+shift\"}", "7 kept [];3 go [];"},
      {"{actions: {{shift, a, {p}}, {}, {'mac', \"b\", 'q', extra}, {click}}}",
       "7 kept [];2 a [{p}];0  [];8192 b ['q'];1  [];"},
      {"{params: p}", "7 kept [];"},
      {"{action: go, mask: Shift}", "Invalid click mask constant: \"Shift\""},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(read(text), expected) << text;
}

TEST(TransitionSpec, ReadOverTheDefaults) {
  Velto::cTransitionSpec slow;  // two seconds of 100 ms ticks, backwards
  slow.fUpdateInterval = 100;
  slow.fPhaseStep = -0.05;
  slow.fScale = 0.5;
  const auto read = [&](const Velto::Description& transitions, bool reverse, const Velto::cTransitionSpec* defaults) {
    return Outcome([&] {
      const std::unique_ptr<Velto::cTransitionSpec> t = Velto::ReadTransitionSpec(transitions, "k", reverse, defaults);
      if (!t) return std::string("none");
      char text[200];
      std::snprintf(text, sizeof text, "%lld %g o%g s%g (%g,%g) r%.17g c%g,%g,%g,%g%s",
                    static_cast<long long>(t->fUpdateInterval), t->fPhaseStep, t->fOpacity, t->fScale, t->fOffset.x,
                    t->fOffset.y, t->fRotation, t->fOffsetCurve, t->fScaleCurve, t->fOpacityCurve, t->fRotationCurve,
                    t->fRestart ? " restart" : "");
      return std::string(text);
    });
  };
  const char* kPlain = " o1 s1 (0,0) r0 c0.5,0.5,0.5,0.5";
  // The value (nullptr: no key), reverse, the defaults, and the transition read.
  const std::tuple<const char*, bool, const Velto::cTransitionSpec*, std::string> cases[] = {
      {"{}", false, nullptr, std::string("50 0.05") + kPlain},
      {"{ updateRate: 20 }", true, nullptr, std::string("50 -0.05") + kPlain},
      {"{ updateRate: 30, time: 2 }", false, nullptr, std::string("33 0.0165") + kPlain},
      {"{ rotation: 90, scale: 50, opacity: $ / 4, offset: { 3, -4 } }", false, nullptr,
       "50 0.05 o0.25 s0.5 (3,-4) r1.5707963267948966 c0.5,0.5,0.5,0.5"},
      {"{ offsetCurve: 0.1, scaleCurve: 0.2, opacityCurve: 0.3, rotationCurve: 1, restart: TRUE }", false, nullptr,
       "50 0.05 o1 s1 (0,0) r0 c0.1,0.2,0.3,1 restart"},
      {"{ updateRate: 20, scale: $ * 3 }", false, &slow, "50 0.025 o1 s1.5 (0,0) r0 c0.5,0.5,0.5,0.5"},
      {"{ updateRate: 0 }", false, &slow, "100 0.05 o1 s0.5 (0,0) r0 c0.5,0.5,0.5,0.5"},
      {"{ updateRate: -1 / 0 }", false, nullptr, std::string("50 0.05") + kPlain},
      {"{ updateRate: 1e9 }", false, nullptr, std::string("1 0.001") + kPlain},
      {"{ updateRate: 1e-9, time: 1e9 }", false, nullptr, std::string("1073741824 0.00107374") + kPlain},
      {"{ scale: 1 / 0, rotation: 0 / 0, offset: { 1e999, 0 } }", false, nullptr, std::string("50 0.05") + kPlain},
      {"{ time: 0, scale: 10 }", false, nullptr, "none"}, {"{ time: 1 / 0 }", false, nullptr, "none"},
      {"{ scale: x }", false, nullptr, "Undefined symbol: \"x\""},
      {nullptr, false, &slow, "100 0.05 o1 s0.5 (0,0) r0 c0.5,0.5,0.5,0.5"},
      {nullptr, true, &slow, "100 -0.05 o1 s0.5 (0,0) r0 c0.5,0.5,0.5,0.5"},
      {nullptr, false, nullptr, "none"},
  };
  for (const auto& [value, reverse, defaults, expected] : cases) {
    const Velto::Description transitions = value != nullptr ? Velto::Description{{"k", value}} : Velto::Description{};
    EXPECT_EQ(read(transitions, reverse, defaults), expected) << (value != nullptr ? value : "no key");
  }
}

TEST(AnimationTransform, MovesScalesAndRotatesAboutTheCentre) {
  const QorRaster::Point centre(50, 50);
  const QorRaster::Point p = Velto::MakeAnimationTransform(centre, {10, 0}, 2, std::numbers::pi / 2).Apply({60, 50});
  EXPECT_NEAR(p.x, 60, 1e-12);
  EXPECT_NEAR(p.y, 70, 1e-12);
  QorRaster::Transform zero;
  zero.Set(0, 0, 0, 0, 0, 0);
  for (const double scale : {0.99e-5, -1.0, std::nan("")}) {
    EXPECT_EQ(Velto::MakeAnimationTransform(centre, {10, 0}, scale, 1), zero) << scale;
  }
  EXPECT_NE(Velto::MakeAnimationTransform(centre, {}, 1e-5, 0), zero);
}

using DescriptionReaders = VeltoTest::RootTest;

TEST_F(DescriptionReaders, PositionsCursorsSizesBindingsAndClipboardText) {
  const std::pair<Velto::Description, std::string> positions[] = {
      {{{"position", "{ 1, 2 }"}, {"offset", "{ 3, 4 }"}}, "1,2"},
      {{{"position", ""}}, "0,0"}, {{{"offset", "{ , $ + 1 }"}}, "offset 5,7"}, {{}, "offset 5,6"},
  };
  for (const auto& [description, expected] : positions) {
    bool isOffset = false;
    Wex::cPoint p;
    Velto::ReadPositionOrOffset(description, isOffset, p, {5, 6});
    EXPECT_EQ((isOffset ? "offset " : "") + std::to_string(p.fX) + "," + std::to_string(p.fY), expected);
  }
  EXPECT_EQ(Velto::ReadCursorName({{"cursor", "\"hand\""}}), "hand");
  EXPECT_EQ(Velto::ReadCursorName({{"cursor", "{ windows: x, mac: 'iBeam' }"}}), "iBeam");
  EXPECT_EQ(Velto::ReadDescriptionSize("{ bounds: { 10, 10, 520, 300 }, views: {} }"), std::make_pair(520, 300));
  EXPECT_EQ(Velto::ReadDescriptionSize("bounds: { 0, 0, w + 5, 7 }"), std::make_pair(5, 7));

  fController.fVariables = {{"a", "[var]p[/var]"}, {"p", "par"}, {"n", "next"}};
  const std::pair<std::string, std::string> bindings[] = {
      {"{ action: 'go [var]n[/var]', actionVariable: a, params: \"q [var]p[/var]\", paramsVariable: p }",
       "go next|q par"},
      {"{ actionVariable: a, paramsVariable: p }", "[var]p[/var]|par"},  // variables are not expanded
      {"{ action: go }", "go|old params"},
      {"{ params: x, paramsVariable: p }", "none: old action|old params"},
  };
  for (const auto& [text, expected] : bindings) {
    std::string action = "old action";
    std::string params = "old params";
    const bool found = Velto::ReadActionBinding(*fRoot, text, action, params);
    EXPECT_EQ((found ? "" : "none: ") + action + "|" + params, expected);
  }

  static std::vector<std::string> put;
  const Platform::ClipboardWriter previous =
      Platform::SetClipboardWriter([](const std::string& text) { put.push_back(text); });
  Velto::CopyRectToClipboard({10, 20, 40, 60});
  Velto::CopyRectToClipboard({-5, 0, -10, 1});
  Platform::SetClipboardWriter(previous);
  EXPECT_EQ(put, (std::vector<std::string>{"{ 10, 20, 30, 40 }", "{ -5, 0, -5, 1 }"}));
}

TEST_F(DescriptionReaders, TextStylesAndSets) {
  const auto text = [](const ref<Velto::rcTextStyle>& s) {
    char text[200];
    std::snprintf(text, sizeof text, "(%d,%d) %d %g %d u%08x/%g+%g f%08x/%g+%g+%g", s->fOffset.fX, s->fOffset.fY,
                  s->fLineSpacing, s->fTypingRate, s->fAlignment, s->fUnderline.fColor, s->fUnderline.fWidth,
                  s->fUnderlineOffset, s->fFrame.fColor, s->fFrame.fWidth, s->fFramePadding, s->fFrameMargin);
    return std::string(text);
  };
  // A plain colour is a stroke of width 1 with no further values.
  EXPECT_EQ(text(Velto::ReadTextStyle(
                Wex::ParseKeyValueMap("{ font: { face: Arial }, offset: { 1, 2 }, lineSpacing: 3, typingRate: 4.5,"
                                      "  align: center, underline: red, frame: { color: blue, stroke: 2, padding: 5,"
                                      "  margin: 6 } }"),
                *fRoot)),
            "(1,2) 3 4.5 1 uffff0000/1+0 fff0000ff/2+5+6");
  const ref<Velto::rcTextStyleSet> set(new Velto::rcTextStyleSet(
      Wex::ParseKeyValueMap("{ b: { underline: { color: red, offset: 2 } }, a: { font: { size: 9 } } }"), *fRoot));
  EXPECT_EQ(set->GetStyles().size(), 2u);
  EXPECT_EQ(text(set->Find("b")), "(0,0) 0 0 0 uffff0000/1+2 f00000000/0+0+0");
  EXPECT_EQ(set->Find("c"), nullptr);
  EXPECT_EQ(TakeCalls(), (VeltoTest::Calls{At("GetFont", {"{ face: Arial }"}), At("GetFont", {"{ size: 9 }"}),
                                           At("GetFont", {""})}));
  EXPECT_THROW(Velto::ReadTextStyle({{"frame", "{ padding: ( }"}}, *fRoot), Exception);
}

}  // namespace
