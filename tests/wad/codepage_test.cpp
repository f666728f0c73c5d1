#include "wad/codepage.h"

#include <gtest/gtest.h>

namespace tarnlow {
namespace {

// Undefined bytes map to the C1 control of the same number; text outside
// the code page, or malformed, is refused.
TEST(Codepage, BytesMapToTheirWindowsCharactersAndBack) {
  const std::pair<char, const char*> cases[] = {{'\x41', "A"}, {'\x80', "\u20AC"}, {'\x8A', "\u0160"}, {'\x9F', "\u0178"},
                                                {'\xA0', "\u00A0"}, {'\xFF', "\u00FF"}, {'\x81', "\xC2\x81"}};
  for (const auto& [byte, utf8] : cases) {
    EXPECT_EQ(Cp1252ToUtf8(std::string(1, byte)), utf8);
    EXPECT_EQ(Utf8ToCp1252(utf8), std::string(1, byte));
  }
  std::string all;
  for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
  EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
  for (const char* text : {"\u0100", "\u20AD", "\xC2\x80", "\U0001F600", "\xC3", "\x80", "\xC0\xAF", "\xED\xA0\x80"}) {
    EXPECT_FALSE(Utf8ToCp1252(text)) << text;
  }
}

}  // namespace
}  // namespace tarnlow
