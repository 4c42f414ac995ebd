#include "platform/os/text_encoding.h"

#include <gtest/gtest.h>

namespace {

TEST(TextEncoding, Utf8Validity) {
  EXPECT_TRUE(IsValidUtf8(""));
  EXPECT_TRUE(IsValidUtf8("plain ASCII"));
  EXPECT_TRUE(IsValidUtf8("線形補完 €𝄞"));
  EXPECT_FALSE(IsValidUtf8("\x95\x5C\x8E\x44"));  // code page 932
  EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));          // overlong '/'
  EXPECT_FALSE(IsValidUtf8("\xE0\x80\xAF"));      // overlong
  EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));      // surrogate
  EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80"));  // above U+10FFFF
  EXPECT_FALSE(IsValidUtf8("\xE7\xB7"));          // cut short
  EXPECT_FALSE(IsValidUtf8("\x80"));
}

TEST(TextEncoding, CodePage932) {
  EXPECT_EQ(Cp932ToUtf8("\x95\x5C\x8E\x44"), "表札");
  EXPECT_EQ(Cp932ToUtf8("C:\\dir\\\x83\x5C.bmp"), "C:\\dir\\ソ.bmp");  // backslash stays, no yen sign
  EXPECT_EQ(Cp932ToUtf8("\x87\x40\xB1"), "①ｱ");                     // NEC row and half-width kana
  EXPECT_EQ(Cp932ToUtf8("a\xFF" "b"), "a\xEF\xBF\xBD" "b");          // undefined byte
  EXPECT_EQ(Cp932ToUtf8("ab\x95"), "ab\xEF\xBF\xBD");                // lead byte at the end
}

TEST(TextEncoding, DisplayTextPrefersUtf8) {
  EXPECT_EQ(DisplayText("最近補完"), "最近補完");
  EXPECT_EQ(DisplayText("\x8D\xC5\x8B\xDF\x95\xE2\x8A\xAE"), "最近補完");
  EXPECT_EQ(DisplayText(std::string("a\0b", 3)), std::string("a\0b", 3));
}

}  // namespace

TEST(TextEncoding, OnOneLineEscapesControlCharactersOnly) {
  const std::pair<std::string, std::string> cases[] = {
      {"texture.jpg Box {\n8;", "texture.jpg Box {\\n8;"},
      {"a\tb\rc", "a\\tb\\rc"},
      {"\x1B[31mred\x7F", "\\x1B[31mred\\x7F"},
      {std::string("a\0b", 3), "a\\x00b"},
      {"表札 C:\\dir\\\x83\x5C.bmp", "表札 C:\\dir\\\x83\x5C.bmp"},  // backslashes and CP932 bytes stay
  };
  for (const auto& [text, line] : cases) EXPECT_EQ(OnOneLine(text), line);
}

TEST(TextEncoding, AsciiCaseFoldingTouchesLettersOnly) {
  EXPECT_TRUE(EqualsIgnoringAsciiCase("TextureFileName", "texturefilename"));
  EXPECT_FALSE(EqualsIgnoringAsciiCase("[", "{"));  // 0x5B and 0x7B differ only in the case bit
  EXPECT_FALSE(EqualsIgnoringAsciiCase("@", "`"));
  EXPECT_FALSE(EqualsIgnoringAsciiCase("\x83\x5c", "\x83\x7c"));  // a CP932 trail byte is not a letter
  EXPECT_FALSE(EqualsIgnoringAsciiCase("Model.x", "Model.x "));
}
