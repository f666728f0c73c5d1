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

const QSize kSize(300, 260);

// The faces and edges are drawn in blues; background, captions and the
// failure text are greys or amber. A pixel clearly bluer than red is mesh.
bool IsMeshPixel(QRgb p) { return qBlue(p) - qRed(p) > 20; }

QImage Render(QWidget& widget) {
  QImage image(widget.size(), QImage::Format_ARGB32);
  image.fill(Qt::white);
  widget.render(&image);
  return image;
}

int CountMeshPixels(const QImage& image, const QRect& within) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (IsMeshPixel(image.pixel(x, y)) && within.contains(x, y)) ++count;
    }
  }
  return count;
}

// One quad, a square of side 400 standing in the X-Y plane.
MeshRecord Square() {
  MeshRecord m;
  m.NumVertices = 4;
  m.Vertices = {{-200, -200, 0}, {200, -200, 0}, {200, 200, 0}, {-200, 200, 0}};
  m.NumNormals = 1;
  m.Normals = {{0, 0, -16384}};
  m.NumFaces = 1;
  m.Faces = {MeshFace{MeshFace::kQuad, {0, 1, 2, 3}, 5, 0}};
  return m;
}

double PolygonArea(const std::vector<ScreenPoint>& corners) {
  double twice = 0;
  for (std::size_t i = 0; i < corners.size(); ++i) {
    const ScreenPoint& a = corners[i];
    const ScreenPoint& b = corners[(i + 1) % corners.size()];
    twice += a.x * b.y - b.x * a.y;
  }
  return std::abs(twice) / 2;
}

TEST(MeshPreviewWidget, FilledFacesCoverTheirProjectedArea) {
  MeshPreviewWidget widget;
  widget.resize(kSize);
  widget.showMesh(Square());
  ASSERT_EQ(widget.state(), MeshPreviewWidget::State::Mesh);
  const QRectF area = widget.meshArea();
  const std::vector<ScreenFace> faces = ProjectFaces(Square(), widget.camera(), {area.width(), area.height()});
  ASSERT_EQ(faces.size(), 1u);
  const double expected = PolygonArea(faces[0].corners);
  // Fitted with a margin, the face is neither a speck nor clipped.
  EXPECT_GT(expected, 0.15 * area.width() * area.height());

  const QImage image = Render(widget);
  const int covered = CountMeshPixels(image, image.rect());
  EXPECT_NEAR(covered, expected, 0.08 * expected);
  EXPECT_EQ(CountMeshPixels(image, QRect(0, 0, kSize.width(), int(area.top()))), 0) << "the caption band stays clear";
}

TEST(MeshPreviewWidget, MeshWithoutFacesShowsItsVerticesAsDots) {
  MeshPreviewWidget widget;
  widget.resize(kSize);
  const MeshRecord nullShape = test::NullShapeMesh();
  widget.showMesh(nullShape);
  const QImage image = Render(widget);
  const QRectF area = widget.meshArea();
  for (const MeshVector& v : nullShape.Vertices) {
    const ScreenPoint p = Project(widget.camera(), {area.width(), area.height()}, {double(v.X), double(v.Y), double(v.Z)});
    const QPoint at(int(std::lround(p.x + area.left())), int(std::lround(p.y + area.top())));
    EXPECT_TRUE(IsMeshPixel(image.pixel(at))) << v.X << "," << v.Y << "," << v.Z;
  }
  EXPECT_LE(CountMeshPixels(image, image.rect()), 5 * 50);
}

TEST(MeshPreviewWidget, FailureShowsTheReasonAndNoMesh) {
  MeshPreviewWidget widget;
  widget.resize(kSize);
  widget.showMesh(Square());
  widget.showFailure("overflow: vertex count word 0x8000 at byte 10 of the mesh data");
  EXPECT_EQ(widget.state(), MeshPreviewWidget::State::Failure);
  EXPECT_EQ(widget.caption(), "overflow: vertex count word 0x8000 at byte 10 of the mesh data");
  const QImage image = Render(widget);
  EXPECT_EQ(CountMeshPixels(image, image.rect()), 0);
  int textPixels = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) textPixels += qGray(image.pixel(x, y)) > 150 ? 1 : 0;
  }
  EXPECT_GT(textPixels, 50) << "the reason is drawn";
}

TEST(MeshPreviewWidget, DummyShowsTheMeshUnderACaptionThatSaysSo) {
  MeshPreviewWidget widget;
  widget.resize(kSize);
  widget.showDummy(Square());
  EXPECT_EQ(widget.state(), MeshPreviewWidget::State::Dummy);
  EXPECT_TRUE(widget.caption().startsWith("DUMMY pointer (0): showing the mesh at offset 0\n")) << widget.caption().toStdString();
  const QImage image = Render(widget);
  EXPECT_GT(CountMeshPixels(image, image.rect()), 1000);
}

TEST(MeshPreviewWidget, ObjectMeshIsChosenAsTheMeshListNumbersIt) {
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
  const struct {
    std::size_t object;
    int mesh;
    MeshPreviewWidget::State state;
    QString captionStart;
  } cases[] = {
      {0, 0, MeshPreviewWidget::State::Dummy, "DUMMY pointer (0)"},
      {0, 1, MeshPreviewWidget::State::Mesh, "4 vertices, 1 faces"},
      {0, 2, MeshPreviewWidget::State::Failure, "Mesh 02 cannot be shown: overflow: vertex count word 0x8000"},
      {0, 3, MeshPreviewWidget::State::Failure, "The object has no Mesh 03."},
      {1, 1, MeshPreviewWidget::State::Failure, "Mesh 01 is at mesh position 3, outside the 3 mesh pointers."},
      {2, 0, MeshPreviewWidget::State::Failure, "There is no object 2."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.captionStart.toStdString());
    MeshPreviewWidget widget;
    widget.resize(kSize);
    widget.showObjectMesh(doc, c.object, c.mesh);
    EXPECT_EQ(widget.state(), c.state);
    EXPECT_TRUE(widget.caption().startsWith(c.captionStart)) << widget.caption().toStdString();
  }
}

TEST(MeshPreviewWidget, DragTurnsWheelZoomsAndHoverNamesTheFace) {
  MeshPreviewWidget widget;
  widget.resize(kSize);
  widget.showMesh(Square());
  const QRectF area = widget.meshArea();
  const QPointF centre = area.center();

  const double yaw = widget.camera().yaw;
  QMouseEvent press(QEvent::MouseButtonPress, centre, centre, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&widget, &press);
  const QPointF moved = centre + QPointF(30, 0);
  QMouseEvent drag(QEvent::MouseMove, moved, moved, Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&widget, &drag);
  QMouseEvent release(QEvent::MouseButtonRelease, moved, moved, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(&widget, &release);
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
