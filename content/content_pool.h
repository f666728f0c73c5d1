#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <unordered_map>
#include <vector>

#include "content/object_content.h"

namespace tarnlow {

// The key frames of one animation, kept as the Frames words they are read
// from and decoded on first use: the words each key frame can read (its
// header and two per mesh), cut where Frames ends, with how far FrameSize
// spans: everything the decoding and the check read. Two
// blocks of equal words, key frame count, FrameSize and mesh count decode
// alike, so they are one (see ContentPool) and compare without decoding.
class KeyFrameBlock {
 public:
  // The block of animation `a` (with `keyFrames` key frames) of `document`,
  // for a figure of `meshCount` meshes. Never fails: what cannot be read
  // decodes as unreadable.
  KeyFrameBlock(const WadDocument& document, const AnimationRecord& a, int keyFrames, int meshCount);
  KeyFrameBlock(const KeyFrameBlock&) = delete;
  KeyFrameBlock& operator=(const KeyFrameBlock&) = delete;

  std::uint64_t hash() const { return hash_; }
  bool sameWords(const KeyFrameBlock& other) const;

  // One pose per key frame: nothing for one that cannot be read (outside
  // Frames, or read from the wrong words after one that needs more than
  // FrameSize gives), and none after it. Safe from several threads.
  const std::vector<std::optional<Pose>>& poses() const;

 private:
  AnimationRecord record_;  // as its words are kept: FrameOffset 0 when they start at a word
  std::uint8_t frameSize_;  // as stored
  std::uint64_t held_ = 0;  // words from the first key frame to as far as it reaches, cut at Frames' end
  bool beyond_ = false;     // the first key frame starts past Frames' end, not at it
  int keyFrames_;
  int meshCount_;
  Bytes words_;
  std::uint64_t hash_ = 0;
  mutable std::once_flag decoded_;
  mutable std::vector<std::optional<Pose>> poses_;
};

// The Frames words animation `a` (with `keyFrames` key frames, of a figure
// of `meshCount` meshes) reads, from its first key frame as far as the last
// reaches or FrameSize spans, cut where Frames ends: what its block keeps.
// Nothing when they do not start at a word of Frames or the file lacks
// some; such a block keeps zeros or nothing for them, and only its words
// tell it.
std::optional<std::span<const std::uint8_t>> KeyFrameWords(const WadDocument& document, const AnimationRecord& a,
                                                           int keyFrames, int meshCount);

// Parts of content that equal bytes make equal, kept once for every content
// built with the same pool: the contents of two WADs then share what their
// bytes share, and compare it by reference. Safe from several threads.
class ContentPool {
 public:
  // The kept picture equal to `pixels`, or `pixels` itself, now kept.
  std::shared_ptr<const FacePixels> keep(std::shared_ptr<const FacePixels> pixels);
  // Likewise for key frames of the same words.
  std::shared_ptr<const KeyFrameBlock> keep(std::shared_ptr<const KeyFrameBlock> block);

 private:
  std::mutex mutex_;
  std::unordered_multimap<std::uint64_t, std::shared_ptr<const FacePixels>> pixels_;
  std::unordered_multimap<std::uint64_t, std::shared_ptr<const KeyFrameBlock>> blocks_;
};

}  // namespace tarnlow
