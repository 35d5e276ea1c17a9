#include <gtest/gtest.h>

#include "encoding/text_encoding.h"

namespace xamu {
namespace {

TEST(Windows1252, HighBytesMapToTheirCharactersBothWays) {
  const std::string bytes = "\x80\x81\x8A\x9F\xA0\xE9\xF1\xFF";
  const std::u16string text = u"\u20AC\u0081\u0160\u0178\u00A0\u00E9\u00F1\u00FF";
  EXPECT_EQ(Windows1252ToUtf16(bytes), text);
  EXPECT_EQ(Utf16ToWindows1252(text), bytes);
}

TEST(Windows1252, CharactersItCannotHoldBecomeQuestionMarks) {
  EXPECT_EQ(Utf16ToWindows1252(u"a\u0100b\U0001F600c"), "a?b?c");
}

TEST(Utf8, SurrogatePairsConvertAndBrokenInputIsReplaced) {
  EXPECT_EQ(Utf16ToUtf8(u"A\u00F1\U0001F600"), "A\xC3\xB1\xF0\x9F\x98\x80");
  EXPECT_EQ(Utf8ToUtf16("A\xC3\xB1\xF0\x9F\x98\x80"), u"A\u00F1\U0001F600");
  const std::u16string lone_surrogate = {u'a', char16_t{0xD800}, u'b'};
  EXPECT_EQ(Utf16ToUtf8(lone_surrogate),
            "a\xEF\xBF\xBD"
            "b");
  EXPECT_EQ(Utf8ToUtf16("a\xC3"), u"a\uFFFD");
  EXPECT_EQ(Utf8ToUtf16("\xC0\xAF"), u"\uFFFD\uFFFD") << "overlong forms are refused";
  EXPECT_EQ(Utf8ToUtf16("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD") << "encoded surrogates are refused";
}

}  // namespace
}  // namespace xamu
