#include "anim/animation_state.h"

#include "anim/key_frame.h"

namespace tarnlow {

namespace {

std::string counted(int n, const char* what) { return std::to_string(n) + " " + what + (n == 1 ? "" : "s"); }

}  // namespace

AnimationState DescribeAnimationState(const AnimationRecord& a) {
  const int frames = FrameCount(a);
  if (frames > 0 && a.FrameSize == 0) {
    // The game reads every frame from the same words; original level WADs
    // leave slots so that nothing plays, which is harmless until used.
    return {AnimationState::NoKeyFrames,
            "no key frames stored (frames 0 to " + std::to_string(frames - 1) + " named)", Severity::Note};
  }
  if (frames > 0) return {};
  if (a.NumStateChanges == 0 && a.AnimCommandCount == 0) return {AnimationState::Empty, "empty", Severity::Note};
  return {AnimationState::NoFrames,
          "no frames, but " + counted(a.NumStateChanges, "state change") + " and " +
              counted(a.AnimCommandCount, "command") + ": something was meant to play here",
          Severity::Note};
}

}  // namespace tarnlow
