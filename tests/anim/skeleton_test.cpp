#include <gtest/gtest.h>

#include <numbers>

#include "anim/skeleton.h"
#include "tests/support/animated_wad.h"
#include "tests/support/wad_builder.h"

namespace tarnlow::test {
namespace {

// A moveable of `meshes` meshes whose tree entries carry `flags`, each
// entry 10 units along X from its parent.
WadDocument TreeWad(int meshes, const std::vector<std::int32_t>& flags, std::int32_t meshTree = 0) {
  std::vector<std::int32_t> words;
  for (std::int32_t f : flags) words.insert(words.end(), {f, 10, 0, 0});
  if (words.empty()) words = {0};
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

TEST(Skeleton, FlagsPopAndPushTheParentStack) {
  // A body with two legs and two arms: 2 push, 3 pop and push again, 1 pop.
  const WadDocument doc = TreeWad(15, {2, 0, 0, 3, 0, 0, 1, 2, 0, 0, 3, 0, 0, 1});
  const auto skeleton = BuildSkeleton(doc, 0);
  ASSERT_TRUE(std::holds_alternative<Skeleton>(skeleton));
  EXPECT_EQ(Parents(std::get<Skeleton>(skeleton)),
            (std::vector<int>{-1, 0, 1, 2, 0, 4, 5, 0, 7, 8, 9, 7, 11, 12, 7}));
  EXPECT_TRUE(std::get<Skeleton>(skeleton).problems.empty());
}

TEST(Skeleton, FaultsBecomeOneFindingEachAndTheSkeletonStaysWhole) {
  const struct {
    const char* what;
    WadDocument doc;
    std::vector<int> parents;
    Severity severity;
  } cases[] = {
      {"a pop from an empty stack hangs from the root", TreeWad(3, {0, 1}), {-1, 0, 0}, Severity::Error},
      {"entries past MeshTrees hang from the mesh before", TreeWad(4, {0}, 0), {-1, 0, 1, 2}, Severity::Error},
      {"a negative MeshTree", TreeWad(3, {0, 0}, -4), {-1, 0, 1}, Severity::Error},
      {"unknown flag bits are told and ignored", TreeWad(3, {8, 8}), {-1, 0, 1}, Severity::Note},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const auto skeleton = BuildSkeleton(c.doc, 0);
    ASSERT_TRUE(std::holds_alternative<Skeleton>(skeleton));
    EXPECT_EQ(Parents(std::get<Skeleton>(skeleton)), c.parents);
    ASSERT_EQ(std::get<Skeleton>(skeleton).problems.size(), 1u);
    EXPECT_EQ(std::get<Skeleton>(skeleton).problems[0].severity, c.severity);
  }
}

TEST(Skeleton, NoSkeletonWithoutAMoveableOrMeshes) {
  EXPECT_TRUE(std::holds_alternative<Finding>(BuildSkeleton(TreeWad(2, {0}), 1)));
  EXPECT_TRUE(std::holds_alternative<Finding>(BuildSkeleton(TreeWad(0, {}), 0)));
}

TEST(Skeleton, ChildOffsetsTurnWithTheirParent) {
  const auto skeleton = BuildSkeleton(TreeWad(3, {0, 0}), 0);
  ASSERT_TRUE(std::holds_alternative<Skeleton>(skeleton));
  // The root turns a quarter about Y: its child's offset (10, 0, 0) now
  // points along -Z, and the grandchild's too.
  const std::vector<Transform> world = WorldTransforms(std::get<Skeleton>(skeleton), {1, 2, 3},
                                                       {RotationYXZ(0, std::numbers::pi / 2, 0)});
  ASSERT_EQ(world.size(), 3u);
  const Vec3 tip = Apply(world[2], {0, 0, 0});
  EXPECT_NEAR(tip.x, 1, 1e-9);
  EXPECT_NEAR(tip.y, 2, 1e-9);
  EXPECT_NEAR(tip.z, 3 - 20, 1e-9);
}

}  // namespace
}  // namespace tarnlow::test
