#include "wad/wad_reader.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <climits>
#include <optional>

#include "tests/support/temp_dir.h"
#include "tests/support/wad_builder.h"
#include "wad/wad_error.h"

namespace tarnlow {
namespace {

using test::SectionNames;
using test::TempDir;
using test::WadBuilder;
using test::WadFileBytes;
using test::WadLayout;
using test::WriteFileBytes;

constexpr int kTextData = 1;
constexpr int kMeshData = 3;
constexpr int kMoveables = 10;
constexpr int kStatics = 11;

// A document with a little of everything, so that every section has bytes
// that a misplaced read would disturb.
WadDocument SampleDocument() {
  AnimationRecord animation;
  animation.FrameOffset = 123456;
  animation.StateID = -2;
  animation.Unknown2[7] = 0xEE;
  animation.AnimCommands = 77;
  StaticMeshRecord staticMesh;
  staticMesh.Bytes.fill(0x5A);
  MoveableRecord lara = test::Moveable(0, 15, 0);
  lara.MeshTree = -1;
  lara.Unknown3 = {1, 2, 3, 4, 5, 6};
  return WadBuilder()
      .version(130)
      .textInfo({TextInfoRecord{{1, 2, 3, 4, 5, 6, 7, 8}}, TextInfoRecord{}})
      .textureRows(3)
      .meshes({test::SimpleMesh(), test::NullShapeMesh(), test::SimpleMesh(5)})
      .animations({animation, AnimationRecord{}})
      .stateChanges({StateChangeRecord{1, 2, 3}})
      .animDispatches({AnimDispatchRecord{-1, 2, -3, 4}})
      .animCommands({5, -6, 7})
      .meshTrees({0, 1, -2})
      .frames({8, 9})
      .moveables({lara, test::Moveable(405, 1, 2)})
      .staticMeshes({staticMesh, StaticMeshRecord{}})
      .build();
}

class WadReaderTest : public ::testing::Test {
 protected:
  // Writes `bytes` and reads them back; the WadError when the read fails.
  std::optional<WadError> ReadBytes(const Bytes& bytes, WadDocument* document = nullptr) {
    WriteFileBytes(path(), bytes);
    try {
      WadDocument read = ReadWAD(path(), length_);
      if (document != nullptr) *document = std::move(read);
      return std::nullopt;
    } catch (const WadError& e) {
      return e;
    }
  }
  std::filesystem::path path() const { return dir_ / "level.wad"; }

