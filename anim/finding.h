#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace tarnlow {

// How bad a finding is. An error is a reference that leaves its array or a
// record the game cannot use; a warning is something legal but suspicious
// (an animation whose next animation belongs to another object); a note
// tells what a decoder could not confirm about the data.
enum class Severity { Error, Warning, Note };

// One thing found wrong (or worth telling) about a WAD: which record of which
// section, what is wrong, and what it points at. Skeletons, poses, animation
// graphs and the WAD check all speak in findings, so that the window, the
// command line and the exports show the same facts.
struct Finding {
  Severity severity = Severity::Error;
  std::string section;       // "Moveables", "Animations", "MeshTrees", ...
  std::int64_t record = -1;  // index in that section; -1 when the finding is about the section as a whole
  std::string problem;       // what is wrong: "FrameOffset 12 is not a whole number of frame words"
  std::string target;        // what it points at: "Frames word 6 of 4"; may be empty
  std::optional<std::size_t> moveable;  // the moveable the finding belongs to, when there is one
  // What the check needs beyond the record: a stable name of the rule that
  // found it (baselines and folding match on it, never on wording), and
  // what a viewer should show for it.
  std::string rule;                      // "next-animation-outside", ...; empty outside the check
  std::optional<std::int64_t> animation;  // the animation (index in Animations) it is about
  std::optional<std::int64_t> frame;      // a frame number (as FrameStart counts) it is about
  std::optional<std::size_t> staticMesh;  // the static mesh it is about
  std::optional<std::size_t> page;        // the texture page it is about
  friend bool operator==(const Finding&, const Finding&) = default;
};

// "error", "warning" or "note".
std::string Describe(Severity severity);

// The finding as one line: "error Animations 12: NextAnimation 900 is outside
// the 40 animations (-> Animations 900)". Never fails.
std::string FormatFinding(const Finding& finding);

}  // namespace tarnlow
