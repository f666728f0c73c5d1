#include "wad/wad_writer.h"

#include <cstdint>
#include <string>

#include "wad/atomic_file.h"
#include "wad/byte_writer.h"
#include "wad/texture_rows.h"
#include "wad/wad_error.h"

namespace tarnlow {

namespace {

// Records a count promises: none for a count below 1, which no document the
// reader returns holds in sections 1 to 11, but an empty document does.
std::uint64_t promised(std::int64_t count) { return count > 0 ? static_cast<std::uint64_t>(count) : 0; }

void requireSize(const char* array, std::uint64_t held, const char* countName, std::int32_t count,
                 std::uint64_t expected) {
  if (held == expected) return;
  throw WadError(kSubscriptOutOfRange,
                 "Subscript out of range: " + std::string(array) + " holds " + std::to_string(held) + " elements but " +
                     countName + " is " + std::to_string(count) + ", which calls for " + std::to_string(expected) +
                     "; nothing was written",
                 array);
}

// Every array must match its count before the disk is touched: a file whose
// counts lie about its arrays could not be read back.
void validate(const WadDocument& d) {
  requireSize("TextInfo", d.TextInfo.size(), "NumTextInfo", d.NumTextInfo, promised(d.NumTextInfo));
  requireSize("TextData", d.TextData.size(), "NumTextData", d.NumTextData,
              promised(std::int64_t{TextureRowUpperBound(d.NumTextData)} + 1));
  requireSize("MeshPointers", d.MeshPointers.size(), "NumMeshPointers", d.NumMeshPointers, promised(d.NumMeshPointers));
  requireSize("MeshData", d.MeshData.size(), "NumMeshData", d.NumMeshData, 2 * promised(d.NumMeshData));
  requireSize("Animations", d.Animations.size(), "NumAnimations", d.NumAnimations, promised(d.NumAnimations));
  requireSize("StateChanges", d.StateChanges.size(), "NumStateChanges", d.NumStateChanges, promised(d.NumStateChanges));
  requireSize("AnimDispatches", d.AnimDispatches.size(), "NumAnimDispatches", d.NumAnimDispatches,
              promised(d.NumAnimDispatches));
  requireSize("AnimCommands", d.AnimCommands.size(), "NumAnimCommands", d.NumAnimCommands, promised(d.NumAnimCommands));
  requireSize("MeshTrees", d.MeshTrees.size(), "NumMeshTrees", d.NumMeshTrees, promised(d.NumMeshTrees));
  requireSize("Frames", d.Frames.size(), "NumFrames", d.NumFrames, promised(d.NumFrames));
  requireSize("Moveables", d.Moveables.size(), "NumMoveables", d.NumMoveables, promised(d.NumMoveables));
  requireSize("StaticMeshes", d.StaticMeshes.size(), "NumStaticMeshes", d.NumStaticMeshes, promised(d.NumStaticMeshes));
}

void writeI32(AtomicFile& out, std::int32_t value) {
  Bytes bytes;
  ByteWriter(bytes).i32(value);
  out.write(bytes);
}

// The count as stored, the bytes held, then zeros for the records a short
// file supplied as zeros: the array is written from where it lies, with no
// second copy.
template <typename T>
void writeSection(AtomicFile& out, std::int32_t count, const RecordArray<T>& records) {
  writeI32(out, count);
  out.write(records.storedBytes());
  out.writeZeros(records.byteSize() - records.storedBytes().size());
}

}  // namespace

void WriteWAD(const std::filesystem::path& path, const WadDocument& document, Durability durability) {
  validate(document);
  AtomicFile out(path, durability);
  writeI32(out, document.Version);
  writeSection(out, document.NumTextInfo, document.TextInfo);
  writeSection(out, document.NumTextData, document.TextData);
  writeSection(out, document.NumMeshPointers, document.MeshPointers);
  writeI32(out, document.NumMeshData);
  out.write(document.MeshData);
  writeSection(out, document.NumAnimations, document.Animations);
  writeSection(out, document.NumStateChanges, document.StateChanges);
  writeSection(out, document.NumAnimDispatches, document.AnimDispatches);
  writeSection(out, document.NumAnimCommands, document.AnimCommands);
  writeSection(out, document.NumMeshTrees, document.MeshTrees);
  writeSection(out, document.NumFrames, document.Frames);
  writeSection(out, document.NumMoveables, document.Moveables);
  writeSection(out, document.NumStaticMeshes, document.StaticMeshes);
  out.commit();
}

}  // namespace tarnlow
