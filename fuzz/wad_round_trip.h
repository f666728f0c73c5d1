#pragma once

#include <cstdint>

#include "wad/wad_document.h"

namespace tarnlow::fuzz {

// The bytes WriteWAD would produce. A short file may claim millions of
// moveables or static meshes that read as zeros without being stored;
// writing those back is correct but costs seconds, so such documents skip
// the round trip.
inline std::uint64_t WrittenSize(const WadDocument& d) {
  return 4 + 12 * 4 + d.TextInfo.byteSize() + d.TextData.byteSize() + d.MeshPointers.byteSize() +
         d.MeshData.size() + d.Animations.byteSize() + d.StateChanges.byteSize() + d.AnimDispatches.byteSize() +
         d.AnimCommands.byteSize() + d.MeshTrees.byteSize() + d.Frames.byteSize() + d.Moveables.byteSize() +
         d.StaticMeshes.byteSize();
}
inline constexpr std::uint64_t kMaxRoundTripBytes = 16u << 20;

}  // namespace tarnlow::fuzz
