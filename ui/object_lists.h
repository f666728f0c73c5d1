#pragma once

#include <cstddef>

#include "wad/object_names.h"
#include "wad/wad_document.h"

class QListWidget;

namespace tarnlow::ui {

class Platform;

// Refills the object list with one name per moveable (ObjectListLines).
void FillObjectList(QListWidget& cboMeshes, const WadDocument& document, const ObjectNameTables& names);

// Refills the mesh list of moveable `moveableIndex` (MeshListLines). Each
// face of an unknown type shows "Unknown FaceType - Face N" as it is met.
// Meshes that cannot be decoded keep their lines; afterwards one message
// names each of them and why.
void FillMeshList(QListWidget& meshList, Platform& platform, const WadDocument& document,
                  const ObjectNameTables& names, std::size_t moveableIndex);

}  // namespace tarnlow::ui
