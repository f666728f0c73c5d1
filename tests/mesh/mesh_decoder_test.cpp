#include "mesh/mesh_decoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <limits>
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

WadDocument MeshDataAt(const Bytes& data, std::int32_t pointer) {
  return WadBuilder().meshData(data).meshPointers({pointer}).build();
}

MeshRecord Changed(const std::function<void(MeshRecord&)>& change, MeshRecord m = SimpleMesh()) {
  change(m);
  return m;
}

// SimpleMesh() changed, as the one mesh of a document.
WadDocument Broken(const std::function<void(MeshRecord&)>& change) {
  return WadBuilder().meshes({Changed(change)}).build();
}

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

TEST(MeshDecoder, EachFaultFailsWithItsKindAndOffsetAndSoDoMeasureAndTheNullMeshTest) {
  using K = MeshFailureKind;
  constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
  constexpr std::int64_t kMaxPosition = std::numeric_limits<std::int64_t>::max();
  const Bytes simple = EncodeMesh(SimpleMesh());
  Bytes cutSecondFace = EncodeMesh(WithFaces({SimpleMesh().Faces[0], SimpleMesh().Faces[0]}));
  cutSecondFace.resize(cutSecondFace.size() - 4);
  MeshFace badIndex = SimpleMesh().Faces[0];
  badIndex.Vertices[0] = -32768;
  Bytes cutAfterBadIndex = EncodeMesh(WithFaces({SimpleMesh().Faces[0], badIndex}));
  cutAfterBadIndex.resize(cutAfterBadIndex.size() - 8);
  const WadDocument one = MeshDataAt(simple, 0);
  const auto at = [&](std::int64_t pointer) { return MeshDataAt(simple, static_cast<std::int32_t>(pointer)); };
  const struct {
    WadDocument document;
    std::int64_t meshIndex;
    MeshFailureKind kind;
    std::size_t offset;
    std::string detailMentions;
  } cases[] = {
      {one, 1, K::OutOfRange, 0, "mesh position 1 is outside"},
      {one, -1, K::OutOfRange, 0, "mesh position -1 is outside"},
      {one, kMaxPosition, K::OutOfRange, 0, "mesh position 9223372036854775807 is outside"},
      {one, -kMaxPosition - 1, K::OutOfRange, 0, "mesh position -9223372036854775808 is outside"},
      {at(-2), 0, K::OutOfRange, 0, "mesh pointer -2 of mesh 0 is below 0"},
      {at(-kMax - 1), 0, K::OutOfRange, 0, "mesh pointer -2147483648 of mesh 0 is below 0"},
      {at(kSimpleMeshSize + 2), 0, K::OutOfRange, kSimpleMeshSize + 2, "mesh pointer 54 of mesh 0 is past the end"},
      {at(kMax), 0, K::OutOfRange, std::size_t{kMax}, "mesh pointer 2147483647 of mesh 0 is past the end"},
      // The header's end would wrap a 32-bit sum.
      {at(kMax - 5), 0, K::OutOfRange, kMax - 5, "mesh pointer 2147483642 of mesh 0 is past the end"},
      // A mesh needs 12 bytes up to its vertex count.
      {at(kSimpleMeshSize - 10), 0, K::OutOfRange, kSimpleMeshSize - 10, "mesh header"},
      {at(kSimpleMeshSize), 0, K::OutOfRange, kSimpleMeshSize, "mesh header"},
      {Broken([](MeshRecord& m) { m.CollisionSize = INT32_MIN; }), 0, K::Overflow, kCollisionAt,
       "collision size 0x80000000"},
      {Broken([](MeshRecord& m) { m.NumVertices = 0; }), 0, K::OutOfRange, kVertexCountAt, "vertex count 0"},
      {Broken([](MeshRecord& m) { m.NumVertices = -32768; }), 0, K::Overflow, kVertexCountAt, "vertex count word 0x8000"},
      {Broken([](MeshRecord& m) { m.NumVertices = 100; }), 0, K::OutOfRange, kVerticesAt, "100 vertices"},
      {Broken([](MeshRecord& m) { m.NumNormals = 0; }), 0, K::OutOfRange, kNormalCountAt, "normal count 0"},
      {Broken([](MeshRecord& m) { m.NumNormals = 50; }), 0, K::OutOfRange, kNormalsAt, "50 normals"},
      // Too many shades is an overflow even when their bytes are all there.
      {WadBuilder().meshes({WithShades(std::vector<std::int16_t>(16384))}).build(), 0, K::Overflow, kNormalCountAt,
       "16384 shades (normal count word 0xC000)"},
      {Broken([](MeshRecord& m) { m.NumNormals = -32768; }), 0, K::Overflow, kNormalCountAt, "32768 shades"},
      {Broken([](MeshRecord& m) { m.NumNormals = -100; }), 0, K::OutOfRange, kNormalsAt, "100 shades"},
      {Broken([](MeshRecord& m) { m.NumFaces = -32768; }), 0, K::Overflow, kFaceCountAt, "face count word 0x8000"},
      {Broken([](MeshRecord& m) { m.NumFaces = 1000; }), 0, K::OutOfRange, kSimpleMeshSize, "face 1 type"},
      // Faces are checked in file order: an early bad word is what is reported.
      {Broken([](MeshRecord& m) { m.NumFaces = 1000; m.Faces[0].FaceType = -32768; }), 0, K::Overflow, kFaceTypeAt,
       "face 0 type word 0x8000"},
      {Broken([](MeshRecord& m) { m.Faces[0].Vertices = {0, -32768, 2}; }), 0, K::Overflow, kFaceTypeAt + 4,
       "face 0 vertex index word 0x8000"},
      {MeshDataAt(cutSecondFace, 0), 0, K::OutOfRange, kSimpleMeshSize + 8, "face 1 texture"},
      // Index words are read before the face's end is checked.
      {MeshDataAt(cutAfterBadIndex, 0), 0, K::Overflow, kSimpleMeshSize + 2, "face 1 vertex index"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.detailMentions);
    const MeshResult<MeshRecord> result = ReadMesh(c.document, c.meshIndex);
    ASSERT_TRUE(std::holds_alternative<MeshFailure>(result)) << "decoded although broken";
    const MeshFailure& failure = std::get<MeshFailure>(result);
    EXPECT_EQ(failure.kind, c.kind) << failure.detail;
    EXPECT_EQ(failure.offset, c.offset) << failure.detail;
    EXPECT_NE(failure.detail.find(c.detailMentions), std::string::npos) << failure.detail;
    const MeshResult<bool> isNull = IsNullMesh(c.document, c.meshIndex);
    ASSERT_TRUE(std::holds_alternative<MeshFailure>(isNull));
    EXPECT_EQ(std::get<MeshFailure>(isNull), failure);
    const MeshResult<MeshExtent> measured = MeasureMesh(c.document, c.meshIndex);
    ASSERT_TRUE(std::holds_alternative<MeshFailure>(measured));
    EXPECT_EQ(std::get<MeshFailure>(measured), failure);
  }
}

