#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "content/object_content.h"
#include "wad/swd_document.h"
#include "wad/wad_document.h"

namespace tarnlow {

// One side of a comparison: a WAD, the SWD beside it (nullptr when it has
// none, read as one without sprites) and its sound table (nullptr for none).
struct DiffSide {
  const WadDocument& wad;
  const SwdDocument* swd = nullptr;
  const SoundTable* sounds = nullptr;
};

// An object or static found on both sides whose content differs.
struct ChangedSlot {
  std::int32_t slot = 0;
  std::vector<ContentDifference> differences;
};

// Objects (or statics) by slot ID. A slot written more than once is paired
// occurrence by occurrence, in the order of each WAD.
struct SlotDiff {
  std::vector<std::int32_t> added;    // in the new WAD only
  std::vector<std::int32_t> removed;  // in the old WAD only
  std::vector<ChangedSlot> changed;
  bool empty() const { return added.empty() && removed.empty() && changed.empty(); }
};

// Texture pages compared page by page by their pixels; a page on one side
// only counts as differing.
struct PageDiff {
  std::size_t oldPages = 0, newPages = 0;
  std::vector<std::size_t> changed;  // pages both hold whose pixels differ
  bool empty() const { return oldPages == newPages && changed.empty(); }
};

// The SWD's sprites: each sprite by the pixels of its rectangle and its
// placement, sprite by sprite, and the sprite sequences by slot.
struct SpriteDiff {
  PageDiff pages;
  std::size_t oldSprites = 0, newSprites = 0;
  std::vector<std::size_t> changed;  // sprites both hold that differ
  SlotDiff sequences;                // a changed sequence says no more than that
  bool empty() const { return pages.empty() && oldSprites == newSprites && changed.empty() && sequences.empty(); }
};

struct WadDiff {
  SlotDiff moveables;
  SlotDiff statics;
  PageDiff texturePages;
  SpriteDiff sprites;
  bool spritesCompared = false;  // either side had an SWD
  // True when the two sides hold the same content.
  bool same() const { return moveables.empty() && statics.empty() && texturePages.empty() && sprites.empty(); }
};

// What differs from `old` to `updated`, measured by content (see
// CompareContent): objects and statics by slot, texture pages by pixels,
// sprites by the pixels under them. Each distinct mesh of each side is
// decoded once. Never fails: faults of either WAD are compared as content.
WadDiff DiffWads(const DiffSide& old, const DiffSide& updated);

}  // namespace tarnlow
