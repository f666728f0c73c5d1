#include "anim/key_frame.h"
#include "check/rules.h"

namespace tarnlow {

namespace {

std::string str(std::int64_t v) { return std::to_string(v); }

}  // namespace

void CheckStateChanges(CheckContext& context) {
  const WadDocument& doc = context.doc();
  const auto dispatches = static_cast<std::int64_t>(doc.AnimDispatches.size());
  for (std::size_t s = 0; s < doc.StateChanges.size(); ++s) {
    const StateChangeRecord change = doc.StateChanges[s];
    const auto record = static_cast<std::int64_t>(s);
    if (change.NumAnimDispatched < 0) {
      context.add(Severity::Error, "dispatch-count", "StateChanges", record,
                  "NumAnimDispatched " + str(change.NumAnimDispatched) + " is negative");
      continue;
    }
    if (change.NumAnimDispatched == 0) continue;
    const std::int64_t last = std::int64_t{change.AnimDispatches} + change.NumAnimDispatched - 1;
    if (change.AnimDispatches < 0 || last >= dispatches) {
      context.add(Severity::Error, "dispatches-outside", "StateChanges", record,
                  "its dispatches " + str(change.AnimDispatches) + " to " + str(last) + " leave the " +
                      str(dispatches) + " dispatches",
                  "AnimDispatches " + str(change.AnimDispatches < 0 ? change.AnimDispatches : dispatches));
    }
  }
}

void CheckDispatches(CheckContext& context) {
  const WadDocument& doc = context.doc();
  const std::size_t count = doc.Animations.size();
  for (std::size_t d = 0; d < doc.AnimDispatches.size(); ++d) {
    const AnimDispatchRecord dispatch = doc.AnimDispatches[d];
    const auto record = static_cast<std::int64_t>(d);
    if (FrameNumber(dispatch.Low) > FrameNumber(dispatch.High)) {
      context.add(Severity::Error, "dispatch-range-empty", "AnimDispatches", record,
                  "its frame range " + str(FrameNumber(dispatch.Low)) + " to " + str(FrameNumber(dispatch.High)) +
                      " is empty");
    }
    if (!Inside(dispatch.NextAnimation, count)) {
      context.add(Severity::Error, "dispatch-animation-outside", "AnimDispatches", record,
                  "NextAnimation " + str(dispatch.NextAnimation) + " is outside the " +
                      str(static_cast<std::int64_t>(count)) + " animations",
                  "Animations " + str(dispatch.NextAnimation));
      continue;
    }
    const AnimationRecord target = doc.Animations[static_cast<std::size_t>(dispatch.NextAnimation)];
    const int nextFrame = FrameNumber(dispatch.NextFrame);
    if (!IsFrameOf(target, nextFrame)) {
      // As for NextFrame of an animation: another animation's frame is
      // data the game can read, a frame of none is not.
      const bool anywhere = context.isAnyAnimationsFrame(nextFrame);
      context.add(anywhere ? Severity::Warning : Severity::Error,
                  anywhere ? "dispatch-frame-elsewhere" : "dispatch-frame-nowhere", "AnimDispatches", record,
                  "NextFrame " + str(nextFrame) + " is not a frame of animation " + str(dispatch.NextAnimation) +
                      ", which has " + DescribeFrames(target, "animation " + str(dispatch.NextAnimation)) +
                      (anywhere ? "" : ", nor of any other"),
                  "Animations " + str(dispatch.NextAnimation));
    }
  }
}

}  // namespace tarnlow
