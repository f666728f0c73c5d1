#pragma once

#include <optional>
#include <string>
#include <vector>

#include "edit/merge_plan.h"
#include "sound/sound_table.h"

namespace tarnlow {

// The sound table OUT's .sfx and .sam hold: the target's, plus each slot a
// moved object plays that the target lacks and its source defines; a slot
// both define differently keeps the target's entry unless the request takes
// the source's. Fills each moved object's `sounds` and the plan's
// `missingSamples`. Nothing when the target has no sound table and nothing
// is added. Never throws.
std::optional<SoundTable> MergeSoundTable(const MergeRequest& request, BuiltPlan& built);

// What OUT's sound files (`sfx`, `sam`), read back, hold that differs from
// `table` and from the entry each moved object's slot was to get; empty when
// they hold what was asked. Never throws.
std::vector<std::string> ProveSoundFiles(const MergeRequest& request, const MergePlan& plan, const SoundTable& table,
                                         const Bytes& sfx, const std::string& sam);

// OUT's .was: its moveables, the target's sprite lines, its statics, each
// path made as the target's lines make theirs. Nothing when the target has
// no .was. Never throws.
std::optional<std::string> MergeObjectList(const MergeRequest& request, const BuiltPlan& built);

}  // namespace tarnlow
