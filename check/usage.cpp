#include "check/usage.h"

#include <algorithm>
#include <cstdint>

#include "mesh/static_meshes.h"

namespace tarnlow {

namespace {

// Marks first to first + count - 1, clipped to the array, and gives the
// newly marked ones `animation` in `served` when there is one.
void markRange(std::vector<bool>& used, std::int64_t first, std::int64_t count,
               std::vector<std::int64_t>* served = nullptr, std::int64_t animation = -1) {
  const std::int64_t begin = std::max<std::int64_t>(first, 0);
  const std::int64_t end =
      std::min<std::int64_t>(first + std::max<std::int64_t>(count, 0), static_cast<std::int64_t>(used.size()));
  for (std::int64_t i = begin; i < end; ++i) {
    const auto at = static_cast<std::size_t>(i);
    if (served != nullptr && !used[at]) (*served)[at] = animation;
    used[at] = true;
  }
}

}  // namespace

Usage FindUsage(const WadDocument& document) {
  Usage usage{std::vector<bool>(document.MeshPointers.size()),
              std::vector<std::int64_t>(document.MeshPointers.size(), -1),
              std::vector<std::int64_t>(document.MeshPointers.size(), -1),
              std::vector<bool>(document.StateChanges.size()),
              std::vector<bool>(document.AnimDispatches.size()),
              std::vector<bool>(document.TextInfo.size()),
              false,
              std::vector<std::int64_t>(document.StateChanges.size(), -1),
              std::vector<std::int64_t>(document.AnimDispatches.size(), -1)};
  for (std::size_t m = 0; m < document.Moveables.size(); ++m) {
    const MoveableRecord moveable = document.Moveables[m];
    markRange(usage.meshPointers, moveable.StartingMesh, moveable.NumMeshes, &usage.meshPointerMoveable,
              static_cast<std::int64_t>(m));
  }
  for (std::size_t s = 0; s < document.StaticMeshes.size(); ++s) {
    markRange(usage.meshPointers, ReadStaticMeshEntry(document, s).Mesh, 1, &usage.meshPointerStatic,
              static_cast<std::int64_t>(s));
  }
  for (std::size_t a = 0; a < document.Animations.size(); ++a) {
    const AnimationRecord animation = document.Animations[a];
    markRange(usage.stateChanges, animation.StateChange, animation.NumStateChanges, &usage.stateChangeAnimation,
              static_cast<std::int64_t>(a));
  }
  for (std::size_t s = 0; s < document.StateChanges.size(); ++s) {
    if (!usage.stateChanges[s]) continue;
    const StateChangeRecord change = document.StateChanges[s];
    markRange(usage.dispatches, change.AnimDispatches, change.NumAnimDispatched, &usage.dispatchAnimation,
              usage.stateChangeAnimation[s]);
  }
  return usage;
}

}  // namespace tarnlow
