#include "check/fold.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <tuple>

namespace tarnlow {

namespace {

// A problem cut into text and numbers: text, number, text, ..., text.
struct Pieces {
  std::vector<std::string> text;
  std::vector<std::string> numbers;
};

Pieces cut(const std::string& problem) {
  Pieces p{{std::string()}, {}};
  for (std::size_t i = 0; i < problem.size();) {
    const bool digit = std::isdigit(static_cast<unsigned char>(problem[i])) != 0;
    const bool sign = problem[i] == '-' && i + 1 < problem.size() &&
                      std::isdigit(static_cast<unsigned char>(problem[i + 1])) != 0 &&
                      (i == 0 || problem[i - 1] == ' ' || problem[i - 1] == '(');
    // A digit inside a word ("x2", "UTF-8") is text, not a number.
    const bool wordy = i > 0 && std::isalpha(static_cast<unsigned char>(problem[i - 1])) != 0;
    if ((digit || sign) && !wordy) {
      std::size_t end = i + 1;
      while (end < problem.size() && std::isdigit(static_cast<unsigned char>(problem[end])) != 0) ++end;
      p.numbers.push_back(problem.substr(i, end - i));
      p.text.emplace_back();
      i = end;
    } else {
      p.text.back() += problem[i++];
    }
  }
  return p;
}

std::string str(std::int64_t v) { return std::to_string(v); }

// "animations 3 to 27 (Animations 131 to 155)", "TextInfo 37 to 291".
std::string rangeSubject(const std::vector<const Finding*>& members, const CheckNames& names) {
  const Finding& first = *members.front();
  std::string text = first.moveable ? names.object(*first.moveable) + ", " : std::string();
  const bool byAnimation =
      std::all_of(members.begin(), members.end(), [](const Finding* f) { return f->animation.has_value(); });
  std::int64_t lo = INT64_MAX, hi = INT64_MIN;
  for (const Finding* f : members) {
    const std::int64_t n = byAnimation ? names.animationNumber(*f->animation) : f->record;
    lo = std::min(lo, n);
    hi = std::max(hi, n);
  }
  const std::string span = lo == hi ? str(lo) : str(lo) + " to " + str(hi);
  if (byAnimation && first.moveable) return text + (lo == hi ? "animation " : "animations ") + span;
  if (byAnimation) return text + "Animations " + span;
  return text + first.section + " " + span;
}

}  // namespace

std::string ProblemShape(const std::string& problem) {
  const Pieces p = cut(problem);
  std::string shape = p.text.front();
  for (std::size_t i = 1; i < p.text.size(); ++i) shape += "#" + p.text[i];
  return shape;
}

std::vector<FindingGroup> FoldFindings(const std::vector<Finding>& findings, const CheckNames& names) {
  std::vector<FindingGroup> groups;
  for (std::size_t i = 0; i < findings.size(); ++i) {
    const Finding& f = findings[i];
    if (groups.empty() || groups.back().moveable != f.moveable) {
      groups.push_back(FindingGroup{f.moveable, f.moveable ? names.object(*f.moveable) : "WAD-wide", {}, {}});
    }
    FindingGroup& group = groups.back();
    if (f.severity == Severity::Error) ++group.counts.errors;
    if (f.severity == Severity::Warning) ++group.counts.warnings;
    if (f.severity == Severity::Note) ++group.counts.notes;
  }
  // Alike findings of a group, in the order their first member came.
  using Key = std::tuple<std::optional<std::size_t>, std::string, std::string, Severity, std::string>;
  std::map<Key, std::size_t> lineOf;
  std::size_t g = 0;
  for (std::size_t i = 0; i < findings.size(); ++i) {
    const Finding& f = findings[i];
    while (groups[g].moveable != f.moveable) ++g;
    const Key key{f.moveable, f.section, f.rule, f.severity, ProblemShape(f.problem)};
    const auto [at, fresh] = lineOf.try_emplace(key, groups[g].lines.size());
    if (fresh) groups[g].lines.push_back(FoldedLine{f.severity, {}, {}});
    groups[g].lines[at->second].members.push_back(i);
  }
  for (FindingGroup& group : groups) {
    for (FoldedLine& line : group.lines) {
      const Finding& first = findings[line.members.front()];
      if (line.members.size() == 1) {
        line.text = names.line(first).substr(Describe(first.severity).size() + 1);
        continue;
      }
      std::vector<const Finding*> members;
      std::vector<Pieces> pieces;
      for (std::size_t m : line.members) {
        members.push_back(&findings[m]);
        pieces.push_back(cut(names.problem(findings[m])));
      }
      // Numbers that all members share stay; the others read N.
      const Pieces& firstPieces = pieces.front();
      std::string problem = firstPieces.text.front();
      for (std::size_t k = 0; k < firstPieces.numbers.size(); ++k) {
        const bool same = std::all_of(pieces.begin(), pieces.end(), [&](const Pieces& p) {
          return k < p.numbers.size() && p.numbers[k] == firstPieces.numbers[k];
        });
        problem += (same ? firstPieces.numbers[k] : "N") + firstPieces.text[k + 1];
      }
      line.text =
          rangeSubject(members, names) + ", " + str(static_cast<std::int64_t>(members.size())) + " alike: " + problem;
    }
  }
  return groups;
}

}  // namespace tarnlow
