// Broken WAD files as level builders meet them: cut short anywhere, with
// arrays just inside and just outside the memory cap, and texture counts on
// the rounding edges. The count table and the section-boundary cuts live in
// wad_reader_test.cpp.

#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <string>

#include "tests/support/temp_dir.h"
#include "tests/support/wad_builder.h"
#include "wad/wad_error.h"
#include "wad/wad_reader.h"

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

// Two or more records in every section, each with non-zero bytes, so that
// a cut in the middle of any array lands between real data.
WadDocument TwoOfEverything() {
  AnimationRecord animation;
  animation.FrameOffset = 0x01020304;
  animation.Unknown1.fill(0xA1);
  animation.AnimCommands = -7;
  StaticMeshRecord statue;
  statue.Bytes.fill(0x5A);
  MoveableRecord lara = test::Moveable(0x0A0B0C0D, 3, 0);
  lara.MeshTree = -1;
  lara.Unknown3 = {1, 2, 3, 4, 5, 6};
  return WadBuilder()
      .version(130)
      .textInfo({TextInfoRecord{{1, 2, 3, 4, 5, 6, 7, 8}}, TextInfoRecord{{9, 9, 9, 9, 9, 9, 9, 9}}})
      .textureRows(2)
      .meshes({test::SimpleMesh(), test::NullShapeMesh()})
      .animations({animation, animation})
      .stateChanges({{1, 2, 3}, {4, 5, 6}})
      .animDispatches({{-1, 2, -3, 4}, {5, 6, 7, 8}})
      .animCommands({5, -6, 7})
      .meshTrees({1, -2, 3})
      .frames({8, 9, 10})
      .moveables({lara, lara, lara})
      .staticMeshes({statue, statue})
      .build();
}

Bytes Prefix(const Bytes& bytes, std::size_t length) {
  return Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(length));
}

class HostileWadFiles : public ::testing::Test {
 protected:
  // Writes `bytes` and reads them back; the WadError when the read fails.
  std::optional<WadError> Read(const Bytes& bytes, WadDocument* document = nullptr) {
    WriteFileBytes(dir_ / "level.wad", bytes);
    try {
      WadDocument read = ReadWAD(dir_ / "level.wad", length_);
      if (document != nullptr) *document = std::move(read);
      return std::nullopt;
    } catch (const WadError& e) {
      return e;
    }
  }

  TempDir dir_;
  std::int64_t length_ = -1;
};

TEST_F(HostileWadFiles, FileCutAnywhereReadsAsIfTheMissingBytesWereZero) {
  const WadLayout layout = WadLayout::Of(TwoOfEverything());
  const Bytes whole = layout.bytes();
  // Every length, except that inside the texture rows, where every length
  // behaves alike, a sample is enough.
  const std::size_t rowsFrom = layout.countOffset(kTextData) + 4 + 8;
  const std::size_t rowsTo = layout.countOffset(kTextData + 1) - 8;
  for (std::size_t length = 0; length < whole.size(); ++length) {
    if (length > rowsFrom && length < rowsTo && length % 61 != 0) continue;
    SCOPED_TRACE("cut after " + std::to_string(length) + " of " + std::to_string(whole.size()) + " bytes");
    Bytes padded = Prefix(whole, length);
    padded.resize(whole.size(), 0);
    WadDocument fromCut;
    WadDocument fromPadded;
    const std::optional<WadError> cutError = Read(Prefix(whole, length), &fromCut);
    const std::optional<WadError> paddedError = Read(padded, &fromPadded);
    ASSERT_EQ(cutError.has_value(), paddedError.has_value())
        << (cutError ? cutError->what() : paddedError->what());
    if (cutError) {
      ASSERT_EQ(cutError->number(), paddedError->number()) << cutError->what() << " / " << paddedError->what();
    } else {
      ASSERT_EQ(fromCut, fromPadded);
    }
  }
}

TEST_F(HostileWadFiles, CutInTheMiddleOfAnArrayOfTheFirstTenSectionsFailsWithSubscriptError) {
  const WadLayout layout = WadLayout::Of(TwoOfEverything());
  const Bytes whole = layout.bytes();
  for (int section = 0; section < kMoveables; ++section) {
    const auto s = static_cast<std::size_t>(section);
    SCOPED_TRACE(SectionNames()[s]);
    const std::size_t cut = layout.countOffset(section) + 4 + layout.data[s].size() / 2;
    const std::optional<WadError> error = Read(Prefix(whole, cut));
    ASSERT_TRUE(error) << "loaded although cut at byte " << cut;
    EXPECT_EQ(error->number(), kSubscriptOutOfRange) << error->what();
    EXPECT_NE(error->where().find(SectionNames()[s]), std::string::npos) << error->where();
  }
}

