#include "mesh/face_textures.h"

#include <algorithm>
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

std::optional<FaceTexture> FaceTextureOf(const MeshFace& face, const RecordArray<TextInfoRecord>& infos,
                                         std::size_t pageCount) {
  if (face.FaceType != MeshFace::kQuad || face.Vertices.size() != 4) return std::nullopt;
  const bool mirrored = face.Texture < 0;
  const auto index = static_cast<std::size_t>(std::abs(static_cast<int>(face.Texture)));
  if (index >= infos.size()) return std::nullopt;
  const TextureInfo info = DecodeTextureInfo(infos[index]);
  if (info.Page >= pageCount) return std::nullopt;
  // Pixel edges, not centres: the rectangle covers its last column and row.
  const double left = info.X, top = info.Y;
  const double right = left + info.Width + 1.0, bottom = top + info.Height + 1.0;
  FaceTexture texture{.page = info.Page};
  if (mirrored) {
    texture.corners = {{right, top}, {left, top}, {left, bottom}, {right, bottom}};
  } else {
    texture.corners = {{left, top}, {right, top}, {right, bottom}, {left, bottom}};
  }
  return texture;
}

std::vector<std::size_t> PagesUsed(const std::vector<const MeshRecord*>& meshes, const RecordArray<TextInfoRecord>& infos,
                                   std::size_t pageCount) {
  std::vector<std::size_t> pages;
  for (const MeshRecord* mesh : meshes) {
    for (const MeshFace& face : mesh->Faces) {
      if (const std::optional<FaceTexture> texture = FaceTextureOf(face, infos, pageCount)) pages.push_back(texture->page);
    }
  }
  std::sort(pages.begin(), pages.end());
  pages.erase(std::unique(pages.begin(), pages.end()), pages.end());
  return pages;
}

}  // namespace tarnlow
