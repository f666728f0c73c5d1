#include "check/naming.h"

#include <cctype>

#include "anim/animation_graph.h"
#include "anim/key_frame.h"
#include "mesh/slot_names.h"

namespace tarnlow {

CheckNames::CheckNames(const WadDocument& document, const ObjectNameTables* names)
    : doc_(document),
      names_(names),
      firstAnimation_(document.Moveables.size(), -1),
      owner_(document.Animations.size(), -1) {
  for (std::size_t m = 0; m < document.Moveables.size(); ++m) {
    const AnimationRange range = ObjectAnimationRange(document, m);
    if (range.first < range.end) firstAnimation_[m] = range.first;
    for (std::int64_t a = range.first; a < range.end; ++a)
      owner_[static_cast<std::size_t>(a)] = static_cast<std::int64_t>(m);
  }
}

std::string CheckNames::object(std::size_t moveable) const { return ObjectTitle(doc_, names_, moveable); }

std::string CheckNames::staticMesh(std::size_t index) const { return StaticMeshTitle(doc_, names_, index); }

std::int64_t CheckNames::animationNumber(std::int64_t animation) const {
  if (animation < 0 || static_cast<std::size_t>(animation) >= owner_.size()) return animation;
  const std::int64_t owner = owner_[static_cast<std::size_t>(animation)];
  return owner < 0 ? animation : animation - firstAnimation_[static_cast<std::size_t>(owner)];
}

std::string CheckNames::subject(const Finding& f) const {
  std::string text;
  const auto append = [&text](const std::string& part) { text += (text.empty() ? "" : ", ") + part; };
  if (f.moveable) append(object(*f.moveable));
  if (f.staticMesh) append(staticMesh(*f.staticMesh));
  if (f.animation) {
    const std::int64_t a = *f.animation;
    const bool own = f.moveable && a >= 0 && static_cast<std::size_t>(a) < owner_.size() &&
                     owner_[static_cast<std::size_t>(a)] == static_cast<std::int64_t>(*f.moveable);
    append(own ? "animation " + std::to_string(animationNumber(a)) + " (Animations " + std::to_string(a) + ")"
               : "Animations " + std::to_string(a));
    // The frame as stored and as the view counts it, so that either can be
    // looked up.
    if (f.frame && a >= 0 && static_cast<std::size_t>(a) < doc_.Animations.size()) {
      append(DescribeFrameSpan(doc_.Animations[static_cast<std::size_t>(a)], *f.frame, *f.frame));
    }
  }
  const bool told = (f.section == "Moveables" && f.moveable) || (f.section == "Animations" && f.animation) ||
                    (f.section == "StaticMeshes" && f.staticMesh);
  if (!told && !(f.moveable && f.record < 0)) {
    append(f.record >= 0 ? f.section + " " + std::to_string(f.record) : f.section);
  }
  return text;
}

std::string CheckNames::problem(const Finding& f) const {
  // Problems name other objects by their place, "object 4": each becomes
  // the object's title.
  static constexpr std::string_view kPlace = "object ";
  std::string named;
  std::size_t from = 0;
  for (std::size_t at = f.problem.find(kPlace); at != std::string::npos; at = f.problem.find(kPlace, at + 1)) {
    std::size_t end = at + kPlace.size();
    while (end < f.problem.size() && std::isdigit(static_cast<unsigned char>(f.problem[end]))) ++end;
    const std::optional<std::int64_t> place = end > at + kPlace.size() && end - at - kPlace.size() < 10
                                                  ? std::optional<std::int64_t>(std::stoll(f.problem.substr(at + kPlace.size(), end - at - kPlace.size())))
                                                  : std::nullopt;
    if (!place || static_cast<std::uint64_t>(*place) >= doc_.Moveables.size()) continue;
    named += f.problem.substr(from, at - from) + object(static_cast<std::size_t>(*place));
    from = end;
    at = end - 1;
  }
  return named + f.problem.substr(from);
}

std::string CheckNames::line(const Finding& f) const {
  std::string out = Describe(f.severity) + " " + subject(f) + ": " + problem(f);
  if (!f.target.empty()) out += " (-> " + f.target + ")";
  return out;
}

}  // namespace tarnlow
