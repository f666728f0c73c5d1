#pragma once

#include <cstddef>
#include <string>

#include "wad/object_names.h"
#include "wad/wad_document.h"

namespace tarnlow {

// How every view calls an object: its slot name and its place in the object
// list, "CROSSBOW_ANIM (object 4)", or "object 4" when the name file names
// no such slot. `names` may be null. Never fails.
std::string ObjectTitle(const WadDocument& document, const ObjectNameTables* names, std::size_t moveable);

// How every view calls a static mesh: its slot name, its place in the static
// list and its slot ID, "ROCK0 (static mesh 8, slot 20)", or "static mesh 8
// (slot 20)" when the name file names no such slot; "static mesh 8" when the
// WAD has no such static mesh. `names` may be null. Never fails.
std::string StaticMeshTitle(const WadDocument& document, const ObjectNameTables* names, std::size_t index);

}  // namespace tarnlow
