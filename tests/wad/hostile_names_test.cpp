// Broken object-name files: every section over its limit, negative and most
// negative counts in each section, strings longer than the file, files of a
// few bytes. The loader must keep what fits, store nothing outside a table
// and say what stopped it. Single-section cases live in object_names_test.cpp.

#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/temp_dir.h"
#include "wad/byte_writer.h"
#include "wad/object_names.h"

namespace tarnlow {
namespace {

using test::TempDir;
using test::WriteFileBytes;

constexpr int kSections = 6;
// The column of ObjectNames that sections 3 to 6 fill.
constexpr int kColumnOf[kSections] = {ObjectNameTables::kObjectColumn, -1, 3, 2, 1, 5};

std::string ItemName(int section, int index) { return "s" + std::to_string(section + 1) + "." + std::to_string(index); }

// A name file section by section: each count as given, then `items` of its
// items (fewer than the count when a test wants the file to run out).
struct NameFileLayout {
  std::int32_t counts[kSections] = {};
  int items[kSections] = {};
  int sectionsWritten = kSections;  // fewer leave the file short

  // Section s with `count` named items: "s<section>.<index>", number index.
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
        for (char c : name) w.u8(static_cast<std::uint8_t>(c));
        if (s >= 2) w.i32(1000 * (s + 1) + i);
      }
    }
    return out;
  }
};

// Every section with one item.
NameFileLayout OneOfEach() {
  NameFileLayout layout;
  for (int s = 0; s < kSections; ++s) layout.section(s, 1);
  return layout;
}

// The name stored for item `index` of section `s`.
const std::string& Stored(const ObjectNameTables& t, int s, int index) {
  if (s == 1) return t.MeshNames[static_cast<std::size_t>(index)];
  return t.ObjectNames[static_cast<std::size_t>(kColumnOf[s])][static_cast<std::size_t>(index)];
}

class HostileNameFiles : public ::testing::Test {
 protected:
  ObjectNamesLoad Load(const Bytes& bytes) {
    WriteFileBytes(dir_ / "TR4Objects.dat", bytes);
    return LoadObjectNames(dir_ / "TR4Objects.dat");
  }
  TempDir dir_;
};

TEST_F(HostileNameFiles, SectionsThreeToSixKeepTheirFirst501ItemsAndFaultOnThe502nd) {
  for (int s = 2; s < kSections; ++s) {
    for (const std::int32_t count : {501, 502}) {
      SCOPED_TRACE("section " + std::to_string(s + 1) + " with " + std::to_string(count) + " items");
      NameFileLayout layout = OneOfEach();
      layout.section(s, count);
      const ObjectNamesLoad load = Load(layout.bytes());
      const auto column = static_cast<std::size_t>(kColumnOf[s]);
      EXPECT_EQ(load.tables.ObjectNames[column][500], ItemName(s, 500));
      EXPECT_EQ(load.tables.ObjectNumbers[column][500], 1000 * (s + 1) + 500);
      if (count == 501) {
        EXPECT_FALSE(load.fault) << load.fault->what();
        continue;
      }
      ASSERT_TRUE(load.fault);
      EXPECT_EQ(load.fault->number(), kSubscriptOutOfRange) << load.fault->what();
      // The reading stopped: the sections before are kept, the ones after unread.
      EXPECT_EQ(*load.tables.ObjectName(0), ItemName(0, 0));
      if (s + 1 < kSections) {
        EXPECT_EQ(Stored(load.tables, s + 1, 0), "");
      }
    }
  }
}

// A count of 0 or less reads no items and the next section follows at
// once, except in section 2, whose default names would start before entry
// 0; the most negative count overflows its last index in every section.
TEST_F(HostileNameFiles, NegativeCountsReadNothingAndOnlyTheMostNegativeOrSectionTwoFault) {
  for (int s = 0; s < kSections; ++s) {
    for (const std::int32_t count : {-1, INT_MIN}) {
      SCOPED_TRACE("section " + std::to_string(s + 1) + " count " + std::to_string(count));
      NameFileLayout layout = OneOfEach();
      layout.section(s, count);
      const ObjectNamesLoad load = Load(layout.bytes());
      const std::optional<int> expectedFault =
          count == INT_MIN ? std::optional<int>(kOverflow) : s == 1 ? std::optional<int>(kSubscriptOutOfRange) : std::nullopt;
      ASSERT_EQ(load.fault.has_value(), expectedFault.has_value()) << (load.fault ? load.fault->what() : "");
      if (expectedFault) {
        EXPECT_EQ(load.fault->number(), *expectedFault) << load.fault->what();
      }
      for (int before = 0; before < s; ++before) {
        EXPECT_EQ(Stored(load.tables, before, 0), ItemName(before, 0));
      }
      if (s != 1) {
        EXPECT_EQ(Stored(load.tables, s, 0), "");
      }
      if (s + 1 < kSections) {
        EXPECT_EQ(Stored(load.tables, s + 1, 0), expectedFault ? "" : ItemName(s + 1, 0));
      }
    }
  }
}

