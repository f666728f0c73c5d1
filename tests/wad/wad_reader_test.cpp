#include "wad/wad_reader.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <algorithm>
#include <cerrno>
#include <climits>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/temp_dir.h"
#include "tests/support/wad_builder.h"
#include "wad/wad_error.h"

namespace tarnlow {
namespace {

using test::WadBuilder;
using test::WadLayout;

constexpr int kTextData = 1;
constexpr int kMeshData = 3;
constexpr int kMoveables = 10;
constexpr int kStatics = 11;
// The file form: bytes per unit of each count (texture data counts bytes,
// mesh data 16-bit words).
constexpr std::int32_t kUnitBytes[WadLayout::kSections] = {8, 1, 4, 2, 40, 6, 8, 2, 4, 2, 18, 32};

// Two records in every section (two texture rows), every data byte non-zero
// and unlike its neighbours, so that a misplaced read, or a cut anywhere,
// lands between real data.
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

Bytes Cut(const Bytes& bytes, std::size_t length) {
  return Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(length));
}

std::string Section(int s) { return test::SectionNames()[static_cast<std::size_t>(s)]; }

class WadReaderTest : public ::testing::Test {
 protected:
  // Writes `bytes` as a file and reads it; the WadError when the read fails.
  std::optional<WadError> Read(const Bytes& bytes, WadDocument* document = nullptr) {
    test::WriteFileBytes(dir_ / "level.wad", bytes);
    try {
      WadDocument read = ReadWAD(dir_ / "level.wad", length_);
      if (document != nullptr) *document = std::move(read);
      return std::nullopt;
    } catch (const WadError& e) {
      return e;
    }
  }

  // Reads `layout` with the count of section `s` replaced: fails with
  // `expected`, naming the section and where its count stood, or (0) loads
  // with every array as long as its count and no more stored than the file held.
  void ExpectCountGives(WadLayout layout, int s, std::int32_t count, int expected) {
    SCOPED_TRACE(Section(s) + " = " + std::to_string(count));
    const std::string where = Section(s) + " at byte " + std::to_string(layout.countOffset(s));
    layout.counts[static_cast<std::size_t>(s)] = count;
    WadDocument read;
    const std::optional<WadError> error = Read(layout.bytes(), &read);
    if (expected == 0) {
      ASSERT_FALSE(error) << error->what();
      EXPECT_EQ(read.Moveables.size(), static_cast<std::size_t>(read.NumMoveables));
      EXPECT_EQ(read.StaticMeshes.size(), static_cast<std::size_t>(std::max(read.NumStaticMeshes, 0)));
      EXPECT_LT(read.Moveables.storedBytes().size() + read.StaticMeshes.storedBytes().size(), layout.bytes().size());
      return;
    }
    ASSERT_TRUE(error);
    EXPECT_EQ(error->number(), expected) << error->what();
    EXPECT_EQ(error->where(), where);
  }

