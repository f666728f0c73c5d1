#include "anim/skeleton.h"

#include <string>

namespace tarnlow {

namespace {

Finding moveableProblem(std::size_t moveable, Severity severity, std::string problem, std::string target) {
  return Finding{severity, "Moveables", static_cast<std::int64_t>(moveable), std::move(problem), std::move(target),
                 moveable};
}

std::string meshTreeWord(std::int64_t word) { return "MeshTrees word " + std::to_string(word); }

}  // namespace

std::variant<Skeleton, Finding> BuildSkeleton(const WadDocument& document, std::size_t moveableIndex) {
  if (moveableIndex >= document.Moveables.size()) {
    return Finding{Severity::Error, "Moveables", static_cast<std::int64_t>(moveableIndex),
                   "there is no moveable " + std::to_string(moveableIndex) + "; the WAD holds " +
                       std::to_string(document.Moveables.size()),
                   {}, std::nullopt};
  }
  const MoveableRecord moveable = document.Moveables[moveableIndex];
  if (moveable.NumMeshes < 1) {
    return moveableProblem(moveableIndex, Severity::Error,
                           "NumMeshes " + std::to_string(moveable.NumMeshes) + " leaves the object without meshes",
                           {});
  }

  Skeleton skeleton;
  skeleton.moveable = moveableIndex;
  const auto meshCount = static_cast<std::size_t>(moveable.NumMeshes);
  skeleton.bones.resize(meshCount);
  const std::size_t pointerCount = document.MeshPointers.size();
  const std::size_t treeWords = document.MeshTrees.size();

  for (std::size_t j = 0; j < meshCount; ++j) {
    const std::int64_t k = std::int64_t{moveable.StartingMesh} + static_cast<std::int64_t>(j);
    skeleton.bones[j].meshPointer = k;
    if (k < 0 || static_cast<std::uint64_t>(k) >= pointerCount) {
      skeleton.problems.push_back(moveableProblem(
          moveableIndex, Severity::Error,
          "mesh " + std::to_string(j) + " is at mesh position " + std::to_string(k) + ", outside the " +
              std::to_string(pointerCount) + " mesh pointers",
          "MeshPointers " + std::to_string(k)));
    }
  }

  // The parent stack the flags describe. It holds bone indices; a pop from
  // an empty stack falls back to the root.
  std::vector<int> stack;
  stack.reserve(meshCount);
  int parent = 0;
  for (std::size_t j = 1; j < meshCount; ++j) {
    Bone& bone = skeleton.bones[j];
    const std::int64_t word = std::int64_t{moveable.MeshTree} + static_cast<std::int64_t>(kMeshTreeEntryWords * (j - 1));
    bone.treeWord = word;
    if (word < 0 || static_cast<std::uint64_t>(word) + kMeshTreeEntryWords > treeWords) {
      skeleton.problems.push_back(moveableProblem(
          moveableIndex, Severity::Error,
          "the mesh-tree entry of mesh " + std::to_string(j) + " (words " + std::to_string(word) + " to " +
              std::to_string(word + 3) + ") is outside the " + std::to_string(treeWords) + " MeshTrees words",
          meshTreeWord(word)));
      bone.parent = parent;
      parent = static_cast<int>(j);
      continue;
    }
    const auto at = static_cast<std::size_t>(word);
    bone.flags = document.MeshTrees[at];
    bone.offset = {static_cast<double>(document.MeshTrees[at + 1]), static_cast<double>(document.MeshTrees[at + 2]),
                   static_cast<double>(document.MeshTrees[at + 3])};
    if ((bone.flags & ~(kMeshTreePop | kMeshTreePush)) != 0) {
      skeleton.problems.push_back(moveableProblem(
          moveableIndex, Severity::Note,
          "the mesh-tree entry of mesh " + std::to_string(j) + " has flags " + std::to_string(bone.flags) +
              "; only bits 0 (pop) and 1 (push) are known and used",
          meshTreeWord(word)));
    }
    if ((bone.flags & kMeshTreePop) != 0) {
      if (stack.empty()) {
        skeleton.problems.push_back(moveableProblem(
            moveableIndex, Severity::Error,
            "the mesh-tree entry of mesh " + std::to_string(j) + " pops from an empty stack; it hangs from mesh 0",
            meshTreeWord(word)));
        parent = 0;
      } else {
        parent = stack.back();
        stack.pop_back();
      }
    }
    if ((bone.flags & kMeshTreePush) != 0) stack.push_back(parent);
    bone.parent = parent;
    parent = static_cast<int>(j);
  }
  return skeleton;
}

void WorldTransformsInto(const Skeleton& skeleton, Vec3 rootOffset, const std::vector<Transform>& local,
                         std::vector<Transform>& world) {
  world.resize(skeleton.bones.size());
  static const Transform kNoTurn;
  for (std::size_t j = 0; j < skeleton.bones.size(); ++j) {
    const Bone& bone = skeleton.bones[j];
    const Transform& turn = j < local.size() ? local[j] : kNoTurn;
    // A parent always comes before its child, so world[parent] is ready;
    // BuildSkeleton guarantees it, and any other parent counts as the root.
    const bool hasParent = bone.parent >= 0 && static_cast<std::size_t>(bone.parent) < j;
    Transform placed = turn;
    if (hasParent) {
      const Transform& up = world[static_cast<std::size_t>(bone.parent)];
      placed.translation = Apply(up, bone.offset);
      placed.rotation = Compose(up, turn).rotation;
    } else {
      placed.translation = rootOffset;
    }
    world[j] = placed;
  }
}

std::vector<Transform> WorldTransforms(const Skeleton& skeleton, Vec3 rootOffset, const std::vector<Transform>& local) {
  std::vector<Transform> world;
  WorldTransformsInto(skeleton, rootOffset, local, world);
  return world;
}

}  // namespace tarnlow
