#include "ui/textured_faces.h"

#include <QBrush>
#include <QPainter>
#include <QTransform>
#include <algorithm>
#include <cmath>

#include "ui/object_scene.h"
#include "ui/texture_page_widget.h"
#include "wad/texture_pages.h"

namespace tarnlow::ui {

namespace {

// A few steps of light are enough to read the shape, and each darkened page
// is made once.
constexpr int kLightSteps = 12;

}  // namespace

void ShadedPages::clear() {
  pages_.clear();
  shaded_.clear();
}

void ShadedPages::load(const RecordArray<TextureRow>& rows, std::size_t page) {
  if (pages_.contains(page) || page >= TexturePageCount(rows)) return;
  pages_[page] = TexturePageImage(TexturePageAt(rows, page)).convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

const QImage* ShadedPages::at(std::size_t page, double brightness) {
  const auto found = pages_.find(page);
  if (found == pages_.end()) return nullptr;
  const int step = std::clamp(static_cast<int>(std::lround(brightness * kLightSteps)), 0, kLightSteps);
  QImage& shaded = shaded_[{page, step}];
  if (shaded.isNull()) {
    shaded = found->second;
    const double light = static_cast<double>(step) / kLightSteps;
    for (int y = 0; y < shaded.height(); ++y) {
      auto* line = reinterpret_cast<QRgb*>(shaded.scanLine(y));
      for (int x = 0; x < shaded.width(); ++x) {
        const QRgb p = line[x];
        line[x] = qRgba(static_cast<int>(qRed(p) * light), static_cast<int>(qGreen(p) * light),
                        static_cast<int>(qBlue(p) * light), qAlpha(p));
      }
    }
  }
  return &shaded;
}

void PaintTexturedFace(QPainter& painter, const ScreenPoint* corners, int count, const FaceTexture& texture,
                       const QImage& page) {
  static constexpr int kTriangles[2][3] = {{0, 1, 2}, {0, 2, 3}};
  if (texture.corners.size() < static_cast<std::size_t>(count)) return;
  for (int t = 0; t + 2 < count; ++t) {
    const int* c = kTriangles[t];
    const std::optional<std::array<double, 6>> m =
        TextureToScreen({texture.corners[c[0]], texture.corners[c[1]], texture.corners[c[2]]},
                        {corners[c[0]], corners[c[1]], corners[c[2]]});
    if (!m) continue;
    QBrush brush(page);
    brush.setTransform(QTransform((*m)[0], (*m)[1], (*m)[2], (*m)[3], (*m)[4], (*m)[5]));
    painter.setBrush(brush);
    const QPointF triangle[3] = {{corners[c[0]].x, corners[c[0]].y},
                                 {corners[c[1]].x, corners[c[1]].y},
                                 {corners[c[2]].x, corners[c[2]].y}};
    painter.drawPolygon(triangle, 3);
  }
}

}  // namespace tarnlow::ui