TEST_F(HostileNameFiles, StringRunningPastTheEndTakesTheRestAndLeavesZerosBehindIt) {
  for (const int s : {1, 2, 5}) {
    SCOPED_TRACE("section " + std::to_string(s + 1));
    NameFileLayout layout = OneOfEach();
    layout.section(s, 1, 0);  // the count promises an item the file lacks
    layout.sectionsWritten = s + 1;
    Bytes bytes = layout.bytes();
    // A length of a million, then three bytes of text: the end of the file.
    ByteWriter w(bytes);
    w.i32(1'000'000);
    for (const char c : std::string("abc")) w.u8(static_cast<std::uint8_t>(c));
    const ObjectNamesLoad load = Load(bytes);
    EXPECT_FALSE(load.fault) << load.fault->what();
    EXPECT_EQ(Stored(load.tables, s, 0).substr(0, 3), "abc");
    EXPECT_LE(Stored(load.tables, s, 0).size(), bytes.size());
    if (s >= 2) {
      EXPECT_EQ(load.tables.ObjectNumbers[static_cast<std::size_t>(kColumnOf[s])][0], 0);
    }
    if (s != 1) {
      EXPECT_EQ(load.tables.MeshNames[0], ItemName(1, 0));
    }
  }
}

TEST_F(HostileNameFiles, NegativeStringLengthIsAnEmptyNameAndTheNextItemFollowsAtOnce) {
  for (const int s : {0, 3}) {
    SCOPED_TRACE("section " + std::to_string(s + 1));
    NameFileLayout layout;
    layout.section(s, 2, 0);
    layout.sectionsWritten = s + 1;
    Bytes bytes = layout.bytes();
    ByteWriter w(bytes);
    w.i32(-7);
    if (s >= 2) w.i32(70);
    w.i32(2);
    w.u8('o');
    w.u8('k');
    if (s >= 2) w.i32(71);
    const ObjectNamesLoad load = Load(bytes);
    EXPECT_FALSE(load.fault) << load.fault->what();
    EXPECT_EQ(Stored(load.tables, s, 0), "");
    EXPECT_EQ(Stored(load.tables, s, 1), "ok");
    if (s >= 2) {
      EXPECT_EQ(load.tables.ObjectNumbers[static_cast<std::size_t>(kColumnOf[s])][1], 71);
    }
  }
}

// Files of a few bytes: the count takes what there is, the rest reads as 0.
TEST_F(HostileNameFiles, TinyFilesLoadOrStopAtTheTableLimit) {
  const struct {
    const char* label;
    std::int32_t firstCount;  // written in full, then cut to `length` bytes
    std::size_t length;
    bool fault;
  } cases[] = {
      {"0 bytes", 0, 0, false},
      {"3 bytes holding a count of 2", 2, 3, false},
      {"3 bytes holding a count of 0xFFFFFF", 0xFFFFFF, 3, true},
      {"3 bytes holding a count of 0x800000", 0x800000, 3, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    NameFileLayout layout;
    layout.section(0, c.firstCount, 0);
    Bytes bytes = layout.bytes();
    bytes.resize(c.length);
    const ObjectNamesLoad load = Load(bytes);
    ASSERT_EQ(load.fault.has_value(), c.fault);
    for (int row = 0; row < ObjectNameTables::kRows; ++row) {
      EXPECT_EQ(*load.tables.ObjectName(row), "");
    }
    if (c.fault) {
      EXPECT_EQ(load.fault->number(), kSubscriptOutOfRange) << load.fault->what();
    } else {
      EXPECT_EQ(load.tables.MeshNames[0], "Mesh 0");
      EXPECT_EQ(load.tables.MeshNames[80], "Mesh 80");
    }
  }
}

}  // namespace
}  // namespace tarnlow
