// Objects as the game draws them: Lara's placeholders filled from
// LARA_SKIN, judged by the box each key frame stores.
#include <gtest/gtest.h>

#include <random>
#include <variant>

#include "anim/animation_graph.h"
#include "anim/drawn_object.h"
#include "anim/frame_box.h"
#include "anim/pose.h"
#include "tests/support/animated_wad.h"
#include "tests/support/wad_builder.h"

namespace tarnlow::test {
namespace {

// Meshes 0 and 1 placeholders, 2 and 3 squares (half sides 50 and 20), 4 a
// square of 30. Object `objectId` takes meshes 0 and 1, or 4 and 1 when
// `ownFirstMesh`; a LARA_SKIN (when `withSkin`) takes 2 and 3. Mesh 1 hangs
// 200 units above mesh 0. One animation, one key frame: the root turned a
// quarter about Y, its box the one the skin's squares make in that pose.
WadDocument LaraWad(std::int32_t objectId, bool withSkin, bool ownFirstMesh = false) {
  AnimatedWad w;
  w.meshes = {NullShapeMesh(), NullShapeMesh(), SquareMesh(50), SquareMesh(20), SquareMesh(30)};
  MoveableRecord lara = Moveable(objectId, 2, 0);
  lara.Unknown3 = WriteAnimationRef({0, 0});
  w.moveables = {lara};
  if (withSkin) w.moveables.push_back(Moveable(kLaraSkinId, 2, 2));
  w.meshTrees = {0, 0, -200, 0};
  w.frames = {0, 0, -220, 50, -50, 50, 0, 0, 0, Turn('Y', 1024), Turn('Y', 0)};
  w.animations = {{.FrameOffset = 0, .FrameRate = 1, .FrameSize = 11, .FrameStart = 0, .FrameEnd = 0}};
  WadDocument document = w.build();
  if (ownFirstMesh) {
    // Mesh position 0 names the square of 30 instead of a placeholder.
    std::vector<std::int32_t> pointers;
    for (std::size_t k = 0; k < document.MeshPointers.size(); ++k) pointers.push_back(document.MeshPointers[k]);
    pointers[0] = pointers[4];
    w.pointers = pointers;
    document = w.build();
  }
  return document;
}

TEST(DrawnObject, PlaceholdersOfLaraKindObjectsAreFilledFromLaraSkinOnly) {
  using enum MeshSource;
  const struct {
    const char* what;
    std::int32_t objectId;
    bool withSkin, ownFirstMesh;
    std::vector<MeshSource> sources;
    bool note;
  } cases[] = {
      {"LARA with a skin wears it", kLaraId, true, false, {LaraSkin, LaraSkin}, false},
      {"a weapon object keeps its own mesh", 1, true, true, {Own, LaraSkin}, false},
      {"LARA without a skin keeps her placeholders, noted", kLaraId, false, false, {Own, Own}, true},
      {"any slot whose boxes fit the skin wears it", 35, true, false, {LaraSkin, LaraSkin}, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const WadDocument document = LaraWad(c.objectId, c.withSkin, c.ownFirstMesh);
    const auto drawn = DrawObject(document, 0);
    ASSERT_TRUE(std::holds_alternative<DrawnObject>(drawn));
    const DrawnObject& object = std::get<DrawnObject>(drawn);
    EXPECT_EQ(object.sources, c.sources);
    bool noted = false;
    for (const Finding& f : object.findings) noted = noted || f.severity == Severity::Note;
    EXPECT_EQ(noted, c.note);
    // The skin's meshes are what the pose places, so the drawn positions
    // follow the sources.
    for (std::size_t j = 0; j < c.sources.size(); ++j) {
      const std::int64_t own = c.ownFirstMesh && j == 0 ? 0 : static_cast<std::int64_t>(j);
      EXPECT_EQ(object.skeleton.bones[j].meshPointer, c.sources[j] == LaraSkin ? std::int64_t(j + 2) : own);
    }
  }
}

TEST(FrameBoxes, LaraInHerSkinFitsTheStoredBoxAndHerPlaceholdersDoNot) {
  for (const bool withSkin : {true, false}) {
    SCOPED_TRACE(withSkin ? "with LARA_SKIN" : "without");
    const DrawnObject object = std::get<DrawnObject>(DrawObject(LaraWad(kLaraId, withSkin), 0));
    const auto boxes = KeyFrameBoxes(LaraWad(kLaraId, withSkin), object, 0, 0);
    ASSERT_TRUE(std::holds_alternative<FrameBoxes>(boxes));
    const std::optional<double> difference = std::get<FrameBoxes>(boxes).difference;
    ASSERT_TRUE(difference.has_value());
    if (withSkin) {
      EXPECT_LT(*difference, 0.5);
    } else {
      EXPECT_GT(*difference, 64);
    }
  }
}

TEST(FrameBoxes, AStoredBoxWithAMinimumAboveItsMaximumJudgesNothing) {
  Box3 posed;
  posed.add({0, 0, 0});
  EXPECT_FALSE(BoxDifference({10, -10, 0, 0, 0, 0}, posed).has_value());
  EXPECT_EQ(BoxDifference({0, 10, 0, 0, 0, 0}, posed), 10.0);
}

TEST(FrameBoxes, TheFigureBoxIsTheBoxOfEveryPointMoved) {
  // A chain and a fork of meshes of every size, some without points, in
  // random poses: the meshes the figure box leaves unmoved must not matter.
  std::mt19937 random(7);
  const auto pick = [&random](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
  Skeleton skeleton;
  std::vector<std::vector<Vec3>> points(12);
  for (std::size_t j = 0; j < points.size(); ++j) {
    Bone bone;
    bone.parent = j == 0 ? -1 : pick(0, static_cast<int>(j) - 1);
    bone.offset = {double(pick(-300, 300)), double(pick(-300, 300)), double(pick(-300, 300))};
    skeleton.bones.push_back(bone);
    const int size = j % 4 == 3 ? 0 : pick(1, 250);
    for (int i = 0; j % 4 != 3 && i < pick(1, 30); ++i) {
      points[j].push_back({double(pick(-size, size)), double(pick(-size, size)), double(pick(-size, size))});
    }
  }
  FigureBox figure(skeleton, points);
  for (int pose = 0; pose < 200; ++pose) {
    KeyFrame frame;
    frame.offset = {double(pick(-500, 500)), double(pick(-500, 500)), double(pick(-500, 500))};
    for (std::size_t j = 0; j < points.size(); ++j) {
      const bool threeAxis = pick(0, 3) > 0;
      const auto first = static_cast<std::uint16_t>(threeAxis ? pick(0, 0x3FFF) : pick(0x4000, 0xFFFF));
      frame.angles.push_back(DecodeAngles(first, static_cast<std::uint16_t>(pick(0, 0xFFFF))));
    }
    const std::vector<Transform> world =
        WorldTransforms(skeleton, frame.offset, LocalTransforms(frame, skeleton.bones.size()));
    Box3 every;
    for (std::size_t j = 0; j < points.size(); ++j) {
      for (const Vec3& p : points[j]) every.add(Apply(world[j], p));
    }
    const Box3 box = figure.of(frame);
    for (auto side : {&Vec3::x, &Vec3::y, &Vec3::z}) {
      ASSERT_NEAR(box.min.*side, every.min.*side, 1e-6) << "pose " << pose;
      ASSERT_NEAR(box.max.*side, every.max.*side, 1e-6) << "pose " << pose;
    }
  }
}

}  // namespace
}  // namespace tarnlow::test
