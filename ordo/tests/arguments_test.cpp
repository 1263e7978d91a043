#include "ordo/arguments.h"

#include <gtest/gtest.h>

#include <limits>
#include <map>
#include <string>
#include <vector>

#include "ordo/tests/test_support.h"

namespace ORDO {
namespace {

using Testing::Failure;
using Testing::FailureOf;
using Strings = std::vector<std::string>;

constexpr size_t kNoLimit = std::numeric_limits<size_t>::max();

// Items written as "label=value" ("=value" when unlabelled).
Strings Items(std::string_view text)
{
    Strings written;
    for (const ArgumentItem& item : ParseArgumentItems(text))
        written.push_back(item.label + "=" + item.value);
    return written;
}

Failure ItemsError(std::string_view text)
{
    return FailureOf([&] { ParseArgumentItems(text); });
}

TEST(ArgumentItemsTest, LabelsAndValues)
{
    EXPECT_EQ(Items("a b: c d:e"), (Strings{"=a", "b=c", "d=e"}));
    EXPECT_EQ(Items("b: c: d"), (Strings{"b=", "c=d"}));
    EXPECT_EQ(Items("[x y]: 1"), (Strings{"x y=1"}));
    EXPECT_EQ(Items("{x}:[1 2]"), (Strings{"x=[1 2]"}));
    EXPECT_EQ(Items("last:"), (Strings{"last="}));
    EXPECT_EQ(Items("last:  "), (Strings{"last="}));
    EXPECT_EQ(Items("  a [b c]d {e f} "), (Strings{"=a", "=[b c]d", "={e f}"}));
    EXPECT_EQ(Items("a\\ b c\\:d"), (Strings{"=a\\ b", "=c\\:d"}));
    EXPECT_EQ(Items("a//c\nb /* x */ d"), (Strings{"=a", "=b", "=d"}));
    EXPECT_EQ(Items("#1 -2 x-y.z:_"), (Strings{"=#1", "=-2", "x-y.z=_"}));
    EXPECT_EQ(Items(""), Strings{});
}

TEST(ArgumentItemsTest, MalformedItems)
{
    EXPECT_EQ(ItemsError(": 1"), (Failure{"syntax", "Label cannot be empty", ""}));
    EXPECT_EQ(ItemsError("[]: 1"), (Failure{"syntax", "Label cannot be empty", ""}));
    EXPECT_EQ(ItemsError("a:b:c"), (Failure{"syntax", "Syntax error", ""}));
    EXPECT_EQ(ItemsError("a:[b"), (Failure{"syntax", "Missing ]", ""}));
    Testing::Script s;
    EXPECT_EQ(FailureOf([&] { Arguments(s.context, "A: 1 a: 2"); }), (Failure{"syntax", "Duplicate labels", ""}));
}

TEST(ArgumentsTest, TakingValues)
{
    Testing::Script s;
    s.variables.Declare("x", "1");
    Arguments arguments(s.context, "[ $x ] Label:[{$x + 1}] plain:[a] other:b");
    EXPECT_THROW(arguments.CheckAnyUsed(), SyntaxException);
    EXPECT_EQ(arguments.GetPositional(0, false), "[ $x ]");
    EXPECT_EQ(arguments.GetPositional(0, true), "1");
    EXPECT_NO_THROW(arguments.CheckAnyUsed());
    // An expanded value is computed once and kept.
    s.variables.Set("x", "5");
    EXPECT_EQ(arguments.GetPositional(0, true), "1");
    EXPECT_EQ(arguments.GetLabelled("label", true), "6");
    EXPECT_EQ(arguments.FindLabelled("Label", true), nullptr); // labels are looked up in lower case
    EXPECT_EQ(arguments.FindPositional(1, true), nullptr);
    EXPECT_EQ(FailureOf([&] { arguments.GetPositional(1, false); }), (Failure{"syntax", "Missing argument(s)", ""}));
    EXPECT_EQ(FailureOf([&] { arguments.GetLabelled("absent", false); }),
              (Failure{"syntax", "Missing argument(s)", ""}));
    EXPECT_EQ(*arguments.FindLabelled("plain", false), "[a]");
    EXPECT_EQ(FailureOf([&] { arguments.CheckAllUsed(); }),
              (Failure{"syntax", "Unrecognized labels or too many arguments", ""}));
    EXPECT_EQ(*arguments.FindLabelled("other", true), "b");
    EXPECT_NO_THROW(arguments.CheckAllUsed());

    Arguments empty(s.context, "");
    EXPECT_NO_THROW(empty.CheckAllUsed());
    EXPECT_EQ(FailureOf([&] { empty.CheckAnyUsed(); }), (Failure{"syntax", "Missing argument(s)", ""}));
}

TEST(ArgumentsTest, AFailedExpansionLeavesNothingBehind)
{
    // A host may catch an error of its argument and take the argument again later.
    Testing::Script s;
    Arguments arguments(s.context, "[a $v]");
    EXPECT_EQ(FailureOf([&] { arguments.GetPositional(0, true); }),
              (Failure{"run-time", "Variable does not exist", ""}));
    s.variables.Declare("v", "1");
    EXPECT_EQ(arguments.GetPositional(0, true), "a 1");
}

TEST(ArgumentsTest, SortArgumentsLowerCasesLabelsAndLetTheLastWin)
{
    std::map<std::string, std::string> labelled;
    Strings positional{"before"};
    EXPECT_EQ(SortArguments(ParseArgumentItems("a X:1 b x:2 Y:3"), labelled, positional), 3u);
    EXPECT_EQ(positional, (Strings{"before", "a", "b"}));
    EXPECT_EQ(labelled, (std::map<std::string, std::string>{{"x", "2"}, {"y", "3"}}));
}

TEST(SplitListTest, CommasAndBlanksSeparate)
{
    Testing::Script s;
    s.variables.Declare("x", "1");
    const auto split = [&](std::string_view text, bool expand = false, bool dropEmpty = false) {
        Strings list;
        SplitList(s.context, text, list, expand, dropEmpty, 0, kNoLimit);
        return list;
    };
    EXPECT_EQ(split("a,,b"), (Strings{"a", "", "b"}));
    EXPECT_EQ(split("a,"), (Strings{"a", ""}));
    EXPECT_EQ(split(",a"), (Strings{"", "a"}));
    EXPECT_EQ(split(" a b , c\n d "), (Strings{"a", "b", "c", "d"}));
    EXPECT_EQ(split(""), Strings{});
    EXPECT_EQ(split("   "), Strings{});
    EXPECT_EQ(split("a\\,b [1, 2],{3 4}"), (Strings{"a\\,b", "[1, 2]", "{3 4}"}));
    EXPECT_EQ(split("[{$x + 1}], [ ], z", true), (Strings{"2", "", "z"}));
    EXPECT_EQ(split("a,,b,[ ]", true, true), (Strings{"a", "b"}));
    EXPECT_EQ(split("a /* , */ b // c"), (Strings{"a", "b"}));
}

TEST(SplitListTest, CountsAreChecked)
{
    Testing::Script s;
    Strings list{"kept"};
    EXPECT_EQ(SplitList(s.context, "a b", list, false, false, 2, 3), 3u);
    EXPECT_EQ(list, (Strings{"kept", "a", "b"}));
    Strings none;
    EXPECT_EQ(FailureOf([&] { SplitList(s.context, "1 2", none, false, false, 3, 4); }),
              (Failure{"syntax", "Too few list elements", ""}));
    EXPECT_EQ(FailureOf([&] { SplitList(s.context, "1 2 3", none, false, false, 0, 2); }),
              (Failure{"syntax", "Too many list elements", ""}));
}

} // namespace
} // namespace ORDO
