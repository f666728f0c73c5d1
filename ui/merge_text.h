#pragma once

#include <string>
#include <vector>

#include "edit/merge.h"
#include "edit/merge_text.h"

namespace tarnlow::ui {

// Where a moved object goes, as its line in the Merge dialog says it:
// "ANIMATING2", "LARA_SKIN, replacing the open WAD's".
std::string GoesToText(const MovedObject& moved);

// What a moved object brings beyond the counts, one line each: the
// animations that lead into other objects and whether the result keeps
// them, each sound slot it plays and how it comes in, conflicts first.
std::vector<std::string> BringsDetail(const MovedObject& moved);

// How many findings of the result's check each source WAD brought: "84
// findings of the check are carried from KurtisBaddy.wad and 1 from
// doors.wad, where the objects taken already had them." Empty for none.
std::string CarriedText(const std::vector<CarriedFinding>& carried);

}  // namespace tarnlow::ui
