#include "wad/wad_writer.h"

#include <gtest/gtest.h>

#include <iterator>

#include "tests/support/temp_dir.h"
#include "tests/support/wad_builder.h"
#include "wad/wad_error.h"
#include "wad/wad_reader.h"

namespace tarnlow {
namespace {

using test::ReadFileBytes;
using test::WriteFileBytes;

WadDocument SmallDocument() {
  StaticMeshRecord statue;
  statue.Bytes.fill(9);
  return test::WadBuilder().version(-7).textureRows(2).meshes({test::SimpleMesh()}).staticMeshes({statue}).build();
}

// Read, then written over a longer file: exactly the bytes the reader
// consumed, zeros where it supplied them past the end of a short file, and
// nothing of the bytes after the static meshes or of the old file. 1000
// texture bytes give one row; a negative static-mesh count reads no records.
TEST(WadWriter, WritesBackExactlyWhatTheReaderConsumed) {
  const auto with = [](int section, std::int32_t count) {
    test::WadLayout layout = test::WadLayout::Of(test::WadBuilder().build());
    layout.counts[std::size_t(section)] = count;
    return layout;
  };
  Bytes shortFileWritten = with(10, 1000).bytes();
  shortFileWritten.resize(with(10, 1000).countOffset(11) + 18 * 999 + 4, 0);
  Bytes trailer = test::WadFileBytes(SmallDocument());
  trailer.insert(trailer.end(), {0xDE, 0xAD, 0xBE, 0xEF});
  const std::pair<Bytes, Bytes> cases[] = {{trailer, test::WadFileBytes(SmallDocument())},
                                           {with(1, 1000).bytes(), with(1, 1000).bytes()},
                                           {with(11, -5).bytes(), with(11, -5).bytes()},
                                           {with(10, 1000).bytes(), shortFileWritten}};
  test::TempDir dir;
  for (const auto& [file, expected] : cases) {
    WriteFileBytes(dir / "in.wad", file);
    WriteFileBytes(dir / "out.wad", Bytes(100'000, 0xCC));
    std::int64_t length = 0;
    WriteWAD(dir / "out.wad", ReadWAD(dir / "in.wad", length));
    EXPECT_EQ(ReadFileBytes(dir / "out.wad"), expected) << file.size();
  }
}

// Each array out of step with its count: refused before the disk is touched.
TEST(WadWriter, ArrayThatDisagreesWithItsCountIsRefusedAndTheTargetKept) {
  const std::pair<const char*, void (*)(WadDocument&)> cases[] = {
      {"TextInfo", [](WadDocument& d) { d.NumTextInfo = 2; }},    {"TextData", [](WadDocument& d) { d.NumTextData = 768 * 3; }},
      {"MeshPointers", [](WadDocument& d) { d.NumMeshPointers += 1; }}, {"MeshData", [](WadDocument& d) { d.MeshData.push_back(0); }},
      {"Animations", [](WadDocument& d) { d.NumAnimations = 0; }}, {"StateChanges", [](WadDocument& d) { d.NumStateChanges = 3; }},
      {"AnimDispatches", [](WadDocument& d) { d.NumAnimDispatches = 5; }}, {"AnimCommands", [](WadDocument& d) { d.NumAnimCommands = 4; }},
      {"MeshTrees", [](WadDocument& d) { d.NumMeshTrees = 9; }},  {"Frames", [](WadDocument& d) { d.NumFrames = 2; }},
      {"Moveables", [](WadDocument& d) { d.NumMoveables = 2; }},  {"StaticMeshes", [](WadDocument& d) { d.NumStaticMeshes = 0; }},
  };
  test::TempDir dir;
  for (const auto& [array, spoil] : cases) {
    SCOPED_TRACE(array);
    WriteFileBytes(dir / "level.wad", Bytes(10, 0x33));
    WadDocument document = SmallDocument();
    spoil(document);
    try {
      WriteWAD(dir / "level.wad", document);
      ADD_FAILURE() << "no error";
    } catch (const WadError& e) {
      EXPECT_EQ(std::pair(e.number(), e.where()), std::pair(int{kSubscriptOutOfRange}, std::string(array)));
    }
    EXPECT_EQ(ReadFileBytes(dir / "level.wad"), Bytes(10, 0x33));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1) << "a temporary file left";
  }
}

}  // namespace
}  // namespace tarnlow
