#include "edit/merge.h"

#include <cctype>
#include <span>

#include "edit/merge_plan.h"
#include "edit/merge_proof.h"
#include "edit/merge_sounds.h"
#include "wad/atomic_file.h"
#include "wad/file_lookup.h"
#include "wad/input_file.h"
#include "wad/scratch_file.h"
#include "wad/texture_rows.h"
#include "wad/wad_error.h"
#include "wad/wad_reader.h"
#include "wad/wad_writer.h"

namespace tarnlow {

namespace {

// A count below 1 in sections 1 to 11 (or texture data of less than a
// row): only the lenient reader takes the file.
bool hasEmptySections(const WadDocument& d) {
  for (std::int32_t count : {d.NumTextInfo, d.NumMeshPointers, d.NumMeshData, d.NumAnimations, d.NumStateChanges,
                             d.NumAnimDispatches, d.NumAnimCommands, d.NumMeshTrees, d.NumFrames, d.NumMoveables}) {
    if (count < 1) return true;
  }
  return TextureRowUpperBound(d.NumTextData) < 0;
}

Bytes fileBytes(const std::filesystem::path& path) {
  InputFile file(path);
  return file.take(file.size());
}

// The path beside `out` with `extension` in the letter case of out's own.
std::filesystem::path beside(const std::filesystem::path& out, std::string extension) {
  if (out.extension() == std::filesystem::path(".WAD")) {
    for (char& c : extension) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  }
  std::filesystem::path path = out;
  return path.replace_extension(extension);
}

void writeFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
  AtomicFile file(path);
  file.write(bytes);
  file.commit();
}

Bytes textBytes(const std::string& text) { return Bytes(text.begin(), text.end()); }

MergeResult build(const MergeRequest& request, const WadFileWriter& writer) {
  MergeResult result;
  BuiltPlan built = BuildPlan(request);
  const std::optional<SoundTable> table = MergeSoundTable(request, built);
  result.plan = built.plan;
  if (!built.plan.ok() || !built.assembly) return result;

  if (table) {
    try {
      SoundFiles files = WriteSoundFiles(*table);
      result.sfx = std::move(files.sfx);
      result.sam = std::move(files.sam);
    } catch (const WadError& e) {
      result.plan.refusals.push_back("OUT's sound files cannot be written: " + e.description());
      return result;
    }
  }
  result.was = MergeObjectList(request, built);
  if (const auto swd = FindFileIgnoringCase(std::filesystem::path(request.target.path).replace_extension(".swd"))) {
    result.swd = *swd;
  }

  const WadDocument& planned = built.assembly->document;
  result.readLeniently = hasEmptySections(planned);
  result.moveables = planned.Moveables.size();
  result.statics = planned.StaticMeshes.size();
  const ScratchFile scratch("merge.wad");
  if (writer) {
    writer(scratch.path(), planned);
  } else {
    WriteWAD(scratch.path(), planned, Durability::Scratch);
  }
  std::int64_t length = 0;
  WadDocument written;
  try {
    written = result.readLeniently ? ReadWADLenient(scratch.path(), length) : ReadWAD(scratch.path(), length);
  } catch (const WadError& e) {
    result.differences.push_back("OUT cannot be read back: " + std::string(e.what()));
    return result;
  }
  ProofFindings proof = ProveMerge(request, built, written);
  result.differences = std::move(proof.differences);
  if (table) {
    for (std::string& d : ProveSoundFiles(request, result.plan, *table, *result.sfx, *result.sam)) {
      result.differences.push_back(std::move(d));
    }
  }
  result.carried = std::move(proof.carried);
  result.proven = result.differences.empty();
  result.wad = std::move(written);
  return result;
}

}  // namespace

MergePlan PlanMerge(const MergeRequest& request) {
  BuiltPlan built = BuildPlan(request);
  MergeSoundTable(request, built);
  return built.plan;
}

MergeResult MergeWads(const MergeRequest& request, const WadFileWriter& writer) { return build(request, writer); }

MergeResult RemoveObjects(const MergeRequest& request, const WadFileWriter& writer) {
  MergeRequest removal = request;
  removal.sources.clear();
  return build(removal, writer);
}

void WriteMergedSet(const MergeResult& result, const std::filesystem::path& out) {
  if (!result.proven) throw WadError(kSubscriptOutOfRange, "the merged WAD is not proven; nothing was written");
  if (result.swd) {
    const std::filesystem::path swd = beside(out, ".swd");
    std::error_code ec;
    if (!std::filesystem::equivalent(*result.swd, swd, ec)) writeFile(swd, fileBytes(*result.swd));
  }
  if (result.sfx) writeFile(beside(out, ".sfx"), *result.sfx);
  if (result.sam) writeFile(beside(out, ".sam"), textBytes(*result.sam));
  if (result.was) writeFile(beside(out, ".was"), textBytes(*result.was));
  WriteWAD(out, result.wad);
}

}  // namespace tarnlow
