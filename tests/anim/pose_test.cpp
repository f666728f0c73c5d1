#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "anim/animation_graph.h"
#include "anim/pose.h"
#include "data/sample_content.h"
#include "tests/support/animated_wad.h"

namespace tarnlow::test {
namespace {

constexpr double kQuarter = std::numbers::pi / 2;

// Where a point of mesh `mesh` ends up in `pose`.
Vec3 Placed(const ObjectPose& pose, std::size_t mesh, Vec3 p) { return Apply(pose.meshes.at(mesh).world, p); }

TEST(Pose, FramesBetweenKeysBlendTheTurns) {
  // Animation 0 of the clean WAD turns the root about Y and mesh 1 about X
  // from 0 at frame 0 to a quarter at frame 2; mesh 1 hangs 100 along X.
  const WadDocument doc = AnimatedWad::Clean().build();
  const struct {
    double frame;
    double turn;
  } cases[] = {{0, 0}, {1, kQuarter / 2}, {0.5, kQuarter / 4}, {2, kQuarter}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.frame);
    const auto pose = PoseObject(doc, 0, 0, c.frame);
    ASSERT_TRUE(std::holds_alternative<ObjectPose>(pose));
    const ObjectPose& p = std::get<ObjectPose>(pose);
    ASSERT_EQ(p.meshes.size(), 2u);
    const Vec3 joint = Placed(p, 1, {0, 0, 0});
    EXPECT_NEAR(joint.x, 100 * std::cos(c.turn), 1e-6);
    EXPECT_NEAR(joint.y, -100, 1e-6);
    EXPECT_NEAR(joint.z, -100 * std::sin(c.turn), 1e-6);
  }
}

TEST(Pose, RestPoseStandsEveryMeshAtItsTreeOffset) {
  const auto pose = PoseObject(AnimatedWad::Clean().build(), 0, std::nullopt, 0);
  ASSERT_TRUE(std::holds_alternative<ObjectPose>(pose));
  const Vec3 joint = Placed(std::get<ObjectPose>(pose), 1, {0, 5, 0});
  EXPECT_EQ(joint, (Vec3{100, 5, 0}));
}

TEST(Pose, FramesAndAnimationsThatDoNotExistFail) {
  const WadDocument doc = AnimatedWad::Clean().build();
  EXPECT_TRUE(std::holds_alternative<Finding>(PoseObject(doc, 0, 0, 3)));      // frames 0 to 2
  EXPECT_TRUE(std::holds_alternative<Finding>(PoseObject(doc, 0, 0, -0.5)));
  EXPECT_TRUE(std::holds_alternative<Finding>(PoseObject(doc, 0, 2, 0)));      // no animation 2
  EXPECT_TRUE(std::holds_alternative<Finding>(PoseObject(doc, 2, 0, 0)));      // no moveable 2
}

TEST(Pose, AMeshOutsideMeshPointersIsPlacedAndFlagged) {
  AnimatedWad wad = AnimatedWad::Clean();
  wad.moveables[0].StartingMesh = 1;
  const auto pose = PoseObject(wad.build(), 0, 0, 0);
  ASSERT_TRUE(std::holds_alternative<ObjectPose>(pose));
  const ObjectPose& p = std::get<ObjectPose>(pose);
  EXPECT_FALSE(p.meshes[0].problem.has_value());
  EXPECT_TRUE(p.meshes[1].problem.has_value());
  EXPECT_EQ(p.problems.size(), 1u);
}

TEST(Pose, EveryFrameOfEverySampleAnimationPoses) {
  const WadDocument doc = sample::SampleWad();
  int posed = 0;
  for (std::size_t m = 0; m < doc.Moveables.size(); ++m) {
    const AnimationRange range = ObjectAnimationRange(doc, m);
    for (std::int64_t a = range.first; a < range.end; ++a) {
      const int frames = FrameCount(doc.Animations[static_cast<std::size_t>(a)]);
      for (int f = 0; f < frames; ++f) {
        const auto pose = PoseObject(doc, m, a, f);
        ASSERT_TRUE(std::holds_alternative<ObjectPose>(pose)) << "moveable " << m << " animation " << a << " frame " << f;
        EXPECT_TRUE(std::get<ObjectPose>(pose).problems.empty());
        ++posed;
      }
    }
  }
  EXPECT_GT(posed, 200);
}

}  // namespace
}  // namespace tarnlow::test
