#include <new>
#include <nlohmann/json.hpp>

#include "anim/anim_commands.h"
#include "cli/report_commands.h"
#include "sound/sound_files.h"
#include "wad/wad_reader.h"

namespace tarnlow::cli {

namespace {

using Json = nlohmann::ordered_json;

template <std::size_t N>
std::string hexOf(const std::array<std::uint8_t, N>& bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(2 * N);
  for (const std::uint8_t b : bytes) {
    out.push_back(kDigits[b >> 4]);
    out.push_back(kDigits[b & 0xF]);
  }
  return out;
}

// Every record of `array` through `toJson`.
template <typename T, typename F>
Json listOf(const RecordArray<T>& array, F toJson) {
  Json list = Json::array();
  for (std::size_t i = 0; i < array.size(); ++i) list.push_back(toJson(array[i]));
  return list;
}

template <typename T>
Json valuesOf(const RecordArray<T>& array) {
  return listOf(array, [](T value) { return Json(value); });
}

Json animationJson(const AnimationRecord& a) {
  return Json{{"FrameOffset", a.FrameOffset},
              {"FrameRate", a.FrameRate},
              {"FrameSize", a.FrameSize},
              {"StateID", a.StateID},
              {"Unknown1", a.Unknown1},
              {"Unknown2", a.Unknown2},
              {"FrameStart", a.FrameStart},
              {"FrameEnd", a.FrameEnd},
              {"NextAnimation", a.NextAnimation},
              {"NextFrame", a.NextFrame},
              {"NumStateChanges", a.NumStateChanges},
              {"StateChange", a.StateChange},
              {"AnimCommandCount", a.AnimCommandCount},
              {"AnimCommands", a.AnimCommands}};
}

Json documentJson(const std::string& path, std::int64_t fileLength, const WadDocument& d) {
  Json counts = {{"NumTextInfo", d.NumTextInfo},         {"NumTextData", d.NumTextData},
                 {"NumMeshPointers", d.NumMeshPointers}, {"NumMeshData", d.NumMeshData},
                 {"NumAnimations", d.NumAnimations},     {"NumStateChanges", d.NumStateChanges},
                 {"NumAnimDispatches", d.NumAnimDispatches}, {"NumAnimCommands", d.NumAnimCommands},
                 {"NumMeshTrees", d.NumMeshTrees},       {"NumFrames", d.NumFrames},
                 {"NumMoveables", d.NumMoveables},       {"NumStaticMeshes", d.NumStaticMeshes}};
  Json out;
  out["path"] = path;
  out["fileSize"] = fileLength;
  out["Version"] = d.Version;
  out["counts"] = std::move(counts);
  out["TextInfo"] = listOf(d.TextInfo, [](const TextInfoRecord& r) { return Json(hexOf(r.Bytes)); });
  // Pixels are left out: their amount says enough.
  out["TextData"] = {{"rows", d.TextData.size()}, {"bytes", d.TextData.byteSize()}};
  out["MeshPointers"] = valuesOf(d.MeshPointers);
  out["MeshData"] = {{"bytes", d.MeshData.size()}};
  out["Animations"] = listOf(d.Animations, animationJson);
  out["StateChanges"] = listOf(d.StateChanges, [](const StateChangeRecord& s) {
    return Json{{"StateID", s.StateID}, {"NumAnimDispatched", s.NumAnimDispatched}, {"AnimDispatches", s.AnimDispatches}};
  });
  out["AnimDispatches"] = listOf(d.AnimDispatches, [](const AnimDispatchRecord& a) {
    return Json{{"Low", a.Low}, {"High", a.High}, {"NextAnimation", a.NextAnimation}, {"NextFrame", a.NextFrame}};
  });
  out["AnimCommands"] = valuesOf(d.AnimCommands);
  out["MeshTrees"] = valuesOf(d.MeshTrees);
  out["Frames"] = valuesOf(d.Frames);
  out["Moveables"] = listOf(d.Moveables, [](const MoveableRecord& m) {
    return Json{{"ObjectID", m.ObjectID},
                {"NumMeshes", m.NumMeshes},
                {"StartingMesh", m.StartingMesh},
                {"MeshTree", m.MeshTree},
                {"Unknown3", hexOf(m.Unknown3)}};
  });
  out["StaticMeshes"] = listOf(d.StaticMeshes, [](const StaticMeshRecord& r) { return Json(hexOf(r.Bytes)); });
  return out;
}

// Every Play Sound of every animation, named by the sound table.
Json playSoundsJson(const WadDocument& document, const SoundTable& table) {
  Json list = Json::array();
  for (std::size_t a = 0; a < document.Animations.size(); ++a) {
    std::vector<Finding> ignored;  // the check tells what cannot be decoded
    for (const AnimCommand& c : DecodeAnimCommands(document, static_cast<std::int64_t>(a), ignored, &table)) {
      if (c.type == kPlaySound) list.push_back(Json{{"Animation", a}, {"AnimCommands", c.word}, {"Text", c.text}});
    }
  }
  return list;
}

}  // namespace

int RunDump(const CommandContext& context) {
  std::vector<std::string> positional;
  for (const std::string& arg : context.args) {
    if (arg.size() > 1 && arg[0] == '-') return UsageError(context.err, "dump: unknown option " + arg);
    positional.push_back(arg);
  }
  if (positional.size() != 1) return UsageError(context.err, "dump: expected one WAD file");
  const std::string& path = positional[0];

  const std::optional<WadDocument> document = ReadWadOrReport(PathFromUtf8(path), context.err, ReadMode::Lenient);
  if (!document) return kExitBadWad;
  const auto fileLength = static_cast<std::int64_t>(document->reading.fileLength);
  Json out = documentJson(path, fileLength, *document);
  const SoundSet sounds = LoadSoundFiles(PathFromUtf8(path));
  for (const std::string& failure : sounds.failures) context.err << "dump: " << failure << "\n";
  if (sounds.sounds) out["PlaySounds"] = playSoundsJson(*document, sounds.sounds->table);
  // A path that is not UTF-8 must not stop the dump: its bad bytes become U+FFFD.
  context.out << out.dump(1, ' ', false, Json::error_handler_t::replace) << "\n";
  return context.out ? kExitOk : kExitFailure;
}

}  // namespace tarnlow::cli
