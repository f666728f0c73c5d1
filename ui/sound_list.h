#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "anim/finding.h"
#include "sound/sound_table.h"
#include "wad/object_names.h"
#include "wad/wad_document.h"

namespace tarnlow::ui {

class Platform;

// One Play Sound command of an object's animation, as the Sounds list shows
// it: `finding` points the object view at the animation and frame (as a
// check finding does), `text` says which it is.
struct SoundUse {
  Finding finding;
  std::string text;  // "LARA (object 0), animation 5 (Animations 448): PlaySound at frame 12: ..."
};

// One defined slot: its columns in the Sounds list, and every animation
// command that plays it, in object and animation order.
struct SoundListRow {
  int slot = 0;
  // Slot, samples, volume, range, chance, pitch, loop mode, played by.
  std::vector<std::string> cells;
  std::vector<SoundUse> uses;
};

// The column titles of SoundListRow::cells.
std::vector<std::string> SoundListColumns();

// One row per slot `table` defines, in slot order. The last column names
// the objects whose animations play the slot, or says "played by no
// animation" (the game plays many slots from its own code). Commands that
// cannot be decoded are left out, as the check reports them. Never fails.
std::vector<SoundListRow> SoundListRows(const SoundTable& table, const WadDocument& document,
                                        const ObjectNameTables& names);

// Plays sample number `choice` of `slot` (taken modulo its sample count)
// from `folder` through `platform`, the file found in any letter case.
// When nothing can be played (no folder, a slot without samples, a missing
// or unplayable file), says why in a message box, naming the file, and
// returns false.
bool PlaySlotSample(Platform& platform, const SoundSlot& slot, std::size_t choice,
                    const std::optional<std::filesystem::path>& folder);

}  // namespace tarnlow::ui
