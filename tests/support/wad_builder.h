#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "wad/mesh_record.h"
#include "wad/bytes.h"
#include "wad/wad_document.h"

namespace tarnlow::test {

// Builds consistent documents: every count matches its array. Starts from the
// smallest document the reader accepts, one zero record in every section
// (one texture row, no static meshes); each setter replaces one section.
class WadBuilder {
 public:
  WadBuilder();

  WadBuilder& version(std::int32_t v) {
    doc_.Version = v;
    return *this;
  }
  WadBuilder& textInfo(const std::vector<TextInfoRecord>& r) { return set(doc_.NumTextInfo, doc_.TextInfo, r); }
  // `rows` texture rows, filled by `pixel(x, y)`; NumTextData = 768 x rows.
  WadBuilder& textureRows(std::int32_t rows);
  // Encodes the meshes one after another into MeshData (padded to whole
  // words) and points MeshPointers at their starts.
  WadBuilder& meshes(const std::vector<MeshRecord>& meshes);
  WadBuilder& meshPointers(const std::vector<std::int32_t>& r) { return set(doc_.NumMeshPointers, doc_.MeshPointers, r); }
  // Raw mesh data; padded with one zero byte when its length is odd.
  WadBuilder& meshData(Bytes data);
  WadBuilder& animations(const std::vector<AnimationRecord>& r) { return set(doc_.NumAnimations, doc_.Animations, r); }
  WadBuilder& stateChanges(const std::vector<StateChangeRecord>& r) { return set(doc_.NumStateChanges, doc_.StateChanges, r); }
  WadBuilder& animDispatches(const std::vector<AnimDispatchRecord>& r) { return set(doc_.NumAnimDispatches, doc_.AnimDispatches, r); }
  WadBuilder& animCommands(const std::vector<std::int16_t>& r) { return set(doc_.NumAnimCommands, doc_.AnimCommands, r); }
  WadBuilder& meshTrees(const std::vector<std::int32_t>& r) { return set(doc_.NumMeshTrees, doc_.MeshTrees, r); }
  WadBuilder& frames(const std::vector<std::int16_t>& r) { return set(doc_.NumFrames, doc_.Frames, r); }
  WadBuilder& moveables(const std::vector<MoveableRecord>& r) { return set(doc_.NumMoveables, doc_.Moveables, r); }
  WadBuilder& staticMeshes(const std::vector<StaticMeshRecord>& r) { return set(doc_.NumStaticMeshes, doc_.StaticMeshes, r); }

  WadDocument build() const { return doc_; }

 private:
  // Replaces one record section; its count is the number of records given.
  template <typename T>
  WadBuilder& set(std::int32_t& count, RecordArray<T>& array, const std::vector<T>& records) {
    count = static_cast<std::int32_t>(records.size());
    array = RecordArray<T>::fromRecords(std::span<const T>(records));
    return *this;
  }

  WadDocument doc_;
};

// A moveable with the given id, mesh count and first mesh.
MoveableRecord Moveable(std::int32_t objectId, std::int16_t numMeshes, std::int16_t startingMesh);

// A static mesh record for slot `objectId` whose mesh stands at position
// `mesh` of MeshPointers (its boxes and flags zero).
StaticMeshRecord StaticMeshAt(std::int32_t objectId, std::int16_t mesh);

// The placeholder mesh: the five null-shape vertices, one normal, no faces.
MeshRecord NullShapeMesh();
// A small real mesh: `vertices` vertices on a line, one normal, one triangle.
MeshRecord SimpleMesh(std::int16_t vertices = 3);
// One quad: a square of side 2 x `half` around (x, 0, z) in a plane of
// constant Z, facing -Z, showing texture record `texture`.
MeshRecord SquareMesh(std::int16_t half, std::int16_t z = 0, std::int16_t x = 0, std::int16_t texture = 0);

// The file bytes of a document, as WriteWAD writes them.
Bytes WadFileBytes(const WadDocument& document);

// An SWD file: its first word -3, each count as given, then `dataBytes`
// bytes after it of a pattern that tells the sections apart (section s
// holds 50 s + 1 onwards).
Bytes SwdFileBytes(std::array<std::int32_t, 3> counts, std::array<std::size_t, 3> dataBytes = {});

// A WAD file section by section, so that tests can set any count to any
// value and any data block to any length, independently.
struct WadLayout {
  static constexpr int kSections = 12;
  std::int32_t version = 0;
  std::array<std::int32_t, kSections> counts{};  // NumTextInfo ... NumStaticMeshes
  std::array<Bytes, kSections> data{};           // the bytes after each count

  // The layout of a consistent document.
  static WadLayout Of(const WadDocument& document);
  // The file bytes: version, then each count and its data.
  Bytes bytes() const;
  // Offset in bytes() of section `index`'s count (0-based: 0 is NumTextInfo).
  std::size_t countOffset(int index) const;
};

// Section names in file order, for test traces: "NumTextInfo" ... "NumStaticMeshes".
inline constexpr std::array<const char*, WadLayout::kSections> kSectionNames = {
    "NumTextInfo",   "NumTextData",     "NumMeshPointers",   "NumMeshData",     "NumAnimations", "NumStateChanges",
    "NumAnimDispatches", "NumAnimCommands", "NumMeshTrees", "NumFrames", "NumMoveables", "NumStaticMeshes"};

}  // namespace tarnlow::test
