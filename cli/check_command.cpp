#include <nlohmann/json.hpp>

#include "check/check_wad.h"
#include "cli/object_commands.h"

namespace tarnlow::cli {

namespace {

using Json = nlohmann::ordered_json;

Json findingJson(const Finding& f) {
  Json out{{"severity", Describe(f.severity)},
           {"section", f.section},
           {"record", f.record},
           {"problem", f.problem},
           {"target", f.target}};
  out["moveable"] = f.moveable ? Json(*f.moveable) : Json(nullptr);
  return out;
}

}  // namespace

int RunCheck(const CommandContext& context) {
  std::string format = "text";
  std::vector<std::string> positional;
  const std::vector<std::string>& args = context.args;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--format") {
      if (i + 1 >= args.size()) return UsageError(context.err, "check: --format needs text or json");
      format = args[++i];
      if (format != "text" && format != "json") {
        return UsageError(context.err, "check: --format is text or json, not '" + format + "'");
      }
    } else if (args[i].size() > 1 && args[i][0] == '-') {
      return UsageError(context.err, "check: unknown option " + args[i]);
    } else {
      positional.push_back(args[i]);
    }
  }
  if (positional.size() != 1) return UsageError(context.err, "check: expected one WAD file");
  const std::optional<WadDocument> document = ReadWadOrReport(PathFromUtf8(positional[0]), context.err);
  if (!document) return kExitBadWad;

  const std::vector<Finding> findings = CheckWad(*document);
  const CheckCounts counts = CountFindings(findings);
  if (format == "json") {
    Json list = Json::array();
    for (const Finding& f : findings) list.push_back(findingJson(f));
    Json out;
    out["path"] = positional[0];
    out["findings"] = std::move(list);
    out["errors"] = counts.errors;
    out["warnings"] = counts.warnings;
    out["notes"] = counts.notes;
    // A path or a message that is not UTF-8 must not stop the output.
    context.out << out.dump(1, ' ', false, Json::error_handler_t::replace) << "\n";
  } else {
    for (const Finding& f : findings) context.out << FormatFinding(f) << "\n";
    context.out << positional[0] << ": " << CheckSummaryLine(counts) << "\n";
  }
  if (!context.out) return kExitFailure;
  return counts.errors + counts.warnings == 0 ? kExitOk : kExitFailure;
}

}  // namespace tarnlow::cli
