#pragma once

#include <cstdint>
#include <vector>

#include "tests/support/wad_fields.h"

namespace tarnlow::test {

// A small WAD in which every cross-reference holds, section by section, so
// that a test can break one thing and build it:
//  - meshes 0 and 1 (SimpleMesh), pointers 0 and their offset;
//  - moveable 0 (ObjectID 35): both meshes, mesh 1 hanging 100 units along
//    X from mesh 0,
//    animations 0 and 1 (Unknown3: frame offset 0, first animation 0);
//    moveable 1: mesh 1 alone, no animations (first animation -1);
//  - animation 0: frames 0 to 2, a key frame every 2 frames (2 key frames
//    of 11 words: box, offset, one one-axis turn per mesh), one state
//    change (state 1) whose dispatch sends frames 0 to 2 to frame 1 of
//    animation 0, two commands (PlaySound at frame 1 on land, EmptyHands);
//    animation 1: frame 3 alone, one key frame, next animation 0;
//  - one texture page, one texture-info square on it, one static mesh on
//    mesh pointer 1.
struct AnimatedWad : WadFields {
  static AnimatedWad Clean();
  // Lara on a vehicle: moveable 0 (MOTOR_BOAT_LARA, slot 466) has the mesh
  // count of LARA_SKIN (moveable 1, slot 8: two squares of side 400, the
  // second 100 along X) and only placeholders (pointer 0, then the
  // placeholder shape); its three key frames, all unturned, store the box
  // of LARA_SKIN's figure, of its own placeholders, or of neither.
  enum class Fit { Skin, Own, Neither };
  static AnimatedWad Rider(Fit boxes);
  // One object of one mesh whose `animations` animations (FrameSize 10,
  // one key frame a frame) all name the same `keyFrames` key frames.
  static AnimatedWad SharedFrames(int animations, int keyFrames);
};

// A one-axis turn word: `units` of 4096 to a turn about 'X', 'Y' or 'Z'.
std::int16_t Turn(char axis, int units);

}  // namespace tarnlow::test
