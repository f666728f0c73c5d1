#pragma once

#include <cstdint>
#include <vector>

namespace tarnlow {

struct MeshVector {
  std::int16_t X = 0;
  std::int16_t Y = 0;
  std::int16_t Z = 0;
  friend bool operator==(const MeshVector&, const MeshVector&) = default;
};

// FaceType 8 is a triangle (three indices), 9 a quad (four); any other type
// keeps no indices and Texture and Attributes 0.
struct MeshFace {
  static constexpr std::int16_t kTriangle = 8;
  static constexpr std::int16_t kQuad = 9;
  std::int16_t FaceType = 0;
  std::vector<std::int16_t> Vertices;
  std::int16_t Texture = 0;
  std::int16_t Attributes = 0;
  friend bool operator==(const MeshFace&, const MeshFace&) = default;
};

// One decoded mesh, as the document holds it in MeshRecords (mesh/ decodes
// it). NumNormals > 0: Normals holds that many normals;
// NumNormals < 0: Shades holds -NumNormals shades.
struct MeshRecord {
  std::int16_t CentreX = 0;
  std::int16_t CentreY = 0;
  std::int16_t CentreZ = 0;
  std::int32_t CollisionSize = 0;
  std::int16_t NumVertices = 0;
  std::vector<MeshVector> Vertices;
  std::int16_t NumNormals = 0;
  std::vector<MeshVector> Normals;
  std::vector<std::int16_t> Shades;
  std::int16_t NumFaces = 0;
  std::vector<MeshFace> Faces;
  friend bool operator==(const MeshRecord&, const MeshRecord&) = default;
};

}  // namespace tarnlow
