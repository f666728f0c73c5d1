#pragma once

#include <cstdint>
#include <tuple>
#include <vector>

#include "wad/mesh_record.h"
#include "wad/bytes.h"
#include "wad/record_array.h"
#include "wad/wad_reading.h"
#include "wad/wad_records.h"

namespace tarnlow {

// The in-memory image of one WAD file, fields in file order. A plain value:
// copies are deep. Counts stay exactly as read and stand beside their
// arrays; they are never recomputed from the arrays.
//
// A document the reader returned satisfies:
//  - every array holds as many records as its count says (MeshData holds
//    2 x NumMeshData bytes, TextData R rows of 256 pixels, StaticMeshes is
//    empty when NumStaticMeshes <= 0), a count below 1 meaning none;
//  - every count but NumStaticMeshes is at least 1 (ReadWADLenient: a count
//    below 1 stays as read, its section empty; see `reading`);
//  - MeshRecords is empty.
// A default-constructed document is empty: every count 0, every array empty.
struct WadDocument {
  std::int32_t Version = 0;
  std::int32_t NumTextInfo = 0;
  RecordArray<TextInfoRecord> TextInfo;
  // Bytes of texture data as stored; the rows follow from TextureRowCount().
  std::int32_t NumTextData = 0;
  RecordArray<TextureRow> TextData;
  std::int32_t NumMeshPointers = 0;
  RecordArray<std::int32_t> MeshPointers;
  // 16-bit words of mesh data; MeshData holds twice as many bytes.
  std::int32_t NumMeshData = 0;
  Bytes MeshData;
  // No file section: nothing fills it when reading, nothing writes it.
  std::vector<MeshRecord> MeshRecords;
  std::int32_t NumAnimations = 0;
  RecordArray<AnimationRecord> Animations;
  std::int32_t NumStateChanges = 0;
  RecordArray<StateChangeRecord> StateChanges;
  std::int32_t NumAnimDispatches = 0;
  RecordArray<AnimDispatchRecord> AnimDispatches;
  std::int32_t NumAnimCommands = 0;
  RecordArray<std::int16_t> AnimCommands;
  std::int32_t NumMeshTrees = 0;
  RecordArray<std::int32_t> MeshTrees;
  std::int32_t NumFrames = 0;
  RecordArray<std::int16_t> Frames;
  std::int32_t NumMoveables = 0;
  RecordArray<MoveableRecord> Moveables;
  std::int32_t NumStaticMeshes = 0;
  RecordArray<StaticMeshRecord> StaticMeshes;

  // Pixel x (0-255) of texture row y. Precondition: y < TextData.size().
  TexturePixel Pixel(int x, std::size_t y) const {
    ByteReader r(TextData.storedBytes(), PastEnd::ReadsZero, y * TextureRow::kFileSize + static_cast<std::size_t>(x) * 3);
    return TexturePixel::decode(r);
  }

  // How the file was read: where it ended, which sections were empty, short
  // or missing. Not part of the contents: it takes no part in ==.
  WadReading reading;

 private:
  auto contents() const {
    return std::tie(Version, NumTextInfo, TextInfo, NumTextData, TextData, NumMeshPointers, MeshPointers, NumMeshData,
                    MeshData, MeshRecords, NumAnimations, Animations, NumStateChanges, StateChanges, NumAnimDispatches,
                    AnimDispatches, NumAnimCommands, AnimCommands, NumMeshTrees, MeshTrees, NumFrames, Frames,
                    NumMoveables, Moveables, NumStaticMeshes, StaticMeshes);
  }

 public:
  // Equal contents, however each document was read.
  friend bool operator==(const WadDocument& a, const WadDocument& b) { return a.contents() == b.contents(); }
};

}  // namespace tarnlow
