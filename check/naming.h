#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "anim/finding.h"
#include "wad/object_names.h"
#include "wad/wad_document.h"

namespace tarnlow {

// How findings name what they are about: objects by slot name and their
// place in the object list, animations by their number within the object
// (as the animation chooser numbers them) with the WAD-wide record after
// it, static meshes by slot name.
class CheckNames {
 public:
  // `names` may be null: objects are then called by their place alone.
  CheckNames(const WadDocument& document, const ObjectNameTables* names);

  // "LARA (object 0)", or "object 0" when the table has no name for it.
  std::string object(std::size_t moveable) const;
  // "PLANT0 (static mesh 3, slot 3)", or "static mesh 3 (slot 3)".
  std::string staticMesh(std::size_t index) const;
  // The animation's number within its object, or the WAD-wide index when
  // no object owns it.
  std::int64_t animationNumber(std::int64_t animation) const;
  // What a finding is about: "LARA (object 0), animation 5 (Animations
  // 448)", with its frame both ways when it has one ("frame 25 (frame 12 of
  // this animation)"), "TextInfo 37", "AnimDispatches 12".
  std::string subject(const Finding& finding) const;
  // The finding's problem with each object it names by place ("object 4")
  // called as object() calls it: "NextAnimation 460 belongs to
  // CROSSBOW_ANIM (object 4), ...".
  std::string problem(const Finding& finding) const;
  // The finding as one line: "error LARA (object 0), animation 5
  // (Animations 448): NextAnimation 900 is outside the 40 animations
  // (-> Animations 900)".
  std::string line(const Finding& finding) const;

 private:
  const WadDocument& doc_;
  const ObjectNameTables* names_;
  std::vector<std::int64_t> firstAnimation_;  // per moveable: its first animation, or -1
  std::vector<std::int64_t> owner_;           // per animation: its moveable, or -1
};

}  // namespace tarnlow
