#include "cli/slot_choice.h"

#include <string>

#include "cli/cli_support.h"
#include "mesh/slot_names.h"

namespace tarnlow::cli {

ObjectNameTables ProgramNameTables(const std::filesystem::path& programFolder) {
  return LoadObjectNames(programFolder / "TR4Objects.dat").tables;
}

std::optional<std::size_t> ChooseSlot(const WadDocument& document, const ObjectNameTables& names, SlotList list,
                                      std::string_view given, std::string_view command, std::ostream& err) {
  const bool objects = list == SlotList::Objects;
  const char* kind = objects ? "object" : "static mesh";
  const std::size_t count = objects ? document.Moveables.size() : document.StaticMeshes.size();
  if (const std::optional<std::int64_t> place = ParseIndex(given)) {
    if (static_cast<std::uint64_t>(*place) < count) return static_cast<std::size_t>(*place);
    err << command << ": there is no " << kind << " " << *place << "; the WAD holds " << count << " "
        << (objects ? "objects" : "static meshes") << ", numbered from 0\n";
    return std::nullopt;
  }
  const std::vector<std::size_t> found =
      objects ? ObjectsNamed(document, names, given) : StaticMeshesNamed(document, names, given);
  if (found.size() == 1) return found[0];
  if (found.empty()) {
    err << command << ": no " << kind << " of the WAD is named " << given << "\n";
  } else {
    err << command << ": " << found.size() << " " << (objects ? "objects" : "static meshes") << " of the WAD are named "
        << given << ":";
    for (const std::size_t place : found) {
      err << " " << (objects ? ObjectTitle(document, &names, place) : StaticMeshTitle(document, &names, place)) << ";";
    }
    err << " give the place in the list instead\n";
  }
  return std::nullopt;
}

}  // namespace tarnlow::cli
