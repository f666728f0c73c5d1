#include "anim/animation_graph.h"

#include <algorithm>
#include <string>

#include "anim/animation_state.h"
#include "anim/key_frame.h"
#include "wad/byte_reader.h"
#include "wad/byte_writer.h"

namespace tarnlow {

namespace {

Finding animationProblem(std::int64_t animation, std::size_t moveable, Severity severity, std::string problem,
                         std::string target) {
  return Finding{severity, "Animations", animation, std::move(problem), std::move(target), moveable};
}

bool inside(std::int64_t index, std::size_t size) {
  return index >= 0 && static_cast<std::uint64_t>(index) < size;
}

// The state changes of animation `a` and their dispatches; references that
// leave their arrays become findings and are left out.
std::vector<StateChangeEdge> stateChangesOf(const WadDocument& document, std::int64_t animation,
                                            const AnimationRecord& a, std::size_t moveable,
                                            std::vector<Finding>& problems) {
  std::vector<StateChangeEdge> edges;
  if (a.NumStateChanges <= 0) {
    if (a.NumStateChanges < 0) {
      problems.push_back(animationProblem(animation, moveable, Severity::Error,
                                          "NumStateChanges " + std::to_string(a.NumStateChanges) + " is negative",
                                          {}));
    }
    return edges;
  }
  const std::size_t changes = document.StateChanges.size();
  const std::size_t dispatches = document.AnimDispatches.size();
  for (int i = 0; i < a.NumStateChanges; ++i) {
    const std::int64_t s = std::int64_t{a.StateChange} + i;
    if (!inside(s, changes)) {
      problems.push_back(animationProblem(animation, moveable, Severity::Error,
                                          "state change " + std::to_string(i) + " of " +
                                              std::to_string(a.NumStateChanges) + " is record " + std::to_string(s) +
                                              ", outside the " + std::to_string(changes) + " state changes",
                                          "StateChanges " + std::to_string(s)));
      break;
    }
    const StateChangeRecord change = document.StateChanges[static_cast<std::size_t>(s)];
    StateChangeEdge edge{s, change.StateID, {}};
    for (int k = 0; k < change.NumAnimDispatched; ++k) {
      const std::int64_t d = std::int64_t{change.AnimDispatches} + k;
      if (!inside(d, dispatches)) {
        problems.push_back(Finding{Severity::Error, "StateChanges", s,
                                   "dispatch " + std::to_string(k) + " of " + std::to_string(change.NumAnimDispatched) +
                                       " is record " + std::to_string(d) + ", outside the " +
                                       std::to_string(dispatches) + " dispatches",
                                   "AnimDispatches " + std::to_string(d), moveable});
        break;
      }
      const AnimDispatchRecord record = document.AnimDispatches[static_cast<std::size_t>(d)];
      edge.dispatches.push_back(DispatchEdge{d, record.Low, record.High, record.NextAnimation, record.NextFrame,
                                             inside(record.NextAnimation, document.Animations.size())});
    }
    edges.push_back(std::move(edge));
  }
  return edges;
}

}  // namespace

MoveableAnimationRef ReadAnimationRef(const MoveableRecord& moveable) {
  ByteReader r(moveable.Unknown3, PastEnd::ReadsZero);
  MoveableAnimationRef ref;
  ref.frameOffset = r.i32();
  ref.firstAnimation = r.i16();
  return ref;
}

std::array<std::uint8_t, 6> WriteAnimationRef(MoveableAnimationRef ref) {
  Bytes bytes;
  ByteWriter w(bytes);
  w.i32(ref.frameOffset);
  w.i16(ref.firstAnimation);
  std::array<std::uint8_t, 6> out{};
  for (std::size_t i = 0; i < out.size() && i < bytes.size(); ++i) out[i] = bytes[i];
  return out;
}

AnimationRange ObjectAnimationRange(const WadDocument& document, std::size_t moveableIndex,
                                    std::optional<Finding>* problem) {
  if (moveableIndex >= document.Moveables.size()) return {};
  const std::int64_t first = ReadAnimationRef(document.Moveables[moveableIndex]).firstAnimation;
  // -1 is how an object says it has no animations.
  if (first < 0) return {};
  const auto report = [&](std::string text, std::string target) {
    if (problem != nullptr) {
      *problem = Finding{Severity::Error, "Moveables", static_cast<std::int64_t>(moveableIndex), std::move(text),
                         std::move(target), moveableIndex};
    }
  };
  const std::size_t count = document.Animations.size();
  if (static_cast<std::uint64_t>(first) >= count) {
    report("its first animation " + std::to_string(first) + " is outside the " + std::to_string(count) +
               " animations",
           "Animations " + std::to_string(first));
    return {};
  }
  std::int64_t end = static_cast<std::int64_t>(count);
  for (std::size_t m = moveableIndex + 1; m < document.Moveables.size(); ++m) {
    const std::int64_t next = ReadAnimationRef(document.Moveables[m]).firstAnimation;
    if (next < 0) continue;
    if (next < first) {
      report("its first animation " + std::to_string(first) + " comes after that of object " + std::to_string(m) +
                 " (" + std::to_string(next) + "), so where its animations end cannot be told",
             "Moveables " + std::to_string(m));
      return {first, first};
    }
    end = std::min<std::int64_t>(next, end);
    break;
  }
  return {first, end};
}

std::variant<AnimationGraph, Finding> BuildAnimationGraph(const WadDocument& document, std::size_t moveableIndex) {
  if (moveableIndex >= document.Moveables.size()) {
    return Finding{Severity::Error, "Moveables", static_cast<std::int64_t>(moveableIndex),
                   "there is no object " + std::to_string(moveableIndex) + "; the WAD holds " +
                       std::to_string(document.Moveables.size()),
                   {}, std::nullopt};
  }
  AnimationGraph graph;
  graph.moveable = moveableIndex;
  graph.ref = ReadAnimationRef(document.Moveables[moveableIndex]);
  std::optional<Finding> rangeProblem;
  graph.range = ObjectAnimationRange(document, moveableIndex, &rangeProblem);
  if (rangeProblem) graph.problems.push_back(std::move(*rangeProblem));

  for (std::int64_t i = graph.range.first; i < graph.range.end; ++i) {
    AnimationNode node;
    node.index = i;
    node.record = document.Animations[static_cast<std::size_t>(i)];
    const AnimationRecord& a = node.record;
    node.frameCount = FrameCount(a);
    node.frameRate = a.FrameRate;
    const std::variant<int, Finding> keys = KeyFrameCount(a, i);
    if (const auto* problem = std::get_if<Finding>(&keys)) {
      Finding f = *problem;
      f.moveable = moveableIndex;
      graph.problems.push_back(std::move(f));
    } else if (const AnimationState state = DescribeAnimationState(a); state.kind == AnimationState::NoKeyFrames) {
      // Nothing to play: every view shows the rest pose and says why.
      graph.problems.push_back(animationProblem(i, moveableIndex, state.severity, state.text, {}));
    } else {
      node.keyFrameCount = std::get<int>(keys);
    }
    node.nextAnimation = a.NextAnimation;
    node.nextFrame = a.NextFrame;
    node.nextInObject = a.NextAnimation >= graph.range.first && a.NextAnimation < graph.range.end;
    if (!inside(a.NextAnimation, document.Animations.size())) {
      graph.problems.push_back(animationProblem(i, moveableIndex, Severity::Error,
                                                "NextAnimation " + std::to_string(a.NextAnimation) +
                                                    " is outside the " + std::to_string(document.Animations.size()) +
                                                    " animations",
                                                "Animations " + std::to_string(a.NextAnimation)));
    }
    node.stateChanges = stateChangesOf(document, i, a, moveableIndex, graph.problems);
    std::vector<Finding> commandProblems;
    node.commands = DecodeAnimCommands(document, i, commandProblems);
    for (Finding& f : commandProblems) {
      f.moveable = moveableIndex;
      graph.problems.push_back(std::move(f));
    }
    graph.animations.push_back(std::move(node));
  }
  return graph;
}

std::variant<PlayPosition, Finding> PlayOn(const WadDocument& document, PlayPosition at, double frames) {
  const auto fail = [](std::int64_t animation, std::string problem) {
    return Finding{Severity::Error, "Animations", animation, std::move(problem), {}, std::nullopt};
  };
  double left = std::max(frames, 0.0);
  // Every hop uses up at least one frame, unless animations lead on with
  // nothing left to play; the bound keeps a malformed loop finite.
  for (int hop = 0; hop < 10000; ++hop) {
    if (!inside(at.animation, document.Animations.size())) {
      return fail(at.animation, "there is no animation " + std::to_string(at.animation));
    }
    const AnimationRecord a = document.Animations[static_cast<std::size_t>(at.animation)];
    const int count = FrameCount(a);
    if (count == 0) return fail(at.animation, "it has no frames to play");
    if (at.frame + left < count) {
      at.frame += left;
      return at;
    }
    left -= count - at.frame;
    const std::int64_t next = a.NextAnimation;
    if (!inside(next, document.Animations.size())) {
      return fail(at.animation, "NextAnimation " + std::to_string(next) + " does not exist");
    }
    const AnimationRecord n = document.Animations[static_cast<std::size_t>(next)];
    if (FrameNumber(a.NextFrame) < FrameNumber(n.FrameStart) || FrameNumber(a.NextFrame) > FrameNumber(n.FrameEnd)) {
      return fail(at.animation, "NextFrame " + std::to_string(FrameNumber(a.NextFrame)) + " is not a frame of animation " +
                                    std::to_string(next));
    }
    at = {next, static_cast<double>(FrameNumber(a.NextFrame) - FrameNumber(n.FrameStart))};
  }
  return fail(at.animation, "playback does not settle within 10000 animations");
}

}  // namespace tarnlow
