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

constexpr std::int32_t kSimpleMeshSize = 52;  // SimpleMesh(3) encoded

WadDocument MeshDataAt(const Bytes& data, std::int32_t pointer) {
  return WadBuilder().meshData(data).meshPointers({pointer}).build();
}

MeshRecord Changed(const std::function<void(MeshRecord&)>& change, MeshRecord m = SimpleMesh()) {
  change(m);
  return m;
}

// SimpleMesh() changed, as the one mesh of a document.
WadDocument Broken(const std::function<void(MeshRecord&)>& change) { return WadBuilder().meshes({Changed(change)}).build(); }

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

// A count word of 32768 or more is an overflow, bytes or positions outside
// the data out of range; words are checked in file order, so an early bad
// word is what is reported. The null-mesh test fails alike.
TEST(MeshDecoder, EachFaultFailsWithItsKindAndSoDoesTheNullMeshTest) {
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
  const auto at = [&](std::int32_t pointer) { return MeshDataAt(simple, pointer); };
  const struct {
    const char* name;
    WadDocument document;
    std::int64_t meshIndex;
    MeshFailureKind kind;
  } cases[] = {
      {"position past the pointers", one, 1, K::OutOfRange},
      {"negative position", one, -1, K::OutOfRange},
      {"largest position", one, kMaxPosition, K::OutOfRange},
      {"smallest position", one, -kMaxPosition - 1, K::OutOfRange},
      {"negative pointer", at(-2), 0, K::OutOfRange},
      {"smallest pointer", at(-kMax - 1), 0, K::OutOfRange},
      {"pointer past the end", at(kSimpleMeshSize + 2), 0, K::OutOfRange},
      {"header end wraps 32 bits", at(kMax - 5), 0, K::OutOfRange},
      {"header cut short", at(kSimpleMeshSize - 10), 0, K::OutOfRange},
      {"collision size 2^31", Broken([](MeshRecord& m) { m.CollisionSize = INT32_MIN; }), 0, K::Overflow},
      {"no vertices", Broken([](MeshRecord& m) { m.NumVertices = 0; }), 0, K::OutOfRange},
      {"vertex count word 0x8000", Broken([](MeshRecord& m) { m.NumVertices = -32768; }), 0, K::Overflow},
      {"vertices past the end", Broken([](MeshRecord& m) { m.NumVertices = 100; }), 0, K::OutOfRange},
      {"no normals", Broken([](MeshRecord& m) { m.NumNormals = 0; }), 0, K::OutOfRange},
      {"normals past the end", Broken([](MeshRecord& m) { m.NumNormals = 50; }), 0, K::OutOfRange},
      // Too many shades is an overflow even when their bytes are all there.
      {"16384 shades", WadBuilder().meshes({WithShades(std::vector<std::int16_t>(16384))}).build(), 0, K::Overflow},
      {"normal count word 0x8000", Broken([](MeshRecord& m) { m.NumNormals = -32768; }), 0, K::Overflow},
      {"shades past the end", Broken([](MeshRecord& m) { m.NumNormals = -100; }), 0, K::OutOfRange},
      {"face count word 0x8000", Broken([](MeshRecord& m) { m.NumFaces = -32768; }), 0, K::Overflow},
      {"faces past the end", Broken([](MeshRecord& m) { m.NumFaces = 1000; }), 0, K::OutOfRange},
      {"bad first face type before the end",
       Broken([](MeshRecord& m) { m.NumFaces = 1000; m.Faces[0].FaceType = -32768; }), 0, K::Overflow},
      {"vertex index word 0x8000", Broken([](MeshRecord& m) { m.Faces[0].Vertices = {0, -32768, 2}; }), 0, K::Overflow},
      {"second face cut short", MeshDataAt(cutSecondFace, 0), 0, K::OutOfRange},
      {"index words read before the face's end", MeshDataAt(cutAfterBadIndex, 0), 0, K::Overflow},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const MeshResult<MeshRecord> result = ReadMesh(c.document, c.meshIndex);
    ASSERT_TRUE(std::holds_alternative<MeshFailure>(result)) << "decoded although broken";
    const MeshFailure& failure = std::get<MeshFailure>(result);
    EXPECT_EQ(failure.kind, c.kind) << failure.detail;
    const MeshResult<bool> isNull = IsNullMesh(c.document, c.meshIndex);
    ASSERT_TRUE(std::holds_alternative<MeshFailure>(isNull));
    EXPECT_EQ(std::get<MeshFailure>(isNull), failure);
  }
}

