#include <gtest/gtest.h>

#include <numbers>

#include "anim/key_frame.h"
#include "tests/support/animated_wad.h"
#include "tests/support/wad_builder.h"

namespace tarnlow::test {
namespace {

constexpr double kTurn = 2 * std::numbers::pi;

TEST(KeyFrame, AnglesDecodeByTheirTopBits) {
  const struct {
    std::uint16_t first, second;
    AngleEncoding encoding;
    double x, y, z;  // in turns
  } cases[] = {
      {0x4400, 0, AngleEncoding::XOnly, 0.25, 0, 0},      // 1024 of 4096
      {0x8800, 0, AngleEncoding::YOnly, 0, 0.5, 0},       // bits 10 and 11 are angle, not flags
      {0xCFFF, 0, AngleEncoding::ZOnly, 0, 0, 4095.0 / 4096},
      // X 256, Y 512, Z 768 of 1024: 0100000000 1000000000 1100000000.
      {0x1008, 0x0300, AngleEncoding::ThreeAxis, 0.25, 0.5, 0.75},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.first);
    const MeshAngles a = DecodeAngles(c.first, c.second);
    EXPECT_EQ(a.encoding, c.encoding);
    EXPECT_NEAR(a.x, c.x * kTurn, 1e-12);
    EXPECT_NEAR(a.y, c.y * kTurn, 1e-12);
    EXPECT_NEAR(a.z, c.z * kTurn, 1e-12);
  }
}

TEST(KeyFrame, OneAndThreeAxisTurnsTakeOneAndTwoWords) {
  std::vector<std::int16_t> turns = TurnXYZ(1, 2, 3);
  turns.insert(turns.begin(), TurnX(5));
  turns.push_back(TurnZ(7));
  const std::vector<std::int16_t> words = KeyFrameWords({-1, 1, -2, 2, -3, 3}, {4, 5, 6}, turns);
  const auto decoded = DecodeFrameWords(words, 3);
  ASSERT_TRUE(std::holds_alternative<KeyFrame>(decoded));
  const KeyFrame& frame = std::get<KeyFrame>(decoded);
  EXPECT_EQ(frame.words, 13u);
  EXPECT_EQ(frame.box, (BoundingBox{-1, 1, -2, 2, -3, 3}));
  EXPECT_EQ(frame.offset, (Vec3{4, 5, 6}));
  ASSERT_EQ(frame.angles.size(), 3u);
  EXPECT_EQ(frame.angles[1].encoding, AngleEncoding::ThreeAxis);
  EXPECT_NEAR(frame.angles[2].z, 7 * kTurn / 4096, 1e-12);
}

TEST(KeyFrame, WordsEndingInsideTheFrameFail) {
  const std::vector<std::int16_t> full = KeyFrameWords({0, 0, 0, 0, 0, 0}, {0, 0, 0}, TurnXYZ(1, 1, 1));
  for (std::size_t cut : {std::size_t{0}, std::size_t{8}, std::size_t{10}}) {
    SCOPED_TRACE(cut);
    const std::vector<std::int16_t> words(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(cut));
    EXPECT_TRUE(std::holds_alternative<Finding>(DecodeFrameWords(words, 1)));
  }
}

TEST(KeyFrame, CountIncludesTheLastKeyOfAPartialStep) {
  const struct {
    std::int16_t start, end;
    std::uint8_t rate;
    int keys;
  } cases[] = {{0, 21, 1, 22}, {22, 57, 4, 10}, {0, 31, 2, 17}, {5, 5, 3, 1}, {0, 8, 4, 3}};
  for (const auto& c : cases) {
    AnimationRecord a;
    a.FrameStart = c.start;
    a.FrameEnd = c.end;
    a.FrameRate = c.rate;
    const auto keys = KeyFrameCount(a, 0);
    ASSERT_TRUE(std::holds_alternative<int>(keys));
    EXPECT_EQ(std::get<int>(keys), c.keys) << c.start << ".." << c.end << " every " << int{c.rate};
  }
}

TEST(KeyFrame, CountFailsWithoutARateOrAFrame) {
  AnimationRecord noRate;
  noRate.FrameEnd = 4;
  AnimationRecord backwards;
  backwards.FrameRate = 1;
  backwards.FrameStart = 4;
  backwards.FrameEnd = 3;
  EXPECT_TRUE(std::holds_alternative<Finding>(KeyFrameCount(noRate, 0)));
  EXPECT_TRUE(std::holds_alternative<Finding>(KeyFrameCount(backwards, 0)));
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

TEST(KeyFrame, KeyFramesAreAddressedByByteOffsetAndFrameSizeStride) {
  const WadDocument doc = AnimatedWad::Clean().build();
  const auto second = DecodeKeyFrame(doc, 0, 1, 2);
  ASSERT_TRUE(std::holds_alternative<KeyFrameRead>(second));
  EXPECT_NEAR(std::get<KeyFrameRead>(second).frame.angles[0].y, kTurn / 4, 1e-12);
  const auto other = DecodeKeyFrame(doc, 1, 0, 2);
  ASSERT_TRUE(std::holds_alternative<KeyFrameRead>(other));
  EXPECT_EQ(std::get<KeyFrameRead>(other).frame.angles[0].y, 0);
}

TEST(KeyFrame, FramesOutsideTheAnimationOrTheArrayFail) {
  AnimatedWad wad = AnimatedWad::Clean();
  wad.animations[1].FrameOffset = 2 * 30;  // 3 words before the end
  const WadDocument doc = wad.build();
  EXPECT_TRUE(std::holds_alternative<Finding>(DecodeKeyFrame(doc, 0, 2, 2)));   // no key frame 2
  EXPECT_TRUE(std::holds_alternative<Finding>(DecodeKeyFrame(doc, 2, 0, 2)));   // no animation 2
  EXPECT_TRUE(std::holds_alternative<Finding>(DecodeKeyFrame(doc, 1, 0, 2)));   // cut by the end of Frames
}

TEST(KeyFrame, AFrameLongerThanFrameSizeDecodesAndSaysSo) {
  AnimatedWad wad = AnimatedWad::Clean();
  wad.animations[0].FrameSize = 10;
  const auto read = DecodeKeyFrame(wad.build(), 0, 0, 2);
  ASSERT_TRUE(std::holds_alternative<KeyFrameRead>(read));
  EXPECT_TRUE(std::get<KeyFrameRead>(read).overrun.has_value());
}

}  // namespace
}  // namespace tarnlow::test
