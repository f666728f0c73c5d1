#include <charconv>
#include <string_view>

#include "cli/look_commands.h"
#include "cli/slot_choice.h"
#include "export/gltf_export.h"
#include "mesh/slot_names.h"
#include "mesh/static_meshes.h"
#include "wad/object_names.h"

namespace tarnlow::cli {

namespace {

struct GltfArguments {
  std::optional<std::string> object;  // a place or a slot name, chosen once the WAD is read
  std::optional<std::string> staticMesh;
  std::string wad;
  std::filesystem::path output;
  GltfContainer container = GltfContainer::Json;
};

// Fills `parsed` or returns the usage error's text.
std::string parseArguments(const std::vector<std::string>& args, GltfArguments& parsed) {
  std::vector<std::string> positional;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--object" || arg == "--static" || arg == "-o") {
      if (i + 1 >= args.size() || args[i + 1].empty()) return "gltf: " + arg + " needs a value";
      const std::string& value = args[++i];
      if (arg == "-o") {
        parsed.output = PathFromUtf8(value);
        continue;
      }
      (arg == "--object" ? parsed.object : parsed.staticMesh) = value;
    } else if (arg.size() > 1 && arg[0] == '-') {
      return "gltf: unknown option " + arg;
    } else {
      positional.push_back(arg);
    }
  }
  if (positional.size() != 1) return "gltf: expected one WAD file";
  if (parsed.object.has_value() == parsed.staticMesh.has_value()) return "gltf: give either --object N or --static N";
  if (parsed.output.empty()) return "gltf: -o FILE.gltf or FILE.glb is required";
  const std::optional<GltfContainer> container = GltfContainerOf(parsed.output);
  if (!container) {
    return "gltf: the output must end in .gltf or .glb, not '" + Utf8FromPath(parsed.output.filename()) + "'";
  }
  parsed.container = *container;
  parsed.wad = positional[0];
  return {};
}

// The scene's name: the name file's, when it has one for the slot.
std::string sceneName(const std::string* known, const std::string& fallback) {
  return known != nullptr && !known->empty() ? *known : fallback;
}

}  // namespace

int RunGltf(const CommandContext& context) {
  GltfArguments arguments;
  if (std::string problem = parseArguments(context.args, arguments); !problem.empty()) {
    return UsageError(context.err, problem);
  }
  const std::optional<WadDocument> document = ReadWadOrReport(PathFromUtf8(arguments.wad), context.err, ReadMode::Lenient);
  if (!document) return kExitBadWad;
  const bool isStatic = arguments.staticMesh.has_value();
  const ObjectNameTables names = ProgramNameTables(context.programFolder);
  const std::optional<std::size_t> chosen =
      ChooseSlot(*document, names, isStatic ? SlotList::StaticMeshes : SlotList::Objects,
                 isStatic ? *arguments.staticMesh : *arguments.object, "gltf", context.err);
  if (!chosen) return kExitFailure;
  const std::size_t n = *chosen;
  const std::string what = isStatic ? StaticMeshTitle(*document, &names, n) : ObjectTitle(*document, &names, n);

  std::variant<GltfExport, Finding> exported;
  try {
    if (isStatic) {
      const std::string known = StaticMeshName(names, ReadStaticMeshEntry(*document, n).ObjectId);
      exported = ExportStaticGltf(*document, n, arguments.container, sceneName(&known, what));
    } else {
      const std::string* known = names.ObjectName(document->Moveables[n].ObjectID);
      exported = ExportObjectGltf(*document, n, arguments.container, sceneName(known, what));
    }
  } catch (const WadError& e) {
    context.err << "gltf: cannot export " << what << ": " << e.what() << "\n";
    return kExitFailure;
  }
  if (const auto* problem = std::get_if<Finding>(&exported)) {
    context.err << "gltf: " << what << " cannot be assembled: " << FormatFinding(*problem) << "\n";
    return kExitFailure;
  }
  const GltfExport& result = std::get<GltfExport>(exported);
  for (const std::string& note : result.notes) context.err << "note: " << note << "\n";
  return WriteOutputFile(arguments.output, result.bytes, "gltf", context.err);
}

}  // namespace tarnlow::cli
