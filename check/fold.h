#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "anim/finding.h"
#include "check/check_wad.h"
#include "check/naming.h"

namespace tarnlow {

// One line of the folded list: a finding, or findings that differ only in
// their numbers told once with their count.
struct FoldedLine {
  Severity severity = Severity::Error;
  std::string text;                  // the line, without its severity
  std::vector<std::size_t> members;  // positions in the findings given to FoldFindings
};

// The findings about one object, or the WAD-wide ones (no moveable).
struct FindingGroup {
  std::optional<std::size_t> moveable;
  std::string title;  // "LARA (object 0)" or "WAD-wide"
  CheckCounts counts;
  std::vector<FoldedLine> lines;
};

// Groups `findings` (in CheckWad's order) by object, then the WAD-wide
// ones, and folds alike findings of a group: same section, rule, severity
// and problem but for its numbers. A folded line reads "TextInfo 37 to 291,
// 255 records: texture page N does not exist; ..." with N where the
// numbers differ. Never fails.
std::vector<FindingGroup> FoldFindings(const std::vector<Finding>& findings, const CheckNames& names);

// The problem with every number replaced by '#': what alike findings share.
std::string ProblemShape(const std::string& problem);

}  // namespace tarnlow
