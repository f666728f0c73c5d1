#include "anim/animation_frames.h"

#include <algorithm>
#include <span>
#include <string>
#include <variant>

#include "anim/key_frame.h"

namespace tarnlow {

namespace {

std::string str(std::int64_t v) { return std::to_string(v); }

}  // namespace

std::vector<Finding> AnimationFrameFindings(const WadDocument& document, std::int64_t index,
                                            std::optional<std::size_t> owner, int meshCount) {
  std::vector<Finding> found;
  if (index < 0 || static_cast<std::uint64_t>(index) >= document.Animations.size()) return found;
  const auto add = [&](Severity severity, std::string rule, std::string problem, std::string target) -> Finding& {
    Finding f{severity, "Animations", index, std::move(problem), std::move(target), owner};
    f.rule = std::move(rule);
    f.animation = index;
    found.push_back(std::move(f));
    return found.back();
  };
  const AnimationRecord a = document.Animations[static_cast<std::size_t>(index)];
  const std::variant<int, Finding> keys = KeyFrameCount(a, index);
  if (const auto* problem = std::get_if<Finding>(&keys)) {
    Finding& f = add(problem->severity, "key-frame-count", problem->problem, problem->target);
    f.moveable = owner;
    return found;
  }
  const int keyFrames = std::get<int>(keys);
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
  const std::int64_t start = a.FrameOffset / 2;
  const std::int64_t end = start + std::int64_t{keyFrames} * a.FrameSize;
  const auto words = static_cast<std::int64_t>(document.Frames.size());
  if (end > words) {
    add(Severity::Error, "frames-past-end",
        "its " + str(keyFrames) + " key frames of " + str(a.FrameSize) + " words run from Frames word " + str(start) +
            " to " + str(end) + ", past the " + str(words) + " frame words",
        "Frames word " + str(std::max(start, words)));
    return found;
  }
  // A key frame holds one rotation per mesh of its object: only an
  // animation with a known owner can be decoded.
  if (meshCount < 1) return found;
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

}  // namespace tarnlow
