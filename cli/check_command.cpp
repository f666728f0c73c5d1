#include <nlohmann/json.hpp>
#include <sstream>

#include "check/baseline.h"
#include "check/check_wad.h"
#include "check/fold.h"
#include "check/naming.h"
#include "cli/object_commands.h"
#include "cli/wad_files.h"
#include "sound/sample_folder.h"
#include "sound/sound_files.h"
#include "wad/object_names.h"

namespace tarnlow::cli {

namespace {

using Json = nlohmann::ordered_json;

struct CheckArguments {
  std::string format = "text";
  std::optional<std::string> against;
  std::optional<std::string> samples;
  std::vector<std::string> paths;
  bool many = false;  // more than one WAD asked for, or a folder
};

std::string parseArguments(const std::vector<std::string>& args, CheckArguments& parsed) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--format") {
      if (i + 1 >= args.size()) return "check: --format needs text or json";
      parsed.format = args[++i];
      if (parsed.format != "text" && parsed.format != "json") {
        return "check: --format is text or json, not '" + parsed.format + "'";
      }
    } else if (args[i] == "--against") {
      if (i + 1 >= args.size()) return "check: --against needs the WAD to compare with";
      parsed.against = args[++i];
    } else if (args[i] == "--samples") {
      if (i + 1 >= args.size()) return "check: --samples needs a folder";
      parsed.samples = args[++i];
    } else if (args[i].size() > 1 && args[i][0] == '-') {
      return "check: unknown option " + args[i];
    } else {
      parsed.paths.push_back(args[i]);
    }
  }
  if (parsed.paths.empty()) return "check: expected at least one WAD file or folder";
  return {};
}

// The WAD at `path` for checking, read as far as it goes; on failure the
// reason, as the window would give it, in `problem`, else in `note` what
// was empty, short or missing (ReadingNote; often nothing).
std::optional<WadDocument> readForCheck(const std::filesystem::path& path, std::string& problem,
                                        std::string& note) {
  std::ostringstream said;
  std::optional<WadDocument> document = ReadWadOrReport(path, said, ReadMode::Lenient);
  (document ? note : problem) = said.str();
  if (!document) {
    while (!problem.empty() && problem.back() == '\n') problem.pop_back();
  }
  return document;
}

// What one WAD gave.
struct CheckedWad {
  std::string path;
  std::optional<std::string> unreadable;  // why it could not be read
  std::vector<Finding> findings;
  std::vector<FindingGroup> groups;
  CheckCounts counts;
};

Json findingJson(const Finding& f, const CheckNames& names) {
  const auto optional = [](const auto& value) { return value ? Json(*value) : Json(nullptr); };
  Json out{{"severity", Describe(f.severity)},
           {"rule", f.rule},
           {"subject", names.subject(f)},
           {"section", f.section},
           {"record", f.record},
           {"problem", names.problem(f)},
           {"target", f.target}};
  out["moveable"] = optional(f.moveable);
  out["animation"] = optional(f.animation);
  out["animationNumber"] = f.animation ? Json(names.animationNumber(*f.animation)) : Json(nullptr);
  out["frame"] = optional(f.frame);
  out["staticMesh"] = optional(f.staticMesh);
  out["page"] = optional(f.page);
  return out;
}

Json wadJson(const CheckedWad& wad, const CheckNames* names) {
  Json out;
  out["path"] = wad.path;
  if (wad.unreadable) out["unreadable"] = *wad.unreadable;
  out["errors"] = wad.counts.errors;
  out["warnings"] = wad.counts.warnings;
  out["notes"] = wad.counts.notes;
  Json findings = Json::array();
  Json groups = Json::array();
  if (names != nullptr) {
    for (const Finding& f : wad.findings) findings.push_back(findingJson(f, *names));
    for (const FindingGroup& group : wad.groups) {
      Json lines = Json::array();
      for (const FoldedLine& line : group.lines) {
        lines.push_back(Json{{"severity", Describe(line.severity)}, {"text", line.text}, {"findings", line.members}});
      }
      groups.push_back(Json{{"title", group.title},
                            {"moveable", group.moveable ? Json(*group.moveable) : Json(nullptr)},
                            {"errors", group.counts.errors},
                            {"warnings", group.counts.warnings},
                            {"notes", group.counts.notes},
                            {"lines", std::move(lines)}});
    }
  }
  out["findings"] = std::move(findings);
  out["groups"] = std::move(groups);
  return out;
}

