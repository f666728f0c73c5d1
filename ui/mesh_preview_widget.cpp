#include "ui/mesh_preview_widget.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QWheelEvent>
#include <cmath>
#include <variant>

#include "mesh/mesh_decoder.h"
#include "mesh/face_textures.h"
#include "mesh/mesh_lists.h"
#include "ui/preview_style.h"
#include "wad/texture_pages.h"

namespace tarnlow::ui {

namespace {

using namespace preview_style;

const QColor kHoveredFace(235, 160, 60);
const QColor kVertex(140, 190, 255);
const QColor kDummyText(240, 190, 80);

QString faceName(const MeshFace& face) {
  return face.FaceType == MeshFace::kTriangle ? QStringLiteral("triangle") : QStringLiteral("quad");
}

}  // namespace

MeshPreviewWidget::MeshPreviewWidget(QWidget* parent) : QWidget(parent) {
  setMouseTracking(true);
  setToolTip(kMouseHelp);
  setAutoFillBackground(false);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void MeshPreviewWidget::showMesh(const MeshRecord& mesh) { setMesh(mesh, State::Mesh); }

void MeshPreviewWidget::showDummy(const MeshRecord& meshAtOffsetZero) { setMesh(meshAtOffsetZero, State::Dummy); }

void MeshPreviewWidget::showFailure(const QString& reason) {
  state_ = State::Failure;
  mesh_ = {};
  textures_.clear();
  pages_.clear();
  faces_.clear();
  hoveredFace_.reset();
  failure_ = reason;
  update();
}

void MeshPreviewWidget::clear() {
  state_ = State::Empty;
  mesh_ = {};
  textures_.clear();
  pages_.clear();
  faces_.clear();
  hoveredFace_.reset();
  failure_.clear();
  update();
}

void MeshPreviewWidget::showObjectMesh(const WadDocument& document, std::size_t moveableIndex, int meshNumber) {
  if (moveableIndex >= document.Moveables.size()) {
    showFailure(QStringLiteral("There is no object %1.").arg(moveableIndex));
    return;
  }
  const MoveableRecord moveable = document.Moveables[moveableIndex];
  if (meshNumber < 0 || meshNumber >= moveable.NumMeshes) {
    showFailure(QStringLiteral("The object has no %1.").arg(QString::fromStdString(MeshLabel(meshNumber))));
    return;
  }
  // The mesh list's rule: a signed 16-bit position in MeshPointers.
  const int k = moveable.StartingMesh + meshNumber;
  if (k < 0 || k > kMaxMeshPosition || static_cast<std::size_t>(k) >= document.MeshPointers.size()) {
    showFailure(QStringLiteral("%1 is at mesh position %2, outside the %3 mesh pointers.")
                    .arg(QString::fromStdString(MeshLabel(meshNumber)))
                    .arg(k)
                    .arg(document.MeshPointers.size()));
    return;
  }
  const bool dummy = document.MeshPointers[static_cast<std::size_t>(k)] == 0;
  MeshResult<MeshRecord> decoded = ReadMesh(document, k);
  if (const auto* failure = std::get_if<MeshFailure>(&decoded)) {
    const QString reason = QString::fromStdString(Describe(*failure));
    showFailure(dummy ? QStringLiteral("DUMMY pointer (0): the mesh at offset 0 cannot be shown: %1").arg(reason)
                      : QStringLiteral("%1 cannot be shown: %2").arg(QString::fromStdString(MeshLabel(meshNumber)), reason));
    return;
  }
  if (dummy) {
    showDummy(std::get<MeshRecord>(decoded));
  } else {
    showMesh(std::get<MeshRecord>(decoded));
  }
  texture(document);
}

void MeshPreviewWidget::texture(const WadDocument& document) {
  const std::size_t pages = TexturePageCount(document.TextData);
  for (const MeshFace& face : mesh_.Faces) {
    textures_.push_back(FaceTextureOf(face, document.TextInfo, pages));
    if (textures_.back()) pages_.load(document.TextData, textures_.back()->page);
  }
  update();
}

QString MeshPreviewWidget::caption() const {
  switch (state_) {
    case State::Empty:
      return QStringLiteral("No mesh selected.");
    case State::Failure:
      return failure_;
    case State::Mesh:
    case State::Dummy:
      break;
  }
  QString text = QStringLiteral("%1 vertices, %2 faces").arg(mesh_.Vertices.size()).arg(mesh_.Faces.size());
  if (faces_.empty()) text += QStringLiteral(" (nothing to fill: the vertices are shown as dots)");
  if (hoveredFace_) {
    const MeshFace& face = mesh_.Faces[*hoveredFace_];
    text += QStringLiteral("; face %1: %2, texture %3").arg(*hoveredFace_).arg(faceName(face)).arg(face.Texture);
  }
  if (state_ == State::Dummy) text = QStringLiteral("DUMMY pointer (0): showing the mesh at offset 0\n") + text;
  return text;
}

QRectF MeshPreviewWidget::meshArea() const {
  // Two caption lines and a little air stay clear of the picture.
  const double band = 2.0 * fontMetrics().height() + 8.0;
  return QRectF(0, band, width(), std::max(0.0, height() - band));
}

void MeshPreviewWidget::setMesh(const MeshRecord& mesh, State state) {
  state_ = state;
  mesh_ = mesh;
  textures_.clear();
  pages_.clear();
  failure_.clear();
  hoveredFace_.reset();
  fit();
}

void MeshPreviewWidget::fit() {
  camera_ = FitToView(camera_, mesh_.Vertices);
  reproject();
}

void MeshPreviewWidget::reproject() {
  const QRectF area = meshArea();
  faces_ = ProjectFaces(mesh_, camera_, {area.width(), area.height()});
  update();
}

void MeshPreviewWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), kBackground);
  painter.setRenderHint(QPainter::Antialiasing);
  const QRectF textArea = rect().adjusted(8, 4, -8, -4);
  switch (state_) {
    case State::Empty:
      painter.setPen(kText.darker(150));
      painter.drawText(textArea, Qt::AlignCenter, caption());
      return;
    case State::Failure:
      painter.setPen(kText);
      painter.drawText(textArea, Qt::AlignCenter | Qt::TextWordWrap, caption());
      return;
    case State::Mesh:
    case State::Dummy:
      break;
  }
  paintMesh(painter);
  const QStringList lines = caption().split(QLatin1Char('\n'));
  double y = textArea.top();
  for (int i = 0; i < lines.size(); ++i) {
    const bool dummyLine = state_ == State::Dummy && i == 0;
    painter.setPen(dummyLine ? kDummyText : kText);
    painter.drawText(QPointF(textArea.left(), y + fontMetrics().ascent()), lines[i]);
    y += fontMetrics().height();
  }
}

