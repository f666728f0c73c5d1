#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "anim/finding.h"
#include "wad/wad_document.h"

namespace tarnlow {

struct SoundTable;

// The command types an animation can carry, each a type word followed by
// its operand words.
enum AnimCommandType : std::int16_t {
  kSetPosition = 1,   // x, y, z: move the object at the end of the animation
  kJumpDistance = 2,  // vertical, horizontal speed at the end of the animation
  kEmptyHands = 3,    // no operands
  kKillEntity = 4,    // no operands
  kPlaySound = 5,     // frame, sound id (top bits: 0x4000 on land only, 0x8000 in water only)
  kFlipEffect = 6,    // frame, effect id (same top bits)
};

// Operand words of a command type; -1 for a type outside 1 to 6, whose
// length nobody knows, so that nothing after it can be read.
int AnimCommandOperandCount(std::int16_t type);

// One decoded command.
struct AnimCommand {
  std::int64_t word = 0;  // AnimCommands index of its type word
  std::int16_t type = 0;
  std::vector<std::int16_t> operands;
  std::string text;       // "PlaySound at frame 9: sound 12, on land only"
  friend bool operator==(const AnimCommand&, const AnimCommand&) = default;
};

// A command as a person reads it, a Play Sound named by its slot and samples
// when `sounds` is given (see DescribePlayedSound). Pure.
std::string DescribeAnimCommand(std::int16_t type, const std::vector<std::int16_t>& operands,
                                const SoundTable* sounds = nullptr);

// The AnimCommandCount commands of animation `animationIndex`, read from
// AnimCommands word AnimCommands on. Stops with a finding in `problems` at a
// negative count or start, an unknown type, or a command whose words leave
// AnimCommands; the commands before it are returned. Nothing (and no
// finding) when the index is not an animation. Play Sounds are described
// with `sounds` when it is given.
std::vector<AnimCommand> DecodeAnimCommands(const WadDocument& document, std::int64_t animationIndex,
                                            std::vector<Finding>& problems, const SoundTable* sounds = nullptr);

}  // namespace tarnlow
