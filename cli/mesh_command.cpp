#include <algorithm>
#include <charconv>
#include <string_view>

#include "cli/look_commands.h"
#include "cli/slot_choice.h"
#include "mesh/mesh_decoder.h"
#include "mesh/mesh_lists.h"
#include "mesh/slot_names.h"
#include "mesh/static_meshes.h"
#include "export/obj_export.h"

namespace tarnlow::cli {

namespace {

struct MeshArguments {
  std::optional<std::string> object;  // a place or a slot name, chosen once the WAD is read
  std::optional<std::int64_t> mesh;
  std::optional<std::int64_t> pointer;
  std::optional<std::string> staticMesh;
  std::string wad;
  std::filesystem::path output;
};

// Fills `parsed` or returns the usage error's text.
std::string parseArguments(const std::vector<std::string>& args, MeshArguments& parsed) {
  std::vector<std::string> positional;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    std::optional<std::int64_t>* index = arg == "--mesh" ? &parsed.mesh : arg == "--pointer" ? &parsed.pointer : nullptr;
    std::optional<std::string>* slot = arg == "--object" ? &parsed.object : arg == "--static" ? &parsed.staticMesh : nullptr;
    if (index != nullptr || slot != nullptr || arg == "-o") {
      if (i + 1 >= args.size()) return "mesh: " + arg + " needs a value";
      const std::string& value = args[++i];
      if (arg == "-o") {
        if (value.empty()) return "mesh: -o needs a file name";
        parsed.output = PathFromUtf8(value);
      } else if (slot != nullptr) {
        if (value.empty()) return "mesh: " + arg + " needs a place or a slot name";
        *slot = value;
      } else {
        *index = ParseIndex(value);
        if (!*index) return "mesh: " + arg + " needs a number from 0 on, not '" + value + "'";
      }
    } else if (arg.size() > 1 && arg[0] == '-') {
      return "mesh: unknown option " + arg;
    } else {
      positional.push_back(arg);
    }
  }
  if (positional.size() != 1) return "mesh: expected one WAD file";
  if (parsed.output.empty()) return "mesh: -o FILE.obj is required";
  const bool byObject = parsed.object || parsed.mesh;
  if (int{byObject} + int{parsed.pointer.has_value()} + int{parsed.staticMesh.has_value()} != 1) {
    return "mesh: give either --object N --mesh J, --pointer K or --static S";
  }
  if (byObject && !(parsed.object && parsed.mesh)) return "mesh: --object and --mesh go together";
  parsed.wad = positional[0];
  return {};
}

// The mesh pointer position that the arguments name, with a title for the
// OBJ header; or nothing after saying on err why there is none.
std::optional<std::int64_t> meshPosition(const MeshArguments& arguments, const WadDocument& document,
                                         const ObjectNameTables& names, std::string& title, std::ostream& err) {
  if (arguments.pointer) {
    title = "mesh pointer " + std::to_string(*arguments.pointer);
    return *arguments.pointer;
  }
  if (arguments.staticMesh) {
    const std::optional<std::size_t> s =
        ChooseSlot(document, names, SlotList::StaticMeshes, *arguments.staticMesh, "mesh", err);
    if (!s) return std::nullopt;
    const StaticMeshEntry entry = ReadStaticMeshEntry(document, *s);
    title = StaticMeshTitle(document, &names, *s) + ", mesh pointer " + std::to_string(entry.Mesh);
    return entry.Mesh;
  }
  const std::optional<std::size_t> chosen = ChooseSlot(document, names, SlotList::Objects, *arguments.object, "mesh", err);
  if (!chosen) return std::nullopt;
  const std::size_t n = *chosen;
  const std::int64_t j = *arguments.mesh;
  const MoveableRecord moveable = document.Moveables[n];
  if (j >= moveable.NumMeshes) {
    err << "mesh: " << ObjectTitle(document, &names, n) << " has " << std::max<int>(moveable.NumMeshes, 0)
        << " meshes; there is no " << MeshLabel(j) << "\n";
    return std::nullopt;
  }
  // The same position the object's mesh list uses; beyond kMaxMeshPosition
  // the list names no mesh, and neither does this command.
  const std::int64_t k = moveable.StartingMesh + j;
  if (k < 0 || k > kMaxMeshPosition) {
    err << "mesh: " << MeshLabel(j) << " of " << ObjectTitle(document, &names, n) << " is at mesh position " << k
        << " (first mesh " << moveable.StartingMesh << " + " << j << "), which names no mesh\n";
    return std::nullopt;
  }
  title = ObjectTitle(document, &names, n) + ", " + MeshLabel(j) + ", mesh pointer " + std::to_string(k);
  return k;
}

}  // namespace

int RunMesh(const CommandContext& context) {
  MeshArguments arguments;
  if (std::string problem = parseArguments(context.args, arguments); !problem.empty()) {
    return UsageError(context.err, problem);
  }
  const std::optional<WadDocument> document = ReadWadOrReport(PathFromUtf8(arguments.wad), context.err, ReadMode::Lenient);
  if (!document) return kExitBadWad;

  std::string title;
  const std::optional<std::int64_t> k =
      meshPosition(arguments, *document, ProgramNameTables(context.programFolder), title, context.err);
  if (!k) return kExitFailure;
  if (static_cast<std::uint64_t>(*k) < document->MeshPointers.size() &&
      document->MeshPointers[static_cast<std::size_t>(*k)] == 0) {
    context.err << "mesh: " << title << " is a DUMMY (pointer 0); writing the mesh at offset 0\n";
    title += " (DUMMY: the mesh at offset 0)";
  }

  const auto unknownFace = [&](int face) { context.err << "Unknown FaceType - Face " << face << "\n"; };
  MeshResult<MeshRecord> decoded = ReadMesh(*document, *k, unknownFace);
  if (const auto* failure = std::get_if<MeshFailure>(&decoded)) {
    context.err << "mesh: cannot decode " << title << ": " << Describe(*failure) << "\n";
    return kExitFailure;
  }
  const std::string obj = MeshToObj(std::get<MeshRecord>(decoded), title);
  return WriteOutputFile(arguments.output, std::vector<std::uint8_t>(obj.begin(), obj.end()), "mesh", context.err);
}

}  // namespace tarnlow::cli