TEST(MeshDecoder, FailureDescriptionNamesKindDetailAndByte) {
  const MeshResult<MeshRecord> result = ReadMesh(Broken([](MeshRecord& m) { m.NumFaces = -32768; }), 0);
  ASSERT_TRUE(std::holds_alternative<MeshFailure>(result));
  EXPECT_EQ(Describe(std::get<MeshFailure>(result)), "overflow: face count word 0x8000 at byte 38 of the mesh data");
  EXPECT_EQ(Describe(MeshFailureKind::OutOfRange), "out of range");
}

// Meshes as EncodeMesh writes them, with the size their layout gives: each
// decodes back whole (from behind another mesh, so its pointer is not 0), and
// every shorter cut, which falls between 16-bit words, fails out of range.
TEST(MeshDecoder, EncodedMeshDecodesBackWholeAndFailsOutOfRangeWhenCutAnywhere) {
  MeshRecord normalTriangle;
  normalTriangle.NumVertices = 1;
  normalTriangle.Vertices = {{1, 2, 3}};
  normalTriangle.NumNormals = 1;
  normalTriangle.Normals = {{0, 0, 1}};
  normalTriangle = WithFaces({MeshFace{MeshFace::kTriangle, {0, 0, 0}, 1, 2}}, normalTriangle);
  MeshRecord extremes = WithFaces({MeshFace{MeshFace::kQuad, {0, 1, 32767, 0}, -32768, -1}}, SimpleMesh(2));
  extremes.CentreX = -32768;
  extremes.CentreY = -1;
  extremes.CentreZ = 32767;
  extremes.CollisionSize = 2147483647;
  extremes.Vertices = {{-32768, -1, 32767}, {32767, 0, -32768}};
  extremes.NumNormals = 3;
  extremes.Normals = {{-32768, -1, 32767}, {1, 2, 3}, {-4, -5, -6}};
  MeshRecord mostVertices = SimpleMesh();
  mostVertices.NumVertices = 32767;
  mostVertices.Vertices.assign(32767, MeshVector{1, -2, 3});
  const MeshFace triangle{MeshFace::kTriangle, {3, 2, 1}, -6, 0};
  const MeshFace quad{MeshFace::kQuad, {0, 1, 2, 3}, 4, 5};
  const struct {
    const char* name;
    MeshRecord mesh;
    std::size_t bytes;  // header, vertices, normal count, normals or shades, face count, faces
  } cases[] = {
      {"one normal and a triangle", normalTriangle, 12 + 6 + 2 + 6 + 2 + 12},
      {"two shades and a quad", WithFaces({quad}, WithShades({10, 20}, normalTriangle)), 12 + 6 + 2 + 4 + 2 + 14},
      {"three vertices and a triangle", SimpleMesh(), kSimpleMeshSize},
      {"null shape without faces", NullShapeMesh(), 12 + 30 + 2 + 6 + 2},
      {"no faces", WithFaces({}), 12 + 18 + 2 + 6 + 2},
      {"shades, a quad and a triangle", WithFaces({quad, triangle}, WithShades({-32768, -1, 32767}, SimpleMesh(4))),
       12 + 24 + 2 + 6 + 2 + 14 + 12},
      // An unknown type is a bare type word: the next face follows at once.
      {"unknown faces between known ones",
       WithFaces({MeshFace{7, {}, 0, 0}, triangle, MeshFace{0, {}, 0, 0}, quad, MeshFace{32767, {}, 0, 0}},
                 SimpleMesh(4)),
       12 + 24 + 2 + 6 + 2 + 2 + 12 + 2 + 14 + 2},
      {"signed extremes and three normals", extremes, 12 + 12 + 2 + 18 + 2 + 14},
      {"16383 shades", WithShades(std::vector<std::int16_t>(16383, -7)), 12 + 18 + 2 + 2 * 16383 + 2 + 12},
      {"32767 vertices", mostVertices, 12 + 6 * 32767 + 2 + 6 + 2 + 12},
      {"32767 unknown faces", WithFaces(std::vector<MeshFace>(32767, MeshFace{1, {}, 0, 0})),
       12 + 18 + 2 + 6 + 2 + 2 * 32767},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Bytes whole = EncodeMesh(c.mesh);
    ASSERT_EQ(whole.size(), c.bytes);
    // Each face of an unknown type is reported by its position.
    std::vector<int> unknown;
    std::vector<int> reported;
    for (std::size_t i = 0; i < c.mesh.Faces.size(); ++i) {
      const std::int16_t type = c.mesh.Faces[i].FaceType;
      if (type != MeshFace::kTriangle && type != MeshFace::kQuad) unknown.push_back(static_cast<int>(i));
    }
    const MeshResult<MeshRecord> decoded = ReadMesh(WadBuilder().meshes({SimpleMesh(5), c.mesh}).build(), 1,
                                                    [&](int face) { reported.push_back(face); });
    ASSERT_TRUE(std::holds_alternative<MeshRecord>(decoded)) << Describe(std::get<MeshFailure>(decoded));
    EXPECT_EQ(std::get<MeshRecord>(decoded), c.mesh);
    EXPECT_EQ(reported, unknown);
    reported.clear();
    const MeshResult<MeshExtent> measured = MeasureMesh(WadBuilder().meshes({c.mesh}).build(), 0,
                                                        [&](int face) { reported.push_back(face); });
    ASSERT_TRUE(std::holds_alternative<MeshExtent>(measured));
    EXPECT_EQ(std::get<MeshExtent>(measured).bytes, c.bytes);
    EXPECT_EQ(std::get<MeshExtent>(measured).NumFaces, c.mesh.NumFaces);
    EXPECT_EQ(reported, unknown);
    // Inside one long list every cut behaves alike: in a big mesh, a sample
    // of 8 cuts and the one just before the end are enough.
    const std::size_t stride = whole.size() > 1000 ? whole.size() / 16 * 2 : 2;
    for (std::size_t length = 0; length < whole.size(); length = std::min(length + stride, whole.size() - 2)) {
      const Bytes part(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length));
      const MeshResult<MeshRecord> cut = ReadMesh(MeshDataAt(part, 0), 0);
      ASSERT_TRUE(std::holds_alternative<MeshFailure>(cut)) << "decoded from the first " << length << " bytes";
      EXPECT_EQ(std::get<MeshFailure>(cut).kind, MeshFailureKind::OutOfRange) << Describe(std::get<MeshFailure>(cut));
      if (length == whole.size() - 2) break;
    }
  }
}

