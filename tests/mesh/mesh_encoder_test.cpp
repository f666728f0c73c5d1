#include "mesh/mesh_encoder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "mesh/mesh_decoder.h"
#include "tests/support/wad_builder.h"

namespace tarnlow {
namespace {

using test::SimpleMesh;

MeshRecord WithShades(std::vector<std::int16_t> shades, MeshRecord m = SimpleMesh()) {
  m.NumNormals = static_cast<std::int16_t>(-static_cast<int>(shades.size()));
  m.Normals.clear();
  m.Shades = std::move(shades);
  return m;
}

MeshRecord WithFaces(std::vector<MeshFace> faces, MeshRecord m = SimpleMesh()) {
  m.NumFaces = static_cast<std::int16_t>(faces.size());
  m.Faces = std::move(faces);
  return m;
}

// Signed words at both ends of their range, and counts at their largest.
TEST(MeshEncoder, DecodingTheEncodedMeshGivesItBack) {
  MeshRecord extremes = WithFaces({MeshFace{MeshFace::kQuad, {0, 1, 32767, 0}, -32768, -1}}, SimpleMesh(2));
  extremes.CentreX = -32768;
  extremes.CentreY = -1;
  extremes.CentreZ = 32767;
  extremes.CollisionSize = 2147483647;
  extremes.Vertices = {{-32768, -1, 32767}, {32767, 0, -32768}};
  extremes.Normals = {{-32768, -1, 32767}};
  MeshRecord threeNormals = SimpleMesh(4);
  threeNormals.NumNormals = 3;
  threeNormals.Normals = {{1, 2, 3}, {-4, -5, -6}, {7, 8, 9}};
  MeshRecord mostVertices = SimpleMesh();
  mostVertices.NumVertices = 32767;
  mostVertices.Vertices.assign(32767, MeshVector{1, -2, 3});

  const struct {
    std::string name;
    MeshRecord mesh;
  } cases[] = {
      {"one triangle", SimpleMesh()},
      {"null shape without faces", test::NullShapeMesh()},
      {"three normals", threeNormals},
      {"shades", WithShades({-1, 0, 32767, -32768})},
      {"16383 shades", WithShades(std::vector<std::int16_t>(16383, -7))},
      {"32767 vertices", mostVertices},
      {"32767 unknown faces", WithFaces(std::vector<MeshFace>(32767, MeshFace{1, {}, 0, 0}))},
      {"triangles and quads", WithFaces({MeshFace{MeshFace::kTriangle, {0, 1, 2}, 11, 1},
                                         MeshFace{MeshFace::kQuad, {0, 1, 2, 3}, 12, 2},
                                         MeshFace{MeshFace::kTriangle, {3, 2, 1}, -3, -4}},
                                        SimpleMesh(4))},
      {"no faces", WithFaces({})},
      {"unknown faces between known ones",
       WithFaces({MeshFace{7, {}, 0, 0}, MeshFace{MeshFace::kTriangle, {0, 1, 2}, 5, 6}, MeshFace{0, {}, 0, 0},
                  MeshFace{MeshFace::kQuad, {2, 1, 0, 2}, 7, 8}})},
      {"signed extremes", extremes},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    // A real mesh in front, so the one under test does not start at byte 0.
    const WadDocument doc = test::WadBuilder().meshes({SimpleMesh(5), c.mesh}).build();
    const MeshResult<MeshRecord> decoded = ReadMesh(doc, 1);
    ASSERT_TRUE(std::holds_alternative<MeshRecord>(decoded)) << Describe(std::get<MeshFailure>(decoded));
    EXPECT_EQ(std::get<MeshRecord>(decoded), c.mesh);
  }
}

}  // namespace
}  // namespace tarnlow
