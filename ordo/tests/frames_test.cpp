#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ordo/tests/test_support.h"

namespace ORDO {
namespace {

using Testing::Failure;
using Testing::Script;
using Strings = std::vector<std::string>;

// A body that reports what its frame sees.
constexpr const char* kShow = "show = [draw $n|{$0}|{$1}|{$2}] ";

TEST(CallTest, ArgumentsBecomeFrameVariables)
{
    Script s;
    s.Run(std::string(kShow) + "\ncall $show a b c\nsafe = [draw $n]; call $safe");
    EXPECT_EQ(s.executor.calls, (Strings{"execute draw|3|a|b|c", "execute draw|0"}));
    EXPECT_EQ(s.Error("call $show").message, "Variable does not exist");
}

TEST(CallTest, LabelsBeforeTheBodyAreNotDeclared)
{
    Script s;
    s.Run("body = [draw {$n} $after $N]; call early:1 $body after:2 N:x 7 n:9");
    EXPECT_EQ(s.executor.calls, (Strings{"execute draw|9 2 x"}));
    EXPECT_EQ(s.Error("call early:1 [draw $early]").message, "Variable does not exist");
    // Only labels: the body stays empty and nothing is declared.
    s.Run("call a:1 b:2");
    EXPECT_EQ(s.executor.calls.size(), 1u);
    EXPECT_EQ(s.Error("call").message, "Missing argument(s)");
    // A first declaration stands: "0" given as a label wins over the first positional.
    s.Run("call [draw $0] 0:label positional");
    EXPECT_EQ(s.executor.calls.back(), "execute draw|label");
}

TEST(LocalTest, LocalsLiveInTheirFrame)
{
    Script s;
    s.Run("x = global\nproc = [local x = mine; draw $x; created = yes]\ncall $proc\ndraw $x");
    EXPECT_EQ(s.executor.calls, (Strings{"execute draw|mine", "execute draw|global"}));
    EXPECT_EQ(s.Var("created"), "yes");
    s.Run("local top = 1; local empty =; local bare");
    EXPECT_EQ(s.Var("top"), "1");
    EXPECT_EQ(s.Var("empty"), "");
    EXPECT_EQ(s.Var("bare"), "");
}

TEST(LocalTest, DeclarationErrors)
{
    Script s;
    EXPECT_EQ(s.Error("local a = 1; local a = 2"), (Failure{"run-time", "Variable already declared", "local a = 2"}));
    EXPECT_EQ(s.Error("local 1a"), (Failure{"syntax", "Invalid variable name", "local 1a"}));
    EXPECT_EQ(s.Error("local b c"), (Failure{"syntax", "Expected =", "local b c"}));
    EXPECT_EQ(s.Error("local"), (Failure{"syntax", "Missing variable name", "local"}));
    EXPECT_EQ(s.Error("return 1a"), (Failure{"syntax", "Invalid variable name", "return 1a"}));
}

TEST(ReturnTest, ValuesPassOutward)
{
    Script s;
    s.Run("result = none\n"
          "inner = [local v = 5; return v; return result = {$v * 2}; draw after]\n"
          "outer = [local result = outer; call $inner; draw $result $v]\n"
          "call $outer");
    EXPECT_EQ(s.executor.calls, (Strings{"execute draw|after", "execute draw|10 5"}));
    EXPECT_EQ(s.Var("result"), "none");
    EXPECT_EQ(s.Var("v"), "5"); // no outer frame had v: it became global
    // Without an outer frame that has the name the value becomes global.
    s.Run("call [local w = 3; if yes [return w]]");
    EXPECT_EQ(s.Var("w"), "3");
    EXPECT_EQ(s.Error("return x = 1"), (Failure{"run-time", "Cannot return in global frame", "return x = 1"}));
    EXPECT_EQ(s.Error("call [return missing]"), (Failure{"run-time", "Variable does not exist", "return missing"}));
}

TEST(IncludeTest, HostTextRunsInAFrame)
{
    Script s;
    s.executor.files = {{"part", "draw included $0 $n"}, {"p1", "draw one"}, {"", "draw empty name"}};
    s.Run("name = p; include part x\ninclude [{$name}1]\ninclude label:only");
    EXPECT_EQ(s.executor.calls, (Strings{"include part", "execute draw|included x 1", "include p1",
                                         "execute draw|one", "include ", "execute draw|empty name"}));
    EXPECT_EQ(s.Error("include missing [draw never]"),
              (Failure{"run-time", "Could not include file", "include missing [draw never]"}));
    EXPECT_EQ(s.executor.calls.back(), "include missing");
}

TEST(FrameTest, RecursionEndsAtTheLimitWithoutExhaustingTheStack)
{
    Script s;
    EXPECT_EQ(s.Error("f = [call $f]; call $f").message, "Recursion limit reached");
    EXPECT_EQ(s.context.recursionLeft, 100u);
    s.executor.files = {{"self", "include self"}};
    EXPECT_EQ(s.Error("include self").message, "Recursion limit reached");
    EXPECT_EQ(s.Error("g = [if yes [repeat 1 [for i from:1 to:1 [call $g]]]]; call $g").message,
              "Recursion limit reached");
    // The innermost failing statement is reported, not the call.
    EXPECT_EQ(s.Error("h = [draw; x = {1/0}]; call $h").statement, "x = {1/0}");
}

TEST(FrameTest, EveryFrameCountsAgainstTheRootBudget)
{
    Script s(20);
    EXPECT_EQ(s.Error("f = [draw; call $f]; call $f").message, "Statements limit reached");
    EXPECT_EQ(s.executor.progressCount, 20u);
    EXPECT_EQ(s.context.statementsLeft, 0u);
}

} // namespace
} // namespace ORDO
