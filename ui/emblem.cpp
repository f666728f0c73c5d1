#include "ui/emblem.h"

#include <QPainter>
#include <QPainterPath>

namespace tarnlow::ui {

namespace {

// Draws the emblem into a square of side `size`.
void PaintEmblem(QPainter& painter, double size) {
  painter.setRenderHint(QPainter::Antialiasing);
  const double u = size / 32.0;
  // The tablet.
  painter.setPen(QPen(QColor(64, 32, 0), u));
  painter.setBrush(QColor(196, 160, 96));
  painter.drawRoundedRect(QRectF(1.5 * u, 1.5 * u, 29 * u, 29 * u), 4 * u, 4 * u);
  // A cube seen from above a corner: top, left and right faces.
  const QPointF top(16 * u, 6 * u), left(7 * u, 11 * u), right(25 * u, 11 * u), centre(16 * u, 16 * u);
  const QPointF bottom(16 * u, 27 * u), leftLow(7 * u, 22 * u), rightLow(25 * u, 22 * u);
  painter.setPen(QPen(QColor(40, 20, 0), u * 0.8));
  painter.setBrush(QColor(128, 0, 0));
  painter.drawPolygon(QPolygonF({top, right, centre, left}));
  painter.setBrush(QColor(255, 192, 128));
  painter.drawPolygon(QPolygonF({left, centre, bottom, leftLow}));
  painter.setBrush(QColor(200, 96, 32));
  painter.drawPolygon(QPolygonF({centre, right, rightLow, bottom}));
}

QPixmap Painted(int width, int height) {
  QPixmap pixmap(width, height);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  const double side = std::min(width, height);
  painter.translate((width - side) / 2.0, (height - side) / 2.0);
  PaintEmblem(painter, side);
  return pixmap;
}

}  // namespace

QPixmap Emblem() { return Painted(67, 68); }

QIcon WindowIcon() { return QIcon(Painted(32, 32)); }

}  // namespace tarnlow::ui
