#include "cli/merge_command.h"

#include <memory>

#include "check/check_wad.h"
#include "check/fold.h"
#include "check/naming.h"
#include "edit/merge.h"
#include "edit/merge_text.h"
#include "sound/sound_files.h"
#include "wad/file_lookup.h"
#include "wad/input_file.h"
#include "wad/object_names.h"

namespace tarnlow::cli {

namespace {

struct MergeArguments {
  std::filesystem::path target;
  std::filesystem::path out;
  std::filesystem::path names;
  std::vector<std::filesystem::path> sources;
  std::vector<std::vector<ObjectChoice>> choices;  // per source
  std::vector<ObjectChoice> remove;
  bool replace = false;
  bool withLeads = false;
  SoundChoice sounds = SoundChoice::KeepTarget;
  std::optional<std::filesystem::path> samples;
};

// NAME, NAME=SLOT or NAME=free.
ObjectChoice choiceOf(bool isStatic, const std::string& text) {
  ObjectChoice choice;
  choice.isStatic = isStatic;
  const std::size_t equals = text.find('=');
  choice.name = text.substr(0, equals);
  if (equals == std::string::npos) return choice;
  choice.slot = text.substr(equals + 1);
  choice.placement = choice.slot == "free" ? Placement::FirstFree : Placement::Slot;
  return choice;
}

// Fills `parsed` or returns the usage error's text.
std::string parseArguments(const CommandContext& context, bool merging, MergeArguments& parsed) {
  const char* command = merging ? "merge" : "remove";
  const std::filesystem::path besideProgram = context.programFolder / "TR4Objects.dat";
  parsed.names = FindFileIgnoringCase(besideProgram).value_or(besideProgram);
  std::vector<std::string> positional;
  const std::vector<std::string>& args = context.args;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const bool takesValue = a == "--from" || a == "--object" || a == "--static" || a == "-o" || a == "--names" ||
                            a == "--sounds" || a == "--samples";
    if (takesValue && i + 1 >= args.size()) return std::string(command) + ": " + a + " needs a value";
    if (a == "--object" || a == "--static") {
      const ObjectChoice choice = choiceOf(a == "--static", args[++i]);
      if (!merging) {
        parsed.remove.push_back(choice);
      } else if (parsed.sources.empty()) {
        return "merge: " + a + " " + args[i] + " comes before any --from";
      } else {
        parsed.choices.back().push_back(choice);
      }
    } else if (a == "--from" && merging) {
      parsed.sources.push_back(PathFromUtf8(args[++i]));
      parsed.choices.emplace_back();
    } else if (a == "-o") {
      parsed.out = PathFromUtf8(args[++i]);
    } else if (a == "--names") {
      parsed.names = PathFromUtf8(args[++i]);
    } else if (a == "--replace" && merging) {
      parsed.replace = true;
    } else if (a == "--with-leads" && merging) {
      parsed.withLeads = true;
    } else if (a == "--sounds" && merging) {
      const std::string& value = args[++i];
      if (value != "source" && value != "target") return "merge: --sounds takes source or target";
      parsed.sounds = value == "source" ? SoundChoice::TakeSource : SoundChoice::KeepTarget;
    } else if (a == "--samples" && merging) {
      parsed.samples = PathFromUtf8(args[++i]);
    } else if (a.size() > 1 && a[0] == '-') {
      return std::string(command) + ": unknown option " + a;
    } else {
      positional.push_back(a);
    }
  }
  if (positional.size() != 1) return std::string(command) + ": expected one target WAD";
  if (parsed.out.empty()) return std::string(command) + ": -o OUT.wad is required";
  parsed.target = PathFromUtf8(positional[0]);
  return {};
}

// The tables are 3000 strings and numbers: too large for the stack.
std::unique_ptr<ObjectNameTables> loadNames(const std::filesystem::path& path, std::ostream& err) {
  ObjectNamesLoad load = LoadObjectNames(path);
  if (load.fault) err << "warning: object-name file " << Utf8FromPath(path) << ": " << load.fault->what() << "\n";
  return std::make_unique<ObjectNameTables>(std::move(load.tables));
}

// A WAD and the set's files beside it, as the merge takes them.
struct LoadedWad {
  std::filesystem::path path;
  WadDocument document;
  std::optional<SoundTable> sounds;
  std::optional<std::string> objectList;

