#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "anim/animation_graph.h"

// Playing an object's animations the way the game does: 30 frames a second,
// and at the end of an animation on to its next animation at its next
// frame. Plain arithmetic, no Qt and no timer: the window's timer tells it
// how much time passed.
namespace tarnlow::ui {

inline constexpr double kGameFramesPerSecond = 30.0;

// One of the object's animations as playback needs it.
struct PlaybackAnimation {
  std::int64_t index = 0;  // in Animations
  int frameCount = 0;      // 0 when the animation stores no usable frames
  int next = -1;           // position (in the object's list) of the next animation; -1 when it is not the object's
  int nextFrame = 0;       // the frame of the next animation to go on from, 0 = its first
};

// The object's animations from its animation graph, in order. A next frame
// outside the next animation is taken as its first frame.
std::vector<PlaybackAnimation> PlaybackAnimations(const AnimationGraph& graph);

// The chooser's line for the animation at `position`, whose record is
// `record`: "2: animation 14, 22 frames, frame rate 2, next 0" (the next
// animation's position), or "..., next: animation 900, not this object's".
std::string AnimationLine(const PlaybackAnimation& animation, int position, const AnimationRecord& record);

// Where playback stands: an animation of the object and a frame in it,
// fractions included (frame 2.5 lies halfway between frames 2 and 3).
class Playback {
 public:
  explicit Playback(std::vector<PlaybackAnimation> animations = {});

  const std::vector<PlaybackAnimation>& animations() const { return animations_; }
  // Position of the current animation; -1 when the object has none.
  int animation() const { return animation_; }
  // The frame to show: within 0 to frameCount - 1 of the current animation.
  double frame() const;
  bool playing() const { return playing_; }
  // On (the default): an animation that ends goes on to its next animation,
  // as the game plays it. Off: it starts over.
  bool followsNext() const { return followNext_; }
  // Why playback stopped by itself ("Animation 12 goes on to animation 900,
  // which is not one of this object's"); empty otherwise.
  const std::string& stopReason() const { return stopReason_; }

  // Frame 0 of animation `position`; ignored when there is no such one.
  void choose(int position);
  void setFollowsNext(bool follow) { followNext_ = follow; }
  // Starts or stops playing. Playing an animation without frames does not
  // start; playing one that stopped at its end starts it from frame 0.
  void setPlaying(bool playing);
  // Moves on by `seconds` of play at kGameFramesPerSecond. After the last
  // frame comes, one frame later, the next animation's next frame (or frame
  // 0 of the same animation when not following). Stops at the last frame
  // of an animation that goes on to itself at that frame (a hold: the game
  // shows that frame for good) and when the way on leaves the object, each
  // with a reason. Does nothing while paused.
  void advance(double seconds);
  // One whole frame on or back, playing or not: on from the last frame goes
  // where advance would; back stops at frame 0.
  void stepForward();
  void stepBack();
  // Goes to frame `frame` of the current animation, kept within its frames.
  void seek(double frame);

 private:
  const PlaybackAnimation* current() const;
  // True when the animation at `position` goes on to itself at its own last
  // frame.
  bool holds(int position) const;
  // True when playing on from the current animation's last frame would stop.
  bool endsHere() const;
  // Leaves the current animation at its end; false when playback stops.
  bool moveOn();

  std::vector<PlaybackAnimation> animations_;
  int animation_ = -1;
  double frame_ = 0;  // may run up to one frame past the last while waiting to move on
  bool playing_ = false;
  bool followNext_ = true;
  std::string stopReason_;
};

}  // namespace tarnlow::ui
