#include "tests/support/animated_wad.h"

#include <array>

#include "anim/animation_graph.h"
#include "tests/support/wad_builder.h"

namespace tarnlow::test {

namespace {

constexpr std::int32_t kLaraSkinSlot = 8;

}  // namespace

std::int16_t Turn(char axis, int units) {
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(((axis - 'X' + 1) << 14) | (units & 0x0FFF)));
}

AnimatedWad AnimatedWad::Clean() {
  AnimatedWad w;
  w.meshes = {SimpleMesh(3), SimpleMesh(3)};
  w.moveables = {{35, 2, 0, 0, WriteAnimationRef({0, 0})}, {1, 1, 1, 0, WriteAnimationRef({0, -1})}};
  w.meshTrees = {0, 100, 0, 0};

  // Each key frame stores the box its pose gives the two meshes.
  for (int turn : {0, 1024, 0}) {
    const std::int16_t maxX = turn == 0 ? 120 : 0, minZ = turn == 0 ? 0 : -120;
    w.frames.insert(w.frames.end(), {0, maxX, -100, -100, minZ, 0, 0, -100, 0, Turn('Y', turn), Turn('X', turn)});
  }
  w.animations = {
      {.FrameOffset = 0, .FrameRate = 2, .FrameSize = 11, .FrameStart = 0, .FrameEnd = 2, .NumStateChanges = 1,
       .AnimCommandCount = 2},
      {.FrameOffset = 2 * 22, .FrameRate = 1, .FrameSize = 11, .FrameStart = 3, .FrameEnd = 3}};
  w.stateChanges = {{1, 1, 0}};
  w.dispatches = {{0, 2, 0, 1}};
  w.commands = {5, 1, 0x4000, 3};

  w.textInfo = {TextInfoRecord{{0, 0, 0, 0, 0, 31, 0, 31}}};
  w.statics = {StaticMeshRecord{}};
  w.statics[0].Bytes[4] = 1;  // mesh pointer 1
  return w;
}

AnimatedWad AnimatedWad::Rider(Fit boxes) {
  AnimatedWad w = Clean();
  w.meshes = {SimpleMesh(3), NullShapeMesh(), SquareMesh(200), SquareMesh(200)};
  w.moveables = {{466, 2, 0, 0, WriteAnimationRef({0, 0})}, {kLaraSkinSlot, 2, 2, 0, WriteAnimationRef({0, -1})}};
  // Unturned, with the root at Y -100, the squares reach from -200 to 300
  // along X and 200 either side of the root; the line and the placeholder
  // shape (100 along X) from -16 to 216, 120 either side and 177 deep.
  using Box = std::array<std::int16_t, 6>;
  const Box box = boxes == Fit::Skin  ? Box{-200, 300, -300, 100, 0, 0}
                  : boxes == Fit::Own ? Box{-16, 216, -220, 20, -177, 177}
                                      : Box{-2000, 2000, -2000, 2000, -2000, 2000};
  w.frames.clear();
  for (int key = 0; key < 3; ++key) {
    w.frames.insert(w.frames.end(), box.begin(), box.end());
    w.frames.insert(w.frames.end(), {0, -100, 0, Turn('Y', 0), Turn('X', 0)});
  }
  w.statics.clear();
  return w;
}

AnimatedWad AnimatedWad::SharedFrames(int animations, int keyFrames) {
  AnimatedWad w = Clean();
  w.meshes = {SimpleMesh(3)};
  w.moveables = {{35, 1, 0, 0, WriteAnimationRef({0, 0})}};
  w.meshTrees.clear();
  w.frames.clear();
  for (int key = 0; key < keyFrames; ++key) w.frames.insert(w.frames.end(), {0, 20, 0, 0, 0, 0, 0, 0, 0, Turn('Y', 0)});
  const auto last = static_cast<std::int16_t>(keyFrames - 1);
  w.animations.assign(static_cast<std::size_t>(animations),
                      {.FrameOffset = 0, .FrameRate = 1, .FrameSize = 10, .FrameStart = 0, .FrameEnd = last});
  for (std::size_t a = 0; a < w.animations.size(); ++a) w.animations[a].NextAnimation = static_cast<std::int16_t>(a);
  w.stateChanges.clear();
  w.dispatches.clear();
  w.commands.clear();
  w.statics.clear();
  return w;
}

}  // namespace tarnlow::test
