#include "wad/codepage.h"

#include <gtest/gtest.h>

namespace tarnlow {
namespace {

// Undefined bytes map to the C1 control of the same number.
TEST(Codepage, BytesMapToTheirWindowsCharactersAndBack) {
  const std::pair<unsigned char, const char*> cases[] = {
      {0x41, "A"}, {0x80, "\u20AC"}, {0x8A, "\u0160"}, {0x9F, "\u0178"}, {0xA0, "\u00A0"}, {0xFF, "\u00FF"},
      {0x81, "\xC2\x81"}, {0x9D, "\xC2\x9D"},
  };
  for (const auto& [byte, utf8] : cases) {
    SCOPED_TRACE(static_cast<int>(byte));
    EXPECT_EQ(Cp1252ToUtf8(std::string(1, static_cast<char>(byte))), utf8);
    EXPECT_EQ(Utf8ToCp1252(utf8), std::string(1, static_cast<char>(byte)));
  }
  std::string all;
  for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
  EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
}

TEST(Codepage, TextOutsideTheCodePageOrMalformedIsRefused) {
  for (const char* text : {"\u0100", "\u20AD", "\xC2\x80", "\U0001F600", "\xC3", "\x80", "\xC0\xAF", "\xED\xA0\x80"}) {
    EXPECT_FALSE(Utf8ToCp1252(text)) << text;
  }
}

}  // namespace
}  // namespace tarnlow
