#include "anim/finding.h"

namespace tarnlow {

std::string Describe(Severity severity) {
  switch (severity) {
    case Severity::Error:
      return "error";
    case Severity::Warning:
      return "warning";
    case Severity::Note:
      return "note";
  }
  return "error";
}

std::string FormatFinding(const Finding& finding) {
  std::string line = Describe(finding.severity) + " " + finding.section;
  if (finding.record >= 0) line += " " + std::to_string(finding.record);
  line += ": " + finding.problem;
  if (!finding.target.empty()) line += " (-> " + finding.target + ")";
  return line;
}

}  // namespace tarnlow
