#include "mesh/face_textures.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace tarnlow {

TextureInfo DecodeTextureInfo(const TextInfoRecord& record) {
  const auto& b = record.Bytes;
  return {.X = b[0],
          .Y = b[1],
          .Page = static_cast<std::uint16_t>(b[2] | (b[3] << 8)),
          .FlipX = static_cast<std::int8_t>(b[4]),
          .Width = b[5],
          .FlipY = static_cast<std::int8_t>(b[6]),
          .Height = b[7]};
}

CornerBounds CornerBoundsOf(const FaceTexture& texture) {
  if (texture.corners.empty()) return {};
  CornerBounds b{texture.corners[0].x, texture.corners[0].y, texture.corners[0].x, texture.corners[0].y};
  for (const TexturePoint& c : texture.corners) {
    b.left = std::min(b.left, c.x);
    b.right = std::max(b.right, c.x);
    b.top = std::min(b.top, c.y);
    b.bottom = std::max(b.bottom, c.y);
  }
  return b;
}

std::optional<std::size_t> TextureInfoIndex(std::int16_t faceType, std::int16_t texture) {
  if (faceType == MeshFace::kQuad) return static_cast<std::size_t>(std::abs(static_cast<int>(texture)));
  if (faceType == MeshFace::kTriangle) return static_cast<std::size_t>(static_cast<std::uint16_t>(texture) & 0x1FFF);
  return std::nullopt;
}

std::optional<FaceTexture> FaceTextureOf(const MeshFace& face, const RecordArray<TextInfoRecord>& infos,
                                         std::size_t pageCount) {
  const bool quad = face.FaceType == MeshFace::kQuad && face.Vertices.size() == 4;
  const bool triangle = face.FaceType == MeshFace::kTriangle && face.Vertices.size() == 3;
  if (!quad && !triangle) return std::nullopt;
  const auto word = static_cast<std::uint16_t>(face.Texture);
  bool mirrored = false;
  const std::size_t index = *TextureInfoIndex(face.FaceType, face.Texture);
  int first = 0;  // the rectangle corner that face corner 0 takes
  if (quad) {
    mirrored = face.Texture < 0;
  } else {
    mirrored = (word & 0x8000) != 0;
    first = (word >> 13) & 3;
  }
  if (index >= infos.size()) return std::nullopt;
  const TextureInfo info = DecodeTextureInfo(infos[index]);
  if (info.Page >= pageCount) return std::nullopt;
  // Pixel edges, not centres: the rectangle covers its last column and row.
  const double left = info.X, top = info.Y;
  const double right = left + info.Width + 1.0, bottom = top + info.Height + 1.0;
  // Clockwise from the top-left; a mirror swaps left and right.
  std::array<TexturePoint, 4> round = {{{left, top}, {right, top}, {right, bottom}, {left, bottom}}};
  if (mirrored) round = {{{right, top}, {left, top}, {left, bottom}, {right, bottom}}};
  FaceTexture texture{.page = info.Page};
  if (quad) {
    texture.corners.assign(round.begin(), round.end());
  } else {
    texture.corners = {round[static_cast<std::size_t>(first)], round[static_cast<std::size_t>((first + 1) % 4)],
                       round[static_cast<std::size_t>((first + 3) % 4)]};
  }
  return texture;
}

}  // namespace tarnlow
