#include <unordered_map>

#include "check/rules.h"
#include "mesh/static_meshes.h"
#include "mesh/face_textures.h"
#include "mesh/mesh_decoder.h"

namespace tarnlow {

namespace {

std::string str(std::int64_t v) { return std::to_string(v); }

}  // namespace

void CheckMeshPointers(CheckContext& context) {
  const WadDocument& doc = context.doc();
  const std::size_t bytes = doc.MeshData.size();
  std::vector<bool>& shown = context.usage().textInfo;
  bool& anyShown = context.usage().facesShowTextures;
  const auto markTexture = [&shown, &anyShown](std::int16_t faceType, std::int16_t texture) {
    const std::optional<std::size_t> index = TextureInfoIndex(faceType, texture);
    anyShown = anyShown || index.has_value();
    if (index && *index < shown.size()) shown[*index] = true;
  };
  // Many pointers share a mesh (every DUMMY points at offset 0): each
  // offset is decoded once, and its faces' textures count when any pointer
  // to it is in use.
  struct Decoded {
    std::optional<std::string> failure;
    bool texturesMarked = false;
  };
  std::unordered_map<std::int32_t, Decoded> decoded;
  decoded.reserve(doc.MeshPointers.size());
  for (std::size_t k = 0; k < doc.MeshPointers.size(); ++k) {
    const std::int32_t pointer = doc.MeshPointers[k];
    const auto record = static_cast<std::int64_t>(k);
    if (pointer < 0 || static_cast<std::uint64_t>(pointer) >= bytes) {
      context.add(Severity::Error, "mesh-pointer-outside", "MeshPointers", record,
                  "pointer " + str(pointer) + " is outside the " + str(static_cast<std::int64_t>(bytes)) +
                      " bytes of mesh data",
                  "MeshData byte " + str(pointer));
      continue;
    }
    const bool used = context.usage().meshPointers[k];
    auto [it, fresh] = decoded.try_emplace(pointer);
    if (fresh || (used && !it->second.texturesMarked)) {
      int unknownFaces = 0;
      const MeshResult<MeshExtent> mesh = MeasureMesh(
          doc, record, [&](int) { ++unknownFaces; }, used ? FaceTextureHandler(markTexture) : FaceTextureHandler());
      it->second.texturesMarked = used;
      if (!fresh) continue;
      if (const auto* failure = std::get_if<MeshFailure>(&mesh)) {
        it->second.failure = "the mesh at byte " + str(pointer) + " cannot be decoded: " + Describe(*failure);
      } else if (unknownFaces > 0) {
        context.add(Severity::Warning, "unknown-face-type", "MeshPointers", record,
                    "the mesh at byte " + str(pointer) + " has " + str(unknownFaces) + " faces of an unknown type",
                    "MeshData byte " + str(pointer));
      }
    }
    if (it->second.failure) {
      context.add(Severity::Error, "mesh-undecodable", "MeshPointers", record, *it->second.failure,
                  "MeshData byte " + str(pointer));
    }
  }
}

void CheckStaticMeshes(CheckContext& context) {
  const WadDocument& doc = context.doc();
  const std::size_t pointers = doc.MeshPointers.size();
  for (std::size_t i = 0; i < doc.StaticMeshes.size(); ++i) {
    const StaticMeshEntry head = ReadStaticMeshEntry(doc, i);
    if (!Inside(head.Mesh, pointers)) {
      context
          .add(Severity::Error, "static-mesh-outside", "StaticMeshes", static_cast<std::int64_t>(i),
               "static object " + str(head.ObjectId) + " uses mesh position " + str(head.Mesh) + ", outside the " +
                   str(static_cast<std::int64_t>(pointers)) + " mesh pointers",
               "MeshPointers " + str(head.Mesh))
          .staticMesh = i;
    }
  }
}

}  // namespace tarnlow
