// Reading animations: key frames and their turns, the graph of animations,
// state changes and commands.
#include <gtest/gtest.h>

#include <numbers>

#include "anim/animation_graph.h"
#include "anim/key_frame.h"
#include "data/sample_content.h"
#include "tests/support/animated_wad.h"

namespace tarnlow::test {
namespace {

constexpr double kTurn = 2 * std::numbers::pi;

TEST(KeyFrame, TurnsDecodeByTheirTopBitsInOneOrTwoWordsAndACutFrameFails) {
  // The angles in turns.
  const struct { std::vector<std::int16_t> words; AngleEncoding encoding; double x, y, z; } turns[] = {
      {{Turn('X', 1024)}, AngleEncoding::XOnly, 0.25, 0, 0},  // 1024 of 4096
      {{Turn('Y', 2048)}, AngleEncoding::YOnly, 0, 0.5, 0},   // bits 10 and 11 are angle, not flags
      {{Turn('Z', 4095)}, AngleEncoding::ZOnly, 0, 0, 4095.0 / 4096},
      // X 256, Y 512, Z 768 of 1024: 0100000000 1000000000 1100000000.
      {{0x1008, 0x0300}, AngleEncoding::ThreeAxis, 0.25, 0.5, 0.75},
  };
  std::vector<std::int16_t> words = {-1, 1, -2, 2, -3, 3, 4, 5, 6};  // box, then offset
  for (const auto& t : turns) words.insert(words.end(), t.words.begin(), t.words.end());
  const KeyFrame frame = std::get<KeyFrame>(DecodeFrameWords(words, 4));
  EXPECT_EQ(frame.words, 14u);
  EXPECT_EQ(frame.box, (BoundingBox{-1, 1, -2, 2, -3, 3}));
  EXPECT_EQ(frame.offset, (Vec3{4, 5, 6}));
  ASSERT_EQ(frame.angles.size(), 4u);
  for (std::size_t i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(frame.angles[i].encoding, turns[i].encoding);
    EXPECT_NEAR(frame.angles[i].x, turns[i].x * kTurn, 1e-12);
    EXPECT_NEAR(frame.angles[i].y, turns[i].y * kTurn, 1e-12);
    EXPECT_NEAR(frame.angles[i].z, turns[i].z * kTurn, 1e-12);
  }
  // Cut inside the box, the offset, the one-word turns and the three-axis pair.
  for (std::ptrdiff_t cut : {0, 8, 11, 13}) {
    SCOPED_TRACE(cut);
    EXPECT_TRUE(std::holds_alternative<Finding>(DecodeFrameWords({words.begin(), words.begin() + cut}, 4)));
  }
}

TEST(KeyFrame, CountIncludesTheLastKeyOfAPartialStepAndNeedsARateAndAFrame) {
  // keys -1: no count.
  const struct { std::int16_t start, end; std::uint8_t rate; int keys; } cases[] = {
      {0, 21, 1, 22}, {22, 57, 4, 10}, {0, 31, 2, 17}, {5, 5, 3, 1}, {0, 8, 4, 3}, {0, 4, 0, -1}, {4, 3, 1, -1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.start << ".." << c.end << " every " << int{c.rate});
    AnimationRecord a{.FrameRate = c.rate, .FrameStart = c.start, .FrameEnd = c.end};
    const auto keys = KeyFrameCount(a, 0);
    EXPECT_EQ(std::holds_alternative<Finding>(keys) ? -1 : std::get<int>(keys), c.keys);
  }
}

TEST(KeyFrame, SampleFallsBetweenTheKeysAroundAFrame) {
  const struct { int keys, rate; double frame; FrameSample expected; } cases[] = {
      {3, 4, 0, {0, 0, 0}},   {3, 4, 5, {1, 2, 0.25}}, {3, 4, 4, {1, 2, 0}},
      {3, 4, 8, {2, 2, 0}},   {3, 4, 99, {2, 2, 0}},   {3, 4, -1, {0, 0, 0}},
      {1, 1, 0.5, {0, 0, 0}}, {2, 1, 0.5, {0, 1, 0.5}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SampleFrame(c.keys, c.rate, c.frame), c.expected) << c.keys << " keys every " << c.rate << ", frame "
                                                                << c.frame;
  }
}

TEST(KeyFrame, KeyFramesAreAddressedByByteOffsetAndStrideAndReadsOutsideFail) {
  AnimatedWad wad = AnimatedWad::Clean();
  wad.animations[1].FrameSize = 10;  // one word short of its frame
  wad.animations.push_back(wad.animations[0]);
  wad.animations[2].FrameOffset = 2 * 30;  // 3 words before the end
  const WadDocument doc = wad.build();
  // Animation 0's second key turns a quarter about Y; animation 1's only one, at byte 44, does not.
  EXPECT_NEAR(std::get<KeyFrameRead>(DecodeKeyFrame(doc, 0, 1, 2)).frame.angles[0].y, kTurn / 4, 1e-12);
  const KeyFrameRead overlong = std::get<KeyFrameRead>(DecodeKeyFrame(doc, 1, 0, 2));
  EXPECT_EQ(overlong.frame.angles[0].y, 0);
  EXPECT_TRUE(overlong.overrun.has_value());
  EXPECT_TRUE(std::holds_alternative<Finding>(DecodeKeyFrame(doc, 0, 2, 2)));  // no key frame 2
  EXPECT_TRUE(std::holds_alternative<Finding>(DecodeKeyFrame(doc, 3, 0, 2)));  // no animation 3
  EXPECT_TRUE(std::holds_alternative<Finding>(DecodeKeyFrame(doc, 2, 0, 2)));  // cut by the end of Frames
}

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
  const struct { PlayPosition from; double frames; PlayPosition to; } cases[] = {
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
