#pragma once

#include <vector>

#include "wad/wad_document.h"

namespace tarnlow {

// Which records something the game plays refers to. A fault in a record
// that nothing refers to cannot reach the game; the check weighs it as a
// note.
struct Usage {
  std::vector<bool> meshPointers;  // named by a moveable's meshes or a static mesh
  // Who draws each mesh position: the first moveable whose meshes include
  // it, else the first static mesh on it (-1 for none). A finding about the
  // position is told with it, where a builder looks.
  std::vector<std::int64_t> meshPointerMoveable;
  std::vector<std::int64_t> meshPointerStatic;
  std::vector<bool> stateChanges;  // in an animation's state-change range
  std::vector<bool> dispatches;    // in a used state change's dispatch range
  std::vector<bool> textInfo;      // shown by a face of a used mesh; the mesh rule fills it
  bool facesShowTextures = false;  // some face of a used mesh names a record; the mesh rule sets it
  // The first animation whose state changes cover each state change and
  // dispatch, or -1: what a finding about one of them is about.
  std::vector<std::int64_t> stateChangeAnimation;
  std::vector<std::int64_t> dispatchAnimation;
};

// The mesh pointers, state changes and dispatches in use, and the
// animations they serve; `textInfo` is
// sized but left unmarked (only decoding the meshes tells). Ranges that
// leave their array mark what lies inside it. Never fails.
Usage FindUsage(const WadDocument& document);

}  // namespace tarnlow
