#include "ui/sound_list.h"

#include <map>

#include "anim/anim_commands.h"
#include "anim/animation_graph.h"
#include "anim/key_frame.h"
#include "check/naming.h"
#include "sound/play_sound.h"
#include "ui/platform.h"
#include "wad/file_paths.h"

namespace tarnlow::ui {

namespace {

std::string Joined(const std::vector<std::string>& parts) {
  std::string text;
  for (const std::string& part : parts) text += (text.empty() ? "" : ", ") + part;
  return text;
}

// Every Play Sound of every object's animations, by the slot it plays.
std::map<int, std::vector<SoundUse>> UsesBySlot(const WadDocument& document, const CheckNames& names) {
  std::map<int, std::vector<SoundUse>> uses;
  for (std::size_t m = 0; m < document.Moveables.size(); ++m) {
    const AnimationRange range = ObjectAnimationRange(document, m);
    for (std::int64_t a = range.first; a < range.end; ++a) {
      std::vector<Finding> problems;
      for (const AnimCommand& command : DecodeAnimCommands(document, a, problems)) {
        if (command.type != kPlaySound) continue;
        Finding at;
        at.section = "Animations";
        at.record = a;
        at.moveable = m;
        at.animation = a;
        at.frame = FrameNumber(command.operands[0]);
        const int slot = PlayedSoundOf(command.operands[1]).slot;
        uses[slot].push_back(SoundUse{at, names.subject(at) + ": " + command.text});
      }
    }
  }
  return uses;
}

}  // namespace

std::vector<std::string> SoundListColumns() {
  return {"Slot", "Samples", "Volume", "Range", "Chance", "Pitch", "Loop", "Played by"};
}

std::vector<SoundListRow> SoundListRows(const SoundTable& table, const WadDocument& document,
                                        const ObjectNameTables& names) {
  const CheckNames naming(document, &names);
  std::map<int, std::vector<SoundUse>> uses = UsesBySlot(document, naming);
  std::vector<SoundListRow> rows;
  for (const auto& [number, slot] : table.slots) {
    SoundListRow row;
    row.slot = number;
    row.uses = std::move(uses[number]);
    std::vector<std::string> players;
    for (const SoundUse& use : row.uses) {
      const std::string player = naming.object(*use.finding.moveable);
      if (players.empty() || players.back() != player) players.push_back(player);
    }
    row.cells = {std::to_string(number),
                 slot.samples.empty() ? std::string("no samples") : Joined(slot.samples),
                 std::to_string(slot.volume),
                 std::to_string(slot.range),
                 std::to_string(slot.chance),
                 std::to_string(slot.pitch),
                 LoopModeName(slot.loopMode()),
                 players.empty() ? std::string("played by no animation") : Joined(players)};
    rows.push_back(std::move(row));
  }
  return rows;
}

bool PlaySlotSample(Platform& platform, const SoundSlot& slot, std::size_t choice,
                    const std::optional<std::filesystem::path>& folder) {
  const std::string slotName = "slot " + std::to_string(slot.slot);
  const auto say = [&platform](const std::string& text) {
    platform.ShowMessage(text, kAppTitle, MessageButtons::Ok, MessageIcon::Exclamation);
    return false;
  };
  if (slot.samples.empty()) return say("Sound " + slotName + " names no sample to play.");
  const std::string& sample = slot.samples[choice % slot.samples.size()];
  if (!folder) {
    return say("No sound samples folder is known for this WAD, so " + sample +
               " cannot be played.\nChoose one with Options > Sound samples folder...");
  }
  const std::string wanted = Utf8FromPath(*folder / PathFromUtf8(sample));
  const std::optional<std::string> found = platform.FindFile(wanted);
  if (!found) return say("The sample " + sample + " of " + slotName + " is missing: " + wanted + " was not found.");
  if (!platform.PlaySample(*found)) {
    return say("The sample " + *found + " could not be played (no sound device, or not a WAV file it can play).");
  }
  return true;
}

}  // namespace tarnlow::ui
