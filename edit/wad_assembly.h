#pragma once

#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "wad/wad_document.h"

namespace tarnlow {

// One object of a WAD being built and where it comes from.
struct AssemblyObject {
  const WadDocument* from = nullptr;
  bool isStatic = false;
  std::size_t position = 0;  // in `from`'s moveables or statics
  std::int32_t slot = 0;     // the slot it fills in the result
  std::string label;         // for messages: "BADDY_1 of KurtisBaddy.wad"
};

// What one object brought into the result.
struct AssemblyCounts {
  std::size_t meshesNew = 0, meshesShared = 0;
  std::size_t rectanglesNew = 0, rectanglesShared = 0;
  std::size_t animations = 0;
  std::set<int> soundSlots;  // the slots its Play Sound commands play
};

struct Assembly {
  WadDocument document;
  std::vector<AssemblyCounts> counts;  // one per object, in the order given
  std::vector<std::size_t> placed;     // each object's position among the result's moveables or statics
};

// Builds a whole WAD from `objects`: moveables in ascending slot order (in
// the order given within a slot), then statics likewise; one mesh pointer per
// object mesh, each distinct mesh stored once on a 4-byte boundary; mesh
// trees of 4 x meshes - 1 words, single-mesh objects on tree 0; every
// animation's state changes, dispatches, commands and key-frame block copied,
// animation numbers re-based. `target`'s texture records and pages stay
// where they are, but for records that only its objects left out used, which
// go; other objects' rectangles are shared with a pixel-equal record or
// copied into free space. An animation that leads into another object's
// lands on the result's object in that slot.
//
// Throws WadError(kSubscriptOutOfRange) saying which object and record could
// not be carried (a mesh that does not decode, a reference outside its
// section, a lead into an animation the result lacks, more records than
// 16-bit indices reach).
Assembly AssembleWad(const WadDocument& target, const std::vector<AssemblyObject>& objects);

}  // namespace tarnlow
