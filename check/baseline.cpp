#include "check/baseline.h"

#include <cstdint>
#include <map>
#include <string>
#include <tuple>

#include "check/fold.h"

namespace tarnlow {

namespace {

using Key = std::tuple<std::int64_t, std::string, std::string, Severity, std::string>;

Key keyOf(const WadDocument& document, const Finding& f) {
  // Object ids are never negative in a WAD the game takes; -1 stands for
  // the WAD-wide findings, -2 for a moveable index the document lacks.
  std::int64_t object = -1;
  if (f.moveable) object = *f.moveable < document.Moveables.size() ? document.Moveables[*f.moveable].ObjectID : -2;
  return Key{object, f.section, f.rule, f.severity, ProblemShape(f.problem)};
}

}  // namespace

std::vector<Finding> FindingsNotIn(const WadDocument& freshDocument, const std::vector<Finding>& fresh,
                                   const WadDocument& oldDocument, const std::vector<Finding>& old) {
  std::map<Key, std::size_t> unmatched;
  for (const Finding& f : old) ++unmatched[keyOf(oldDocument, f)];
  std::vector<Finding> added;
  for (const Finding& f : fresh) {
    const auto found = unmatched.find(keyOf(freshDocument, f));
    if (found != unmatched.end() && found->second > 0) {
      --found->second;
    } else {
      added.push_back(f);
    }
  }
  return added;
}

}  // namespace tarnlow
