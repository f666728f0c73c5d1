#include "ui/registry.h"

#include <gtest/gtest.h>

#include "tests/ui/support/scripted_platform.h"

namespace tarnlow::ui::test {
namespace {

const std::string kKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";

std::vector<std::uint8_t> BytesOf(const std::string& text) { return {text.begin(), text.end()}; }

TEST(GetKeyValue, ReadsValuesByTheirBytesAndClosesTheKey) {
  const std::string full(1024, 'a');
  const struct { const char* name; MemoryRegistry::Value value; std::string expected; } cases[] = {
      {"string with its zero", {kRegSz, BytesOf(std::string("C:\\msinfo32.exe") + '\0')}, "C:\\msinfo32.exe"},
      {"string without a zero", {kRegSz, BytesOf("C:\\x.exe")}, "C:\\x.exe"},
      {"only the last zero goes", {kRegSz, BytesOf(std::string("ab\0\0", 4))}, std::string("ab\0", 3)},
      {"1024 bytes without zero", {kRegSz, BytesOf(full)}, full},
      {"1024 bytes ending in zero", {kRegSz, BytesOf(full.substr(0, 1023) + '\0')}, full.substr(0, 1023)},
      {"Windows-1252 text", {kRegSz, {'c', 0xE9}}, "c\xC3\xA9"},
      {"dword, bytes last to first", {kRegDword, {0x78, 0x56, 0x34, 0x12}}, "&h12345678"},
      {"dword with a zero high byte", {kRegDword, {0x0A, 0x01, 0x02, 0x00}}, "&h02010A"},
      {"other types leave the value as passed", {3, {1, 2, 3}}, "before"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    MemoryRegistry registry;
    registry.set(kKey, "PATH", c.value);
    std::string value = "before";
    EXPECT_TRUE(GetKeyValue(registry, kHkeyLocalMachine, kKey, "PATH", value));
    EXPECT_EQ(value, c.expected);
    EXPECT_EQ(registry.openKeys, 0);
    EXPECT_EQ(registry.lastAccess, 0x2003Fu);
  }
}

TEST(GetKeyValue, FailsWithAnEmptyValue) {
  MemoryRegistry registry;
  registry.set(kKey, "PATH", {kRegSz, std::vector<std::uint8_t>(1025, 'a')});  // longer than the buffer
  registry.set(kKey, "EMPTY", {kRegSz, {}});  // no bytes at all
  const struct {
    std::uint32_t root;
    std::string key;
    std::string value;
  } cases[] = {{kHkeyLocalMachine, "SOFTWARE\\Nothing", "PATH"}, {0x80000001u, kKey, "PATH"},
               {kHkeyLocalMachine, kKey, "NOPE"}, {kHkeyLocalMachine, kKey, "PATH"},
               {kHkeyLocalMachine, kKey, "EMPTY"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.key + " " + c.value);
    std::string value = "before";
    EXPECT_FALSE(GetKeyValue(registry, c.root, c.key, c.value, value));
    EXPECT_TRUE(value.empty());
    EXPECT_EQ(registry.openKeys, 0);
  }
}

}  // namespace
}  // namespace tarnlow::ui::test
