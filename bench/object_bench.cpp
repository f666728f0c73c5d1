// The object view: one offscreen paint of a 15-mesh object of about 2,000
// faces at 600 x 600, half of them textured. 60 frames a second leave
// 16 ms a frame; the paint should take at most half of that.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QSlider>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

#include "tests/support/wad_builder.h"
#include "ui/object_view_widget.h"

namespace tarnlow {
namespace {

constexpr int kMeshes = 15;
constexpr int kSegments = 16;
constexpr int kRings = 8;

std::int16_t i16(double v) { return static_cast<std::int16_t>(std::lround(v)); }

// A closed tube: kRings rings of kSegments vertices joined by textured
// quads, each end closed by a fan of flat triangles: 144 faces.
MeshRecord Tube() {
  MeshRecord m;
  for (int r = 0; r < kRings; ++r) {
    for (int s = 0; s < kSegments; ++s) {
      const double a = 2 * std::numbers::pi * s / kSegments;
      m.Vertices.push_back({i16(60 * std::cos(a)), i16(-40.0 * r), i16(60 * std::sin(a))});
    }
  }
  const auto top = static_cast<std::int16_t>(m.Vertices.size());
  m.Vertices.push_back({0, 0, 0});
  m.Vertices.push_back({0, i16(-40.0 * (kRings - 1)), 0});
  const auto at = [](int r, int s) { return static_cast<std::int16_t>(r * kSegments + (s % kSegments)); };
  for (int r = 0; r + 1 < kRings; ++r) {
    for (int s = 0; s < kSegments; ++s) {
      m.Faces.push_back({MeshFace::kQuad, {at(r, s), at(r, s + 1), at(r + 1, s + 1), at(r + 1, s)}, static_cast<std::int16_t>(s % 4), 0});
    }
  }
  for (int s = 0; s < kSegments; ++s) {
    m.Faces.push_back({MeshFace::kTriangle, {top, at(0, s + 1), at(0, s)}, 0, 0});
    m.Faces.push_back({MeshFace::kTriangle, {static_cast<std::int16_t>(top + 1), at(kRings - 1, s), at(kRings - 1, s + 1)}, 0, 0});
  }
  m.NumVertices = static_cast<std::int16_t>(m.Vertices.size());
  m.NumNormals = 1;
  m.Normals = {{0, -16384, 0}};
  m.NumFaces = static_cast<std::int16_t>(m.Faces.size());
  return m;
}

// Fifteen tubes, each hanging from the one before it at an angle, in the
// middle of one animation.
WadDocument Figure() {
  std::vector<std::int32_t> tree;
  for (int j = 1; j < kMeshes; ++j) tree.insert(tree.end(), {0, 20 * (j % 3), -320, 15 * (j % 2)});
  // Key frame words: box (6), root offset (3), then per mesh a three-axis
  // turn of a few degrees about each axis.
  std::vector<std::int16_t> frames;
  for (int k = 0; k < 2; ++k) {
    frames.insert(frames.end(), {-300, 300, -4000, 0, -300, 300, 0, 0, 0});
    for (int j = 0; j < kMeshes; ++j) {
      const int x = 20 + 10 * k, y = 30, z = 10 * (j % 3);
      const int packed = (x << 20) | (y << 10) | z;
      frames.push_back(static_cast<std::int16_t>(packed >> 16));
      frames.push_back(static_cast<std::int16_t>(packed & 0xFFFF));
    }
  }
  AnimationRecord a;
  a.FrameRate = 4;
  a.FrameSize = static_cast<std::uint8_t>(9 + 2 * kMeshes);
  a.FrameEnd = 4;
  std::vector<TextInfoRecord> infos;
  for (std::uint8_t i = 0; i < 4; ++i) infos.push_back({{static_cast<std::uint8_t>(64 * i), 0, 0, 0, 0, 63, 0, 63}});
  return test::WadBuilder()
      .textureRows(256)
      .textInfo(infos)
      .meshes(std::vector<MeshRecord>(kMeshes, Tube()))
      .meshTrees(tree)
      .animations({a})
      .frames(frames)
      .moveables({test::Moveable(0, kMeshes, 0)})
      .build();
}

void BM_PaintObject(benchmark::State& state) {
  ui::ObjectViewWidget view;
  view.resize(600, 700);
  view.show();
  QApplication::processEvents();
  // Make the picture itself 600 x 600, whatever the controls take.
  view.resize(600 + view.width() - view.canvas()->width(), 600 + view.height() - view.canvas()->height());
  QApplication::processEvents();
  view.showObject(Figure(), 0);
  view.sldFrame->setValue(2);  // between two key frames
  QImage target(view.canvas()->size(), QImage::Format_ARGB32_Premultiplied);
  for (auto _ : state) {
    view.canvas()->render(&target);
    benchmark::DoNotOptimize(target.constBits());
  }
  state.counters["faces"] = static_cast<double>(view.faces().size());
  state.counters["width"] = view.canvas()->width();
  state.counters["height"] = view.canvas()->height();
}
BENCHMARK(BM_PaintObject)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tarnlow