TEST(MeshDecoder, NullShapeIsTheFiveVerticesInOrderWhateverFacesNormalsAndCentre) {
  MeshRecord decorated = WithShades({1, 2, 3}, NullShapeMesh());
  decorated.CentreX = 99;
  decorated.CollisionSize = 12345;
  decorated.NumFaces = 1;
  decorated.Faces = {MeshFace{MeshFace::kQuad, {0, 1, 2, 3}, 0, 0}};
  const struct {
    const char* name;
    MeshRecord mesh;
    bool isNull;
  } cases[] = {
      {"plain null shape", NullShapeMesh(), true},
      {"null shape with faces, shades and centre", decorated, true},
      {"fifth vertex Y changed", Changed([](MeshRecord& m) { m.Vertices[4].Y = 120; }, NullShapeMesh()), false},
      {"four vertices", Changed([](MeshRecord& m) { m.NumVertices = 4; m.Vertices.pop_back(); }, NullShapeMesh()),
       false},
      {"six vertices", Changed([](MeshRecord& m) { m.NumVertices = 6; m.Vertices.push_back(m.Vertices[0]); }, NullShapeMesh()),
       false},
      {"vertices out of order",
       Changed([](MeshRecord& m) { std::swap(m.Vertices[1], m.Vertices[2]); }, NullShapeMesh()), false},
      {"a real mesh", SimpleMesh(5), false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(HasNullMeshShape(c.mesh), c.isNull);
    // A real mesh in front, so the pointer is not 0.
    const MeshResult<bool> decoded = IsNullMesh(WadBuilder().meshes({SimpleMesh(), c.mesh}).build(), 1);
    ASSERT_TRUE(std::holds_alternative<bool>(decoded));
    EXPECT_EQ(std::get<bool>(decoded), c.isNull);
  }
}

}  // namespace
}  // namespace tarnlow
