#pragma once

#include <string>
#include <string_view>

#include "wad/mesh_record.h"

namespace tarnlow {

// One decoded mesh as Wavefront OBJ text, for 3D tools that cannot read a
// WAD.
//
// Comment lines first name the mesh (`title`, e.g. "LARA, mesh 03, pointer
// 40") and give its centre and collision size. Then "v X Y Z" for every
// vertex, coordinates as stored (the game's Y axis points down); "vn X Y Z"
// for every normal when the mesh has normals (NumNormals > 0), components as
// stored; shades are not normals and are listed in a comment. Then one "f"
// line per triangle or quad with 1-based indices, written "f a//a b//b ..."
// when there is exactly one normal per vertex and plain "f a b c" otherwise.
// A face of an unknown type, or one naming a vertex outside the vertex list,
// is left out and a comment line says which and why. Never fails.
std::string MeshToObj(const MeshRecord& mesh, std::string_view title);

}  // namespace tarnlow
