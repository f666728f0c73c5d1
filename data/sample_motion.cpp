#include "data/sample_motion.h"

#include <cmath>

#include "anim/animation_graph.h"
#include "anim/anim_commands.h"
#include "anim/key_frame.h"

namespace tarnlow::sample {

namespace {

std::int16_t i16(int v) { return static_cast<std::int16_t>(v); }

int units(double degrees, int perTurn) {
  const int u = static_cast<int>(std::lround(degrees / 360.0 * perTurn)) % perTurn;
  return u < 0 ? u + perTurn : u;
}

// The words of one turn: one word when it is about a single axis (12 bits
// of angle under the axis bits), otherwise two words of 10 bits per axis.
void appendTurn(std::vector<std::int16_t>& out, const std::array<double, 3>& d) {
  const int turned = (d[0] != 0) + (d[1] != 0) + (d[2] != 0);
  if (turned == 1) {
    const int axis = d[0] != 0 ? 0 : d[1] != 0 ? 1 : 2;
    const int word = ((axis + 1) << 14) | units(d[static_cast<std::size_t>(axis)], kOneAxisUnitsPerTurn);
    out.push_back(static_cast<std::int16_t>(static_cast<std::uint16_t>(word)));
    return;
  }
  const std::uint32_t bits = (static_cast<std::uint32_t>(units(d[0], kThreeAxisUnitsPerTurn)) << 20) |
                             (static_cast<std::uint32_t>(units(d[1], kThreeAxisUnitsPerTurn)) << 10) |
                             static_cast<std::uint32_t>(units(d[2], kThreeAxisUnitsPerTurn));
  out.push_back(static_cast<std::int16_t>(static_cast<std::uint16_t>(bits >> 16)));
  out.push_back(static_cast<std::int16_t>(static_cast<std::uint16_t>(bits & 0xFFFF)));
}

// A key frame's words; the box stays zero until the sample measures it.
std::vector<std::int16_t> keyWords(const KeyPose& pose, int meshCount) {
  std::vector<std::int16_t> words(kFrameHeaderWords, 0);
  words[6] = i16(pose.root[0]);
  words[7] = i16(pose.root[1]);
  words[8] = i16(pose.root[2]);
  for (int j = 0; j < meshCount; ++j) {
    const std::size_t at = static_cast<std::size_t>(j);
    appendTurn(words, at < pose.degrees.size() ? pose.degrees[at] : std::array<double, 3>{});
  }
  return words;
}

}  // namespace

MotionWriter::Placed MotionWriter::addObject(int meshCount, const std::vector<TreeEntry>& tree,
                                             const std::vector<AnimationPlan>& plans) {
  Placed placed;
  placed.meshTree = static_cast<std::int32_t>(meshTrees.size());
  for (const TreeEntry& e : tree) meshTrees.insert(meshTrees.end(), {e.flags, e.x, e.y, e.z});

  const auto first = static_cast<int>(animations.size());
  const std::int32_t frameOffset = static_cast<std::int32_t>(2 * frames.size());
  placed.unknown3 = WriteAnimationRef({frameOffset, i16(plans.empty() ? -1 : first)});

  // Where each animation's frames start, so that dispatches and next
  // frames can name animations that come later.
  std::vector<int> frameStart;
  int running = 0;
  for (const AnimationPlan& p : plans) {
    frameStart.push_back(running);
    running += p.frames;
  }

  for (std::size_t i = 0; i < plans.size(); ++i) {
    const AnimationPlan& p = plans[i];
    AnimationRecord a;
    a.FrameOffset = static_cast<std::int32_t>(2 * frames.size());
    a.FrameRate = static_cast<std::uint8_t>(p.rate);
    a.StateID = p.state;
    a.FrameStart = i16(frameStart[i]);
    a.FrameEnd = i16(frameStart[i] + p.frames - 1);
    a.NextAnimation = i16(first + p.next);
    a.NextFrame = i16(frameStart[static_cast<std::size_t>(p.next)] + p.nextFrame);

    const int keys = (p.frames - 1 + p.rate - 1) / p.rate + 1;
    std::vector<std::vector<std::int16_t>> keyFrames;
    std::size_t frameSize = 0;
    for (int k = 0; k < keys; ++k) {
      keyFrames.push_back(keyWords(p.pose(k, keys), meshCount));
      frameSize = std::max(frameSize, keyFrames.back().size());
    }
    a.FrameSize = static_cast<std::uint8_t>(frameSize);
    for (std::vector<std::int16_t>& words : keyFrames) {
      words.resize(frameSize, 0);
      frames.insert(frames.end(), words.begin(), words.end());
    }

    a.NumStateChanges = i16(static_cast<int>(p.stateChanges.size()));
    a.StateChange = i16(static_cast<int>(stateChanges.size()));
    for (const StateChangePlan& s : p.stateChanges) {
      stateChanges.push_back({s.state, i16(static_cast<int>(s.dispatches.size())), i16(static_cast<int>(dispatches.size()))});
      for (const DispatchPlan& d : s.dispatches) {
        dispatches.push_back({i16(frameStart[i] + d.low), i16(frameStart[i] + d.high), i16(first + d.animation),
                              i16(frameStart[static_cast<std::size_t>(d.animation)] + d.frame)});
      }
    }

    a.AnimCommandCount = i16(static_cast<int>(p.commands.size()));
    a.AnimCommands = i16(static_cast<int>(commands.size()));
    for (const CommandPlan& c : p.commands) {
      commands.push_back(c.type);
      std::vector<std::int16_t> operands = c.operands;
      if ((c.type == kPlaySound || c.type == kFlipEffect) && !operands.empty()) {
        operands[0] = i16(frameStart[i] + operands[0]);
      }
      commands.insert(commands.end(), operands.begin(), operands.end());
    }
    animations.push_back(a);
  }
  return placed;
}

}  // namespace tarnlow::sample
