#include "anim/animation_frames.h"

#include <algorithm>
#include <span>
#include <string>
#include <variant>

#include "anim/animation_state.h"
#include "anim/key_frame.h"

namespace tarnlow {

namespace {

std::string str(std::int64_t v) { return std::to_string(v); }

Finding frameFinding(std::int64_t index, std::optional<std::size_t> owner, Severity severity, std::string rule,
                     std::string problem, std::string target) {
  Finding f{severity, "Animations", index, std::move(problem), std::move(target), owner};
  f.rule = std::move(rule);
  f.animation = index;
  return f;
}

// The findings of decoding the `keyFrames` key frames of animation `index`
// from Frames word `start` on.
std::vector<Finding> keyFrameFindings(const WadDocument& document, std::int64_t index, std::optional<std::size_t> owner,
                                      int meshCount, int keyFrames, std::int64_t start) {
  std::vector<Finding> found;
  const AnimationRecord a = document.Animations[static_cast<std::size_t>(index)];
  const auto add = [&](Severity severity, std::string rule, std::string problem, std::string target) -> Finding& {
    found.push_back(frameFinding(index, owner, severity, std::move(rule), std::move(problem), std::move(target)));
    return found.back();
  };
  int overruns = 0, firstOverrun = -1;
  std::size_t firstWords = 0;
  const std::span<const std::uint8_t> stored = document.Frames.storedBytes();
  for (int k = 0; k < keyFrames; ++k) {
    // Most frames are only measured, straight from the file bytes; the
    // full decoder speaks for a frame that runs off what the file holds.
    const std::size_t at = 2 * static_cast<std::size_t>(start + std::int64_t{k} * a.FrameSize);
    std::optional<std::size_t> frameWords =
        at < stored.size() ? FrameWordCount(stored.subspan(at), meshCount) : std::nullopt;
    if (!frameWords) {
      std::variant<KeyFrameRead, Finding> read = DecodeKeyFrame(document, index, k, meshCount);
      if (auto* problem = std::get_if<Finding>(&read)) {
        add(problem->severity, "key-frame-decode", problem->problem, problem->target).frame =
            FrameNumber(a.FrameStart) + std::int64_t{k} * a.FrameRate;
        break;
      }
      frameWords = std::get<KeyFrameRead>(read).frame.words;
    }
    if (*frameWords > a.FrameSize && overruns++ == 0) {
      firstOverrun = k;
      firstWords = *frameWords;
    }
  }
  if (overruns > 0) {
    add(Severity::Error, "key-frame-overrun",
        str(overruns) + " of its " + str(keyFrames) + " key frames need more than FrameSize " + str(a.FrameSize) +
            " words for its object's " + str(meshCount) + " meshes (key frame " + str(firstOverrun) + " needs " +
            str(static_cast<std::int64_t>(firstWords)) + ")",
        "Frames word " + str(start + std::int64_t{firstOverrun} * a.FrameSize))
        .frame = FrameNumber(a.FrameStart) + std::int64_t{firstOverrun} * a.FrameRate;
  }
  return found;
}

// The findings of animation `from`'s key frames told of animation `index`,
// which names the same block: its own record, and its own frame numbers.
std::vector<Finding> renumbered(const WadDocument& document, std::vector<Finding> found, std::int64_t from,
                                std::int64_t index, std::optional<std::size_t> owner) {
  const AnimationRecord source = document.Animations[static_cast<std::size_t>(from)];
  const AnimationRecord a = document.Animations[static_cast<std::size_t>(index)];
  for (Finding& f : found) {
    f.record = index;
    f.animation = index;
    f.moveable = owner;
    if (f.frame && source.FrameRate != 0) {
      f.frame = FrameNumber(a.FrameStart) + (*f.frame - FrameNumber(source.FrameStart)) / source.FrameRate * a.FrameRate;
    }
  }
  return found;
}

// The tests of animation `index` that need no key frame decoded: its frame
// range, FrameOffset, FrameSize and whether its key frames lie inside
// Frames. Sets `keyFrames` and `start` when its key frames can be decoded.
std::vector<Finding> rangeFindings(const WadDocument& document, std::int64_t index, std::optional<std::size_t> owner,
                                   int& keyFrames, std::int64_t& start) {
  std::vector<Finding> found;
  keyFrames = 0;
  const auto add = [&](Severity severity, std::string rule, std::string problem, std::string target) {
    found.push_back(frameFinding(index, owner, severity, std::move(rule), std::move(problem), std::move(target)));
  };
  const AnimationRecord a = document.Animations[static_cast<std::size_t>(index)];
  const std::variant<int, Finding> keys = KeyFrameCount(a, index);
  if (const auto* problem = std::get_if<Finding>(&keys)) {
    add(problem->severity, "key-frame-count", problem->problem, problem->target);
    return found;
  }
  if (const AnimationState state = DescribeAnimationState(a); state.kind == AnimationState::NoKeyFrames) {
    add(state.severity, "no-key-frames", state.text, {});
    return found;
  }
  bool usable = true;
  if (a.FrameOffset < 0 || a.FrameOffset % 2 != 0) {
    add(Severity::Error, "frame-offset", "FrameOffset " + str(a.FrameOffset) + " is not the byte offset of a frame word",
        "Frames");
    usable = false;
  }
  if (a.FrameSize < kFrameHeaderWords) {
    add(Severity::Error, "frame-size",
        "FrameSize " + str(a.FrameSize) + " is smaller than the " + str(kFrameHeaderWords) +
            " words of a frame's box and offset",
        {});
    usable = false;
  }
  if (!usable) return found;
  const int count = std::get<int>(keys);
  const std::int64_t first = a.FrameOffset / 2;
  const std::int64_t end = first + std::int64_t{count} * a.FrameSize;
  const auto words = static_cast<std::int64_t>(document.Frames.size());
  if (end > words) {
    add(Severity::Error, "frames-past-end",
        "its " + str(count) + " key frames of " + str(a.FrameSize) + " words run from Frames word " + str(first) +
            " to " + str(end) + ", past the " + str(words) + " frame words",
        "Frames word " + str(std::max(first, words)));
    return found;
  }
  keyFrames = count;
  start = first;
  return found;
}

}  // namespace

std::vector<Finding> AnimationFrameFindings(const WadDocument& document, std::int64_t index,
                                            std::optional<std::size_t> owner, int meshCount) {
  AnimationFrameJudge judge(document);
  return judge.findings(index, owner, meshCount);
}

AnimationFrameJudge::AnimationFrameJudge(const WadDocument& document) : document_(document), budget_(document) {}

std::vector<Finding> AnimationFrameJudge::findings(std::int64_t index, std::optional<std::size_t> owner,
                                                   int meshCount) {
  if (index < 0 || static_cast<std::uint64_t>(index) >= document_.Animations.size()) return {};
  int keyFrames = 0;
  std::int64_t start = 0;
  std::vector<Finding> found = rangeFindings(document_, index, owner, keyFrames, start);
  // A key frame holds one rotation per mesh of its object: only an
  // animation with a known owner can be decoded.
  if (keyFrames == 0 || meshCount < 1) return found;
  const AnimationRecord a = document_.Animations[static_cast<std::size_t>(index)];
  const KeyFrameBudget::Turn turn = budget_.take(index, KeyFrameBlockOf(a, keyFrames, meshCount));
  std::vector<Finding> decoded;
  if (turn.kind == KeyFrameBudget::Turn::Judge) {
    decoded = keyFrameFindings(document_, index, owner, meshCount, keyFrames, start);
    decoded_[index] = decoded;
  } else if (turn.kind == KeyFrameBudget::Turn::Same) {
    decoded = renumbered(document_, decoded_[turn.same], turn.same, index, owner);
  }
  found.insert(found.end(), decoded.begin(), decoded.end());
  return found;
}

}  // namespace tarnlow
