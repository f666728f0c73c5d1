#include "edit/slot_names.h"

#include <algorithm>
#include <cctype>
#include <charconv>

#include "mesh/static_meshes.h"

namespace tarnlow {

namespace {

bool sameIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
           return std::toupper(x) == std::toupper(y);
         });
}

// Every slot the table names, with its name.
std::vector<std::pair<std::int32_t, std::string>> namedSlots(const ObjectNameTables& names, bool isStatic) {
  std::vector<std::pair<std::int32_t, std::string>> slots;
  for (int row = 0; row < ObjectNameTables::kRows; ++row) {
    const auto r = static_cast<std::size_t>(row);
    if (isStatic) {
      const std::string& name = names.ObjectNames[kStaticsColumn][r];
      if (!name.empty()) slots.emplace_back(names.ObjectNumbers[kStaticsColumn][r], name);
    } else if (!names.ObjectNames[ObjectNameTables::kObjectColumn][r].empty()) {
      slots.emplace_back(row, names.ObjectNames[ObjectNameTables::kObjectColumn][r]);
    }
  }
  return slots;
}

// The name without its trailing digits, or nothing when it ends in none.
std::optional<std::string> familyStem(const std::string& name) {
  std::size_t end = name.size();
  while (end > 0 && std::isdigit(static_cast<unsigned char>(name[end - 1]))) --end;
  if (end == name.size() || end == 0) return std::nullopt;
  return name.substr(0, end);
}

}  // namespace

std::int32_t SlotOf(const WadDocument& document, bool isStatic, std::size_t position) {
  return isStatic ? ReadStaticMeshEntry(document, position).ObjectId : document.Moveables[position].ObjectID;
}

std::string SlotName(const ObjectNameTables* names, bool isStatic, std::int32_t slot) {
  std::string name;
  if (names != nullptr) name = isStatic ? StaticMeshName(*names, slot) : (names->ObjectName(slot) ? *names->ObjectName(slot) : "");
  if (!name.empty()) return name;
  return (isStatic ? "static " : "slot ") + std::to_string(slot);
}

std::optional<std::int32_t> SlotNamed(const ObjectNameTables* names, bool isStatic, const std::string& name) {
  if (names == nullptr) return std::nullopt;
  for (const auto& [slot, slotName] : namedSlots(*names, isStatic)) {
    if (sameIgnoringCase(slotName, name)) return slot;
  }
  return std::nullopt;
}

ListChoice ChooseInList(const WadDocument& document, const ObjectNameTables* names, bool isStatic,
                        std::string_view given) {
  ListChoice choice;
  const std::size_t count = isStatic ? document.StaticMeshes.size() : document.Moveables.size();
  std::uint64_t place = 0;
  const auto [end, ec] = std::from_chars(given.data(), given.data() + given.size(), place);
  if (!given.empty() && ec != std::errc::invalid_argument && end == given.data() + given.size()) {
    choice.byPlace = true;
    // A number past 64 bits is past the end of any list too.
    if (ec == std::errc() && place < count) choice.place = static_cast<std::size_t>(place);
    return choice;
  }
  for (std::size_t i = 0; i < count; ++i) {
    if (sameIgnoringCase(SlotName(names, isStatic, SlotOf(document, isStatic, i)), given)) choice.sharing.push_back(i);
  }
  if (choice.sharing.size() == 1) {
    choice.place = choice.sharing.front();
    choice.sharing.clear();
  }
  return choice;
}

std::vector<std::int32_t> SlotFamily(const ObjectNameTables* names, bool isStatic, std::int32_t slot) {
  const std::optional<std::string> stem = names ? familyStem(SlotName(names, isStatic, slot)) : std::nullopt;
  if (!stem) return {slot};
  std::vector<std::int32_t> family;
  for (const auto& [member, name] : namedSlots(*names, isStatic)) {
    if (name.size() > stem->size() && sameIgnoringCase(name.substr(0, stem->size()), *stem) &&
        std::all_of(name.begin() + static_cast<std::ptrdiff_t>(stem->size()), name.end(),
                    [](unsigned char c) { return std::isdigit(c); })) {
      family.push_back(member);
    }
  }
  std::sort(family.begin(), family.end());
  family.erase(std::unique(family.begin(), family.end()), family.end());
  return family;
}

}  // namespace tarnlow
