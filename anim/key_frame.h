#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "anim/finding.h"
#include "anim/transform.h"
#include "wad/wad_document.h"

namespace tarnlow {

// A key frame starts with its bounding box (6 words) and the root offset
// (3 words); one rotation per mesh follows.
inline constexpr std::size_t kFrameHeaderWords = 9;
// Three-axis rotations hold 10 bits per axis: 1024 units a turn. One-axis
// rotations hold 12 bits: 4096 units a turn (the earlier games used 10 bits
// here too; the real WADs set bits 10 and 11 in most one-axis words).
inline constexpr int kThreeAxisUnitsPerTurn = 1024;
inline constexpr int kOneAxisUnitsPerTurn = 4096;

// The box of a key frame, in the order stored: minimum and maximum X, then
// Y, then Z.
struct BoundingBox {
  std::int16_t minX = 0, maxX = 0, minY = 0, maxY = 0, minZ = 0, maxZ = 0;
  friend bool operator==(const BoundingBox&, const BoundingBox&) = default;
};

// The top two bits of a rotation's first word: 0 three axes (a second word
// follows), 1 X only, 2 Y only, 3 Z only.
enum class AngleEncoding { ThreeAxis, XOnly, YOnly, ZOnly };

// One mesh's rotation in a key frame: its encoding, the words as stored and
// the angles in radians (0 for the axes a one-axis rotation leaves alone).
struct MeshAngles {
  AngleEncoding encoding = AngleEncoding::ThreeAxis;
  std::uint16_t first = 0;
  std::uint16_t second = 0;  // 0 for a one-axis rotation
  double x = 0, y = 0, z = 0;
  friend bool operator==(const MeshAngles&, const MeshAngles&) = default;
};

// One decoded key frame.
struct KeyFrame {
  BoundingBox box;
  Vec3 offset;                     // where the root mesh stands
  std::vector<MeshAngles> angles;  // one per mesh, in mesh order
  std::size_t words = 0;           // words the frame took: 9 + one or two per mesh
};

// The angles that one rotation stands for, and how many words it took (1 or
// 2); `second` is read only for a three-axis rotation. Pure.
MeshAngles DecodeAngles(std::uint16_t first, std::uint16_t second);

// Decodes one key frame for `meshCount` meshes from `words` (the frame's
// words and whatever follows them). Fails with a finding (section "Frames",
// record -1, for the caller to fill) when the words end before the frame
// does. Pure.
std::variant<KeyFrame, Finding> DecodeFrameWords(std::span<const std::int16_t> words, int meshCount);

// How many words a key frame takes for `meshCount` meshes, its words
// standing little-endian from the start of `bytes`: 9, then one or two per
// mesh as the top bits of each turn's first word say. Nothing when the bytes
// end before the frame does. Reads only the words it needs; pure.
std::optional<std::size_t> FrameWordCount(std::span<const std::uint8_t> bytes, int meshCount);

// A frame number as the game counts it: FrameStart, FrameEnd and NextFrame
// are unsigned 16-bit words, so that a WAD's frames can run past 32767.
inline int FrameNumber(std::int16_t word) { return static_cast<std::uint16_t>(word); }

// True when FrameEnd is one before FrameStart (0xFFFF before 0): how the
// level tools mark an animation with no frames of its own. They still store
// one key frame for it, which nothing plays.
bool IsEmptyAnimation(const AnimationRecord& a);

// How many key frames animation `a` stores: one every FrameRate frames from
// FrameStart to FrameEnd, the last one included even when the span is not a
// whole number of steps (ceil((FrameEnd - FrameStart) / FrameRate) + 1).
// Fails when FrameRate is 0 or FrameEnd is before FrameStart; the finding is
// a note for an empty animation (IsEmptyAnimation), an error otherwise.
std::variant<int, Finding> KeyFrameCount(const AnimationRecord& a, std::int64_t animationIndex);

// Frames of animation `a` (FrameEnd - FrameStart + 1; 0 when the end is
// before the start).
int FrameCount(const AnimationRecord& a);

// True when frame number `frame` is one of the frames of animation `a`
// (FrameStart to FrameEnd, unsigned; none for an empty animation).
bool IsFrameOf(const AnimationRecord& a, std::int64_t frame);

// The frames of `a` as findings name them, as stored and as the view
// counts them from the animation's start: "frames 13 to 23 (frames 0 to 10
// of this animation)", or "no frames". Never fails.
// `whose` names the animation in the second way ("this animation", or
// "animation 5" when the finding is about another).
std::string DescribeFrames(const AnimationRecord& a, std::string_view whose = "this animation");

// Frames `first` to `last` (numbers as stored) said both ways, as
// DescribeFrames says them; "frame 25 (frame 12 of this animation)" when
// `first` is `last`. A number before the animation's start has no place in
// it and is said as stored only. Never fails.
std::string DescribeFrameSpan(const AnimationRecord& a, std::int64_t first, std::int64_t last,
                              std::string_view whose = "this animation");

// Key frame `keyFrame` of animation `animationIndex`, decoded for
// `meshCount` meshes: its words start at Frames word FrameOffset / 2 +
// keyFrame * FrameSize (FrameOffset counts bytes, FrameSize words). Fails
// with a finding when the animation does not exist, FrameOffset is negative
// or odd, the key frame is not one the animation stores, or its words leave
// Frames. A frame whose rotations need more than FrameSize words is decoded
// as far as Frames goes (the game reads on into the next frame) and says so
// in `overrun`.
struct KeyFrameRead {
  KeyFrame frame;
  std::optional<Finding> overrun;
};
std::variant<KeyFrameRead, Finding> DecodeKeyFrame(const WadDocument& document, std::int64_t animationIndex,
                                                   int keyFrame, int meshCount);

// Where frame `frame` of an animation falls between its key frames: key
// frame `from`, key frame `to` (from + 1, or from itself at the last key)
// and how far between them (0 to below 1). Frame 0 is the animation's first
// frame; fractions are allowed; frames outside 0 to keyFrames * rate are
// clamped. `rate` and `keyFrames` must be at least 1.
struct FrameSample {
  int from = 0;
  int to = 0;
  double t = 0;
  friend bool operator==(const FrameSample&, const FrameSample&) = default;
};
FrameSample SampleFrame(int keyFrames, int rate, double frame);

}  // namespace tarnlow
