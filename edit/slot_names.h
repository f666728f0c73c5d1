#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
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

// What a choice of an object or a static mesh picks from `document`'s list
// (the command line's --object and --static, a merge's choices): a whole
// decimal number is a place in the list; anything else is the slot name the
// lists show (SlotName), in any letter case, as names are typed on Windows.
struct ListChoice {
  std::optional<std::size_t> place;  // the place picked, if any
  bool byPlace = false;              // a number was given: with no place, it is past the end
  std::vector<std::size_t> sharing;  // a name that several places share (a hand-merged WAD): those places
};
// Never fails: what it cannot pick it says in ListChoice.
ListChoice ChooseInList(const WadDocument& document, const ObjectNameTables* names, bool isStatic,
                        std::string_view given);

// The slots of `slot`'s family in ascending slot order: every slot whose name
// is the same stem followed only by digits (PLANT0 ... PLANT9, ANIMATING1 ...
// ANIMATING16). Just `slot` when its name ends in no digits or there is no
// table.
std::vector<std::int32_t> SlotFamily(const ObjectNameTables* names, bool isStatic, std::int32_t slot);

}  // namespace tarnlow
