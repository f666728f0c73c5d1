// The choreography of the sample's objects: key poses made from a few
// sines, so that the sample plays smooth loops and stays the same bytes on
// every run.

#include <cmath>
#include <numbers>

#include "anim/anim_commands.h"
#include "data/sample_motion.h"

namespace tarnlow::sample {

namespace {

constexpr double kPi = std::numbers::pi;

// Sound and effect ids carry where they may happen in their top bits.
constexpr std::int16_t kOnLand = 0x4000;

// The phase of key `key` in a loop of `frames` frames with a key every
// `rate` frames: the last key comes round to the first.
double phase(int key, int rate, int frames) { return 2 * kPi * key * rate / frames; }

// Rounded to whole degrees, so that the stored angles do not depend on the
// last bit of a sine.
double deg(double v) { return std::round(v); }

// LARA's meshes by name.
enum Lara { kHips, kLThigh, kLShin, kLFoot, kRThigh, kRShin, kRFoot, kTorso, kRUpper, kRFore, kRHand, kLUpper, kLFore, kLHand, kHead, kLaraMeshes };

constexpr int kLaraStand = 0, kLaraWalk = 1, kLaraRun = 2, kLaraJump = 3;
constexpr int kHipHeight = -405;

KeyPose laraPose() {
  KeyPose p;
  p.root = {0, kHipHeight, 0};
  p.degrees.assign(kLaraMeshes, {0, 0, 0});
  return p;
}

// Legs and arms swinging in opposition: `swing` degrees at the thighs,
// knees bending by up to `knee`, arms swinging by `arm` with elbows bent by
// `elbow`.
KeyPose stride(double a, double swing, double knee, double arm, double elbow, double lean, int bob) {
  KeyPose p = laraPose();
  const double s = std::sin(a), c = std::cos(a);
  p.root[1] = kHipHeight - static_cast<int>(std::lround(bob * std::abs(s)));
  p.degrees[kHips] = {0, deg(-6 * s), 0};
  p.degrees[kLThigh] = {deg(swing * s), 0, 0};
  p.degrees[kRThigh] = {deg(-swing * s), 0, 0};
  p.degrees[kLShin] = {deg(-knee * (1 + c) / 2), 0, 0};
  p.degrees[kRShin] = {deg(-knee * (1 - c) / 2), 0, 0};
  p.degrees[kLFoot] = {deg(8 * s), 0, 0};
  p.degrees[kRFoot] = {deg(-8 * s), 0, 0};
  p.degrees[kTorso] = {lean, deg(6 * s), 0};
  p.degrees[kRUpper] = {deg(arm * s), 0, 4};
  p.degrees[kLUpper] = {deg(-arm * s), 0, -4};
  p.degrees[kRFore] = {elbow, 0, 0};
  p.degrees[kLFore] = {elbow, 0, 0};
  p.degrees[kHead] = {deg(-lean / 2), 0, 0};
  return p;
}

}  // namespace

std::vector<TreeEntry> LaraTree() {
  return {{2, 50, 30, 0},   {0, 0, 180, 0}, {0, 0, 170, 0},    // left leg, from the hips
          {3, -50, 30, 0},  {0, 0, 180, 0}, {0, 0, 170, 0},    // right leg, from the hips
          {1, 0, -40, 0},                                       // torso, on the hips
          {2, -112, -200, 0}, {0, 0, 150, 0}, {0, 0, 140, 0},  // right arm, from the torso
          {3, 112, -200, 0},  {0, 0, 150, 0}, {0, 0, 140, 0},  // left arm, from the torso
          {1, 0, -220, 0}};                                     // head, on the torso
}

std::vector<AnimationPlan> LaraAnimations() {
  AnimationPlan stand;
  stand.state = 2;
  stand.frames = 30;
  stand.rate = 10;
  stand.pose = [](int key, int) {
    KeyPose p = laraPose();
    const double breath = std::sin(phase(key, 10, 30));
    p.degrees[kTorso] = {deg(2 + 2 * breath), 0, 0};
    p.degrees[kHead] = {deg(-2 * breath), 0, 0};
    p.degrees[kRUpper] = {0, 0, 6};
    p.degrees[kLUpper] = {0, 0, -6};
    p.degrees[kRFore] = {deg(6 + 2 * breath), 0, 0};
    p.degrees[kLFore] = {deg(6 + 2 * breath), 0, 0};
    return p;
  };
  stand.next = kLaraStand;
  stand.stateChanges = {{0, {{0, 29, kLaraWalk, 0}}}, {1, {{0, 29, kLaraRun, 0}}}, {3, {{0, 29, kLaraJump, 0}}}};

  AnimationPlan walk;
  walk.state = 0;
  walk.frames = 40;
  walk.rate = 5;
  walk.pose = [](int key, int) { return stride(phase(key, 5, 40), 25, 30, 20, 10, 4, 10); };
  walk.next = kLaraWalk;
  walk.stateChanges = {{2, {{0, 39, kLaraStand, 0}}}, {1, {{0, 19, kLaraRun, 0}, {20, 39, kLaraRun, 11}}}};
  walk.commands = {{kPlaySound, {0, kOnLand}}, {kPlaySound, {20, kOnLand}}};

  AnimationPlan run;
  run.state = 1;
  run.frames = 22;
  run.rate = 2;
  run.pose = [](int key, int) { return stride(phase(key, 2, 22), 45, 70, 35, 60, 12, 30); };
  run.next = kLaraRun;
  run.stateChanges = {{2, {{0, 21, kLaraStand, 0}}},
                      {0, {{0, 10, kLaraWalk, 0}, {11, 21, kLaraWalk, 20}}},
                      {3, {{0, 21, kLaraJump, 0}}}};
  run.commands = {{kPlaySound, {0, kOnLand | 1}}, {kPlaySound, {11, kOnLand | 1}}, {kFlipEffect, {11, kOnLand | 32}}};

  AnimationPlan jump;
  jump.state = 3;
  jump.frames = 20;
  jump.rate = 4;
  jump.pose = [](int key, int keys) {
    KeyPose p = laraPose();
    const double up = std::sin(kPi * key / (keys - 1));
    p.root[1] = kHipHeight - static_cast<int>(std::lround(150 * up));
    p.degrees[kLThigh] = {deg(40 * up), 0, 0};
    p.degrees[kRThigh] = {deg(40 * up), 0, 0};
    p.degrees[kLShin] = {deg(-60 * up), 0, 0};
    p.degrees[kRShin] = {deg(-60 * up), 0, 0};
    // Arms up and out: a turn about two axes, stored in two words.
    p.degrees[kRUpper] = {deg(150 * up), 0, deg(10 + 15 * up)};
    p.degrees[kLUpper] = {deg(150 * up), 0, deg(-10 - 15 * up)};
    p.degrees[kTorso] = {deg(-8 * up), 0, 0};
    return p;
  };
  jump.next = kLaraStand;
  jump.commands = {{kEmptyHands, {}}, {kJumpDistance, {-60, 40}}, {kPlaySound, {0, 30}}};
  return {stand, walk, run, jump};
}

std::vector<TreeEntry> BaddyTree() {
  return {{2, -60, 0, 0}, {3, 60, 0, 0}, {1, 0, -256, 0}, {0, 0, -60, 0}};
}

std::vector<AnimationPlan> BaddyAnimations() {
  constexpr int kIdle = 0, kWalk = 1, kAttack = 2, kDeath = 3;
  const auto still = [] {
    KeyPose p;
    p.root = {0, -300, 0};
    p.degrees.assign(5, {0, 0, 0});
    return p;
  };
  AnimationPlan idle;
  idle.state = 1;
  idle.frames = 20;
  idle.rate = 5;
  idle.pose = [still](int key, int) {
    KeyPose p = still();
    p.degrees[0] = {0, deg(10 * std::sin(phase(key, 5, 20))), 0};
    return p;
  };
  idle.next = kIdle;
  idle.stateChanges = {{2, {{0, 19, kWalk, 0}}}, {3, {{0, 19, kAttack, 0}}}, {4, {{0, 19, kDeath, 0}}}};

  AnimationPlan walk;
  walk.state = 2;
  walk.frames = 32;
  walk.rate = 4;
  walk.pose = [still](int key, int) {
    KeyPose p = still();
    const double s = std::sin(phase(key, 4, 32));
    p.degrees[1] = {deg(30 * s), 0, 0};
    p.degrees[2] = {deg(-30 * s), 0, 0};
    return p;
  };
  walk.next = kWalk;
  walk.stateChanges = {{1, {{0, 31, kIdle, 0}}}, {4, {{0, 31, kDeath, 0}}}};
  walk.commands = {{kPlaySound, {0, kOnLand | 70}}, {kPlaySound, {16, kOnLand | 70}}};

  AnimationPlan attack;
  attack.state = 3;
  attack.frames = 16;
  attack.rate = 3;
  attack.pose = [still](int key, int keys) {
    KeyPose p = still();
    const double lunge = std::sin(kPi * key / (keys - 1));
    p.degrees[0] = {deg(30 * lunge), deg(-20 * lunge), 0};
    return p;
  };
  attack.next = kIdle;
  attack.commands = {{kPlaySound, {5, 71}}, {kFlipEffect, {8, 2}}};

  AnimationPlan death;
  death.state = 4;
  death.frames = 16;
  death.rate = 4;
  death.pose = [still](int key, int keys) {
    KeyPose p = still();
    const double fall = static_cast<double>(key) / (keys - 1);
    p.root[1] = -300 + static_cast<int>(std::lround(260 * fall));
    p.degrees[0] = {deg(-90 * fall), 0, 0};
    return p;
  };
  death.next = kDeath;
  death.nextFrame = 15;
  death.commands = {{kSetPosition, {0, 0, 128}}, {kKillEntity, {}}};
  return {idle, walk, attack, death};
}

std::vector<TreeEntry> BatTree() { return {{2, -100, -50, 0}, {1, 100, -50, 0}}; }

std::vector<AnimationPlan> BatAnimations() {
  AnimationPlan fly;
  fly.state = 1;
  fly.frames = 12;
  fly.rate = 2;
  fly.pose = [](int key, int) {
    const double s = std::sin(phase(key, 2, 12));
    KeyPose p;
    p.root = {0, -800 + static_cast<int>(std::lround(30 * s)), 0};
    p.degrees = {{0, 0, 0}, {0, 0, deg(40 * s)}, {0, 0, deg(-40 * s)}};
    return p;
  };
  fly.commands = {{kPlaySound, {0, 100}}};
  return {fly};
}

std::vector<TreeEntry> SpinnerTree() { return {{0, 0, -200, 0}}; }

std::vector<AnimationPlan> SpinnerAnimations() {
  AnimationPlan spin;
  spin.frames = 32;
  spin.rate = 8;
  spin.pose = [](int key, int) {
    KeyPose p;
    p.root = {0, -100, 0};
    p.degrees = {{10, 0, 10}, {0, 90.0 * key, 0}};
    return p;
  };
  return {spin};
}

}  // namespace tarnlow::sample
