#include "ui/sound_list.h"

#include <map>

#include "anim/anim_commands.h"
#include "anim/sound_players.h"
#include "check/naming.h"
#include "ui/platform.h"
#include "wad/file_paths.h"

namespace tarnlow::ui {

namespace {

std::string Joined(const std::vector<std::string>& parts) {
  std::string text;
  for (const std::string& part : parts) text += (text.empty() ? "" : ", ") + part;
  return text;
}

// Where the Sounds list points the object view: the animation and frame
// of a Play Sound, as a check finding would.
Finding FindingOf(const SoundPlayer& player) {
  Finding at;
  at.section = "Animations";
  at.record = player.animation;
  at.moveable = player.moveable;
  at.animation = player.animation;
  at.frame = player.frame;
  return at;
}

}  // namespace

std::vector<std::string> SoundListColumns() {
  return {"Slot", "Samples", "Volume", "Range", "Chance", "Pitch", "Loop", "Played by"};
}

std::vector<SoundListRow> SoundListRows(const SoundTable& table, const WadDocument& document,
                                        const ObjectNameTables& names) {
  const CheckNames naming(document, &names);
  const std::map<int, std::vector<SoundPlayer>> players = FindSoundPlayers(document);
  std::vector<SoundListRow> rows;
  for (const auto& [number, slot] : table.slots) {
    SoundListRow row;
    row.slot = number;
    std::vector<std::string> objects;
    if (const auto found = players.find(number); found != players.end()) {
      for (const SoundPlayer& player : found->second) {
        const Finding at = FindingOf(player);
        // The frame came from the command's word, so it goes back exactly.
        const std::vector<std::int16_t> operands = {static_cast<std::int16_t>(player.frame), player.value};
        row.uses.push_back(SoundUse{at, naming.subject(at) + ": " + DescribeAnimCommand(kPlaySound, operands, &table)});
        const std::string object = naming.object(player.moveable);
        if (objects.empty() || objects.back() != object) objects.push_back(object);
      }
    }
    row.cells = {std::to_string(number),
                 slot.samples.empty() ? std::string("no samples") : Joined(slot.samples),
                 std::to_string(slot.volume),
                 std::to_string(slot.range),
                 std::to_string(slot.chance),
                 std::to_string(slot.pitch),
                 LoopModeName(slot.loopMode()),
                 objects.empty() ? std::string("played by no animation") : Joined(objects)};
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
