#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "wad/wad_records.h"

namespace tarnlow::sample {

// One entry of a mesh tree: the flag bits (1 pop, 2 push) and the offset
// from the parent mesh.
struct TreeEntry {
  std::int32_t flags = 0;
  std::int32_t x = 0, y = 0, z = 0;
};

// A key frame as the sample's objects are written: where the root stands,
// and each mesh's turn in degrees about X, Y and Z. A mesh turned about one
// axis only is stored in one word, any other turn in two.
struct KeyPose {
  std::array<int, 3> root{};
  std::vector<std::array<double, 3>> degrees;
};

// A dispatch of a state change: frames `low` to `high` of this animation
// (counted from its first frame) lead to frame `frame` of the object's
// animation `animation` (counted from the object's first).
struct DispatchPlan {
  int low = 0, high = 0;
  int animation = 0;
  int frame = 0;
};

struct StateChangePlan {
  std::int16_t state = 0;
  std::vector<DispatchPlan> dispatches;
};

// A command; for PlaySound and FlipEffect the first operand is a frame of
// this animation counted from its first frame.
struct CommandPlan {
  std::int16_t type = 0;
  std::vector<std::int16_t> operands;
};

struct AnimationPlan {
  std::int16_t state = 0;
  int frames = 1;  // frames the animation plays
  int rate = 1;    // frames from one key frame to the next
  std::function<KeyPose(int key, int keys)> pose;
  int next = 0;       // the object's animation that follows, from the object's first
  int nextFrame = 0;  // counted from that animation's first frame
  std::vector<StateChangePlan> stateChanges;
  std::vector<CommandPlan> commands;
};

// The animation sections being written, object by object. Frame numbers
// run on through an object's animations and start again at 0 for the next
// object, as in the level editor's files.
class MotionWriter {
 public:
  // Appends an object's mesh tree (one entry per mesh after the first) and
  // animations; returns the MeshTree index and the 6 Unknown3 bytes (frame
  // offset and first animation, -1 for none).
  struct Placed {
    std::int32_t meshTree = 0;
    std::array<std::uint8_t, 6> unknown3{};
  };
  Placed addObject(int meshCount, const std::vector<TreeEntry>& tree, const std::vector<AnimationPlan>& animations);

  std::vector<AnimationRecord> animations;
  std::vector<StateChangeRecord> stateChanges;
  std::vector<AnimDispatchRecord> dispatches;
  std::vector<std::int16_t> commands;
  std::vector<std::int32_t> meshTrees;
  std::vector<std::int16_t> frames;
};

}  // namespace tarnlow::sample

namespace tarnlow::sample {

// The sample's objects in motion: each one's mesh tree and animations.
// LARA: hips, left leg (thigh, shin, foot), right leg, torso, right arm
// (upper arm, forearm, hand), left arm, head; she stands, walks, runs and
// jumps, and can go from each to the others.
std::vector<TreeEntry> LaraTree();
std::vector<AnimationPlan> LaraAnimations();
// BADDY_1: a body on two legs, a placeholder and a dummy on top; idles,
// walks, attacks and dies.
std::vector<TreeEntry> BaddyTree();
std::vector<AnimationPlan> BaddyAnimations();
// BAT: a body and two wings that flap.
std::vector<TreeEntry> BatTree();
std::vector<AnimationPlan> BatAnimations();
// ANIMATING1: a tilted placeholder with a disc spinning above it.
std::vector<TreeEntry> SpinnerTree();
std::vector<AnimationPlan> SpinnerAnimations();

}  // namespace tarnlow::sample
