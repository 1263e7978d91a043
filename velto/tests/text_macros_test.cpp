#include "velto/text_macros.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "base/exceptions.h"
#include "velto/tests/root_fixture.h"

namespace {

using VeltoTest::Calls;

class TextMacros : public VeltoTest::RootTest {
 protected:
  TextMacros() {
    fBundle.WriteResource("T_strings", "txt", "Hello: Bonjour");
    fRegistry.LoadStrings("T_strings", "txt");
    fController.fVariables = {{"x", "a\"b"}, {"y", "cd"}, {"Big", "\xe9t\xe9"}};
  }

  // The expansion, or the message of the FormatException that it threw.
  std::string Expand(const std::string& text) {
    try {
      return Velto::ExpandTextMacros(*fRoot, text);
    } catch (const FormatException& e) {
      return std::string("error: ") + e.what();
    }
  }

  static std::string Repeat(const std::string& part, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += part;
    return text;
  }
};

TEST_F(TextMacros, TagsExpandAgainstTheController) {
  const std::pair<std::string, std::string> cases[] = {
      {"[var]y[/var]!", "cd!"}, {"[var]x[/var]", "a\"b"},
      {"\"[var]x[/var]\"", "\"a\\\"b\""},  // inside quotes the value is escaped
      {"'[var]x[/var]'", "'a\\\"b'"},
      {"\"it's [var]x[/var]\"", "\"it's a\\\"b\""},  // the other quote character changes nothing
      {"'[var]Big[/var]'", "'\\xe9t\\xe9'"},
      {"\"[uppercase][var]x[/var][/uppercase]\"", "\"A\"B\""},  // each level has its own quotes
      {"[var]y", "cd"}, {"[var]", ""}, {"[uppercase]ab[var]y[/var][/uppercase]", "ABCD"},
      {"[lowercase]AB\xc9[/lowercase]", "ab\xe9"}, {"[uppercase]x[lowercase]Y[/lowercase]z", "XYZ"},
      {"[windows]w[/windows][mac]m[/mac]", "m"}, {"[mac]\"[var]x[/var][/mac]\"", "\"a\\\"b\""},
      {"[xlate]Hello[/xlate], [xlate]World[/xlate]", "Bonjour, World"},
      {"[Var]y", "[Var]y"}, {"[var ]y", "[var ]y"}, {"[varx]y", "[varx]y"}, {"[[var]y[/var]", "[cd"}, {"a[b", "a[b"},
      {"a]b[", "a]b["}, {"[] a\\\"b", "[] a\"b"}, {"[]\\'\\\\\\q\\", "[]'\\\\q\\"},
      {"a\\\"b", "a\\\"b"},  // without '[' nothing changes
      {"\"\\\"[var]y[/var]\"", "\"\"cd\""},  // an escaped quote leaves the quote open
      {"[/mac]", "error: Unexpected meta tag: [/mac]"}, {"[var]x[/mac]", "error: Unexpected meta tag: [/mac]"},
      {"[mac][/var][/mac]", "error: Unexpected meta tag: [/var]"},
      {"[windows][/uppercase]", "error: Unexpected meta tag: [/uppercase]"},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(Expand(text), expected) << text;
}

TEST_F(TextMacros, ExpansionCallsTheControllerInTextOrder) {
  TakeCalls();
  EXPECT_EQ(Expand("[windows][var]w[/var][/windows][uppercase][xlate]t[/xlate][var]y[/var][/uppercase]"), "TCD");
  EXPECT_EQ(TakeCalls(), (Calls{At("GetVariable", {"w"}), At("GetText", {"t"}), At("GetVariable", {"y"})}));
  fController.ThrowOn("GetText", Exception("no text"));
  try {
    Velto::ExpandTextMacros(*fRoot, "[xlate]t");
    FAIL();
  } catch (const FormatException&) {
    FAIL();
  } catch (const Exception& e) {
    EXPECT_STREQ(e.what(), "no text");
  }
}

TEST_F(TextMacros, NestingIsBounded) {
  EXPECT_EQ(Expand(Repeat("[uppercase]", 100) + "a"), "A");
  EXPECT_EQ(Expand(Repeat("[mac]", 99) + "[uppercase]b[/uppercase]" + Repeat("[/mac]", 99) + "c"), "Bc");
  EXPECT_EQ(Expand(Repeat("[uppercase]", 101)), "error: Meta tags nested too deeply: [uppercase]");
  EXPECT_EQ(Expand(Repeat("[mac]", 100) + "[var]y"), "error: Meta tags nested too deeply: [var]");
  EXPECT_EQ(Expand(Repeat("[uppercase]", 100000)), "error: Meta tags nested too deeply: [uppercase]");
  // Tags that close again do not add up.
  EXPECT_EQ(Expand(Repeat("[lowercase]A[/lowercase]", 1000)), Repeat("a", 1000));
}

TEST_F(TextMacros, AnExpansionHoldsNoMoreThanItsBound) {
  constexpr std::size_t kMB = 1024 * 1024;
  fController.fVariables["m"] = std::string(kMB, 'm');
  fController.fVariables["a"] = std::string(120 * 1024, 'a');
  fController.fVariables["q"] = std::string(9 * kMB, '"');
  const std::string m = "[var]m[/var]";
  const std::string tooLong = "error: Meta tags expand to more than 16777216 bytes";
  const std::pair<std::string, std::string> cases[] = {
      {Repeat(m, 16), std::to_string(16 * kMB)},
      {Repeat(m, 16) + "!", tooLong},
      {"[uppercase]" + Repeat(m, 16) + "[/uppercase]", std::to_string(16 * kMB)},
      {Repeat("[var]a[/var]", 5000), tooLong},
      {"[var]q[/var]", std::to_string(9 * kMB)},
      {"'[var]q[/var]'", tooLong},  // escaping doubles it
      {"[windows]" + Repeat(m, 9) + "[/windows]" + Repeat(m, 8), std::to_string(8 * kMB)},
      {"[uppercase]" + Repeat(m, 8) + "[windows]" + Repeat(m, 9), tooLong},  // open passages count too
  };
  for (const auto& [text, expected] : cases) {
    const std::string expanded = Expand(text);
    EXPECT_EQ(expanded.starts_with("error: ") ? expanded : std::to_string(expanded.size()), expected)
        << text.substr(0, 40);
  }
  EXPECT_EQ(Expand("[uppercase]" + Repeat(m, 16)).find_first_not_of('M'), std::string::npos);
}

TEST_F(TextMacros, ALevelAnswersThePlaceAfterItsClosingTag) {
  const std::string text = "ab[var]y[/var][/uppercase]cd";
  std::string output = ">";
  const char* rest = Velto::ExpandMacroTags(*fRoot, text.data(), text.data() + text.size(), output, 9);
  EXPECT_EQ(output, ">abcd");
  EXPECT_EQ(std::string(rest), "cd");
  output.clear();
  rest = Velto::ExpandMacroTags(*fRoot, text.data(), text.data() + 2, output, 9);
  EXPECT_EQ(rest, text.data() + 2);
  EXPECT_EQ(output, "ab");
}

TEST(HasVariableMacro, SearchesThePlainText) {
  EXPECT_TRUE(Velto::HasVariableMacro("[var]"));
  EXPECT_TRUE(Velto::HasVariableMacro("\"a[var]b\""));
  EXPECT_FALSE(Velto::HasVariableMacro("[Var]x"));
  EXPECT_FALSE(Velto::HasVariableMacro("[var"));
  EXPECT_FALSE(Velto::HasVariableMacro(""));
}

}  // namespace
