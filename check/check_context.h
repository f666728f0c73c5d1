#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "anim/finding.h"
#include "check/check_wad.h"
#include "check/usage.h"
#include "wad/wad_document.h"

namespace tarnlow {

// What every rule of the check shares: the document, which moveable owns
// which animation, and the findings gathered so far. A rule reads the
// document and adds findings; weighing, naming and folding come after all
// rules have run, so a rule says only what is wrong and where.
class CheckContext {
 public:
  explicit CheckContext(const WadDocument& document, const CheckSounds& sounds = {}, std::vector<bool> judged = {});

  const WadDocument& doc() const { return doc_; }
  const CheckSounds& sounds() const { return sounds_; }
  // The sound table beside the WAD, or nullptr when there is none.
  const SoundTable* soundTable() const;

  // What the game refers to; rules that learn more (the mesh rule learns
  // which texture-info records faces show) add it here.
  Usage& usage() { return usage_; }
  const Usage& usage() const { return usage_; }

  // The moveable whose animation range holds animation `animation`, or
  // nothing (outside Animations, or in no moveable's range).
  std::optional<std::size_t> ownerOf(std::int64_t animation) const;

  // False for a moveable whose key frames the check leaves (see CheckWad).
  bool judges(std::size_t moveable) const { return moveable >= judged_.size() || judged_[moveable]; }

  // True for a moveable that the check judges as another: one past the end
  // of the file that reads as zeros, as do all from the first of them to the
  // last moveable, which are judged for them (the last, whose animations
  // run to the end, included). A cut file can claim millions.
  bool standsForZeros(std::size_t moveable) const {
    return moveable > heldMoveables_ && moveable + 1 < doc_.Moveables.size();
  }
  // The moveables standsForZeros is true of.
  std::size_t zeroMoveables() const;

  // True when some animation's frames (FrameStart to FrameEnd) hold frame
  // number `frame`: a frame outside all of them has no meaning to the game.
  bool isAnyAnimationsFrame(std::int64_t frame) const;

  // Records that moveable `moveable` owns animations first to end - 1. The
  // moveable rule calls it; the rules after it rely on it.
  void setOwner(std::int64_t first, std::int64_t end, std::size_t moveable);

  // Adds a finding of `rule` about record `record` of `section`. The
  // returned finding can be given an animation, frame, page or static mesh.
  Finding& add(Severity severity, std::string rule, std::string section, std::int64_t record, std::string problem,
               std::string target = {}, std::optional<std::size_t> moveable = std::nullopt);

  // Adds a finding that a decoder made (skeleton, key frames, commands),
  // under `rule` and about `moveable` when it names none itself.
  Finding& pass(Finding finding, std::string rule, std::optional<std::size_t> moveable = std::nullopt);

  std::vector<Finding> take() { return std::move(findings_); }

  // Records animations whose key frames a rule left unjudged (each with its
  // key frame count), to be told in one note for the whole check.
  void leaveUnjudged(const std::map<std::int64_t, int>& left) { unjudged_.insert(left.begin(), left.end()); }
  const std::map<std::int64_t, int>& unjudged() const { return unjudged_; }

 private:
  const WadDocument& doc_;
  CheckSounds sounds_;
  std::vector<bool> judged_;
  std::size_t heldMoveables_;  // moveable records the file holds
  Usage usage_;
  std::vector<std::int64_t> owner_;  // per animation: the moveable it belongs to, or -1
  std::vector<Finding> findings_;
  std::map<std::int64_t, int> unjudged_;
  // The frames of all animations as sorted, disjoint [first, last] spans;
  // built on first use.
  mutable std::optional<std::vector<std::pair<std::int64_t, std::int64_t>>> frameSpans_;
};

// True when `index` is a position in an array of `size` elements.
inline bool Inside(std::int64_t index, std::size_t size) {
  return index >= 0 && static_cast<std::uint64_t>(index) < size;
}

}  // namespace tarnlow
