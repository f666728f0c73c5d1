// The other tables are pinned by the golden reports; the golden document
// has no decoded meshes, so the mesh table is checked here.
#include "report/report_tables.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/wad_builder.h"

namespace tarnlow {
namespace {

std::vector<std::string> MeshTableOf(const std::vector<MeshRecord>& meshes) {
  ReportBuilder builder;
  AddMeshTable(builder, meshes);
  std::vector<std::string> out;
  for (ReportLine& line : builder.take()) {
    EXPECT_FALSE(line.bold) << line.text;
    out.push_back(std::move(line.text));
  }
  return out;
}

TEST(MeshTable, PrintsVerticesButNoNormalRowsForAMeshWithShades) {
  MeshRecord mesh = test::SimpleMesh(3);
  mesh.CentreX = -5;
  mesh.CollisionSize = 70000;
  mesh.NumNormals = -4;
  mesh.Normals.clear();
  mesh.Shades = {1, 2, 3, 4};
  const std::vector<std::string> expected{
      "No, Centre X ,Y ,Z ,Collision Size, Number of Vertices, Number of Normals, Number of Faces",
      "  0,  -5,  2,  3, 70 000,  3,  -4,  1",
      "  , Vertices No, X ,Y ,Z ",
      "  ,   0,  0,  0,  0",
      "  ,   1,  10,  0,  0",
      "  ,   2,  20,  0,  0",
      "  , Normals No, X ,Y ,Z ",
      std::string(61, '-'),
  };
  EXPECT_EQ(MeshTableOf({mesh}), expected);
}

TEST(MeshTable, PrintsNormalRowsAfterEachMeshItsVertices) {
  const auto lines = MeshTableOf({test::SimpleMesh(1), test::NullShapeMesh()});
  ASSERT_EQ(lines.size(), 1u + (1 + 1 + 1 + 1 + 1) + (1 + 1 + 5 + 1 + 1) + 1u);
  EXPECT_EQ(lines[5], "  ,   0,  0, -16 384,  0");
  EXPECT_EQ(lines[6], "  1,  0,  0,  0,  0,  5,  1,  0");
  EXPECT_EQ(lines[14], "  ,   0,  0,  0, 16 384");
}

}  // namespace
}  // namespace tarnlow
