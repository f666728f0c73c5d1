#include <optional>
#include <unordered_map>
#include <vector>

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
  const Usage& usage = context.usage();
  const auto owner = [](std::int64_t drawer) {
    return drawer < 0 ? std::nullopt : std::optional<std::size_t>(static_cast<std::size_t>(drawer));
  };
  for (std::size_t k = 0; k < doc.MeshPointers.size(); ++k) {
    const std::int32_t pointer = doc.MeshPointers[k];
    const auto record = static_cast<std::int64_t>(k);
    const auto add = [&](Severity severity, std::string rule, std::string problem) {
      Finding& f = context.add(severity, std::move(rule), "MeshPointers", record, std::move(problem),
                               "MeshData byte " + str(pointer), owner(usage.meshPointerMoveable[k]));
      if (!f.moveable) f.staticMesh = owner(usage.meshPointerStatic[k]);
    };
    if (pointer < 0 || static_cast<std::uint64_t>(pointer) >= bytes) {
      add(Severity::Error, "mesh-pointer-outside",
          "pointer " + str(pointer) + " is outside the " + str(static_cast<std::int64_t>(bytes)) + " bytes of mesh data");
      continue;
    }
    const bool used = context.usage().meshPointers[k];
    auto [it, fresh] = decoded.try_emplace(pointer);
    if (fresh || (used && !it->second.texturesMarked)) {
      int unknownFaces = 0;
      const MeshResult<MeshExtent> mesh = MeasureMesh(
          doc, record, [&](int) { ++unknownFaces; }, used ? FaceTextureHandler(markTexture) : FaceTextureHandler());
      it->second.texturesMarked = used;
      // A mesh is judged at its first pointer; a later one that is used is
      // measured again only to count its textures.
      if (fresh) {
        if (const auto* failure = std::get_if<MeshFailure>(&mesh)) {
          it->second.failure = "the mesh at byte " + str(pointer) + " cannot be decoded: " + Describe(*failure);
        } else if (unknownFaces > 0) {
          add(Severity::Warning, "unknown-face-type",
              "the mesh at byte " + str(pointer) + " has " + str(unknownFaces) + " faces of an unknown type");
        }
      }
    }
    if (it->second.failure) add(Severity::Error, "mesh-undecodable", *it->second.failure);
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
               "its mesh position " + str(head.Mesh) + " is outside the " +
                   str(static_cast<std::int64_t>(pointers)) + " mesh pointers",
               "MeshPointers " + str(head.Mesh))
          .staticMesh = i;
    }
  }
}

}  // namespace tarnlow
