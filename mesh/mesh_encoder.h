#pragma once

#include "wad/mesh_record.h"
#include "wad/bytes.h"

namespace tarnlow {

// The bytes of `mesh` as they stand in MeshData, so that ReadMesh gives the
// same record back. Counts come from the record's own fields (NumVertices,
// NumNormals, NumFaces), which lets tests build deliberately broken meshes;
// the lists are written as they are.
Bytes EncodeMesh(const MeshRecord& mesh);

}  // namespace tarnlow
