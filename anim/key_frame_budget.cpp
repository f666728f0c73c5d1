#include "anim/key_frame_budget.h"

#include <algorithm>
#include <string>

#include "anim/key_frame.h"

namespace tarnlow {

namespace {

// The least a key frame can take: its header and one word for each of a
// figure's meshes, of which there is at least one.
constexpr std::int64_t kSmallestKeyFrameWords = kFrameHeaderWords + 1;

}  // namespace

KeyFrameBudget::KeyFrameBudget(const WadDocument& document)
    : wordsLeft_(2 * static_cast<std::int64_t>(document.Frames.size())) {}

KeyFrameBudget::Turn KeyFrameBudget::take(std::int64_t animation, const Block& block) {
  if (const auto found = first_.find(block); found != first_.end()) return {Turn::Same, found->second};
  // A block is charged by the words it covers, never less than its key
  // frames could take: a FrameSize below a key frame's size is no discount.
  const std::int64_t words =
      std::int64_t{block.keyFrames} * std::max<std::int64_t>(block.frameSize, kSmallestKeyFrameWords);
  if (words > wordsLeft_) {
    left_.emplace(animation, block.keyFrames);
    return {Turn::Leave, -1};
  }
  wordsLeft_ -= words;
  first_.emplace(block, animation);
  return {Turn::Judge, -1};
}

std::optional<Finding> KeyFrameBudget::note() const { return KeyFramesLeftNote(left_); }

std::optional<Finding> KeyFramesLeftNote(const std::map<std::int64_t, int>& left) {
  if (left.empty()) return std::nullopt;
  std::int64_t keyFrames = 0;
  for (const auto& [animation, count] : left) keyFrames += count;
  Finding f{Severity::Note, "Frames", -1,
            "the key frames of " + std::to_string(left.size()) + " animations (" + std::to_string(keyFrames) +
                " key frames) were left unjudged: the animations judged before them had read twice what Frames holds",
            {}};
  f.rule = kKeyFramesLeftRule;
  return f;
}

KeyFrameBudget::Block KeyFrameBlockOf(const AnimationRecord& a, int keyFrames, std::int64_t figure) {
  return {a.FrameOffset, a.FrameSize, keyFrames, figure};
}

}  // namespace tarnlow
