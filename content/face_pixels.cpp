#include "content/face_pixels.h"

#include <algorithm>
#include <cmath>

#include "wad/texture_pages.h"

namespace tarnlow {

std::uint64_t HashBytes(std::span<const std::uint8_t> bytes, std::uint64_t hash) {
  for (const std::uint8_t b : bytes) hash = (hash ^ b) * 1099511628211ull;
  return hash;
}

bool operator==(const FacePixels& a, const FacePixels& b) {
  return a.hash == b.hash && a.width == b.width && a.height == b.height && a.rgb == b.rgb;
}

namespace {

int sign(double d) { return d > 0 ? 1 : d < 0 ? -1 : 0; }

}  // namespace

FacePixels FacePixelsOf(const RecordArray<TextureRow>& rows, const FaceTexture& texture) {
  FacePixels out;
  if (texture.corners.size() < 3) return out;
  // The corners are pixel edges of the rectangle; a face's first corner
  // always has its second and last corners as neighbours on the rectangle,
  // so each edge runs along one axis.
  const auto [left, top, right, bottom] = CornerBoundsOf(texture);
  const TexturePoint& c0 = texture.corners.front();
  const TexturePoint& c1 = texture.corners[1];
  const TexturePoint& cl = texture.corners.back();
  const int ux = sign(c1.x - c0.x), uy = sign(c1.y - c0.y);
  const int vx = sign(cl.x - c0.x), vy = sign(cl.y - c0.y);
  if (std::abs(ux) + std::abs(uy) != 1 || std::abs(vx) + std::abs(vy) != 1 || ux * vx + uy * vy != 0) return out;
  const int x0 = static_cast<int>(c0.x == left ? left : right - 1);
  const int y0 = static_cast<int>(c0.y == top ? top : bottom - 1);
  const int across = static_cast<int>(right - left), down = static_cast<int>(bottom - top);
  out.width = ux != 0 ? across : down;
  out.height = vx != 0 ? across : down;
  out.rgb.resize(static_cast<std::size_t>(out.width) * static_cast<std::size_t>(out.height) * 3);

  const auto& stored = rows.storedBytes();
  const std::size_t firstRow = texture.page * static_cast<std::size_t>(TexturePage::kMaxHeight);
  std::uint8_t* to = out.rgb.data();
  for (int j = 0; j < out.height; ++j) {
    for (int i = 0; i < out.width; ++i, to += 3) {
      const int x = x0 + i * ux + j * vx, y = y0 + i * uy + j * vy;
      const std::size_t row = firstRow + static_cast<std::size_t>(y);
      const std::size_t at = row * TextureRow::kFileSize + static_cast<std::size_t>(x) * 3;
      if (row < rows.size() && at + 3 <= stored.size()) std::copy_n(stored.begin() + static_cast<std::ptrdiff_t>(at), 3, to);
    }
  }
  const std::array<std::uint8_t, 8> size = {static_cast<std::uint8_t>(out.width), static_cast<std::uint8_t>(out.width >> 8),
                                            static_cast<std::uint8_t>(out.height), static_cast<std::uint8_t>(out.height >> 8)};
  out.hash = HashBytes(out.rgb, HashBytes(size));
  return out;
}

}  // namespace tarnlow
