#include "tests/support/content_wad.h"

#include <tuple>

#include "anim/animation_graph.h"
#include "tests/support/animated_wad.h"
#include "tests/support/wad_builder.h"

namespace tarnlow::test {

namespace {

constexpr int kPicture = 8;

TextInfoRecord rectangle(std::uint8_t x, std::uint8_t y) {
  return TextInfoRecord{{x, y, 0, 0, 0, kPicture - 1, 0, kPicture - 1}};
}

// Grey rows with the picture at (x, y), mirrored left to right when asked.
Bytes pageWithPicture(int x, int y, bool mirrored) {
  Bytes rows(32 * 256 * 3, 0x40);
  for (int j = 0; j < kPicture; ++j) {
    for (int i = 0; i < kPicture; ++i) {
      const std::size_t at = ContentWad::PixelAt(x + (mirrored ? kPicture - 1 - i : i), y + j);
      std::tie(rows[at], rows[at + 1], rows[at + 2]) = std::tuple(std::uint8_t(10 + 20 * i), std::uint8_t(10 + 20 * j), 77);
    }
  }
  return rows;
}

MeshRecord triangleMesh(std::int16_t texture) {
  return {.CentreY = -5, .CollisionSize = 64, .NumVertices = 3, .Vertices = {{0, 0, 0}, {64, 0, 0}, {0, -64, 0}},
          .NumNormals = -3, .Shades = {100, 200, 300}, .NumFaces = 1,
          .Faces = {MeshFace{MeshFace::kTriangle, {0, 1, 2}, texture, 1}}};
}

// Three key frames of two meshes (two of the first animation, one of the
// second): a box, the root offset, one turn each.
std::vector<std::int16_t> objectFrames(char zeroAxis) {
  return {-50, 50, -50, 50, -1, 1, 0, -10, 0, Turn('Y', 1024), Turn(zeroAxis, 0),
          -60, 60, -50, 50, -1, 1, 0, -12, 0, Turn('Y', 2048), Turn('X', 512),
          -70, 70, -50, 50, -1, 1, 0, -14, 0, Turn(zeroAxis, 0), Turn('Z', 256)};
}

// The object's animations, its first at `first`, its frames from byte `frameBytes`.
std::vector<AnimationRecord> objectAnimations(std::int16_t first, std::int32_t frameBytes) {
  return {{.FrameOffset = frameBytes, .FrameRate = 2, .FrameSize = 11, .StateID = 2, .Unknown1 = {0, 0, 4, 0},
           .FrameStart = 0, .FrameEnd = 2, .NextAnimation = static_cast<std::int16_t>(first + 1), .NextFrame = 3,
           .NumStateChanges = 1, .AnimCommandCount = 1},
          {.FrameOffset = frameBytes + 44, .FrameRate = 1, .FrameSize = 11, .StateID = 1, .FrameStart = 3,
           .FrameEnd = 3, .NextAnimation = first, .NextFrame = 0}};
}

StaticMeshRecord staticOn(std::int16_t mesh) {
  StaticMeshRecord s = StaticMeshAt(20, mesh);
  for (std::size_t b = 6; b < 32; b += 2) s.Bytes[b] = static_cast<std::uint8_t>(b);
  return s;
}

// The object's animations second, after one that no object plays, with its
// state change, dispatch and command second too, and its key frames after
// that animation's 11 words; zero turns stored about `zeroAxis`.
void animationsSecond(ContentWad& w, char zeroAxis) {
  w.animations = objectAnimations(1, 2 * 11);
  w.animations.insert(w.animations.begin(), {.FrameRate = 1, .FrameSize = 10, .FrameEnd = 0});
  w.stateChanges = {{9, 0, 0}, {1, 1, 1}};
  w.animations[1].StateChange = 1;
  w.dispatches = {{0, 0, 0, 0}, {0, 2, 2, 3}};
  w.commands = {3, 5, 1, 12};
  w.animations[1].AnimCommands = 1;
  w.frames = {0, 1, 0, 1, 0, 1, 0, 0, 0, Turn('Y', 8), 0};
  const std::vector<std::int16_t> own = objectFrames(zeroAxis);
  w.frames.insert(w.frames.end(), own.begin(), own.end());
}

}  // namespace

ContentWad ContentWad::Plain() {
  ContentWad w;
  w.meshes = {SquareMesh(50, 0, 0, 1), triangleMesh(0x2000 | 1)};
  w.moveables = {{35, 2, 0, 0, WriteAnimationRef({0, 0})}};
  w.meshTrees = {0, 100, 0, 0};
  w.animations = objectAnimations(0, 0);
  w.stateChanges = {{1, 1, 0}};
  w.dispatches = {{0, 2, 1, 3}};
  w.commands = {5, 1, 12};
  w.frames = objectFrames('X');
  w.textInfo = {rectangle(0, 0), rectangle(8, 4)};
  w.statics = {staticOn(0)};
  w.pageRows = pageWithPicture(8, 4, false);
  return w;
}

ContentWad ContentWad::Moved() {
  ContentWad w;
  w.meshes = {SimpleMesh(3), SquareMesh(50, 0, 0, -2), triangleMesh(static_cast<std::int16_t>(0x8000 | 0x2000 | 2))};
  w.moveables = {{10, 1, 0, 0, WriteAnimationRef({0, 0})}, {35, 2, 1, 3, WriteAnimationRef({2 * 11, 1})}};
  w.meshTrees = {7, 7, 7, 0, 100, 0, 0};
  animationsSecond(w, 'Z');
  w.textInfo = {rectangle(0, 0), rectangle(1, 1), rectangle(100, 20)};
  w.statics = {staticOn(0), staticOn(1)};
  w.statics[0].Bytes[0] = 19;
  w.pageRows = pageWithPicture(100, 20, true);
  return w;
}

ContentWad ContentWad::Relocated() {
  ContentWad w = Plain();
  animationsSecond(w, 'X');
  w.meshes.insert(w.meshes.begin(), SimpleMesh(3));
  w.meshTrees.insert(w.meshTrees.begin(), {7, 7, 7, 7});
  w.moveables = {{35, 2, 1, 4, WriteAnimationRef({2 * 11, 1})}};
  w.statics[0].Bytes[4] = 1;  // its mesh, one further on
  return w;
}

}  // namespace tarnlow::test
