// Placing meshes: turns and their composition, the mesh tree, and poses
// from key frames.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "anim/animation_graph.h"
#include "anim/pose.h"
#include "anim/skeleton.h"
#include "anim/transform.h"
#include "data/sample_content.h"
#include "tests/support/animated_wad.h"
#include "tests/support/wad_builder.h"

namespace tarnlow::test {
namespace {

constexpr double kQuarter = std::numbers::pi / 2;

void ExpectNear(Vec3 actual, Vec3 expected) {
  for (auto axis : {&Vec3::x, &Vec3::y, &Vec3::z}) EXPECT_NEAR(actual.*axis, expected.*axis, 1e-9);
}

TEST(Transform, QuarterTurnsFollowTheRightHandAndTurnZThenXThenY) {
  const struct { const char* what; double x, y, z; Vec3 in, out; } cases[] = {
      {"X takes down (+Y) to forward (+Z)", kQuarter, 0, 0, {0, 1, 0}, {0, 0, 1}},
      {"Y takes forward to right (+X)", 0, kQuarter, 0, {0, 0, 1}, {1, 0, 0}},
      {"Z takes right to down", 0, 0, kQuarter, {1, 0, 0}, {0, 1, 0}},
      // Z first: right goes down; then X: down goes forward; then Y: forward goes right.
      {"Z, then X, then Y", kQuarter, kQuarter, kQuarter, {1, 0, 0}, {1, 0, 0}},
      {"X before Y", kQuarter, kQuarter, 0, {0, 1, 0}, {1, 0, 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ExpectNear(Apply(RotationYXZ(c.x, c.y, c.z), c.in), c.out);
  }
}

TEST(Transform, QuaternionRoundTripKeepsTheRotation) {
  for (const Vec3 angles : {Vec3{0.3, -1.2, 2.9}, Vec3{3.1, 0.2, -0.4}, Vec3{0, std::numbers::pi, 0}}) {
    const Transform t = RotationYXZ(angles.x, angles.y, angles.z), back = FromQuaternion(RotationQuaternion(t));
    for (std::size_t i = 0; i < 9; ++i) EXPECT_NEAR(back.rotation[i], t.rotation[i], 1e-9);
  }
}

TEST(Transform, SlerpTakesTheShortWayAtEvenSpeed) {
  const Quaternion none = RotationQuaternion(Identity());
  const Quaternion quarter = RotationQuaternion(RotationYXZ(0, kQuarter, 0));
  // The same turn written as its negative must blend the same way.
  const Quaternion negated{-quarter.x, -quarter.y, -quarter.z, -quarter.w};
  for (const Quaternion& target : {quarter, negated}) {
    ExpectNear(Apply(FromQuaternion(Slerp(none, target, 0.5)), {0, 0, 1}),
               {std::sin(kQuarter / 2), 0, std::cos(kQuarter / 2)});
  }
}

TEST(Transform, ComposeAppliesTheRightSideFirstAndItsMatrixMapsPointsLikeApply) {
  ExpectNear(Apply(Compose(RotationYXZ(0, kQuarter, 0), Translation({0, 0, 10})), {0, 0, 0}), {10, 0, 0});
  ExpectNear(Apply(Compose(Translation({0, 0, 10}), RotationYXZ(0, kQuarter, 0)), {0, 0, 0}), {0, 0, 10});
  const Transform t = Compose(Translation({5, -6, 7}), RotationYXZ(0.4, 1.1, -0.7));
  const std::array<double, 16> m = ColumnMajor4x4(t);
  const Vec3 p{3, 2, 1};
  ExpectNear({m[0] * p.x + m[4] * p.y + m[8] * p.z + m[12], m[1] * p.x + m[5] * p.y + m[9] * p.z + m[13],
              m[2] * p.x + m[6] * p.y + m[10] * p.z + m[14]},
             Apply(t, p));
  EXPECT_EQ(m[15], 1);
}

// A moveable of `meshes` meshes whose tree entries carry `flags`, each
// entry 10 units along X from its parent.
WadDocument TreeWad(int meshes, const std::vector<std::int32_t>& flags, std::int32_t meshTree = 0) {
  std::vector<std::int32_t> words;
  for (std::int32_t f : flags) words.insert(words.end(), {f, 10, 0, 0});
  return WadBuilder()
      .meshPointers(std::vector<std::int32_t>(static_cast<std::size_t>(meshes), 0))
      .meshTrees(words)
      .moveables({MoveableRecord{0, static_cast<std::int16_t>(meshes), 0, meshTree, {}}})
      .build();
}

std::vector<int> Parents(const Skeleton& s) {
  std::vector<int> out;
  for (const Bone& b : s.bones) out.push_back(b.parent);
  return out;
}

TEST(Skeleton, FlagsPopAndPushTheParentStackAndFaultsBecomeOneFindingEach) {
  const struct { const char* what; WadDocument doc; std::vector<int> parents; std::optional<Severity> finding; }
      cases[] = {
      {"a body with two legs and two arms: 2 push, 3 pop and push again, 1 pop",
       TreeWad(15, {2, 0, 0, 3, 0, 0, 1, 2, 0, 0, 3, 0, 0, 1}),
       {-1, 0, 1, 2, 0, 4, 5, 0, 7, 8, 9, 7, 11, 12, 7},
       std::nullopt},
      {"a pop from an empty stack hangs from the root", TreeWad(3, {0, 1}), {-1, 0, 0}, Severity::Warning},
      {"entries past MeshTrees hang from the mesh before", TreeWad(4, {0}, 0), {-1, 0, 1, 2}, Severity::Error},
      {"a negative MeshTree", TreeWad(3, {0, 0}, -4), {-1, 0, 1}, Severity::Error},
      {"unknown flag bits are told and ignored", TreeWad(3, {8, 8}), {-1, 0, 1}, Severity::Note},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const Skeleton skeleton = std::get<Skeleton>(BuildSkeleton(c.doc, 0));
    EXPECT_EQ(Parents(skeleton), c.parents);
    EXPECT_EQ(skeleton.problems.size(), c.finding ? 1u : 0u);
    for (const Finding& f : skeleton.problems) {
      EXPECT_EQ(f.severity, c.finding);
      EXPECT_EQ(f.moveable, 0u);
    }
  }
}

TEST(Skeleton, ChildOffsetsTurnWithTheirParent) {
  const Skeleton skeleton = std::get<Skeleton>(BuildSkeleton(TreeWad(3, {0, 0}), 0));
  // The root turns a quarter about Y: its child's offset (10, 0, 0) now
  // points along -Z, and the grandchild's too.
  const std::vector<Transform> world = WorldTransforms(skeleton, {1, 2, 3}, {RotationYXZ(0, kQuarter, 0)});
  ExpectNear(Apply(world.at(2), {0, 0, 0}), {1, 2, 3 - 20});
}

// Where mesh 1's joint stands once the root has turned `turn` about Y.
Vec3 Hung(double turn) { return {100 * std::cos(turn), -100, -100 * std::sin(turn)}; }

TEST(Pose, FramesBetweenKeysBlendTheTurnsAndMissingOnesFail) {
  // Animation 0 of the clean WAD turns the root about Y and mesh 1 about X
  // from 0 at frame 0 to a quarter at frame 2; mesh 1 hangs 100 along X.
  const WadDocument doc = AnimatedWad::Clean().build();
  // No joint: the pose fails.
  const struct { std::size_t moveable; std::optional<std::int64_t> animation; double frame; std::optional<Vec3> joint; }
      cases[] = {
      {0, 0, 0, Hung(0)},   {0, 0, 1, Hung(kQuarter / 2)}, {0, 0, 0.5, Hung(kQuarter / 4)}, {0, 0, 2, Hung(kQuarter)},
      {0, std::nullopt, 0, Vec3{100, 0, 0}},  // the rest pose stands each mesh at its tree offset
      {0, 0, 3, {}},        {0, 0, -0.5, {}},              {0, 2, 0, {}},                    {2, 0, 0, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.moveable << "/" << c.animation.value_or(-1) << "/" << c.frame);
    const auto pose = PoseObject(doc, c.moveable, c.animation, c.frame);
    ASSERT_EQ(std::holds_alternative<ObjectPose>(pose), c.joint.has_value());
    if (c.joint) ExpectNear(Apply(std::get<ObjectPose>(pose).meshes.at(1).world, {0, 0, 0}), *c.joint);
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
