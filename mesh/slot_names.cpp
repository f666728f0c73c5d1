#include "mesh/slot_names.h"

#include <algorithm>

#include "mesh/static_meshes.h"

namespace tarnlow {

namespace {

bool sameName(std::string_view a, std::string_view b) {
  const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

}  // namespace

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

std::vector<std::size_t> ObjectsNamed(const WadDocument& document, const ObjectNameTables& names,
                                      std::string_view name) {
  std::vector<std::size_t> found;
  for (std::size_t m = 0; m < document.Moveables.size(); ++m) {
    const std::string* slotName = names.ObjectName(document.Moveables[m].ObjectID);
    if (slotName != nullptr && !slotName->empty() && sameName(*slotName, name)) found.push_back(m);
  }
  return found;
}

std::vector<std::size_t> StaticMeshesNamed(const WadDocument& document, const ObjectNameTables& names,
                                           std::string_view name) {
  std::vector<std::size_t> found;
  for (std::size_t s = 0; s < document.StaticMeshes.size(); ++s) {
    const std::string slotName = StaticMeshName(names, ReadStaticMeshEntry(document, s).ObjectId);
    if (!slotName.empty() && sameName(slotName, name)) found.push_back(s);
  }
  return found;
}

}  // namespace tarnlow
