#include "base/rc_string.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(RCString, SizeCountsTheTerminatingNulAcrossTheInlineLimit)
{
    for (size_t length : {0u, 1u, 14u, 15u, 16u, 17u, 100u}) {
        const std::string text(length, 'x');
        refString s(new Wex::rcString(text));
        EXPECT_EQ(s->GetSize(), static_cast<int64_t>(length) + 1);
        EXPECT_EQ(s->GetText(), text);
        EXPECT_EQ(s->GetChars()[length], '\0');
    }
}

TEST(RCString, KeepsEmbeddedNulBytes)
{
    const std::string text("a\0b", 3);
    refString s(new Wex::rcString(text));
    EXPECT_EQ(s->GetSize(), 4);
    EXPECT_EQ(s->GetText(), text);
}

TEST(RCString, OneSharedEmptyStringStandsForNoText)
{
    refString a = Wex::rcString::GetEmpty();
    refString b = Wex::MakeRCString("");
    EXPECT_EQ(a.Get(), b.Get());
    EXPECT_EQ(a->GetSize(), 1);
    a = nullptr;
    b = nullptr;
    // Still alive after every user let go.
    EXPECT_EQ(Wex::rcString::GetEmpty()->GetSize(), 1);
    EXPECT_NE(Wex::MakeRCString("a").Get(), Wex::MakeRCString("a").Get());
}

TEST(RCString, IsEqualComparesSizeAndBytes)
{
    refString abc = Wex::MakeRCString("abc");
    EXPECT_TRUE(abc->IsEqual(abc));
    EXPECT_TRUE(abc->IsEqual(Wex::MakeRCString("abc")));
    EXPECT_FALSE(abc->IsEqual(Wex::MakeRCString("abd")));
    EXPECT_FALSE(abc->IsEqual(Wex::MakeRCString("ab")));
    EXPECT_FALSE(abc->IsEqual(Wex::MakeRCString(std::string("abc\0", 4))));
    EXPECT_FALSE(abc->IsEqual(nullptr));
    EXPECT_TRUE(Wex::rcString::GetEmpty()->IsEqual(nullptr));
    EXPECT_TRUE(Wex::rcString::GetEmpty()->IsEqual(refString(new Wex::rcString(""))));
}

TEST(RCString, FindCharSearchesFromTheStartAndNeverFindsTheTerminator)
{
    refString s = Wex::MakeRCString("abcabc");
    int64_t index = -1;
    EXPECT_TRUE(s->FindChar(0, 'c', index));
    EXPECT_EQ(index, 2);
    EXPECT_TRUE(s->FindChar(3, 'c', index));
    EXPECT_EQ(index, 5);
    EXPECT_TRUE(s->FindChar(5, 'c', index));
    EXPECT_EQ(index, 5);
    index = -1;
    EXPECT_FALSE(s->FindChar(4, 'a', index));
    EXPECT_FALSE(s->FindChar(0, '\0', index));
    EXPECT_FALSE(s->FindChar(6, 'c', index));
    EXPECT_FALSE(s->FindChar(-1, 'a', index));
    EXPECT_FALSE(Wex::rcString::GetEmpty()->FindChar(0, '\0', index));
    EXPECT_EQ(index, -1);
    EXPECT_TRUE(Wex::MakeRCString("\xe9t\xe9")->FindChar(1, '\xe9', index));
    EXPECT_EQ(index, 2);
}

} // namespace
