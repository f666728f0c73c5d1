#pragma once

#include <string>
#include <vector>

#include "content/wad_diff.h"
#include "wad/object_names.h"

namespace tarnlow {

// The name the name file gives moveable slot `slot` ("BADDY_1"), empty for
// one it leaves unnamed; likewise for a static slot.
std::string MoveableSlotName(const ObjectNameTables& names, std::int32_t slot);
std::string StaticSlotName(const ObjectNameTables& names, std::int32_t slot);

// The diff as lines for a person, the same in the window and on the command
// line: one heading line per kind ("objects: 1 added, 2 changed", or
// "objects: the same"), then one indented line per object added ("+"),
// removed ("-") or changed ("~", with each part that differs and where it
// first does); the sprite lines only when sprites were compared. Never
// fails.
std::vector<std::string> DiffLines(const WadDiff& diff, const ObjectNameTables& names);

}  // namespace tarnlow
