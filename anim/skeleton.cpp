#include "anim/skeleton.h"

#include <string>

namespace tarnlow {

namespace {

Finding moveableProblem(std::size_t moveable, Severity severity, std::string problem, std::string target) {
  return Finding{severity, "Moveables", static_cast<std::int64_t>(moveable), std::move(problem), std::move(target),
                 moveable};
}

// How many bones have one fault, and the first of them.
struct Tally {
  std::size_t count = 0;
  std::size_t first = 0;
  void add(std::size_t bone) {
    if (count++ == 0) first = bone;
  }
};

std::string meshTreeWord(std::int64_t word) { return "MeshTrees word " + std::to_string(word); }

}  // namespace

std::variant<Skeleton, Finding> BuildSkeleton(const WadDocument& document, std::size_t moveableIndex) {
  if (moveableIndex >= document.Moveables.size()) {
    return Finding{Severity::Error, "Moveables", static_cast<std::int64_t>(moveableIndex),
                   "there is no object " + std::to_string(moveableIndex) + "; the WAD holds " +
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

  // Positions run on from StartingMesh, so the ones outside MeshPointers
  // form one run at either end: one finding names them all.
  std::size_t outside = 0, firstOutside = 0;
  for (std::size_t j = 0; j < meshCount; ++j) {
    const std::int64_t k = std::int64_t{moveable.StartingMesh} + static_cast<std::int64_t>(j);
    skeleton.bones[j].meshPointer = k;
    if (k >= 0 && static_cast<std::uint64_t>(k) < pointerCount) continue;
    if (outside++ == 0) firstOutside = j;
  }
  if (outside > 0) {
    const std::int64_t k = skeleton.bones[firstOutside].meshPointer;
    skeleton.problems.push_back(moveableProblem(
        moveableIndex, Severity::Error,
        std::to_string(outside) + " of its " + std::to_string(meshCount) + " meshes (from mesh " +
            std::to_string(firstOutside) + ", position " + std::to_string(k) + ") are outside the " +
            std::to_string(pointerCount) + " mesh pointers",
        "MeshPointers " + std::to_string(k)));
  }

  // The parent stack the flags describe. It holds bone indices; a pop from
  // an empty stack falls back to the root. Faults of one kind are counted
  // and told once, with the first mesh that has them.
  std::vector<int> stack;
  stack.reserve(meshCount);
  int parent = 0;
  Tally treeOutside, unknownFlags, emptyPops;
  for (std::size_t j = 1; j < meshCount; ++j) {
    Bone& bone = skeleton.bones[j];
    const std::int64_t word = std::int64_t{moveable.MeshTree} + static_cast<std::int64_t>(kMeshTreeEntryWords * (j - 1));
    bone.treeWord = word;
    if (word < 0 || static_cast<std::uint64_t>(word) + kMeshTreeEntryWords > treeWords) {
      treeOutside.add(j);
      bone.parent = parent;
      parent = static_cast<int>(j);
      continue;
    }
    const auto at = static_cast<std::size_t>(word);
    bone.flags = document.MeshTrees[at];
    bone.offset = {static_cast<double>(document.MeshTrees[at + 1]), static_cast<double>(document.MeshTrees[at + 2]),
                   static_cast<double>(document.MeshTrees[at + 3])};
    if ((bone.flags & ~(kMeshTreePop | kMeshTreePush)) != 0) unknownFlags.add(j);
    if ((bone.flags & kMeshTreePop) != 0) {
      if (stack.empty()) {
        emptyPops.add(j);
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

  const auto entries = [&](const Tally& t) {
    return std::to_string(t.count) + " of its " + std::to_string(meshCount - 1) + " mesh-tree entries (from mesh " +
           std::to_string(t.first) + ", word " + std::to_string(skeleton.bones[t.first].treeWord) + ")";
  };
  const auto at = [&](const Tally& t) { return meshTreeWord(skeleton.bones[t.first].treeWord); };
  if (treeOutside.count > 0) {
    skeleton.problems.push_back(moveableProblem(
        moveableIndex, Severity::Error,
        entries(treeOutside) + " are outside the " + std::to_string(treeWords) +
            " MeshTrees words; those meshes hang at their parent's origin",
        at(treeOutside)));
  }
  // The bottom of the game's matrix stack is the object's own placement, so
  // a pop with nothing saved most plausibly lands on the root: the object is
  // drawn whole, and the entry only warned about.
  if (emptyPops.count > 0) {
    skeleton.problems.push_back(moveableProblem(moveableIndex, Severity::Warning,
                                                entries(emptyPops) + " pop from an empty stack; they hang from mesh 0",
                                                at(emptyPops)));
  }
  if (unknownFlags.count > 0) {
    skeleton.problems.push_back(moveableProblem(
        moveableIndex, Severity::Note,
        entries(unknownFlags) + " have flag bits besides 0 (pop) and 1 (push); only those two are used",
        at(unknownFlags)));
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
