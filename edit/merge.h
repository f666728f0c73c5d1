#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "anim/finding.h"
#include "wad/bytes.h"
#include "wad/object_names.h"
#include "wad/wad_document.h"

namespace tarnlow {

struct SoundTable;

// Where a chosen object or static goes in the target.
enum class Placement {
  SameSlot,   // the slot it holds in its source
  Slot,       // the slot named by ObjectChoice::slot
  FirstFree,  // the first slot of its family that the result leaves free
};

// One object or static of a WAD, chosen as the command line names it: its
// slot name as the object (or static) list shows it, or its position in
// that list as decimal text ("12").
struct ObjectChoice {
  bool isStatic = false;
  std::string name;
  Placement placement = Placement::SameSlot;
  std::string slot;  // Placement::Slot: the destination slot's name
};

// One WAD of a merge, as the caller read it. The pointers must outlive the
// call they are passed to.
struct MergeWad {
  std::filesystem::path path;                 // for messages ("carried from PATH") and its set's files
  const WadDocument* document = nullptr;
  const SoundTable* sounds = nullptr;         // its .sfx/.sam table; nullptr when the set has none
  std::optional<std::string> objectList;      // its .was text, when there is one
};

// A source WAD and what is taken from it.
struct MergeSource {
  MergeWad wad;
  std::vector<ObjectChoice> choices;
};

// What to do with a slot that a moved object plays and both sound tables
// define differently.
enum class SoundChoice {
  KeepTarget,  // the target's entry stays; the conflict is listed
  TakeSource,  // the source's entry replaces it
};

// Everything a merge or a removal is asked to do.
struct MergeRequest {
  MergeWad target;
  std::vector<MergeSource> sources;
  std::vector<ObjectChoice> remove;    // of the target; placement is ignored
  bool replace = false;                // a taken slot is replaced instead of refused
  bool withLeads = false;              // objects that moved animations lead into come along
  SoundChoice sounds = SoundChoice::KeepTarget;
  const ObjectNameTables* names = nullptr;  // slot names and families; nullptr: slots by number only
  std::optional<std::filesystem::path> samplesFolder;  // samples added sounds need are looked for here
};

// An animation of a moved object that leads to another object's animation.
struct MergeLead {
  std::size_t animation = 0;     // within the moved object, from 0
  std::int32_t slot = 0;         // the object it leads into
  std::string slotName;
  std::size_t intoAnimation = 0; // within that object
  bool present = false;          // the result holds that object with that animation
};

// How one sound slot a moved object plays comes into the result.
enum class SoundOutcome {
  Added,       // the target lacked it: the source's entry is added
  Equal,       // both define it alike
  Conflict,    // both define it differently: the target's stays
  Taken,       // both define it differently: the source's replaces it
  Undefined,   // the source defines it not (silent in both): nothing changes
};

struct MergeSound {
  int slot = 0;
  SoundOutcome outcome = SoundOutcome::Undefined;
  // Conflict and Taken: the target's other objects that play the slot.
  std::vector<std::string> alsoPlayedBy;
};

// One object or static of the result that comes from a source.
struct MovedObject {
  bool isStatic = false;
  std::size_t sourceIndex = 0;     // which MergeRequest::sources
  std::size_t sourcePosition = 0;  // in that WAD's object (or static) list
  std::int32_t sourceSlot = 0;
  std::string sourceName;
  std::int32_t slot = 0;           // where it goes
  std::string slotName;
  bool replaces = false;           // the target's object in that slot goes
  bool cameAsLead = false;         // added by withLeads
  std::size_t meshesNew = 0, meshesShared = 0;
  std::size_t animations = 0;
  std::size_t rectanglesNew = 0, rectanglesShared = 0;
  std::vector<MergeLead> leads;
  std::vector<MergeSound> sounds;
};

// A target object or static left out of the result.
struct RemovedObject {
  bool isStatic = false;
  std::int32_t slot = 0;
  std::string name;
  bool replaced = false;  // by a moved object, not by MergeRequest::remove
};

// What a merge will do, shown before anything is written. When `refusals`
// is not empty nothing can be built: each entry says why, naming the object
// or slot.
struct MergePlan {
  std::vector<MovedObject> moved;
  std::vector<RemovedObject> removed;
  std::vector<std::string> refusals;
  std::vector<std::string> missingSamples;  // sample names samplesFolder lacks
  bool ok() const { return refusals.empty(); }
};

// A finding of the result's check that the moved object already had in its
// source WAD.
struct CarriedFinding {
  Finding finding;  // about OUT's records
  std::filesystem::path source;
};

// The whole result: the files of OUT's set, and the proof's verdict. Nothing
// of it is on disk until WriteMergedSet.
struct MergeResult {
  MergePlan plan;
  bool proven = false;
  std::vector<std::string> differences;   // what the proof found; empty when proven
  std::vector<CarriedFinding> carried;
  WadDocument wad;                         // OUT's .wad as read back (and proven when `proven`):
                                           // the writer gives its bytes again, byte for byte
  std::optional<Bytes> sfx;                // OUT's .sfx and .sam, when the set has sounds
  std::optional<std::string> sam;
  std::optional<std::string> was;          // OUT's .was, when the target had one
  std::optional<std::filesystem::path> swd;  // the target's .swd, copied as OUT's
  std::size_t moveables = 0, statics = 0;  // what OUT holds
  bool readLeniently = false;              // OUT has empty sections
};

// Writes a document to a file. The merge writes through it so that tests
// can hand it a broken writer; WriteWAD is the one every user gets.
using WadFileWriter = std::function<void(const std::filesystem::path&, const WadDocument&)>;

// Works out what the request would do without building anything. Never
// throws: what cannot be done is in `refusals`.
MergePlan PlanMerge(const MergeRequest& request);

// Builds the result in memory, reads its bytes back and proves it: every
// moved object equals its source by content, every other object equals the
// target's, the sound table is what was asked, and the result's check adds
// only findings the moved objects had in their sources. Writes nothing to
// OUT. When the plan is refused or the proof fails, `proven` is false and
// `plan.refusals` or `differences` say why. Throws WadError only when the
// temporary file for the proof cannot be written or read.
MergeResult MergeWads(const MergeRequest& request, const WadFileWriter& writer = {});

// The same for a request with only `remove` filled (sources are ignored):
// everything else stays; meshes, texture rectangles and animations that
// only the removed objects used are gone.
MergeResult RemoveObjects(const MergeRequest& request, const WadFileWriter& writer = {});

// Writes a proven result as OUT's set: `out` (the .wad) and the .swd, .sfx,
// .sam and .was beside it with the same name, each atomically, the .wad
// last. Throws WadError(kSubscriptOutOfRange) for a result that is not
// proven (nothing is written), and WadError with errno and its text when a
// file cannot be written (files already written stay).
void WriteMergedSet(const MergeResult& result, const std::filesystem::path& out);

}  // namespace tarnlow
