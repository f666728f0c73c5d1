#include "anim/key_frame.h"
#include "check/rules.h"

namespace tarnlow {

namespace {

std::string str(std::int64_t v) { return std::to_string(v); }

std::string framesOf(const WadDocument& doc, std::int64_t animation, std::string_view whose = "this animation") {
  return DescribeFrames(doc.Animations[static_cast<std::size_t>(animation)], whose);
}

void checkNext(CheckContext& context, std::int64_t index, const AnimationRecord& a) {
  const WadDocument& doc = context.doc();
  const std::optional<std::size_t> owner = context.ownerOf(index);
  const std::size_t count = doc.Animations.size();
  if (!Inside(a.NextAnimation, count)) {
    context.add(Severity::Error, "next-animation-outside", "Animations", index,
                "NextAnimation " + str(a.NextAnimation) + " is outside the " + str(static_cast<std::int64_t>(count)) +
                    " animations",
                "Animations " + str(a.NextAnimation), owner);
    return;
  }
  const int nextFrame = FrameNumber(a.NextFrame);
  if (!IsFrameOf(doc.Animations[static_cast<std::size_t>(a.NextAnimation)], nextFrame)) {
    // Another animation's frame is still frame data the game can read; a
    // frame of no animation at all is not.
    const bool anywhere = context.isAnyAnimationsFrame(nextFrame);
    context.add(anywhere ? Severity::Warning : Severity::Error,
                anywhere ? "next-frame-elsewhere" : "next-frame-nowhere", "Animations", index,
                "NextFrame " + str(nextFrame) + " is not a frame of animation " + str(a.NextAnimation) + ", which has " +
                    framesOf(doc, a.NextAnimation, "animation " + str(a.NextAnimation)) +
                    (anywhere ? "" : ", nor of any other"),
                "Animations " + str(a.NextAnimation), owner);
  }
  const std::optional<std::size_t> nextOwner = context.ownerOf(a.NextAnimation);
  if (owner && nextOwner != owner) {
    context.add(Severity::Warning, "next-animation-foreign", "Animations", index,
                "NextAnimation " + str(a.NextAnimation) + " belongs to " +
                    (nextOwner ? "object " + str(static_cast<std::int64_t>(*nextOwner)) : std::string("no object")) +
                    ", not to its own object",
                "Animations " + str(a.NextAnimation), owner);
  }
}

void checkStateChangeRange(CheckContext& context, std::int64_t index, const AnimationRecord& a) {
  if (a.NumStateChanges == 0) return;
  const WadDocument& doc = context.doc();
  const std::optional<std::size_t> owner = context.ownerOf(index);
  const auto count = static_cast<std::int64_t>(doc.StateChanges.size());
  if (a.NumStateChanges < 0) {
    context.add(Severity::Error, "state-change-count", "Animations", index,
                "NumStateChanges " + str(a.NumStateChanges) + " is negative", {}, owner);
    return;
  }
  const std::int64_t last = std::int64_t{a.StateChange} + a.NumStateChanges - 1;
  if (a.StateChange < 0 || last >= count) {
    context.add(
        Severity::Error, "state-changes-outside", "Animations", index,
        "its state changes " + str(a.StateChange) + " to " + str(last) + " leave the " + str(count) + " state changes",
        "StateChanges " + str(a.StateChange < 0 ? a.StateChange : count), owner);
    return;
  }
  // Dispatches fire while the animation plays: their frame ranges are
  // frames of this animation.
  for (std::int64_t s = a.StateChange; s <= last; ++s) {
    const StateChangeRecord change = doc.StateChanges[static_cast<std::size_t>(s)];
    const std::int64_t first = change.AnimDispatches;
    const std::int64_t end = first + change.NumAnimDispatched;
    if (change.NumAnimDispatched < 0 || first < 0 || end > static_cast<std::int64_t>(doc.AnimDispatches.size())) {
      continue;  // told once, by the state change rule
    }
    for (std::int64_t d = first; d < end; ++d) {
      const AnimDispatchRecord dispatch = doc.AnimDispatches[static_cast<std::size_t>(d)];
      const int low = FrameNumber(dispatch.Low), high = FrameNumber(dispatch.High);
      const bool inside = FrameCount(a) > 0 && low >= FrameNumber(a.FrameStart) && high <= FrameNumber(a.FrameEnd) + 1;
      if (!inside) {
        Finding& f = context.add(Severity::Warning, "dispatch-range-outside", "AnimDispatches", d,
                                 DescribeFrameSpan(a, low, high) + " reach outside its animation, which has " + framesOf(doc, index) +
                                     ", state change " + str(s),
                                 "Animations " + str(index), owner);
        f.animation = index;
      }
    }
  }
}

}  // namespace

void CheckAnimationLinks(CheckContext& context) {
  const WadDocument& doc = context.doc();
  for (std::size_t i = 0; i < doc.Animations.size(); ++i) {
    const AnimationRecord a = doc.Animations[i];
    checkNext(context, static_cast<std::int64_t>(i), a);
    checkStateChangeRange(context, static_cast<std::int64_t>(i), a);
  }
}

}  // namespace tarnlow
