#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "mesh/mesh_decoder.h"
#include "wad/object_names.h"
#include "wad/wad_document.h"

namespace tarnlow {

// The object list: one name per moveable, in document order, from column 4 of
// the name table. Stops (without error) at the first moveable whose ObjectID
// has no row (outside 0 to 500); empty when the document has more than 32768
// moveables, since list positions are 16-bit.
std::vector<std::string> ObjectListLines(const WadDocument& document, const ObjectNameTables& names);

// Mesh positions in MeshPointers are signed 16-bit sums (StartingMesh + j):
// a position beyond this names no mesh.
inline constexpr int kMaxMeshPosition = 32767;

// "Mesh" and j with at least two digits: "Mesh 00", "Mesh 07", "Mesh 100".
std::string MeshLabel(std::int64_t j);

// One line of an object's mesh list, and why its mesh could not be looked at
// when it could not ("Mesh 03 (position 40000 is outside the mesh pointers)").
struct MeshListLine {
  std::string text;                    // "Mesh 00 DUMMY", "Mesh 01", "Mesh 02 NULL"
  std::optional<MeshFailure> failure;  // set when the mesh could not be decoded
  friend bool operator==(const MeshListLine&, const MeshListLine&) = default;
};

// The mesh list of moveable `moveableIndex`: one line per mesh, "Mesh" and the
// number within the object (" 00", " 07", " 100"), then " DUMMY" for a zero
// pointer or " NULL" for the null-mesh shape. A mesh whose position falls
// outside MeshPointers (or beyond 32767) or that fails to decode keeps its
// line with `failure` set and the listing goes on. Empty when the index is
// not a moveable or the object has no meshes.
std::vector<MeshListLine> MeshListLines(const WadDocument& document, std::size_t moveableIndex,
                                        const UnknownFaceHandler& onUnknownFace = {});

}  // namespace tarnlow
