#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "mesh/face_textures.h"
#include "wad/mesh_record.h"
#include "wad/wad_document.h"

namespace tarnlow {

// One mesh of an object as decoded, with the texture each face shows
// (nothing for a face drawn flat).
struct SceneMesh {
  MeshRecord mesh;
  std::vector<std::optional<FaceTexture>> textures;  // one per face
};

// An object's meshes in mesh order: meshes[j] is mesh j of the object,
// nothing when it cannot be shown, with the reason in `problems`.
struct ObjectModel {
  std::vector<std::optional<SceneMesh>> meshes;
  std::vector<std::string> problems;  // "Mesh 03: overflow: vertex count word 0x8000 at byte 10 of the mesh data"
};

// Decodes mesh j of an object at MeshPointers position positions[j] (a
// pointer of 0 is the mesh at offset 0, as the game takes it) and finds its
// faces' textures. A position outside MeshPointers or a mesh that fails to
// decode is left out and told. Never fails.
ObjectModel LoadObjectModel(const WadDocument& document, const std::vector<std::int64_t>& positions);

}  // namespace tarnlow
