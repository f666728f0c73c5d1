#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "wad/byte_reader.h"
#include "wad/byte_writer.h"
#include "wad/bytes.h"
#include "wad/wad_document.h"

namespace tarnlow::fuzz {

// How fuzz_mesh reads its input, shared with the seed maker so that seeds
// start from real meshes:
//   byte        number of moveables m (taken modulo 9)
//   18 x m      moveable records as in the WAD file
//   byte        number of mesh pointers p (taken modulo 33)
//   4 x p       mesh pointers, 32-bit little-endian
//   the rest    MeshData (a zero byte is added when its length is odd)
// Bytes missing from the head read as zero.
struct MeshFuzzInput {
  static constexpr std::size_t kMaxMoveables = 8;
  static constexpr std::size_t kMaxPointers = 32;
  // A moveable may list up to 32767 meshes; each listing decodes every one
  // of them, so counts are folded into -64..64 to keep one input fast
  // while still reaching negative counts and positions past the table.
  static constexpr int kMeshCountFold = 65;

  std::vector<MoveableRecord> moveables;
  std::vector<std::int32_t> pointers;
  Bytes meshData;

  static MeshFuzzInput Decode(std::span<const std::uint8_t> bytes) {
    MeshFuzzInput in;
    ByteReader r(bytes, PastEnd::ReadsZero);
    const std::size_t moveables = r.u8() % (kMaxMoveables + 1);
    for (std::size_t i = 0; i < moveables; ++i) {
      MoveableRecord m = MoveableRecord::decode(r);
      m.NumMeshes = static_cast<std::int16_t>(m.NumMeshes % kMeshCountFold);
      in.moveables.push_back(m);
    }
    const std::size_t pointers = r.u8() % (kMaxPointers + 1);
    for (std::size_t i = 0; i < pointers; ++i) in.pointers.push_back(r.i32());
    if (r.position() < bytes.size()) in.meshData.assign(bytes.begin() + static_cast<std::ptrdiff_t>(r.position()), bytes.end());
    if (in.meshData.size() % 2 != 0) in.meshData.push_back(0);
    return in;
  }

  Bytes Encode() const {
    Bytes out;
    ByteWriter w(out);
    w.u8(static_cast<std::uint8_t>(moveables.size()));
    for (const MoveableRecord& m : moveables) m.encode(w);
    w.u8(static_cast<std::uint8_t>(pointers.size()));
    for (std::int32_t p : pointers) w.i32(p);
    w.bytes(meshData);
    return out;
  }

  // A document that holds just these sections; the others stay empty.
  WadDocument Document() const {
    WadDocument d;
    d.NumMeshPointers = static_cast<std::int32_t>(pointers.size());
    d.MeshPointers = RecordArray<std::int32_t>::fromRecords(std::span<const std::int32_t>(pointers));
    d.NumMeshData = static_cast<std::int32_t>(meshData.size() / 2);
    d.MeshData = meshData;
    d.NumMoveables = static_cast<std::int32_t>(moveables.size());
    d.Moveables = RecordArray<MoveableRecord>::fromRecords(std::span<const MoveableRecord>(moveables));
    return d;
  }
};

}  // namespace tarnlow::fuzz
