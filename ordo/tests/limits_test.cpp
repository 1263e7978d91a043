#include <gtest/gtest.h>

#include <string>

#include "ordo/limits.h"
#include "ordo/tests/test_support.h"
#include "ordo/variables.h"

namespace ORDO {
namespace {

using Testing::Failure;
using Testing::FailureOf;
using Testing::Script;

constexpr const char* kTooLong = "Text length limit reached";

// A script whose variables "half" and "quarter" hold texts of half and a quarter the limit.
class LongTexts : public Script {
public:
    LongTexts()
    {
        variables.Declare("half", std::string(kMaxTextLength / 2, 'h'));
        variables.Declare("quarter", std::string(kMaxTextLength / 4, 'q'));
    }
};

TEST(TextLimitTest, ExpansionsReachTheLimitAndNoFurther)
{
    LongTexts s;
    EXPECT_EQ(s.context.Expand("$half$half").size(), kMaxTextLength);
    EXPECT_EQ(s.context.Expand("{($quarter) ($quarter) ($half)}").size(), kMaxTextLength);
    EXPECT_EQ(FailureOf([&] { s.context.Expand("$half$half!"); }), (Failure{"run-time", kTooLong, ""}));
    EXPECT_EQ(FailureOf([&] { s.context.Expand("{($half) ($half) 1}"); }).message, kTooLong);
    // A joined text counts even when the expression goes on to a value that is short.
    EXPECT_EQ(FailureOf([&] { s.context.Expand("{($half) ($half) x == 1}"); }).message, kTooLong);
    // Statements, the arguments expanded when they are taken, and the texts joined in them.
    EXPECT_EQ(s.Error("y = $half$half"), (Failure{"run-time", kTooLong, "y = $half$half"}));
    EXPECT_EQ(s.Error("y = $half [a] $quarter $quarter").message, kTooLong);
    EXPECT_EQ(s.Var("y"), "<undeclared>");
    EXPECT_EQ(s.Error("if [$half$half x] [draw]").message, kTooLong);
    EXPECT_EQ(s.Error("if [{($half) ($half) x} == 1] [draw]").message, kTooLong);
    EXPECT_TRUE(s.executor.calls.empty());
}

TEST(TextLimitTest, DoublingATextStopsAtTheLimitInAnyFrame)
{
    Script s;
    // The statement "x = ..." is one text: the value stops at half the limit.
    EXPECT_EQ(s.Error("x = a; repeat 40 [x = $x$x]").message, kTooLong);
    EXPECT_EQ(s.Var("x").size(), kMaxTextLength / 2);
    // A frame's own variables cannot grow further.
    EXPECT_EQ(s.Error("call [local y = a; repeat 40 [y = $y$y]]").message, kTooLong);
    EXPECT_EQ(s.Error("call [local y = a; repeat 40 [y = {($y) ($y)}]]").message, kTooLong);
}

TEST(TextLimitTest, ExpandedListsAndDebugLinesAreTextsToo)
{
    LongTexts s;
    s.variables.Declare("two", "[$half] [$half]");
    s.variables.Declare("three", "[$half] [$half] [$half]");
    s.Run("format orv-1 uses: [$two]");
    EXPECT_EQ(s.executor.calls.size(), 1u);
    EXPECT_EQ(s.Error("format orv-1 uses: [$three]").message, kTooLong);
    EXPECT_EQ(s.Error("format orv-1 requires: [$three]").message, kTooLong);
    EXPECT_EQ(s.executor.calls.size(), 1u);

    s.Run("_debug expand: yes a: [$quarter] b: [$quarter] c: [$quarter]");
    ASSERT_EQ(s.executor.traces.size(), 1u);
    // "|expand=yes|a=...|b=...|c=...|"
    EXPECT_EQ(s.executor.traces[0].size(), 3 * kMaxTextLength / 4 + 21);
    EXPECT_EQ(s.Error("_debug expand: yes a: [$quarter] b: [$quarter] c: [$quarter] d: [$quarter]").message,
              kTooLong);
    EXPECT_EQ(s.executor.traces.size(), 1u);
}

TEST(StoreLimitTest, AStoreRefusesTextsBeyondItsSize)
{
    Variables store;
    const std::string text(kMaxTextLength, 't');
    // Four texts of a quarter mebibyte and their bookkeeping do not fit into one mebibyte.
    int declared = 0;
    const Failure full = FailureOf([&] {
        for (; declared < 8; ++declared)
            store.Declare("v" + std::to_string(declared), text);
    });
    EXPECT_EQ(full, (Failure{"run-time", "Could not set variable", ""}));
    EXPECT_EQ(declared, 3);
    std::string value;
    EXPECT_FALSE(store.Get("v3", value));
    // A value too large keeps the old one; a smaller one makes room.
    EXPECT_EQ(FailureOf([&] { store.Set("v0", text + text); }).message, "Could not set variable");
    ASSERT_TRUE(store.Get("v0", value));
    EXPECT_EQ(value, text);
    EXPECT_TRUE(store.Set("v0", ""));
    EXPECT_TRUE(store.Declare("v3", text));
    // Declaring a name that exists changes nothing and is no error.
    EXPECT_FALSE(store.Declare("v3", text));
}

TEST(StoreLimitTest, EveryFrameHasAStoreOfThatSize)
{
    Script s;
    // As long as a statement may make it.
    const size_t length = kMaxTextLength - 16;
    s.variables.Declare("big", std::string(length, 'b'));
    EXPECT_EQ(s.Error("for i [v$i = $big] from: 1 to: 8").message, "Could not set variable");
    EXPECT_EQ(s.Var("v2").size(), length);
    EXPECT_EQ(s.Var("v3"), "<undeclared>");
    // With the global store full, a frame still holds as much of its own, and no more.
    s.Run("call [for i [local w$i = $big] from: 1 to: 3; draw done]");
    EXPECT_EQ(s.executor.calls.back(), "execute draw|done");
    EXPECT_EQ(s.Error("call [for i [local w$i = $big] from: 1 to: 4]").message, "Could not set variable");
}

} // namespace
} // namespace ORDO
