#pragma once

#include <cstdint>
#include <vector>

#include "wad/bytes.h"
#include "wad/mesh_record.h"
#include "wad/wad_document.h"

namespace tarnlow::test {

// A WAD as one field per section, so that a test can change one thing and
// build it.
struct WadFields {
  std::vector<MeshRecord> meshes;
  std::vector<MoveableRecord> moveables;
  std::vector<std::int32_t> meshTrees;
  std::vector<AnimationRecord> animations;
  std::vector<StateChangeRecord> stateChanges;
  std::vector<AnimDispatchRecord> dispatches;
  std::vector<std::int16_t> commands;
  std::vector<std::int16_t> frames;
  std::vector<TextInfoRecord> textInfo;
  std::vector<StaticMeshRecord> statics;
  // Replaces MeshPointers after the meshes are encoded, when not empty.
  std::vector<std::int32_t> pointers;
  // The texture rows (256 pixels of 3 bytes each); one blank row when empty.
  Bytes pageRows;

  WadDocument build() const;
};

}  // namespace tarnlow::test
