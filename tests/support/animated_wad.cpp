#include "tests/support/animated_wad.h"

#include "anim/animation_graph.h"
#include "tests/support/wad_builder.h"

namespace tarnlow::test {

namespace {

std::int16_t word(int bits) { return static_cast<std::int16_t>(static_cast<std::uint16_t>(bits)); }

}  // namespace

std::int16_t TurnX(int units) { return word(0x4000 | (units & 0x0FFF)); }
std::int16_t TurnY(int units) { return word(0x8000 | (units & 0x0FFF)); }
std::int16_t TurnZ(int units) { return word(0xC000 | (units & 0x0FFF)); }

std::vector<std::int16_t> TurnXYZ(int x, int y, int z) {
  const std::uint32_t bits = (static_cast<std::uint32_t>(x & 0x3FF) << 20) |
                             (static_cast<std::uint32_t>(y & 0x3FF) << 10) | static_cast<std::uint32_t>(z & 0x3FF);
  return {word(static_cast<int>(bits >> 16)), word(static_cast<int>(bits & 0xFFFF))};
}

std::vector<std::int16_t> KeyFrameWords(std::vector<std::int16_t> box, std::vector<std::int16_t> offset,
                                        std::vector<std::int16_t> turns) {
  std::vector<std::int16_t> words = std::move(box);
  words.insert(words.end(), offset.begin(), offset.end());
  words.insert(words.end(), turns.begin(), turns.end());
  return words;
}

AnimatedWad AnimatedWad::Clean() {
  AnimatedWad w;
  w.meshes = {SimpleMesh(3), SimpleMesh(3)};
  MoveableRecord lead{0, 2, 0, 0, WriteAnimationRef({0, 0})};
  MoveableRecord still{1, 1, 1, 0, WriteAnimationRef({0, -1})};
  w.moveables = {lead, still};
  w.meshTrees = {0, 100, 0, 0};

  const std::vector<std::int16_t> box = {-10, 10, -20, 0, -10, 10};
  for (int turn : {0, 1024, 0}) {
    const std::vector<std::int16_t> key = KeyFrameWords(box, {0, -100, 0}, {TurnY(turn), TurnX(turn)});
    w.frames.insert(w.frames.end(), key.begin(), key.end());
  }
  AnimationRecord first;
  first.FrameOffset = 0;
  first.FrameRate = 2;
  first.FrameSize = 11;
  first.FrameStart = 0;
  first.FrameEnd = 2;
  first.NumStateChanges = 1;
  first.AnimCommandCount = 2;
  AnimationRecord second;
  second.FrameOffset = 2 * 22;
  second.FrameRate = 1;
  second.FrameSize = 11;
  second.FrameStart = 3;
  second.FrameEnd = 3;
  w.animations = {first, second};
  w.stateChanges = {{1, 1, 0}};
  w.dispatches = {{0, 2, 0, 1}};
  w.commands = {5, 1, 0x4000, 3};

  TextInfoRecord square;
  square.Bytes = {0, 0, 0, 0, 0, 31, 0, 31};
  w.textInfo = {square};
  StaticMeshRecord statue;
  statue.Bytes[4] = 1;  // mesh pointer 1
  w.statics = {statue};
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
