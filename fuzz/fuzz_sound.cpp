// Sound files: any .sfx bytes and .sam text read without failing into a
// table of slots 0 to 369; the table writes as a canonical pair that reads
// back without problems to the same table, and writing that again gives the
// same bytes. The .was reader takes the same text.
//
// Input: a 16-bit little-endian length L, L bytes of .sam text, then the
// .sfx bytes.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "fuzz/fuzz_support.h"
#include "sound/object_list.h"
#include "sound/sound_table.h"
#include "wad/wad_error.h"

using tarnlow::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::size_t samLength = size < 2 ? 0 : std::min<std::size_t>(size - 2, data[0] | (data[1] << 8));
  const std::size_t samAt = std::min<std::size_t>(size, 2);
  const std::string_view sam(reinterpret_cast<const char*>(data + samAt), samLength);
  const std::span<const std::uint8_t> sfx(data + samAt + samLength, size - samAt - samLength);

  const tarnlow::SoundFilesRead read = tarnlow::ReadSoundFiles(sfx, sam);
  bool truncated = false;
  for (const tarnlow::SoundProblem& p : read.problems) {
    truncated = truncated || p.kind == tarnlow::SoundProblemKind::SampleRangePastSam;
  }
  for (const auto& [number, slot] : read.table.slots) {
    Require(number >= 0 && number < tarnlow::kSoundSlots && slot.slot == number, "slots are 0 to 369, keyed by number");
    Require(slot.samples.size() <= static_cast<std::size_t>(slot.sampleCount()), "no more samples than the flags say");
    Require(slot.samples.size() == slot.sampleIndices.size(), "one carried index per sample");
    Require(truncated || slot.samples.size() == static_cast<std::size_t>(slot.sampleCount()),
            "every sample is there unless a range passes the .sam");
  }

  tarnlow::SoundFiles written;
  try {
    written = tarnlow::WriteSoundFiles(read.table);
  } catch (const tarnlow::WadError& e) {
    // Only a name with a line break inside it cannot be written back.
    Require(e.number() == tarnlow::kOverflow, "writing fails only for a name that cannot be written");
    return 0;
  }
  const tarnlow::SoundFilesRead again = tarnlow::ReadSoundFiles(written.sfx, written.sam);
  Require(again.problems.empty(), "a written pair has no problems");
  Require(truncated || again.table == read.table, "a written pair reads back to the same table");
  const tarnlow::SoundFiles twice = tarnlow::WriteSoundFiles(again.table);
  Require(twice.sfx == written.sfx && twice.sam == written.sam, "writing is stable");

  const tarnlow::ObjectListRead objects = tarnlow::ReadObjectList(sam);
  Require(objects.entries.empty() == sam.empty(), "a .was with text has lines");
  return 0;
}
