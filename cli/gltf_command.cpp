#include <charconv>
#include <string_view>

#include "cli/gltf_export.h"
#include "cli/look_commands.h"
#include "wad/object_names.h"

namespace tarnlow::cli {

namespace {

struct GltfArguments {
  std::optional<std::size_t> object;
  std::string wad;
  std::filesystem::path output;
  GltfContainer container = GltfContainer::Json;
};

std::string lower(std::string text) {
  for (char& c : text) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return text;
}

// Fills `parsed` or returns the usage error's text.
std::string parseArguments(const std::vector<std::string>& args, GltfArguments& parsed) {
  std::vector<std::string> positional;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--object" || arg == "-o") {
      if (i + 1 >= args.size() || args[i + 1].empty()) return "gltf: " + arg + " needs a value";
      const std::string& value = args[++i];
      if (arg == "-o") {
        parsed.output = PathFromUtf8(value);
        continue;
      }
      std::size_t n = 0;
      const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), n);
      if (ec != std::errc() || end != value.data() + value.size()) {
        return "gltf: --object needs a number from 0 on, not '" + value + "'";
      }
      parsed.object = n;
    } else if (arg.size() > 1 && arg[0] == '-') {
      return "gltf: unknown option " + arg;
    } else {
      positional.push_back(arg);
    }
  }
  if (positional.size() != 1) return "gltf: expected one WAD file";
  if (!parsed.object) return "gltf: --object N is required";
  if (parsed.output.empty()) return "gltf: -o FILE.gltf or FILE.glb is required";
  const std::string extension = lower(parsed.output.extension().string());
  if (extension == ".glb") {
    parsed.container = GltfContainer::Binary;
  } else if (extension != ".gltf") {
    return "gltf: the output must end in .gltf or .glb, not '" + parsed.output.filename().string() + "'";
  }
  parsed.wad = positional[0];
  return {};
}

}  // namespace

int RunGltf(const CommandContext& context) {
  GltfArguments arguments;
  if (std::string problem = parseArguments(context.args, arguments); !problem.empty()) {
    return UsageError(context.err, problem);
  }
  const std::optional<WadDocument> document = ReadWadOrReport(PathFromUtf8(arguments.wad), context.err, ReadMode::Lenient);
  if (!document) return kExitBadWad;
  const std::size_t n = *arguments.object;
  if (n >= document->Moveables.size()) {
    context.err << "gltf: there is no object " << n << "; the WAD holds " << document->Moveables.size()
                << " objects, numbered from 0\n";
    return kExitFailure;
  }
  // The scene takes the object's name when the name file beside the program
  // has one.
  const ObjectNameTables names = LoadObjectNames(context.programFolder / "TR4Objects.dat").tables;
  const std::string* known = names.ObjectName(document->Moveables[n].ObjectID);
  const std::string name = known != nullptr && !known->empty() ? *known : "object " + std::to_string(n);

  std::variant<GltfExport, Finding> exported;
  try {
    exported = ExportObjectGltf(*document, n, arguments.container, name);
  } catch (const WadError& e) {
    context.err << "gltf: cannot export object " << n << ": " << e.what() << "\n";
    return kExitFailure;
  }
  if (const auto* problem = std::get_if<Finding>(&exported)) {
    context.err << "gltf: object " << n << " cannot be assembled: " << FormatFinding(*problem) << "\n";
    return kExitFailure;
  }
  const GltfExport& result = std::get<GltfExport>(exported);
  for (const std::string& note : result.notes) context.err << "note: " << note << "\n";
  return WriteOutputFile(arguments.output, result.bytes, "gltf", context.err);
}

}  // namespace tarnlow::cli
