#include "ui/merge_text.h"

#include <algorithm>

#include "wad/file_paths.h"

namespace tarnlow::ui {

namespace {

std::string OutcomeText(const MergeSound& sound) {
  switch (sound.outcome) {
    case SoundOutcome::Added:
      return "added";
    case SoundOutcome::Equal:
      return "the open WAD's is the same";
    case SoundOutcome::Conflict:
      return "in conflict: the open WAD's is kept";
    case SoundOutcome::Taken:
      return "in conflict: this WAD's replaces the open WAD's";
    case SoundOutcome::Undefined:
      return "silent in both";
  }
  return {};
}

}  // namespace

std::string GoesToText(const MovedObject& moved) {
  std::string text = moved.slotName;
  if (moved.replaces) text += ", replacing the open WAD's";
  if (moved.cameAsLead) text += " (led into)";
  return text;
}

std::vector<std::string> BringsDetail(const MovedObject& moved) {
  std::vector<std::string> lines;
  std::vector<MergeSound> sounds = moved.sounds;
  // A conflict is what the user must decide about: it comes first.
  std::stable_partition(sounds.begin(), sounds.end(), IsConflict);
  for (const MergeSound& sound : sounds) {
    std::string line = "Sound slot " + std::to_string(sound.slot) + ": " + OutcomeText(sound);
    if (!sound.alsoPlayedBy.empty()) {
      line += " (also played by ";
      for (std::size_t i = 0; i < sound.alsoPlayedBy.size(); ++i) {
        line += (i == 0 ? "" : ", ") + sound.alsoPlayedBy[i];
      }
      line += ")";
    }
    lines.push_back(std::move(line));
  }
  for (const MergeLead& lead : moved.leads) {
    lines.push_back("Animation " + std::to_string(lead.animation) + " leads into " + lead.slotName + "'s animation " +
                    std::to_string(lead.intoAnimation) +
                    (lead.present ? ": the open WAD holds it" : ": the open WAD lacks it"));
  }
  return lines;
}

std::string CarriedText(const std::vector<CarriedFinding>& carried) {
  const auto bySource = CarriedBySource(carried);
  std::string text;
  for (std::size_t s = 0; s < bySource.size(); ++s) {
    const std::size_t count = bySource[s].second.size();
    if (s > 0) text += s + 1 == bySource.size() ? " and " : ", ";
    text += std::to_string(count);
    if (s == 0) text += count == 1 ? " finding of the check is carried" : " findings of the check are carried";
    text += " from " + Utf8FromPath(bySource[s].first.filename());
  }
  return text.empty() ? text : text + ", where the objects taken already had them.";
}

}  // namespace tarnlow::ui
