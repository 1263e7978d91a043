#include "base/encoding.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace std::string_literals;

TEST(Encoding, Latin1AndWideRoundTripAndLoseWhatLatin1Lacks)
{
    std::string all;
    for (int b = 0; b < 256; ++b) {
        all.push_back(static_cast<char>(b));
    }
    const std::wstring wide = Wex::Latin1ToWide(all);
    ASSERT_EQ(wide.size(), 256u);
    EXPECT_EQ(wide[0xe9], L'\u00e9');
    EXPECT_EQ(Wex::WideToLatin1(wide), all);
    EXPECT_EQ(Wex::WideToLatin1(L"a\u20acb\U0001F600"), "a?b?");
}

TEST(Encoding, UTF8DecodesAndReplacesMalformedSequences)
{
    EXPECT_EQ(Wex::UTF8ToWide("caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80"), L"caf\u00e9 \u20ac \U0001F600");
    EXPECT_EQ(Wex::UTF8ToWide("\xc3"), L"\ufffd");                 // truncated
    EXPECT_EQ(Wex::UTF8ToWide("\xc0\xaf"), L"\ufffd\ufffd");       // overlong lead
    EXPECT_EQ(Wex::UTF8ToWide("\xe0\x80\xaf"), L"\ufffd");         // overlong
    EXPECT_EQ(Wex::UTF8ToWide("\xed\xa0\x80"), L"\ufffd");         // surrogate
    EXPECT_EQ(Wex::UTF8ToWide("\xf4\x90\x80\x80"), L"\ufffd");     // above U+10FFFF
    EXPECT_EQ(Wex::UTF8ToWide("\xe2\x82x"), L"\ufffdx");           // bad continuation
    EXPECT_EQ(Wex::UTF8ToWide("a\0b"s), L"a\0b"s);
}

TEST(Encoding, WideToUTF8RoundTrips)
{
    const std::wstring text = L"x\u00e9\u0800\uffff\U00010000\U0010FFFF";
    EXPECT_EQ(Wex::UTF8ToWide(Wex::WideToUTF8(text)), text);
    EXPECT_EQ(Wex::WideToUTF8(std::wstring(1, static_cast<wchar_t>(0xd800))), "\xef\xbf\xbd");
}

TEST(Encoding, UTF16VectorsCutEachCharacterToOneUnit)
{
    const ref<Wex::rcVector<UniChar>> units = Wex::WideToUTF16(L"A\u00e9\u20ac");
    ASSERT_EQ(units->GetSize(), 3);
    EXPECT_EQ(std::u16string(units->GetData()), u"A\u00e9\u20ac");
    EXPECT_EQ(Wex::WideToUTF16(L"\U0001F600")->GetData()[0], 0xf600);
}

TEST(Encoding, UTF16ToLatin1GivesTerminatedBytes)
{
    const std::u16string text = u"A\u00e9\u20ac\U0001F600z";
    Wex::rcVector<UniChar> units(text.data(), static_cast<int64_t>(text.size()));
    const ref<Wex::rcVector<char>> bytes = Wex::UTF16ToLatin1(units);
    EXPECT_EQ(bytes->GetSize(), 5);
    EXPECT_STREQ(bytes->GetData(), "A\xe9??z");
    EXPECT_EQ(Wex::ToRCString(units)->GetText(), "A\xe9??z");
    Wex::rcVector<UniChar> empty;
    EXPECT_EQ(Wex::ToRCString(empty).Get(), Wex::rcString::GetEmpty().Get());
    EXPECT_EQ(Wex::UTF16ToLatin1(empty)->GetData()[0], '\0');
}

} // namespace
