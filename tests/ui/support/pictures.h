#pragma once

// Measures for the preview tests: what a picture covers, and what it should.
#include <QImage>
#include <QRect>

#include <cmath>
#include <cstddef>

namespace tarnlow::test {

// Pixels of `image` within `area` (all of it when null) for which `test` holds.
template <typename Test>
int CountPixels(const QImage& image, Test test, QRect area = {}) {
  if (area.isNull()) area = image.rect();
  int count = 0;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) count += test(image.pixel(x, y)) ? 1 : 0;
  }
  return count;
}

// The area of the polygon of the first `n` of `corners`, in order.
template <typename Corners>
double PolygonArea(const Corners& corners, std::size_t n) {
  double twice = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const auto& a = corners[i];
    const auto& b = corners[(i + 1) % n];
    twice += a.x * b.y - b.x * a.y;
  }
  return std::abs(twice) / 2;
}

}  // namespace tarnlow::test
