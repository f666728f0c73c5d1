#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "anim/finding.h"
#include "wad/wad_document.h"

namespace tarnlow::cli {

// The two containers of glTF 2.0: JSON text with the binary data embedded
// as a data URI (.gltf), or the binary container (.glb).
enum class GltfContainer { Json, Binary };

// An exported object, and what it had to leave out ("Mesh 03: overflow: ...",
// "animation 12: ...").
struct GltfExport {
  std::vector<std::uint8_t> bytes;
  std::vector<std::string> notes;
};

// Moveable `moveableIndex` as a glTF 2.0 scene named `name`:
//  - one node per mesh, in the mesh tree's hierarchy, each placed at its
//    offset from its parent, under one node that turns the WAD's axes (Y
//    down) into glTF's (Y up) and scales 512 units to a metre;
//  - per mesh, the textured faces (positions, normals where the mesh stores
//    one per vertex, texture coordinates into an atlas of the texture pages
//    they use, embedded as PNG with the colour key transparent) and the
//    flat faces, each set a primitive of its own;
//  - every animation of the object with frames, as a glTF animation: each
//    mesh's rotation and the root's translation at each key frame, the
//    game's frames at 30 a second.
// Meshes that cannot be decoded keep their node without a mesh;
// animations that cannot be posed are left out; both are told in `notes`.
// Fails with the finding when the object has no skeleton (see
// BuildSkeleton). Throws WadError kOutOfMemory when the atlas cannot be
// encoded.
std::variant<GltfExport, Finding> ExportObjectGltf(const WadDocument& document, std::size_t moveableIndex,
                                                   GltfContainer container, std::string_view name);

}  // namespace tarnlow::cli
