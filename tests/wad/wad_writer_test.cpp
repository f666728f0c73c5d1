#include "wad/wad_writer.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "tests/support/temp_dir.h"
#include "tests/support/wad_builder.h"
#include "wad/byte_writer.h"
#include "wad/wad_error.h"
#include "wad/wad_reader.h"

namespace tarnlow {
namespace {

using test::ReadFileBytes;
using test::TempDir;
using test::WadBuilder;
using test::WadFileBytes;
using test::WadLayout;
using test::WriteFileBytes;

WadDocument SmallDocument() {
  StaticMeshRecord staticMesh;
  staticMesh.Bytes.fill(9);
  return WadBuilder()
      .version(-7)
      .textureRows(2)
      .meshes({test::SimpleMesh(), test::NullShapeMesh()})
      .frames({1, 2, 3})
      .moveables({test::Moveable(3, 2, 0)})
      .staticMeshes({staticMesh})
      .build();
}

std::size_t EntriesIn(const std::filesystem::path& folder) {
  std::size_t n = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) ++n;
  return n;
}

class WadWriterTest : public ::testing::Test {
 protected:
  WadDocument Read(const std::filesystem::path& path) {
    std::int64_t length = 0;
    return ReadWAD(path, length);
  }
  TempDir dir_;
};

TEST_F(WadWriterTest, ReadThenWriteGivesTheFileUpToTheEndOfItsStaticMeshes) {
  const Bytes original = WadFileBytes(SmallDocument());
  Bytes withTrailer = original;
  withTrailer.insert(withTrailer.end(), {0xDE, 0xAD, 0xBE, 0xEF});
  WriteFileBytes(dir_ / "in.wad", withTrailer);
  WriteWAD(dir_ / "out.wad", Read(dir_ / "in.wad"));
  EXPECT_EQ(ReadFileBytes(dir_ / "out.wad"), original);
}

TEST_F(WadWriterTest, TextureCountThatIsNotWholeRowsIsWrittenAsRead) {
  const WadDocument document = WadBuilder().textDataCount(1000).build();
  WriteWAD(dir_ / "out.wad", document);
  const Bytes written = ReadFileBytes(dir_ / "out.wad");
  EXPECT_EQ(written, WadFileBytes(document));
  WadLayout expected = WadLayout::Of(document);
  EXPECT_EQ(expected.data[1].size(), 768u);
  EXPECT_EQ(Read(dir_ / "out.wad"), document);
}

TEST_F(WadWriterTest, StaticMeshCountOfZeroOrLessEndsTheFile) {
  for (const std::int32_t count : {0, -5}) {
    SCOPED_TRACE(count);
    const WadDocument document = WadBuilder().staticMeshCount(count).build();
    WriteWAD(dir_ / "out.wad", document);
    const Bytes written = ReadFileBytes(dir_ / "out.wad");
    ASSERT_GE(written.size(), 4u);
    const Bytes tail(written.end() - 4, written.end());
    Bytes expectedTail;
    ByteWriter(expectedTail).i32(count);
    EXPECT_EQ(tail, expectedTail);
    EXPECT_EQ(Read(dir_ / "out.wad").NumStaticMeshes, count);
  }
}

TEST_F(WadWriterTest, RecordsAShortFileSuppliedAsZerosAreWrittenAsZeros) {
  WadLayout layout = WadLayout::Of(WadBuilder().build());
  layout.counts[10] = 1000;  // moveables, only the first one in the file
  layout.counts[11] = 0;
  const Bytes shortFile = layout.bytes();
  WriteFileBytes(dir_ / "in.wad", shortFile);
  WriteWAD(dir_ / "out.wad", Read(dir_ / "in.wad"));
  const Bytes written = ReadFileBytes(dir_ / "out.wad");
  const std::size_t moveablesAt = layout.countOffset(10) + 4;
  ASSERT_EQ(written.size(), moveablesAt + 18 * 1000 + 4);
  EXPECT_TRUE(std::equal(shortFile.begin(), shortFile.end(), written.begin()));
  EXPECT_TRUE(std::all_of(written.begin() + static_cast<std::ptrdiff_t>(shortFile.size()), written.end(),
                          [](std::uint8_t b) { return b == 0; }));
}

TEST_F(WadWriterTest, OverwritingALongerFileLeavesExactlyTheNewContent) {
  WriteFileBytes(dir_ / "level.wad", Bytes(100'000, 0xCC));
  WriteWAD(dir_ / "level.wad", SmallDocument());
  EXPECT_EQ(ReadFileBytes(dir_ / "level.wad"), WadFileBytes(SmallDocument()));
}

// Each array out of step with its count: refused before the disk is touched.
TEST_F(WadWriterTest, ArrayThatDisagreesWithItsCountIsRefusedAndTheTargetKept) {
  const struct {
    const char* array;
    void (*spoil)(WadDocument&);
  } cases[] = {
      {"TextInfo", [](WadDocument& d) { d.NumTextInfo = 2; }},
      {"TextData", [](WadDocument& d) { d.NumTextData = 768 * 3; }},
      {"MeshPointers", [](WadDocument& d) { d.NumMeshPointers += 1; }},
      {"MeshData", [](WadDocument& d) { d.MeshData.push_back(0); }},
      {"Animations", [](WadDocument& d) { d.NumAnimations = 0; }},
      {"StateChanges", [](WadDocument& d) { d.NumStateChanges = 3; }},
      {"AnimDispatches", [](WadDocument& d) { d.NumAnimDispatches = 5; }},
      {"AnimCommands", [](WadDocument& d) { d.NumAnimCommands = 4; }},
      {"MeshTrees", [](WadDocument& d) { d.NumMeshTrees = 9; }},
      {"Frames", [](WadDocument& d) { d.NumFrames = 1; }},
      {"Moveables", [](WadDocument& d) { d.NumMoveables = 2; }},
      {"StaticMeshes", [](WadDocument& d) { d.NumStaticMeshes = 0; }},
  };
  const Bytes previous = Bytes(10, 0x33);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.array);
    WriteFileBytes(dir_ / "level.wad", previous);
    WadDocument document = SmallDocument();
    c.spoil(document);
    try {
      WriteWAD(dir_ / "level.wad", document);
      ADD_FAILURE() << "no error";
    } catch (const WadError& e) {
      EXPECT_EQ(e.number(), kSubscriptOutOfRange);
      EXPECT_EQ(e.where(), c.array);
    }
    EXPECT_EQ(ReadFileBytes(dir_ / "level.wad"), previous);
    EXPECT_EQ(EntriesIn(dir_.path()), 1u);
  }
}

TEST_F(WadWriterTest, EmptyDocumentIsWrittenAsItsZeroCounts) {
  WriteWAD(dir_ / "empty.wad", WadDocument{});
  EXPECT_EQ(ReadFileBytes(dir_ / "empty.wad"), Bytes(13 * 4, 0));
}

TEST_F(WadWriterTest, UnwritableFolderFailsAndKeepsTheExistingTarget) {
  std::filesystem::path folder = dir_ / "locked";
  std::filesystem::path target = folder / "level.wad";
  const Bytes previous(10, 0x44);
  if (::geteuid() == 0) {
    // Permissions do not bind root; a folder path through a regular file
    // cannot be written by anyone. The "target" is then that file.
    WriteFileBytes(folder, previous);
  } else {
    std::filesystem::create_directory(folder);
    WriteFileBytes(target, previous);
    std::filesystem::permissions(folder, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  }
  EXPECT_THROW(WriteWAD(target, SmallDocument()), WadError);
  if (::geteuid() == 0) {
    EXPECT_EQ(ReadFileBytes(folder), previous);
  } else {
    EXPECT_EQ(ReadFileBytes(target), previous);
    EXPECT_EQ(EntriesIn(folder), 1u);
  }
  EXPECT_EQ(EntriesIn(dir_.path()), 1u);
}

}  // namespace
}  // namespace tarnlow
