#include "mesh/mesh_lists.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "mesh/obj_export.h"
#include "tests/support/temp_dir.h"
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

// Four vertices with a normal each, so faces name their normals; between two
// good faces, three that cannot be written, each named in a comment.
TEST(ObjExport, WritesVerticesNormalsAndFacesAndSaysWhichFacesItLeftOut) {
  MeshRecord m;
  m.Vertices = {{-100, 0, -100}, {100, 0, -100}, {100, -32768, 100}, {-100, 32767, 100}};
  m.Normals = {{0, -16384, 0}, {0, -16384, 1}, {0, -16384, 2}, {0, -16384, 3}};
  m.Faces = {MeshFace{MeshFace::kQuad, {0, 1, 2, 3}, 4, 0}, MeshFace{7, {}, 0, 0},
             MeshFace{MeshFace::kTriangle, {0, 1, 4}, 0, 0}, MeshFace{MeshFace::kQuad, {-1, 0, 1, 2}, 0, 0},
             MeshFace{MeshFace::kTriangle, {3, 2, 0}, 1, 0}};
  EXPECT_EQ(MeshToObj(m, "LARA, mesh 03, pointer 40"),
            test::ReadFileText(std::string(TARNLOW_MESH_GOLDEN_DIR) + "/three_faces_left_out.obj"));
}

}  // namespace
}  // namespace tarnlow
