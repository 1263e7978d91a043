#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ordo/interpreter.h"
#include "ordo/tests/test_support.h"

namespace ORDO {
namespace {

using Testing::Failure;
using Testing::Script;
using Strings = std::vector<std::string>;

// A store that refuses every declaration.
class RefusingVariables : public Variables {
public:
    bool Declare(std::string_view, std::string_view) override { return false; }
};

TEST(StatementTest, AssignmentsDeclareGlobalsAndKeepTheirText)
{
    Script s;
    s.Run("x = 5\nX = 6\ny=7;z =  8\nw = a  /* c */ b\nv =\nu = [a  b]\nt = $x$x\nr = {$x + 1}\nq = { 1/4 }");
    EXPECT_EQ(s.Var("x"), "5");
    EXPECT_EQ(s.Var("X"), "6");
    EXPECT_EQ(s.Var("y"), "7");
    EXPECT_EQ(s.Var("z"), "8");
    EXPECT_EQ(s.Var("w"), "a b");
    EXPECT_EQ(s.Var("v"), "");
    EXPECT_EQ(s.Var("u"), "[a  b]");
    EXPECT_EQ(s.Var("t"), "55");
    EXPECT_EQ(s.Var("r"), "6");
    EXPECT_EQ(s.Var("q"), "0.25");
    s.Run("x = $x$x");
    EXPECT_EQ(s.Var("x"), "55");
}

// Only spaces and tabs part a name from its '=' or its arguments, and an '=' from its value: a
// value that expands to text that starts like a comment is kept as it stands.
TEST(StatementTest, ValuesThatLookLikeCommentsAreKept)
{
    const struct {
        const char* script;
        const char* name;
        const char* value;
    } cases[] = {
        {"v = {\\/\\/c}", "v", "//c"},
        {"v =\t{\\/\\*x}", "v", "/*x"},
        {"local v = {\\/\\/c}", "v", "//c"},
        {"call [return v = {\\/\\*x}]", "v", "/*x"},
    };
    for (const auto& c : cases) {
        Script s;
        s.Run(c.script);
        EXPECT_EQ(s.Var(c.name), c.value) << c.script;
    }
    Script s;
    s.Run("rect {\\/\\/c}\nrect\t{\\/\\*x} 1");
    EXPECT_EQ(s.executor.calls, (Strings{"execute rect|//c", "execute rect|/*x 1"}));
}

TEST(StatementTest, AssignmentsReachTheFirstStoreOutwardThatHasTheName)
{
    Script s;
    s.variables.Declare("g", "0");
    Variables frameVariables;
    frameVariables.Declare("own", "0");
    Interpreter frame = Interpreter::Frame(s.context, frameVariables);
    frame.RunBlock("g = 1; own = 2; fresh = 3");
    EXPECT_EQ(s.Var("g"), "1");
    EXPECT_EQ(s.Var("own"), "<undeclared>");
    EXPECT_EQ(s.Var("fresh"), "3");
    std::string value;
    EXPECT_TRUE(frameVariables.Get("own", value));
    EXPECT_EQ(value, "2");

    Testing::RecordingExecutor executor;
    RefusingVariables refusing;
    Interpreter root(executor, refusing, 100, 10);
    EXPECT_EQ(Testing::FailureOf([&] { root.RunBlock("a = 1"); }),
              (Failure{"run-time", "Could not set variable", "a = 1"}));
}

TEST(StatementTest, ExpansionCollapsesBlanksAndKeepsGroups)
{
    Script s;
    s.variables.Declare("x", "1");
    s.variables.Declare("e", "");
    s.variables.Declare("x-y", "dash");
    Interpreter& c = s.context;
    EXPECT_EQ(c.Expand("  a \t /* c */ b // d"), "a b");
    EXPECT_EQ(c.Expand("a\n  ..b"), "a b");
    EXPECT_EQ(c.Expand("a{1}b$x"), "a1b1");
    EXPECT_EQ(c.Expand("$x $x"), "1 1");
    EXPECT_EQ(c.Expand("$e $x"), "1");
    EXPECT_EQ(c.Expand("a $e b"), "a  b"); // each stretch of blanks stays one blank
    EXPECT_EQ(c.Expand("a {} b"), "a  b");
    EXPECT_EQ(c.Expand(" a b\tc "), "a b c");
    EXPECT_EQ(c.Expand("$x-y"), "dash");
    EXPECT_EQ(c.Expand("[ $x  {1} ] \\$x \\ "), "[ $x  {1} ] \\$x \\ ");
    EXPECT_EQ(c.Expand("{} { } x"), "x");
    EXPECT_EQ(c.Expand("{yes} {1 < 2}"), "yes yes");
    EXPECT_EQ(Testing::FailureOf([&] { c.Expand("{ 1 + }"); }), (Failure{"syntax", "Syntax error", ""}));
    EXPECT_EQ(Testing::FailureOf([&] { c.Expand("{ 1 2 )"); }), (Failure{"syntax", "Syntax error", ""}));
    EXPECT_EQ(Testing::FailureOf([&] { c.Expand("a $ b"); }), (Failure{"syntax", "Syntax error", ""}));
    EXPECT_EQ(Testing::FailureOf([&] { c.Expand("$undefined"); }),
              (Failure{"run-time", "Variable does not exist", ""}));
}

TEST(StatementTest, StatementShapes)
{
    Script s;
    s.Run("Rect 1 2\nrect#1\nDRAW\n[ draw a; draw b ]\nmeta anything\n\n  ;draw   c  ");
    EXPECT_EQ(s.executor.calls, (Strings{"execute rect|1 2", "execute rect|#1", "execute draw|", "execute draw|a",
                                         "execute draw|b", "execute draw|c"}));
    EXPECT_EQ(s.Error("9 = 1"), (Failure{"syntax", "Invalid intruction", "9 = 1"}));
    EXPECT_EQ(s.Error("=x"), (Failure{"syntax", "Invalid intruction", "=x"}));
    EXPECT_EQ(s.Error("frobnicate  $e"), (Failure{"run-time", "Variable does not exist", "frobnicate  $e"}));
    s.Run("e = 1");
    EXPECT_EQ(s.Error("frobnicate  $e"), (Failure{"syntax", "Unrecognized instruction", "frobnicate 1"}));
}

TEST(StatementTest, EveryBlockRunsAtLeastOneStatement)
{
    const struct {
        const char* block;
        size_t statements;
    } cases[] = {{"", 1}, {"// only a comment", 1}, {"a = 1;", 1}, {"a = 1; ", 2}, {"a = 1\n", 2},
                 {"a = 1;;", 2}, {"[a = 1]", 2}, {"[a = 1] [b = 2]", 4}};
    for (const auto& c : cases) {
        Script s;
        s.Run(c.block);
        EXPECT_EQ(s.executor.progress.size(), c.statements) << c.block;
    }
}

TEST(StatementTest, ErrorsCarryTheInnermostStatement)
{
    Script s;
    // Cut: from the statement's first character to the end of the block.
    EXPECT_EQ(s.Error("draw 1\ndraw [ 2\n draw 3"), (Failure{"syntax", "Missing ]", "draw [ 2\n draw 3"}));
    // Skipped blanks: from where the skipping began.
    EXPECT_EQ(s.Error("draw 1\n  /* open"), (Failure{"syntax", "Missing */", "\n  /* open"}));
    // Expansion: the statement as written.
    EXPECT_EQ(s.Error("y = 2\nx = {$y  / 0}"), (Failure{"run-time", "Division by zero", "x = {$y  / 0}"}));
    // Execution: the expanded statement; in a nested block the inner one.
    EXPECT_EQ(s.Error("[draw; [ foo   {1+1} ]]"), (Failure{"syntax", "Unrecognized instruction", "foo 2"}));
    // A host error passes with the statement added.
    s.executor.onExecute = [](Interpreter&, const std::string&, std::string_view) {
        ThrowRunTimeError("Value out of range");
    };
    EXPECT_EQ(s.Error("rect  1"), (Failure{"run-time", "Value out of range", "rect 1"}));
}

TEST(StatementTest, AnErrorEndsTheWholeRun)
{
    Script s;
    EXPECT_EQ(s.Error("a = 1\n[b = 2; [c = {1/0}]; d = 4]\ne = 5").message, "Division by zero");
    EXPECT_EQ(s.Var("a"), "1");
    EXPECT_EQ(s.Var("b"), "2");
    EXPECT_EQ(s.Var("d"), "<undeclared>");
    EXPECT_EQ(s.Var("e"), "<undeclared>");
    EXPECT_EQ(s.context.recursionLeft, 100u);
}

TEST(StatementTest, ABlockRunAgainIsCutByItsTextAsItIsThen)
{
    Script s;
    std::string block;
    block.reserve(64); // the texts below share one buffer
    block = "draw 1; draw 2";
    s.Run(block);
    s.Run(block);
    block = "draw 12;draw 3"; // the same address and length
    s.Run(block);
    block = "draw 4\n  ..5 [;] // ;";
    s.Run(block);
    EXPECT_EQ(s.executor.calls, (Strings{"execute draw|1", "execute draw|2", "execute draw|1", "execute draw|2",
                                         "execute draw|12", "execute draw|3", "execute draw|4 5 [;]"}));
    // A block whose run ended early is cut again: its later statements may not be cut at all.
    s.Run("d = 0");
    block = "draw 6; x = {1 / $d}; draw [7";
    EXPECT_EQ(s.Error(block), (Failure{"run-time", "Division by zero", "x = {1 / $d}"}));
    s.Run("d = 1");
    EXPECT_EQ(s.Error(block), (Failure{"syntax", "Missing ]", "draw [7"}));
    // Blocks of many statements run the same every time.
    block.clear();
    for (int i = 0; i < 20; ++i)
        block += "n = {$n + 1}\n";
    s.Run("n = 0");
    s.Run(block);
    s.Run(block);
    EXPECT_EQ(s.Var("n"), "40");
}

TEST(StatementTest, OtherExceptionsPassUnchanged)
{
    Script s;
    s.executor.onExecute = [](Interpreter&, const std::string&, std::string_view) { throw std::bad_alloc(); };
    EXPECT_THROW(s.Run("[[draw]]"), std::bad_alloc);
    EXPECT_EQ(s.context.recursionLeft, 100u);
}

} // namespace
} // namespace ORDO
