#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <tuple>

#include "anim/finding.h"
#include "wad/wad_document.h"

namespace tarnlow {

// The rule of the one note that says which key frames were left unjudged.
inline constexpr const char* kKeyFramesLeftRule = "key-frames-left";

// Keeps the work of judging key frames in proportion to the file. Judging
// every key frame of every animation costs animations times key frames, and
// a WAD whose thousands of animations all name one long run of Frames turns
// that into minutes. With a budget, animations that name the same key-frame
// block share one judgement, and all the blocks judged together hold no
// more than about twice the key frames Frames can hold; the rest is counted
// for one note. Decisions depend only on the order in which animations are
// asked for, so a caller that asks in WAD order gets the same answer on
// every run. Not for use from several threads at once.
class KeyFrameBudget {
 public:
  // The key frames of one animation as stored: where they start, how far
  // apart, how many, and which figure (object and mesh count) they are
  // judged for. Animations with equal blocks are judged alike.
  struct Block {
    std::int32_t frameOffset = 0;
    std::int32_t frameSize = 0;
    int keyFrames = 0;
    std::int64_t figure = 0;  // a moveable, or a mesh count, as the caller judges
    auto operator<=>(const Block&) const = default;
  };
  // What to do with an animation's key frames.
  struct Turn {
    enum Kind { Judge, Same, Leave } kind = Judge;
    std::int64_t same = -1;  // for Same: the earlier animation whose judgement stands for this one
  };

  // A budget of twice the key frames Frames holds at the smallest key frame
  // (its box and offset and one word per mesh). Never fails.
  explicit KeyFrameBudget(const WadDocument& document);

  // The turn of animation `animation` (an index into Animations), whose key
  // frames are `block`: Judge the first animation of a block while the
  // budget lasts (its key frames are charged), Same for a later one, Leave
  // once the budget is spent (counted for note()).
  Turn take(std::int64_t animation, const Block& block);

  // The animations left unjudged, each with its key frame count.
  const std::map<std::int64_t, int>& left() const { return left_; }

  // KeyFramesLeftNote(left()).
  std::optional<Finding> note() const;

 private:
  std::map<Block, std::int64_t> first_;  // per block: the animation that was judged for it
  std::int64_t wordsLeft_ = 0;
  std::map<std::int64_t, int> left_;
};

// "the key frames of 12 animations (80000 key frames) were left unjudged:
// ..." for animations `left` (each with its key frame count), in section
// Frames under kKeyFramesLeftRule; nothing when `left` is empty.
std::optional<Finding> KeyFramesLeftNote(const std::map<std::int64_t, int>& left);

// The block of animation `a` for a figure of `figure`.
KeyFrameBudget::Block KeyFrameBlockOf(const AnimationRecord& a, int keyFrames, std::int64_t figure);

}  // namespace tarnlow
