#include "wad/object_names.h"

#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <string>

#include "tests/support/temp_dir.h"
#include "wad/byte_writer.h"
#include "wad/object_names_file.h"

namespace tarnlow {
namespace {

constexpr int kSections = 6;
// The column of ObjectNames that each section fills; section 2 fills MeshNames.
constexpr int kColumnOf[kSections] = {ObjectNameTables::kObjectColumn, -1, 3, 2, 1, 5};

std::string ItemName(int s, int index) { return "s" + std::to_string(s + 1) + "." + std::to_string(index); }

// A name file: each section's count as given, then `items` items named by
// ItemName (fewer than the count when the file is to run out), numbered
// 1000 (s + 1) + index in sections 3 to 6.
struct NameFileLayout {
  std::int32_t counts[kSections] = {1, 1, 1, 1, 1, 1};
  int items[kSections] = {1, 1, 1, 1, 1, 1};
  int sectionsWritten = kSections;

  NameFileLayout& section(int s, std::int32_t count, std::optional<int> written = std::nullopt) {
    counts[s] = count;
    items[s] = written.value_or(count > 0 ? count : 0);
    return *this;
  }

  Bytes bytes() const {
    Bytes out;
    ByteWriter w(out);
    for (int s = 0; s < sectionsWritten; ++s) {
      w.i32(counts[s]);
      for (int i = 0; i < items[s]; ++i) {
        const std::string name = ItemName(s, i);
        w.i32(static_cast<std::int32_t>(name.size()));
        for (const char c : name) w.u8(static_cast<std::uint8_t>(c));
        if (s >= 2) w.i32(1000 * (s + 1) + i);
      }
    }
    return out;
  }
};

// The name stored for item `index` of section `s`.
const std::string& Stored(const ObjectNameTables& t, int s, int index) {
  if (s == 1) return t.MeshNames[static_cast<std::size_t>(index)];
  return t.ObjectNames[static_cast<std::size_t>(kColumnOf[s])][static_cast<std::size_t>(index)];
}

class ObjectNamesTest : public ::testing::Test {
 protected:
  ObjectNamesLoad Load(const Bytes& bytes) {
    test::WriteFileBytes(path(), bytes);
    return LoadObjectNames(path());
  }
  std::filesystem::path path() const { return dir_ / "TR4Objects.dat"; }
  test::TempDir dir_;
};

TEST_F(ObjectNamesTest, MissingOrEmptyFileGivesDefaultMeshNamesAndAFolderIsAFault) {
  const ObjectNamesLoad missing = LoadObjectNames(path());
  EXPECT_FALSE(std::filesystem::exists(path()));
  for (const ObjectNamesLoad& load : {missing, Load(Bytes{})}) {
    EXPECT_FALSE(load.fault);
    EXPECT_EQ(*load.tables.ObjectName(0), "");
    EXPECT_EQ(load.tables.MeshNames[80], "Mesh 80");
  }
  std::filesystem::remove(path());
  std::filesystem::create_directory(path());
  const ObjectNamesLoad folder = LoadObjectNames(path());
  ASSERT_TRUE(folder.fault);
  EXPECT_EQ(folder.fault->number(), EISDIR);
}

// Each section fills its own column (section 2 the mesh names) up to 501
// rows (81 mesh names): the last item that fits is stored, one more stops
// the reading with 9, and the sections after it stay unread.
TEST_F(ObjectNamesTest, EachSectionKeepsItemsUpToItsTableLimitAndFaultsOnTheNext) {
  for (int s = 0; s < kSections; ++s) {
    const int limit = s == 1 ? ObjectNameTables::kMeshNames : ObjectNameTables::kRows;
    for (const std::int32_t count : {limit, limit + 1}) {
      SCOPED_TRACE("section " + std::to_string(s + 1) + " with " + std::to_string(count) + " items");
      const ObjectNamesLoad load = Load(NameFileLayout().section(s, count).bytes());
      EXPECT_EQ(Stored(load.tables, s, limit - 1), ItemName(s, limit - 1));
      if (s >= 2) {
        EXPECT_EQ(load.tables.ObjectNumbers[std::size_t(kColumnOf[s])][std::size_t(limit - 1)], 1000 * (s + 1) + limit - 1);
      }
      ASSERT_EQ(load.fault.has_value(), count > limit);
      if (load.fault) {
        EXPECT_EQ(load.fault->number(), kSubscriptOutOfRange);
      }
      if (s + 1 < kSections) {
        EXPECT_EQ(Stored(load.tables, s + 1, 0), load.fault ? "" : ItemName(s + 1, 0));
      }
    }
  }
}

// A count of 0 or less reads no items and the next section follows at once,
// except in section 2, whose default names would start before entry 0; the
// most negative count overflows its last index in every section.
TEST_F(ObjectNamesTest, CountsOfZeroOrLessReadNothingAndOnlyTheMostNegativeOrSectionTwoFault) {
  for (int s = 0; s < kSections; ++s) {
    for (const std::int32_t count : {0, -1, INT_MIN}) {
      SCOPED_TRACE("section " + std::to_string(s + 1) + " count " + std::to_string(count));
      const ObjectNamesLoad load = Load(NameFileLayout().section(s, count).bytes());
      const int expected = count == INT_MIN ? kOverflow : s == 1 && count < 0 ? kSubscriptOutOfRange : 0;
      EXPECT_EQ(load.fault ? load.fault->number() : 0, expected);
      if (s > 0) {
        EXPECT_EQ(Stored(load.tables, s - 1, 0), ItemName(s - 1, 0));
      }
      if (s + 1 < kSections) {
        EXPECT_EQ(Stored(load.tables, s + 1, 0), expected ? "" : ItemName(s + 1, 0));
      }
    }
  }
}

// A length of 0 or less is an empty name; a length past the end of the file
// reads its missing characters as zeros, and all after it reads as zero.
TEST_F(ObjectNamesTest, StringLengthsOfZeroOrLessOrPastTheEnd) {
  for (const int s : {0, 1, 3}) {
    SCOPED_TRACE("section " + std::to_string(s + 1));
    NameFileLayout layout;
    layout.section(s, 3, 0).sectionsWritten = s + 1;
    Bytes bytes = layout.bytes();
    ByteWriter w(bytes);
    for (const auto& [length, text] : {std::pair<std::int32_t, std::string>{-7, ""}, {2, "ok"}, {1'000'000, "abc"}}) {
      w.i32(length);
      for (const char c : text) w.u8(static_cast<std::uint8_t>(c));
      if (s >= 2 && length < 1'000'000) w.i32(70 + length);
    }
    const ObjectNamesLoad load = Load(bytes);
    EXPECT_FALSE(load.fault);
    EXPECT_EQ(Stored(load.tables, s, 0), "");
    EXPECT_EQ(Stored(load.tables, s, 1), "ok");
    EXPECT_EQ(Stored(load.tables, s, 2), "abc" + std::string(1'000'000 - 3, '\0'));
    if (s >= 2) {
      EXPECT_EQ(load.tables.ObjectNumbers[std::size_t(kColumnOf[s])][1], 72);
    }
  }
}

// A string longer than any name file is refused before it is allocated; a
// count cut short by the end of the file takes the bytes there are.
TEST_F(ObjectNamesTest, OversizedStringIsOutOfMemoryAndAShortCountTakesTheBytesThereAre) {
  Bytes bytes;
  ByteWriter w(bytes);
  w.i32(1);
  w.i32((64 << 20) + 1);
  const ObjectNamesLoad huge = Load(bytes);
  ASSERT_TRUE(huge.fault);
  EXPECT_EQ(huge.fault->number(), kOutOfMemory);
  EXPECT_FALSE(Load(Bytes{2, 0, 0}).fault);
  EXPECT_EQ(Load(Bytes{0xFF, 0xFF, 0xFF}).fault->number(), kSubscriptOutOfRange);
}

// One byte per character in the file: 0x80 for the euro sign.
TEST_F(ObjectNamesTest, NamesAreWrittenAndReadAsWindows1252) {
  ObjectNamesFileContent content;
  content.objectNames = {"\u20AC uro", "caf\u00E9"};
  const Bytes bytes = EncodeObjectNames(content);
  EXPECT_EQ(bytes[8], 0x80);
  WriteObjectNames(path(), content);
  const ObjectNamesLoad load = LoadObjectNames(path());
  ASSERT_FALSE(load.fault);
  EXPECT_EQ(*load.tables.ObjectName(0), "\u20AC uro");
  EXPECT_EQ(*load.tables.ObjectName(1), "caf\u00E9");
  content.section6 = {{"\u4E2D", 1}};
  EXPECT_THROW(EncodeObjectNames(content), WadError);
}

}  // namespace
}  // namespace tarnlow
