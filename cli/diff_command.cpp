#include "cli/diff_command.h"

#include <nlohmann/json.hpp>

#include "content/diff_text.h"
#include "content/wad_diff.h"
#include "sound/sound_files.h"
#include "wad/file_lookup.h"
#include "wad/swd_reader.h"

namespace tarnlow::cli {

namespace {

using Json = nlohmann::ordered_json;

struct DiffArguments {
  std::string format = "text";
  std::vector<std::string> paths;
};

std::string parseArguments(const std::vector<std::string>& args, DiffArguments& parsed) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--format") {
      if (i + 1 >= args.size()) return "diff: --format needs text or json";
      parsed.format = args[++i];
      if (parsed.format != "text" && parsed.format != "json") {
        return "diff: --format is text or json, not '" + parsed.format + "'";
      }
    } else if (args[i].size() > 1 && args[i][0] == '-') {
      return "diff: unknown option " + args[i];
    } else {
      parsed.paths.push_back(args[i]);
    }
  }
  if (parsed.paths.size() != 2) return "diff: expected two WAD files, the old and the new";
  return {};
}

// The SWD beside `wad`: nothing when there is none. Fails (false, with the
// reason on err) when there is one that cannot be read.
bool readSwdBeside(const std::string& wad, std::optional<SwdDocument>& swd, std::ostream& err) {
  const std::optional<std::filesystem::path> path = FindFileIgnoringCase(PathFromUtf8(SwdPathFor(wad)));
  if (!path) return true;
  try {
    swd = ReadSWD(*path);
    return true;
  } catch (const WadError& e) {
    err << "ReadSWD -> error code " << e.number() << "\n" << e.what() << "\n";
  } catch (const std::bad_alloc&) {
    err << "ReadSWD -> error code " << kOutOfMemory << "\nOut of memory (" << Utf8FromPath(*path) << ")\n";
  }
  return false;
}

template <typename Name>
Json slotsJson(const SlotDiff& diff, Name name) {
  const auto slots = [&](const std::vector<std::int32_t>& list) {
    Json out = Json::array();
    for (const std::int32_t slot : list) out.push_back(Json{{"slot", slot}, {"name", name(slot)}});
    return out;
  };
  Json changed = Json::array();
  for (const ChangedSlot& c : diff.changed) {
    Json parts = Json::array();
    for (const ContentDifference& d : c.differences) parts.push_back(Json{{"part", Describe(d.part)}, {"first", d.first}});
    changed.push_back(Json{{"slot", c.slot}, {"name", name(c.slot)}, {"differences", std::move(parts)}});
  }
  return Json{{"added", slots(diff.added)}, {"removed", slots(diff.removed)}, {"changed", std::move(changed)}};
}

Json pagesJson(const PageDiff& diff) {
  return Json{{"old", diff.oldPages}, {"new", diff.newPages}, {"changed", diff.changed}};
}

Json diffJson(const WadDiff& diff, const ObjectNameTables& names) {
  const auto unnamed = [](std::int32_t) { return std::string(); };
  Json out{{"same", diff.same()},
           {"objects", slotsJson(diff.moveables, [&](std::int32_t s) { return MoveableSlotName(names, s); })},
           {"statics", slotsJson(diff.statics, [&](std::int32_t s) { return StaticSlotName(names, s); })},
           {"texturePages", pagesJson(diff.texturePages)},
           {"sprites", nullptr}};
  if (diff.spritesCompared) {
    out["sprites"] = Json{{"pages", pagesJson(diff.sprites.pages)},
                          {"old", diff.sprites.oldSprites},
                          {"new", diff.sprites.newSprites},
                          {"changed", diff.sprites.changed},
                          {"sequences", slotsJson(diff.sprites.sequences, unnamed)}};
  }
  return out;
}

}  // namespace

int RunDiff(const CommandContext& context) {
  DiffArguments arguments;
  if (std::string problem = parseArguments(context.args, arguments); !problem.empty()) {
    return UsageError(context.err, problem);
  }
  std::optional<WadDocument> wads[2];
  std::optional<SwdDocument> swds[2];
  std::optional<SoundTable> sounds[2];
  for (std::size_t side = 0; side < 2; ++side) {
    wads[side] = ReadWadOrReport(PathFromUtf8(arguments.paths[side]), context.err, ReadMode::Lenient);
    if (!wads[side] || !readSwdBeside(arguments.paths[side], swds[side], context.err)) return kExitBadWad;
    // Sound files that cannot be read leave the sounds uncompared, as a WAD without them.
    SoundSet set = LoadSoundFiles(PathFromUtf8(arguments.paths[side]));
    for (const std::string& failure : set.failures) context.err << "note: " << failure << "\n";
    if (set.sounds) sounds[side] = std::move(set.sounds->table);
  }
  std::optional<WadDiff> compared;
  try {
    const auto side = [&](std::size_t s) {
      return DiffSide{*wads[s], swds[s] ? &*swds[s] : nullptr, sounds[s] ? &*sounds[s] : nullptr};
    };
    compared = DiffWads(side(0), side(1));
  } catch (const std::bad_alloc&) {
    context.err << "diff: out of memory while comparing the two WADs\n";
    return kExitFailure;
  }
  const WadDiff& diff = *compared;
  const ObjectNameTables names = LoadObjectNames(context.programFolder / "TR4Objects.dat").tables;
  if (arguments.format == "json") {
    context.out << diffJson(diff, names).dump(1, ' ', false, Json::error_handler_t::replace) << "\n";
  } else {
    for (const std::string& line : DiffLines(diff, names)) context.out << line << "\n";
    context.out << (diff.same() ? "the same content\n" : "different content\n");
  }
  return diff.same() ? kExitOk : kExitFailure;
}

}  // namespace tarnlow::cli
