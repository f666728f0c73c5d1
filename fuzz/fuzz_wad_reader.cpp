// WAD reader: any bytes either give a document or a WadError with one of the
// numbers a WAD can cause; a document written back reads as the same
// document, and the written file is the part of the input the reader took.

#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_support.h"
#include "fuzz/wad_round_trip.h"
#include "wad/wad_error.h"
#include "wad/wad_reader.h"
#include "wad/wad_writer.h"

namespace {

using tarnlow::fuzz::Require;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const tarnlow::fuzz::ScratchFile input("input.wad");
  static const tarnlow::fuzz::ScratchFile output("output.wad");
  input.write(data, size);

  tarnlow::WadDocument document;
  std::int64_t length = -1;
  try {
    document = tarnlow::ReadWAD(input.path(), length);
  } catch (const tarnlow::WadError& e) {
    Require(e.number() == tarnlow::kOverflow || e.number() == tarnlow::kOutOfMemory ||
                e.number() == tarnlow::kSubscriptOutOfRange,
            "a WAD fails only with 6, 7 or 9");
    Require(!e.description().empty(), "a failure has a description");
    return 0;
  }
  Require(length == static_cast<std::int64_t>(size), "WadFileLength is the file's length");
  Require(document.MeshRecords.empty(), "the reader leaves MeshRecords empty");
  Require(document.MeshData.size() == 2 * static_cast<std::uint64_t>(document.NumMeshData),
          "MeshData holds twice NumMeshData bytes");
  Require(document.Moveables.size() == static_cast<std::uint64_t>(document.NumMoveables),
          "Moveables holds NumMoveables records");
  Require(document.NumStaticMeshes > 0 ? document.StaticMeshes.size() == static_cast<std::uint64_t>(document.NumStaticMeshes)
                                       : document.StaticMeshes.empty(),
          "StaticMeshes follows its count");
  if (tarnlow::fuzz::WrittenSize(document) > tarnlow::fuzz::kMaxRoundTripBytes) return 0;

  tarnlow::WriteWAD(output.path(), document);
  const std::string written = output.read();
  Require(written.size() == tarnlow::fuzz::WrittenSize(document), "the writer writes every array with all its records");
  // What the reader consumed, with zeros where the file was short.
  for (std::size_t i = 0; i < written.size(); ++i) {
    const std::uint8_t expected = i < size ? data[i] : 0;
    if (static_cast<std::uint8_t>(written[i]) != expected) Require(false, "the written file is the consumed input");
  }

  std::int64_t againLength = -1;
  const tarnlow::WadDocument again = tarnlow::ReadWAD(output.path(), againLength);
  Require(again == document, "a written document reads back equal");
  return 0;
}