  TempDir dir_;
  std::int64_t length_ = -1;
};

TEST_F(WadReaderTest, ReadsBackWhatTheBuilderWrote) {
  const WadDocument original = SampleDocument();
  WadDocument read;
  ASSERT_FALSE(ReadBytes(WadFileBytes(original), &read));
  EXPECT_EQ(read, original);
  EXPECT_EQ(read.Moveables[1].ObjectID, 405);
  EXPECT_EQ(read.Moveables[0].Unknown3[5], 6);
  EXPECT_EQ(read.Animations[0].Unknown2[7], 0xEE);
  EXPECT_TRUE(read.MeshRecords.empty());
}

TEST_F(WadReaderTest, FileLengthCountsTrailingBytesThatAreNotRead) {
  const WadDocument original = SampleDocument();
  Bytes bytes = WadFileBytes(original);
  const std::size_t documentBytes = bytes.size();
  bytes.insert(bytes.end(), 100, 0xFF);
  WadDocument read;
  ASSERT_FALSE(ReadBytes(bytes, &read));
  EXPECT_EQ(length_, static_cast<std::int64_t>(documentBytes + 100));
  EXPECT_EQ(read, original);
}

TEST_F(WadReaderTest, StaticMeshCountOfZeroOrLessReadsNoRecords) {
  for (const std::int32_t count : {0, -5, INT_MIN}) {
    SCOPED_TRACE(count);
    WadLayout layout = WadLayout::Of(WadBuilder().build());
    layout.counts[kStatics] = count;
    // Bytes that would be records if the count were read as positive.
    layout.data[kStatics] = Bytes(64, 0xAB);
    WadDocument read;
    ASSERT_FALSE(ReadBytes(layout.bytes(), &read));
    EXPECT_EQ(read.NumStaticMeshes, count);
    EXPECT_TRUE(read.StaticMeshes.empty());
  }
}

// Each count of sections 1 to 11 at a value the reader must refuse, with
// the number the user is shown. Sections where the count gives the upper
// bound by another rule (texture rows, mesh-data words) differ.
struct CountCase {
  const char* label;
  std::int32_t count;
  int expected[WadLayout::kSections];  // 0: loads
};

const CountCase kCountCases[] = {
    {"zero", 0, {9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 0}},
    {"minus one", -1, {9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 0}},
    // count - 1 overflows; the texture rule has no count - 1 to overflow.
    {"most negative", INT_MIN, {6, 9, 6, 6, 6, 6, 6, 6, 6, 6, 6, 0}},
    // too large to allocate; twice the mesh-data count minus 1 overflows first.
    {"most positive", INT_MAX, {7, 7, 7, 6, 7, 7, 7, 7, 7, 7, 7, 7}},
};

TEST_F(WadReaderTest, ImpossibleCountsFailWithTheirErrorNumber) {
  const WadLayout good = WadLayout::Of(SampleDocument());
  for (const CountCase& c : kCountCases) {
    for (int section = 0; section < WadLayout::kSections; ++section) {
      SCOPED_TRACE(std::string(SectionNames()[static_cast<std::size_t>(section)]) + " " + c.label);
      WadLayout layout = good;
      layout.counts[static_cast<std::size_t>(section)] = c.count;
      const std::optional<WadError> error = ReadBytes(layout.bytes());
      const int expected = c.expected[section];
      if (expected == 0) {
        EXPECT_FALSE(error) << error->what();
        continue;
      }
      ASSERT_TRUE(error);
      EXPECT_EQ(error->number(), expected) << error->what();
      // The message names the section and where its count stood.
      EXPECT_NE(error->where().find(SectionNames()[static_cast<std::size_t>(section)]), std::string::npos);
      EXPECT_NE(error->where().find(std::to_string(good.countOffset(section))), std::string::npos) << error->where();
    }
  }
}

TEST_F(WadReaderTest, FileCutAtASectionBoundaryFailsAtThatCountExceptBeforeStatics) {
  const WadLayout layout = WadLayout::Of(SampleDocument());
  const Bytes whole = layout.bytes();
  for (int section = 0; section < WadLayout::kSections; ++section) {
    SCOPED_TRACE(SectionNames()[static_cast<std::size_t>(section)]);
    const std::size_t cut = layout.countOffset(section);
    WadDocument read;
    const std::optional<WadError> error = ReadBytes(Bytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(cut)), &read);
    if (section == kStatics) {
      ASSERT_FALSE(error) << error->what();
      EXPECT_EQ(read.NumStaticMeshes, 0);
      EXPECT_EQ(length_, static_cast<std::int64_t>(cut));
      continue;
    }
    ASSERT_TRUE(error);
    EXPECT_EQ(error->number(), kSubscriptOutOfRange);
    EXPECT_EQ(error->where(), std::string(SectionNames()[static_cast<std::size_t>(section)]) + " at byte " +
                                  std::to_string(cut));
  }
}

TEST_F(WadReaderTest, FileCutInsideAnEarlySectionFailsWithSubscriptError) {
  const WadLayout layout = WadLayout::Of(SampleDocument());
  const Bytes whole = layout.bytes();
  for (int section = 0; section < kMoveables; ++section) {
    SCOPED_TRACE(SectionNames()[static_cast<std::size_t>(section)]);
    // One byte short of the section's data.
    const std::size_t cut = layout.countOffset(section + 1) - 1;
    const std::optional<WadError> error = ReadBytes(Bytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(cut)));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->number(), kSubscriptOutOfRange);
    EXPECT_NE(error->where().find(SectionNames()[static_cast<std::size_t>(section)]), std::string::npos);
  }
}

TEST_F(WadReaderTest, StaticMeshesCutShortReadTheirMissingBytesAsZero) {
  StaticMeshRecord full;
  full.Bytes.fill(0x77);
  const WadDocument original = WadBuilder().staticMeshes({full, full}).build();
  Bytes bytes = WadFileBytes(original);
  bytes.resize(bytes.size() - 40);  // the second record and 8 bytes of the first
  WadDocument read;
  ASSERT_FALSE(ReadBytes(bytes, &read));
  ASSERT_EQ(read.StaticMeshes.size(), 2u);
  StaticMeshRecord firstExpected = full;
  std::fill(firstExpected.Bytes.begin() + 24, firstExpected.Bytes.end(), 0);
  EXPECT_EQ(read.StaticMeshes[0], firstExpected);
  EXPECT_EQ(read.StaticMeshes[1], StaticMeshRecord{});
}

TEST_F(WadReaderTest, HugeMoveableCountInATinyFileLoadsWithoutAllocatingIt) {
  WadLayout layout = WadLayout::Of(WadBuilder().build());
  layout.counts[kMoveables] = 50'000'000;
  layout.data[kMoveables] = Bytes(18, 0x11);  // one real record
  layout.counts[kStatics] = 0;
  WadDocument read;
  ASSERT_FALSE(ReadBytes(layout.bytes(), &read));
  EXPECT_EQ(read.Moveables.size(), 50'000'000u);
  // The one record, then the 4 bytes of the static-mesh count: all the file
  // held after the moveable count.
  EXPECT_EQ(read.Moveables.storedBytes().size(), 22u);
  EXPECT_EQ(read.Moveables[0].ObjectID, 0x11111111);
  EXPECT_EQ(read.Moveables[1].ObjectID, 0);  // its bytes 18-21 are zero
  EXPECT_EQ(read.Moveables[49'999'999], MoveableRecord{});
  EXPECT_EQ(read.NumStaticMeshes, 0);
}

