// The preview widgets: the mesh, the texture pages, and the posed object
// with the playback behind it.
#include "ui/mesh_preview_widget.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QImage>
#include <QMouseEvent>
#include <QPushButton>
#include <QSlider>
#include <QToolButton>
#include <QComboBox>
#include <QSpinBox>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "check/naming.h"
#include "tests/support/wad_builder.h"
#include "tests/ui/support/pictures.h"
#include "ui/object_view_widget.h"
#include "ui/playback.h"
#include "ui/texture_page_widget.h"

namespace tarnlow::ui {
namespace {

using State = MeshPreviewWidget::State;
using test::CountPixels;
using test::PolygonArea;

// The faces and edges are drawn in blues; background, captions and the
// failure text are greys or amber: a pixel clearly bluer than red is mesh.
bool IsMesh(QRgb p) { return qBlue(p) - qRed(p) > 20; }

// One quad, a square of side 400 standing in the X-Y plane, texture 5.
MeshRecord Square() { return test::SquareMesh(200, 0, 0, 5); }

class MeshPreviewWidgetTest : public ::testing::Test {
 protected:
  MeshPreviewWidgetTest() { widget.resize(300, 260); }
  QImage render() {
    QImage image(widget.size(), QImage::Format_ARGB32);
    image.fill(Qt::white);
    widget.render(&image);
    return image;
  }
  Viewport viewport() const { return {widget.meshArea().width(), widget.meshArea().height()}; }
  MeshPreviewWidget widget;
};

TEST_F(MeshPreviewWidgetTest, FilledFacesCoverTheirProjectedArea) {
  widget.showMesh(Square());
  ASSERT_EQ(widget.state(), State::Mesh);
  const std::vector<ScreenFace> faces = ProjectFaces(Square(), widget.camera(), viewport());
  ASSERT_EQ(faces.size(), 1u);
  const double expected = PolygonArea(faces[0].corners, 4);
  // Fitted with a margin, the face is neither a speck nor clipped.
  EXPECT_GT(expected, 0.15 * viewport().width * viewport().height);
  const QImage image = render();
  EXPECT_NEAR(CountPixels(image, IsMesh), expected, 0.08 * expected);
  EXPECT_EQ(CountPixels(image, IsMesh, QRect(0, 0, image.width(), int(widget.meshArea().top()))), 0)
      << "the caption band stays clear";
}

TEST_F(MeshPreviewWidgetTest, MeshWithoutFacesShowsItsVerticesAsDots) {
  const MeshRecord nullShape = test::NullShapeMesh();
  widget.showMesh(nullShape);
  const QImage image = render();
  for (const MeshVector& v : nullShape.Vertices) {
    const ScreenPoint p = Project(widget.camera(), viewport(), {double(v.X), double(v.Y), double(v.Z)});
    const QPoint at(int(std::lround(p.x + widget.meshArea().left())), int(std::lround(p.y + widget.meshArea().top())));
    EXPECT_EQ(CountPixels(image, IsMesh, QRect(at, QSize(1, 1))), 1) << v.X << "," << v.Y << "," << v.Z;
  }
  EXPECT_LE(CountPixels(image, IsMesh), 5 * 50);
}

TEST_F(MeshPreviewWidgetTest, FailureDrawsOnlyItsReasonAndADummyItsMesh) {
  widget.showMesh(Square());
  widget.showFailure("overflow: vertex count word 0x8000 at byte 10 of the mesh data");
  const QImage failed = render();
  EXPECT_EQ(CountPixels(failed, IsMesh), 0);
  EXPECT_GT(CountPixels(failed, [](QRgb p) { return qGray(p) > 150; }), 50) << "the reason is drawn";
  widget.showDummy(Square());
  EXPECT_GT(CountPixels(render(), IsMesh), 1000);
}

TEST_F(MeshPreviewWidgetTest, ObjectMeshIsChosenAsTheMeshListNumbersIt) {
  // Mesh data: the square at offset 0, then SimpleMesh(4), then a mesh whose
  // vertex count word is 0x8000.
  MeshRecord broken = test::SimpleMesh(3);
  broken.NumVertices = -32768;
  const WadDocument doc = test::WadBuilder()
                              .meshes({Square(), test::SimpleMesh(4), broken})
                              .moveables({test::Moveable(0, 3, 0), test::Moveable(1, 2, 2)})
                              .build();
  const struct { std::size_t object; int mesh; State state; QString captionStart; } cases[] = {
      {0, 0, State::Dummy, "DUMMY pointer (0)"},
      {0, 1, State::Mesh, "4 vertices, 1 faces"},
      {0, 2, State::Failure, "Mesh 02 cannot be shown: overflow: vertex count word 0x8000"},
      {0, 3, State::Failure, "The object has no Mesh 03."},
      {1, 1, State::Failure, "Mesh 01 is at mesh position 3, outside the 3 mesh pointers."},
      {2, 0, State::Failure, "There is no object 2."},
  };
  for (const auto& c : cases) {
    widget.showObjectMesh(doc, c.object, c.mesh);
    EXPECT_EQ(widget.state(), c.state) << c.captionStart.toStdString();
    EXPECT_TRUE(widget.caption().startsWith(c.captionStart)) << widget.caption().toStdString();
  }
}

TEST_F(MeshPreviewWidgetTest, DragTurnsWheelZoomsAndHoverNamesTheFace) {
  widget.showMesh(Square());
  const QPointF centre = widget.meshArea().center();
  const QPointF moved = centre + QPointF(30, 0);
  const double yaw = widget.camera().yaw;
  QMouseEvent press(QEvent::MouseButtonPress, centre, centre, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QMouseEvent drag(QEvent::MouseMove, moved, moved, Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
  QMouseEvent release(QEvent::MouseButtonRelease, moved, moved, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
  for (QMouseEvent* event : {&press, &drag, &release}) QApplication::sendEvent(&widget, event);
  EXPECT_NEAR(widget.camera().yaw, yaw + 0.3, 1e-9);

  const double distance = widget.camera().distance;
  QWheelEvent wheel(centre, centre, QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(&widget, &wheel);
  EXPECT_LT(widget.camera().distance, distance);

  QMouseEvent hover(QEvent::MouseMove, centre, centre, Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(&widget, &hover);
  EXPECT_TRUE(widget.caption().endsWith("; face 0: quad, texture 5")) << widget.caption().toStdString();
}

// A texture section of `rows` rows of one colour, with magenta at (x, y).
RecordArray<TextureRow> Rows(std::size_t rows, std::array<std::uint8_t, 3> colour, int x, int y) {
  Bytes bytes;
  for (std::size_t i = 0; i < rows * 256; ++i) bytes.insert(bytes.end(), colour.begin(), colour.end());
  const std::size_t at = (static_cast<std::size_t>(y) * 256 + static_cast<std::size_t>(x)) * 3;
  std::tie(bytes[at], bytes[at + 1], bytes[at + 2]) = std::tuple(255, 0, 255);
  return RecordArray<TextureRow>(rows, bytes);
}

TEST(TexturePageWidget, PagesOfTheChosenSourceWithAShortLastPage) {
  SwdDocument swd;
  swd.SwdTextData = Rows(64, {1, 2, 3}, 0, 0);
  TexturePageWidget widget;
  widget.showTexturePages(test::WadBuilder().textureRows(600).build(), swd);
  auto* pageBox = widget.findChild<QSpinBox*>();
  ASSERT_NE(pageBox, nullptr);
  EXPECT_EQ(pageBox->text(), "Page 1 of 3");
  widget.setPage(2);
  EXPECT_EQ(pageBox->text(), "Page 3 of 3");
  EXPECT_EQ(widget.image().size(), QSize(256, 88));
  widget.setPage(3);  // no such page: nothing changes
  EXPECT_EQ(widget.page(), 2);
  widget.setSource(TexturePageWidget::Source::Swd);
  EXPECT_EQ(pageBox->text(), "Page 1 of 1");
  EXPECT_EQ(widget.image().size(), QSize(256, 64));
  // A source without pages: no image, no page to choose.
  widget.showTexturePages(test::WadBuilder().build(), SwdDocument{});
  widget.setSource(TexturePageWidget::Source::Swd);
  EXPECT_TRUE(widget.image().isNull());
  EXPECT_FALSE(pageBox->isEnabled());
}

TEST(TexturePageWidget, ColourKeyShowsTheCheckerboardThrough) {
  WadDocument wad = test::WadBuilder().build();
  wad.TextData = Rows(256, {200, 40, 40}, 100, 100);
  TexturePageWidget widget;
  widget.resize(300, 320);
  widget.showTexturePages(wad, SwdDocument{});
  QImage shot(widget.size(), QImage::Format_ARGB32);
  widget.render(&shot);

  // Find the page on the screen: the first red pixel row by row.
  QPoint origin(-1, -1);
  for (int i = 0; i < shot.width() * shot.height() && origin.x() < 0; ++i) {
    const QPoint at(i % shot.width(), i / shot.width());
    if (shot.pixel(at) == qRgb(200, 40, 40)) origin = at;
  }
  ASSERT_GE(origin.x(), 0) << "the page is drawn";
  const QRgb key = shot.pixel(origin + QPoint(100, 100));
  EXPECT_TRUE(key == qRgb(204, 204, 204) || key == qRgb(153, 153, 153)) << std::hex << key;
  EXPECT_EQ(shot.pixel(origin + QPoint(101, 100)), qRgb(200, 40, 40));
}

const QRgb kBackground = qRgb(40, 44, 52);

// Two squares of side 400, the second hanging 600 units to the right of
// the first, with one animation of three frames that turns nothing. Mesh 0
// shows texture record `texture` (record 0 is the page's top-left 32 x 32
// square); `key` paints that square magenta. The object starts at mesh
// pointer `firstMesh` of the two. `frames` replaces the three key frames
// (13 words each: the box, the root offset, two three-axis turns); the
// animation goes on to itself at frame `nextFrame`.
WadDocument TwoSquares(std::int16_t texture, bool key = false, std::int16_t firstMesh = 0,
                       std::vector<std::int16_t> frames = std::vector<std::int16_t>(3 * 13, 0),
                       std::int16_t nextFrame = 0) {
  const AnimationRecord still{.FrameRate = 1, .FrameSize = 13, .FrameEnd = 2, .NextFrame = nextFrame};
  WadDocument doc = test::WadBuilder()
                        .textureRows(256)
                        .textInfo({TextInfoRecord{{0, 0, 0, 0, 0, 31, 0, 31}}})
                        .meshes({test::SquareMesh(200, 0, 0, texture), test::SquareMesh(200, 0, 0, -1)})
                        .meshTrees({0, 600, 0, 0})
                        .animations({still})
                        .frames(frames)
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

TEST_F(MeshPreviewWidgetTest, ObjectMeshShowsItsTextureWithTheColourKeyTransparent) {
  const struct { const char* what; WadDocument doc; bool flat; bool drawn; } cases[] = {
      {"record 5 does not exist: flat", TwoSquares(5), true, true},
      {"record 0: its black square", TwoSquares(0), false, true},
      {"record 0 with the colour key: nothing", TwoSquares(0, true), false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    widget.showObjectMesh(c.doc, 0, 0);
    const QImage image = render();
    const QRect area = widget.meshArea().toRect();
    EXPECT_EQ(CountPixels(image, IsMesh, area) > 1000, c.flat);
    EXPECT_EQ(CountPixels(image, [](QRgb p) { return p != kBackground; }, area) > 1000, c.drawn);
  }
}

// A triangle takes three corners of its texture rectangle; the fourth,
// and the half of the rectangle beyond the diagonal opposite it, it leaves
// out. That half is keyed here, so a triangle painted with the wrong three
// corners shows holes.
TEST_F(MeshPreviewWidgetTest, TriangleShowsTheThreeCornersOfItsTextureItTakes) {
  MeshRecord triangle = test::SquareMesh(200, 0, 0, 0);
  // Vertices 0, 1 and 3 are the square's top-left, top-right and bottom-left;
  // texture word 0 takes the rectangle's top-left for corner 0, the corner
  // after it going round (top-right) for corner 1, the one before it
  // (bottom-left) for corner 2.
  triangle.Faces = {MeshFace{MeshFace::kTriangle, {0, 1, 3}, 0, 0}};
  WadDocument doc = test::WadBuilder()
                        .textureRows(256)
                        .textInfo({TextInfoRecord{{0, 0, 0, 0, 0, 31, 0, 31}}})
                        .meshes({test::SimpleMesh(), triangle})
                        .moveables({test::Moveable(0, 1, 1)})
                        .build();
  Bytes rows = doc.TextData.storedBytes();
  for (std::size_t y = 0; y < 32; ++y) {
    for (std::size_t x = 0; x < 32; ++x) {
      const std::size_t at = (y * 256 + x) * 3;
      if (x + y >= 33) std::tie(rows[at], rows[at + 1], rows[at + 2]) = std::tuple(255, 0, 255);
    }
  }
  doc.TextData = RecordArray<TextureRow>(doc.TextData.size(), rows);
  widget.showObjectMesh(doc, 0, 0);
  const std::vector<ScreenFace> faces = ProjectFaces(triangle, widget.camera(), viewport());
  ASSERT_EQ(faces.size(), 1u);
  const double expected = PolygonArea(faces[0].corners, 3);
  const QRect area = widget.meshArea().toRect();
  EXPECT_NEAR(CountPixels(render(), [](QRgb p) { return p != kBackground; }, area), expected, 0.06 * expected);
}

class ObjectViewWidgetTest : public ::testing::Test {
 protected:
  ObjectViewWidgetTest() {
    view.resize(500, 510);
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
  const QImage plain = render();
  view.highlightMesh(1);
  const QImage highlighted = render();
  // Pixels turned warmer than they were: the amber wash over the mesh.
  int amber = 0;
  for (int y = 0; y < plain.height(); ++y) {
    for (int x = 0; x < plain.width(); ++x) {
      const QRgb a = plain.pixel(x, y), b = highlighted.pixel(x, y);
      amber += (qRed(b) - qBlue(b)) - (qRed(a) - qBlue(a)) > 60 ? 1 : 0;
    }
  }
  EXPECT_NEAR(amber, area({1}), 0.08 * area({1}));
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

TEST_F(ObjectViewWidgetTest, BrokenAnimationHoldsItsFirstFrameAndSaysWhyInCaptionAndChooser) {
  // FrameSize 11 where the frames need 13: key frame 1 would be read from
  // word 11 on and key frame 2 from word 22: their root offsets land on
  // words 17 and 28.
  WadDocument doc = TwoSquares(5);
  const AnimationRecord tooSmall{.FrameRate = 1, .FrameSize = 11, .FrameEnd = 2};
  doc.Animations = RecordArray<AnimationRecord>::fromRecords(std::vector{tooSmall});
  std::vector<std::int16_t> frames(3 * 13, 0);
  frames[17] = frames[28] = 30000;
  doc.Frames = RecordArray<std::int16_t>::fromRecords(std::span<const std::int16_t>(frames));
  const std::optional<Finding> expected = std::get<DrawnObject>(DrawObject(doc, 0)).animationProblems.at(0);
  ASSERT_TRUE(expected.has_value());
  // Named as the check names it.
  const QString said = QString::fromStdString(CheckNames(doc, nullptr).line(*expected));

  view.showObject(doc, 0);
  const std::vector<ObjectFace> first = view.faces();
  view.cmdStepForward->click();
  view.cmdStepForward->click();
  EXPECT_GT(view.playback().frame(), 0);
  ASSERT_EQ(view.faces().size(), first.size());
  for (std::size_t f = 0; f < first.size(); ++f) EXPECT_EQ(view.faces()[f].corners[0].x, first[f].corners[0].x);
  EXPECT_TRUE(view.caption().contains(said)) << view.caption().toStdString();
  EXPECT_EQ(view.cboAnimation->itemData(0, Qt::ToolTipRole).toString(), said);
}

TEST_F(ObjectViewWidgetTest, AFindingAboutAnotherAnimationIsNotSaidAboveThePicture) {
  // Animation 1 is an empty slot (FrameEnd one before FrameStart): a note
  // about it belongs above the picture only while it is chosen. Not LARA,
  // whose missing skin would be said first.
  WadDocument doc = TwoSquares(5);
  MoveableRecord object = doc.Moveables[0];
  object.ObjectID = 35;
  doc.Moveables = RecordArray<MoveableRecord>::fromRecords(std::vector{object});
  const AnimationRecord still{.FrameRate = 1, .FrameSize = 13, .FrameEnd = 2};
  const AnimationRecord empty{.FrameRate = 1, .FrameSize = 13, .FrameStart = 3, .FrameEnd = 2};
  doc.Animations = RecordArray<AnimationRecord>::fromRecords(std::vector{still, empty});
  view.showObject(doc, 0);
  EXPECT_FALSE(view.caption().contains("Animations 1")) << view.caption().toStdString();
  ASSERT_EQ(view.cboAnimation->count(), 2);
  view.cboAnimation->setCurrentIndex(1);
  EXPECT_TRUE(view.caption().contains("Animations 1")) << view.caption().toStdString();
}

TEST_F(ObjectViewWidgetTest, BoxShowsTheKeyFramesStoredBoxAndSaysHowFarTheFigureLies) {
  // Every key frame stores a box of 400 units around the root.
  WadDocument doc = TwoSquares(5);
  std::vector<std::int16_t> frames(3 * 13, 0);
  for (std::size_t k = 0; k < 3; ++k) {
    const std::int16_t box[6] = {-400, 400, -400, 400, -400, 400};
    std::copy(std::begin(box), std::end(box), frames.begin() + static_cast<std::ptrdiff_t>(13 * k));
  }
  doc.Frames = RecordArray<std::int16_t>::fromRecords(std::span<const std::int16_t>(frames));
  const auto isStoredBox = [](QRgb p) { return qRed(p) > 240 && qGreen(p) > 200 && qBlue(p) < 60; };
  view.showObject(doc, 0);
  EXPECT_EQ(CountPixels(render(), isStoredBox), 0);
  EXPECT_FALSE(view.caption().contains("box:"));

  view.chkBox->setChecked(true);
  EXPECT_GT(CountPixels(render(), isStoredBox), 100);
  EXPECT_TRUE(view.caption().contains("key frame 0's stored box")) << view.caption().toStdString();
  view.cmdStepForward->click();
  EXPECT_GT(CountPixels(render(), isStoredBox), 100) << "frame 1 is key frame 1";
  EXPECT_TRUE(view.caption().contains("key frame 1's stored box")) << view.caption().toStdString();

  view.chkBox->setChecked(false);
  EXPECT_EQ(CountPixels(render(), isStoredBox), 0);
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

// Three key frames that walk: at the origin, 3000 units on with a stored
// box reaching 1300 units above the figure, and 2000 units back with a box
// that is no box (the pose stands in for it).
std::vector<std::int16_t> Walk() {
  return {-200, 800,  -200,  200, 0, 0, 0,     0, 0, 0, 0, 0, 0,  // key frame 0
          2800, 3800, -1500, 200, 0, 0, 3000,  0, 0, 0, 0, 0, 0,  // 1
          1,    0,    1,     0,   1, 0, -2000, 0, 0, 0, 0, 0, 0}; // 2
}

TEST_F(ObjectViewWidgetTest, TheWholeAnimationIsFramedByItsStoredBoxesOrItsPoses) {
  view.showObject(TwoSquares(5, false, 0, Walk()), 0);
  const QRectF inside(QPointF(0, 0), QSizeF(view.canvas()->size()));
  const ScreenPoint top = Project(view.camera(), {inside.width(), inside.height()}, {2800, -1500, 0});
  EXPECT_TRUE(inside.contains(top.x, top.y)) << "the stored box's corner";
  for (int frame : {0, 1, 2}) {
    view.sldFrame->setValue(frame);
    ASSERT_EQ(view.faces().size(), 2u);
    for (const ObjectFace& face : view.faces()) {
      for (int c = 0; c < face.cornerCount; ++c) EXPECT_TRUE(inside.contains(face.corners[c].x, face.corners[c].y));
    }
  }
}

TEST_F(ObjectViewWidgetTest, AnAnimationThatHoldsItsLastFrameStopsThereAndStopsDrawing) {
  view.showObject(TwoSquares(5, false, 0, Walk(), 2), 0);
  view.cmdPlay->click();
  view.advance(0.5);
  EXPECT_DOUBLE_EQ(view.playback().frame(), 2);
  EXPECT_FALSE(view.timerRunning());
  EXPECT_EQ(view.cmdPlay->text(), "Play");
}

// A pick of an object of many key frames draws it off the window's thread
// and shows a frame asked for meanwhile.
TEST_F(ObjectViewWidgetTest, AnObjectOfManyKeyFramesIsDrawnOffTheWindowsThread) {
  const auto last = static_cast<std::int16_t>(kKeyFramesDrawnAtOnce);
  const WadDocument many = test::WadBuilder()
                               .meshes({test::SquareMesh(200)})
                               .animations({{.FrameRate = 1, .FrameSize = 11, .FrameEnd = last}})
                               .frames(std::vector<std::int16_t>((kKeyFramesDrawnAtOnce + 1) * 11, 0))
                               .moveables({test::Moveable(0, 1, 0)})
                               .build();
  view.pickObject(many, 0);
  ASSERT_TRUE(view.drawing());
  view.showAnimationFrame(0, 700);
  QElapsedTimer waited;
  waited.start();
  while (view.drawing() && waited.elapsed() < 60'000) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
  EXPECT_DOUBLE_EQ(view.playback().frame(), 700);
}

// Animation 0 (10 frames) goes on to 1 at frame 2; 1 (4 frames) back to 0
// at frame 0; 2 (5 frames) to an animation of another object; 3 has none;
// 4 (6 frames) holds its last frame; 5 (3 frames) goes on to that frame.
Playback Chain() {
  return Playback({{100, 10, 1, 2}, {101, 4, 0, 0}, {102, 5, -1, 0}, {103, 0, -1, 0}, {104, 6, 4, 5}, {105, 3, 4, 5}});
}

TEST(Playback, TimeMovesThroughTheAnimationsAsTheGamePlaysThem) {
  const struct { const char* what; int start; bool follow; std::vector<double> seconds; int animation; double frame; bool playing; } cases[] = {
      {"30 frames a second", 0, true, {0.1}, 0, 3, true},
      {"the last frame holds until the next frame is due", 0, true, {9.5 / 30}, 0, 9, true},
      {"one frame after the last comes the next animation's next frame", 0, true, {10.5 / 30}, 1, 2.5, true},
      {"and its end leads back", 0, true, {10.0 / 30, 2.0 / 30, 1.0 / 30}, 0, 1, true},
      {"without following, the animation starts over", 1, false, {5.0 / 30}, 1, 1, true},
      {"a way on out of the object stops at the last frame", 2, true, {0.3}, 2, 4, false},
      {"a hold stops at its last frame", 4, true, {0.5}, 4, 5, false},
      {"and so does play going on into it", 5, true, {0.5}, 4, 5, false},
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
