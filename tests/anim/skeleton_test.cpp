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

TEST(Skeleton, FlagsPopAndPushTheParentStackAndFaultsBecomeOneFindingEach) {
  const struct {
    const char* what;
    WadDocument doc;
    std::vector<int> parents;
    std::optional<Severity> finding;
  } cases[] = {
      {"a body with two legs and two arms: 2 push, 3 pop and push again, 1 pop",
       TreeWad(15, {2, 0, 0, 3, 0, 0, 1, 2, 0, 0, 3, 0, 0, 1}),
       {-1, 0, 1, 2, 0, 4, 5, 0, 7, 8, 9, 7, 11, 12, 7},
       std::nullopt},
      {"a pop from an empty stack hangs from the root", TreeWad(3, {0, 1}), {-1, 0, 0}, Severity::Error},
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
  const std::vector<Transform> world = WorldTransforms(skeleton, {1, 2, 3}, {RotationYXZ(0, std::numbers::pi / 2, 0)});
  const Vec3 tip = Apply(world.at(2), {0, 0, 0});
  EXPECT_NEAR(tip.x, 1, 1e-9);
  EXPECT_NEAR(tip.y, 2, 1e-9);
  EXPECT_NEAR(tip.z, 3 - 20, 1e-9);
}

}  // namespace
}  // namespace tarnlow::test
