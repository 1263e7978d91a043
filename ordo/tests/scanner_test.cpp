#include "ordo/scanner.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ordo/tests/test_support.h"

namespace ORDO {
namespace {

using Testing::Failure;
using Testing::FailureOf;

// Cuts a text into statements the way the block runner does.
std::vector<std::string> Statements(std::string_view text)
{
    std::vector<std::string> statements;
    const char* const end = text.data() + text.size();
    for (const char* p = text.data();;) {
        const char* const start = SkipBlank(p, end);
        const char* const stop = FindStatementEnd(start, end);
        statements.emplace_back(start, stop);
        if (stop == end)
            break;
        p = stop;
        if (*p == ';' && ++p == end)
            break;
    }
    return statements;
}

size_t Skip(const char* (*scan)(const char*, const char*), std::string_view text)
{
    return size_t(scan(text.data(), text.data() + text.size()) - text.data());
}

Failure ScanError(const char* (*scan)(const char*, const char*), std::string_view text)
{
    return FailureOf([&] { Skip(scan, text); });
}

uint32_t Decode(std::string_view text, size_t* used = nullptr)
{
    uint32_t code = 12345;
    const char* const next = DecodeEscape(text.data(), text.data() + text.size(), code);
    if (used != nullptr)
        *used = size_t(next - text.data());
    return code;
}

using Strings = std::vector<std::string>;

TEST(ScannerTest, StatementsEndAtSemicolonsAndLineEnds)
{
    EXPECT_EQ(Statements("a;b"), (Strings{"a", "b"}));
    EXPECT_EQ(Statements("a\nb"), (Strings{"a", "b"}));
    EXPECT_EQ(Statements("a\r\nb\rc"), (Strings{"a", "b", "c"}));
    EXPECT_EQ(Statements("a;"), (Strings{"a"}));
    EXPECT_EQ(Statements("a; "), (Strings{"a", ""}));
    EXPECT_EQ(Statements("a\n"), (Strings{"a", ""}));
    EXPECT_EQ(Statements(""), (Strings{""}));
    EXPECT_EQ(Statements("x \\; y"), (Strings{"x \\; y"}));
}

TEST(ScannerTest, ContinuationMarkJoinsLines)
{
    EXPECT_EQ(Statements("a\n  ..b"), (Strings{"a\n  ..b"}));
    EXPECT_EQ(Statements("a\r\n\t..b c\nd"), (Strings{"a\r\n\t..b c", "d"}));
    // A single '.' continues nothing.
    EXPECT_EQ(Statements("a\n .b"), (Strings{"a", ".b"}));
}

TEST(ScannerTest, GroupsAndCommentsHideStatementEnds)
{
    EXPECT_EQ(Statements("[x;y]"), (Strings{"[x;y]"}));
    EXPECT_EQ(Statements("[x;y] z"), (Strings{"[x;y]", "z"}));
    EXPECT_EQ(Statements("x [1;2] y"), (Strings{"x [1;2] y"}));
    EXPECT_EQ(Statements("x {1\n2} y"), (Strings{"x {1\n2} y"}));
    EXPECT_EQ(Statements("x // c;d\ne"), (Strings{"x // c;d", "e"}));
    EXPECT_EQ(Statements("x /* ;\n */ y"), (Strings{"x /* ;\n */ y"}));
    EXPECT_EQ(Statements("x\\\r\ny"), (Strings{"x\\\r\ny"}));
    EXPECT_EQ(Statements("x / y;z"), (Strings{"x / y", "z"}));
}

TEST(ScannerTest, TrailingBackslashEndsAtTheEnd)
{
    EXPECT_EQ(Statements("a\\"), (Strings{"a\\"}));
    EXPECT_EQ(Skip(SkipBlank, "  \\"), 2u);
    EXPECT_EQ(ScanError(SkipBrackets, "[a\\"), (Failure{"syntax", "Missing ]", ""}));
}

TEST(ScannerTest, SkipBlankSkipsCommentsAndContinuations)
{
    EXPECT_EQ(Skip(SkipBlank, "/* a */ b"), 8u);
    EXPECT_EQ(Skip(SkipBlank, " // note\n  x"), 11u);
    EXPECT_EQ(Skip(SkipBlank, "\n  ..x"), 5u);
    EXPECT_EQ(Skip(SkipBlank, " \v"), 1u); // vertical tab is no blank
    EXPECT_EQ(Skip(SkipBlank, " /x"), 1u);
    EXPECT_EQ(Skip(SkipBlank, "   "), 3u);
    EXPECT_EQ(Skip(SkipComment, "// a\r\nb"), 4u);
    EXPECT_EQ(Skip(SkipComment, "/**/x"), 4u);
}

TEST(ScannerTest, UnclosedCommentsAndGroupsAreReported)
{
    EXPECT_EQ(ScanError(SkipBlank, "/*/"), (Failure{"syntax", "Missing */", ""}));
    EXPECT_EQ(ScanError(FindStatementEnd, "a /* b"), (Failure{"syntax", "Missing */", ""}));
    EXPECT_EQ(ScanError(SkipBrackets, "[ { ] }"), (Failure{"syntax", "Missing ]", ""}));
    EXPECT_EQ(ScanError(SkipBrackets, "{ [ } ]"), (Failure{"syntax", "Missing }", ""}));
    EXPECT_EQ(ScanError(SkipBrackets, "[ // ]\n"), (Failure{"syntax", "Missing ]", ""}));
    EXPECT_EQ(ScanError(SkipBrackets, "[ \\]"), (Failure{"syntax", "Missing ]", ""}));
    EXPECT_EQ(ScanError(SkipBrackets, "[ /* ]"), (Failure{"syntax", "Missing */", ""}));
    EXPECT_EQ(ScanError(FindStatementEnd, "x {"), (Failure{"syntax", "Missing }", ""}));
}

TEST(ScannerTest, SkipBracketsMatchesItsOwnKind)
{
    EXPECT_EQ(Skip(SkipBrackets, "[a]b"), 3u);
    EXPECT_EQ(Skip(SkipBrackets, "{ ] }x"), 5u);
    EXPECT_EQ(Skip(SkipBrackets, "[ { ] } ]x"), 9u);
    EXPECT_EQ(Skip(SkipBrackets, "[ \\] ]x"), 6u);
    EXPECT_EQ(Skip(SkipBrackets, "[ // ]\n]x"), 8u);
    EXPECT_EQ(Skip(SkipBrackets, "[ /* ] */ ]x"), 11u);
}

TEST(ScannerTest, DeepNestingNeedsNoStack)
{
    const size_t depth = 200000;
    std::string text(depth, '[');
    text.append(depth, ']');
    EXPECT_EQ(Skip(SkipBrackets, text), text.size());

    // Alternating kinds well past the first 256 levels: every closer must match its own kind,
    // and a closer of the other kind stays ordinary at every depth.
    std::string mixed;
    for (size_t i = 0; i < 1000; ++i)
        mixed += (i % 3 == 0) ? "{]" : "[}";
    for (size_t i = 1000; i-- > 0;)
        mixed += (i % 3 == 0) ? '}' : ']';
    EXPECT_EQ(Skip(SkipBrackets, mixed + "x"), mixed.size());
    EXPECT_EQ(ScanError(SkipBrackets, mixed.substr(0, mixed.size() - 1)), (Failure{"syntax", "Missing }", ""}));
    EXPECT_EQ(ScanError(SkipBrackets, mixed.substr(0, mixed.size() - 2)), (Failure{"syntax", "Missing ]", ""}));
}

TEST(ScannerTest, EscapesDecode)
{
    size_t used;
    EXPECT_EQ(Decode("x41"), 65u);
    EXPECT_EQ(Decode("u0041"), 65u);
    EXPECT_EQ(Decode("65"), 65u);
    EXPECT_EQ(Decode("xg", &used), 0u);
    EXPECT_EQ(used, 1u);
    EXPECT_EQ(Decode("x414", &used), 0x41u);
    EXPECT_EQ(used, 3u);
    EXPECT_EQ(Decode("u12345", &used), 0x1234u);
    EXPECT_EQ(used, 5u);
    EXPECT_EQ(Decode("x4", &used), 4u); // cut short by the end
    EXPECT_EQ(used, 2u);
    EXPECT_EQ(Decode("q"), uint32_t('q'));
    EXPECT_EQ(Decode("\\"), uint32_t('\\'));
    EXPECT_EQ(Decode("\xE9"), 233u);
    const char letters[] = "abfnrtv";
    const uint32_t codes[] = {7, 8, 12, 10, 13, 9, 11};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(Decode(std::string(1, letters[i])), codes[i]) << letters[i];
    EXPECT_EQ(Decode("0012x", &used), 12u);
    EXPECT_EQ(used, 4u);
}

TEST(ScannerTest, LongDecimalEscapesSaturate)
{
    EXPECT_EQ(Decode("2147483647"), 2147483647u);
    EXPECT_EQ(Decode("2147483648"), 2147483647u);
    EXPECT_EQ(Decode("99999999999999999999"), 2147483647u);
    // 2^32 + 65 would wrap to 65 in 32 bits; it must stay far above 255.
    EXPECT_GT(Decode("4294967361"), 255u);
}

TEST(ScannerTest, UnescapeDecodesOutsideBracketGroups)
{
    EXPECT_EQ(Unescape("a\\tb"), (std::u32string{'a', 9, 'b'}));
    EXPECT_EQ(Unescape("[\\t]\\t"), (std::u32string{'[', '\\', 't', ']', 9}));
    EXPECT_EQ(Unescape("{\\t}"), (std::u32string{'{', 9, '}'}));
    EXPECT_EQ(Unescape("ab\\"), U"ab");
    EXPECT_EQ(Unescape("\xE9"), std::u32string(1, char32_t(233)));
    EXPECT_EQ(Unescape("\\u20ac"), std::u32string(1, char32_t(0x20AC)));
    EXPECT_EQ(Unescape(""), U"");
}

TEST(ScannerTest, HexDigitsShiftOutAtTheTop)
{
    const auto hex = [](std::string_view text, size_t& used) {
        uint32_t value = 99;
        used = size_t(ParseHexDigits(text.data(), text.data() + text.size(), value) - text.data());
        return value;
    };
    size_t used;
    EXPECT_EQ(hex("fF", used), 255u);
    EXPECT_EQ(used, 2u);
    EXPECT_EQ(hex("123456789abc", used), 0x56789abcu);
    EXPECT_EQ(used, 12u);
    EXPECT_EQ(hex("g1", used), 0u);
    EXPECT_EQ(used, 0u);
    EXPECT_EQ(hex("", used), 0u);
}

} // namespace
} // namespace ORDO
