#pragma once

#include <cstddef>
#include <cstdint>
#include <variant>
#include <vector>

#include "anim/finding.h"
#include "anim/transform.h"
#include "wad/wad_document.h"

namespace tarnlow {

// The mesh-tree flag bits of one entry: pop takes the parent from the stack,
// push saves the parent on it (pop first when both are set, which makes the
// parent the top of the stack without removing it).
inline constexpr std::int32_t kMeshTreePop = 1;
inline constexpr std::int32_t kMeshTreePush = 2;
// Words per mesh-tree entry: flags, then the offset X, Y, Z from the parent.
inline constexpr std::size_t kMeshTreeEntryWords = 4;

// One mesh of a moveable in its skeleton.
struct Bone {
  std::int64_t meshPointer = -1;  // position in MeshPointers (StartingMesh + j); may lie outside it
  int parent = -1;                // bone index of the parent, -1 for the root (bone 0)
  std::int32_t flags = 0;         // the entry's flags word as stored (0 for the root)
  Vec3 offset;                    // from the parent's origin, in the parent's axes
  std::int64_t treeWord = -1;     // MeshTrees index of the entry's flags word; -1 for the root
};

// A moveable's meshes and where each hangs: bone j is mesh j of the object
// (mesh pointer StartingMesh + j), bone 0 is the root, and every other bone
// names a parent that comes before it.
struct Skeleton {
  std::size_t moveable = 0;
  std::vector<Bone> bones;
  // What the tree could not say: an entry outside MeshTrees (the bone hangs
  // at offset 0 from the previous bone), a pop from an empty stack (a
  // warning: the bone hangs from the root), unknown flag bits, a mesh
  // pointer outside MeshPointers. The skeleton is still whole.
  std::vector<Finding> problems;
};

// The skeleton of moveable `moveableIndex`, read from its mesh-tree entries:
// the entry of bone j (j >= 1) is the four words from MeshTrees[MeshTree +
// 4 * (j - 1)] on (MeshTree counts words, not entries). Fails (with a
// finding about the Moveables record) only when the index is not a moveable
// or NumMeshes is below 1; every other fault is in `problems`.
std::variant<Skeleton, Finding> BuildSkeleton(const WadDocument& document, std::size_t moveableIndex);

// The world transform of every bone when bone j turns by local[j] and the
// root stands at rootOffset: world[0] = T(rootOffset) * local[0], world[j] =
// world[parent] * T(offset[j]) * local[j]. `local` must hold one transform
// per bone; missing ones count as no turn. Never fails.
std::vector<Transform> WorldTransforms(const Skeleton& skeleton, Vec3 rootOffset,
                                       const std::vector<Transform>& local);

// Same, writing into `world` (resized to the bone count), for callers that
// pose many frames and keep one buffer.
void WorldTransformsInto(const Skeleton& skeleton, Vec3 rootOffset, const std::vector<Transform>& local,
                         std::vector<Transform>& world);

}  // namespace tarnlow