// Each mesh decodes back whole from behind another one (so its pointer is
// not 0), reporting its unknown faces, and every shorter cut fails out of range.
TEST(MeshDecoder, EncodedMeshDecodesBackWholeAndFailsOutOfRangeWhenCutAnywhere) {
  MeshRecord extremes = WithFaces({MeshFace{MeshFace::kQuad, {0, 1, 32767, 0}, -32768, -1}}, SimpleMesh(2));
  extremes.CentreX = -32768;
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
  const std::pair<const char*, MeshRecord> cases[] = {
      {"null shape without faces", NullShapeMesh()},
      {"shades, a quad and a triangle", WithFaces({quad, triangle}, WithShades({-32768, -1, 32767}, SimpleMesh(4)))},
      // An unknown type is a bare type word: the next face follows at once.
      {"unknown faces between known ones",
       WithFaces({MeshFace{7, {}, 0, 0}, triangle, MeshFace{0, {}, 0, 0}, quad, MeshFace{32767, {}, 0, 0}}, SimpleMesh(4))},
      {"signed extremes and three normals", extremes},
      {"16383 shades", WithShades(std::vector<std::int16_t>(16383, -7))},
      {"32767 vertices", mostVertices},
  };
  for (const auto& [name, mesh] : cases) {
    SCOPED_TRACE(name);
    std::vector<int> unknown, reported;
    for (std::size_t i = 0; i < mesh.Faces.size(); ++i) {
      const std::int16_t type = mesh.Faces[i].FaceType;
      if (type != MeshFace::kTriangle && type != MeshFace::kQuad) unknown.push_back(static_cast<int>(i));
    }
    const MeshResult<MeshRecord> decoded =
        ReadMesh(WadBuilder().meshes({SimpleMesh(5), mesh}).build(), 1, [&](int face) { reported.push_back(face); });
    ASSERT_TRUE(std::holds_alternative<MeshRecord>(decoded)) << std::get<MeshFailure>(decoded).detail;
    EXPECT_EQ(std::get<MeshRecord>(decoded), mesh);
    EXPECT_EQ(reported, unknown);
    // In a big mesh, a sample of cuts and the one just before the end are enough.
    const Bytes whole = EncodeMesh(mesh);
    const std::size_t stride = whole.size() > 1000 ? whole.size() / 16 * 2 : 2;
    for (std::size_t length = 0; length < whole.size(); length = std::min(length + stride, whole.size() - 2)) {
      const MeshResult<MeshRecord> cut = ReadMesh(MeshDataAt(Bytes(whole.begin(), whole.begin() + std::ptrdiff_t(length)), 0), 0);
      ASSERT_TRUE(std::holds_alternative<MeshFailure>(cut)) << "decoded from the first " << length << " bytes";
      EXPECT_EQ(std::get<MeshFailure>(cut).kind, MeshFailureKind::OutOfRange);
      if (length == whole.size() - 2) break;
    }
  }
}

TEST(MeshDecoder, NullShapeIsTheFiveVerticesInOrderWhateverFacesNormalsAndCentre) {
  MeshRecord decorated = WithFaces({MeshFace{MeshFace::kQuad, {0, 1, 2, 3}, 0, 0}}, WithShades({1, 2, 3}, NullShapeMesh()));
  decorated.CentreX = 99;
  decorated.CollisionSize = 12345;
  const std::pair<MeshRecord, bool> cases[] = {
      {NullShapeMesh(), true},
      {decorated, true},
      {Changed([](MeshRecord& m) { m.Vertices[4].Y = 120; }, NullShapeMesh()), false},
      {Changed([](MeshRecord& m) { m.NumVertices = 4; m.Vertices.pop_back(); }, NullShapeMesh()), false},
      {Changed([](MeshRecord& m) { m.NumVertices = 6; m.Vertices.push_back(m.Vertices[0]); }, NullShapeMesh()), false},
      {Changed([](MeshRecord& m) { std::swap(m.Vertices[1], m.Vertices[2]); }, NullShapeMesh()), false},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(HasNullMeshShape(cases[i].first), cases[i].second);
    const MeshResult<bool> decoded = IsNullMesh(WadBuilder().meshes({SimpleMesh(), cases[i].first}).build(), 1);
    ASSERT_TRUE(std::holds_alternative<bool>(decoded));
    EXPECT_EQ(std::get<bool>(decoded), cases[i].second);
  }
}

}  // namespace
}  // namespace tarnlow
