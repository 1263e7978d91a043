#include "base/key_value.h"

#include <gtest/gtest.h>

#include "base/exceptions.h"
#include "base/text.h"

namespace {

using Items = std::vector<std::string>;

std::string FormatError(std::string_view text)
{
    try {
        Wex::ParseKeyValueMap(text);
    } catch (const FormatException& e) {
        return e.what();
    }
    return "no error";
}

TEST(ParseList, SplitsOnCommasAndSemicolonsInsideOptionalBraces)
{
    EXPECT_EQ(Wex::ParseList("a, b;c"), (Items{"a", "b", "c"}));
    EXPECT_EQ(Wex::ParseList(" { 10, 20, w - 20 } "), (Items{"10", "20", "w - 20"}));
    EXPECT_EQ(Wex::ParseList("{}"), Items{});
    EXPECT_EQ(Wex::ParseList(""), Items{});
    EXPECT_EQ(Wex::ParseList("a,b,"), (Items{"a", "b"}));
    EXPECT_EQ(Wex::ParseList("a,,b"), (Items{"a", "", "b"}));
}

TEST(ParseList, KeepsBlocksAndQuotedStringsRaw)
{
    EXPECT_EQ(Wex::ParseList("{ {1, {2}}, \"x, }\", 'y' }"), (Items{"{1, {2}}", "\"x, }\"", "'y'"}));
    EXPECT_EQ(Wex::ParseList("{a,b},{c}"), (Items{"{a,b}", "{c}"}));
    EXPECT_EQ(Wex::ParseList("{set, {x, 1}}"), (Items{"set", "{x, 1}"}));
    EXPECT_EQ(Wex::ParseList("it's, fine"), (Items{"it's", "fine"}));
}

TEST(ParseList, CommentsCountAsBlanksAndLineEndsEndItems)
{
    EXPECT_EQ(Wex::ParseList("a // c;d\n, b /* x, /* nested, */ y */ , c"), (Items{"a", "b", "c"}));
    EXPECT_EQ(Wex::ParseList("one two\nthree"), (Items{"one two", "three"}));
    EXPECT_EQ(Wex::ParseList("{ a, /* } */ b }"), (Items{"a", "b"}));
    EXPECT_EQ(Wex::ParseList("a/b, c"), (Items{"a/b", "c"}));
}

TEST(ParseList, AppendsToTheGivenVector)
{
    Items items{"first"};
    Wex::ParseListInto("{x, y}", items);
    EXPECT_EQ(items, (Items{"first", "x", "y"}));
}

TEST(ParseKeyValue, ReadsKeysAndRawValues)
{
    const Velto::Description d = Wex::ParseKeyValueMap(
        "{ type: vector; bounds = {0, 0, w, h}, \"odd key\": 'v, w' , empty:, last: 2 }");
    EXPECT_EQ(d, (Velto::Description{{"type", "vector"},
                                      {"bounds", "{0, 0, w, h}"},
                                      {"odd key", "'v, w'"},
                                      {"empty", ""},
                                      {"last", "2"}}));
}

TEST(ParseKeyValue, FirstOfTwoEqualKeysWinsAlsoAgainstTheMap)
{
    EXPECT_EQ(Wex::ParseKeyValueMap("a: 1, a: 2")["a"], "1");
    std::map<std::string, std::string> entries{{"a", "0"}};
    Wex::ParseKeyValueText("a: 1; b: 2", entries);
    EXPECT_EQ(entries, (std::map<std::string, std::string>{{"a", "0"}, {"b", "2"}}));
}

TEST(ParseKeyValue, EntriesMayBeSeparatedByLineEndsAndNest)
{
    const char* text = R"(
        // a description
        type: group
        views: {
            { type: rect, color: red }  /* first */
            { type: caption, text: "a } b" }
        }
        hint: 'it\'s'
    )";
    Velto::Description d = Wex::ParseKeyValueMap(text);
    EXPECT_EQ(d["type"], "group");
    EXPECT_EQ(d["hint"], "'it\\'s'");
    EXPECT_TRUE(Wex::IsBlockText(d["views"]));
    const Items views = Wex::ParseList(d["views"]);
    ASSERT_EQ(views.size(), 2u);
    EXPECT_EQ(Wex::ParseKeyValueMap(views[1])["text"], "\"a } b\"");
    EXPECT_EQ(d["absent"], "");
}

TEST(ParseKeyValue, ReportsWhatIsMissing)
{
    EXPECT_EQ(FormatError("a: \"open"), "Missing \"");
    EXPECT_EQ(FormatError("a: 'open"), "Missing '");
    EXPECT_EQ(FormatError("{ a: 1"), "Missing }");
    EXPECT_EQ(FormatError("a: {1, {2}"), "Missing }");
    EXPECT_EQ(FormatError("a: 1 /* /* */"), "Missing */");
    EXPECT_EQ(FormatError("a 1"), "Missing ':' or '=' after key: \"a 1\"");
    EXPECT_EQ(FormatError("a"), "Missing ':' or '=' after key: \"a\"");
    EXPECT_EQ(FormatError(": 1"), "Missing key: : 1");
    EXPECT_EQ(FormatError("a: 1 }"), "Missing key: }");
    EXPECT_THROW(Wex::ParseList("a, }"), FormatException);
    EXPECT_THROW(Wex::ParseList("a, \"b"), Exception);
}

TEST(ParseKeyValue, DeepNestingNeedsNoRecursion)
{
    const std::string deep = "a: " + std::string(100000, '{') + std::string(100000, '}');
    EXPECT_EQ(Wex::ParseKeyValueMap(deep)["a"].size(), 200000u);
    std::string comments = "a: 1 ";
    for (int i = 0; i < 100000; ++i) {
        comments += "/*";
    }
    EXPECT_EQ(FormatError(comments), "Missing */");
}

TEST(WriteKeyValue, QuotesWhereNeededAndReadsBack)
{
    const std::map<std::string, std::string> entries{
        {"plain", "value"},     {"space", "a b"},   {"punct", "x,y;z=w:v}u/t"}, {"tab", "\t"},
        {"empty", ""},          {"quote", "'q"},    {"brace", "{open"},          {"high", "caf\xe9"},
        {"block", "{ a: 1 }"}, {"odd key", "1"},    {"k{ey", "\va"},            {"", "x"},
    };
    const std::string text = Wex::WriteKeyValueText(entries);
    EXPECT_NE(text.find("plain: value"), std::string::npos);
    EXPECT_NE(text.find("high: caf\xe9"), std::string::npos);
    EXPECT_NE(text.find("block: { a: 1 }"), std::string::npos);
    EXPECT_NE(text.find("space: \"a b\""), std::string::npos);
    const Velto::Description back = Wex::ParseKeyValueMap(text);
    ASSERT_EQ(back.size(), entries.size());
    for (const auto& [key, value] : entries) {
        EXPECT_EQ(Wex::Unquote(back.at(key)), value) << key;
    }
}

} // namespace
