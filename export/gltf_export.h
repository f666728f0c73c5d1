#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "anim/finding.h"
#include "wad/wad_document.h"

namespace tarnlow {

// The two containers of glTF 2.0: JSON text with the binary data embedded
// as a data URI (.gltf), or the binary container (.glb).
enum class GltfContainer { Json, Binary };

// The container a file name asks for: ".gltf" or ".glb" in any letter case;
// nothing for any other name.
std::optional<GltfContainer> GltfContainerOf(const std::filesystem::path& path);

// An exported object, and what it had to leave out ("Mesh 03: overflow: ...",
// "animation 12 left out: ...").
struct GltfExport {
  std::vector<std::uint8_t> bytes;
  std::vector<std::string> notes;
  std::size_t keyFramesWritten = 0;  // over all animations
};

// Moveable `moveableIndex` as the game draws it (DrawObject: Lara's
// placeholder meshes filled from LARA_SKIN) as a glTF 2.0 scene named
// `name`:
//  - one node per mesh, in the mesh tree's hierarchy, each placed at its
//    offset from its parent, under one node that turns the WAD's axes (Y
//    down) into glTF's (Y up) and scales 512 units to a metre;
//  - per mesh, the textured faces (positions, normals where the mesh stores
//    one per vertex, texture coordinates into one atlas of just the texture
//    rectangles the faces show, embedded as PNG with the colour key
//    transparent) and the flat faces, each set a primitive of its own;
//  - every animation of the object that can be played as stored, as a glTF
//    animation: each mesh's rotation and the root's translation at each key
//    frame, the game's frames at 30 a second.
// Meshes that cannot be decoded keep their node without a mesh; animations
// that cannot be played are left out; both, and what DrawObject found, are
// told in `notes`. Fails with the finding when the object cannot be
// assembled (not a moveable, no meshes). Throws WadError kOutOfMemory when
// the atlas cannot be encoded.
std::variant<GltfExport, Finding> ExportObjectGltf(const WadDocument& document, std::size_t moveableIndex,
                                                   GltfContainer container, std::string_view name);

// Static mesh `staticIndex` as a glTF 2.0 scene named `name`: its one mesh
// as one node, axes and scale as for an object, no animations. Fails with a
// finding about the StaticMeshes record when the index is not a static mesh,
// its mesh position lies outside MeshPointers or its mesh cannot be decoded.
// Throws WadError kOutOfMemory when the atlas cannot be encoded.
std::variant<GltfExport, Finding> ExportStaticGltf(const WadDocument& document, std::size_t staticIndex,
                                                   GltfContainer container, std::string_view name);

}  // namespace tarnlow
