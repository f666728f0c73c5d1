#include "mesh/slot_names.h"

#include "mesh/static_meshes.h"

namespace tarnlow {

std::string ObjectTitle(const WadDocument& document, const ObjectNameTables* names, std::size_t moveable) {
  const std::string place = "object " + std::to_string(moveable);
  if (names == nullptr || moveable >= document.Moveables.size()) return place;
  const std::string* name = names->ObjectName(document.Moveables[moveable].ObjectID);
  return name != nullptr && !name->empty() ? *name + " (" + place + ")" : place;
}

std::string StaticMeshTitle(const WadDocument& document, const ObjectNameTables* names, std::size_t index) {
  const std::string place = "static mesh " + std::to_string(index);
  if (index >= document.StaticMeshes.size()) return place;
  const std::int32_t slot = ReadStaticMeshEntry(document, index).ObjectId;
  const std::string name = names != nullptr ? StaticMeshName(*names, slot) : std::string();
  const std::string slotText = "slot " + std::to_string(slot);
  return name.empty() ? place + " (" + slotText + ")" : name + " (" + place + ", " + slotText + ")";
}

}  // namespace tarnlow
