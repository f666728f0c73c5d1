#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "anim/finding.h"
#include "wad/wad_document.h"

namespace tarnlow {

// Tests every cross-reference of a WAD and returns what is wrong, in
// section order (moveables, animations, state changes, dispatches, mesh
// pointers, static meshes, texture-info records), one finding per fault:
//  - moveables: mesh pointers (StartingMesh + NumMeshes), mesh-tree entries,
//    first animation and frame offset (Unknown3);
//  - animations: frames (FrameOffset, FrameSize, key frames inside Frames
//    and decodable), state changes, commands, next animation and frame;
//  - state changes: dispatches; dispatches: their animation and frame
//    ranges;
//  - mesh pointers: inside MeshData, and a decodable mesh there;
//  - static meshes: their mesh pointer;
//  - texture-info records: their texture page.
// Findings about one moveable or its animations carry its index. Never
// fails; an empty result means every reference holds.
std::vector<Finding> CheckWad(const WadDocument& document);

// Counts by severity.
struct CheckCounts {
  std::size_t errors = 0;
  std::size_t warnings = 0;
  std::size_t notes = 0;
};
CheckCounts CountFindings(const std::vector<Finding>& findings);

// "3 errors, 1 warning, 0 notes" or "no problems found".
std::string CheckSummaryLine(const CheckCounts& counts);

}  // namespace tarnlow
