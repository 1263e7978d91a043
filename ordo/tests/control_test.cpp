#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ordo/tests/test_support.h"

namespace ORDO {
namespace {

using Testing::Failure;
using Testing::Script;
using Strings = std::vector<std::string>;

const Failure kInvalidBoolean{"run-time", "Invalid boolean (should be 'yes' or 'no')", ""};

// Runs a script and returns the host calls it made.
Strings Calls(std::string_view text)
{
    Script s;
    s.Run(text);
    return s.executor.calls;
}

// The message and class of a failing script (statement left out).
Failure ErrorOf(std::string_view text)
{
    Script s;
    Failure failure = s.Error(text);
    failure.statement.clear();
    return failure;
}

TEST(DispatchTest, OnlyTheElevenBuiltInsAreTakenFromTheHost)
{
    Script s;
    s.executor.instructions = {"x", "ifx", "calls", "forma", "_debugs", "includes", "tracer", "if", "stop", "for"};
    s.Run("x\nifx\ncalls\nforma\n_debugs\nincludes\ntracer\nif no [stop]");
    EXPECT_EQ(s.executor.calls, (Strings{"execute x|", "execute ifx|", "execute calls|", "execute forma|",
                                         "execute _debugs|", "execute includes|", "execute tracer|"}));
    EXPECT_EQ(ErrorOf("includes"), (Failure{"syntax", "Unrecognized instruction", ""}));
    EXPECT_EQ(Calls("META 1 2\nmeta"), Strings{});
    // Built-ins written in capitals, up to the longest name.
    EXPECT_EQ(Calls("TRACE up\n_DeBuG A:1\nx = [draw]\nCALL $x"), (Strings{"trace up", "trace |A=1|", "execute draw|"}));
    s.executor.instructions = {"meta"};
    s.Run("meta 1");
    EXPECT_EQ(s.executor.calls.back(), "execute meta|1");
}

TEST(IfTest, Branches)
{
    EXPECT_EQ(Calls("if yes [draw 1] else: [draw 2]\nif no [draw 3] else: [draw 4]\nif no [draw 5]"),
              (Strings{"execute draw|1", "execute draw|4"}));
    EXPECT_EQ(Calls("x = 2\nif [{$x > 1}] [draw big]\nIF {$x > 5} [draw huge]"), (Strings{"execute draw|big"}));
    EXPECT_EQ(ErrorOf("if Yes [draw]"), kInvalidBoolean);
    EXPECT_EQ(ErrorOf("if maybe [draw] else: [draw]"), kInvalidBoolean);
    EXPECT_EQ(ErrorOf("if yes"), (Failure{"syntax", "Missing argument(s)", ""}));
    EXPECT_EQ(ErrorOf("if yes [draw] [draw]"), (Failure{"syntax", "Unrecognized labels or too many arguments", ""}));
    EXPECT_EQ(ErrorOf("if maybe [draw] elsewise: [x]"),
              (Failure{"syntax", "Unrecognized labels or too many arguments", ""}));
}

TEST(ForTest, CountsInBothDirections)
{
    Script s;
    s.Run("for i from:3 to:1 [draw $i]\nfor j from:-2 to:0 [draw $j]\nfor k from:5 to:5 [draw $k]");
    EXPECT_EQ(s.executor.calls, (Strings{"execute draw|3", "execute draw|2", "execute draw|1", "execute draw|-2",
                                         "execute draw|-1", "execute draw|0", "execute draw|5"}));
    EXPECT_EQ(s.Var("i"), "1");
    // The counter is the built-in's own: changing the variable skips nothing.
    s.Run("n = 0; for i from:1 to:3 [i = 10; n = {$n + 1}]");
    EXPECT_EQ(s.Var("n"), "3");
    EXPECT_EQ(s.Var("i"), "10");
}

TEST(ForTest, StopsAtTheIntegerLimits)
{
    Script s;
    s.Run("n = 0; for i from:2147483646 to:2147483647 [n = {$n + 1}]");
    EXPECT_EQ(s.Var("n"), "2");
    EXPECT_EQ(s.Var("i"), "2147483647");
    s.Run("n = 0; for i from:-2147483647 to:-2147483648 [n = {$n + 1}]");
    EXPECT_EQ(s.Var("n"), "2");
    EXPECT_EQ(s.Var("i"), "-2147483648");
}

TEST(ForTest, IteratesOverLists)
{
    Script s;
    s.Run("list = [a, [b c] d]; for e in:$list [draw $e]\nfor e in:[x,,y] reverse:yes [draw <$e>]");
    EXPECT_EQ(s.executor.calls, (Strings{"execute draw|a", "execute draw|[b c]", "execute draw|d",
                                         "execute draw|<y>", "execute draw|<>", "execute draw|<x>"}));
    s.Run("v = kept; for v in:[] [draw]; for w in:[ ] reverse:no [draw]");
    EXPECT_EQ(s.Var("v"), "kept");
    EXPECT_EQ(s.Var("w"), "<undeclared>");
    EXPECT_EQ(s.executor.calls.size(), 6u);
}

TEST(ForTest, ArgumentErrors)
{
    const Failure unrecognized{"syntax", "Unrecognized labels or too many arguments", ""};
    EXPECT_EQ(ErrorOf("for i in:[a] from:1 [draw]"), unrecognized);
    EXPECT_EQ(ErrorOf("for i from:1 to:2 reverse:yes [draw]"), unrecognized);
    EXPECT_EQ(ErrorOf("for i in:[a] reverse:sure [draw]"), kInvalidBoolean);
    EXPECT_EQ(ErrorOf("for i from:1 [draw]"), (Failure{"syntax", "Missing argument(s)", ""}));
    EXPECT_EQ(ErrorOf("for i from:x to:y [draw]"), (Failure{"run-time", "Invalid integer", ""}));
    EXPECT_EQ(ErrorOf("for i from:1.5 to:2 [draw]"), (Failure{"run-time", "Invalid integer", ""}));
    EXPECT_EQ(ErrorOf("for [draw]"), (Failure{"syntax", "Missing argument(s)", ""}));
}

TEST(RepeatTest, CountsAndConditions)
{
    EXPECT_EQ(Calls("repeat 3 [draw]").size(), 3u);
    EXPECT_EQ(Calls("repeat 0 [draw] while:[$undefined]\nrepeat -5 [draw]"), Strings{});
    Script s;
    s.Run("n = 0; repeat 10 [n = {$n + 1}] while:[{$n < 2}]");
    EXPECT_EQ(s.Var("n"), "2");
    EXPECT_EQ(ErrorOf("repeat 3 [draw] while:yes"),
              (Failure{"syntax", "'while:' condition has to be enclosed in [ ]", ""}));
    EXPECT_EQ(ErrorOf("repeat 3 [draw] while:"), (Failure{"syntax", "'while:' condition has to be enclosed in [ ]", ""}));
    EXPECT_EQ(ErrorOf("repeat 3 [draw] while:[maybe]"), kInvalidBoolean);
    EXPECT_EQ(ErrorOf("repeat x [draw]"), (Failure{"run-time", "Invalid integer", ""}));
    EXPECT_EQ(ErrorOf("repeat 3"), (Failure{"syntax", "Missing argument(s)", ""}));
}

TEST(StopTest, EndsTheWholeRun)
{
    Script s;
    EXPECT_EQ(s.Error("draw 1\n[stop whatever {$nothing}]\ndraw 2"),
              (Failure{"run-time", "Variable does not exist", "stop whatever {$nothing}"}));
    EXPECT_EQ(s.Error("draw 1\nrepeat 5 [stop]\ndraw 2"), (Failure{"aborted", "Encountered STOP instruction", "stop"}));
    EXPECT_EQ(s.executor.calls, (Strings{"execute draw|1", "execute draw|1"}));
}

TEST(ControlTest, BlocksCountStatementsAndLevels)
{
    Script s(1000000, 3);
    s.Run("repeat 2 [draw]");
    // repeat, then per pass the bracketed block and its statement.
    EXPECT_EQ(s.executor.progressCount, 5u);
    EXPECT_EQ(s.Error("if yes [if yes [draw]]").message, "Recursion limit reached");
    Script budget(50);
    EXPECT_EQ(budget.Error("repeat 1000000000 [draw]").message, "Statements limit reached");
    EXPECT_EQ(budget.executor.callCount, 24u);
}

} // namespace
} // namespace ORDO
