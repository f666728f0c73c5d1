#include "mesh/mesh_decoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <limits>
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

// SimpleMesh() changed, as the one mesh of a document.
WadDocument Broken(const std::function<void(MeshRecord&)>& change) {
  MeshRecord m = SimpleMesh();
  change(m);
  return WadBuilder().meshes({m}).build();
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

// A count word of 32768 or more is an overflow, bytes or positions outside
// the data out of range; words are checked in file order, so an early bad
// word is what is reported. Measuring and the null-mesh test fail alike.
TEST(MeshDecoder, EachFaultFailsWithItsKindAndSoDoMeasureAndTheNullMeshTest) {
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
  const struct { const char* name; WadDocument document; std::int64_t meshIndex; MeshFailureKind kind; } cases[] = {
      {"position past the pointers", one, 1, K::OutOfRange}, {"largest position", one, kMaxPosition, K::OutOfRange},
      {"smallest position", one, -kMaxPosition - 1, K::OutOfRange}, {"negative pointer", at(-2), 0, K::OutOfRange},
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
      {"bad first face type", Broken([](MeshRecord& m) { m.NumFaces = 1000; m.Faces[0].FaceType = -32768; }), 0, K::Overflow},
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
    EXPECT_EQ(IsNullMesh(c.document, c.meshIndex), MeshResult<bool>(failure));
    const MeshResult<MeshExtent> measured = MeasureMesh(c.document, c.meshIndex);
    EXPECT_TRUE(std::holds_alternative<MeshFailure>(measured) && std::get<MeshFailure>(measured) == failure);
  }
}

// Each mesh decodes back whole from behind another one (so its pointer is
// not 0), reporting its unknown faces, and every shorter cut fails out of range.
TEST(MeshDecoder, EncodedMeshDecodesBackWholeAndFailsOutOfRangeWhenCutAnywhere) {
  const MeshFace triangle{MeshFace::kTriangle, {3, 2, 1}, -6, 0};
  const MeshFace quad{MeshFace::kQuad, {0, 1, 2, 32767}, -32768, -1};
  MeshRecord extremes = WithFaces({quad, triangle}, SimpleMesh(4));
  extremes.CentreX = -32768;
  extremes.CollisionSize = 2147483647;
  extremes.Vertices[0] = {-32768, -1, 32767};
  extremes.NumNormals = 2;
  extremes.Normals = {{-32768, -1, 32767}, {1, 2, 3}};
  MeshRecord mostVertices = SimpleMesh();
  mostVertices.NumVertices = 32767;
  mostVertices.Vertices.assign(32767, MeshVector{1, -2, 3});
  const MeshRecord cases[] = {
      NullShapeMesh(), extremes, WithFaces({quad, triangle}, WithShades({-32768, -1, 32767}, SimpleMesh(4))),
      // An unknown type is a bare type word: the next face follows at once.
      WithFaces({MeshFace{7, {}, 0, 0}, triangle, MeshFace{0, {}, 0, 0}, quad, MeshFace{32767, {}, 0, 0}}, SimpleMesh(4)),
      WithShades(std::vector<std::int16_t>(16383, -7)), mostVertices};
  for (const MeshRecord& mesh : cases) {
    SCOPED_TRACE(mesh.NumVertices + 100000 * mesh.NumNormals);
    std::vector<int> unknown, reported;
    for (std::size_t i = 0; i < mesh.Faces.size(); ++i) {
      if (mesh.Faces[i].FaceType != MeshFace::kTriangle && mesh.Faces[i].FaceType != MeshFace::kQuad) unknown.push_back(int(i));
    }
    const MeshResult<MeshRecord> decoded =
        ReadMesh(WadBuilder().meshes({SimpleMesh(5), mesh}).build(), 1, [&](int face) { reported.push_back(face); });
    ASSERT_TRUE(std::holds_alternative<MeshRecord>(decoded)) << std::get<MeshFailure>(decoded).detail;
    EXPECT_EQ(std::get<MeshRecord>(decoded), mesh);
    EXPECT_EQ(reported, unknown);
    const Bytes whole = EncodeMesh(mesh);
    reported.clear();
    const MeshResult<MeshExtent> measured =
        MeasureMesh(WadBuilder().meshes({mesh}).build(), 0, [&](int face) { reported.push_back(face); });
    ASSERT_TRUE(std::holds_alternative<MeshExtent>(measured));
    EXPECT_EQ(std::pair(std::get<MeshExtent>(measured).bytes, reported), std::pair(whole.size(), unknown));
    // In a big mesh, a sample of cuts and the one just before the end are enough.
    const std::size_t stride = whole.size() > 1000 ? whole.size() / 16 * 2 : 2;
    for (std::size_t length = 0; length < whole.size(); length = std::min(length + stride, whole.size() - 2)) {
      const MeshResult<MeshRecord> cut = ReadMesh(MeshDataAt(Bytes(whole.begin(), whole.begin() + std::ptrdiff_t(length)), 0), 0);
      ASSERT_TRUE(std::holds_alternative<MeshFailure>(cut)) << "decoded from the first " << length << " bytes";
      EXPECT_EQ(std::get<MeshFailure>(cut).kind, MeshFailureKind::OutOfRange);
      if (length == whole.size() - 2) break;
    }
  }
}

// The null shape decides, whatever the faces, normals and centre.
TEST(MeshDecoder, NullShapeIsTheFiveVerticesInOrder) {
  MeshRecord decorated = WithFaces({MeshFace{MeshFace::kQuad, {0, 1, 2, 3}, 0, 0}}, WithShades({1, 2, 3}, NullShapeMesh()));
  decorated.CentreX = 99;
  decorated.CollisionSize = 12345;
  const auto changed = [](const std::function<void(std::vector<MeshVector>&)>& change) {
    MeshRecord m = NullShapeMesh();
    change(m.Vertices);
    m.NumVertices = static_cast<std::int16_t>(m.Vertices.size());
    return m;
  };
  const std::pair<MeshRecord, bool> cases[] = {
      {NullShapeMesh(), true}, {decorated, true}, {changed([](auto& v) { v[4].Y = 120; }), false},
      {changed([](auto& v) { v.pop_back(); }), false}, {changed([](auto& v) { v.push_back(v[0]); }), false},
      {changed([](auto& v) { std::swap(v[1], v[2]); }), false}};
  for (const auto& [mesh, isNull] : cases) {
    EXPECT_EQ(HasNullMeshShape(mesh), isNull);
    EXPECT_EQ(IsNullMesh(WadBuilder().meshes({SimpleMesh(), mesh}).build(), 1), MeshResult<bool>(isNull));
  }
}

}  // namespace
}  // namespace tarnlow
