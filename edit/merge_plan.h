#pragma once

#include <optional>
#include <vector>

#include "edit/merge.h"
#include "edit/wad_assembly.h"

namespace tarnlow {

// A plan with what it takes to build it: the result's objects, and the
// result built in memory when the plan holds.
struct BuiltPlan {
  MergePlan plan;
  std::vector<AssemblyObject> objects;
  // Per result object: the moved object it is (index in plan.moved), or
  // nothing for one of the target's.
  std::vector<std::optional<std::size_t>> movedIndex;
  std::optional<Assembly> assembly;
};

// Resolves every choice, slot and lead of `request` and builds the result
// in memory. Never throws: what cannot be done is in plan.refusals, and
// `assembly` is then empty.
BuiltPlan BuildPlan(const MergeRequest& request);

}  // namespace tarnlow
