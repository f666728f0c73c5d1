#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "wad/object_names.h"
#include "wad/wad_document.h"

namespace tarnlow {

// The name file's column that names static slots.
inline constexpr std::size_t kStaticsColumn = 3;

// What a static mesh record says about itself: the static slot it fills
// (ObjectID) and where its one mesh stands in MeshPointers.
struct StaticMeshEntry {
  std::int32_t ObjectId = 0;
  std::int16_t Mesh = 0;
};

// The first fields of static mesh `index` of `document`. Nothing is checked
// against the other sections; the caller checks Mesh. Never fails for an
// index below StaticMeshes.size(); throws std::out_of_range beyond it.
StaticMeshEntry ReadStaticMeshEntry(const WadDocument& document, std::size_t index);

// The name the name file gives static slot `objectId` (its statics column);
// empty when the file names no such slot.
std::string StaticMeshName(const ObjectNameTables& names, std::int32_t objectId);

// One line per static mesh, as the window lists them: its StaticMeshTitle,
// "PLANT0 (static mesh 0, slot 0)". Never fails.
std::vector<std::string> StaticMeshLines(const WadDocument& document, const ObjectNameTables& names);

}  // namespace tarnlow
