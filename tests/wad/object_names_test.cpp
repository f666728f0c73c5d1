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
std::int32_t ItemNumber(int s, int index) { return 1000 * (s + 1) + index; }

// A name file section by section, written byte by byte: each count as given,
// then `items` items named by ItemName (fewer than the count when the file is
// to run out), numbered by ItemNumber in sections 3 to 6.
struct NameFileLayout {
  std::int32_t counts[kSections] = {};
  int items[kSections] = {};
  int sectionsWritten = kSections;  // fewer leave the file short

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
        if (s >= 2) w.i32(ItemNumber(s, i));
      }
    }
    return out;
  }
};

NameFileLayout OneOfEach() {
  NameFileLayout layout;
  for (int s = 0; s < kSections; ++s) layout.section(s, 1);
  return layout;
}

// The name stored for item `index` of section `s`, and its number.
const std::string& Stored(const ObjectNameTables& t, int s, int index) {
  if (s == 1) return t.MeshNames[static_cast<std::size_t>(index)];
  return t.ObjectNames[static_cast<std::size_t>(kColumnOf[s])][static_cast<std::size_t>(index)];
}
std::int32_t StoredNumber(const ObjectNameTables& t, int s, int index) {
  return t.ObjectNumbers[static_cast<std::size_t>(kColumnOf[s])][static_cast<std::size_t>(index)];
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

TEST_F(ObjectNamesTest, MissingOrEmptyFileGivesEmptyTablesAndDefaultMeshNames) {
  ObjectNameTables expected;
  for (std::size_t i = 0; i < expected.MeshNames.size(); ++i) expected.MeshNames[i] = "Mesh " + std::to_string(i);
  const ObjectNamesLoad missing = LoadObjectNames(path());
  EXPECT_FALSE(std::filesystem::exists(path()));
  const ObjectNamesLoad empty = Load(Bytes{});
  for (const ObjectNamesLoad* load : {&missing, &empty}) {
    EXPECT_FALSE(load->fault);
    EXPECT_EQ(load->tables.ObjectNames, expected.ObjectNames);
    EXPECT_EQ(load->tables.ObjectNumbers, expected.ObjectNumbers);
    EXPECT_EQ(load->tables.MeshNames, expected.MeshNames);
  }
}

TEST_F(ObjectNamesTest, FileThatCannotBeOpenedIsAFault) {
  std::filesystem::create_directory(path());
  const ObjectNamesLoad load = LoadObjectNames(path());
  ASSERT_TRUE(load.fault);
  EXPECT_EQ(load.fault->number(), EISDIR);
}

// Each section fills its own column (section 2 the mesh names; column 0 none)
// up to 501 rows (81 mesh names): the last item that fits is stored, one more
// stops the reading with 9, and the sections after it stay unread.
TEST_F(ObjectNamesTest, EachSectionKeepsItemsUpToItsTableLimitAndFaultsOnTheNext) {
  for (int s = 0; s < kSections; ++s) {
    const int limit = s == 1 ? ObjectNameTables::kMeshNames : ObjectNameTables::kRows;
    for (const std::int32_t count : {limit, limit + 1}) {
      SCOPED_TRACE("section " + std::to_string(s + 1) + " with " + std::to_string(count) + " items");
      const ObjectNamesLoad load = Load(OneOfEach().section(s, count).bytes());
      EXPECT_EQ(Stored(load.tables, s, limit - 1), ItemName(s, limit - 1));
      if (s >= 2) {
        EXPECT_EQ(StoredNumber(load.tables, s, limit - 1), ItemNumber(s, limit - 1));
      }
      ASSERT_EQ(load.fault.has_value(), count > limit);
      if (load.fault) {
        EXPECT_EQ(load.fault->number(), kSubscriptOutOfRange) << load.fault->what();
      }
      if (s > 0) {
        EXPECT_EQ(Stored(load.tables, 0, 0), ItemName(0, 0));
      }
      if (s + 1 < kSections) {
        EXPECT_EQ(Stored(load.tables, s + 1, 0), load.fault ? "" : ItemName(s + 1, 0));
      }
      for (const std::string& row : load.tables.ObjectNames[0]) ASSERT_EQ(row, "");
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
      const ObjectNamesLoad load = Load(OneOfEach().section(s, count).bytes());
      const std::optional<int> expectedFault = count == INT_MIN         ? std::optional<int>(kOverflow)
                                               : s == 1 && count < 0 ? std::optional<int>(kSubscriptOutOfRange)
                                                                     : std::nullopt;
      ASSERT_EQ(load.fault.has_value(), expectedFault.has_value()) << (load.fault ? load.fault->what() : "");
      if (expectedFault) {
        EXPECT_EQ(load.fault->number(), *expectedFault) << load.fault->what();
      }
      for (int before = 0; before < s; ++before) EXPECT_EQ(Stored(load.tables, before, 0), ItemName(before, 0));
      // No item of its own; in section 2 no default name either after a fault.
      EXPECT_EQ(Stored(load.tables, s, 0), s == 1 && !expectedFault ? "Mesh 0" : "");
      if (s + 1 < kSections) {
        EXPECT_EQ(Stored(load.tables, s + 1, 0), expectedFault ? "" : ItemName(s + 1, 0));
      }
    }
  }
}

// A length of 0 or less is an empty name and the next item follows at once;
// a length past the end of the file reads its missing characters as zeros,
// and all after it reads as zero.
TEST_F(ObjectNamesTest, StringLengthsOfZeroOrLessOrPastTheEnd) {
  for (const int s : {0, 1, 3, 5}) {
    SCOPED_TRACE("section " + std::to_string(s + 1));
    NameFileLayout layout = OneOfEach();
    layout.section(s, 3, 0);
    layout.sectionsWritten = s + 1;
    Bytes bytes = layout.bytes();
    ByteWriter w(bytes);
    for (const auto& [length, text] : {std::pair<std::int32_t, std::string>{-7, ""}, {2, "ok"}, {1'000'000, "abc"}}) {
      w.i32(length);
      for (const char c : text) w.u8(static_cast<std::uint8_t>(c));
      if (s >= 2 && length < 1'000'000) w.i32(70 + length);
    }
    const ObjectNamesLoad load = Load(bytes);
    EXPECT_FALSE(load.fault) << load.fault->what();
    EXPECT_EQ(Stored(load.tables, s, 0), "");
    EXPECT_EQ(Stored(load.tables, s, 1), "ok");
    EXPECT_EQ(Stored(load.tables, s, 2), "abc" + std::string(1'000'000 - 3, '\0'));
    if (s >= 2) {
      EXPECT_EQ(StoredNumber(load.tables, s, 1), 72);
      EXPECT_EQ(StoredNumber(load.tables, s, 2), 0);
    }
    if (s != 1) {
      EXPECT_EQ(load.tables.MeshNames[0], s == 0 ? "Mesh 0" : ItemName(1, 0));
    }
  }
}

// A string longer than any name file is refused before it is allocated.
TEST_F(ObjectNamesTest, StringLongerThanANameFileFailsOutOfMemory) {
  Bytes bytes = NameFileLayout().section(0, 1, 0).bytes();
  bytes.resize(4);
  ByteWriter(bytes).i32((64 << 20) + 1);
  const ObjectNamesLoad load = Load(bytes);
  ASSERT_TRUE(load.fault);
  EXPECT_EQ(load.fault->number(), kOutOfMemory);
}

// A count cut short by the end of the file takes the bytes there are.
TEST_F(ObjectNamesTest, ThreeByteFileReadsItsCountFromThoseBytes) {
  for (const std::int32_t count : {2, 0xFFFFFF}) {
    SCOPED_TRACE(count);
    Bytes bytes = NameFileLayout().section(0, count, 0).bytes();
    bytes.resize(3);
    const ObjectNamesLoad load = Load(bytes);
    EXPECT_EQ(*load.tables.ObjectName(0), "");
    ASSERT_EQ(load.fault.has_value(), count > ObjectNameTables::kRows);
    EXPECT_EQ(load.tables.MeshNames[80], load.fault ? "" : "Mesh 80");
  }
}

// One byte per character in the file: 0x80 for the euro sign.
TEST_F(ObjectNamesTest, NamesAreWrittenAndReadAsWindows1252) {
  ObjectNamesFileContent content;
  content.objectNames = {"\u20AC uro", "caf\u00E9"};
  content.section5 = {{"x", 3}};
  const Bytes bytes = EncodeObjectNames(content);
  EXPECT_EQ(bytes[8], 0x80);
  EXPECT_EQ(bytes.size(), 4 + (4 + 5) + (4 + 4) + 4 + 4 + 4 + (4 + 4 + 1 + 4) + 4u);
  WriteObjectNames(path(), content);
  const ObjectNamesLoad load = LoadObjectNames(path());
  ASSERT_FALSE(load.fault);
  EXPECT_EQ(*load.tables.ObjectName(0), "\u20AC uro");
  EXPECT_EQ(*load.tables.ObjectName(1), "caf\u00E9");
  EXPECT_EQ(load.tables.ObjectNumbers[1][0], 3);

  content.section6 = {{"\u4E2D", 1}};
  EXPECT_THROW(EncodeObjectNames(content), WadError);
}

}  // namespace
}  // namespace tarnlow
