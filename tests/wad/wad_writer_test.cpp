#include "wad/wad_writer.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <unistd.h>
#endif

#include <iterator>

#include "tests/support/temp_dir.h"
#include "tests/support/wad_builder.h"
#include "wad/wad_error.h"
#include "wad/wad_reader.h"

namespace tarnlow {
namespace {

using test::ReadFileBytes;
using test::WadBuilder;
using test::WadFileBytes;
using test::WriteFileBytes;

WadDocument SmallDocument() {
  StaticMeshRecord statue;
  statue.Bytes.fill(9);
  return WadBuilder().version(-7).textureRows(2).meshes({test::SimpleMesh()}).staticMeshes({statue}).build();
}

std::ptrdiff_t EntriesIn(const std::filesystem::path& folder) {
  return std::distance(std::filesystem::directory_iterator(folder), std::filesystem::directory_iterator());
}

// Read, then written over an existing longer file: exactly the bytes the
// reader consumed, zeros where it supplied them past the end of a short
// file, and nothing of the bytes after the static meshes or of the old file.
TEST(WadWriter, WritesBackExactlyWhatTheReaderConsumed) {
  test::WadLayout shortFile = test::WadLayout::Of(WadBuilder().build());
  shortFile.counts[10] = 1000;  // moveables, only the first one in the file
  shortFile.counts[11] = 0;
  Bytes shortFileWritten = shortFile.bytes();
  shortFileWritten.resize(shortFile.countOffset(10) + 4 + 18 * 1000 + 4, 0);
  Bytes trailer = WadFileBytes(SmallDocument());
  trailer.insert(trailer.end(), {0xDE, 0xAD, 0xBE, 0xEF});
  // 1000 texture bytes give one row: the count is written as read, then 768 bytes.
  const Bytes textCount = WadFileBytes(WadBuilder().textDataCount(1000).build());
  const Bytes negativeStatics = WadFileBytes(WadBuilder().staticMeshCount(-5).build());
  const struct {
    const char* name;
    Bytes file;
    Bytes expected;
  } cases[] = {
      {"trailing bytes", trailer, WadFileBytes(SmallDocument())},
      {"texture count that is not whole rows", textCount, textCount},
      {"negative static-mesh count", negativeStatics, negativeStatics},
      {"moveables past the end of a short file", shortFile.bytes(), shortFileWritten},
  };
  test::TempDir dir;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    WriteFileBytes(dir / "in.wad", c.file);
    WriteFileBytes(dir / "out.wad", Bytes(100'000, 0xCC));
    std::int64_t length = 0;
    WriteWAD(dir / "out.wad", ReadWAD(dir / "in.wad", length));
    EXPECT_EQ(ReadFileBytes(dir / "out.wad"), c.expected);
  }
}

TEST(WadWriter, EmptyDocumentIsWrittenAsItsZeroCounts) {
  test::TempDir dir;
  WriteWAD(dir / "empty.wad", WadDocument{});
  EXPECT_EQ(ReadFileBytes(dir / "empty.wad"), Bytes(13 * 4, 0));
}

// Each array out of step with its count: refused before the disk is touched.
TEST(WadWriter, ArrayThatDisagreesWithItsCountIsRefusedAndTheTargetKept) {
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
      {"Frames", [](WadDocument& d) { d.NumFrames = 2; }},
      {"Moveables", [](WadDocument& d) { d.NumMoveables = 2; }},
      {"StaticMeshes", [](WadDocument& d) { d.NumStaticMeshes = 0; }},
  };
  test::TempDir dir;
  const Bytes previous(10, 0x33);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.array);
    WriteFileBytes(dir / "level.wad", previous);
    WadDocument document = SmallDocument();
    c.spoil(document);
    try {
      WriteWAD(dir / "level.wad", document);
      ADD_FAILURE() << "no error";
    } catch (const WadError& e) {
      EXPECT_EQ(e.number(), kSubscriptOutOfRange);
      EXPECT_EQ(e.where(), c.array);
    }
    EXPECT_EQ(ReadFileBytes(dir / "level.wad"), previous);
    EXPECT_EQ(EntriesIn(dir.path()), 1);
  }
}

// POSIX only (modes, umask, fifos, root); the Windows counterparts are in
// windows_files_test.cpp.
#ifndef _WIN32
// Permissions do not bind root; a folder path through a regular file cannot
// be written by anyone, and that file is then the one to keep.
TEST(WadWriter, UnwritableFolderFailsAndKeepsTheExistingFile) {
  test::TempDir dir;
  const std::filesystem::path folder = dir / "locked";
  const std::filesystem::path kept = ::geteuid() == 0 ? folder : folder / "level.wad";
  if (::geteuid() != 0) std::filesystem::create_directory(folder);
  WriteFileBytes(kept, Bytes(10, 0x44));
  if (::geteuid() != 0) {
    std::filesystem::permissions(folder, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  }
  EXPECT_THROW(WriteWAD(folder / "level.wad", SmallDocument()), WadError);
  EXPECT_EQ(ReadFileBytes(kept), Bytes(10, 0x44));
  EXPECT_EQ(EntriesIn(dir.path()), 1);
  if (::geteuid() != 0) {
    EXPECT_EQ(EntriesIn(folder), 1);
  }
}
#endif

}  // namespace
}  // namespace tarnlow
