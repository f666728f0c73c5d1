#include "cli/objects_command.h"

#include <memory>

#include "mesh/mesh_lists.h"
#include "wad/file_lookup.h"
#include "wad/object_names.h"

namespace tarnlow::cli {

namespace {

struct ObjectsArguments {
  std::filesystem::path names;
  std::filesystem::path wad;
  ReadMode mode = ReadMode::Specified;
};

// Fills `parsed` or returns the usage error's text.
std::string parseArguments(const CommandContext& context, ObjectsArguments& parsed) {
  const std::filesystem::path besideProgram = context.programFolder / "TR4Objects.dat";
  parsed.names = FindFileIgnoringCase(besideProgram).value_or(besideProgram);
  std::vector<std::string> positional;
  const std::vector<std::string>& args = context.args;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--names") {
      if (i + 1 >= args.size()) return "objects: --names needs a file";
      parsed.names = PathFromUtf8(args[++i]);
    } else if (args[i] == "--lenient") {
      parsed.mode = ReadMode::Lenient;
    } else if (args[i].size() > 1 && args[i][0] == '-') {
      return "objects: unknown option " + args[i];
    } else {
      positional.push_back(args[i]);
    }
  }
  if (positional.size() != 1) return "objects: expected one WAD file";
  parsed.wad = PathFromUtf8(positional[0]);
  return {};
}

// The tables are 3000 strings and numbers: too large for the stack.
std::unique_ptr<ObjectNameTables> loadNames(const std::filesystem::path& path, std::ostream& err) {
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) {
    err << "warning: no object-name file at " << path.string() << "; objects are listed without names\n";
  }
  ObjectNamesLoad load = LoadObjectNames(path);
  if (load.fault) {
    err << "warning: object-name file " << path.string() << ": " << load.fault->what()
        << "; the names read before it are used\n";
  }
  return std::make_unique<ObjectNameTables>(std::move(load.tables));
}

}  // namespace

int RunObjects(const CommandContext& context) {
  ObjectsArguments arguments;
  if (std::string problem = parseArguments(context, arguments); !problem.empty()) {
    return UsageError(context.err, problem);
  }
  const std::unique_ptr<ObjectNameTables> names = loadNames(arguments.names, context.err);
  const std::optional<WadDocument> document = ReadWadOrReport(arguments.wad, context.err, arguments.mode);
  if (!document) return kExitBadWad;

  const std::vector<std::string> objects = ObjectListLines(*document, *names);
  // The window stops its list silently; here a short note says why the
  // listing is shorter than the WAD.
  const std::size_t moveables = document->Moveables.size();
  if (objects.size() < moveables) {
    if (objects.empty() && moveables > 32768) {
      context.err << "note: the WAD holds " << moveables
                  << " objects, more than a list can show (32768); none is listed\n";
    } else {
      context.err << "note: object " << objects.size() << " has ObjectID "
                  << document->Moveables[objects.size()].ObjectID
                  << ", which has no name row (0 to 500); it and the objects after it are not listed\n";
    }
  }
  for (std::size_t i = 0; i < objects.size(); ++i) {
    context.out << objects[i] << "\n";
    const auto unknownFace = [&](int face) {
      context.out.flush();
      context.err << "Unknown FaceType - Face " << face << "\n";
    };
    for (const MeshListLine& line : MeshListLines(*document, i, unknownFace)) {
      context.out << "    " << line.text << "\n";
      if (line.failure) {
        context.out.flush();
        context.err << "object " << i << " (" << objects[i] << "), " << line.text.substr(0, line.text.find(" ("))
                    << ": " << Describe(*line.failure) << "\n";
      }
    }
  }
  return kExitOk;
}

}  // namespace tarnlow::cli
