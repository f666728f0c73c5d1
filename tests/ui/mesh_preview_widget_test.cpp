#include "ui/mesh_preview_widget.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include <cmath>

#include "mesh/mesh_encoder.h"
#include "tests/support/wad_builder.h"

namespace tarnlow::ui {
namespace {

using State = MeshPreviewWidget::State;

// Pixels of `image` within `area` (all of it by default) for which `test`
// holds. The faces and edges are drawn in blues; background, captions and
// the failure text are greys or amber: a pixel clearly bluer than red is mesh.
int CountPixels(const QImage& image, QRect area = {},
                bool (*test)(QRgb) = [](QRgb p) { return qBlue(p) - qRed(p) > 20; }) {
  if (area.isNull()) area = image.rect();
  int count = 0;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) count += test(image.pixel(x, y)) ? 1 : 0;
  }
  return count;
}

// One quad, a square of side 400 standing in the X-Y plane.
MeshRecord Square() {
  return {.NumVertices = 4,
          .Vertices = {{-200, -200, 0}, {200, -200, 0}, {200, 200, 0}, {-200, 200, 0}},
          .NumNormals = 1,
          .Normals = {{0, 0, -16384}},
          .NumFaces = 1,
          .Faces = {MeshFace{MeshFace::kQuad, {0, 1, 2, 3}, 5, 0}}};
}

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
  double twice = 0;
  for (std::size_t i = 0; i < 4; ++i) {
    const ScreenPoint& a = faces[0].corners[i];
    const ScreenPoint& b = faces[0].corners[(i + 1) % 4];
    twice += a.x * b.y - b.x * a.y;
  }
  const double expected = std::abs(twice) / 2;
  // Fitted with a margin, the face is neither a speck nor clipped.
  EXPECT_GT(expected, 0.15 * viewport().width * viewport().height);
  const QImage image = render();
  EXPECT_NEAR(CountPixels(image), expected, 0.08 * expected);
  EXPECT_EQ(CountPixels(image, QRect(0, 0, image.width(), int(widget.meshArea().top()))), 0)
      << "the caption band stays clear";
}

TEST_F(MeshPreviewWidgetTest, MeshWithoutFacesShowsItsVerticesAsDots) {
  const MeshRecord nullShape = test::NullShapeMesh();
  widget.showMesh(nullShape);
  const QImage image = render();
  for (const MeshVector& v : nullShape.Vertices) {
    const ScreenPoint p = Project(widget.camera(), viewport(), {double(v.X), double(v.Y), double(v.Z)});
    const QPoint at(int(std::lround(p.x + widget.meshArea().left())), int(std::lround(p.y + widget.meshArea().top())));
    EXPECT_EQ(CountPixels(image, QRect(at, QSize(1, 1))), 1) << v.X << "," << v.Y << "," << v.Z;
  }
  EXPECT_LE(CountPixels(image), 5 * 50);
}

TEST_F(MeshPreviewWidgetTest, FailureDrawsOnlyItsReasonAndADummyItsMesh) {
  widget.showMesh(Square());
  widget.showFailure("overflow: vertex count word 0x8000 at byte 10 of the mesh data");
  const QImage failed = render();
  EXPECT_EQ(CountPixels(failed), 0);
  EXPECT_GT(CountPixels(failed, {}, [](QRgb p) { return qGray(p) > 150; }), 50) << "the reason is drawn";
  widget.showDummy(Square());
  EXPECT_GT(CountPixels(render()), 1000);
}

TEST_F(MeshPreviewWidgetTest, ObjectMeshIsChosenAsTheMeshListNumbersIt) {
  // Mesh data: the square at offset 0, then SimpleMesh(4), then a mesh whose
  // vertex count word is 0x8000.
  const WadDocument laidOut = test::WadBuilder().meshes({Square(), test::SimpleMesh(4)}).build();
  Bytes data = laidOut.MeshData;
  const auto bad = static_cast<std::int32_t>(data.size());
  Bytes broken = EncodeMesh(test::SimpleMesh(3));
  broken[10] = 0x00;
  broken[11] = 0x80;
  data.insert(data.end(), broken.begin(), broken.end());
  const WadDocument doc = test::WadBuilder()
                              .meshData(data)
                              .meshPointers({0, laidOut.MeshPointers[1], bad})
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

}  // namespace
}  // namespace tarnlow::ui
