#include "wad/swd_reader.h"

#include <gtest/gtest.h>

#include <climits>
#include <optional>

#include "tests/support/temp_dir.h"
#include "wad/byte_writer.h"
#include "wad/wad_error.h"

namespace tarnlow {
namespace {

// An SWD file section by section: each count as given, then `dataBytes`
// bytes of a pattern that tells the sections apart.
struct SwdLayout {
  std::int32_t unknown = 0;
  std::int32_t counts[3] = {0, 0, 0};
  std::size_t dataBytes[3] = {0, 0, 0};

  Bytes bytes() const {
    Bytes out;
    ByteWriter w(out);
    w.i32(unknown);
    for (int s = 0; s < 3; ++s) {
      w.i32(counts[s]);
      for (std::size_t i = 0; i < dataBytes[s]; ++i) w.u8(static_cast<std::uint8_t>(s * 50 + i % 50 + 1));
    }
    return out;
  }
};

class SwdReaderTest : public ::testing::Test {
 protected:
  // Writes the file and reads it; the WadError when the read fails.
  std::optional<WadError> Read(const SwdLayout& layout, SwdDocument* document = nullptr) {
    test::WriteFileBytes(dir_ / "level.swd", layout.bytes());
    try {
      SwdDocument read = ReadSWD(dir_ / "level.swd");
      if (document != nullptr) *document = std::move(read);
      return std::nullopt;
    } catch (const WadError& e) {
      return e;
    }
  }
  test::TempDir dir_;
};

// Unlike a WAD, an SWD accepts zero counts.
TEST_F(SwdReaderTest, FileOfSixteenBytesWithZeroCountsLoadsEmpty) {
  SwdDocument read;
  ASSERT_EQ(SwdLayout().bytes().size(), 16u);
  ASSERT_FALSE(Read(SwdLayout(), &read));
  EXPECT_EQ(read, SwdDocument{});
}

TEST_F(SwdReaderTest, ReadsEachSectionAfterTheOneBefore) {
  SwdLayout layout{-3, {2, 768, 3}, {32, 768, 24}};
  SwdDocument read;
  ASSERT_FALSE(Read(layout, &read));
  EXPECT_EQ(read.SwdUnknown, -3);
  ASSERT_EQ(read.SwdEntries.size(), 2u);
  EXPECT_EQ(read.SwdEntries[1].Bytes[15], 32);
  ASSERT_EQ(read.SwdTextData.size(), 1u);
  EXPECT_EQ(read.SwdTextData[0].Bytes[0], 51);
  ASSERT_EQ(read.SwdRecords.size(), 3u);
  EXPECT_EQ(read.SwdRecords[2].Bytes[7], 124);
}

TEST_F(SwdReaderTest, BadCountsFailWithTheirErrorNumberAndPlace) {
  const struct {
    int section;
    std::int32_t count;
    int expected;
  } cases[] = {
      {0, -1, kSubscriptOutOfRange}, {2, -1, kSubscriptOutOfRange},  {0, INT_MIN, kOverflow},
      {2, INT_MIN, kOverflow},       {0, INT_MAX, kOutOfMemory},     {1, 1, kSubscriptOutOfRange},
      {1, 383, kSubscriptOutOfRange}, {1, -768, kSubscriptOutOfRange}, {1, INT_MAX, kOutOfMemory},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.section) + ": " + std::to_string(c.count));
    SwdLayout layout;
    layout.counts[c.section] = c.count;
    const std::optional<WadError> error = Read(layout);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->number(), c.expected);
    EXPECT_NE(error->where().find("at byte " + std::to_string(4 + 4 * c.section)), std::string::npos) << error->where();
  }
}

// An SWD may end early: a section cut short keeps what the file held, the
// rest reads as zero without being stored, and every later count reads as 0.
TEST_F(SwdReaderTest, SectionCutShortKeepsWhatTheFileHeldAndReadsTheRestAsZero) {
  SwdDocument read;
  ASSERT_FALSE(Read(SwdLayout{0, {1'000'000, 0, 0}, {20, 0, 0}}, &read));
  EXPECT_EQ(read.SwdEntries.size(), 1'000'000u);
  // 20 entry bytes plus the two counts after them: all the file held.
  EXPECT_EQ(read.SwdEntries.storedBytes().size(), 28u);
  EXPECT_EQ(read.SwdEntries[1].Bytes[3], 20);
  EXPECT_EQ(read.SwdEntries[999'999], SwdEntry{});
  EXPECT_EQ(read.NumSwdTextData, 0);
  EXPECT_EQ(read.NumSwdRecords, 0);
}

}  // namespace
}  // namespace tarnlow
