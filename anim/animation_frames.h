#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "anim/finding.h"
#include "wad/wad_document.h"

namespace tarnlow {

// What is wrong with the frames of animation `index` (an index into
// Animations) for an object of `meshCount` meshes: a frame range or rate
// that gives no key frames (rule key-frame-count; a note for an empty
// animation), a FrameOffset or FrameSize that cannot hold a frame
// (frame-offset, frame-size), key frames past the end of Frames
// (frames-past-end), a key frame that cannot be decoded (key-frame-decode)
// and key frames that need more words than FrameSize (key-frame-overrun,
// once for all of them). Each finding names its rule and `owner`. With no
// meshes (meshCount below 1: the owner is unknown) only the ranges are
// tested. Empty when the frames hold; nothing for an index outside
// Animations. The check, the window and `pose` all tell these.
std::vector<Finding> AnimationFrameFindings(const WadDocument& document, std::int64_t index,
                                            std::optional<std::size_t> owner, int meshCount);

}  // namespace tarnlow
