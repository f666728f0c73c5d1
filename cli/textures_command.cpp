#include <new>

#include "cli/look_commands.h"
#include "export/texture_page_files.h"
#include "wad/file_paths.h"
#include "wad/file_lookup.h"
#include "wad/swd_reader.h"
#include "wad/texture_pages.h"

namespace tarnlow::cli {

namespace {

struct TexturesArguments {
  std::string wad;
  std::filesystem::path folder;
  bool swd = false;
};

// Fills `parsed` or returns the usage error's text.
std::string parseArguments(const std::vector<std::string>& args, TexturesArguments& parsed) {
  std::vector<std::string> positional;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "-o") {
      if (i + 1 >= args.size() || args[i + 1].empty()) return "textures: -o needs a folder";
      parsed.folder = PathFromUtf8(args[++i]);
    } else if (args[i] == "--swd") {
      parsed.swd = true;
    } else if (args[i].size() > 1 && args[i][0] == '-') {
      return "textures: unknown option " + args[i];
    } else {
      positional.push_back(args[i]);
    }
  }
  if (positional.size() != 1) return "textures: expected one WAD file";
  if (parsed.folder.empty()) return "textures: -o FOLDER is required";
  parsed.wad = positional[0];
  return {};
}

// The texture section asked for, or nothing after saying why on err.
std::optional<RecordArray<TextureRow>> loadSection(const TexturesArguments& arguments, std::ostream& err) {
  if (!arguments.swd) {
    std::optional<WadDocument> document = ReadWadOrReport(PathFromUtf8(arguments.wad), err, ReadMode::Lenient);
    if (!document) return std::nullopt;
    return std::move(document->TextData);
  }
  const std::string derivedPath = SwdPathFor(arguments.wad);
  const std::optional<std::filesystem::path> swdPath = FindFileIgnoringCase(PathFromUtf8(derivedPath));
  if (!swdPath) {
    err << "textures: there is no SWD beside the WAD: " << derivedPath << " does not exist\n";
    return std::nullopt;
  }
  try {
    return ReadSWD(*swdPath).SwdTextData;
  } catch (const WadError& e) {
    err << "ReadSWD -> error code " << e.number() << "\n" << e.what() << "\n";
  } catch (const std::bad_alloc&) {
    err << "ReadSWD -> error code " << kOutOfMemory << "\nOut of memory (" << derivedPath << ")\n";
  }
  return std::nullopt;
}

}  // namespace

int RunTextures(const CommandContext& context) {
  TexturesArguments arguments;
  if (std::string problem = parseArguments(context.args, arguments); !problem.empty()) {
    return UsageError(context.err, problem);
  }
  const std::optional<RecordArray<TextureRow>> section = loadSection(arguments, context.err);
  if (!section) return kExitBadWad;

  const char* source = arguments.swd ? "SWD" : "WAD";
  const std::size_t pages = TexturePageCount(*section);
  if (pages == 0) {
    context.err << "textures: the " << source << " holds no texture rows; nothing written\n";
    return kExitOk;
  }
  // A short file's missing rows read as black; say so, or the black pages
  // would look like the file's own content.
  const std::size_t heldRows = section->storedBytes().size() / TextureRow::kFileSize;
  if (heldRows < section->size()) {
    context.err << "note: the " << source << "'s texture section claims " << section->size() << " rows but its file holds "
                << heldRows << "; the missing rows are written as black\n";
  }

  try {
    WriteTexturePages(*section, arguments.folder, [&](const std::filesystem::path& written) {
      context.out << written.string() << "\n";
    });
  } catch (const WadError& e) {
    context.err << "textures: cannot write the pages: " << e.what() << "\n";
    return kExitFailure;
  }
  return kExitOk;
}

}  // namespace tarnlow::cli
