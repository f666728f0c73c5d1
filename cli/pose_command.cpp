#include <charconv>
#include <string_view>

#include "anim/anim_commands.h"
#include "anim/animation_graph.h"
#include "anim/animation_state.h"
#include "anim/drawn_object.h"
#include "anim/pose.h"
#include "anim/posed_obj.h"
#include "check/naming.h"
#include "cli/object_commands.h"
#include "cli/slot_choice.h"
#include "mesh/slot_names.h"
#include "sound/sound_files.h"

namespace tarnlow::cli {

namespace {

struct PoseArguments {
  std::optional<std::string> object;  // a place or a slot name, chosen once the WAD is read
  std::optional<std::int64_t> animation;
  double frame = 0;
  std::string wad;
  std::filesystem::path output;
};

// A frame number from 0 on, fractions allowed; nothing for anything else.
std::optional<double> parseFrame(std::string_view text) {
  double value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || !(value >= 0)) return std::nullopt;
  return value;
}

// The shortest text that reads back as `value`: "2", "2.5".
std::string frameText(double value) {
  char text[32];
  const auto result = std::to_chars(text, text + sizeof text, value);
  return std::string(text, result.ptr);
}

// Fills `parsed` or returns the usage error's text.
std::string parseArguments(const std::vector<std::string>& args, PoseArguments& parsed) {
  std::vector<std::string> positional;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--object" || arg == "--anim" || arg == "--frame" || arg == "-o") {
      if (i + 1 >= args.size()) return "pose: " + arg + " needs a value";
      const std::string& value = args[++i];
      if (arg == "-o") {
        if (value.empty()) return "pose: -o needs a file name";
        parsed.output = PathFromUtf8(value);
      } else if (arg == "--frame") {
        const std::optional<double> frame = parseFrame(value);
        if (!frame) return "pose: --frame needs a number from 0 on, not '" + value + "'";
        parsed.frame = *frame;
      } else if (arg == "--object") {
        if (value.empty()) return "pose: --object needs a place or a slot name";
        parsed.object = value;
      } else {
        parsed.animation = ParseIndex(value);
        if (!parsed.animation) return "pose: --anim needs a whole number from 0 on, not '" + value + "'";
      }
    } else if (arg.size() > 1 && arg[0] == '-') {
      return "pose: unknown option " + arg;
    } else {
      positional.push_back(arg);
    }
  }
  if (positional.size() != 1) return "pose: expected one WAD file";
  if (parsed.output.empty()) return "pose: -o FILE.obj is required";
  if (!parsed.object) return "pose: --object N is required";
  parsed.wad = positional[0];
  return {};
}

}  // namespace

int RunPose(const CommandContext& context) {
  PoseArguments arguments;
  if (std::string problem = parseArguments(context.args, arguments); !problem.empty()) {
    return UsageError(context.err, problem);
  }
  const std::optional<WadDocument> document = ReadWadOrReport(PathFromUtf8(arguments.wad), context.err, ReadMode::Lenient);
  if (!document) return kExitBadWad;

  const ObjectNameTables names = ProgramNameTables(context.programFolder);
  const std::optional<std::size_t> chosen =
      ChooseSlot(*document, names, SlotList::Objects, *arguments.object, "pose", context.err);
  if (!chosen) return kExitFailure;
  const std::size_t moveable = *chosen;
  std::optional<Finding> rangeProblem;
  const AnimationRange range = ObjectAnimationRange(*document, moveable, &rangeProblem);
  const std::int64_t own = range.end - range.first;
  std::optional<std::int64_t> animation;
  std::string title = ObjectTitle(*document, &names, moveable);
  if (arguments.animation) {
    if (*arguments.animation >= own) {
      context.err << "pose: " << title << " has " << own << " animations; there is no animation "
                  << *arguments.animation << "\n";
      if (rangeProblem) context.err << "pose: " << FormatFinding(*rangeProblem) << "\n";
      return kExitFailure;
    }
    animation = range.first + *arguments.animation;
  } else if (own > 0) {
    animation = range.first;
  } else {
    context.err << "pose: " << title << " has no animations; writing its rest pose\n";
  }
  if (animation) {
    title += ", animation " + std::to_string(*animation - range.first) + " (Animations " +
             std::to_string(*animation) + "), frame " + frameText(arguments.frame);
  } else {
    title += ", rest pose";
  }

  std::variant<DrawnObject, Finding> drawn = DrawObject(*document, moveable);
  if (const auto* failure = std::get_if<Finding>(&drawn)) {
    context.err << "pose: cannot pose " << title << ": " << FormatFinding(*failure) << "\n";
    return kExitFailure;
  }
  const DrawnObject& object = std::get<DrawnObject>(drawn);
  // An animation without key frames has nothing to pose; like the window,
  // show the rest pose and say why (its note is told below).
  std::optional<std::int64_t> posed = animation;
  const AnimationState state =
      animation ? DescribeAnimationState(document->Animations[static_cast<std::size_t>(*animation)]) : AnimationState{};
  if (state.kind != AnimationState::Frames) {
    posed.reset();
    title += ": " + state.text + ", rest pose";
  }
  std::variant<ObjectPose, Finding> pose = PoseSkeleton(*document, object.skeleton, posed, arguments.frame);
  if (const auto* failure = std::get_if<Finding>(&pose)) {
    context.err << "pose: cannot pose " << title << ": " << FormatFinding(*failure) << "\n";
    return kExitFailure;
  }
  // What the window shows above the picture: the object's own findings and
  // the chosen animation's, not every animation's.
  std::vector<Finding> told;
  for (const Finding& finding : object.findings) {
    if (finding.section == "Moveables") told.push_back(finding);
  }
  if (animation) {
    const auto position = static_cast<std::size_t>(*animation - range.first);
    if (position < object.animationProblems.size() && object.animationProblems[position]) {
      told.push_back(*object.animationProblems[position]);
    }
  }
  // Named as the check names them, so that both say the same.
  const CheckNames namer(*document, &names);
  bool error = false;
  for (const Finding& finding : told) {
    context.err << "pose: " << namer.line(finding) << "\n";
    error = error || finding.severity == Severity::Error;
  }
  // With a sound table beside the WAD, the sounds the animation plays, named.
  if (animation) {
    const SoundSet sounds = LoadSoundFiles(PathFromUtf8(arguments.wad));
    for (const std::string& failure : sounds.failures) context.err << "pose: " << failure << "\n";
    if (sounds.sounds) {
      std::vector<Finding> ignored;  // the check tells what cannot be decoded
      for (const AnimCommand& c : DecodeAnimCommands(*document, *animation, ignored, &sounds.sounds->table)) {
        if (c.type == kPlaySound) context.out << c.text << "\n";
      }
    }
  }
  const std::string obj = PosedObjectToObj(*document, std::get<ObjectPose>(pose), title);
  const int written =
      WriteOutputFile(arguments.output, std::vector<std::uint8_t>(obj.begin(), obj.end()), "pose", context.err);
  // The OBJ is written all the same, but an error printed is an error in the
  // exit status too.
  return written == kExitOk && error ? kExitFailure : written;
}

}  // namespace tarnlow::cli
