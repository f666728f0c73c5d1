#include "edit/merge_sounds.h"

#include <algorithm>
#include <set>

#include "edit/slot_names.h"
#include "sound/object_list.h"
#include "sound/sample_folder.h"
#include "wad/file_paths.h"

namespace tarnlow {

std::optional<SoundTable> MergeSoundTable(const MergeRequest& request, BuiltPlan& built) {
  SoundTable table = request.target.sounds ? *request.target.sounds : SoundTable{};
  bool changed = false;
  if (!built.assembly) return std::nullopt;
  const Assembly& assembly = *built.assembly;
  std::set<std::string> wanted;
  for (std::size_t o = 0; o < built.objects.size(); ++o) {
    if (!built.movedIndex[o]) continue;
    MovedObject& moved = built.plan.moved[*built.movedIndex[o]];
    const SoundTable* source = request.sources[moved.sourceIndex].wad.sounds;
    for (int slot : assembly.counts[o].soundSlots) {
      MergeSound sound{slot, SoundOutcome::Undefined, {}};
      const SoundSlot* theirs = source ? source->find(slot) : nullptr;
      // Against the table as built so far: a slot an earlier source added
      // counts as the target's.
      const SoundSlot* ours = table.find(slot);
      if (theirs != nullptr && ours == nullptr) {
        sound.outcome = SoundOutcome::Added;
      } else if (theirs != nullptr && *theirs == *ours) {
        sound.outcome = SoundOutcome::Equal;
      } else if (theirs != nullptr) {
        sound.outcome = request.sounds == SoundChoice::TakeSource ? SoundOutcome::Taken : SoundOutcome::Conflict;
        for (std::size_t t = 0; t < built.objects.size(); ++t) {
          if (!built.movedIndex[t] && assembly.counts[t].soundSlots.count(slot) != 0) {
            sound.alsoPlayedBy.push_back(SlotName(request.names, built.objects[t].isStatic, built.objects[t].slot));
          }
        }
      }
      if (sound.outcome == SoundOutcome::Added || sound.outcome == SoundOutcome::Taken) {
        table.slots[slot] = *theirs;
        table.slots[slot].slot = slot;
        changed = true;
        wanted.insert(theirs->samples.begin(), theirs->samples.end());
      }
      moved.sounds.push_back(std::move(sound));
    }
  }
  if (request.samplesFolder) {
    // A folder that cannot be read lacks every sample.
    const std::optional<SampleFolder> folder = SampleFolder::Read(*request.samplesFolder);
    std::set<std::string> listed;
    for (const std::string& sample : wanted) {
      if ((!folder || !folder->find(sample)) && listed.insert(LowerCaseName(sample)).second) {
        built.plan.missingSamples.push_back(sample);
      }
    }
  }
  if (!request.target.sounds && !changed) return std::nullopt;
  return table;
}

std::vector<std::string> ProveSoundFiles(const MergeRequest& request, const MergePlan& plan, const SoundTable& table,
                                         const Bytes& sfx, const std::string& sam) {
  std::vector<std::string> differences;
  const SoundTable read = ReadSoundFiles(sfx, sam).table;
  if (!(read == table)) differences.push_back("OUT's sound files do not hold the sound table asked for");
  for (const MovedObject& moved : plan.moved) {
    const SoundTable* source = request.sources[moved.sourceIndex].wad.sounds;
    for (const MergeSound& sound : moved.sounds) {
      if (sound.outcome != SoundOutcome::Added && sound.outcome != SoundOutcome::Taken) continue;
      const SoundSlot* expected = source->find(sound.slot);
      const SoundSlot* got = read.find(sound.slot);
      if (got == nullptr || !(*got == *expected)) {
        differences.push_back("sound slot " + std::to_string(sound.slot) + " of OUT is not the one asked for");
      }
    }
  }
  return differences;
}

std::optional<std::string> MergeObjectList(const MergeRequest& request, const BuiltPlan& built) {
  if (!request.target.objectList || !built.assembly) return std::nullopt;
  const ObjectListRead read = ReadObjectList(*request.target.objectList);
  const WadDocument& target = *request.target.document;
  const WadDocument& out = built.assembly->document;
  std::vector<std::string> names;
  for (std::size_t m = 0; m < out.Moveables.size(); ++m) names.push_back(SlotName(request.names, false, out.Moveables[m].ObjectID));
  // The sprite lines stand between the target's moveables and statics.
  const std::size_t objects = target.Moveables.size() + target.StaticMeshes.size();
  if (read.entries.size() > objects) {
    for (std::size_t i = target.Moveables.size(); i < read.entries.size() - target.StaticMeshes.size(); ++i) {
      names.push_back(read.entries[i].name);
    }
  }
  for (std::size_t s = 0; s < out.StaticMeshes.size(); ++s) names.push_back(SlotName(request.names, true, SlotOf(out, true, s)));
  return WriteObjectList(names, read.entries);
}

}  // namespace tarnlow
