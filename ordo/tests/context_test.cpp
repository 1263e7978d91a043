#include "ordo/interpreter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "ordo/tests/test_support.h"

namespace ORDO {
namespace {

using Testing::Failure;
using Testing::FailureOf;
using Testing::Script;

TEST(VariablesTest, DeclareSetAndGet)
{
    Variables variables;
    std::string value = "untouched";
    EXPECT_FALSE(variables.Get("a", value));
    EXPECT_EQ(value, "untouched");
    EXPECT_FALSE(variables.Set("a", "1"));
    EXPECT_FALSE(variables.Get("a", value));
    EXPECT_TRUE(variables.Declare("a", "1"));
    EXPECT_FALSE(variables.Declare("a", "2"));
    EXPECT_TRUE(variables.Get("a", value));
    EXPECT_EQ(value, "1");
    EXPECT_TRUE(variables.Set("a", "3"));
    EXPECT_TRUE(variables.Get("a", value));
    EXPECT_EQ(value, "3");
    EXPECT_FALSE(variables.Get("A", value)); // names are case-sensitive
    EXPECT_TRUE(variables.Declare("", "empty name"));
    EXPECT_TRUE(variables.Get("", value));
    EXPECT_EQ(value, "empty name");
}

TEST(VariablesTest, ManyNamesKeepTheirOwnValues)
{
    // More names than a store keeps at hand, alike in length and first letters.
    Variables variables;
    const std::vector<std::string> names = {"ab", "ac", "ba", "a", "abc", "b", "aa", "x.y-z"};
    for (const std::string& name : names)
        EXPECT_TRUE(variables.Declare(name, "declared " + name));
    for (int round = 0; round < 3; ++round) {
        for (size_t i = 0; i < names.size(); ++i) {
            const std::string& name = names[(i * 3 + size_t(round)) % names.size()];
            std::string value;
            EXPECT_TRUE(variables.Get(name, value));
            EXPECT_EQ(value, (round == 0 ? "declared " : "set ") + name);
            EXPECT_TRUE(variables.Set(name, "set " + name));
        }
    }
    std::string value = "untouched";
    EXPECT_FALSE(variables.Get("ad", value));
    EXPECT_FALSE(variables.Get("abcd", value));
    EXPECT_FALSE(variables.Set("", "x"));
    EXPECT_EQ(value, "untouched");
}

TEST(VariablesTest, LargeStoresFindEveryName)
{
    // Names in shuffled order, with bytes above 127, prefixes of one another and the empty name.
    std::vector<std::string> names = {"", "\xE9", "\xE9t\xE9", "z", "Z", "_"};
    for (int i = 0; i < 200; ++i)
        names.push_back("v" + std::to_string(i * 7919 % 1000));
    for (int i = 0; i < 30; ++i)
        names.push_back(std::string(size_t(i % 5 + 1), char('a' + i % 3)) + (i % 2 ? "\x80" : "."));
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    std::mt19937 random(3);
    std::shuffle(names.begin(), names.end(), random);
    Variables variables;
    for (size_t i = 0; i < names.size(); ++i) {
        ASSERT_TRUE(variables.Declare(names[i], std::to_string(i))) << i;
        ASSERT_FALSE(variables.Declare(names[i / 2], "again"));
    }
    for (size_t i = 0; i < names.size(); ++i) {
        std::string value;
        ASSERT_TRUE(variables.Get(names[i], value)) << names[i];
        EXPECT_EQ(value, std::to_string(i));
        ASSERT_TRUE(variables.Set(names[i], value + "!"));
    }
    for (size_t i = 0; i < names.size(); ++i) {
        std::string value;
        ASSERT_TRUE(variables.Get(names[i], value));
        EXPECT_EQ(value, std::to_string(i) + "!");
        EXPECT_FALSE(variables.Get(names[i] + "\x01", value));
    }
}

TEST(ContextTest, RootNestedAndFrameContexts)
{
    Testing::RecordingExecutor executor, other;
    Variables variables, frameVariables;
    Interpreter root(executor, variables, 10, 4);
    EXPECT_EQ(root.executor, &executor);
    EXPECT_EQ(root.variables, &variables);
    EXPECT_EQ(root.parent, nullptr);
    EXPECT_EQ(root.root, &root);
    EXPECT_EQ(root.statementsLeft, 10u);
    EXPECT_EQ(root.recursionLeft, 4u);

    root.recursionLeft = 3;
    Interpreter frame = Interpreter::Frame(root, frameVariables);
    EXPECT_EQ(frame.executor, &executor);
    EXPECT_EQ(frame.variables, &frameVariables);
    EXPECT_EQ(frame.parent, &root);
    EXPECT_EQ(frame.root, &root);
    EXPECT_EQ(frame.recursionLeft, 3u);

    Interpreter nested = Interpreter::Nest(other, frame);
    EXPECT_EQ(nested.executor, &other);
    EXPECT_EQ(nested.variables, &frameVariables);
    EXPECT_EQ(nested.parent, &root);
    EXPECT_EQ(nested.root, &root);
    EXPECT_EQ(nested.recursionLeft, 3u);
}

TEST(ContextTest, ExceptionsCarryMessageAndStatement)
{
    const RunTimeException error("Invalid number", "x = {a + 1}");
    const Exception& base = error;
    EXPECT_STREQ(base.what(), "Invalid number");
    EXPECT_EQ(base.statement, "x = {a + 1}");
    EXPECT_EQ(FailureOf([] { ThrowSyntaxError("Missing ]"); }), (Failure{"syntax", "Missing ]", ""}));
    EXPECT_EQ(FailureOf([] { ThrowRunTimeError("Math error"); }), (Failure{"run-time", "Math error", ""}));
    EXPECT_THROW(throw FormatException("x"), Exception);
    EXPECT_THROW(throw AbortedException("x"), std::exception);
}

TEST(LimitsTest, StatementsLimitStopsBeforeProgress)
{
    Script script(3);
    EXPECT_EQ(script.Error("draw 1; draw 2; draw 3; draw 4; draw 5"),
              (Failure{"run-time", "Statements limit reached", "draw 4"}));
    EXPECT_EQ(script.executor.progress, (std::vector<uint32_t>{3, 2, 1}));
    EXPECT_EQ(script.executor.calls, (std::vector<std::string>{"execute draw|1", "execute draw|2", "execute draw|3"}));
    EXPECT_EQ(script.context.statementsLeft, 0u);
    // Nothing resets the budget: a second run goes on with what is left.
    EXPECT_EQ(script.Error("draw 6"), (Failure{"run-time", "Statements limit reached", "draw 6"}));

    Script none(0);
    EXPECT_EQ(none.Error(""), (Failure{"run-time", "Statements limit reached", ""}));
    EXPECT_TRUE(none.executor.progress.empty());
}

TEST(LimitsTest, ProgressSeesEveryStatementIncludingEmptyOnes)
{
    Script script(10);
    script.Run("");
    script.Run("// only a comment");
    script.Run("draw;\n");
    EXPECT_EQ(script.executor.progress, (std::vector<uint32_t>{10, 9, 8, 7}));
}

TEST(LimitsTest, ProgressCanAbort)
{
    Script script;
    script.executor.abortAfter = 2;
    EXPECT_EQ(script.Error("draw 1\ndraw 2\ndraw 3"), (Failure{"aborted", "Aborted", "draw 2"}));
    EXPECT_EQ(script.executor.calls, (std::vector<std::string>{"execute draw|1"}));
}

TEST(LimitsTest, RecursionLimitCountsBlocks)
{
    Script zero(100, 0);
    EXPECT_EQ(zero.Error("draw"), (Failure{"run-time", "Recursion limit reached", ""}));
    EXPECT_EQ(zero.context.recursionLeft, 0u);
    EXPECT_TRUE(zero.executor.progress.empty());

    Script one(100, 1);
    EXPECT_EQ(one.Error("[draw]"), (Failure{"run-time", "Recursion limit reached", "[draw]"}));
    EXPECT_EQ(one.context.recursionLeft, 1u); // counted up again on the way out

    Script two(100, 2);
    two.Run("[draw]; [draw]");
    EXPECT_EQ(two.executor.callCount, 2u);
    EXPECT_EQ(two.context.recursionLeft, 2u);
}

TEST(LimitsTest, NestedContextsShareTheStatementBudget)
{
    Script script(5);
    Testing::RecordingExecutor inner;
    script.executor.onExecute = [&](Interpreter& context, const std::string&, std::string_view text) {
        Interpreter nested = Interpreter::Nest(inner, context);
        nested.RunBlock(text);
    };
    EXPECT_EQ(script.Error("draw [draw 1; draw 2; draw 3; draw 4; draw 5]"),
              (Failure{"run-time", "Statements limit reached", "draw 4"}));
    // The bracketed text is one statement of the nested run, its inside the next ones.
    EXPECT_EQ(inner.progress, (std::vector<uint32_t>{4, 3, 2, 1}));
    EXPECT_EQ(script.executor.progress, (std::vector<uint32_t>{5}));
}

TEST(LimitsTest, NestedContextsCarryTheRecursionLeft)
{
    Script script(100, 3);
    Testing::RecordingExecutor inner;
    script.executor.onExecute = [&](Interpreter& context, const std::string&, std::string_view text) {
        EXPECT_EQ(context.recursionLeft, 1u); // two blocks enclose the statement
        Interpreter nested = Interpreter::Nest(inner, context);
        nested.RunBlock(text);
    };
    EXPECT_EQ(script.Error("[draw [[x]]]"), (Failure{"run-time", "Recursion limit reached", "[[x]]"}));
    EXPECT_EQ(script.context.recursionLeft, 3u);
}

} // namespace
} // namespace ORDO
