#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ordo/tests/test_support.h"

namespace ORDO {
namespace {

using Testing::Failure;
using Testing::Script;
using Strings = std::vector<std::string>;

TEST(FormatTest, TheHostSeesLowerCasedListsWithoutOrdo)
{
    Script s;
    s.Run("format ORV-1 requires:[ordo-1, ORDO-1 Ordo-1] uses:[A,,B]\nformat orv-1 uses:[x [{1+1}]] requires:ordo-1");
    EXPECT_EQ(s.executor.calls, (Strings{"format orv-1|a,b|", "format orv-1|x,2|"}));
    EXPECT_EQ(s.Error("format orv-1 requires:[ordo-1 qor-2]\ndraw"),
              (Failure{"format", "Unsupported data format", "format orv-1 requires:[ordo-1 qor-2]"}));
    EXPECT_EQ(s.executor.calls.back(), "format orv-1||qor-2");
    EXPECT_EQ(s.Error("format svg").message, "Unsupported data format");
}

TEST(FormatTest, ArgumentErrorsComeBeforeTheHost)
{
    Script s;
    EXPECT_EQ(s.Error("format orv-1 orv-2"),
              (Failure{"syntax", "Unrecognized labels or too many arguments", "format orv-1 orv-2"}));
    EXPECT_EQ(s.Error("format uses:x"), (Failure{"syntax", "Missing argument(s)", "format uses:x"}));
    EXPECT_EQ(s.Error("format x uses:[[a]"), (Failure{"syntax", "Missing ]", "format x uses:[[a]"}));
    EXPECT_TRUE(s.executor.calls.empty());
}

TEST(TraceTest, TextIsUnescapedButNotExpandedAgain)
{
    Script s;
    s.Run("trace\ntrace a\\tb  [x {1} \\t]\\u20ac\\");
    ASSERT_EQ(s.executor.traces.size(), 2u);
    EXPECT_EQ(s.executor.traces[0], U"");
    EXPECT_EQ(s.executor.traces[1], U"a\tb [x {1} \\t]\u20ac");
}

TEST(DebugTest, DumpsItsItems)
{
    Script s;
    s.Run("x = 1\n_debug\n_debug a:1 2\n_debug v:[$x \\t] \\x41\n_debug EXPAND:yes v:[{$x + 1} \\t] w:\\x41 [l\\x41]:z");
    EXPECT_EQ(s.executor.calls, (Strings{"trace |", "trace |a=1|=2|", "trace |v=[$x \\t]|=\\x41|",
                                         "trace |EXPAND=yes|v=2 \t|w=A|lA=z|"}));
    EXPECT_EQ(s.Error("_debug expand:maybe").message, "Invalid boolean (should be 'yes' or 'no')");
    EXPECT_EQ(s.Error("_debug expand:[$x]").message, "Invalid boolean (should be 'yes' or 'no')");
    s.Run("flag = no; _debug expand:[$flag] v:[$x]");
    EXPECT_EQ(s.executor.calls.back(), "trace |expand=[$flag]|v=[$x]|");
}

} // namespace
} // namespace ORDO
