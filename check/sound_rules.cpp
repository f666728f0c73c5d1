#include <algorithm>
#include <map>
#include <set>

#include "anim/sound_players.h"
#include "check/rules.h"
#include "sound/sample_folder.h"
#include "sound/sound_files.h"
#include "wad/file_paths.h"
#include "wad/object_names.h"

namespace tarnlow {

namespace {

struct ProblemWeight {
  Severity severity;
  const char* rule;
};

// A table that contradicts itself is an error; what the game never notices
// (extra bytes, order, lines nothing plays) a note.
ProblemWeight weightOf(SoundProblemKind kind) {
  switch (kind) {
    case SoundProblemKind::SfxCutShort:
      return {Severity::Error, "sound-sfx-cut-short"};
    case SoundProblemKind::TrailingBytes:
      return {Severity::Note, "sound-trailing-bytes"};
    case SoundProblemKind::MapEntryPastInfos:
      return {Severity::Error, "sound-map-past-infos"};
    case SoundProblemKind::SampleCountDisagrees:
      return {Severity::Error, "sound-sample-count"};
    case SoundProblemKind::SampleRangePastSam:
      return {Severity::Error, "sound-sample-range"};
    case SoundProblemKind::NotCanonical:
      return {Severity::Note, "sound-not-canonical"};
    case SoundProblemKind::SamLineUnused:
      return {Severity::Note, "sound-sample-unused"};
    case SoundProblemKind::WasEmpty:
      return {Severity::Note, "sound-was-empty"};
    case SoundProblemKind::WasLineWithoutColon:
      return {Severity::Note, "sound-was-line"};
  }
  return {Severity::Note, "sound-files"};
}

// Said of its slot or line when it has one, else of the file.
void addProblem(CheckContext& context, const SoundProblem& p, const char* file, const char* lines) {
  const ProblemWeight weight = weightOf(p.kind);
  if (p.slot >= 0) {
    context.add(weight.severity, weight.rule, "sound slot", p.slot, p.text);
  } else if (p.line >= 0) {
    context.add(weight.severity, weight.rule, lines, p.line, p.text);
  } else {
    context.add(weight.severity, weight.rule, file, -1, p.text);
  }
}

std::string joined(const std::vector<std::string>& parts) {
  std::string text;
  for (const std::string& part : parts) text += (text.empty() ? "" : ", ") + part;
  return text;
}

// One note per object: the slots its animations play that the table lacks.
void checkSilentSlots(CheckContext& context, const SoundTable& table) {
  std::map<std::size_t, std::vector<std::string>> silent;
  for (const auto& [slot, players] : FindSoundPlayers(context.doc())) {
    if (table.find(slot) != nullptr) continue;
    std::set<std::size_t> objects;
    for (const SoundPlayer& p : players) objects.insert(p.moveable);
    for (const std::size_t m : objects) silent[m].push_back(std::to_string(slot));
  }
  for (const auto& [m, slots] : silent) {
    const bool one = slots.size() == 1;
    context.add(Severity::Note, "sound-slot-silent", "Moveables", static_cast<std::int64_t>(m),
                std::to_string(slots.size()) + (one ? " slot its animations play is" : " slots its animations play are") +
                    " silent, not in the WAD's sound table: " + joined(slots),
                {}, m);
  }
}

// A warning per slot that names samples the samples folder lacks.
void checkMissingSamples(CheckContext& context, const SoundTable& table, const SampleFolder& folder) {
  for (const auto& [number, slot] : table.slots) {
    std::vector<std::string> missing;
    for (const std::string& name : slot.samples) {
      if (!folder.find(name)) missing.push_back(name);
    }
    if (missing.empty()) continue;
    context.add(Severity::Warning, "sound-sample-missing", "sound slot", number,
                std::to_string(missing.size()) + " of its " + std::to_string(slot.samples.size()) +
                    " samples are not in the samples folder",
                joined(missing));
  }
}

// The .was lists the WAD's moveables first, in file order, by name.
void checkObjectList(CheckContext& context, const std::vector<ObjectListEntry>& entries,
                     const ObjectNameTables* names) {
  const WadDocument& doc = context.doc();
  const std::size_t objects = doc.Moveables.size() + doc.StaticMeshes.size();
  if (entries.size() < objects) {
    context.add(Severity::Note, "sound-was-object", ".was", -1,
                "the .was lists " + std::to_string(entries.size()) + " objects, fewer than the WAD's " +
                    std::to_string(doc.Moveables.size()) + " objects and " +
                    std::to_string(doc.StaticMeshes.size()) + " static meshes");
  }
  if (names == nullptr) return;
  const std::size_t lines = std::min(entries.size(), doc.Moveables.size());
  for (std::size_t i = 0; i < lines; ++i) {
    const std::string* name = names->ObjectName(doc.Moveables[i].ObjectID);
    if (name == nullptr || name->empty() || LowerCaseName(*name) == LowerCaseName(entries[i].name)) continue;
    context.add(Severity::Note, "sound-was-object", ".was line", static_cast<std::int64_t>(i),
                "names " + entries[i].name + " where the WAD's object " + std::to_string(i) + " is " + *name, {}, i);
  }
}

}  // namespace

void CheckSoundFiles(CheckContext& context) {
  const CheckSounds& sounds = context.sounds();
  if (sounds.set == nullptr) return;
  const SoundSet& set = *sounds.set;
  for (const std::string& failure : set.failures) {
    context.add(Severity::Error, "sound-file-unreadable", "sound files", -1, failure);
  }
  if (set.sounds) {
    for (const SoundProblem& p : set.sounds->problems) addProblem(context, p, ".sfx", ".sam line");
    checkSilentSlots(context, set.sounds->table);
    if (sounds.samples != nullptr) checkMissingSamples(context, set.sounds->table, *sounds.samples);
  }
  if (set.objects) {
    for (const SoundProblem& p : set.objects->problems) addProblem(context, p, ".was", ".was line");
    checkObjectList(context, set.objects->entries, sounds.names);
  }
}

}  // namespace tarnlow
