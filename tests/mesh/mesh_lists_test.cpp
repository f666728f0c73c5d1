// What is made of meshes: the object and mesh lists, and the textures of
// their faces.
#include "mesh/mesh_lists.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "mesh/face_textures.h"
#include "tests/support/wad_builder.h"

namespace tarnlow {
namespace {

using test::Moveable;
using test::WadBuilder;
using Texts = std::vector<std::string>;

// One name per moveable in document order, duplicates kept, up to the first
// ObjectID without a row; more than 32768 moveables give no list, as list
// positions are signed 16-bit.
TEST(ObjectList, ListsNamesInDocumentOrderUpToTheFirstIdWithoutARow) {
  ObjectNameTables names;
  auto& column = names.ObjectNames[ObjectNameTables::kObjectColumn];
  column[0] = "LARA";
  column[90] = "BAT";
  column[500] = "LAST_ROW";
  const auto listOf = [&](const std::vector<std::int32_t>& ids) {
    std::vector<MoveableRecord> moveables;
    for (const std::int32_t id : ids) moveables.push_back(Moveable(id, 1, 0));
    return ObjectListLines(WadBuilder().moveables(moveables).build(), names);
  };
  EXPECT_EQ(listOf({90, 0, 90, 500}), (Texts{"BAT", "LARA", "BAT", "LAST_ROW"}));
  EXPECT_EQ(listOf({500, 501, 0}), Texts{"LAST_ROW"});
  EXPECT_EQ(listOf({500, INT_MIN, 0}), Texts{"LAST_ROW"});
  std::vector<MoveableRecord> many(32768, Moveable(0, 1, 0));
  EXPECT_EQ(ObjectListLines(WadBuilder().moveables(many).build(), names).size(), 32768u);
  many.push_back(Moveable(0, 1, 0));
  EXPECT_TRUE(ObjectListLines(WadBuilder().moveables(many).build(), names).empty());
}

// A zero pointer is a dummy; a mesh that cannot be looked at keeps its line,
// marked with the kind of failure, so the numbering after it stays.
TEST(MeshList, ListsOneMarkedLinePerMeshOfTheObject) {
  MeshRecord broken = test::SimpleMesh();
  broken.NumVertices = -32768;
  const WadDocument data = WadBuilder().meshes({test::NullShapeMesh(), test::SimpleMesh(), test::NullShapeMesh(), broken}).build();
  const std::int32_t real = data.MeshPointers[1], null = data.MeshPointers[2], bad = data.MeshPointers[3];
  const auto textsOf = [&](const std::vector<std::int32_t>& pointers, const MoveableRecord& object) {
    const WadDocument doc = WadBuilder().meshData(data.MeshData).meshPointers(pointers).moveables({object}).build();
    EXPECT_TRUE(MeshListLines(doc, 1).empty());
    Texts texts;
    for (const MeshListLine& line : MeshListLines(doc, 0)) {
      texts.push_back(line.text);
      EXPECT_EQ(line.failure.has_value(), line.text.ends_with(")")) << line.text;
    }
    return texts;
  };
  const struct { std::vector<std::int32_t> pointers; MoveableRecord object; Texts expected; } cases[] = {
      {{real, 0, real, null, 0}, Moveable(0, 4, 1), {"Mesh 00 DUMMY", "Mesh 01", "Mesh 02 NULL", "Mesh 03 DUMMY"}},
      {{0, null, real}, Moveable(0, 4, 1),
       {"Mesh 00 NULL", "Mesh 01", "Mesh 02 (unreadable: out of range)", "Mesh 03 (unreadable: out of range)"}},
      {{real, null}, Moveable(0, 3, -1), {"Mesh 00 (unreadable: out of range)", "Mesh 01", "Mesh 02 NULL"}},
      // Position 32768 exists in the array but not as a signed 16-bit sum.
      {std::vector<std::int32_t>(32770, real), Moveable(0, 3, 32766), {"Mesh 00", "Mesh 01", "Mesh 02 (unreadable: out of range)"}},
      {{bad, real, null}, Moveable(0, 3, 0), {"Mesh 00 (unreadable: overflow)", "Mesh 01", "Mesh 02 NULL"}},
      {{real}, Moveable(0, -32768, 0), {}},
  };
  for (const auto& c : cases) EXPECT_EQ(textsOf(c.pointers, c.object), c.expected);
  const Texts many = textsOf(std::vector<std::int32_t>(200, real), Moveable(0, 101, 50));
  ASSERT_EQ(many.size(), 101u);
  EXPECT_EQ(std::tuple(many[7], many[100]), std::tuple("Mesh 07", "Mesh 100"));
}

TextInfoRecord Info(std::array<std::uint8_t, 8> bytes) { return TextInfoRecord{bytes}; }

MeshFace Quad(std::int16_t texture) { return {MeshFace::kQuad, {0, 1, 2, 3}, texture, 0}; }

TEST(FaceTextures, RecordBytesDecodeInFileOrder) {
  const TextureInfo info = DecodeTextureInfo(Info({232, 16, 0x03, 0x01, 0xFF, 23, 0xFF, 31}));
  EXPECT_EQ(info, (TextureInfo{.X = 232, .Y = 16, .Page = 0x0103, .FlipX = -1, .Width = 23, .FlipY = -1, .Height = 31}));
}

TEST(FaceTextures, QuadCornersTakeTheRectangleOrItsMirror) {
  // Record 1: a 24 x 32 rectangle at (200, 16) on page 2.
  const auto infos = RecordArray<TextInfoRecord>::fromRecords(
      std::vector<TextInfoRecord>{Info({}), Info({200, 16, 2, 0, 0, 23, 0, 31})});
  const std::vector<TexturePoint> plain = {{200, 16}, {224, 16}, {224, 48}, {200, 48}};
  const std::vector<TexturePoint> mirrored = {{224, 16}, {200, 16}, {200, 48}, {224, 48}};
  const struct { const char* what; MeshFace face; std::size_t pages; std::optional<FaceTexture> expected; } cases[] = {
      {"record 1", Quad(1), 3, FaceTexture{2, plain}},
      {"record -1 is record 1 mirrored", Quad(-1), 3, FaceTexture{2, mirrored}},
      {"record outside the section", Quad(2), 3, std::nullopt},
      {"the lowest word names no record", Quad(-32768), 3, std::nullopt},
      {"page outside the texture pages", Quad(1), 2, std::nullopt},
      {"an unknown face", MeshFace{7, {}, 1, 0}, 3, std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(FaceTextureOf(c.face, infos, c.pages), c.expected);
  }
}

MeshFace Triangle(std::uint16_t word) { return {MeshFace::kTriangle, {0, 1, 2}, static_cast<std::int16_t>(word), 0}; }

TEST(FaceTextures, TriangleCornerBitsPickThreeCornersGoingRoundClockwise) {
  // Record 1: the rectangle (200, 16) to (224, 48) on page 2.
  const auto infos = RecordArray<TextInfoRecord>::fromRecords(
      std::vector<TextInfoRecord>{Info({}), Info({200, 16, 2, 0, 0, 23, 0, 31})});
  const TexturePoint tl{200, 16}, tr{224, 16}, br{224, 48}, bl{200, 48};
  const struct { const char* what; std::uint16_t word; std::optional<FaceTexture> expected; } cases[] = {
      {"corner 0: top-left, top-right, bottom-left", 0x0001, FaceTexture{2, {tl, tr, bl}}},
      {"corner 1 starts top-right", 0x2001, FaceTexture{2, {tr, br, tl}}},
      {"corner 2 starts bottom-right", 0x4001, FaceTexture{2, {br, bl, tr}}},
      {"corner 3 starts bottom-left", 0x6001, FaceTexture{2, {bl, tl, br}}},
      {"bit 15 mirrors left and right", 0x8001, FaceTexture{2, {tr, tl, br}}},
      {"mirrored corner 3", 0xE001, FaceTexture{2, {br, tr, bl}}},
      {"the record is the low 13 bits", 0x1001, std::nullopt},
      {"record outside the section", 0x0002, std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(FaceTextureOf(Triangle(c.word), infos, 3), c.expected);
  }
}

}  // namespace
}  // namespace tarnlow
