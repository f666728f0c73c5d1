// Meshes a broken WAD can hold, beyond the single faults of
// mesh_decoder_test.cpp: every truncation of a real mesh, pointers and
// positions at the ends of their ranges, and counts just inside their limits.

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <variant>

#include "mesh/mesh_decoder.h"
#include "mesh/mesh_encoder.h"
#include "tests/support/wad_builder.h"

namespace tarnlow {
namespace {

using test::WadBuilder;

MeshRecord ShadedQuadMesh() {
  MeshRecord m = test::SimpleMesh(4);
  m.NumNormals = -3;
  m.Normals.clear();
  m.Shades = {7, -8, 9};
  m.NumFaces = 2;
  m.Faces = {MeshFace{MeshFace::kQuad, {0, 1, 2, 3}, 4, 5}, MeshFace{MeshFace::kTriangle, {3, 2, 1}, -6, 0}};
  return m;
}

MeshRecord UnknownFaceMesh() {
  MeshRecord m = test::SimpleMesh(3);
  m.NumFaces = 2;
  m.Faces = {MeshFace{7, {}, 0, 0}, MeshFace{MeshFace::kTriangle, {0, 1, 2}, 1, 1}};
  return m;
}

MeshFailureKind KindOf(const MeshResult<MeshRecord>& result) { return std::get<MeshFailure>(result).kind; }

TEST(HostileMeshes, EveryTruncationOfAMeshFailsOutOfRangeAndTheWholeMeshDecodes) {
  const struct {
    const char* name;
    MeshRecord mesh;
  } meshes[] = {{"normals and a triangle", test::SimpleMesh(3)},
                {"shades, a quad and a triangle", ShadedQuadMesh()},
                {"an unknown face type", UnknownFaceMesh()},
                {"the null shape", test::NullShapeMesh()}};
  for (const auto& m : meshes) {
    const Bytes whole = EncodeMesh(m.mesh);
    ASSERT_EQ(whole.size() % 2, 0u);
    // Mesh data is whole 16-bit words, so cuts fall between words.
    for (std::size_t length = 0; length <= whole.size(); length += 2) {
      SCOPED_TRACE(std::string(m.name) + ", " + std::to_string(length) + " of " + std::to_string(whole.size()) + " bytes");
      WadDocument doc = WadBuilder().meshData(Bytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length))).build();
      doc.MeshPointers = RecordArray<std::int32_t>::fromRecords({0});
      const MeshResult<MeshRecord> result = ReadMesh(doc, 0);
      if (length == whole.size()) {
        ASSERT_TRUE(std::holds_alternative<MeshRecord>(result)) << Describe(std::get<MeshFailure>(result));
        EXPECT_EQ(std::get<MeshRecord>(result), m.mesh);
      } else {
        ASSERT_TRUE(std::holds_alternative<MeshFailure>(result)) << "decoded from a cut mesh";
        EXPECT_EQ(KindOf(result), MeshFailureKind::OutOfRange) << Describe(std::get<MeshFailure>(result));
      }
    }
  }
}

TEST(HostileMeshes, PositionsAndPointersAtTheEndsOfTheirRangesFailOutOfRange) {
  constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
  constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
  const Bytes data = EncodeMesh(test::SimpleMesh(3));
  const auto size = static_cast<std::int32_t>(data.size());
  const struct {
    std::string name;
    std::int64_t position;
    std::int32_t pointer;
  } cases[] = {
      {"largest position", std::numeric_limits<std::int64_t>::max(), 0},
      {"smallest position", std::numeric_limits<std::int64_t>::min(), 0},
      {"position just past the table", 1, 0},
      {"largest pointer", 0, kMax},
      {"pointer whose header would wrap", 0, kMax - 5},
      {"smallest pointer", 0, kMin},
      {"pointer one word before the end", 0, size - 2},
      {"pointer at the end", 0, size},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const WadDocument doc = WadBuilder().meshData(data).meshPointers({c.pointer}).build();
    const MeshResult<MeshRecord> result = ReadMesh(doc, c.position);
    ASSERT_TRUE(std::holds_alternative<MeshFailure>(result));
    EXPECT_EQ(KindOf(result), MeshFailureKind::OutOfRange) << Describe(std::get<MeshFailure>(result));
    const MeshResult<bool> isNull = IsNullMesh(doc, c.position);
    ASSERT_TRUE(std::holds_alternative<MeshFailure>(isNull));
    EXPECT_EQ(std::get<MeshFailure>(isNull).kind, MeshFailureKind::OutOfRange);
  }
}

// The largest counts a mesh may hold decode when their bytes are there; one
// more is an overflow (shades, vertices) however many bytes follow.
TEST(HostileMeshes, LargestCountsDecodeAndOneMoreOverflows) {
  const struct {
    std::string name;
    MeshRecord mesh;
    bool decodes;
  } cases[] = {
      {"16383 shades", [] {
         MeshRecord m = test::SimpleMesh(3);
         m.NumNormals = -16383;
         m.Normals.clear();
         m.Shades.assign(16383, -1);
         return m;
       }(), true},
      {"16384 shades with their bytes", [] {
         MeshRecord m = test::SimpleMesh(3);
         m.NumNormals = -16384;
         m.Normals.clear();
         m.Shades.assign(16384, -1);
         return m;
       }(), false},
      {"32767 vertices", [] {
         MeshRecord m = test::SimpleMesh(3);
         m.NumVertices = 32767;
         m.Vertices.assign(32767, MeshVector{1, -2, 3});
         return m;
       }(), true},
      {"32767 unknown faces", [] {
         MeshRecord m = test::SimpleMesh(3);
         m.NumFaces = 32767;
         m.Faces.assign(32767, MeshFace{1, {}, 0, 0});
         return m;
       }(), true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    int unknownFaces = 0;
    const MeshResult<MeshRecord> result =
        ReadMesh(WadBuilder().meshes({c.mesh}).build(), 0, [&](int) { ++unknownFaces; });
    if (!c.decodes) {
      ASSERT_TRUE(std::holds_alternative<MeshFailure>(result));
      EXPECT_EQ(KindOf(result), MeshFailureKind::Overflow) << Describe(std::get<MeshFailure>(result));
      continue;
    }
    ASSERT_TRUE(std::holds_alternative<MeshRecord>(result)) << Describe(std::get<MeshFailure>(result));
    EXPECT_EQ(std::get<MeshRecord>(result), c.mesh);
    EXPECT_EQ(unknownFaces, c.mesh.Faces[0].FaceType == 1 ? 32767 : 0);
  }
}

}  // namespace
}  // namespace tarnlow
