#include "mesh/obj_export.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/temp_dir.h"
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
  const Bytes expected = test::ReadFileBytes(std::string(TARNLOW_MESH_GOLDEN_DIR) + "/three_faces_left_out.obj");
  EXPECT_EQ(MeshToObj(m, "LARA, mesh 03, pointer 40"), std::string(expected.begin(), expected.end()));
}

}  // namespace
}  // namespace tarnlow
