#include "mesh/mesh_decoder.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "mesh/mesh_encoder.h"
#include "tests/support/wad_builder.h"

namespace tarnlow {
namespace {

using test::NullShapeMesh;
using test::SimpleMesh;
using test::WadBuilder;

// Byte offsets inside SimpleMesh(3): 12 header bytes, three vertices, the
// normal count, one normal, the face count, one triangle; 52 bytes in all.
constexpr std::size_t kCollisionAt = 6;
constexpr std::size_t kVertexCountAt = 10;
constexpr std::size_t kVerticesAt = 12;
constexpr std::size_t kNormalCountAt = 30;
constexpr std::size_t kNormalsAt = 32;
constexpr std::size_t kFaceCountAt = 38;
constexpr std::size_t kFaceTypeAt = 40;
constexpr std::size_t kSimpleMeshSize = 52;

WadDocument OneMesh(const MeshRecord& mesh) { return WadBuilder().meshes({mesh}).build(); }

WadDocument SimpleMeshAt(std::int32_t pointer) {
  return WadBuilder().meshData(EncodeMesh(SimpleMesh())).meshPointers({pointer}).build();
}

MeshRecord Changed(const std::function<void(MeshRecord&)>& change) {
  MeshRecord m = SimpleMesh();
  change(m);
  return m;
}

struct FailureCase {
  std::string name;
  WadDocument document;
  std::int64_t meshIndex;
  MeshFailureKind kind;
  std::size_t offset;
  std::string detailMentions;
};

std::vector<FailureCase> FailureCases() {
  using K = MeshFailureKind;
  MeshRecord twoTriangles = Changed([](MeshRecord& m) {
    m.NumFaces = 2;
    m.Faces.push_back(m.Faces[0]);
  });
  Bytes cutSecondFace = EncodeMesh(twoTriangles);
  cutSecondFace.resize(cutSecondFace.size() - 4);

  return {
      {"position past the mesh pointers", OneMesh(SimpleMesh()), 1, K::OutOfRange, 0, "mesh position 1"},
      {"negative position", OneMesh(SimpleMesh()), -1, K::OutOfRange, 0, "mesh position -1"},
      {"pointer below 0", SimpleMeshAt(-2), 0, K::OutOfRange, 0, "mesh pointer -2"},
      {"pointer past the end", SimpleMeshAt(kSimpleMeshSize + 2), 0, K::OutOfRange, kSimpleMeshSize + 2,
       "past the end"},
      {"pointer within 12 bytes of the end", SimpleMeshAt(kSimpleMeshSize - 10), 0, K::OutOfRange,
       kSimpleMeshSize - 10, "mesh header"},
      {"pointer at the very end", SimpleMeshAt(kSimpleMeshSize), 0, K::OutOfRange, kSimpleMeshSize, "mesh header"},
      {"collision size with its top bit set", OneMesh(Changed([](MeshRecord& m) { m.CollisionSize = INT32_MIN; })),
       0, K::Overflow, kCollisionAt, "collision size 0x80000000"},
      {"vertex count 0", OneMesh(Changed([](MeshRecord& m) {
         m.NumVertices = 0;
         m.Vertices.clear();
       })),
       0, K::OutOfRange, kVertexCountAt, "vertex count 0"},
      {"vertex count word 0x8000", OneMesh(Changed([](MeshRecord& m) { m.NumVertices = -32768; })), 0,
       K::Overflow, kVertexCountAt, "vertex count word 0x8000"},
      {"vertices past the end", OneMesh(Changed([](MeshRecord& m) { m.NumVertices = 100; })), 0, K::OutOfRange,
       kVerticesAt, "100 vertices"},
      {"normal count 0", OneMesh(Changed([](MeshRecord& m) {
         m.NumNormals = 0;
         m.Normals.clear();
       })),
       0, K::OutOfRange, kNormalCountAt, "normal count 0"},
      {"normals past the end", OneMesh(Changed([](MeshRecord& m) { m.NumNormals = 50; })), 0, K::OutOfRange,
       kNormalsAt, "50 normals"},
      {"16384 shades (word 0xC000)", OneMesh(Changed([](MeshRecord& m) { m.NumNormals = -16384; })), 0,
       K::Overflow, kNormalCountAt, "16384 shades"},
      {"32768 shades (word 0x8000)", OneMesh(Changed([](MeshRecord& m) { m.NumNormals = -32768; })), 0,
       K::Overflow, kNormalCountAt, "32768 shades"},
      {"shade block past the end", OneMesh(Changed([](MeshRecord& m) {
         m.NumNormals = -100;
         m.Normals.clear();
         m.Shades = {1, 2};
       })),
       0, K::OutOfRange, kNormalsAt, "100 shades"},
      {"face count word 0x8000", OneMesh(Changed([](MeshRecord& m) { m.NumFaces = -32768; })), 0, K::Overflow,
       kFaceCountAt, "face count word 0x8000"},
      {"more faces than bytes", OneMesh(Changed([](MeshRecord& m) { m.NumFaces = 1000; })), 0, K::OutOfRange,
       kSimpleMeshSize, "face 1 type"},
      {"bad first face before missing ones", OneMesh(Changed([](MeshRecord& m) {
         m.NumFaces = 1000;
         m.Faces[0].FaceType = -32768;
       })),
       0, K::Overflow, kFaceTypeAt, "face 0 type word 0x8000"},
      {"face type word 0x8000", OneMesh(Changed([](MeshRecord& m) { m.Faces[0].FaceType = -32768; })), 0,
       K::Overflow, kFaceTypeAt, "face 0 type word 0x8000"},
      {"face vertex index word 0x8000",
       OneMesh(Changed([](MeshRecord& m) { m.Faces[0].Vertices = {0, -32768, 2}; })), 0, K::Overflow,
       kFaceTypeAt + 4, "face 0 vertex index word 0x8000"},
      {"second face cut short", WadBuilder().meshData(cutSecondFace).meshPointers({0}).build(), 0, K::OutOfRange,
       kSimpleMeshSize + 2, "face 1"},
  };
}

TEST(MeshDecoder, EachFaultFailsWithItsKindAndOffset) {
  for (const FailureCase& c : FailureCases()) {
    SCOPED_TRACE(c.name);
    const MeshResult<MeshRecord> result = ReadMesh(c.document, c.meshIndex);
    ASSERT_TRUE(std::holds_alternative<MeshFailure>(result)) << "decoded although broken";
    const MeshFailure& failure = std::get<MeshFailure>(result);
    EXPECT_EQ(failure.kind, c.kind) << failure.detail;
    EXPECT_EQ(failure.offset, c.offset) << failure.detail;
    EXPECT_NE(failure.detail.find(c.detailMentions), std::string::npos) << failure.detail;
  }
}

TEST(MeshDecoder, FailureDescriptionNamesKindDetailAndByte) {
  const MeshResult<MeshRecord> result = ReadMesh(OneMesh(Changed([](MeshRecord& m) { m.NumFaces = -32768; })), 0);
  ASSERT_TRUE(std::holds_alternative<MeshFailure>(result));
  EXPECT_EQ(Describe(std::get<MeshFailure>(result)), "overflow: face count word 0x8000 at byte 38 of the mesh data");
  EXPECT_EQ(Describe(MeshFailureKind::OutOfRange), "out of range");
}

TEST(MeshDecoder, DecodesEveryMeshOfTheDataFromItsOwnPointer) {
  const MeshRecord first = SimpleMesh(3);
  const MeshRecord second = NullShapeMesh();
  const WadDocument doc = WadBuilder().meshes({first, second, first}).build();
  ASSERT_EQ(doc.MeshPointers[1], static_cast<std::int32_t>(kSimpleMeshSize));
  EXPECT_EQ(std::get<MeshRecord>(ReadMesh(doc, 0)), first);
  EXPECT_EQ(std::get<MeshRecord>(ReadMesh(doc, 1)), second);
  EXPECT_EQ(std::get<MeshRecord>(ReadMesh(doc, 2)), first);
}

TEST(MeshDecoder, ShadeWordDecodesAsNegativeCountOfShades) {
  const MeshRecord shaded = Changed([](MeshRecord& m) {
    m.NumNormals = -2;  // the word 0xFFFE
    m.Normals.clear();
    m.Shades = {-32768, 32767};
  });
  const MeshRecord decoded = std::get<MeshRecord>(ReadMesh(OneMesh(shaded), 0));
  EXPECT_EQ(decoded.NumNormals, -2);
  EXPECT_TRUE(decoded.Normals.empty());
  EXPECT_EQ(decoded.Shades, (std::vector<std::int16_t>{-32768, 32767}));
  // The face count stood 4 bytes behind the normal count word.
  EXPECT_EQ(decoded.Faces, shaded.Faces);
}

TEST(MeshDecoder, UnknownFaceTypeCallsHandlerAndNextFaceFollowsItsTypeWord) {
  MeshRecord mesh = SimpleMesh();
  mesh.NumFaces = 4;
  mesh.Faces = {MeshFace{7, {}, 0, 0}, MeshFace{MeshFace::kTriangle, {0, 1, 2}, 9, 3}, MeshFace{0, {}, 0, 0},
                MeshFace{32767, {}, 0, 0}};
  std::vector<int> reported;
  const MeshResult<MeshRecord> result = ReadMesh(OneMesh(mesh), 0, [&](int face) { reported.push_back(face); });
  ASSERT_TRUE(std::holds_alternative<MeshRecord>(result));
  const MeshRecord& decoded = std::get<MeshRecord>(result);
  EXPECT_EQ(reported, (std::vector<int>{0, 2, 3}));
  ASSERT_EQ(decoded.Faces.size(), 4u);
  EXPECT_EQ(decoded.Faces[0], (MeshFace{7, {}, 0, 0}));
  EXPECT_EQ(decoded.Faces[1], (MeshFace{MeshFace::kTriangle, {0, 1, 2}, 9, 3}));
  EXPECT_EQ(decoded.Faces[2], (MeshFace{0, {}, 0, 0}));
  EXPECT_EQ(decoded.Faces[3], (MeshFace{32767, {}, 0, 0}));
}

TEST(MeshDecoder, UnknownFaceTypeDecodesWithoutHandler) {
  MeshRecord mesh = SimpleMesh();
  mesh.Faces[0] = MeshFace{3, {}, 0, 0};
  const MeshResult<MeshRecord> result = ReadMesh(OneMesh(mesh), 0);
  ASSERT_TRUE(std::holds_alternative<MeshRecord>(result));
  EXPECT_EQ(std::get<MeshRecord>(result), mesh);
}

TEST(MeshDecoder, NullShapeIsRecognisedWhateverFacesNormalsAndCentre) {
  MeshRecord decorated = NullShapeMesh();
  decorated.CentreX = 99;
  decorated.CollisionSize = 12345;
  decorated.NumNormals = -3;
  decorated.Normals.clear();
  decorated.Shades = {1, 2, 3};
  decorated.NumFaces = 1;
  decorated.Faces = {MeshFace{MeshFace::kQuad, {0, 1, 2, 3}, 0, 0}};

  MeshRecord fifthYChanged = NullShapeMesh();
  fifthYChanged.Vertices[4].Y = 120;
  MeshRecord fourVertices = NullShapeMesh();
  fourVertices.NumVertices = 4;
  fourVertices.Vertices.pop_back();
  MeshRecord sixVertices = NullShapeMesh();
  sixVertices.NumVertices = 6;
  sixVertices.Vertices.push_back(sixVertices.Vertices[0]);
  MeshRecord swapped = NullShapeMesh();
  std::swap(swapped.Vertices[1], swapped.Vertices[2]);

  struct Case {
    const char* name;
    MeshRecord mesh;
    bool isNull;
  };
  const Case cases[] = {
      {"plain null shape", NullShapeMesh(), true},
      {"null shape with faces, shades and centre", decorated, true},
      {"fifth vertex Y changed", fifthYChanged, false},
      {"four vertices", fourVertices, false},
      {"six vertices", sixVertices, false},
      {"vertices out of order", swapped, false},
      {"a real mesh", SimpleMesh(5), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(HasNullMeshShape(c.mesh), c.isNull);
    // A real mesh in front, so the pointer is not 0.
    const MeshResult<bool> decoded = IsNullMesh(WadBuilder().meshes({SimpleMesh(), c.mesh}).build(), 1);
    ASSERT_TRUE(std::holds_alternative<bool>(decoded));
    EXPECT_EQ(std::get<bool>(decoded), c.isNull);
  }
}

TEST(MeshDecoder, NullMeshTestFailsWhenTheDecodeFails) {
  MeshRecord broken = NullShapeMesh();
  broken.NumNormals = 0;
  broken.Normals.clear();
  const MeshResult<bool> result = IsNullMesh(OneMesh(broken), 0);
  ASSERT_TRUE(std::holds_alternative<MeshFailure>(result));
  EXPECT_EQ(std::get<MeshFailure>(result).kind, MeshFailureKind::OutOfRange);
}

}  // namespace
}  // namespace tarnlow
