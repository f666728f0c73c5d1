#include <gtest/gtest.h>

#include <numbers>

#include "anim/key_frame.h"
#include "tests/support/animated_wad.h"

namespace tarnlow::test {
namespace {

constexpr double kTurn = 2 * std::numbers::pi;

TEST(KeyFrame, TurnsDecodeByTheirTopBitsInOneOrTwoWordsAndACutFrameFails) {
  const struct {
    std::vector<std::int16_t> words;
    AngleEncoding encoding;
    double x, y, z;  // in turns
  } turns[] = {
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
  const struct {
    std::int16_t start, end;
    std::uint8_t rate;
    int keys;  // -1: no count
  } cases[] = {{0, 21, 1, 22}, {22, 57, 4, 10}, {0, 31, 2, 17}, {5, 5, 3, 1},
               {0, 8, 4, 3},   {0, 4, 0, -1},   {4, 3, 1, -1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.start << ".." << c.end << " every " << int{c.rate});
    AnimationRecord a{.FrameRate = c.rate, .FrameStart = c.start, .FrameEnd = c.end};
    const auto keys = KeyFrameCount(a, 0);
    EXPECT_EQ(std::holds_alternative<Finding>(keys) ? -1 : std::get<int>(keys), c.keys);
  }
}

TEST(KeyFrame, SampleFallsBetweenTheKeysAroundAFrame) {
  const struct {
    int keys, rate;
    double frame;
    FrameSample expected;
  } cases[] = {
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

}  // namespace
}  // namespace tarnlow::test
