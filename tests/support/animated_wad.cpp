#include "tests/support/animated_wad.h"

#include "anim/animation_graph.h"
#include "tests/support/wad_builder.h"

namespace tarnlow::test {

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

WadDocument AnimatedWad::build() const {
  WadBuilder b;
  b.meshes(meshes)
      .moveables(moveables)
      .meshTrees(meshTrees)
      .animations(animations)
      .stateChanges(stateChanges)
      .animDispatches(dispatches)
      .animCommands(commands)
      .frames(frames)
      .textInfo(textInfo)
      .staticMeshes(statics)
      .textureRows(1);
  if (!pointers.empty()) b.meshPointers(pointers);
  return b.build();
}

}  // namespace tarnlow::test
