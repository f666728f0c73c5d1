#include "wad/swd_reader.h"

#include <gtest/gtest.h>

#include <climits>

#include "tests/support/temp_dir.h"
#include "wad/byte_writer.h"
#include "wad/wad_error.h"

namespace tarnlow {
namespace {

// An SWD file: each count as given, then `dataBytes` bytes of a pattern that
// tells the sections apart.
Bytes SwdBytes(std::array<std::int32_t, 3> counts, std::array<std::size_t, 3> dataBytes, std::int32_t unknown = 0) {
  Bytes out;
  ByteWriter w(out);
  w.i32(unknown);
  for (std::size_t s = 0; s < 3; ++s) {
    w.i32(counts[s]);
    for (std::size_t i = 0; i < dataBytes[s]; ++i) w.u8(static_cast<std::uint8_t>(s * 50 + i % 50 + 1));
  }
  return out;
}

class SwdReaderTest : public ::testing::Test {
 protected:
  SwdDocument Read(const Bytes& bytes) {
    test::WriteFileBytes(dir_ / "level.swd", bytes);
    return ReadSWD(dir_ / "level.swd");
  }
  test::TempDir dir_;
};

// Unlike a WAD, an SWD accepts zero counts.
TEST_F(SwdReaderTest, ReadsEachSectionAfterTheOneBeforeAndAcceptsZeroCounts) {
  EXPECT_EQ(Read(SwdBytes({0, 0, 0}, {0, 0, 0})), SwdDocument{});
  const SwdDocument read = Read(SwdBytes({2, 768, 3}, {32, 768, 24}, -3));
  EXPECT_EQ(read.SwdUnknown, -3);
  ASSERT_EQ(read.SwdEntries.size(), 2u);
  EXPECT_EQ(read.SwdEntries[1].Bytes[15], 32);
  ASSERT_EQ(read.SwdTextData.size(), 1u);
  EXPECT_EQ(read.SwdTextData[0].Bytes[0], 51);
  ASSERT_EQ(read.SwdRecords.size(), 3u);
  EXPECT_EQ(read.SwdRecords[2].Bytes[7], 124);
}

TEST_F(SwdReaderTest, BadCountsFailWithTheirErrorNumberInTheirSection) {
  const struct {
    std::size_t section;
    std::int32_t count;
    int expected;
  } cases[] = {
      {0, -1, kSubscriptOutOfRange}, {2, -1, kSubscriptOutOfRange}, {0, INT_MIN, kOverflow}, {2, INT_MIN, kOverflow},
      {0, INT_MAX, kOutOfMemory},    {1, 383, kSubscriptOutOfRange}, {1, -768, kSubscriptOutOfRange},
      {1, INT_MAX, kOutOfMemory},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.section) + ": " + std::to_string(c.count));
    std::array<std::int32_t, 3> counts{};
    counts[c.section] = c.count;
    try {
      Read(SwdBytes(counts, {0, 0, 0}));
      ADD_FAILURE() << "no error";
    } catch (const WadError& e) {
      EXPECT_EQ(e.number(), c.expected);
      EXPECT_NE(e.where().find("at byte " + std::to_string(4 + 4 * c.section)), std::string::npos) << e.where();
    }
  }
}

// A section cut short keeps what the file held, the rest reads as zero
// without being stored, and every later count reads as 0.
TEST_F(SwdReaderTest, SectionCutShortKeepsWhatTheFileHeldAndReadsTheRestAsZero) {
  const SwdDocument read = Read(SwdBytes({1'000'000, 0, 0}, {20, 0, 0}));
  EXPECT_EQ(read.SwdEntries.size(), 1'000'000u);
  EXPECT_EQ(read.SwdEntries.storedBytes().size(), 28u);  // 20 bytes and the two counts after them
  EXPECT_EQ(read.SwdEntries[1].Bytes[3], 20);
  EXPECT_EQ(read.SwdEntries[999'999], SwdEntry{});
  EXPECT_EQ(read.NumSwdTextData, 0);
  EXPECT_EQ(read.NumSwdRecords, 0);
}

}  // namespace
}  // namespace tarnlow
