#include "platform/text.h"

#include <gtest/gtest.h>

namespace {

TEST(PlatformText, Latin1BecomesUTF8CodePointForCodePoint) {
  EXPECT_EQ(Platform::Latin1ToUTF8("abc"), "abc");
  EXPECT_EQ(Platform::Latin1ToUTF8("caf\xE9"), "caf\xC3\xA9");
  EXPECT_EQ(Platform::Latin1ToUTF8(std::string_view("\x00\x7F\x80\xFF", 4)),
            std::string("\x00\x7F\xC2\x80\xC3\xBF", 6));
}

TEST(PlatformText, UTF16PairsDecodeAndLoneSurrogatesBecomeReplacement) {
  const char16_t text[] = {u'A', 0x00E9, 0x20AC, 0xD83D, 0xDE00};
  EXPECT_EQ(Platform::UTF16ToUTF8(text, 5), "A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80");

  const char16_t lone[] = {0xD800, u'x', 0xDC00, 0xD83D};
  EXPECT_EQ(Platform::UTF16ToUTF8(lone, 4), "\xEF\xBF\xBDx\xEF\xBF\xBD\xEF\xBF\xBD");
  EXPECT_EQ(Platform::UTF16ToUTF8(nullptr, 0), "");
}

TEST(PlatformText, UTF8ToLatin1ReplacesWhatLatin1Lacks) {
  EXPECT_EQ(Platform::UTF8ToLatin1("caf\xC3\xA9", '_'), "caf\xE9");
  EXPECT_EQ(Platform::UTF8ToLatin1("1\xE2\x82\xAC and \xF0\x9F\x98\x80", '_'), "1_ and _");
}

TEST(PlatformText, MalformedUTF8BecomesLossBytesWithoutOverrun) {
  // A truncated sequence at the end, a stray continuation byte, an overlong form and an encoded
  // surrogate each lose their bytes one by one.
  EXPECT_EQ(Platform::UTF8ToLatin1("a\xE2\x82", '_'), "a__");
  EXPECT_EQ(Platform::UTF8ToLatin1("\x80z", '_'), "_z");
  EXPECT_EQ(Platform::UTF8ToLatin1("\xC0\xAF", '_'), "__");
  EXPECT_EQ(Platform::UTF8ToLatin1("\xED\xA0\x80", '?'), "???");
  EXPECT_EQ(Platform::UTF8ToLatin1("\xF4\x90\x80\x80", '?'), "????");
}

TEST(PlatformText, RoundTripOfEveryLatin1Byte) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(Platform::UTF8ToLatin1(Platform::Latin1ToUTF8(all), '_'), all);
}

}  // namespace
