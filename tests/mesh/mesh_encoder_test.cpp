#include "mesh/mesh_encoder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "mesh/mesh_decoder.h"
#include "tests/support/wad_builder.h"

namespace tarnlow {
namespace {

using test::NullShapeMesh;
using test::SimpleMesh;
using test::WadBuilder;

MeshRecord WithShades(MeshRecord m, std::vector<std::int16_t> shades) {
  m.NumNormals = static_cast<std::int16_t>(-static_cast<int>(shades.size()));
  m.Normals.clear();
  m.Shades = std::move(shades);
  return m;
}

MeshRecord WithFaces(MeshRecord m, std::vector<MeshFace> faces) {
  m.NumFaces = static_cast<std::int16_t>(faces.size());
  m.Faces = std::move(faces);
  return m;
}

struct RoundTripCase {
  std::string name;
  MeshRecord mesh;
};

std::vector<RoundTripCase> RoundTripCases() {
  MeshRecord extremes = SimpleMesh(2);
  extremes.CentreX = -32768;
  extremes.CentreY = -1;
  extremes.CentreZ = 32767;
  extremes.CollisionSize = 2147483647;
  extremes.Vertices = {{-32768, -1, 32767}, {32767, 0, -32768}};
  extremes.Normals = {{-32768, -1, 32767}};
  extremes = WithFaces(extremes, {MeshFace{MeshFace::kQuad, {0, 1, 32767, 0}, -32768, -1}});

  MeshRecord threeNormals = SimpleMesh(4);
  threeNormals.NumNormals = 3;
  threeNormals.Normals = {{1, 2, 3}, {-4, -5, -6}, {7, 8, 9}};

  return {
      {"one triangle", SimpleMesh()},
      {"null shape without faces", NullShapeMesh()},
      {"three normals", threeNormals},
      {"shades", WithShades(SimpleMesh(), {-1, 0, 32767, -32768})},
      {"one shade", WithShades(SimpleMesh(), {42})},
      {"largest shade block", WithShades(SimpleMesh(), std::vector<std::int16_t>(16383, -7))},
      {"triangles and quads",
       WithFaces(SimpleMesh(4), {MeshFace{MeshFace::kTriangle, {0, 1, 2}, 11, 1},
                                 MeshFace{MeshFace::kQuad, {0, 1, 2, 3}, 12, 2},
                                 MeshFace{MeshFace::kTriangle, {3, 2, 1}, -3, -4}})},
      {"no faces", WithFaces(SimpleMesh(), {})},
      {"unknown faces between known ones",
       WithFaces(SimpleMesh(), {MeshFace{7, {}, 0, 0}, MeshFace{MeshFace::kTriangle, {0, 1, 2}, 5, 6},
                                MeshFace{0, {}, 0, 0}, MeshFace{32767, {}, 0, 0},
                                MeshFace{MeshFace::kQuad, {2, 1, 0, 2}, 7, 8}})},
      {"signed extremes", extremes},
  };
}

TEST(MeshEncoder, DecodingTheEncodedMeshGivesItBack) {
  for (const RoundTripCase& c : RoundTripCases()) {
    SCOPED_TRACE(c.name);
    // A real mesh in front, so the one under test does not start at byte 0.
    const WadDocument doc = WadBuilder().meshes({SimpleMesh(5), c.mesh}).build();
    const MeshResult<MeshRecord> decoded = ReadMesh(doc, 1);
    ASSERT_TRUE(std::holds_alternative<MeshRecord>(decoded)) << Describe(std::get<MeshFailure>(decoded));
    EXPECT_EQ(std::get<MeshRecord>(decoded), c.mesh);
  }
}

// The two smallest meshes of each kind: 12 bytes up to the vertex count, one
// vertex, the normal count with one normal or two shades, the face count and
// one triangle or one quad.
TEST(MeshEncoder, SmallestMeshesTakeFortyBytes) {
  MeshRecord normalTriangle;
  normalTriangle.NumVertices = 1;
  normalTriangle.Vertices = {{1, 2, 3}};
  normalTriangle.NumNormals = 1;
  normalTriangle.Normals = {{0, 0, 1}};
  normalTriangle = WithFaces(normalTriangle, {MeshFace{MeshFace::kTriangle, {0, 0, 0}, 1, 2}});

  MeshRecord shadedQuad = WithShades(normalTriangle, {10, 20});
  shadedQuad = WithFaces(shadedQuad, {MeshFace{MeshFace::kQuad, {0, 0, 0, 0}, 1, 2}});

  struct Case {
    const char* name;
    MeshRecord mesh;
    std::size_t indicesAt;  // where the face's vertex indices start
  };
  const Case cases[] = {{"normal and triangle", normalTriangle, 30}, {"shades and quad", shadedQuad, 28}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(EncodeMesh(c.mesh).size(), 40u);

    // The decoder reads exactly those 40 bytes: one fewer cuts the face short.
    WadDocument doc = WadBuilder().meshes({c.mesh}).build();
    ASSERT_EQ(doc.MeshData.size(), 40u);
    EXPECT_TRUE(std::holds_alternative<MeshRecord>(ReadMesh(doc, 0)));
    doc.MeshData.resize(39);
    const MeshResult<MeshRecord> cut = ReadMesh(doc, 0);
    ASSERT_TRUE(std::holds_alternative<MeshFailure>(cut));
    EXPECT_EQ(std::get<MeshFailure>(cut).kind, MeshFailureKind::OutOfRange);
    EXPECT_EQ(std::get<MeshFailure>(cut).offset, c.indicesAt);
  }
}

}  // namespace
}  // namespace tarnlow
