#pragma once

#include <vector>

#include "check/check_context.h"

namespace tarnlow {

// Weighs the findings of all rules by what the game uses:
//  - a fault in a record nothing refers to (a texture-info record no face
//    shows, a state change no animation covers, a dispatch no used state
//    change covers, a mesh pointer no object or static uses) becomes a
//    note that says so;
//  - an empty animation slot (see AnimationState::Empty) loses its own
//    findings: one note per object counts its unreferenced
//    empty slots, and a slot that a moveable, a non-empty animation or a
//    used dispatch leads to is one error.
// Never fails.
void WeighByUse(const CheckContext& context, std::vector<Finding>& findings);

// True for an animation slot that holds nothing: no frames, no state
// changes and no commands (AnimationState::Empty). A frame range without
// key frames (FrameSize 0) is not empty: its frames are named.
bool IsEmptySlot(const AnimationRecord& animation);

}  // namespace tarnlow
