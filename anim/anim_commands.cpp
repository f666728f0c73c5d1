#include "anim/anim_commands.h"

#include <string>

#include "anim/key_frame.h"
#include "sound/play_sound.h"

namespace tarnlow {

namespace {

// Effects carry where they may happen in the top two bits of their id
// word, as sounds do.
std::string effectText(std::int16_t idWord) {
  const PlayedSound effect = PlayedSoundOf(idWord);
  return "effect " + std::to_string(effect.slot) + ConditionText(effect.condition);
}

const char* commandName(std::int16_t type) {
  switch (type) {
    case kSetPosition:
      return "SetPosition";
    case kJumpDistance:
      return "JumpDistance";
    case kEmptyHands:
      return "EmptyHands";
    case kKillEntity:
      return "KillEntity";
    case kPlaySound:
      return "PlaySound";
    case kFlipEffect:
      return "FlipEffect";
    default:
      return "unknown";
  }
}

Finding commandProblem(std::int64_t animation, std::string problem, std::string target) {
  return Finding{Severity::Error, "Animations", animation, std::move(problem), std::move(target), std::nullopt};
}

}  // namespace

int AnimCommandOperandCount(std::int16_t type) {
  switch (type) {
    case kSetPosition:
      return 3;
    case kJumpDistance:
    case kPlaySound:
    case kFlipEffect:
      return 2;
    case kEmptyHands:
    case kKillEntity:
      return 0;
    default:
      return -1;
  }
}

std::string DescribeAnimCommand(std::int16_t type, const std::vector<std::int16_t>& operands, const SoundTable* sounds) {
  const auto operand = [&](std::size_t i) { return i < operands.size() ? operands[i] : std::int16_t{0}; };
  switch (type) {
    case kSetPosition:
      return "SetPosition " + std::to_string(operand(0)) + " " + std::to_string(operand(1)) + " " +
             std::to_string(operand(2));
    case kJumpDistance:
      return "JumpDistance vertical " + std::to_string(operand(0)) + ", horizontal " + std::to_string(operand(1));
    case kEmptyHands:
      return "EmptyHands";
    case kKillEntity:
      return "KillEntity";
    case kPlaySound:
      return "PlaySound at frame " + std::to_string(FrameNumber(operand(0))) + ": " + DescribePlayedSound(operand(1), sounds);
    case kFlipEffect:
      return "FlipEffect at frame " + std::to_string(FrameNumber(operand(0))) + ": " + effectText(operand(1));
    default:
      return "unknown command " + std::to_string(type);
  }
}

std::vector<AnimCommand> DecodeAnimCommands(const WadDocument& document, std::int64_t animationIndex,
                                            std::vector<Finding>& problems, const SoundTable* sounds) {
  std::vector<AnimCommand> commands;
  if (animationIndex < 0 || static_cast<std::uint64_t>(animationIndex) >= document.Animations.size()) return commands;
  const AnimationRecord a = document.Animations[static_cast<std::size_t>(animationIndex)];
  if (a.AnimCommandCount == 0) return commands;
  const std::size_t words = document.AnimCommands.size();
  if (a.AnimCommandCount < 0 || a.AnimCommands < 0) {
    problems.push_back(commandProblem(animationIndex,
                                      "AnimCommandCount " + std::to_string(a.AnimCommandCount) + " from word " +
                                          std::to_string(a.AnimCommands) + " is negative",
                                      "AnimCommands " + std::to_string(a.AnimCommands)));
    return commands;
  }
  auto at = static_cast<std::size_t>(a.AnimCommands);
  commands.reserve(static_cast<std::size_t>(a.AnimCommandCount));
  for (int c = 0; c < a.AnimCommandCount; ++c) {
    // Made only for a problem: thousands of commands are read without one.
    const auto which = [&] { return "command " + std::to_string(c) + " of " + std::to_string(a.AnimCommandCount); };
    if (at >= words) {
      problems.push_back(commandProblem(animationIndex,
                                        which() + " starts at word " + std::to_string(at) + ", outside the " +
                                            std::to_string(words) + " AnimCommands words",
                                        "AnimCommands " + std::to_string(at)));
      break;
    }
    AnimCommand command;
    command.word = static_cast<std::int64_t>(at);
    command.type = document.AnimCommands[at];
    const int operands = AnimCommandOperandCount(command.type);
    if (operands < 0) {
      problems.push_back(commandProblem(animationIndex,
                                        which() + " has the unknown type " + std::to_string(command.type) +
                                            "; its length, and so the commands after it, cannot be read",
                                        "AnimCommands " + std::to_string(at)));
      break;
    }
    if (at + 1 + static_cast<std::size_t>(operands) > words) {
      problems.push_back(commandProblem(animationIndex,
                                        which() + " (" + commandName(command.type) + ") needs " +
                                            std::to_string(operands) + " operand words after word " +
                                            std::to_string(at) + ", past the " + std::to_string(words) +
                                            " AnimCommands words",
                                        "AnimCommands " + std::to_string(words)));
      break;
    }
    for (int i = 0; i < operands; ++i) command.operands.push_back(document.AnimCommands[at + 1 + static_cast<std::size_t>(i)]);
    command.text = DescribeAnimCommand(command.type, command.operands, sounds);
    at += 1 + static_cast<std::size_t>(operands);
    commands.push_back(std::move(command));
  }
  return commands;
}

}  // namespace tarnlow
