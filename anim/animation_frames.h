#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <vector>

#include "anim/finding.h"
#include "anim/key_frame_budget.h"
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

// AnimationFrameFindings for many animations, with the work bounded by the
// file (see KeyFrameBudget): the ranges of every animation are tested, but
// key frames are decoded once per block, an animation of a block already
// decoded getting that block's findings as its own, and not at all once
// the budget is spent. Ask in WAD order for the same answer on every run.
class AnimationFrameJudge {
 public:
  // `document` must outlive the judge.
  explicit AnimationFrameJudge(const WadDocument& document);

  // The findings of animation `index`, as AnimationFrameFindings gives
  // them, except for key frames left unjudged. Never fails.
  std::vector<Finding> findings(std::int64_t index, std::optional<std::size_t> owner, int meshCount);

  // The animations whose key frames were left unjudged, and in one note.
  const std::map<std::int64_t, int>& left() const { return budget_.left(); }
  std::optional<Finding> note() const { return budget_.note(); }

 private:
  const WadDocument& document_;
  KeyFrameBudget budget_;
  std::map<std::int64_t, std::vector<Finding>> decoded_;  // per judged animation: its key frames' findings
};

}  // namespace tarnlow
