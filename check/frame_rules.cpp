#include <algorithm>

#include "anim/key_frame.h"
#include "check/rules.h"

namespace tarnlow {

namespace {

std::string str(std::int64_t v) { return std::to_string(v); }

void checkFrames(CheckContext& context, std::int64_t index) {
  const WadDocument& doc = context.doc();
  const AnimationRecord a = doc.Animations[static_cast<std::size_t>(index)];
  const std::optional<std::size_t> owner = context.ownerOf(index);
  const std::variant<int, Finding> keys = KeyFrameCount(a, index);
  if (const auto* problem = std::get_if<Finding>(&keys)) {
    context.pass(*problem, "key-frame-count", owner);
    return;
  }
  const int keyFrames = std::get<int>(keys);
  bool usable = true;
  if (a.FrameOffset < 0 || a.FrameOffset % 2 != 0) {
    context.add(Severity::Error, "frame-offset", "Animations", index,
                "FrameOffset " + str(a.FrameOffset) + " is not the byte offset of a frame word", "Frames", owner);
    usable = false;
  }
  if (a.FrameSize < kFrameHeaderWords) {
    context.add(Severity::Error, "frame-size", "Animations", index,
                "FrameSize " + str(a.FrameSize) + " is smaller than the " + str(kFrameHeaderWords) +
                    " words of a frame's box and offset",
                {}, owner);
    usable = false;
  }
  if (!usable) return;
  const std::int64_t start = a.FrameOffset / 2;
  const std::int64_t end = start + std::int64_t{keyFrames} * a.FrameSize;
  const auto words = static_cast<std::int64_t>(doc.Frames.size());
  if (end > words) {
    context.add(Severity::Error, "frames-past-end", "Animations", index,
                "its " + str(keyFrames) + " key frames of " + str(a.FrameSize) + " words run from Frames word " +
                    str(start) + " to " + str(end) + ", past the " + str(words) + " frame words",
                "Frames word " + str(std::max(start, words)), owner);
    return;
  }
  if (!owner) return;
  // A key frame holds one rotation per mesh of its object: only an
  // animation with a known owner can be decoded.
  const MoveableRecord moveable = doc.Moveables[*owner];
  if (moveable.NumMeshes < 1) return;
  int overruns = 0, firstOverrun = -1;
  std::size_t firstWords = 0;
  const std::span<const std::uint8_t> stored = doc.Frames.storedBytes();
  for (int k = 0; k < keyFrames; ++k) {
    // Most frames are only measured, straight from the file bytes; the
    // full decoder speaks for a frame that runs off what the file holds.
    const std::size_t at = 2 * static_cast<std::size_t>(start + std::int64_t{k} * a.FrameSize);
    std::optional<std::size_t> frameWords =
        at < stored.size() ? FrameWordCount(stored.subspan(at), moveable.NumMeshes) : std::nullopt;
    if (!frameWords) {
      std::variant<KeyFrameRead, Finding> read = DecodeKeyFrame(doc, index, k, moveable.NumMeshes);
      if (auto* problem = std::get_if<Finding>(&read)) {
        context.pass(std::move(*problem), "key-frame-decode", owner).frame =
            a.FrameStart + std::int64_t{k} * a.FrameRate;
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
    context
        .add(Severity::Error, "key-frame-overrun", "Animations", index,
             str(overruns) + " of its " + str(keyFrames) + " key frames need more than FrameSize " + str(a.FrameSize) +
                 " words for its object's " + str(moveable.NumMeshes) + " meshes (key frame " + str(firstOverrun) +
                 " needs " + str(static_cast<std::int64_t>(firstWords)) + ")",
             "Frames word " + str(start + std::int64_t{firstOverrun} * a.FrameSize), owner)
        .frame = a.FrameStart + std::int64_t{firstOverrun} * a.FrameRate;
  }
}

}  // namespace

void CheckAnimationFrames(CheckContext& context) {
  for (std::size_t i = 0; i < context.doc().Animations.size(); ++i) checkFrames(context, static_cast<std::int64_t>(i));
}

}  // namespace tarnlow
