#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <variant>

#include "wad/mesh_record.h"
#include "wad/wad_document.h"

namespace tarnlow {

// Why a mesh could not be decoded.
enum class MeshFailureKind {
  OutOfRange,  // index or pointer outside its array, bytes past MeshData, an empty vertex or normal list
  Overflow,    // a count word of 32768 or more, a collision size >= 2^31, more than 16383 shades
};

struct MeshFailure {
  MeshFailureKind kind;
  std::string detail;       // what was wrong, for a person: "vertex count word 0x8000"
  std::size_t offset = 0;   // byte offset in MeshData where it happened (0 for a bad index)
  friend bool operator==(const MeshFailure&, const MeshFailure&) = default;
};

// "out of range" or "overflow", for messages.
std::string Describe(MeshFailureKind kind);
// "overflow: face count word 0x8000 at byte 1234 of the mesh data".
std::string Describe(const MeshFailure& failure);

// Called once per face with an unknown type, with the face's position; the
// decode goes on after it returns. The window shows
// "Unknown FaceType - Face N" from it; the core shows nothing.
using UnknownFaceHandler = std::function<void(int faceIndex)>;

template <typename T>
using MeshResult = std::variant<T, MeshFailure>;

// Decodes the mesh that MeshPointers[meshIndex] points at. The document is
// only read. Returns the whole record, or the failure that stopped the
// decode (nothing partial). `onUnknownFace` may be empty.
MeshResult<MeshRecord> ReadMesh(const WadDocument& document, std::int64_t meshIndex,
                                const UnknownFaceHandler& onUnknownFace = {});

// What a mesh holds, found without keeping its lists.
struct MeshExtent {
  std::size_t bytes = 0;  // from its pointer to the end of its last face
  std::int16_t NumVertices = 0;
  std::int16_t NumNormals = 0;
  std::int16_t NumFaces = 0;
};

// Called with the type and Texture word of each triangle and quad, in file
// order.
using FaceTextureHandler = std::function<void(std::int16_t faceType, std::int16_t texture)>;

// Checks mesh `meshIndex` exactly as ReadMesh decodes it (the same
// failures, the same unknown-face calls) but keeps no vertices, normals,
// shades or faces: for checking many meshes quickly. `onFaceTexture`, when
// given, hears each face's Texture word (also of a mesh that fails later).
MeshResult<MeshExtent> MeasureMesh(const WadDocument& document, std::int64_t meshIndex,
                                   const UnknownFaceHandler& onUnknownFace = {},
                                   const FaceTextureHandler& onFaceTexture = {});

// True exactly when the mesh decodes to five vertices equal, in order, to the
// null-mesh shape. Fails when ReadMesh fails.
MeshResult<bool> IsNullMesh(const WadDocument& document, std::int64_t meshIndex,
                            const UnknownFaceHandler& onUnknownFace = {});

// Whether the mesh's header gives five vertices equal, in order, to the
// null-mesh shape. Reads only those; whether the rest decodes is not asked
// (IsNullMesh asks it). False when they are not all there.
bool BeginsWithNullMeshShape(const WadDocument& document, std::int64_t meshIndex);

// The five vertices of the placeholder mesh that level tools put where an
// object has no real mesh.
bool HasNullMeshShape(const MeshRecord& mesh);

}  // namespace tarnlow
