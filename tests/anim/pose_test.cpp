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

// Where mesh 1's joint stands once the root has turned `turn` about Y.
Vec3 Hung(double turn) { return {100 * std::cos(turn), -100, -100 * std::sin(turn)}; }

TEST(Pose, FramesBetweenKeysBlendTheTurnsAndMissingOnesFail) {
  // Animation 0 of the clean WAD turns the root about Y and mesh 1 about X
  // from 0 at frame 0 to a quarter at frame 2; mesh 1 hangs 100 along X.
  const WadDocument doc = AnimatedWad::Clean().build();
  const struct {
    std::size_t moveable;
    std::optional<std::int64_t> animation;
    double frame;
    std::optional<Vec3> joint;  // none: the pose fails
  } cases[] = {
      {0, 0, 0, Hung(0)},   {0, 0, 1, Hung(kQuarter / 2)}, {0, 0, 0.5, Hung(kQuarter / 4)}, {0, 0, 2, Hung(kQuarter)},
      {0, std::nullopt, 0, Vec3{100, 0, 0}},  // the rest pose stands each mesh at its tree offset
      {0, 0, 3, {}},        {0, 0, -0.5, {}},              {0, 2, 0, {}},                    {2, 0, 0, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.moveable << "/" << c.animation.value_or(-1) << "/" << c.frame);
    const auto pose = PoseObject(doc, c.moveable, c.animation, c.frame);
    ASSERT_EQ(std::holds_alternative<ObjectPose>(pose), c.joint.has_value());
    if (!c.joint) continue;
    const Vec3 joint = Placed(std::get<ObjectPose>(pose), 1, {0, 0, 0});
    EXPECT_NEAR(joint.x, c.joint->x, 1e-6);
    EXPECT_NEAR(joint.y, c.joint->y, 1e-6);
    EXPECT_NEAR(joint.z, c.joint->z, 1e-6);
  }
}

TEST(Pose, AMeshOutsideMeshPointersIsPlacedAndFlagged) {
  AnimatedWad wad = AnimatedWad::Clean();
  wad.moveables[0].StartingMesh = 1;
  const ObjectPose p = std::get<ObjectPose>(PoseObject(wad.build(), 0, 0, 0));
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
      for (int f = 0; f < FrameCount(doc.Animations[static_cast<std::size_t>(a)]); ++f, ++posed) {
        const auto pose = PoseObject(doc, m, a, f);
        ASSERT_TRUE(std::holds_alternative<ObjectPose>(pose)) << "moveable " << m << " animation " << a << ":" << f;
        EXPECT_TRUE(std::get<ObjectPose>(pose).problems.empty());
      }
    }
  }
  EXPECT_GT(posed, 200);
}

}  // namespace
}  // namespace tarnlow::test
