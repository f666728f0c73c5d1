#pragma once

#include <cstdint>
#include <string>

#include "sound/sound_table.h"

namespace tarnlow {

// Where a Play Sound (or Flip Effect) command may happen: the top two bits
// of its value word.
enum class SoundCondition { Anywhere = 0, OnLand = 1, InWater = 2, Both = 3 };

// The slot and condition a Play Sound command's value word carries: slot =
// value & 0x3FFF, 0x4000 on land only, 0x8000 in water only.
struct PlayedSound {
  int slot = 0;
  SoundCondition condition = SoundCondition::Anywhere;
};

inline PlayedSound PlayedSoundOf(std::int16_t value) {
  const auto bits = static_cast<std::uint16_t>(value);
  return PlayedSound{bits & 0x3FFF, static_cast<SoundCondition>(bits >> 14)};
}

// ", on land only", ", in water only", ", condition bits 0xC000", or empty.
const char* ConditionText(SoundCondition condition);

// What a Play Sound's value word plays, as a person reads it. Without a
// table: "sound 12, on land only". With one: "slot 0 (foot01.wav ...
// foot04.wav, 4 samples), on land only", or "slot 3: silent, not in the
// WAD's sound table" when the table does not define the slot. Never fails.
std::string DescribePlayedSound(std::int16_t value, const SoundTable* table);

}  // namespace tarnlow
