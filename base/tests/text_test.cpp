#include "base/text.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>

namespace {

using namespace std::string_literals;

TEST(Quote, EscapesControlQuoteAndHighBytes)
{
    EXPECT_EQ(Wex::Quote("abc"), "\"abc\"");
    EXPECT_EQ(Wex::Quote(""), "\"\"");
    EXPECT_EQ(Wex::Quote("\b\t\n\v\f\r\"'\\"), R"("\b\t\n\v\f\r\"\'\\")");
    EXPECT_EQ(Wex::Quote("\x01\x1f\x7f\x80\xe9\xff"s), R"("\x01\x1f\x7f\x80\xe9\xff")");
    EXPECT_EQ(Wex::Quote("a\0b"s), R"("a\x00b")");
}

TEST(Unquote, ResolvesEscapesOfQuotedText)
{
    EXPECT_EQ(Wex::Unquote(R"("a\tb\nc")"), "a\tb\nc");
    EXPECT_EQ(Wex::Unquote(R"('it\'s')"), "it's");
    EXPECT_EQ(Wex::Unquote(R"("\b\f\r\v\\\"")"), "\b\f\r\v\\\"");
    EXPECT_EQ(Wex::Unquote(R"("\x41\x4a\xe9")"), "AJ\xe9");
    EXPECT_EQ(Wex::Unquote(R"("\x4g")"), "\x04g");
    EXPECT_EQ(Wex::Unquote(R"("\xg")"), "xg");
    EXPECT_EQ(Wex::Unquote(R"("\101\0\7z\8")"), "A\0\az8"s);
    EXPECT_EQ(Wex::Unquote(R"("\q\u0041")"), "qu0041");
    EXPECT_EQ(Wex::Unquote("''"), "");
}

TEST(Unquote, LeavesOtherTextUnchanged)
{
    EXPECT_EQ(Wex::Unquote("plain \\n"), "plain \\n");
    EXPECT_EQ(Wex::Unquote("\"open"), "\"open");
    EXPECT_EQ(Wex::Unquote("\"a\" b"), "\"a\" b");
    EXPECT_EQ(Wex::Unquote("\"a'"), "\"a'");
    EXPECT_EQ(Wex::Unquote("\""), "\"");
    EXPECT_EQ(Wex::Unquote(R"("ends in escape\")"), R"("ends in escape\")");
}

TEST(Unquote, RoundTripsQuoteForEveryByte)
{
    std::string all;
    for (int b = 0; b < 256; ++b) {
        all.push_back(static_cast<char>(b));
    }
    EXPECT_EQ(Wex::Unquote(Wex::Quote(all)), all);
}

TEST(UnquoteWide, KnowsUnicodeEscapesAndReadsPlainTextAsLatin1)
{
    EXPECT_EQ(Wex::UnquoteWide(R"("\u20ac and \l0001F600")"), L"\u20ac and \U0001F600");
    EXPECT_EQ(Wex::UnquoteWide(R"('\xe9\u41')"), L"\u00e9A");
    EXPECT_EQ(Wex::UnquoteWide("caf\xe9"), L"caf\u00e9");
    EXPECT_EQ(Wex::UnquoteWide(R"("\ux")"), L"ux");
}

TEST(StringToValue, BoolIgnoresCaseAndFallsBack)
{
    EXPECT_TRUE(Wex::StringToBool("TRUE", false));
    EXPECT_FALSE(Wex::StringToBool("fAlSe", true));
    EXPECT_TRUE(Wex::StringToBool("", true));
    EXPECT_FALSE(Wex::StringToBool("yes", false));
    EXPECT_FALSE(Wex::StringToBool(" true", false));
}

TEST(StringToValue, IntegersUseBaseZeroAndCutTo32Bits)
{
    EXPECT_EQ(Wex::StringToInt("42", 7), 42);
    EXPECT_EQ(Wex::StringToInt("  -0x1F rest", 7), -31);
    EXPECT_EQ(Wex::StringToInt("017", 7), 15);
    EXPECT_EQ(Wex::StringToInt("0xffffffff", 7), -1);
    EXPECT_EQ(Wex::StringToInt("x", 7), 7);
    EXPECT_EQ(Wex::StringToInt("", 7), 7);
    EXPECT_EQ(Wex::StringToUInt("0xff000000", 1), 0xff000000u);
    EXPECT_EQ(Wex::StringToUInt("-1", 1), 0xffffffffu);
    EXPECT_EQ(Wex::StringToUInt("0x1ffffffff", 1), 0xffffffffu);
    EXPECT_EQ(Wex::StringToUInt("z", 1), 1u);
}

TEST(StringToValue, DoublesIgnoreTheLocale)
{
    // Where a German locale is installed, its decimal comma must not change anything.
    const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
    std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    EXPECT_EQ(Wex::StringToDouble("1.5e2x", 0), 150.0);
    EXPECT_EQ(Wex::StringToDouble(-1.0, "nothing"), -1.0);
    EXPECT_EQ(Wex::StringToFloat("0.1", 0), 0.1f);
    EXPECT_EQ(Wex::StringToFloat(".", 2), 2.0f);
    EXPECT_EQ(Wex::DoubleToString(2.5), "2.5");
    EXPECT_EQ(Wex::MakeRCString(0.5, 2)->GetText(), "0.50");
    std::setlocale(LC_NUMERIC, previous.c_str());
}

TEST(StringToValue, UnsignedNumberTextMustBeWhole)
{
    EXPECT_TRUE(Wex::IsUnsignedNumberText("0xff00ff00"));
    EXPECT_TRUE(Wex::IsUnsignedNumberText("  +12"));
    EXPECT_TRUE(Wex::IsUnsignedNumberText("-3"));
    EXPECT_TRUE(Wex::IsUnsignedNumberText("0"));
    EXPECT_FALSE(Wex::IsUnsignedNumberText(""));
    EXPECT_FALSE(Wex::IsUnsignedNumberText("12 "));
    EXPECT_FALSE(Wex::IsUnsignedNumberText("0x"));
    EXPECT_FALSE(Wex::IsUnsignedNumberText("red"));
    EXPECT_FALSE(Wex::IsUnsignedNumberText("5\0"s));
}

TEST(ValueToString, FormatsLikePrintf)
{
    EXPECT_EQ(Wex::DoubleToString(0.1 + 0.2), "0.3");
    EXPECT_EQ(Wex::DoubleToString(1e20), "1e+20");
    EXPECT_EQ(Wex::DoubleToString(123456789012345.0), "1.2345678901234e+14");
    EXPECT_EQ(Wex::DoubleToString(-0.0), "-0");
    EXPECT_EQ(Wex::IntToString(-2147483647 - 1), "-2147483648");
    EXPECT_EQ(Wex::MakeRCString(-12L)->GetText(), "-12");
    EXPECT_EQ(Wex::MakeRCString(2.0 / 3.0, 3)->GetText(), "0.667");
    EXPECT_EQ(Wex::MakeRCString(2.5, 0)->GetText(), "2");
    EXPECT_EQ(Wex::MakeRCString(1e300, 1)->GetSize(), 304);
    EXPECT_EQ(Wex::MakeRCString(0.000012345, -1)->GetText(), "1.2345e-05");
    EXPECT_EQ(Wex::MakeRCString(1.0, -5)->GetText(), "1.000000");
    const refString wide = Wex::MakeRCString(0.5, 1100);
    EXPECT_EQ(wide->GetSize(), 1103);
    EXPECT_EQ(wide->GetText().substr(0, 4), "0.50");
    EXPECT_EQ(wide->GetText().find_first_not_of('0', 3), std::string_view::npos);
}

TEST(LetterCase, FollowsLatin1)
{
    EXPECT_EQ(Wex::ToUpperCase("abc xyz \xe0\xe9\xfe \xf7\xff\xdf\xb5"), "ABC XYZ \xc0\xc9\xde \xf7\xff\xdf\xb5");
    EXPECT_EQ(Wex::ToLowerCase("ABC \xc0\xc9\xde\xd7 @[`{"), "abc \xe0\xe9\xfe\xd7 @[`{");
}

TEST(ReplaceAll, DoesNotRescanReplacedText)
{
    EXPECT_EQ(Wex::ReplaceAll("aaa", "a", "aa"), "aaaaaa");
    EXPECT_EQ(Wex::ReplaceAll("abab", "ab", "b"), "bb");
    EXPECT_EQ(Wex::ReplaceAll("aaaa", "aa", "a"), "aa");
    EXPECT_EQ(Wex::ReplaceAll("l1\r\nl2\n", "\n", ""), "l1\rl2");
    EXPECT_EQ(Wex::ReplaceAll("abc", "", "x"), "abc");
    EXPECT_EQ(Wex::ReplaceAll("", "a", "b"), "");
}

} // namespace
