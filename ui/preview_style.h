#pragma once

#include <QColor>
#include <QMouseEvent>
#include <QString>

// What the mesh preview and the object view share, so that the two pictures
// look and handle alike.
namespace tarnlow::ui::preview_style {

inline const QColor kBackground(40, 44, 52);
inline const QColor kFace(110, 150, 210);
inline const QColor kEdge(18, 28, 48);
inline const QColor kText(220, 220, 220);

// Radians per pixel of mouse drag, and the zoom per wheel notch (120 units).
constexpr double kTurnPerPixel = 0.01;
constexpr double kZoomPerNotch = 0.85;

// What a drag does: the left button turns the view; the middle button, or
// Shift with the left, moves it.
enum class Drag { None, Orbit, Pan };

inline Drag DragOf(const QMouseEvent& event) {
  if (event.button() == Qt::MiddleButton) return Drag::Pan;
  if (event.button() != Qt::LeftButton) return Drag::None;
  return event.modifiers() & Qt::ShiftModifier ? Drag::Pan : Drag::Orbit;
}

inline const QString kMouseHelp = QStringLiteral(
    "Drag to turn; drag with the middle button (or Shift and the left) to move; wheel to zoom at the pointer; "
    "double-click to fit");

// `base` darkened (or lit) by the face's brightness.
inline QColor Shaded(const QColor& base, double brightness) {
  return QColor::fromRgbF(static_cast<float>(base.redF() * brightness), static_cast<float>(base.greenF() * brightness),
                          static_cast<float>(base.blueF() * brightness));
}

}  // namespace tarnlow::ui::preview_style
