#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "wad/object_names.h"
#include "wad/wad_document.h"

namespace tarnlow::test {

// A moveable of an ObjectWad: one square mesh per colour, each textured
// with a 4 x 4 rectangle of that grey, and `animations` animations of one
// key frame each. Animation k leads on to k + 1 (the last back to 0); the
// first has one state change whose dispatch leads to the last, and plays
// `sounds`.
struct TestObject {
  std::int32_t slot = 0;
  std::vector<std::uint8_t> colours;
  int animations = 1;
  std::vector<int> sounds;
  // The last animation leads into animation `second` of the object in slot
  // `first` instead of back to 0.
  std::optional<std::pair<std::int32_t, int>> leadsInto;
};

// A static of an ObjectWad: one square mesh of `colour`.
struct TestStatic {
  std::int32_t slot = 0;
  std::uint8_t colour = 0;
};

// A WAD in which every reference holds, made of `moveables` then `statics`
// in the order given. Each distinct colour gets its own rectangle on page
// 0, in order of first use, so that two WADs that use colours in another
// order keep them in other places. A mesh's shape follows from its colour.
WadDocument ObjectWad(const std::vector<TestObject>& moveables, const std::vector<TestStatic>& statics = {});

// Names for the slots ObjectWads use: LARA (0), LARA_SKIN (8), ANIMATING1
// to ANIMATING3 (20 to 22), UZI_ANIM (30), CROSSBOW_ANIM (31); statics
// PLANT0 to PLANT2 (0 to 2) and DEBRIS0 (50).
std::unique_ptr<ObjectNameTables> TestNames();

}  // namespace tarnlow::test
