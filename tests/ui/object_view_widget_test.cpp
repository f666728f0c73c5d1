#include "ui/object_view_widget.h"

#include <QApplication>
#include <QImage>
#include <QPushButton>
#include <QSlider>
#include <gtest/gtest.h>

#include <tuple>

#include "tests/support/wad_builder.h"
#include "tests/ui/support/pictures.h"
#include "ui/playback.h"

namespace tarnlow::ui {
namespace {

using test::CountPixels;
using test::PolygonArea;

const QRgb kBackground = qRgb(40, 44, 52);

// Two squares of side 400, the second hanging 600 units to the right of
// the first, with one animation of three frames that turns nothing. Mesh 0
// shows texture record `texture` (record 0 is the page's top-left 32 x 32
// square); `key` paints that square magenta. The object starts at mesh
// pointer `firstMesh` of the two.
WadDocument TwoSquares(std::int16_t texture, bool key = false, std::int16_t firstMesh = 0) {
  // A frame: the box, the root offset and two three-axis turns.
  const AnimationRecord still{.FrameRate = 1, .FrameSize = 13, .FrameEnd = 2};
  WadDocument doc = test::WadBuilder()
                        .textureRows(256)
                        .textInfo({TextInfoRecord{{0, 0, 0, 0, 0, 31, 0, 31}}})
                        .meshes({test::SquareMesh(200, 0, 0, texture), test::SquareMesh(200, 0, 0, -1)})
                        .meshTrees({0, 600, 0, 0})
                        .animations({still})
                        .frames(std::vector<std::int16_t>(3 * 13, 0))
                        .moveables({test::Moveable(0, 2, firstMesh)})
                        .build();
  Bytes rows = doc.TextData.storedBytes();
  // Every pixel of the first 32 rows that lies in their first 32 columns.
  for (std::size_t at = 0; key && at < 32 * 256 * 3; at += 3) {
    if (at % (256 * 3) < 32 * 3) std::tie(rows[at], rows[at + 1], rows[at + 2]) = std::tuple(255, 0, 255);
  }
  doc.TextData = RecordArray<TextureRow>(doc.TextData.size(), rows);
  return doc;
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
  // The projected area of the faces of `meshes`.
  double area(std::initializer_list<std::size_t> meshes) {
    double total = 0;
    for (const ObjectFace& face : view.faces()) {
      const bool counted = std::find(meshes.begin(), meshes.end(), face.mesh) != meshes.end();
      total += counted ? PolygonArea(face.corners, std::size_t(face.cornerCount)) : 0;
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
    EXPECT_NEAR(CountPixels(render(), [](QRgb p) { return p != kBackground; }), expected, 0.06 * expected);
  }
}

TEST_F(ObjectViewWidgetTest, HighlightedMeshStandsOutInAmber) {
  view.showObject(TwoSquares(5), 0);
  const auto amber = [](QRgb p) { return qRed(p) - qBlue(p) > 60; };
  EXPECT_EQ(CountPixels(render(), amber), 0);
  view.highlightMesh(1);
  EXPECT_NEAR(CountPixels(render(), amber), area({1}), 0.08 * area({1}));
}

TEST_F(ObjectViewWidgetTest, BrokenObjectDrawsWhatItCanAndSaysWhy) {
  WadDocument noFrames = TwoSquares(5);
  const AnimationRecord noRate{.FrameSize = 13, .FrameEnd = 2};
  noFrames.Animations = RecordArray<AnimationRecord>::fromRecords(std::vector{noRate});
  const struct { const char* what; WadDocument doc; const char* says; std::size_t faces; } cases[] = {
      {"a mesh outside the pointers", TwoSquares(5, false, 1), "Mesh 01: mesh position 2 is outside", 1},
      {"an animation without frames", noFrames, "rest pose", 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    view.showObject(c.doc, 0);
    EXPECT_TRUE(view.caption().contains(c.says)) << view.caption().toStdString();
    EXPECT_EQ(view.faces().size(), c.faces);
    EXPECT_GT(CountPixels(render(), [](QRgb p) { return p != kBackground; }), 1000);
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

// Animation 0 (10 frames) goes on to 1 at frame 2; 1 (4 frames) back to 0
// at frame 0; 2 (5 frames) to an animation of another object; 3 has none.
Playback Chain() {
  return Playback({{100, 10, 1, 2}, {101, 4, 0, 0}, {102, 5, -1, 0}, {103, 0, -1, 0}});
}

TEST(Playback, TimeMovesThroughTheAnimationsAsTheGamePlaysThem) {
  const struct { const char* what; int start; bool follow; std::vector<double> seconds; int animation; double frame; bool playing; } cases[] = {
      {"30 frames a second", 0, true, {0.1}, 0, 3, true},
      {"the last frame holds until the next frame is due", 0, true, {9.5 / 30}, 0, 9, true},
      {"one frame after the last comes the next animation's next frame", 0, true, {10.5 / 30}, 1, 2.5, true},
      {"and its end leads back", 0, true, {10.0 / 30, 2.0 / 30, 1.0 / 30}, 0, 1, true},
      {"without following, the animation starts over", 1, false, {5.0 / 30}, 1, 1, true},
      {"a way on out of the object stops at the last frame", 2, true, {0.3}, 2, 4, false},
      {"a stalled timer moves at most half a second", 0, false, {2.0}, 0, 5, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Playback p = Chain();
    p.choose(c.start);
    p.setFollowsNext(c.follow);
    p.setPlaying(true);
    for (double s : c.seconds) p.advance(s);
    EXPECT_EQ(p.animation(), c.animation);
    EXPECT_NEAR(p.frame(), c.frame, 1e-9);
    EXPECT_EQ(p.playing(), c.playing);
    EXPECT_EQ(p.stopReason().empty(), c.playing);
  }
}

TEST(Playback, StepsAndSeeksMoveWholeFramesWithinTheAnimation) {
  Playback p = Chain();
  p.seek(8.4);
  p.stepForward();
  EXPECT_DOUBLE_EQ(p.frame(), 9);
  p.stepForward();
  EXPECT_EQ(p.animation(), 1) << "on from the last frame goes where play would";
  EXPECT_DOUBLE_EQ(p.frame(), 2);
  p.seek(0.6);
  p.stepBack();
  p.stepBack();
  EXPECT_DOUBLE_EQ(p.frame(), 0);
  p.seek(99);
  EXPECT_DOUBLE_EQ(p.frame(), 3);
  p.advance(1.0);
  EXPECT_DOUBLE_EQ(p.frame(), 3) << "paused: time does not move it";
}

TEST(Playback, NothingPlaysWithoutFrames) {
  Playback p = Chain();
  p.choose(3);
  p.setPlaying(true);
  EXPECT_FALSE(p.playing());
  Playback none;
  EXPECT_EQ(none.animation(), -1);
  none.setPlaying(true);
  none.stepForward();
  EXPECT_FALSE(none.playing());
  EXPECT_DOUBLE_EQ(none.frame(), 0);
}

}  // namespace
}  // namespace tarnlow::ui
