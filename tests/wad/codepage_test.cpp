#include "wad/codepage.h"

#include <gtest/gtest.h>

namespace tarnlow {
namespace {

TEST(Codepage, HighBytesMapToTheirWindowsCharacters) {
  const struct {
    unsigned char byte;
    const char* utf8;
  } cases[] = {
      {0x41, "A"},           {0x80, "\u20AC"}, {0x8A, "\u0160"}, {0x92, "\u2019"}, {0x99, "\u2122"},
      {0x9F, "\u0178"},      {0xA0, "\u00A0"}, {0xE9, "\u00E9"}, {0xFF, "\u00FF"},
      {0x81, "\xC2\x81"},    {0x9D, "\xC2\x9D"},  // undefined: the C1 control of the same number
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.byte));
    const std::string byte(1, static_cast<char>(c.byte));
    EXPECT_EQ(Cp1252ToUtf8(byte), c.utf8);
    EXPECT_EQ(Utf8ToCp1252(c.utf8), byte);
  }
}

TEST(Codepage, EveryByteSurvivesTheRoundTrip) {
  std::string all;
  for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
  EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
}

TEST(Codepage, TextOutsideTheCodePageOrMalformedIsRefused) {
  for (const char* text : {"\u0100", "\u20AD", "\xC2\x80", "\U0001F600", "\xC3", "\x80", "\xC0\xAF", "\xED\xA0\x80"}) {
    SCOPED_TRACE(text);
    EXPECT_FALSE(Utf8ToCp1252(text));
  }
}

}  // namespace
}  // namespace tarnlow
