#pragma once

#include <optional>
#include <string>
#include <vector>

#include "edit/merge_plan.h"

namespace tarnlow {

// What the proof found.
struct ProofFindings {
  std::vector<std::string> differences;  // empty when the result holds
  std::vector<CarriedFinding> carried;
};

// Proves `written` (the result read back from its bytes) against what the
// plan asked for: each of its objects in the slot and place the plan gave
// it, with the content of the object it came from, and its check adding
// only findings its moved objects had in their sources. Never throws.
ProofFindings ProveMerge(const MergeRequest& request, const BuiltPlan& built, const WadDocument& written);

}  // namespace tarnlow
