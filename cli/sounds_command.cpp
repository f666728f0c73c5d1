#include <nlohmann/json.hpp>

#include "anim/sound_players.h"
#include "check/naming.h"
#include "cli/sound_commands.h"
#include "sound/sample_folder.h"
#include "sound/sound_files.h"
#include "wad/object_names.h"

namespace tarnlow::cli {

namespace {

using Json = nlohmann::ordered_json;

struct SoundsArguments {
  std::string wad;
  std::string format = "text";
  std::optional<std::string> samples;
};

std::string parseArguments(const std::vector<std::string>& args, SoundsArguments& parsed) {
  std::vector<std::string> positional;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--format") {
      if (i + 1 >= args.size()) return "sounds: --format needs text or json";
      parsed.format = args[++i];
      if (parsed.format != "text" && parsed.format != "json") {
        return "sounds: --format is text or json, not '" + parsed.format + "'";
      }
    } else if (args[i] == "--samples") {
      if (i + 1 >= args.size()) return "sounds: --samples needs a folder";
      parsed.samples = args[++i];
    } else if (args[i].size() > 1 && args[i][0] == '-') {
      return "sounds: unknown option " + args[i];
    } else {
      positional.push_back(args[i]);
    }
  }
  if (positional.size() != 1) return "sounds: expected one WAD file";
  parsed.wad = positional[0];
  return {};
}

// The flag bits beyond the loop mode and the sample count, by name.
std::vector<std::string> flagNames(const SoundSlot& slot) {
  std::vector<std::string> names;
  if (slot.noPanning()) names.emplace_back("no panning");
  if (slot.randomPitch()) names.emplace_back("random pitch");
  if (slot.randomVolume()) names.emplace_back("random volume");
  for (int bit = 8; bit < 16; ++bit) {
    if (bit >= 12 && bit <= 14) continue;
    if ((slot.flags >> bit) & 1) names.push_back("bit " + std::to_string(bit));
  }
  return names;
}

// Each object that plays the slot, with its animations (numbered within the
// object) in order, once each.
struct Player {
  std::size_t moveable;
  std::vector<std::int64_t> animations;
};
std::vector<Player> playersOf(const std::vector<SoundPlayer>& commands, const CheckNames& names) {
  std::vector<Player> players;
  for (const SoundPlayer& c : commands) {
    if (players.empty() || players.back().moveable != c.moveable) players.push_back(Player{c.moveable, {}});
    const std::int64_t number = names.animationNumber(c.animation);
    std::vector<std::int64_t>& animations = players.back().animations;
    if (animations.empty() || animations.back() != number) animations.push_back(number);
  }
  return players;
}

std::string joined(const std::vector<std::string>& parts) {
  std::string text;
  for (const std::string& part : parts) text += (text.empty() ? "" : ", ") + part;
  return text;
}

}  // namespace

int RunSounds(const CommandContext& context) {
  SoundsArguments arguments;
  if (std::string problem = parseArguments(context.args, arguments); !problem.empty()) {
    return UsageError(context.err, problem);
  }
  const std::filesystem::path wadPath = PathFromUtf8(arguments.wad);
  const std::optional<WadDocument> document = ReadWadOrReport(wadPath, context.err, ReadMode::Lenient);
  if (!document) return kExitBadWad;
  const SoundSet set = LoadSoundFiles(wadPath);
  for (const std::string& failure : set.failures) context.err << "sounds: " << failure << "\n";
  if (!set.sounds) {
    if (!set.paths.sfx) context.err << "sounds: there is no .sfx beside " << arguments.wad << "\n";
    return kExitFailure;
  }
  std::optional<SampleFolder> folder;
  if (!ReadSamplesOption(arguments.samples, "sounds", context.err, folder)) return kExitFailure;
  const ObjectNameTables objectNames = LoadObjectNames(context.programFolder / "TR4Objects.dat").tables;
  const CheckNames names(*document, &objectNames);
  const std::map<int, std::vector<SoundPlayer>> players = FindSoundPlayers(*document);
  const SoundTable& table = set.sounds->table;

  std::size_t missing = 0;
  Json slots = Json::array();
  for (const auto& [number, slot] : table.slots) {
    const auto found = players.find(number);
    const std::vector<Player> playedBy =
        found == players.end() ? std::vector<Player>{} : playersOf(found->second, names);
    std::vector<std::string> missingHere;
    std::vector<std::string> sampleTexts;
    for (const std::string& sample : slot.samples) {
      const bool lacking = folder && !folder->find(sample);
      if (lacking) missingHere.push_back(sample);
      sampleTexts.push_back(lacking ? sample + " (missing)" : sample);
    }
    missing += missingHere.size();
    if (arguments.format == "json") {
      Json by = Json::array();
      for (const Player& p : playedBy) {
        by.push_back(Json{{"object", p.moveable}, {"name", names.object(p.moveable)}, {"animations", p.animations}});
      }
      Json entry{{"slot", number},
                 {"samples", slot.samples},
                 {"volume", int{slot.volume}},
                 {"range", int{slot.range}},
                 {"chance", int{slot.chance}},
                 {"pitch", int{slot.pitch}},
                 {"loop", LoopModeName(slot.loopMode())},
                 {"flags", flagNames(slot)},
                 {"playedBy", std::move(by)}};
      if (folder) entry["missing"] = missingHere;
      slots.push_back(std::move(entry));
      continue;
    }
    std::vector<std::string> flags = flagNames(slot);
    context.out << "slot " << number << ": volume " << int{slot.volume} << ", range " << int{slot.range}
                << ", chance " << int{slot.chance} << ", pitch " << int{slot.pitch} << ", loop "
                << LoopModeName(slot.loopMode()) << ", flags " << (flags.empty() ? "none" : joined(flags)) << "\n"
                << "  samples: " << (sampleTexts.empty() ? "none" : joined(sampleTexts)) << "\n";
    std::vector<std::string> by;
    for (const Player& p : playedBy) {
      std::vector<std::string> animations;
      for (const std::int64_t a : p.animations) animations.push_back(std::to_string(a));
      by.push_back(names.object(p.moveable) + (animations.size() == 1 ? ", animation " : ", animations ") +
                   joined(animations));
    }
    context.out << "  played by " << (by.empty() ? "no animation" : joined(by)) << "\n";
  }
  if (arguments.format == "json") {
    Json problems = Json::array();
    for (const SoundProblem& p : set.sounds->problems) problems.push_back(p.text);
    Json out{{"slots", std::move(slots)}, {"samples", table.sampleCount()}, {"problems", std::move(problems)}};
    if (folder) out["missingSamples"] = missing;
    context.out << out.dump(1, ' ', false, Json::error_handler_t::replace) << "\n";
  } else {
    context.out << table.slots.size() << " slots, " << table.sampleCount() << " samples";
    if (folder) context.out << ", " << missing << " missing from " << *arguments.samples;
    context.out << "\n";
    for (const SoundProblem& p : set.sounds->problems) context.err << "sounds: " << p.text << "\n";
  }
  return context.out ? kExitOk : kExitFailure;
}

}  // namespace tarnlow::cli
