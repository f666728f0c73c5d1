#include <gtest/gtest.h>

#include "anim/animation_graph.h"
#include "tests/support/animated_wad.h"

namespace tarnlow::test {
namespace {

TEST(AnimationGraph, Unknown3HoldsFrameOffsetThenFirstAnimation) {
  const MoveableRecord m{0, 0, 0, 0, WriteAnimationRef({0x01020304, -1})};
  EXPECT_EQ(m.Unknown3, (std::array<std::uint8_t, 6>{4, 3, 2, 1, 0xFF, 0xFF}));
  EXPECT_EQ(ReadAnimationRef(m), (MoveableAnimationRef{0x01020304, -1}));
}

TEST(AnimationGraph, AnObjectsAnimationsRunToTheNextObjectThatHasAny) {
  AnimatedWad wad = AnimatedWad::Clean();
  wad.animations.resize(5, wad.animations[1]);
  // Moveable 0 from 0, moveable 1 none, moveable 2 from 3, moveable 3 from 4.
  wad.moveables.insert(wad.moveables.end(), 2, wad.moveables[1]);
  wad.moveables[2].Unknown3 = WriteAnimationRef({44, 3});
  wad.moveables[3].Unknown3 = WriteAnimationRef({44, 4});
  const AnimationRange expected[] = {{0, 3}, {0, 0}, {3, 4}, {4, 5}};
  for (std::size_t m = 0; m < 4; ++m) EXPECT_EQ(ObjectAnimationRange(wad.build(), m), expected[m]) << m;
  // A range that cannot be told is empty and says so.
  wad.moveables[0].Unknown3 = WriteAnimationRef({0, 9});
  std::optional<Finding> problem;
  EXPECT_EQ(ObjectAnimationRange(wad.build(), 0, &problem), (AnimationRange{}));
  EXPECT_TRUE(problem.has_value());
}

TEST(AnimationGraph, StateChangesLeadThroughDispatchesToAnimations) {
  AnimatedWad wad = AnimatedWad::Clean();
  const AnimationGraph g = std::get<AnimationGraph>(BuildAnimationGraph(wad.build(), 0));
  ASSERT_EQ(g.animations.size(), 2u);
  const AnimationNode& first = g.animations[0];
  EXPECT_EQ(std::pair(first.frameCount, first.keyFrameCount), std::pair(3, 2));
  ASSERT_EQ(first.stateChanges.size(), 1u);
  ASSERT_EQ(first.stateChanges[0].dispatches.size(), 1u);
  const DispatchEdge& d = first.stateChanges[0].dispatches[0];
  EXPECT_EQ(std::tuple(d.nextAnimation, d.nextFrame, d.targetExists), std::tuple(0, 1, true));
  EXPECT_TRUE(g.animations[1].nextInObject);
  EXPECT_TRUE(g.problems.empty());
  // Once animation 1 is moveable 1's own, its next animation lies outside it.
  wad.moveables[1].Unknown3 = WriteAnimationRef({44, 1});
  EXPECT_FALSE(std::get<AnimationGraph>(BuildAnimationGraph(wad.build(), 1)).animations.at(0).nextInObject);
}

TEST(AnimationGraph, CommandsDecodeByTypeAndStopAtAnUnknownOne) {
  AnimatedWad wad = AnimatedWad::Clean();
  wad.commands = {1, 10, 20, 30, 2, -5, 6, 4, 6, 3, 0x0020, 99, 5, 0, 0};
  wad.animations[0].AnimCommandCount = 6;
  std::vector<Finding> problems;
  const std::vector<AnimCommand> commands = DecodeAnimCommands(wad.build(), 0, problems);
  const std::vector<std::vector<std::int16_t>> operands = {{10, 20, 30}, {-5, 6}, {}, {3, 0x0020}};
  ASSERT_EQ(commands.size(), operands.size());
  for (std::size_t i = 0; i < commands.size(); ++i) EXPECT_EQ(commands[i].operands, operands[i]) << i;
  EXPECT_EQ(commands[3].word, 8);
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_EQ(problems[0].target, "AnimCommands 11");
}

TEST(AnimationGraph, PlaybackGoesOnInTheNextAnimationAtItsNextFrame) {
  // Animation 0 plays frames 0 to 2 (relative 0 to 2) and leads to itself
  // at frame 0; animation 1 plays frame 3 and leads to animation 0 at 0.
  AnimatedWad wad = AnimatedWad::Clean();
  wad.animations[0].NextAnimation = 1;
  wad.animations[0].NextFrame = 3;
  const WadDocument doc = wad.build();
  const struct {
    PlayPosition from;
    double frames;
    PlayPosition to;
  } cases[] = {
      {{0, 0}, 1.5, {0, 1.5}}, {{0, 0}, 2, {0, 2}}, {{0, 0}, 3, {1, 0}}, {{0, 2}, 1.25, {1, 0.25}},
      {{1, 0}, 1, {0, 0}},     {{0, 0}, 4.5, {0, 0.5}},
  };
  for (const auto& c : cases) {
    const auto played = PlayOn(doc, c.from, c.frames);
    EXPECT_EQ(std::get<PlayPosition>(played), c.to) << c.from.animation << "/" << c.from.frame << " + " << c.frames;
  }
  wad.animations[1].NextFrame = 9;
  EXPECT_TRUE(std::holds_alternative<Finding>(PlayOn(wad.build(), {0, 0}, 5)));
}

}  // namespace
}  // namespace tarnlow::test
