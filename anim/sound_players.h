#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <vector>

#include "wad/wad_document.h"

namespace tarnlow {

// One Play Sound command of an object's animation.
struct SoundPlayer {
  std::size_t moveable = 0;    // the object, by its place in Moveables
  std::int64_t animation = 0;  // WAD-wide index in Animations
  int frame = 0;               // the frame the command names, as FrameStart counts
  std::int16_t value = 0;      // the command's value word: slot and condition (PlayedSoundOf)
  friend bool operator==(const SoundPlayer&, const SoundPlayer&) = default;
};

// Every Play Sound of every object's animations, by the slot it plays, in
// object, animation and command order. Commands that cannot be decoded are
// left out (the check says why). Never fails.
std::map<int, std::vector<SoundPlayer>> FindSoundPlayers(const WadDocument& document);

}  // namespace tarnlow
