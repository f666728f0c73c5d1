#include "ui/object_view_widget.h"

#include <QApplication>
#include <QImage>
#include <QPushButton>
#include <QSlider>
#include <gtest/gtest.h>

#include <cmath>

#include "tests/support/wad_builder.h"

namespace tarnlow::ui {
namespace {

const QRgb kBackground = qRgb(40, 44, 52);

// A 400 x 400 square quad standing in the X-Y plane, showing `texture`.
MeshRecord Square(std::int16_t texture) {
  return {.NumVertices = 4,
          .Vertices = {{-200, -200, 0}, {200, -200, 0}, {200, 200, 0}, {-200, 200, 0}},
          .NumNormals = 1,
          .Normals = {{0, 0, -16384}},
          .NumFaces = 1,
          .Faces = {MeshFace{MeshFace::kQuad, {0, 1, 2, 3}, texture, 0}}};
}

// Two squares, the second hanging 600 units to the right of the first, with
// one animation of three frames that turns nothing. Mesh 0 shows texture
// record `texture` (record 0 is the page's top-left 32 x 32 square); `key`
// paints that square magenta. `pointers` cuts the mesh pointers short.
WadDocument TwoSquares(std::int16_t texture, bool key = false, std::size_t pointers = 2) {
  WadDocument doc = test::WadBuilder()
                        .textureRows(256)
                        .textInfo({TextInfoRecord{{0, 0, 0, 0, 0, 31, 0, 31}}})
                        .meshes({Square(texture), Square(-1)})
                        .meshTrees({0, 600, 0, 0})
                        .animations({[] {
                          AnimationRecord a;
                          a.FrameRate = 1;
                          a.FrameSize = 13;  // the box, the root offset and two three-axis turns
                          a.FrameEnd = 2;
                          return a;
                        }()})
                        .frames(std::vector<std::int16_t>(3 * 13, 0))
                        .moveables({test::Moveable(0, 2, 0)})
                        .build();
  if (key) {
    Bytes rows = doc.TextData.storedBytes();
    for (int y = 0; y < 32; ++y) {
      for (int x = 0; x < 32; ++x) {
        const std::size_t at = static_cast<std::size_t>(y * 256 + x) * 3;
        rows[at] = 255;
        rows[at + 1] = 0;
        rows[at + 2] = 255;
      }
    }
    doc.TextData = RecordArray<TextureRow>(doc.TextData.size(), rows);
  }
  std::vector<std::int32_t> kept;
  for (std::size_t i = 0; i < pointers; ++i) kept.push_back(doc.MeshPointers[i]);
  doc.MeshPointers = RecordArray<std::int32_t>::fromRecords(kept);
  doc.NumMeshPointers = static_cast<std::int32_t>(pointers);
  return doc;
}

double PolygonArea(const ObjectFace& face) {
  double twice = 0;
  for (int i = 0; i < face.cornerCount; ++i) {
    const ScreenPoint& a = face.corners[static_cast<std::size_t>(i)];
    const ScreenPoint& b = face.corners[static_cast<std::size_t>((i + 1) % face.cornerCount)];
    twice += a.x * b.y - b.x * a.y;
  }
  return std::abs(twice) / 2;
}

class ObjectViewWidgetTest : public ::testing::Test {
 protected:
  ObjectViewWidgetTest() {
    view.resize(500, 480);
    view.show();  // lays the canvas out under the caption and above the controls
  }
  QImage render() {
    QImage image(view.canvas()->size(), QImage::Format_ARGB32);
    view.canvas()->render(&image);
    return image;
  }
  int count(const QImage& image, bool (*test)(QRgb)) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) n += test(image.pixel(x, y)) ? 1 : 0;
    }
    return n;
  }
  // The projected area of the faces of `meshes`.
  double area(std::initializer_list<std::size_t> meshes) {
    double total = 0;
    for (const ObjectFace& face : view.faces()) {
      if (std::find(meshes.begin(), meshes.end(), face.mesh) != meshes.end()) total += PolygonArea(face);
    }
    return total;
  }
  ObjectViewWidget view;
};

TEST_F(ObjectViewWidgetTest, CoveredAreaMatchesTheProjectedSilhouette) {
  const struct { const char* what; WadDocument doc; std::initializer_list<std::size_t> drawn; } cases[] = {
      {"both flat (record 5 does not exist)", TwoSquares(5), {0, 1}},
      {"mesh 0 textured", TwoSquares(0), {0, 1}},
      {"mesh 0 textured with the colour key: transparent", TwoSquares(0, true), {1}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    view.showObject(c.doc, 0);
    ASSERT_EQ(view.faces().size(), 2u);
    const double expected = area(c.drawn);
    EXPECT_GT(expected, 0.05 * view.canvas()->width() * view.canvas()->height()) << "fitted, not a speck";
    EXPECT_NEAR(count(render(), [](QRgb p) { return p != kBackground; }), expected, 0.06 * expected);
  }
}

TEST_F(ObjectViewWidgetTest, HighlightedMeshStandsOutInAmber) {
  view.showObject(TwoSquares(5), 0);
  const auto amber = [](QRgb p) { return qRed(p) - qBlue(p) > 60; };
  EXPECT_EQ(count(render(), amber), 0);
  view.highlightMesh(1);
  EXPECT_NEAR(count(render(), amber), area({1}), 0.08 * area({1}));
}

TEST_F(ObjectViewWidgetTest, BrokenObjectDrawsWhatItCanAndSaysWhy) {
  WadDocument noFrames = TwoSquares(5);
  AnimationRecord a = noFrames.Animations[0];
  a.FrameRate = 0;
  noFrames.Animations = RecordArray<AnimationRecord>::fromRecords(std::vector<AnimationRecord>{a});
  const struct { const char* what; WadDocument doc; const char* says; std::size_t faces; } cases[] = {
      {"a mesh outside the pointers", TwoSquares(5, false, 1), "Mesh 01: mesh position 1 is outside", 1},
      {"an animation without frames", noFrames, "rest pose", 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    view.showObject(c.doc, 0);
    EXPECT_TRUE(view.caption().contains(c.says)) << view.caption().toStdString();
    EXPECT_EQ(view.faces().size(), c.faces);
    EXPECT_GT(count(render(), [](QRgb p) { return p != kBackground; }), 1000);
  }
}

TEST_F(ObjectViewWidgetTest, PlayingRunsTheTimerOnlyWhileTheViewIsShown) {
  view.showObject(TwoSquares(5), 0);
  view.cmdPlay->click();
  EXPECT_TRUE(view.timerRunning());
  view.hide();
  EXPECT_FALSE(view.timerRunning());
  view.show();
  EXPECT_TRUE(view.timerRunning());
  view.advance(1.5 / 30);
  EXPECT_DOUBLE_EQ(view.playback().frame(), 1.5);
  EXPECT_EQ(view.sldFrame->value(), 1);
  view.cmdPlay->click();
  EXPECT_FALSE(view.timerRunning());
  view.sldFrame->setValue(2);
  EXPECT_DOUBLE_EQ(view.playback().frame(), 2);
}

}  // namespace
}  // namespace tarnlow::ui