TEST_F(WadReaderTest, MoveableSectionConsumesEighteenBytesPerRecord) {
  StaticMeshRecord marker;
  marker.Bytes.fill(0x42);
  const WadDocument original =
      WadBuilder().moveables({test::Moveable(1, 2, 3), test::Moveable(4, 5, 6), test::Moveable(7, 8, 9)}).staticMeshes({marker}).build();
  WadDocument read;
  ASSERT_FALSE(ReadBytes(WadFileBytes(original), &read));
  EXPECT_EQ(read.Moveables[2].StartingMesh, 9);
  ASSERT_EQ(read.NumStaticMeshes, 1);
  EXPECT_EQ(read.StaticMeshes[0], marker);
}

TEST_F(WadReaderTest, MeshDataLimitIsTwiceTheWordCountInThirtyTwoBits) {
  // 2^30 words: 2 x 2^30 - 1 still fits, the array is too big to take.
  // 2^30 + 1 words: 2 x count - 1 leaves the 32-bit range.
  const struct {
    std::int32_t words;
    int expected;
  } cases[] = {{1 << 30, kOutOfMemory}, {(1 << 30) + 1, kOverflow}, {-(1 << 30), kOverflow}, {-(1 << 30) + 1, kSubscriptOutOfRange}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.words);
    WadLayout layout = WadLayout::Of(WadBuilder().build());
    layout.counts[kMeshData] = c.words;
    const std::optional<WadError> error = ReadBytes(layout.bytes());
    ASSERT_TRUE(error);
    EXPECT_EQ(error->number(), c.expected);
  }
}

TEST_F(WadReaderTest, TextureRowsFollowTheRoundingRule) {
  const struct {
    std::int32_t numTextData;
    std::int32_t rows;  // 0: fails with 9
  } cases[] = {
      {383, 0},        {384, 1},           {767, 1},  {768, 1}, {1000, 1},
      {768 * 2 + 384, 3},  // k = 2 even: R = k + 1
      {768 * 3 + 384, 3},  // k = 3 odd: R = k
      {768 * 256, 256},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.numTextData);
    const std::int32_t builtRows = c.rows > 0 ? c.rows : 1;
    WadLayout layout = WadLayout::Of(WadBuilder().textureRows(builtRows).build());
    layout.counts[kTextData] = c.numTextData;
    WadDocument read;
    const std::optional<WadError> error = ReadBytes(layout.bytes(), &read);
    if (c.rows == 0) {
      ASSERT_TRUE(error);
      EXPECT_EQ(error->number(), kSubscriptOutOfRange);
      continue;
    }
    ASSERT_FALSE(error) << error->what();
    EXPECT_EQ(read.NumTextData, c.numTextData);
    EXPECT_EQ(read.TextData.size(), static_cast<std::size_t>(c.rows));
    // The rows after the texture were found where the rule put them.
    EXPECT_EQ(read.NumMeshPointers, 1);
    EXPECT_EQ(read.Pixel(255, static_cast<std::size_t>(c.rows - 1)), WadBuilder().textureRows(builtRows).build().Pixel(255, static_cast<std::size_t>(c.rows - 1)));
  }
}

TEST_F(WadReaderTest, MissingFileReportsTheSystemError) {
  try {
    ReadWAD(dir_ / "absent.wad", length_);
    FAIL() << "no error";
  } catch (const WadError& e) {
    EXPECT_EQ(e.number(), ENOENT);
    EXPECT_NE(e.where().find("absent.wad"), std::string::npos);
  }
}

TEST_F(WadReaderTest, FolderGivenAsFileFailsClearly) {
  try {
    ReadWAD(dir_.path(), length_);
    FAIL() << "no error";
  } catch (const WadError& e) {
    EXPECT_EQ(e.number(), EISDIR);
    EXPECT_FALSE(e.description().empty());
  }
}

TEST_F(WadReaderTest, PipeGivenAsFileFailsInsteadOfWaiting) {
  // Nothing ever writes to this pipe: a reader that opened it plainly would
  // wait forever.
  const std::filesystem::path pipe = dir_ / "pipe.wad";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  try {
    ReadWAD(pipe, length_);
    FAIL() << "no error";
  } catch (const WadError& e) {
    EXPECT_NE(e.description().find("regular file"), std::string::npos) << e.description();
  }
}

}  // namespace
}  // namespace tarnlow
