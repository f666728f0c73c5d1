#include "cli/slot_choice.h"

#include <string>

#include "edit/slot_names.h"
#include "mesh/slot_names.h"

namespace tarnlow::cli {

ObjectNameTables ProgramNameTables(const std::filesystem::path& programFolder) {
  return LoadObjectNames(programFolder / "TR4Objects.dat").tables;
}

std::optional<std::size_t> ChooseSlot(const WadDocument& document, const ObjectNameTables& names, SlotList list,
                                      std::string_view given, std::string_view command, std::ostream& err) {
  const bool objects = list == SlotList::Objects;
  const char* kind = objects ? "object" : "static mesh";
  const ListChoice choice = ChooseInList(document, &names, !objects, given);
  if (choice.place) return choice.place;
  if (choice.byPlace) {
    const std::size_t count = objects ? document.Moveables.size() : document.StaticMeshes.size();
    err << command << ": there is no " << kind << " " << given << "; the WAD holds " << count << " "
        << (objects ? "objects" : "static meshes") << ", numbered from 0\n";
  } else if (choice.sharing.empty()) {
    err << command << ": no " << kind << " of the WAD is named " << given << "\n";
  } else {
    err << command << ": " << choice.sharing.size() << " " << (objects ? "objects" : "static meshes")
        << " of the WAD are named " << given << ":";
    for (const std::size_t place : choice.sharing) {
      err << " " << (objects ? ObjectTitle(document, &names, place) : StaticMeshTitle(document, &names, place)) << ";";
    }
    err << " give the place in the list instead\n";
  }
  return std::nullopt;
}

}  // namespace tarnlow::cli
