// The files that come with a level: the companion SWD and the object name
// file, found whatever their letter case, and the names in their code page.
#include "wad/object_names.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/temp_dir.h"
#include "wad/byte_writer.h"
#include "wad/codepage.h"
#include "wad/file_lookup.h"
#include "wad/file_paths.h"
#include "wad/object_names_file.h"

namespace tarnlow {
namespace {

constexpr int kSections = 6;
// The column of ObjectNames that each section fills; section 2 fills MeshNames.
constexpr std::size_t kColumnOf[kSections] = {ObjectNameTables::kObjectColumn, 0, 3, 2, 1, 5};

std::string ItemName(int s, int index) { return "s" + std::to_string(s + 1) + "." + std::to_string(index); }

// A name file of `sections` sections, one item each except section `s`,
// which has `count` as its count and `items` items; items of sections 3 to 6
// carry the number 1000 (s + 1) + index.
Bytes NameFile(int s, std::int32_t count, int items, int sections = kSections) {
  Bytes out;
  ByteWriter w(out);
  for (int section = 0; section < sections; ++section) {
    w.i32(section == s ? count : 1);
    for (int i = 0; i < (section == s ? items : 1); ++i) {
      const std::string name = ItemName(section, i);
      w.i32(static_cast<std::int32_t>(name.size()));
      for (const char c : name) w.u8(static_cast<std::uint8_t>(c));
      if (section >= 2) w.i32(1000 * (section + 1) + i);
    }
  }
  return out;
}

const std::string& Stored(const ObjectNameTables& t, int s, int index) {
  return s == 1 ? t.MeshNames[std::size_t(index)] : t.ObjectNames[kColumnOf[s]][std::size_t(index)];
}

class ObjectNamesTest : public ::testing::Test {
 protected:
  ObjectNamesLoad Load(const Bytes& bytes) {
    test::WriteFileBytes(path(), bytes);
    return LoadObjectNames(path());
  }
  static int FaultOf(const ObjectNamesLoad& load) { return load.fault ? load.fault->number() : 0; }
  std::filesystem::path path() const { return dir_ / "TR4Objects.dat"; }
  test::TempDir dir_;
};

TEST_F(ObjectNamesTest, MissingOrEmptyFileGivesDefaultMeshNamesAndAFolderIsAFault) {
  for (const ObjectNamesLoad& load : {LoadObjectNames(path()), Load(Bytes{})}) {
    EXPECT_EQ(std::pair(FaultOf(load), load.tables.MeshNames[80]), std::pair(0, std::string("Mesh 80")));
  }
  std::filesystem::remove(path());
  std::filesystem::create_directory(path());
  EXPECT_EQ(LoadObjectNames(path()).fault->number(), EISDIR);
}

// Each section fills its own column up to 501 rows (81 mesh names); one
// item more stops the reading with 9. A count of 0 or less reads nothing,
// except in section 2, whose default names would start before entry 0; the
// most negative count overflows. A fault leaves the later sections unread.
TEST_F(ObjectNamesTest, EachSectionKeepsItemsUpToItsTableLimitAndFaultsPastIt) {
  for (int s = 0; s < kSections; ++s) {
    const int limit = s == 1 ? ObjectNameTables::kMeshNames : ObjectNameTables::kRows;
    const std::pair<std::int32_t, int> cases[] = {
        {limit, 0}, {limit + 1, kSubscriptOutOfRange}, {0, 0}, {-1, s == 1 ? kSubscriptOutOfRange : 0}, {INT_MIN, kOverflow}};
    for (const auto& [count, fault] : cases) {
      SCOPED_TRACE("section " + std::to_string(s + 1) + " with " + std::to_string(count) + " items");
      const ObjectNamesLoad load = Load(NameFile(s, count, std::max(count, 0)));
      EXPECT_EQ(FaultOf(load), fault);
      EXPECT_TRUE(count < limit || Stored(load.tables, s, limit - 1) == ItemName(s, limit - 1));
      EXPECT_TRUE(count < limit || s < 2 ||
                  load.tables.ObjectNumbers[kColumnOf[s]][std::size_t(limit - 1)] == 1000 * (s + 1) + limit - 1);
      EXPECT_TRUE(s + 1 == kSections || Stored(load.tables, s + 1, 0) == (fault ? "" : ItemName(s + 1, 0)));
    }
  }
}

// A length of 0 or less is an empty name; a name whose length runs past the
// end of the file ends with the file, and all after it reads as zero.
TEST_F(ObjectNamesTest, StringLengthsOfZeroOrLessOrPastTheEnd) {
  for (const int s : {0, 1, 3}) {
    SCOPED_TRACE("section " + std::to_string(s + 1));
    Bytes bytes = NameFile(s, 3, 0, s + 1);
    ByteWriter w(bytes);
    for (const auto& [length, text] : {std::pair<std::int32_t, std::string>{-7, ""}, {2, "ok"}, {1'000'000, "abc"}}) {
      w.i32(length);
      for (const char c : text) w.u8(static_cast<std::uint8_t>(c));
      if (s >= 2 && length < 1'000'000) w.i32(70 + length);
    }
    const ObjectNamesLoad load = Load(bytes);
    EXPECT_EQ(FaultOf(load), 0);
    EXPECT_EQ(std::tuple(Stored(load.tables, s, 0), Stored(load.tables, s, 1), Stored(load.tables, s, 2)),
              std::tuple("", "ok", "abc"));
  }
}

// A string longer than any name file is refused before it is allocated; a
// count cut short by the end of the file takes the bytes there are.
TEST_F(ObjectNamesTest, OversizedStringIsOutOfMemoryAndAShortCountTakesTheBytesThereAre) {
  EXPECT_EQ(FaultOf(Load(Bytes{1, 0, 0, 0, 1, 0, 0, 4})), kOutOfMemory);  // one name of 64 MiB + 1
  EXPECT_EQ(FaultOf(Load(Bytes{2, 0, 0})), 0);
  EXPECT_EQ(FaultOf(Load(Bytes{0xFF, 0xFF, 0xFF})), kSubscriptOutOfRange);
}

// One byte per character in the file: 0x80 for the euro sign.
TEST_F(ObjectNamesTest, NamesAreWrittenAndReadAsWindows1252) {
  ObjectNamesFileContent content;
  content.objectNames = {"\u20AC uro"};
  EXPECT_EQ(EncodeObjectNames(content)[8], 0x80);
  WriteObjectNames(path(), content);
  EXPECT_EQ(*LoadObjectNames(path()).tables.ObjectName(0), "\u20AC uro");
  content.section6 = {{"\u4E2D", 1}};
  EXPECT_THROW(EncodeObjectNames(content), WadError);
}

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

TEST(FilePaths, TitleFolderAndCompanionOfAPath) {
  const struct { const char *path, *title, *titleWithExtension, *folder, *swd; } cases[] = {
      {"C:\\levels\\my.level.WAD", "my.level", "my.level.WAD", "C:\\levels\\", "C:\\levels\\my.level.swd"},
      {"C:\\my.dir\\level", "level", "level", "C:\\my.dir\\", "C:\\my.dir\\level.swd"},
      {"mixed/sep\\name.wad", "name", "name.wad", "mixed/sep\\", "mixed/sep\\name.swd"},
      {"level.wad", "level", "level.wad", "", "level.swd"},
      {"C:\\data\\.wad", "", ".wad", "C:\\data\\", "C:\\data\\.swd"},
      {"", "", "", "", ".swd"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(FileTitle(c.path, false), c.title);
    EXPECT_EQ(FileTitle(c.path, true), c.titleWithExtension);
    EXPECT_EQ(FolderOf(c.path), c.folder);
    EXPECT_EQ(SwdPathFor(c.path), c.swd);
  }
}

// Level files come from Windows: a derived name finds its file whatever the
// letter case on disk, the exact spelling first, else the first in byte order.
TEST(FileLookup, DerivedNameFindsTheFileAsWindowsWould) {
  test::TempDir dir;
  std::vector<const char*> names = {"tut1.SWD", "KARNAK.SWD", "\xC3\x89T\xC3\x89.swd", "other.wad"};
  // An empty name: nothing found.
  std::vector<std::pair<const char*, const char*>> cases = {{"tut1.swd", "tut1.SWD"}, {"Karnak.swd", "KARNAK.SWD"},
      {"\xC3\xA9t\xC3\xA9.swd", "\xC3\x89T\xC3\x89.swd"}, {"tut2.swd", ""}, {"FOLDER.swd", ""}};
#ifndef _WIN32
  // Names that differ only in case stand side by side here, never on Windows.
  names.insert(names.end(), {"dup.SWD", "DUP.swd", "exact.swd", "EXACT.SWD"});
  cases.insert(cases.end(), {{"dup.swd", "DUP.swd"}, {"exact.swd", "exact.swd"}, {"EXACT.SWD", "EXACT.SWD"}});
#endif
  for (const char* name : names) test::WriteFileBytes(dir.path() / PathFromUtf8(name), {1});
  std::filesystem::create_directory(dir / "folder.swd");
  for (const auto& [wanted, name] : cases) {
    const std::optional<std::filesystem::path> found = FindFileIgnoringCase(dir.path() / PathFromUtf8(wanted));
    EXPECT_EQ(found.value_or(dir / ""), dir.path() / PathFromUtf8(name)) << wanted;
  }
}

}  // namespace
}  // namespace tarnlow
