// The one description of an animation slot that every view uses.
#include <gtest/gtest.h>

#include "anim/animation_state.h"

namespace tarnlow::test {
namespace {

// A slot without frames to play is empty only when nothing else in it was
// meant to play; a frame range without key frames is not empty at all.
TEST(AnimationState, SlotsWithoutFramesToPlayAreToldApartByWhatTheyStillHold) {
  using enum AnimationState::Kind;
  const struct {
    std::int16_t start, end;
    std::uint8_t frameSize;
    std::int16_t stateChanges, commands;
    AnimationState::Kind kind;
  } cases[] = {
      {0, 10, 10, 0, 0, Frames},    {3062, 3201, 0, 0, 0, NoKeyFrames}, {0, -1, 10, 0, 0, Empty},
      {0, -1, 0, 0, 0, Empty},      {0, -1, 10, 2, 0, NoFrames},        {5, 4, 10, 0, 1, NoFrames},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.start << " to " << c.end << ", FrameSize " << int{c.frameSize});
    const AnimationState state = DescribeAnimationState({.FrameSize = c.frameSize, .FrameStart = c.start, .FrameEnd = c.end,
                                                         .NumStateChanges = c.stateChanges, .AnimCommandCount = c.commands});
    EXPECT_EQ(state.kind, c.kind);
  }
}

}  // namespace
}  // namespace tarnlow::test
