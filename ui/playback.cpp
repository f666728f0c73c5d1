#include "ui/playback.h"

#include <algorithm>
#include <cmath>

#include "anim/animation_state.h"
#include "anim/key_frame.h"

namespace tarnlow::ui {

namespace {

// A stalled timer must not make playback race through a chain of short
// animations: one advance covers at most this much play.
constexpr double kMaxStepSeconds = 0.5;

}  // namespace

std::vector<PlaybackAnimation> PlaybackAnimations(const AnimationGraph& graph) {
  std::vector<PlaybackAnimation> out;
  for (const AnimationNode& node : graph.animations) {
    out.push_back({node.index, node.keyFrameCount > 0 ? node.frameCount : 0, -1, 0});
  }
  for (std::size_t i = 0; i < graph.animations.size(); ++i) {
    const AnimationNode& node = graph.animations[i];
    const auto next = std::find_if(graph.animations.begin(), graph.animations.end(),
                                   [&](const AnimationNode& n) { return n.index == node.nextAnimation; });
    if (next == graph.animations.end()) continue;
    const auto position = static_cast<std::size_t>(next - graph.animations.begin());
    out[i].next = static_cast<int>(position);
    // NextFrame counts the game's frames, as FrameStart does.
    const int local = FrameNumber(node.nextFrame) - FrameNumber(next->record.FrameStart);
    out[i].nextFrame = local >= 0 && local < out[position].frameCount ? local : 0;
  }
  return out;
}

std::string AnimationLine(const PlaybackAnimation& animation, int position, const AnimationRecord& record) {
  const std::string next = animation.next >= 0
                               ? "next " + std::to_string(animation.next)
                               : "next: animation " + std::to_string(record.NextAnimation) + ", not this object's";
  // Frames as the view counts them, then as stored, so that a finding's
  // frame numbers can be found in either.
  const AnimationState state = DescribeAnimationState(record);
  std::string frames = state.text;
  if (state.kind == AnimationState::Frames) {
    frames = (animation.frameCount > 0 ? "frames 0 to " + std::to_string(animation.frameCount - 1)
                                       : std::string("no frames to play")) +
             " (stored " + std::to_string(FrameNumber(record.FrameStart)) + " to " +
             std::to_string(FrameNumber(record.FrameEnd)) + ")";
  }
  return std::to_string(position) + ": animation " + std::to_string(animation.index) + ", " + frames +
         ", frame rate " + std::to_string(record.FrameRate) + ", " + next;
}

Playback::Playback(std::vector<PlaybackAnimation> animations) : animations_(std::move(animations)) {
  if (!animations_.empty()) animation_ = 0;
}

const PlaybackAnimation* Playback::current() const {
  return animation_ >= 0 ? &animations_[static_cast<std::size_t>(animation_)] : nullptr;
}

double Playback::frame() const {
  const PlaybackAnimation* a = current();
  if (a == nullptr || a->frameCount <= 0) return 0;
  return std::clamp(frame_, 0.0, static_cast<double>(a->frameCount - 1));
}

void Playback::choose(int position) {
  if (position < 0 || static_cast<std::size_t>(position) >= animations_.size()) return;
  animation_ = position;
  frame_ = 0;
  stopReason_.clear();
  if (current()->frameCount <= 0) playing_ = false;
}

bool Playback::holds(int position) const {
  const PlaybackAnimation& a = animations_[static_cast<std::size_t>(position)];
  return a.next == position && a.nextFrame == a.frameCount - 1;
}

bool Playback::endsHere() const {
  const PlaybackAnimation& a = *current();
  return followNext_ && (holds(animation_) || a.next < 0 || animations_[static_cast<std::size_t>(a.next)].frameCount <= 0);
}

void Playback::setPlaying(bool playing) {
  const PlaybackAnimation* a = current();
  playing_ = playing && a != nullptr && a->frameCount > 0;
  if (!playing_) return;
  stopReason_.clear();
  // Play on an animation that has come to its end plays it again, as a
  // media player does, rather than stopping at once.
  if (frame_ >= a->frameCount - 1 && endsHere()) frame_ = 0;
}

bool Playback::moveOn() {
  const PlaybackAnimation& a = *current();
  if (!followNext_) {
    frame_ -= a.frameCount;
    return true;
  }
  if (holds(animation_)) {
    // A death pose and the like: the game keeps drawing the last frame, so
    // there is nothing more to play.
    stopReason_ = "Animation " + std::to_string(a.index) + " holds its last frame, as the game does.";
    frame_ = a.frameCount - 1;
    playing_ = false;
    return false;
  }
  const bool nextUsable = a.next >= 0 && animations_[static_cast<std::size_t>(a.next)].frameCount > 0;
  if (!nextUsable) {
    stopReason_ = "Animation " + std::to_string(a.index) + " ends here: its next animation is not one of this " +
                  "object's with frames to play.";
    frame_ = a.frameCount - 1;
    playing_ = false;
    return false;
  }
  frame_ = a.nextFrame + (frame_ - a.frameCount);
  animation_ = a.next;
  return true;
}

void Playback::advance(double seconds) {
  if (!playing_ || current() == nullptr) return;
  frame_ += std::clamp(seconds, 0.0, kMaxStepSeconds) * kGameFramesPerSecond;
  // Every pass uses up at least one frame of the time, so this ends.
  while (frame_ >= current()->frameCount) {
    if (!moveOn()) return;
  }
}

void Playback::stepForward() {
  const PlaybackAnimation* a = current();
  if (a == nullptr || a->frameCount <= 0) return;
  frame_ = std::floor(frame()) + 1;
  if (frame_ >= a->frameCount) moveOn();
}

void Playback::stepBack() {
  if (current() == nullptr) return;
  frame_ = std::max(0.0, std::ceil(frame()) - 1);
}

void Playback::seek(double frame) {
  const PlaybackAnimation* a = current();
  if (a == nullptr || a->frameCount <= 0) return;
  frame_ = std::clamp(frame, 0.0, static_cast<double>(a->frameCount - 1));
}

}  // namespace tarnlow::ui