  test::TempDir dir_;
  std::int64_t length_ = -1;
};

TEST_F(WadReaderTest, ReadsEverySectionAndIgnoresTrailingBytesThatTheLengthStillCounts) {
  const WadLayout layout = SampleLayout();
  Bytes bytes = layout.bytes();
  bytes.insert(bytes.end(), 100, 0xFF);
  WadDocument read;
  ASSERT_FALSE(Read(bytes, &read));
  const WadLayout back = WadLayout::Of(read);
  EXPECT_EQ(back.version, layout.version);
  EXPECT_EQ(back.counts, layout.counts);
  for (std::size_t s = 0; s < WadLayout::kSections; ++s) EXPECT_EQ(back.data[s], layout.data[s]) << Section(int(s));
  EXPECT_TRUE(read.MeshRecords.empty());
  EXPECT_EQ(length_, static_cast<std::int64_t>(bytes.size()));
}

// The same count in every section, with the number the user is shown (0:
// loads). The texture rule has no count - 1 to overflow; twice the mesh-data
// count minus 1 overflows before its array is too large; a static-mesh count
// of 0 or less reads no records.
TEST_F(WadReaderTest, ImpossibleCountsFailWithTheirErrorNumberAndPlace) {
  const struct {
    std::int32_t count;
    int expected[WadLayout::kSections];
  } cases[] = {
      {0, {9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 0}},
      {-1, {9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 0}},
      {INT_MIN, {6, 9, 6, 6, 6, 6, 6, 6, 6, 6, 6, 0}},
      {INT_MAX, {7, 7, 7, 6, 7, 7, 7, 7, 7, 7, 7, 7}},
  };
  const WadLayout good = SampleLayout();
  for (const auto& c : cases) {
    for (int s = 0; s < WadLayout::kSections; ++s) ExpectCountGives(good, s, c.count, c.expected[s]);
  }
}

// An array may take 1 GiB: one record (texture row) more is out of memory
// (7). At the cap the small file cannot hold the records (9), except the
// moveables and the static meshes, which may run past the end and load with a
// zero tail. Twice the mesh-data count minus 1 must fit in 32 bits.
TEST_F(WadReaderTest, CountsAtTheEdgesOfEachCheck) {
  constexpr std::int32_t kCap = 1 << 30;
  ASSERT_EQ(kMaxArrayBytes, std::uint64_t{kCap});
  const WadLayout good = SampleLayout();
  for (int s = 0; s < WadLayout::kSections; ++s) {
    const std::int32_t step = s == kTextData ? 768 : 1;
    const std::int32_t atCap = kCap / kUnitBytes[s] / step * step;
    ExpectCountGives(good, s, atCap, s >= kMoveables ? 0 : kSubscriptOutOfRange);
    ExpectCountGives(good, s, atCap + step, kOutOfMemory);
  }
  ExpectCountGives(good, kMeshData, kCap + 1, kOverflow);
  ExpectCountGives(good, kMeshData, -kCap, kOverflow);
  ExpectCountGives(good, kMeshData, -kCap + 1, kSubscriptOutOfRange);
  // 383 texture bytes round to no row at all.
  ExpectCountGives(good, kTextData, 383, kSubscriptOutOfRange);
}

TEST_F(WadReaderTest, FileCutAnywhereReadsAsIfTheMissingBytesWereZero) {
  const WadLayout layout = SampleLayout();
  const Bytes whole = layout.bytes();
  // Inside the texture rows every length behaves alike: a sample is enough.
  const std::size_t rowsFrom = layout.countOffset(kTextData) + 4 + 8;
  const std::size_t rowsTo = layout.countOffset(kTextData + 1) - 8;
  for (std::size_t length = 0; length < whole.size(); ++length) {
    if (length > rowsFrom && length < rowsTo && length % 61 != 0) continue;
    SCOPED_TRACE("cut after " + std::to_string(length) + " of " + std::to_string(whole.size()) + " bytes");
    Bytes padded = Cut(whole, length);
    padded.resize(whole.size(), 0);
    WadDocument fromPadded;
    WadDocument fromCut;
    const std::optional<WadError> paddedError = Read(padded, &fromPadded);
    const std::optional<WadError> cutError = Read(Cut(whole, length), &fromCut);
    ASSERT_EQ(cutError.has_value(), paddedError.has_value()) << (cutError ? cutError->what() : paddedError->what());
    if (cutError) {
      ASSERT_EQ(cutError->number(), paddedError->number()) << cutError->what() << " / " << paddedError->what();
    } else {
      ASSERT_EQ(fromCut, fromPadded);
      ASSERT_EQ(length_, static_cast<std::int64_t>(length));
    }
  }
}

// A cut at a count of sections 1 to 11, or inside the data of sections 1 to
// 10, fails with 9 at that section rather than allocating what the file
// cannot fill.
TEST_F(WadReaderTest, CutBeforeTheMoveablesFailsAtTheSectionItFallsIn) {
  const WadLayout layout = SampleLayout();
  const Bytes whole = layout.bytes();
  for (int s = 0; s < kStatics; ++s) {
    const std::size_t at = layout.countOffset(s);
    std::vector<std::size_t> cuts = {at};
    if (s < kMoveables) cuts.insert(cuts.end(), {at + 4 + layout.data[std::size_t(s)].size() / 2, layout.countOffset(s + 1) - 1});
    for (const std::size_t cut : cuts) {
      SCOPED_TRACE(Section(s) + ", cut at byte " + std::to_string(cut));
      const std::optional<WadError> error = Read(Cut(whole, cut));
      ASSERT_TRUE(error);
      EXPECT_EQ(error->number(), kSubscriptOutOfRange) << error->what();
      EXPECT_EQ(error->where(), Section(s) + " at byte " + std::to_string(at));
    }
  }
}

// R rows follow from NumTextData by the texture rule (texture_rows_test.cpp);
// 768 x R bytes are read whatever the count says, and the count stays as read.
TEST_F(WadReaderTest, TextureSectionReadsTheRowsTheRuleGives) {
  const struct {
    std::int32_t numTextData;
    std::int32_t rows;
  } cases[] = {{384, 1}, {1000, 1}, {768 * 2 + 384, 3}, {768 * 3 + 384, 3}, {768 * 256, 256}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.numTextData);
    WadDocument expected = WadBuilder().textureRows(c.rows).build();
    WadLayout layout = WadLayout::Of(expected);
    layout.counts[kTextData] = expected.NumTextData = c.numTextData;
    WadDocument read;
    const std::optional<WadError> error = Read(layout.bytes(), &read);
    ASSERT_FALSE(error) << error->what();
    EXPECT_EQ(read.TextData.size(), static_cast<std::size_t>(c.rows));
    EXPECT_EQ(read, expected);
  }
}

// POSIX only (modes, umask, fifos, root); the Windows counterparts are in
// windows_files_test.cpp.
#ifndef _WIN32
// A reader that opened a pipe plainly would wait forever for a writer.
TEST_F(WadReaderTest, PathThatIsNoReadableFileFailsWithTheSystemError) {
  ASSERT_EQ(::mkfifo((dir_ / "pipe.wad").c_str(), 0600), 0);
  const struct {
    const char* name;
    int number;
  } cases[] = {{"absent.wad", ENOENT}, {"", EISDIR}, {"pipe.wad", EINVAL}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    try {
      ReadWAD(dir_ / c.name, length_);
      ADD_FAILURE() << "no error";
    } catch (const WadError& e) {
      EXPECT_EQ(e.number(), c.number) << e.what();
      EXPECT_FALSE(e.description().empty());
      EXPECT_EQ(e.where(), (dir_ / c.name).string());
    }
  }
}
#endif

}  // namespace
}  // namespace tarnlow
