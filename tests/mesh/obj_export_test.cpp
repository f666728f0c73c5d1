#include "mesh/obj_export.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "tests/support/wad_builder.h"

namespace tarnlow {
namespace {

// Four vertices with a normal each, so faces name their normals; between two
// good faces, three that cannot be written, each named in a comment.
TEST(ObjExport, WritesVerticesNormalsAndFacesAndSaysWhichFacesItLeftOut) {
  MeshRecord m;
  m.NumVertices = 4;
  m.Vertices = {{-100, 0, -100}, {100, 0, -100}, {100, -32768, 100}, {-100, 32767, 100}};
  m.NumNormals = 4;
  m.Normals = {{0, -16384, 0}, {0, -16384, 1}, {0, -16384, 2}, {0, -16384, 3}};
  m.NumFaces = 5;
  m.Faces = {MeshFace{MeshFace::kQuad, {0, 1, 2, 3}, 4, 0}, MeshFace{7, {}, 0, 0},
             MeshFace{MeshFace::kTriangle, {0, 1, 4}, 0, 0}, MeshFace{MeshFace::kQuad, {-1, 0, 1, 2}, 0, 0},
             MeshFace{MeshFace::kTriangle, {3, 2, 0}, 1, 0}};
  std::ostringstream expected;
  expected << std::ifstream(std::string(TARNLOW_MESH_GOLDEN_DIR) + "/three_faces_left_out.obj", std::ios::binary).rdbuf();
  EXPECT_EQ(MeshToObj(m, "LARA, mesh 03, pointer 40"), expected.str());
}

// Three vertices and one normal: the faces cannot name normals. Shades are
// no normals at all and are kept in a comment.
TEST(ObjExport, FacesNameNoNormalsUnlessEveryVertexHasOneAndShadesAreAComment) {
  EXPECT_TRUE(MeshToObj(test::SimpleMesh(3), "simple").ends_with("v 20 0 0\n# 1 normals as stored (16384 is unit length)\nvn 0 -16384 0\nf 1 2 3\n"));
  MeshRecord shaded = test::SimpleMesh(3);
  shaded.NumNormals = -3;
  shaded.Normals.clear();
  shaded.Shades = {4096, -5, 8192};
  EXPECT_TRUE(MeshToObj(shaded, "simple").ends_with("v 20 0 0\n# 3 shades (not normals): 4096 -5 8192\nf 1 2 3\n"));
}

}  // namespace
}  // namespace tarnlow
