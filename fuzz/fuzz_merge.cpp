// Merging: the first object of a fuzzed source (read as far as it goes)
// moved into a clean target, with its leads and over whatever holds its
// slot, and removed from the fuzzed WAD itself. Never a crash; a result
// either proves, with OUT's bytes readable and holding what the result
// counts, or it is refused with the reason.

#include <cstddef>
#include <cstdint>

#include "edit/merge.h"
#include "fuzz/fuzz_support.h"
#include "tests/support/object_wad.h"
#include "wad/wad_error.h"
#include "wad/wad_reader.h"
#include "wad/wad_writer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const tarnlow::fuzz::ScratchFile input("merge-source.wad");
  static const tarnlow::fuzz::ScratchFile output("merge-out.wad");
  static const tarnlow::WadDocument target =
      tarnlow::test::ObjectWad({{0, {1, 2}, 2, {5}}, {20, {3}, 1}}, {{0, 4}});
  static const auto names = tarnlow::test::TestNames();
  input.write(data, size);

  std::int64_t length = 0;
  const tarnlow::WadDocument source = tarnlow::ReadWADLenient(input.path(), length);
  if (source.Moveables.empty()) return 0;
  tarnlow::MergeRequest request;
  request.target = {"target.wad", &target};
  request.sources.push_back({{"source.wad", &source}, {{false, "0"}}});
  request.replace = true;
  request.withLeads = true;
  request.names = names.get();

  // The fuzzed WAD as a target too: its first object left out, every other
  // proven unchanged, however broken its records are.
  tarnlow::MergeRequest removal;
  removal.target = {"source.wad", &source};
  removal.remove.push_back({false, "0"});
  removal.names = names.get();
  const tarnlow::MergeResult removed = tarnlow::RemoveObjects(removal);
  tarnlow::fuzz::Require(removed.proven == (removed.plan.ok() && removed.differences.empty()),
                         "a removal proves exactly when nothing refused or differed");
  tarnlow::fuzz::Require(!removed.proven || removed.moveables + 1 == source.Moveables.size(),
                         "a proven removal holds one object fewer");

  const tarnlow::MergeResult result = tarnlow::MergeWads(request);
  tarnlow::fuzz::Require(result.proven == (result.plan.ok() && result.differences.empty()),
                         "a result proves exactly when nothing refused or differed");
  tarnlow::fuzz::Require(result.proven || !result.plan.refusals.empty() || !result.differences.empty(),
                         "a result that does not prove says why");
  if (!result.proven) return 0;
  tarnlow::WriteWAD(output.path(), result.wad, tarnlow::Durability::Scratch);
  std::int64_t outLength = 0;
  const tarnlow::WadDocument out = tarnlow::ReadWADLenient(output.path(), outLength);
  tarnlow::fuzz::Require(out.Moveables.size() == result.moveables && out.StaticMeshes.size() == result.statics,
                         "OUT holds the objects the result counts");
  return 0;
}
