#include "platform/mac_cf_object.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string TextOf(const aref<Wex::rcVector<char>>& v) { return {v->GetData(), static_cast<std::size_t>(v.GetSize())}; }

TEST(MacCFObject, Latin1VectorRoundTripsAndIsTerminated) {
  const std::string bytes = "Gr\xFC\xDF" "e \xA9";
  Wex::rcVector<char> latin1(bytes.data(), static_cast<int64_t>(bytes.size()));
  ref<Wex::rcMacCFObject> string = Wex::CreateCFString(latin1);
  ASSERT_NE(string->GetObjectAs<Platform::rcCFString>(), nullptr);
  EXPECT_EQ(string->GetObjectAs<Platform::rcCFString>()->GetUTF8(), "Gr\xC3\xBC\xC3\x9F" "e \xC2\xA9");

  aref<Wex::rcVector<char>> back = Wex::CFStringToLatin1(string.Get(), '_');
  ASSERT_TRUE(back);
  EXPECT_EQ(TextOf(back), bytes);
  EXPECT_EQ(back->GetData()[back.GetSize()], '\0');
}

TEST(MacCFObject, UTF16CharactersOutsideLatin1BecomeTheLossByte) {
  const UniChar units[] = {u'5', 0x20AC, u' ', 0x00E9, 0xD834, 0xDD1E, 0xDC00};
  Wex::rcVector<UniChar> utf16(units, 7);
  aref<Wex::rcVector<char>> latin1 = Wex::CFStringToLatin1(Wex::CreateCFString(utf16).Get(), 0x5F);
  ASSERT_TRUE(latin1);
  EXPECT_EQ(TextOf(latin1), "5_ \xE9__");
}

TEST(MacCFObject, NothingToConvertGivesNull) {
  EXPECT_FALSE(Wex::CFStringToLatin1(nullptr, '_'));
  Wex::rcVector<char> empty;
  EXPECT_FALSE(Wex::CFStringToLatin1(Wex::CreateCFString(empty).Get(), '_'));
  ref<Wex::rcMacCFObject> notAString(new Wex::rcMacCFObject(ref<Wex::rc>(new Wex::rcVector<char>(3))));
  EXPECT_FALSE(Wex::CFStringToLatin1(notAString.Get(), '_'));
}

TEST(MacCFObject, HolderKeepsTheObjectAliveAndReleasesIt) {
  ref<Platform::rcCFString> text(new Platform::rcCFString("x"));
  {
    ref<Wex::rcMacCFObject> holder(new Wex::rcMacCFObject(text));
    EXPECT_EQ(text->GetReferenceCount(), 2);
    EXPECT_EQ(holder->GetObject(), text.Get());
  }
  EXPECT_EQ(text->GetReferenceCount(), 1);
}

}  // namespace
