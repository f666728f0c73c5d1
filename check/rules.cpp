#include "check/rules.h"

#include <array>

namespace tarnlow {

std::span<const Rule> AllRules() {
  static constexpr std::array kRules{
      &CheckMoveables,  // first: the others need to know who owns an animation
      &CheckAnimationFrames, &CheckAnimationLinks, &CheckAnimationCommands, &CheckStateChanges,
      &CheckDispatches,      &CheckMeshPointers,   &CheckStaticMeshes,      &CheckTextureInfo,
      &CheckDrawnObjects,    &CheckSections,       &CheckSoundFiles,
  };
  return kRules;
}

}  // namespace tarnlow
