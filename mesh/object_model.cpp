#include "mesh/object_model.h"

#include <variant>

#include "mesh/mesh_decoder.h"
#include "mesh/mesh_lists.h"
#include "wad/texture_pages.h"

namespace tarnlow {

ObjectModel LoadObjectModel(const WadDocument& document, const std::vector<std::int64_t>& positions) {
  ObjectModel model;
  const std::size_t pages = TexturePageCount(document.TextData);
  for (std::size_t j = 0; j < positions.size(); ++j) {
    const std::int64_t k = positions[j];
    const std::string label = MeshLabel(static_cast<std::int64_t>(j));
    if (k < 0 || static_cast<std::uint64_t>(k) >= document.MeshPointers.size()) {
      model.meshes.emplace_back();
      model.problems.push_back(label + ": mesh position " + std::to_string(k) + " is outside the " +
                               std::to_string(document.MeshPointers.size()) + " mesh pointers");
      continue;
    }
    MeshResult<MeshRecord> decoded = ReadMesh(document, k);
    if (const auto* failure = std::get_if<MeshFailure>(&decoded)) {
      model.meshes.emplace_back();
      model.problems.push_back(label + ": " + Describe(*failure));
      continue;
    }
    SceneMesh scene{std::move(std::get<MeshRecord>(decoded)), {}};
    scene.textures.reserve(scene.mesh.Faces.size());
    for (const MeshFace& face : scene.mesh.Faces) scene.textures.push_back(FaceTextureOf(face, document.TextInfo, pages));
    model.meshes.emplace_back(std::move(scene));
  }
  return model;
}

}  // namespace tarnlow
