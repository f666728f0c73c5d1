#include "sound/play_sound.h"

namespace tarnlow {

const char* ConditionText(SoundCondition condition) {
  switch (condition) {
    case SoundCondition::OnLand:
      return ", on land only";
    case SoundCondition::InWater:
      return ", in water only";
    case SoundCondition::Both:
      return ", condition bits 0xC000";
    case SoundCondition::Anywhere:
      break;
  }
  return "";
}

std::string DescribePlayedSound(std::int16_t value, const SoundTable* table) {
  const PlayedSound played = PlayedSoundOf(value);
  const std::string slot = std::to_string(played.slot);
  std::string text;
  if (table == nullptr) {
    text = "sound " + slot;
  } else if (const SoundSlot* sound = table->find(played.slot); sound == nullptr) {
    text = "slot " + slot + ": silent, not in the WAD's sound table";
  } else if (sound->samples.empty()) {
    text = "slot " + slot + " (no samples)";
  } else if (sound->samples.size() == 1) {
    text = "slot " + slot + " (" + sound->samples.front() + ")";
  } else {
    text = "slot " + slot + " (" + sound->samples.front() + " ... " + sound->samples.back() + ", " +
           std::to_string(sound->samples.size()) + " samples)";
  }
  return text + ConditionText(played.condition);
}

}  // namespace tarnlow