  MergeWad view() const { return {path, &document, sounds ? &*sounds : nullptr, objectList}; }
};

std::unique_ptr<LoadedWad> load(const std::filesystem::path& path, std::ostream& err) {
  std::optional<WadDocument> document = ReadWadOrReport(path, err, ReadMode::Lenient);
  if (!document) return nullptr;
  auto loaded = std::make_unique<LoadedWad>();
  loaded->path = path;
  loaded->document = std::move(*document);
  SoundSet set = LoadSoundFiles(path);
  for (const std::string& failure : set.failures) err << "warning: " << failure << "\n";
  if (set.sounds) loaded->sounds = std::move(set.sounds->table);
  if (set.paths.was) {
    try {
      InputFile file(*set.paths.was);
      const Bytes bytes = file.take(file.size());
      loaded->objectList = std::string(bytes.begin(), bytes.end());
    } catch (const WadError& e) {
      err << "warning: " << Utf8FromPath(*set.paths.was) << ": " << e.what() << "\n";
    }
  }
  return loaded;
}

const char* outcomeName(SoundOutcome outcome) {
  switch (outcome) {
    case SoundOutcome::Added: return "added";
    case SoundOutcome::Equal: return "equal";
    case SoundOutcome::Conflict: return "in conflict, the target's kept";
    case SoundOutcome::Taken: return "in conflict, the source's taken";
    case SoundOutcome::Undefined: return "not defined in the source";
  }
  return "";
}

void printPlan(const MergePlan& plan, const MergeRequest& request, std::ostream& out) {
  for (const RemovedObject& r : plan.removed) {
    if (!r.replaced) out << "removes " << r.name << "\n";
  }
  for (const MovedObject& m : plan.moved) {
    out << m.sourceName << " of " << Utf8FromPath(request.sources[m.sourceIndex].wad.path.filename()) << " -> "
        << m.slotName << (m.replaces ? " (replacing it)" : "") << (m.cameAsLead ? " (led into)" : "") << ": "
        << BringsText(m) << "\n";
    for (const MergeLead& l : m.leads) {
      out << "    animation " << l.animation << " leads into " << l.slotName << " animation " << l.intoAnimation
          << (l.present ? ", kept\n" : ", missing\n");
    }
    for (const MergeSound& s : m.sounds) {
      out << "    sound slot " << s.slot << ": " << outcomeName(s.outcome);
      if (!s.alsoPlayedBy.empty()) {
        out << " (also played by";
        for (const std::string& name : s.alsoPlayedBy) out << " " << name;
        out << ")";
      }
      out << "\n";
    }
  }
  for (const std::string& sample : plan.missingSamples) out << "missing sample: " << sample << "\n";
}

// The findings the moved objects brought from their WADs, under the WAD
// each came from, folded and named as `check` prints them.
void printCarried(const MergeResult& result, const ObjectNameTables* names, std::ostream& out) {
  const CheckNames namer(result.wad, names);
  for (const auto& [source, findings] : CarriedBySource(result.carried)) {
    for (const FindingGroup& group : FoldFindings(findings, namer)) {
      out << "carried from " << Utf8FromPath(source.filename()) << ": " << group.title << ": "
          << CheckSummaryLine(group.counts) << "\n";
      for (const FoldedLine& line : group.lines) out << "  " << Describe(line.severity) << " " << line.text << "\n";
    }
  }
}

int run(const CommandContext& context, bool merging) {
  const char* command = merging ? "merge" : "remove";
  MergeArguments arguments;
  if (std::string problem = parseArguments(context, merging, arguments); !problem.empty()) {
    return UsageError(context.err, problem);
  }
  const std::unique_ptr<ObjectNameTables> names = loadNames(arguments.names, context.err);
  const std::unique_ptr<LoadedWad> target = load(arguments.target, context.err);
  if (!target) return kExitBadWad;
  std::vector<std::unique_ptr<LoadedWad>> sources;
  for (const std::filesystem::path& path : arguments.sources) {
    sources.push_back(load(path, context.err));
    if (!sources.back()) return kExitBadWad;
  }
  std::error_code ec;
  if (target->document.reading.cutShort() && std::filesystem::equivalent(arguments.target, arguments.out, ec)) {
    context.err << command << ": " << Utf8FromPath(arguments.target)
                << " is cut short; written over itself it would lose its last bytes. Give another output file.\n";
    return kExitFailure;
  }

  MergeRequest request;
  request.target = target->view();
  for (std::size_t s = 0; s < sources.size(); ++s) request.sources.push_back({sources[s]->view(), arguments.choices[s]});
  request.remove = arguments.remove;
  request.replace = arguments.replace;
  request.withLeads = arguments.withLeads;
  request.sounds = arguments.sounds;
  request.names = names.get();
  request.samplesFolder = arguments.samples;

  MergeResult result;
  try {
    result = merging ? MergeWads(request) : RemoveObjects(request);
  } catch (const WadError& e) {
    context.err << command << ": " << e.what() << "; nothing was written\n";
    return kExitFailure;
  }
  if (!result.plan.ok()) {
    for (const std::string& refusal : result.plan.refusals) context.err << command << ": " << refusal << "\n";
    context.err << command << ": nothing was written\n";
    return kExitFailure;
  }
  printPlan(result.plan, request, context.out);
  printCarried(result, names.get(), context.out);
  if (!result.proven) {
    for (const std::string& d : result.differences) context.err << command << ": " << d << "\n";
    context.err << command << ": the result does not prove; nothing was written\n";
    return kExitFailure;
  }
  try {
    WriteMergedSet(result, arguments.out);
  } catch (const WadError& e) {
    context.err << command << ": cannot write " << Utf8FromPath(arguments.out) << ": " << e.what() << "\n";
    return kExitFailure;
  }
  context.out << "wrote " << Utf8FromPath(arguments.out) << ": " << result.moveables << " objects, " << result.statics
              << " statics" << (result.readLeniently ? ", with empty sections" : "") << ", proven\n";
  return kExitOk;
}

}  // namespace

int RunMerge(const CommandContext& context) { return run(context, true); }

int RunRemove(const CommandContext& context) { return run(context, false); }

}  // namespace tarnlow::cli
