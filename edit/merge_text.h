#pragma once

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "edit/merge.h"

namespace tarnlow {

// What a moved object brings, in one line, as the Merge dialog and the
// command line say it: "3 meshes (1 shared), 5 animations, 12 texture
// rectangles (4 shared), 2 sounds (1 added), 1 conflict". Never fails.
std::string BringsText(const MovedObject& moved);

// Carried findings by the WAD they came from, in the order the WADs first
// come, each WAD's in check's order. Never fails.
std::vector<std::pair<std::filesystem::path, std::vector<Finding>>> CarriedBySource(
    const std::vector<CarriedFinding>& carried);

// Whether a sound comes in against another definition of its slot.
bool IsConflict(const MergeSound& sound);

}  // namespace tarnlow
