#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <variant>
#include <vector>

#include "anim/anim_commands.h"
#include "anim/finding.h"
#include "wad/wad_document.h"

namespace tarnlow {

// What a moveable keeps in its 6 Unknown3 bytes: the byte offset in Frames
// of its first animation's frames (32 bits), then the index of its first
// animation (16 bits; -1 for an object without animations). Every moveable
// of the five real WADs we looked at agrees with this: the offset equals
// the FrameOffset of the animation the index names.
struct MoveableAnimationRef {
  std::int32_t frameOffset = 0;
  std::int16_t firstAnimation = -1;
  friend bool operator==(const MoveableAnimationRef&, const MoveableAnimationRef&) = default;
};
MoveableAnimationRef ReadAnimationRef(const MoveableRecord& moveable);
// The 6 bytes that hold `ref`, for builders of WADs.
std::array<std::uint8_t, 6> WriteAnimationRef(MoveableAnimationRef ref);

// The animations of a moveable: from its first animation up to (not
// including) the first animation of the next moveable that has any, or to
// the end of Animations for the last one. Empty (first == end) for a
// moveable without animations, or when the range cannot be made out.
struct AnimationRange {
  std::int64_t first = 0;
  std::int64_t end = 0;
  friend bool operator==(const AnimationRange&, const AnimationRange&) = default;
};
// The range, and a finding when the moveable's first animation lies outside
// Animations or after the next moveable's (the range is then empty).
// Returns an empty range and no finding for an index that is not a moveable.
AnimationRange ObjectAnimationRange(const WadDocument& document, std::size_t moveableIndex,
                                    std::optional<Finding>* problem = nullptr);

// A dispatch: while the animation plays frames low to high, a request for
// the state change's state sends it to `nextAnimation` at `nextFrame`.
struct DispatchEdge {
  std::int64_t index = 0;  // in AnimDispatches
  std::int16_t low = 0, high = 0;
  std::int64_t nextAnimation = 0;
  std::int16_t nextFrame = 0;
  bool targetExists = false;  // nextAnimation lies inside Animations
};

// A state change: a state the object can be asked for, and where each of
// its dispatches leads.
struct StateChangeEdge {
  std::int64_t index = 0;  // in StateChanges
  std::int16_t stateId = 0;
  std::vector<DispatchEdge> dispatches;
};

// One animation of a moveable and where it can lead.
struct AnimationNode {
  std::int64_t index = 0;  // in Animations
  AnimationRecord record;
  int frameCount = 0;      // FrameEnd - FrameStart + 1
  int keyFrameCount = 0;   // 0 when FrameRate or the frame range is unusable
  int frameRate = 0;       // frames between two key frames
  std::int64_t nextAnimation = 0;
  std::int16_t nextFrame = 0;
  bool nextInObject = false;  // the next animation is one of this moveable's
  std::vector<StateChangeEdge> stateChanges;
  std::vector<AnimCommand> commands;
};

// A moveable's animations with their transitions, and what was wrong on the
// way (references that leave their arrays are left out of the edges and
// told here).
struct AnimationGraph {
  std::size_t moveable = 0;
  MoveableAnimationRef ref;
  AnimationRange range;
  std::vector<AnimationNode> animations;
  std::vector<Finding> problems;
};

// The animation graph of moveable `moveableIndex`. Fails (with a finding
// about the Moveables section) only when the index is not a moveable.
std::variant<AnimationGraph, Finding> BuildAnimationGraph(const WadDocument& document, std::size_t moveableIndex);

// Where playback stands: an animation (an index into Animations) and a
// frame within it, 0 being its first.
struct PlayPosition {
  std::int64_t animation = 0;
  double frame = 0;
  friend bool operator==(const PlayPosition&, const PlayPosition&) = default;
};

// Plays on from `at` by `frames` frames (0 or more). A frame between an
// animation's last and the next stays in the animation (its last key frame
// holds); a whole frame past its last, playback goes on in its
// NextAnimation at NextFrame, as the game does when no other state is asked
// for. Fails with a finding when an
// animation on the way does not exist or has no frames, when NextFrame is
// not one of its next animation's frames, or after 10000 animations without
// getting there.
std::variant<PlayPosition, Finding> PlayOn(const WadDocument& document, PlayPosition at, double frames);

}  // namespace tarnlow
