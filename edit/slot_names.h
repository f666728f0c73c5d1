#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "wad/object_names.h"
#include "wad/wad_document.h"

namespace tarnlow {

// The slot a moveable or static fills: its ObjectID.
std::int32_t SlotOf(const WadDocument& document, bool isStatic, std::size_t position);

// The name the name table gives a slot ("ANIMATING3", "PLANT0"), or
// "slot N" / "static N" when it names none or there is no table.
std::string SlotName(const ObjectNameTables* names, bool isStatic, std::int32_t slot);

// The slot a name stands for, letter case ignored; nothing when the table
// names no such slot.
std::optional<std::int32_t> SlotNamed(const ObjectNameTables* names, bool isStatic, const std::string& name);

// The position in `document`'s object (or static) list that `choice` names:
// a decimal position, else the slot name as the list shows it (the first
// object in that slot). Nothing when it names none.
std::optional<std::size_t> PositionNamed(const WadDocument& document, const ObjectNameTables* names, bool isStatic,
                                         const std::string& choice);

// The slots of `slot`'s family in ascending slot order: every slot whose name
// is the same stem followed only by digits (PLANT0 ... PLANT9, ANIMATING1 ...
// ANIMATING16). Just `slot` when its name ends in no digits or there is no
// table.
std::vector<std::int32_t> SlotFamily(const ObjectNameTables* names, bool isStatic, std::int32_t slot);

}  // namespace tarnlow
