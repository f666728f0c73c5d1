#include "mesh/face_textures.h"

#include <gtest/gtest.h>

#include "mesh/texture_atlas.h"
#include "tests/support/wad_builder.h"
#include "wad/texture_pages.h"

namespace tarnlow {
namespace {

TextInfoRecord Info(std::array<std::uint8_t, 8> bytes) { return TextInfoRecord{bytes}; }

MeshFace Quad(std::int16_t texture) { return {MeshFace::kQuad, {0, 1, 2, 3}, texture, 0}; }

// The colour at (x, y) of an RGB image `width` pixels wide.
std::array<std::uint8_t, 3> Rgb(const std::vector<std::uint8_t>& rgb, std::size_t width, std::size_t x, std::size_t y) {
  const std::size_t at = (y * width + x) * 3;
  return {rgb[at], rgb[at + 1], rgb[at + 2]};
}

TEST(FaceTextures, RecordBytesDecodeInFileOrder) {
  const TextureInfo info = DecodeTextureInfo(Info({232, 16, 0x03, 0x01, 0xFF, 23, 0xFF, 31}));
  EXPECT_EQ(info, (TextureInfo{.X = 232, .Y = 16, .Page = 0x0103, .FlipX = -1, .Width = 23, .FlipY = -1, .Height = 31}));
}

TEST(FaceTextures, QuadCornersTakeTheRectangleOrItsMirror) {
  // Record 1: a 24 x 32 rectangle at (200, 16) on page 2.
  const auto infos = RecordArray<TextInfoRecord>::fromRecords(
      std::vector<TextInfoRecord>{Info({}), Info({200, 16, 2, 0, 0, 23, 0, 31})});
  const std::vector<TexturePoint> plain = {{200, 16}, {224, 16}, {224, 48}, {200, 48}};
  const std::vector<TexturePoint> mirrored = {{224, 16}, {200, 16}, {200, 48}, {224, 48}};
  const struct { const char* what; MeshFace face; std::size_t pages; std::optional<FaceTexture> expected; } cases[] = {
      {"record 1", Quad(1), 3, FaceTexture{2, plain}},
      {"record -1 is record 1 mirrored", Quad(-1), 3, FaceTexture{2, mirrored}},
      {"record outside the section", Quad(2), 3, std::nullopt},
      {"the lowest word names no record", Quad(-32768), 3, std::nullopt},
      {"page outside the texture pages", Quad(1), 2, std::nullopt},
      {"a triangle stays flat", MeshFace{MeshFace::kTriangle, {0, 1, 2}, 1, 0}, 3, std::nullopt},
      {"an unknown face", MeshFace{7, {}, 1, 0}, 3, std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(FaceTextureOf(c.face, infos, c.pages), c.expected);
  }
}

TEST(FaceTextures, AtlasPlacesEachPageInItsSlotAndKeysTheRest) {
  // Five pages, the last one short: three of them on a 2 x 2 grid.
  const WadDocument doc = test::WadBuilder().textureRows(4 * 256 + 10).build();
  const TextureAtlas atlas = MakeTextureAtlas(doc.TextData, {1, 4, 3, 9});
  ASSERT_EQ(atlas.pages, (std::vector<std::size_t>{1, 4, 3}));
  ASSERT_EQ(std::pair(atlas.width, atlas.height), std::pair(512, 512));
  const auto pixel = [&](std::size_t x, std::size_t y) { return Rgb(atlas.rgb, 512, x, y); };
  const auto pagePixel = [&](std::size_t p, std::size_t x, std::size_t y) {
    return Rgb(TexturePageAt(doc.TextData, p).rgb, 256, x, y);
  };
  const std::array<std::uint8_t, 3> key = {255, 0, 255};
  EXPECT_EQ(pixel(5, 7), pagePixel(1, 5, 7));
  EXPECT_EQ(pixel(256 + 3, 9), pagePixel(4, 3, 9));
  EXPECT_EQ(pixel(256 + 3, 10), key) << "below the short page's last row";
  EXPECT_EQ(pixel(255, 256 + 255), pagePixel(3, 255, 255));
  EXPECT_EQ(pixel(256, 256), key) << "the empty slot";

  const std::optional<AtlasUv> uv = AtlasCoordinates(atlas, 3, {64, 128});
  ASSERT_TRUE(uv);
  EXPECT_DOUBLE_EQ(uv->u, 64.0 / 512);
  EXPECT_DOUBLE_EQ(uv->v, (256 + 128) / 512.0);
  EXPECT_FALSE(AtlasCoordinates(atlas, 9, {0, 0}));
  EXPECT_EQ(MakeTextureAtlas(doc.TextData, {}).rgb.size(), 0u);
}

}  // namespace
}  // namespace tarnlow
