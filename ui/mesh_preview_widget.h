#pragma once

#include <QPoint>
#include <QString>
#include <QWidget>
#include <cstddef>
#include <optional>
#include <vector>

#include "wad/mesh_record.h"
#include "ui/preview_math.h"
#include "ui/preview_style.h"
#include "ui/textured_faces.h"
#include "wad/wad_document.h"

namespace tarnlow::ui {

// A picture of one decoded mesh: faces filled and shaded by a light that
// follows the view, edges drawn on top; a mesh of a WAD shows its faces'
// textures as the object view does. Drag with the left button to turn
// the mesh, with the middle one (or Shift and the left) to move it; the
// wheel zooms toward the pointer; double-click fits it to the view again.
// The face under the mouse is highlighted and named in the caption.
//
// It shows one of four things: nothing yet, a mesh, the mesh at offset 0
// for a dummy pointer (with a caption saying so), or the reason a mesh
// cannot be shown instead of a picture.
class MeshPreviewWidget : public QWidget {
  Q_OBJECT

 public:
  enum class State { Empty, Mesh, Dummy, Failure };

  explicit MeshPreviewWidget(QWidget* parent = nullptr);

  // Shows `mesh`, fitted to the view; the user's viewing angle is kept, so
  // stepping through an object's meshes shows them all from one side.
  void showMesh(const MeshRecord& mesh);
  // Shows the mesh at offset 0 that a dummy pointer (0) leads to, captioned
  // as such.
  void showDummy(const MeshRecord& meshAtOffsetZero);
  // Shows `reason` in place of a picture.
  void showFailure(const QString& reason);
  // Shows nothing (no mesh selected).
  void clear();

  // What a selection in the mesh list calls: finds mesh `meshNumber` of the
  // moveable at `moveableIndex` the way the mesh list numbers them (mesh
  // pointer StartingMesh + meshNumber), decodes it and shows it with
  // showMesh, showDummy (pointer 0) or showFailure (no such mesh, or a
  // failed decode, with the reason), its faces textured from `document`.
  // Faces of unknown type are left out of
  // the picture without a message: the mesh list has already reported them.
  void showObjectMesh(const WadDocument& document, std::size_t moveableIndex, int meshNumber);

  State state() const { return state_; }
  // The text above the picture, or the failure's reason.
  QString caption() const;
  const OrbitCamera& camera() const { return camera_; }
  // The part of the widget where the mesh is drawn, below the caption.
  QRectF meshArea() const;

  QSize sizeHint() const override { return {480, 420}; }
  QSize minimumSizeHint() const override { return {160, 140}; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  void setMesh(const MeshRecord& mesh, State state);
  void fit();
  void reproject();
  void paintMesh(QPainter& painter);
  // Finds the textures of the mesh's faces in `document`.
  void texture(const WadDocument& document);

  State state_ = State::Empty;
  MeshRecord mesh_;
  QString failure_;
  OrbitCamera camera_;
  // Faces as last projected, far to near: painted and hit-tested.
  std::vector<ScreenFace> faces_;
  // One per face of the mesh, when it came from a WAD; empty otherwise.
  std::vector<std::optional<FaceTexture>> textures_;
  ShadedPages pages_;
  std::optional<std::size_t> hoveredFace_;
  preview_style::Drag drag_ = preview_style::Drag::None;
  QPointF dragFrom_;
};

}  // namespace tarnlow::ui
