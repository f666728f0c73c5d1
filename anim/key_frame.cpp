#include "anim/key_frame.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <string>

#include "anim/animation_state.h"

namespace tarnlow {

namespace {

constexpr double kTurn = 2 * std::numbers::pi;

double threeAxisAngle(std::uint32_t units) { return kTurn * static_cast<double>(units) / kThreeAxisUnitsPerTurn; }
double oneAxisAngle(std::uint32_t units) { return kTurn * static_cast<double>(units) / kOneAxisUnitsPerTurn; }

Finding animationProblem(std::int64_t animation, std::string problem, std::string target = {}) {
  return Finding{Severity::Error, "Animations", animation, std::move(problem), std::move(target), std::nullopt};
}

}  // namespace

MeshAngles DecodeAngles(std::uint16_t first, std::uint16_t second) {
  MeshAngles a;
  a.first = first;
  switch (first >> 14) {
    case 0: {
      a.encoding = AngleEncoding::ThreeAxis;
      a.second = second;
      // 30 bits across the two words: X in the top ten, then Y, then Z.
      const std::uint32_t bits = (std::uint32_t{first} << 16) | second;
      a.x = threeAxisAngle((bits >> 20) & 0x3FF);
      a.y = threeAxisAngle((bits >> 10) & 0x3FF);
      a.z = threeAxisAngle(bits & 0x3FF);
      break;
    }
    case 1:
      a.encoding = AngleEncoding::XOnly;
      a.x = oneAxisAngle(first & 0x0FFF);
      break;
    case 2:
      a.encoding = AngleEncoding::YOnly;
      a.y = oneAxisAngle(first & 0x0FFF);
      break;
    default:
      a.encoding = AngleEncoding::ZOnly;
      a.z = oneAxisAngle(first & 0x0FFF);
      break;
  }
  return a;
}

std::variant<KeyFrame, Finding> DecodeFrameWords(std::span<const std::int16_t> words, int meshCount) {
  const auto word = [&](std::size_t i) { return static_cast<std::uint16_t>(words[i]); };
  const auto shortBy = [&](std::size_t needed, const std::string& what) {
    return Finding{Severity::Error, "Frames", -1,
                   "the frame ends inside " + what + ": " + std::to_string(needed) + " words needed, " +
                       std::to_string(words.size()) + " there",
                   {}, std::nullopt};
  };
  if (words.size() < kFrameHeaderWords) return shortBy(kFrameHeaderWords, "its bounding box and offset");
  KeyFrame frame;
  frame.box = {words[0], words[1], words[2], words[3], words[4], words[5]};
  frame.offset = {static_cast<double>(words[6]), static_cast<double>(words[7]), static_cast<double>(words[8])};
  frame.angles.reserve(static_cast<std::size_t>(std::max(meshCount, 0)));
  std::size_t at = kFrameHeaderWords;
  for (int mesh = 0; mesh < meshCount; ++mesh) {
    const auto what = [mesh] { return "the rotation of mesh " + std::to_string(mesh); };
    if (at >= words.size()) return shortBy(at + 1, what());
    const std::uint16_t first = word(at);
    const bool threeAxis = (first >> 14) == 0;
    if (threeAxis && at + 1 >= words.size()) return shortBy(at + 2, what());
    frame.angles.push_back(DecodeAngles(first, threeAxis ? word(at + 1) : 0));
    at += threeAxis ? 2 : 1;
  }
  frame.words = at;
  return frame;
}

std::optional<std::size_t> FrameWordCount(std::span<const std::uint8_t> bytes, int meshCount) {
  const std::size_t words = bytes.size() / 2;
  std::size_t at = kFrameHeaderWords;
  for (int mesh = 0; mesh < meshCount; ++mesh) {
    if (at >= words) return std::nullopt;
    // The top two bits sit in the high byte of the little-endian word.
    at += (bytes[2 * at + 1] >> 6) == 0 ? 2 : 1;
  }
  if (at > words) return std::nullopt;
  return at;
}

bool IsEmptyAnimation(const AnimationRecord& a) {
  return static_cast<std::uint16_t>(FrameNumber(a.FrameEnd) + 1) == FrameNumber(a.FrameStart);
}

int FrameCount(const AnimationRecord& a) {
  const int start = FrameNumber(a.FrameStart), end = FrameNumber(a.FrameEnd);
  return IsEmptyAnimation(a) || end < start ? 0 : end - start + 1;
}

bool IsFrameOf(const AnimationRecord& a, std::int64_t frame) {
  return FrameCount(a) > 0 && frame >= FrameNumber(a.FrameStart) && frame <= FrameNumber(a.FrameEnd);
}

std::string DescribeFrames(const AnimationRecord& a, std::string_view whose) {
  if (FrameCount(a) == 0) return "no frames";
  return DescribeFrameSpan(a, FrameNumber(a.FrameStart), FrameNumber(a.FrameEnd), whose);
}

std::string DescribeFrameSpan(const AnimationRecord& a, std::int64_t first, std::int64_t last,
                              std::string_view whose) {
  // Findings quote the file's numbers; the view counts from the start.
  const auto span = [first, last](std::int64_t shift) {
    return first == last ? "frame " + std::to_string(first - shift)
                         : "frames " + std::to_string(first - shift) + " to " + std::to_string(last - shift);
  };
  const std::int64_t start = FrameNumber(a.FrameStart);
  if (first < start) return span(0);
  return span(0) + " (" + span(start) + " of " + std::string(whose) + ")";
}

std::variant<int, Finding> KeyFrameCount(const AnimationRecord& a, std::int64_t animationIndex) {
  // Counted from the frame range alone: whether key frames are stored
  // (FrameSize) is the AnimationState's to say.
  if (IsEmptyAnimation(a)) {
    const AnimationState state = DescribeAnimationState(a);
    Finding said = animationProblem(animationIndex, state.text);
    said.severity = state.severity;
    return said;
  }
  if (a.FrameRate == 0) return animationProblem(animationIndex, "FrameRate 0: no frame between two key frames");
  const int start = FrameNumber(a.FrameStart), end = FrameNumber(a.FrameEnd);
  if (end < start) {
    return animationProblem(animationIndex,
                            "FrameEnd " + std::to_string(end) + " is before FrameStart " + std::to_string(start));
  }
  return (end - start + a.FrameRate - 1) / a.FrameRate + 1;
}

std::variant<KeyFrameRead, Finding> DecodeKeyFrame(const WadDocument& document, std::int64_t animationIndex,
                                                   int keyFrame, int meshCount) {
  if (animationIndex < 0 || static_cast<std::uint64_t>(animationIndex) >= document.Animations.size()) {
    return animationProblem(animationIndex, "there is no animation " + std::to_string(animationIndex) +
                                                "; the WAD holds " + std::to_string(document.Animations.size()));
  }
  const AnimationRecord a = document.Animations[static_cast<std::size_t>(animationIndex)];
  const std::variant<int, Finding> keys = KeyFrameCount(a, animationIndex);
  if (const auto* problem = std::get_if<Finding>(&keys)) return *problem;
  if (keyFrame < 0 || keyFrame >= std::get<int>(keys)) {
    return animationProblem(animationIndex, "key frame " + std::to_string(keyFrame) + " is not one of its " +
                                                std::to_string(std::get<int>(keys)));
  }
  if (a.FrameOffset < 0 || a.FrameOffset % 2 != 0) {
    return animationProblem(animationIndex,
                            "FrameOffset " + std::to_string(a.FrameOffset) + " is not a byte offset of a frame word",
                            "Frames");
  }
  const std::size_t frameWords = document.Frames.size();
  const std::uint64_t start = static_cast<std::uint64_t>(a.FrameOffset / 2) +
                              static_cast<std::uint64_t>(keyFrame) * a.FrameSize;
  // At most 9 header words and two per mesh: what a frame can take.
  const std::uint64_t most = kFrameHeaderWords + 2 * static_cast<std::uint64_t>(std::max(meshCount, 0));
  if (start >= frameWords) {
    return animationProblem(animationIndex,
                            "key frame " + std::to_string(keyFrame) + " starts at Frames word " +
                                std::to_string(start) + ", outside the " + std::to_string(frameWords) + " words",
                            "Frames word " + std::to_string(start));
  }
  const std::size_t available = static_cast<std::size_t>(std::min<std::uint64_t>(most, frameWords - start));
  // The document keeps Frames as file bytes; the frame's words are taken
  // out once so that the decoder works on plain values.
  std::vector<std::int16_t> words(available);
  for (std::size_t i = 0; i < available; ++i) words[i] = document.Frames[static_cast<std::size_t>(start) + i];
  std::variant<KeyFrame, Finding> decoded = DecodeFrameWords(words, meshCount);
  if (auto* problem = std::get_if<Finding>(&decoded)) {
    problem->section = "Animations";
    problem->record = animationIndex;
    problem->problem = "key frame " + std::to_string(keyFrame) + " at Frames word " + std::to_string(start) +
                       " leaves the frames: " + problem->problem;
    problem->target = "Frames word " + std::to_string(frameWords);
    return *problem;
  }
  KeyFrameRead read{std::move(std::get<KeyFrame>(decoded)), std::nullopt};
  if (read.frame.words > a.FrameSize) {
    read.overrun = Finding{Severity::Error, "Animations", animationIndex,
                           "key frame " + std::to_string(keyFrame) + " needs " + std::to_string(read.frame.words) +
                               " words for " + std::to_string(meshCount) + " meshes, more than FrameSize " +
                               std::to_string(a.FrameSize),
                           "Frames word " + std::to_string(start + a.FrameSize), std::nullopt};
  }
  return read;
}

FrameSample SampleFrame(int keyFrames, int rate, double frame) {
  if (keyFrames < 1 || rate < 1) return {};
  const double last = static_cast<double>(keyFrames - 1) * rate;
  if (!(frame > 0)) return {};
  if (frame >= last) return {keyFrames - 1, keyFrames - 1, 0};
  const double steps = frame / rate;
  const int from = static_cast<int>(std::floor(steps));
  return {from, from + 1, steps - from};
}

}  // namespace tarnlow