TEST_F(HostileWadFiles, CutInTheMiddleOfTheMoveablesLoadsWithTheirTailAsZero) {
  const WadDocument original = TwoOfEverything();
  const WadLayout layout = WadLayout::Of(original);
  // Nine bytes into the second record: its ObjectID, NumMeshes, StartingMesh
  // and the first byte of MeshTree survive.
  const std::size_t cut = layout.countOffset(kMoveables) + 4 + MoveableRecord::kFileSize + 9;
  WadDocument read;
  const std::optional<WadError> error = Read(Prefix(layout.bytes(), cut), &read);
  ASSERT_FALSE(error) << error->what();
  EXPECT_EQ(length_, static_cast<std::int64_t>(cut));
  ASSERT_EQ(read.NumMoveables, 3);
  ASSERT_EQ(read.Moveables.size(), 3u);
  EXPECT_EQ(read.Moveables[0], original.Moveables[0]);
  MoveableRecord second = original.Moveables[1];
  second.MeshTree = 0xFF;  // low byte of -1; the other three were cut
  second.Unknown3 = {};
  EXPECT_EQ(read.Moveables[1], second);
  EXPECT_EQ(read.Moveables[2], MoveableRecord{});
  EXPECT_EQ(read.NumStaticMeshes, 0);
  EXPECT_TRUE(read.StaticMeshes.empty());
  // Everything before the moveables is whole.
  EXPECT_EQ(read.Frames, original.Frames);
  EXPECT_EQ(read.MeshData, original.MeshData);
}

// Arrays are refused as too large (7) only beyond kMaxArrayBytes: one
// record fewer passes the check, and then either runs past the end of the
// small file (9) or, for the two sections that may, loads with a zero tail.
TEST_F(HostileWadFiles, ArraysBeyondTheMemoryCapFailWithOutOfMemoryAndNotBefore) {
  struct Case {
    int section;
    std::int32_t countAtCap;  // kMaxArrayBytes / record size
    int atCap;                // error number at the cap, 0 when it loads
  };
  const Case cases[] = {
      {0, (1 << 30) / 8, kSubscriptOutOfRange},
      // Texture counts are bytes: 1398101 rows of 768 fit, one more does not.
      {kTextData, 1398101 * 768, kSubscriptOutOfRange},
      {2, (1 << 30) / 4, kSubscriptOutOfRange},
      // Mesh data counts 16-bit words.
      {kMeshData, 1 << 29, kSubscriptOutOfRange},
      {4, (1 << 30) / 40, kSubscriptOutOfRange},
      {5, (1 << 30) / 6, kSubscriptOutOfRange},
      {6, (1 << 30) / 8, kSubscriptOutOfRange},
      {7, (1 << 30) / 2, kSubscriptOutOfRange},
      {8, (1 << 30) / 4, kSubscriptOutOfRange},
      {9, (1 << 30) / 2, kSubscriptOutOfRange},
      {kMoveables, (1 << 30) / 18, 0},
      {kStatics, (1 << 30) / 32, 0},
  };
  ASSERT_EQ(kMaxArrayBytes, std::uint64_t{1} << 30);
  const WadLayout good = WadLayout::Of(WadBuilder().build());
  for (const Case& c : cases) {
    const auto s = static_cast<std::size_t>(c.section);
    const std::int32_t step = c.section == kTextData ? 768 : 1;
    for (const std::int32_t count : {c.countAtCap, c.countAtCap + step}) {
      SCOPED_TRACE(std::string(SectionNames()[s]) + " = " + std::to_string(count));
      WadLayout layout = good;
      layout.counts[s] = count;
      WadDocument read;
      const std::optional<WadError> error = Read(layout.bytes(), &read);
      const int expected = count == c.countAtCap ? c.atCap : kOutOfMemory;
      if (expected == 0) {
        ASSERT_FALSE(error) << error->what();
        // Only what the file held is stored.
        EXPECT_LT(read.Moveables.storedBytes().size() + read.StaticMeshes.storedBytes().size(), 1000u);
        continue;
      }
      ASSERT_TRUE(error);
      EXPECT_EQ(error->number(), expected) << error->what();
    }
  }
}

// Rows R for a texture byte count: count / 768 - 1 rounded half to even is
// R - 1. 0 means no row, which fails with 9.
TEST_F(HostileWadFiles, TextureCountsOnTheRoundingEdges) {
  const struct {
    std::int32_t numTextData;
    std::int32_t rows;
  } cases[] = {
      {INT_MIN, 0}, {-384, 0}, {-1, 0}, {1, 0}, {382, 0},
      {385, 1},     {1151, 1},
      {1152, 1},   // 0.5 rounds to 0
      {1153, 2},    {1919, 2},
      {1920, 3},   // 1.5 rounds to 2
      // Odd multiples of 384, 768k + 384: the half goes to the even R - 1.
      {384, 1},     {768 + 384, 1},     {2 * 768 + 384, 3},
      {3 * 768 + 384, 3}, {4 * 768 + 384, 5}, {5 * 768 + 384, 5},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("NumTextData " + std::to_string(c.numTextData));
    const WadDocument built = WadBuilder().textureRows(c.rows > 0 ? c.rows : 1).build();
    WadLayout layout = WadLayout::Of(built);
    layout.counts[kTextData] = c.numTextData;
    WadDocument read;
    const std::optional<WadError> error = Read(layout.bytes(), &read);
    if (c.rows == 0) {
      ASSERT_TRUE(error);
      EXPECT_EQ(error->number(), kSubscriptOutOfRange) << error->what();
      continue;
    }
    ASSERT_FALSE(error) << error->what();
    EXPECT_EQ(read.TextData.size(), static_cast<std::size_t>(c.rows));
    EXPECT_EQ(read.TextData, built.TextData);
    // The count stays as read, and the sections after the rows were found.
    EXPECT_EQ(read.NumTextData, c.numTextData);
    EXPECT_EQ(read.Moveables, built.Moveables);
  }
}

}  // namespace
}  // namespace tarnlow
