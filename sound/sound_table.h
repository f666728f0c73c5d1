#pragma once

#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "wad/bytes.h"

namespace tarnlow {

// The sound slots the game knows: the .sfx map has one entry for each.
inline constexpr int kSoundSlots = 370;
// The most samples one slot can name: six bits of its flag word.
inline constexpr int kMaxSlotSamples = 63;

// How a slot's sound repeats, bits 0-1 of its flag word. Mode 1 has no public
// description; "wait" is the name the level tools give it.
enum class LoopMode { Normal = 0, Wait = 1, Restart = 2, Looped = 3 };

// "normal", "wait", "restart" or "looped".
const char* LoopModeName(LoopMode mode);

// One defined sound slot: how it plays and the samples it picks from.
struct SoundSlot {
  int slot = 0;                // 0 to 369
  std::uint8_t volume = 0;     // 0 to 255
  std::uint8_t range = 0;      // in sectors
  std::uint8_t chance = 0;     // 0 = always, else out of 255
  std::int8_t pitch = 0;       // signed, as stored
  std::uint16_t flags = 0;     // the flag word as stored
  std::vector<std::string> samples;  // the WAV names it plays, in order (UTF-8)
  // The .sfx's sample indices of those samples. The game does not use them
  // to find a sample; they are carried unchanged, 0 for samples added later.
  std::vector<std::uint32_t> sampleIndices;

  LoopMode loopMode() const { return static_cast<LoopMode>(flags & 3); }
  // The sample count n stored in the flag word (the slot plays one of n).
  int sampleCount() const { return (flags >> 2) & 0x3F; }
  bool noPanning() const { return (flags & 0x1000) != 0; }
  bool randomPitch() const { return (flags & 0x2000) != 0; }
  bool randomVolume() const { return (flags & 0x4000) != 0; }

  // Equal by what the game plays: volume, range, chance, pitch, flags and the
  // sample names, compared without letter case (their case varies between
  // files). The slot number and the carried indices are not compared.
  friend bool operator==(const SoundSlot& a, const SoundSlot& b);
};

// The defined slots of a WAD set's sound table, by slot number.
struct SoundTable {
  std::map<int, SoundSlot> slots;

  // The slot, or nullptr when the table does not define it.
  const SoundSlot* find(int slot) const;
  // The number of sample names all slots play (a name counted once per slot
  // that plays it): the line count of the .sam written from this table.
  std::size_t sampleCount() const;

  // Equal when both define the same slots, each equal by content.
  friend bool operator==(const SoundTable&, const SoundTable&) = default;
};

// What can be wrong with a pair of sound files. Readers keep going after
// each; the table holds what could be made of the rest.
enum class SoundProblemKind {
  SfxCutShort,           // the .sfx ends inside its map, infos or sample indices
  TrailingBytes,         // bytes after the last sample index
  MapEntryPastInfos,     // a slot maps to an info that does not exist; the slot is unused
  SampleCountDisagrees,  // the .sfx's sample count is not the .sam's line count
  SampleRangePastSam,    // a slot's samples run past the .sam's last line
  NotCanonical,          // infos or samples not in slot order, or shared; writing reorders them
  SamLineUnused,         // a .sam line that no slot plays
  WasEmpty,              // a 0-byte .was
  WasLineWithoutColon,   // a .was line with no NAME:PATH split
};

// One problem, for a person (`text`) and for a program (`kind`, and the
// slot or line it is about when there is one).
struct SoundProblem {
  SoundProblemKind kind;
  std::string text;
  int slot = -1;  // the sound slot, or -1
  int line = -1;  // the .sam or .was line from 0, or -1
};

// A table as read, with what was wrong in its files.
struct SoundFilesRead {
  SoundTable table;
  std::vector<SoundProblem> problems;
  std::size_t samLines = 0;  // lines of the .sam
};

// Reads a .sfx (`sfx`, its bytes) and its .sam (`sam`, the file's text;
// Windows-1252 names are returned as UTF-8). Never fails: whatever does not
// make sense is said in `problems` and read as far as it goes (a .sfx cut
// short keeps the infos it holds whole). A map entry
// that is not an existing info leaves its slot undefined; a slot whose
// sample range passes the .sam's end keeps the names that exist; nothing is
// allocated from a count before the file is seen to hold what it counts.
SoundFilesRead ReadSoundFiles(std::span<const std::uint8_t> sfx, std::string_view sam);

// A .sfx and .sam pair as files hold it.
struct SoundFiles {
  Bytes sfx;
  std::string sam;
};

// The canonical pair for `table`: infos in slot order, each slot's samples
// one range of .sam lines after the previous slot's, the sample count in each
// flag word set from the slot's names. Reading a canonical pair and writing
// it gives its bytes back. Throws WadError(kSubscriptOutOfRange) for a slot
// outside 0 to 369 or with more than 63 samples, and WadError(kOverflow) for
// a sample name that Windows-1252 cannot encode or that holds a line break.
SoundFiles WriteSoundFiles(const SoundTable& table);

}  // namespace tarnlow
