#include <algorithm>
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

// Who draws the mesh at each MeshPointers position: the first moveable whose
// meshes include it, else the first static mesh on it. A finding about the
// position is then told with that object, where a builder looks for it.
struct PointerOwners {
  std::vector<std::optional<std::size_t>> moveable, staticMesh;
};

PointerOwners pointerOwners(const WadDocument& doc) {
  const std::size_t count = doc.MeshPointers.size();
  PointerOwners owners{std::vector<std::optional<std::size_t>>(count), std::vector<std::optional<std::size_t>>(count)};
  for (std::size_t m = doc.Moveables.size(); m-- > 0;) {
    const MoveableRecord r = doc.Moveables[m];
    const std::int64_t first = std::max<std::int64_t>(r.StartingMesh, 0);
    const std::int64_t end = std::min<std::int64_t>(std::int64_t{r.StartingMesh} + r.NumMeshes,
                                                    static_cast<std::int64_t>(count));
    for (std::int64_t k = first; k < end; ++k) owners.moveable[static_cast<std::size_t>(k)] = m;
  }
  for (std::size_t i = doc.StaticMeshes.size(); i-- > 0;) {
    const std::int64_t k = ReadStaticMeshEntry(doc, i).Mesh;
    if (Inside(k, count)) owners.staticMesh[static_cast<std::size_t>(k)] = i;
  }
  return owners;
}

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
  const PointerOwners owners = pointerOwners(doc);
  for (std::size_t k = 0; k < doc.MeshPointers.size(); ++k) {
    const std::int32_t pointer = doc.MeshPointers[k];
    const auto record = static_cast<std::int64_t>(k);
    const auto add = [&](Severity severity, std::string rule, std::string problem) {
      Finding& f = context.add(severity, std::move(rule), "MeshPointers", record, std::move(problem),
                               "MeshData byte " + str(pointer), owners.moveable[k]);
      if (!f.moveable) f.staticMesh = owners.staticMesh[k];
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
      if (!fresh) continue;
      if (const auto* failure = std::get_if<MeshFailure>(&mesh)) {
        it->second.failure = "the mesh at byte " + str(pointer) + " cannot be decoded: " + Describe(*failure);
      } else if (unknownFaces > 0) {
        add(Severity::Warning, "unknown-face-type",
            "the mesh at byte " + str(pointer) + " has " + str(unknownFaces) + " faces of an unknown type");
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
               "static object " + str(head.ObjectId) + " uses mesh position " + str(head.Mesh) + ", outside the " +
                   str(static_cast<std::int64_t>(pointers)) + " mesh pointers",
               "MeshPointers " + str(head.Mesh))
          .staticMesh = i;
    }
  }
}

}  // namespace tarnlow
