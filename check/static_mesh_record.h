#pragma once

#include <cstdint>

#include "wad/byte_reader.h"
#include "wad/wad_records.h"

namespace tarnlow {

// The head of a static mesh record: ObjectID (32 bits), then the position
// of its mesh in MeshPointers (16 bits); its two boxes and flags follow.
struct StaticMeshHead {
  std::int32_t objectId = 0;
  std::int16_t mesh = 0;
};

// Never fails: a short record reads as zeros.
inline StaticMeshHead ReadStaticMesh(const StaticMeshRecord& record) {
  ByteReader r(record.Bytes, PastEnd::ReadsZero);
  StaticMeshHead head;
  head.objectId = r.i32();
  head.mesh = r.i16();
  return head;
}

}  // namespace tarnlow
