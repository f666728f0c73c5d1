// Lenient WAD reader: any bytes give a document, never a failure; it holds
// no more than the file, its arrays agree with its counts, it is what the
// specified reader gives whenever that one takes the file, and written back
// it is the part of the input that was read when the file was not cut short.

#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_support.h"
#include "fuzz/wad_round_trip.h"
#include "wad/texture_rows.h"
#include "wad/wad_error.h"
#include "wad/wad_reader.h"
#include "wad/wad_writer.h"

namespace {

using tarnlow::fuzz::Require;

std::uint64_t Promised(std::int64_t count) { return count > 0 ? static_cast<std::uint64_t>(count) : 0; }

bool ArraysAgreeWithCounts(const tarnlow::WadDocument& d) {
  return d.TextInfo.size() == Promised(d.NumTextInfo) &&
         d.TextData.size() == Promised(std::int64_t{tarnlow::TextureRowUpperBound(d.NumTextData)} + 1) &&
         d.MeshPointers.size() == Promised(d.NumMeshPointers) && d.MeshData.size() == 2 * Promised(d.NumMeshData) &&
         d.Animations.size() == Promised(d.NumAnimations) && d.StateChanges.size() == Promised(d.NumStateChanges) &&
         d.AnimDispatches.size() == Promised(d.NumAnimDispatches) &&
         d.AnimCommands.size() == Promised(d.NumAnimCommands) && d.MeshTrees.size() == Promised(d.NumMeshTrees) &&
         d.Frames.size() == Promised(d.NumFrames) && d.Moveables.size() == Promised(d.NumMoveables) &&
         d.StaticMeshes.size() == Promised(d.NumStaticMeshes);
}

std::uint64_t StoredBytes(const tarnlow::WadDocument& d) {
  return d.TextInfo.storedBytes().size() + d.TextData.storedBytes().size() + d.MeshPointers.storedBytes().size() +
         d.MeshData.size() + d.Animations.storedBytes().size() + d.StateChanges.storedBytes().size() +
         d.AnimDispatches.storedBytes().size() + d.AnimCommands.storedBytes().size() +
         d.MeshTrees.storedBytes().size() + d.Frames.storedBytes().size() + d.Moveables.storedBytes().size() +
         d.StaticMeshes.storedBytes().size();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const tarnlow::fuzz::ScratchFile input("input.wad");
  static const tarnlow::fuzz::ScratchFile output("output.wad");
  input.write(data, size);

  std::int64_t length = -1;
  const tarnlow::WadDocument document = tarnlow::ReadWADLenient(input.path(), length);
  const tarnlow::WadReading& reading = document.reading;
  Require(length == static_cast<std::int64_t>(size) && reading.fileLength == size, "the length is the file's");
  Require(reading.end <= size, "reading ends inside the file");
  Require(reading.cutShort() ? reading.trailingBytes == 0 : reading.trailingBytes == size - reading.end,
          "trailing bytes are what follows the static meshes");
  Require(ArraysAgreeWithCounts(document), "every array holds what its count says");
  Require(StoredBytes(document) <= size, "the document holds no more than the file");

  try {
    std::int64_t specifiedLength = -1;
    const tarnlow::WadDocument specified = tarnlow::ReadWAD(input.path(), specifiedLength);
    Require(specified == document && specified.reading == reading, "a file ReadWAD takes reads alike");
  } catch (const tarnlow::WadError&) {
    Require(reading.cutShort() || reading.hasEmptySections(), "ReadWAD refuses only what the reading records");
  }

  if (tarnlow::fuzz::WrittenSize(document) > tarnlow::fuzz::kMaxRoundTripBytes) return 0;
  tarnlow::WriteWAD(output.path(), document);
  const std::string written = output.read();
  Require(written.size() == tarnlow::fuzz::WrittenSize(document), "the writer writes every array with all its records");
  if (!reading.cutShort()) {
    Require(written.size() == reading.end && written == std::string(data, data + reading.end),
            "a file not cut short is written back byte for byte up to where reading ended");
  }
  std::int64_t againLength = -1;
  Require(tarnlow::ReadWADLenient(output.path(), againLength) == document, "a written document reads back equal");
  return 0;
}
