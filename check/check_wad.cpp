#include "check/check_wad.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <tuple>

#include "anim/key_frame_budget.h"
#include "check/rules.h"
#include "check/weigh.h"

namespace tarnlow {

namespace {

// Sections in file order, for the WAD-wide part of the list.
int sectionOrder(std::string_view section) {
  static constexpr std::array<std::string_view, 18> kOrder{
      "TextInfo",       "TextData",     "MeshPointers", "MeshData", "Animations", "StateChanges",
      "AnimDispatches", "AnimCommands", "MeshTrees",    "Frames",   "Moveables",  "StaticMeshes",
      // The sound files beside the WAD come after its own sections.
      "sound files", ".sfx", "sound slot", ".sam line", ".was", ".was line"};
  const auto at = std::find(kOrder.begin(), kOrder.end(), section);
  return static_cast<int>(at - kOrder.begin());
}

// A finding about a state change or a dispatch is about the animation it
// serves, and so about that animation's object.
void attribute(const CheckContext& context, std::vector<Finding>& findings) {
  const Usage& usage = context.usage();
  for (Finding& f : findings) {
    const std::vector<std::int64_t>* served = f.section == "StateChanges"     ? &usage.stateChangeAnimation
                                              : f.section == "AnimDispatches" ? &usage.dispatchAnimation
                                                                              : nullptr;
    if (served == nullptr || !Inside(f.record, served->size())) continue;
    const std::int64_t animation = (*served)[static_cast<std::size_t>(f.record)];
    if (animation < 0) continue;
    if (!f.animation) f.animation = animation;
    if (!f.moveable) f.moveable = context.ownerOf(animation);
  }
}

}  // namespace

std::vector<Finding> CheckWad(const WadDocument& document, const CheckSounds& sounds, const std::vector<bool>& judged) {
  CheckContext context(document, sounds, judged);
  for (const Rule rule : AllRules()) rule(context);
  const std::map<std::int64_t, int> unjudged = context.unjudged();
  std::vector<Finding> findings = context.take();
  if (std::optional<Finding> left = KeyFramesLeftNote(unjudged)) findings.push_back(std::move(*left));
  attribute(context, findings);
  WeighByUse(context, findings);
  // Objects first, each with its own findings; a finding about an object
  // that names its moveable record comes first within it.
  std::stable_sort(findings.begin(), findings.end(), [](const Finding& a, const Finding& b) {
    const auto key = [](const Finding& f) {
      return std::make_tuple(!f.moveable.has_value(), f.moveable.value_or(0),
                             f.moveable ? f.section != "Moveables" : false, f.moveable ? 0 : sectionOrder(f.section),
                             f.moveable ? 0 : f.record);
    };
    return key(a) < key(b);
  });
  return findings;
}

CheckCounts CountFindings(const std::vector<Finding>& findings) {
  CheckCounts counts;
  for (const Finding& f : findings) {
    if (f.severity == Severity::Error) ++counts.errors;
    if (f.severity == Severity::Warning) ++counts.warnings;
    if (f.severity == Severity::Note) ++counts.notes;
  }
  return counts;
}

std::string CheckSummaryLine(const CheckCounts& counts) {
  if (counts.errors + counts.warnings + counts.notes == 0) return "no problems found";
  const auto part = [](std::size_t n, const char* word) {
    return std::to_string(n) + " " + word + (n == 1 ? "" : "s");
  };
  return part(counts.errors, "error") + ", " + part(counts.warnings, "warning") + ", " + part(counts.notes, "note");
}

}  // namespace tarnlow
