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
Bytes SwdBytes(std::array<std::int32_t, 3> counts, std::array<std::size_t, 3> dataBytes = {}) {
  Bytes out;
  ByteWriter w(out);
  w.i32(-3);
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

// Unlike a WAD, an SWD accepts zero counts. A section cut short keeps what
// the file held, the rest reads as zero without being stored, and every
// later count reads as 0.
TEST_F(SwdReaderTest, ReadsEachSectionAfterTheOneBeforeAndTheMissingEndAsZeros) {
  EXPECT_EQ(Read(SwdBytes({0, 0, 0})).SwdEntries.size(), 0u);
  const SwdDocument read = Read(SwdBytes({2, 768, 3}, {32, 768, 24}));
  EXPECT_EQ(read.SwdUnknown, -3);
  EXPECT_EQ(std::tuple(read.SwdEntries.size(), read.SwdTextData.size(), read.SwdRecords.size()), std::tuple(2u, 1u, 3u));
  EXPECT_EQ(std::tuple(read.SwdEntries[1].Bytes[15], read.SwdTextData[0].Bytes[0], read.SwdRecords[2].Bytes[7]),
            std::tuple(32, 51, 124));
  const SwdDocument cut = Read(SwdBytes({1'000'000, 0, 0}, {20, 0, 0}));
  EXPECT_EQ(cut.SwdEntries.size(), 1'000'000u);
  EXPECT_EQ(cut.SwdEntries.storedBytes().size(), 28u);  // 20 bytes and the two counts after them
  EXPECT_EQ(cut.SwdEntries[999'999], SwdEntry{});
  EXPECT_EQ(std::pair(cut.NumSwdTextData, cut.NumSwdRecords), std::pair(0, 0));
}

TEST_F(SwdReaderTest, BadCountsFailWithTheirErrorNumberInTheirSection) {
  const struct { std::size_t section; std::int32_t count; int expected; } cases[] = {
      {0, -1, kSubscriptOutOfRange}, {2, -1, kSubscriptOutOfRange}, {0, INT_MIN, kOverflow}, {2, INT_MIN, kOverflow},
      {0, INT_MAX, kOutOfMemory},    {1, 383, kSubscriptOutOfRange}, {1, -768, kSubscriptOutOfRange},
      {1, INT_MAX, kOutOfMemory},
  };
  const std::string kSections[] = {"NumSwdEntries ", "NumSwdTextData ", "NumSwdRecords "};
  for (const auto& c : cases) {
    std::array<std::int32_t, 3> counts{};
    counts[c.section] = c.count;
    try {
      Read(SwdBytes(counts));
      ADD_FAILURE() << "no error for " << c.count << " in " << c.section;
    } catch (const WadError& e) {
      EXPECT_EQ(e.number(), c.expected);
      EXPECT_TRUE(e.where().starts_with(kSections[c.section])) << e.where();
    }
  }
}

}  // namespace
}  // namespace tarnlow