void printGroups(std::ostream& out, const CheckedWad& wad) {
  for (const FindingGroup& group : wad.groups) {
    out << group.title << ": " << CheckSummaryLine(group.counts) << "\n";
    for (const FoldedLine& line : group.lines) out << "  " << Describe(line.severity) << " " << line.text << "\n";
  }
}

// Worst first: an unreadable WAD, then one with errors or warnings.
int exitStatusOf(const CheckedWad& wad) {
  if (wad.unreadable) return kExitBadWad;
  return wad.counts.errors + wad.counts.warnings == 0 ? kExitOk : kExitFailure;
}

// The WAD's findings with the sound files beside it.
std::vector<Finding> checkWithSounds(const std::filesystem::path& path, const WadDocument& document,
                                     const SampleFolder* samples, const ObjectNameTables& names) {
  const SoundSet sounds = LoadSoundFiles(path);
  return CheckWad(document, CheckSounds{&sounds, samples, &names});
}

}  // namespace

int RunCheck(const CommandContext& context) {
  CheckArguments arguments;
  if (std::string problem = parseArguments(context.args, arguments); !problem.empty()) {
    return UsageError(context.err, problem);
  }
  std::vector<std::filesystem::path> wads;
  for (const std::string& path : arguments.paths) {
    std::vector<std::filesystem::path> found = WadsUnder(PathFromUtf8(path));
    if (found.size() != 1 || found.front() != PathFromUtf8(path)) arguments.many = true;
    for (std::filesystem::path& wad : found) wads.push_back(std::move(wad));
  }
  arguments.many = arguments.many || wads.size() != 1;

  const ObjectNameTables names = LoadObjectNames(context.programFolder / "TR4Objects.dat").tables;
  std::optional<SampleFolder> samples;
  if (!ReadSamplesOption(arguments.samples, "check", context.err, samples)) return kExitFailure;
  const SampleFolder* samplesFolder = samples ? &*samples : nullptr;

  std::optional<WadDocument> baseline;
  std::vector<Finding> baselineFindings;
  if (arguments.against) {
    std::string problem, note;
    baseline = readForCheck(PathFromUtf8(*arguments.against), problem, note);
    context.err << note;
    if (!baseline) {
      context.err << "check: cannot read " << *arguments.against << ", the WAD to compare with: " << problem << "\n";
      return kExitBadWad;
    }
    baselineFindings = checkWithSounds(PathFromUtf8(*arguments.against), *baseline, samplesFolder, names);
  }

  int status = kExitOk;
  Json all = Json::array();
  {
    ProgressLine progress(context.err, context.errIsTerminal && arguments.many, wads.size(), "checked");
    for (const std::filesystem::path& path : wads) {
      CheckedWad wad;
      wad.path = Utf8FromPath(path);
      std::string problem, note;
      std::optional<WadDocument> document = readForCheck(path, problem, note);
      context.err << note;
      if (!document) {
        wad.unreadable = problem;
        if (!arguments.many) context.err << problem << "\n";
      } else {
        wad.findings = checkWithSounds(path, *document, samplesFolder, names);
        if (baseline) wad.findings = FindingsNotIn(*document, wad.findings, *baseline, baselineFindings);
        wad.counts = CountFindings(wad.findings);
      }
      status = std::max(status, exitStatusOf(wad));
      if (document) {
        const CheckNames namer(*document, &names);
        wad.groups = FoldFindings(wad.findings, namer);
        if (arguments.format == "json") all.push_back(wadJson(wad, &namer));
        if (arguments.format == "text" && !arguments.many) {
          progress.erase();
          printGroups(context.out, wad);
        }
      } else if (arguments.format == "json") {
        all.push_back(wadJson(wad, nullptr));
      }
      if (arguments.format == "text" && (document || arguments.many)) {
        const std::string summary =
            wad.unreadable ? wad.unreadable->substr(0, wad.unreadable->find('\n')) : CheckSummaryLine(wad.counts);
        progress.erase();
        context.out << wad.path << ": " << summary << "\n" << std::flush;
      }
      progress.step();
    }
  }
  if (arguments.format == "json") {
    // A path or a message that is not UTF-8 must not stop the output.
    const Json out = arguments.many ? Json{{"wads", std::move(all)}} : std::move(all.front());
    context.out << out.dump(1, ' ', false, Json::error_handler_t::replace) << "\n";
  }
  if (!context.out) return kExitFailure;
  return status;
}

}  // namespace tarnlow::cli
