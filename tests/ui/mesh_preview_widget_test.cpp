// The mesh and texture-page previews.
#include "ui/mesh_preview_widget.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QSpinBox>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "tests/support/wad_builder.h"
#include "tests/ui/support/pictures.h"
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

}  // namespace
}  // namespace tarnlow::ui
