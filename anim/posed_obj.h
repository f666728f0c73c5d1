#pragma once

#include <string>
#include <string_view>

#include "anim/pose.h"
#include "wad/wad_document.h"

namespace tarnlow {

// A posed object as Wavefront OBJ text: one "o" group per mesh ("o
// mesh_03"), its vertices moved to where the pose puts them (WAD units and
// axes, Y down), its normals turned with it, its triangles and quads. A
// dummy mesh (pointer 0) is the mesh at offset 0 and is written with a
// comment that says so; a mesh that cannot be decoded or lies outside
// MeshPointers is left out with a comment saying why, and so is a face that
// names a missing vertex. The header comment gives the box stored in the
// key frame (when the pose has an animation) and the box of the vertices
// written. Never fails.
std::string PosedObjectToObj(const WadDocument& document, const ObjectPose& pose, std::string_view title);

}  // namespace tarnlow
