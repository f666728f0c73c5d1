#include "content/content_pool.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string_view>
#include <variant>

#include "anim/key_frame.h"

namespace tarnlow {

namespace {

// 4096ths of a turn, 0 to 4095, from radians decoded out of either word form.
int turnUnits(double radians) {
  const long units = std::lround(radians * kOneAxisUnitsPerTurn / (2 * std::numbers::pi));
  return static_cast<int>(((units % kOneAxisUnitsPerTurn) + kOneAxisUnitsPerTurn) % kOneAxisUnitsPerTurn);
}

Pose poseOf(const KeyFrame& frame) {
  Pose pose{.box = frame.box,
            .offset = {static_cast<int>(std::lround(frame.offset.x)), static_cast<int>(std::lround(frame.offset.y)),
                       static_cast<int>(std::lround(frame.offset.z))}};
  pose.turns.reserve(frame.angles.size());
  for (const MeshAngles& a : frame.angles) pose.turns.push_back({turnUnits(a.x), turnUnits(a.y), turnUnits(a.z)});
  return pose;
}

std::uint64_t mix(std::uint64_t hash, std::uint64_t value) { return (hash ^ value) * 1099511628211ull; }

// Words a key frame reads at most: its header and two per mesh.
std::uint64_t keyFrameReach(int meshCount) { return kFrameHeaderWords + 2 * static_cast<std::uint64_t>(std::max(meshCount, 0)); }

// Words from the first key frame to as far as the last one reads; the
// frames-past-end rule looks as far as FrameSize spans.
std::uint64_t blockWords(const AnimationRecord& a, int keyFrames, int meshCount) {
  const std::uint64_t keys = static_cast<std::uint64_t>(std::max(keyFrames, 0));
  const std::uint64_t spans = keys * a.FrameSize;
  return std::max(spans, keys == 0 ? 0 : spans - a.FrameSize + keyFrameReach(meshCount));
}

}  // namespace

std::optional<std::span<const std::uint8_t>> KeyFrameWords(const WadDocument& document, const AnimationRecord& a,
                                                           int keyFrames, int meshCount) {
  if (a.FrameOffset < 0 || a.FrameOffset % 2 != 0) return std::nullopt;
  const std::uint64_t first = static_cast<std::uint64_t>(a.FrameOffset / 2);
  const std::uint64_t frameWords = document.Frames.size();
  if (first > frameWords) return std::nullopt;
  // Cut where Frames ends, as the block is.
  const std::uint64_t held = std::min(blockWords(a, keyFrames, meshCount), frameWords - first);
  const Bytes& stored = document.Frames.storedBytes();
  if (2 * (first + held) > stored.size()) return std::nullopt;
  return std::span(stored).subspan(static_cast<std::size_t>(2 * first), static_cast<std::size_t>(2 * held));
}

KeyFrameBlock::KeyFrameBlock(const WadDocument& document, const AnimationRecord& a, int keyFrames, int meshCount)
    : record_(a), frameSize_(a.FrameSize), keyFrames_(keyFrames), meshCount_(meshCount) {
  if (a.FrameOffset >= 0 && a.FrameOffset % 2 == 0) {
    record_.FrameOffset = 0;
    const std::uint64_t first = static_cast<std::uint64_t>(a.FrameOffset / 2);
    const std::uint64_t frameWords = document.Frames.size();
    const std::uint64_t keys = static_cast<std::uint64_t>(std::max(keyFrames, 0));
    const std::uint64_t reach = keyFrameReach(meshCount);
    held_ = first < frameWords ? std::min(blockWords(a, keyFrames, meshCount), frameWords - first) : 0;
    beyond_ = first > frameWords;
    // Key frames further apart than one can read are kept as what each
    // reads, one after the other, and decoded as if stored so: no more
    // words than the decoding reads, and the same poses.
    const std::uint64_t step = a.FrameSize > reach ? reach : a.FrameSize;
    if (step != a.FrameSize) record_.FrameSize = static_cast<std::uint8_t>(step);
    const Bytes& stored = document.Frames.storedBytes();
    const auto append = [&](std::uint64_t from, std::uint64_t count) {
      const std::uint64_t begin = std::min<std::uint64_t>(2 * (first + from), stored.size());
      const std::uint64_t end = std::min<std::uint64_t>(2 * (first + from + count), stored.size());
      words_.insert(words_.end(), stored.begin() + static_cast<std::ptrdiff_t>(begin), stored.begin() + static_cast<std::ptrdiff_t>(end));
      words_.resize(words_.size() + 2 * count - (end - begin), 0);  // words the file lacks read as zero
    };
    if (step == a.FrameSize) {
      append(0, held_);
    } else {
      for (std::uint64_t k = 0; k < keys && k * a.FrameSize < held_; ++k) {
        append(k * a.FrameSize, std::min(reach, held_ - k * a.FrameSize));
      }
    }
  }
  const std::string_view bytes(reinterpret_cast<const char*>(words_.data()), words_.size());
  hash_ = mix(mix(mix(mix(mix(std::hash<std::string_view>{}(bytes), static_cast<std::uint64_t>(record_.FrameOffset)),
                          a.FrameSize),
                      static_cast<std::uint64_t>(keyFrames)),
                  static_cast<std::uint64_t>(meshCount)),
              held_ * 2 + (beyond_ ? 1 : 0));
}

bool KeyFrameBlock::sameWords(const KeyFrameBlock& other) const {
  return hash_ == other.hash_ && record_.FrameOffset == other.record_.FrameOffset &&
         record_.FrameSize == other.record_.FrameSize && frameSize_ == other.frameSize_ && held_ == other.held_ &&
         beyond_ == other.beyond_ &&
         keyFrames_ == other.keyFrames_ &&
         meshCount_ == other.meshCount_ && words_ == other.words_;
}

const std::vector<std::optional<Pose>>& KeyFrameBlock::poses() const {
  std::call_once(decoded_, [this] {
    // The block alone as a WAD: the key frames decode exactly as they do
    // in their own WAD, which holds these words from FrameOffset on.
    WadDocument alone;
    alone.Animations = RecordArray<AnimationRecord>::fromRecords({record_});
    alone.Frames = RecordArray<std::int16_t>(words_.size() / 2, words_);
    for (int k = 0; k < keyFrames_; ++k) {
      const std::variant<KeyFrameRead, Finding> read = DecodeKeyFrame(alone, 0, k, meshCount_);
      const auto* frame = std::get_if<KeyFrameRead>(&read);
      poses_.push_back(frame ? std::optional(poseOf(frame->frame)) : std::nullopt);
      // The frames after one that leaves Frames leave it too. After one that
      // needs more words than FrameSize gives, the others are read from the
      // wrong words: the first stands for them, with an unreadable one after
      // it, which also bounds the work a FrameSize of 0 could ask for.
      if (!frame) break;
      if (frame->overrun) {
        poses_.push_back(std::nullopt);
        break;
      }
    }
  });
  return poses_;
}

std::shared_ptr<const FacePixels> ContentPool::keep(std::shared_ptr<const FacePixels> pixels) {
  const std::lock_guard lock(mutex_);
  const auto [first, last] = pixels_.equal_range(pixels->hash);
  for (auto it = first; it != last; ++it) {
    if (*it->second == *pixels) return it->second;
  }
  pixels_.emplace(pixels->hash, pixels);
  return pixels;
}

std::shared_ptr<const KeyFrameBlock> ContentPool::keep(std::shared_ptr<const KeyFrameBlock> block) {
  const std::lock_guard lock(mutex_);
  const auto [first, last] = blocks_.equal_range(block->hash());
  for (auto it = first; it != last; ++it) {
    if (it->second->sameWords(*block)) return it->second;
  }
  blocks_.emplace(block->hash(), block);
  return block;
}

}  // namespace tarnlow
