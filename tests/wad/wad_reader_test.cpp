#include "wad/wad_reader.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <climits>

#include "tests/support/temp_dir.h"
#include "tests/support/wad_builder.h"
#include "tests/support/wad_fault.h"
#include "wad/swd_reader.h"
#include "wad/texture_rows.h"
#include "wad/wad_error.h"
#include "wad/wad_writer.h"

namespace tarnlow {
namespace {

using test::FaultOf;
using test::SwdFileBytes;
using test::WadLayout;

constexpr int kTextData = 1, kMeshData = 3, kMoveables = 10;
// Bytes per unit of each count (texture data counts bytes, mesh data words).
constexpr std::int32_t kUnitBytes[WadLayout::kSections] = {8, 1, 4, 2, 40, 6, 8, 2, 4, 2, 18, 32};

// Two records in every section (two texture rows), every byte non-zero and
// unlike its neighbours, so that a misplaced read or a cut lands in real data.
WadLayout SampleLayout() {
  WadLayout layout;
  layout.version = 130;
  int next = 0;
  for (std::size_t s = 0; s < WadLayout::kSections; ++s) {
    layout.counts[s] = s == kTextData ? 2 * 768 : 2;
    layout.data[s].resize(std::size_t(layout.counts[s] * kUnitBytes[s]));
    for (std::uint8_t& b : layout.data[s]) b = static_cast<std::uint8_t>(next++ % 251 + 1);
  }
  return layout;
}

std::string Section(int s) { return test::kSectionNames[static_cast<std::size_t>(s)]; }

class WadReaderTest : public ::testing::Test {
 protected:
  // The error number and the section of a failed read; 0 when it loads.
  std::pair<int, std::string> Read(const Bytes& bytes, WadDocument* document) {
    test::WriteFileBytes(dir_ / "level.wad", bytes);
    return FaultOf([&] { *document = ReadWAD(dir_ / "level.wad", length_); });
  }
  WadDocument ReadLenient(const Bytes& bytes) {
    test::WriteFileBytes(dir_ / "level.wad", bytes);
    return ReadWADLenient(dir_ / "level.wad", length_);
  }
  SwdDocument ReadSwd(const Bytes& bytes) {
    test::WriteFileBytes(dir_ / "level.swd", bytes);
    return ReadSWD(dir_ / "level.swd");
  }
  // With section `s`'s count replaced: fails with `expected` in that section,
  // or (0) loads with every array as long as its count.
  void ExpectCountGives(int s, std::int32_t count, int expected) {
    WadLayout layout = SampleLayout();
    layout.counts[static_cast<std::size_t>(s)] = count;
    WadDocument read;
    const auto [number, section] = Read(layout.bytes(), &read);
    EXPECT_EQ(std::pair(number, section), std::pair(expected, expected ? Section(s) : "")) << Section(s) << " = " << count;
    EXPECT_TRUE(expected != 0 || read.Moveables.size() == static_cast<std::size_t>(read.NumMoveables));
  }
  test::TempDir dir_;
  std::int64_t length_ = -1;
};

TEST_F(WadReaderTest, ReadsEverySectionAndIgnoresTrailingBytesThatTheLengthStillCounts) {
  Bytes bytes = SampleLayout().bytes();
  bytes.insert(bytes.end(), 100, 0xFF);
  WadDocument read;
  ASSERT_EQ(Read(bytes, &read).first, 0);
  EXPECT_EQ(WadLayout::Of(read).bytes(), SampleLayout().bytes());
  EXPECT_EQ(length_, static_cast<std::int64_t>(bytes.size()));
  const WadDocument lenient = ReadLenient(bytes);
  EXPECT_EQ(std::tuple(lenient == read, lenient.reading == read.reading, read.reading.trailingBytes),
            std::tuple(true, true, std::uint64_t{100}));
}

// The texture rule has no count - 1 to overflow; twice the mesh-data count
// overflows before its array is too large; a static-mesh count of 0 or less
// reads no records. An array may take 1 GiB: at that cap the small file
// cannot hold the records, except the moveables and the static meshes, which
// may run past the end; one record more is out of memory.
TEST_F(WadReaderTest, ImpossibleCountsFailWithTheirErrorNumberInTheirSection) {
  const struct { std::int32_t count; int expected[WadLayout::kSections]; } cases[] = {
      {0, {9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 0}},
      {-1, {9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 0}},
      {INT_MIN, {6, 9, 6, 6, 6, 6, 6, 6, 6, 6, 6, 0}},
      {INT_MAX, {7, 7, 7, 6, 7, 7, 7, 7, 7, 7, 7, 7}},
  };
  for (const auto& c : cases) {
    for (int s = 0; s < WadLayout::kSections; ++s) ExpectCountGives(s, c.count, c.expected[s]);
  }
  for (int s = 0; s < WadLayout::kSections; ++s) {
    const std::int32_t step = s == kTextData ? 768 : 1;
    const std::int32_t atCap = (1 << 30) / kUnitBytes[s] / step * step;
    ExpectCountGives(s, atCap, s >= kMoveables ? 0 : kSubscriptOutOfRange);
    ExpectCountGives(s, atCap + step, kOutOfMemory);
  }
  ExpectCountGives(kMeshData, 1 << 30, kOverflow);
  ExpectCountGives(kMeshData, -(1 << 30) + 1, kSubscriptOutOfRange);
  ExpectCountGives(kTextData, 383, kSubscriptOutOfRange);  // no row at all
}

// A cut reads as if the missing bytes were zero; before the moveables'
// data it fails with 9 in the section it falls in, rather than allocating
// what the file cannot fill.
TEST_F(WadReaderTest, FileCutAnywhereReadsAsIfTheMissingBytesWereZero) {
  const WadLayout layout = SampleLayout();
  const Bytes whole = layout.bytes();
  // Inside the texture rows every length behaves alike: a sample is enough.
  const std::size_t rowsFrom = layout.countOffset(kTextData) + 12, rowsTo = layout.countOffset(kTextData + 1) - 8;
  for (std::size_t length = 0; length < whole.size(); ++length) {
    if (length > rowsFrom && length < rowsTo && length % 61 != 0) continue;
    SCOPED_TRACE("cut after " + std::to_string(length) + " bytes");
    Bytes padded(whole.begin(), whole.begin() + std::ptrdiff_t(length));
    const Bytes cut = padded;
    padded.resize(whole.size(), 0);
    WadDocument fromPadded, fromCut;
    const auto cutError = Read(cut, &fromCut);
    const std::int64_t cutLength = length_;
    ASSERT_EQ(cutError.first, Read(padded, &fromPadded).first);
    if (length <= layout.countOffset(kMoveables)) {
      int s = 0;
      while (layout.countOffset(s + 1) <= length) ++s;
      ASSERT_EQ(cutError, std::pair(9, Section(s)));
    } else if (cutError.first == 0) {
      ASSERT_EQ(fromCut, fromPadded);
      ASSERT_EQ(cutLength, static_cast<std::int64_t>(length));
      const WadDocument lenient = ReadLenient(cut);
      ASSERT_EQ(lenient, fromCut);
      ASSERT_EQ(lenient.reading, fromCut.reading);
    }
  }
}

// 768 x R bytes are read, R from the texture rule, and the count stays as read.
TEST_F(WadReaderTest, TextureSectionReadsTheRowsTheRuleGives) {
  for (const auto& [numTextData, rows] : {std::pair{384, 1}, {768 * 2 + 384, 3}, {768 * 3 + 384, 3}}) {
    WadDocument expected = test::WadBuilder().textureRows(rows).build();
    WadLayout layout = WadLayout::Of(expected);
    layout.counts[kTextData] = expected.NumTextData = numTextData;
    WadDocument read;
    ASSERT_EQ(Read(layout.bytes(), &read).first, 0);
    EXPECT_EQ(read, expected) << numTextData;
  }
}

// The last row index is bytes / 768 - 1, rounded to the nearest integer with
// halves going to the even one; below 0 there is no row at all.
TEST(TextureRows, UpperBoundRoundsHalvesToTheEvenRow) {
  const std::pair<std::int32_t, std::int32_t> cases[] = {
      {INT_MIN, -2796204}, {-384, -2}, {0, -1}, {383, -1}, {384, 0} /* -0.5 */, {1151, 0}, {1152, 0} /* 0.5 */,
      {1153, 1}, {1920, 2} /* 1.5 */, {768 * 3 + 384, 2}, {768 * 4 + 384, 4}, {INT_MAX, 2796202},
  };
  for (const auto& [bytes, upperBound] : cases) EXPECT_EQ(TextureRowUpperBound(bytes), upperBound) << bytes;
  for (std::int32_t rows = 1; rows <= 4096; ++rows) ASSERT_EQ(TextureRowUpperBound(rows * 768), rows - 1) << rows;
}

// Unlike a WAD, an SWD accepts zero counts. A section cut short keeps what
// the file held, the rest reads as zero without being stored, and every
// later count reads as 0.
TEST_F(WadReaderTest, SwdReadsEachSectionAfterTheOneBeforeAndTheMissingEndAsZeros) {
  EXPECT_EQ(ReadSwd(SwdFileBytes({0, 0, 0})).SwdEntries.size(), 0u);
  const SwdDocument read = ReadSwd(SwdFileBytes({2, 768, 3}, {32, 768, 24}));
  EXPECT_EQ(read.SwdUnknown, -3);
  EXPECT_EQ(std::tuple(read.SwdEntries.size(), read.SwdTextData.size(), read.SwdRecords.size()), std::tuple(2u, 1u, 3u));
  EXPECT_EQ(std::tuple(read.SwdEntries[1].Bytes[15], read.SwdTextData[0].Bytes[0], read.SwdRecords[2].Bytes[7]),
            std::tuple(32, 51, 124));
  const SwdDocument cut = ReadSwd(SwdFileBytes({1'000'000, 0, 0}, {20, 0, 0}));
  EXPECT_EQ(cut.SwdEntries.size(), 1'000'000u);
  EXPECT_EQ(cut.SwdEntries.storedBytes().size(), 28u);  // 20 bytes and the two counts after them
  EXPECT_EQ(cut.SwdEntries[999'999], SwdEntry{});
  EXPECT_EQ(std::pair(cut.NumSwdTextData, cut.NumSwdRecords), std::pair(0, 0));
}

TEST_F(WadReaderTest, SwdBadCountsFailWithTheirErrorNumberInTheirSection) {
  const struct { std::size_t section; std::int32_t count; int expected; } cases[] = {
      {0, -1, kSubscriptOutOfRange}, {2, -1, kSubscriptOutOfRange}, {0, INT_MIN, kOverflow}, {2, INT_MIN, kOverflow},
      {0, INT_MAX, kOutOfMemory},    {1, 383, kSubscriptOutOfRange}, {1, -768, kSubscriptOutOfRange},
      {1, INT_MAX, kOutOfMemory},
  };
  const std::string kNames[] = {"NumSwdEntries", "NumSwdTextData", "NumSwdRecords"};
  for (const auto& c : cases) {
    std::array<std::int32_t, 3> counts{};
    counts[c.section] = c.count;
    EXPECT_EQ(FaultOf([&] { ReadSwd(SwdFileBytes(counts)); }), std::pair(c.expected, kNames[c.section])) << c.count;
  }
}

std::vector<SectionState> States(const WadReading& reading) {
  std::vector<SectionState> states;
  for (const SectionReading& s : reading.sections) states.push_back(s.state);
  return states;
}

// The specified reader refuses a count below 1 as it always did; the lenient
// one reads the section as empty, its count as read, and every other section
// where it stands, so that the document writes back byte for byte.
TEST_F(WadReaderTest, EmptySectionIsReadOnLenientlyAndWrittenBackByteForByte) {
  for (int s = 0; s <= kMoveables; ++s) {
    const std::pair<std::int32_t, int> refusals[] = {{0, 9}, {-3, 9}, {s == kTextData ? 383 : INT_MIN, s == kTextData ? 9 : 6}};
    for (const auto& [count, refusal] : refusals) {
      SCOPED_TRACE(Section(s) + " = " + std::to_string(count));
      WadLayout layout = SampleLayout();
      layout.counts[std::size_t(s)] = count;
      layout.data[std::size_t(s)].clear();
      WadDocument specified;
      EXPECT_EQ(Read(layout.bytes(), &specified), std::pair(refusal, Section(s)));
      const WadDocument lenient = ReadLenient(layout.bytes());
      std::vector<SectionState> states(WadLayout::kSections, SectionState::Whole);
      states[std::size_t(s)] = SectionState::Empty;
      EXPECT_EQ(States(lenient.reading), states);
      WriteWAD(dir_ / "copy.wad", lenient);
      EXPECT_EQ(test::ReadFileBytes(dir_ / "copy.wad"), layout.bytes());
    }
  }
}

// A file that ends inside a section's count or data keeps the sections before
// it and what the cut one holds whole; every later one is missing. Sections 1
// to 10 cut their count to what they hold; the moveables and static meshes
// read as the specified reader reads them (the cut loop above compares them).
TEST_F(WadReaderTest, FileCutInsideASectionKeepsWhatItHoldsAndMissesTheRest) {
  const WadLayout layout = SampleLayout();
  const Bytes whole = layout.bytes();
  for (int s = 0; s < WadLayout::kSections; ++s) {
    const std::size_t element = s == kTextData ? 768 : std::size_t(kUnitBytes[s]);
    for (const std::size_t into : {std::size_t{2}, 4 + element + 1}) {
      const Bytes cut(whole.begin(), whole.begin() + std::ptrdiff_t(layout.countOffset(s) + into));
      SCOPED_TRACE(Section(s) + " cut after " + std::to_string(cut.size()) + " bytes");
      const WadDocument lenient = ReadLenient(cut);
      std::vector<SectionState> states(WadLayout::kSections, SectionState::Missing);
      std::fill(states.begin(), states.begin() + s, SectionState::Whole);
      if (into > 2) states[std::size_t(s)] = SectionState::Short;
      EXPECT_EQ(States(lenient.reading), states);
      EXPECT_EQ(lenient.reading.end, cut.size());
      if (s >= kMoveables) continue;
      WadLayout expected = layout;
      for (std::size_t later = std::size_t(s); later < WadLayout::kSections; ++later) {
        expected.counts[later] = later == std::size_t(s) && into > 2 ? std::int32_t(element) / kUnitBytes[s] : 0;
        expected.data[later].resize(later == std::size_t(s) && into > 2 ? element : 0);
      }
      EXPECT_EQ(WadLayout::Of(lenient).bytes(), expected.bytes());
    }
  }
}

}  // namespace
}  // namespace tarnlow
