#include "ui/playback.h"

#include <gtest/gtest.h>

namespace tarnlow::ui {
namespace {

// Animation 0 (10 frames) goes on to 1 at frame 2; 1 (4 frames) back to 0
// at frame 0; 2 (5 frames) to an animation of another object; 3 has none.
Playback Chain() {
  return Playback({{100, 10, 1, 2}, {101, 4, 0, 0}, {102, 5, -1, 0}, {103, 0, -1, 0}});
}

TEST(Playback, TimeMovesThroughTheAnimationsAsTheGamePlaysThem) {
  const struct { const char* what; int start; bool follow; std::vector<double> seconds; int animation; double frame; bool playing; } cases[] = {
      {"30 frames a second", 0, true, {0.1}, 0, 3, true},
      {"the last frame holds until the next frame is due", 0, true, {9.5 / 30}, 0, 9, true},
      {"one frame after the last comes the next animation's next frame", 0, true, {10.5 / 30}, 1, 2.5, true},
      {"and its end leads back", 0, true, {10.0 / 30, 2.0 / 30, 1.0 / 30}, 0, 1, true},
      {"without following, the animation starts over", 1, false, {5.0 / 30}, 1, 1, true},
      {"a way on out of the object stops at the last frame", 2, true, {0.3}, 2, 4, false},
      {"a stalled timer moves at most half a second", 0, false, {2.0}, 0, 5, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Playback p = Chain();
    p.choose(c.start);
    p.setFollowsNext(c.follow);
    p.setPlaying(true);
    for (double s : c.seconds) p.advance(s);
    EXPECT_EQ(p.animation(), c.animation);
    EXPECT_NEAR(p.frame(), c.frame, 1e-9);
    EXPECT_EQ(p.playing(), c.playing);
    EXPECT_EQ(p.stopReason().empty(), c.playing);
  }
}

TEST(Playback, StepsAndSeeksMoveWholeFramesWithinTheAnimation) {
  Playback p = Chain();
  p.seek(8.4);
  p.stepForward();
  EXPECT_DOUBLE_EQ(p.frame(), 9);
  p.stepForward();
  EXPECT_EQ(p.animation(), 1) << "on from the last frame goes where play would";
  EXPECT_DOUBLE_EQ(p.frame(), 2);
  p.seek(0.6);
  p.stepBack();
  p.stepBack();
  EXPECT_DOUBLE_EQ(p.frame(), 0);
  p.seek(99);
  EXPECT_DOUBLE_EQ(p.frame(), 3);
  p.advance(1.0);
  EXPECT_DOUBLE_EQ(p.frame(), 3) << "paused: time does not move it";
}

TEST(Playback, NothingPlaysWithoutFrames) {
  Playback p = Chain();
  p.choose(3);
  p.setPlaying(true);
  EXPECT_FALSE(p.playing());
  Playback none;
  EXPECT_EQ(none.animation(), -1);
  none.setPlaying(true);
  none.stepForward();
  EXPECT_FALSE(none.playing());
  EXPECT_DOUBLE_EQ(none.frame(), 0);
}

}  // namespace
}  // namespace tarnlow::ui