void MeshPreviewWidget::paintMesh(QPainter& painter) {
  const QRectF area = meshArea();
  painter.save();
  painter.setClipRect(area);
  painter.translate(area.topLeft());
  if (faces_.empty()) {
    // A mesh without faces (the null shape is one) is still worth seeing:
    // its vertices as dots.
    painter.setPen(Qt::NoPen);
    painter.setBrush(kVertex);
    for (const MeshVector& v : mesh_.Vertices) {
      const ScreenPoint p = Project(camera_, {area.width(), area.height()}, {double(v.X), double(v.Y), double(v.Z)});
      painter.drawEllipse(QPointF(p.x, p.y), 3.0, 3.0);
    }
  }
  QPen edge(kEdge);
  edge.setWidthF(1.0);
  edge.setJoinStyle(Qt::RoundJoin);
  for (const ScreenFace& face : faces_) {
    QPolygonF polygon;
    for (const ScreenPoint& c : face.corners) polygon << QPointF(c.x, c.y);
    const bool hovered = hoveredFace_ == face.faceIndex;
    const std::optional<FaceTexture>* texture = face.faceIndex < textures_.size() ? &textures_[face.faceIndex] : nullptr;
    const QImage* page = texture != nullptr && *texture ? pages_.at((*texture)->page, face.brightness) : nullptr;
    if (page != nullptr) {
      painter.setPen(Qt::NoPen);
      // Smoothed edges would let the background show through the seam
      // between a quad's two triangles.
      painter.setRenderHint(QPainter::Antialiasing, false);
      PaintTexturedFace(painter, face.corners.data(), static_cast<int>(face.corners.size()), **texture, *page);
      painter.setRenderHint(QPainter::Antialiasing, true);
      if (hovered) {
        painter.setPen(edge);
        painter.setBrush(QColor(kHoveredFace.red(), kHoveredFace.green(), kHoveredFace.blue(), 120));
        painter.drawPolygon(polygon);
      }
      continue;
    }
    painter.setBrush(Shaded(hovered ? kHoveredFace : kFace, face.brightness));
    painter.setPen(edge);
    painter.drawPolygon(polygon);
  }
  painter.restore();
}

void MeshPreviewWidget::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  reproject();
}

void MeshPreviewWidget::mousePressEvent(QMouseEvent* event) {
  drag_ = DragOf(*event);
  dragFrom_ = event->position();
  QWidget::mousePressEvent(event);
}

void MeshPreviewWidget::mouseMoveEvent(QMouseEvent* event) {
  const QPointF at = event->position();
  const QRectF area = meshArea();
  if (drag_ != Drag::None && event->buttons() != Qt::NoButton) {
    const QPointF delta = at - dragFrom_;
    dragFrom_ = at;
    if (drag_ == Drag::Pan) {
      camera_ = Pan(camera_, {area.width(), area.height()}, delta.x(), delta.y());
    } else {
      camera_.orbit(delta.x() * kTurnPerPixel, delta.y() * kTurnPerPixel);
    }
    reproject();
    return;
  }
  const std::optional<std::size_t> face = FaceAt(faces_, at.x() - area.left(), at.y() - area.top());
  if (face != hoveredFace_) {
    hoveredFace_ = face;
    update();
  }
}

void MeshPreviewWidget::mouseReleaseEvent(QMouseEvent* event) {
  drag_ = Drag::None;
  QWidget::mouseReleaseEvent(event);
}

void MeshPreviewWidget::mouseDoubleClickEvent(QMouseEvent*) {
  if (state_ == State::Mesh || state_ == State::Dummy) fit();
}

void MeshPreviewWidget::wheelEvent(QWheelEvent* event) {
  const double notches = event->angleDelta().y() / 120.0;
  if (notches == 0) return;
  const QRectF area = meshArea();
  const QPointF at = event->position() - area.topLeft();
  camera_ = ZoomAt(camera_, {area.width(), area.height()}, at.x(), at.y(), std::pow(kZoomPerNotch, notches));
  reproject();
  event->accept();
}

void MeshPreviewWidget::leaveEvent(QEvent* event) {
  if (hoveredFace_) {
    hoveredFace_.reset();
    update();
  }
  QWidget::leaveEvent(event);
}

}  // namespace tarnlow::ui
