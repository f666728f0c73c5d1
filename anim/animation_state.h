#pragma once

#include <string>

#include "anim/finding.h"
#include "wad/wad_document.h"

namespace tarnlow {

// What an animation slot holds, in the words and at the severity every view
// uses: the check, the animation chooser, `pose` and the exporters.
struct AnimationState {
  enum Kind {
    Frames,       // frames and key frames to play
    Empty,        // no frames, no state changes, no commands: "empty"
    // No frames, but state changes or commands: something was meant to play
    // there. A note: original WADs hold dozens, and the game plays them.
    NoFrames,
    NoKeyFrames,  // a frame range, but FrameSize 0: "no key frames stored (frames 0 to 139 named)"
  };
  Kind kind = Frames;
  std::string text;                    // empty for Frames
  Severity severity = Severity::Note;  // for all but Frames
};

// The state of animation `a`. A frame range that runs backwards other than
// by the empty mark (FrameEnd one before FrameStart) still counts as no
// frames here; KeyFrameCount tells it as an error of its own. Pure.
AnimationState DescribeAnimationState(const AnimationRecord& a);

}  // namespace tarnlow
