// What leaves the program as files other tools read: OBJ text, the texture
// atlas and glTF scenes.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "export/gltf_export.h"
#include "export/obj_export.h"
#include "export/texture_atlas.h"
#include "tests/support/temp_dir.h"
#include "tests/support/wad_builder.h"
#include "wad/texture_pages.h"

namespace tarnlow {
namespace {

using test::WadBuilder;

// Four vertices with a normal each, so faces name their normals; between two
// good faces, three that cannot be written, each named in a comment.
TEST(ObjExport, WritesVerticesNormalsAndFacesAndSaysWhichFacesItLeftOut) {
  MeshRecord m;
  m.Vertices = {{-100, 0, -100}, {100, 0, -100}, {100, -32768, 100}, {-100, 32767, 100}};
  m.Normals = {{0, -16384, 0}, {0, -16384, 1}, {0, -16384, 2}, {0, -16384, 3}};
  m.Faces = {MeshFace{MeshFace::kQuad, {0, 1, 2, 3}, 4, 0}, MeshFace{7, {}, 0, 0},
             MeshFace{MeshFace::kTriangle, {0, 1, 4}, 0, 0}, MeshFace{MeshFace::kQuad, {-1, 0, 1, 2}, 0, 0},
             MeshFace{MeshFace::kTriangle, {3, 2, 0}, 1, 0}};
  EXPECT_EQ(MeshToObj(m, "LARA, mesh 03, pointer 40"),
            test::ReadFileText(std::string(TARNLOW_EXPORT_GOLDEN_DIR) + "/three_faces_left_out.obj"));
}

// The colour at (x, y) of an RGB image `width` pixels wide.
std::array<std::uint8_t, 3> Rgb(const std::vector<std::uint8_t>& rgb, int width, int x, int y) {
  const std::size_t at = (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)) * 3;
  return {rgb[at], rgb[at + 1], rgb[at + 2]};
}

constexpr std::array<std::uint8_t, 3> kKey = {255, 0, 255};

TEST(TextureAtlas, HoldsEachRectangleOnceFramedByItsEdgePixels) {
  const WadDocument doc = WadBuilder().textureRows(2 * 256).build();
  const TexturePage page = TexturePageAt(doc.TextData, 1);
  // b runs two columns past the page's right edge; page 5 does not exist.
  const TextureRect a{1, 10, 20, 8, 4}, b{1, 250, 0, 8, 2}, missing{5, 0, 0, 4, 4};
  const TextureAtlas atlas = MakeTextureAtlas(doc.TextData, {b, a, a, missing});
  ASSERT_EQ(atlas.rects, (std::vector<TextureRect>{a, b}));
  const auto pixel = [&](std::pair<int, int> place, int dx, int dy) {
    return Rgb(atlas.rgb, atlas.width, place.first + dx, place.second + dy);
  };
  const auto [pa, pb] = std::pair(atlas.places[0], atlas.places[1]);
  for (int y = -1; y <= a.height; ++y) {
    for (int x = -1; x <= a.width; ++x) {
      SCOPED_TRACE(std::to_string(x) + ", " + std::to_string(y));
      const int px = a.x + std::clamp(x, 0, a.width - 1), py = a.y + std::clamp(y, 0, a.height - 1);
      EXPECT_EQ(pixel(pa, x, y), Rgb(page.rgb, 256, px, py)) << "inside, or the frame repeating the edge";
    }
  }
  EXPECT_EQ(pixel(pb, 5, 1), Rgb(page.rgb, 256, 255, 1));
  EXPECT_EQ(pixel(pb, 6, 1), kKey) << "past the page's last column";

  const FaceTexture face{1, {{18, 20}, {10, 20}, {10, 24}}};
  const std::optional<AtlasUv> uv = AtlasCoordinates(atlas, face, 0);
  ASSERT_TRUE(uv);
  EXPECT_DOUBLE_EQ(uv->u * atlas.width, pa.first + 8);
  EXPECT_DOUBLE_EQ(uv->v * atlas.height, pa.second);
  EXPECT_FALSE(AtlasCoordinates(atlas, FaceTexture{1, {{0, 0}, {4, 0}, {4, 4}}}, 0)) << "a rectangle not packed";
}

TEST(TextureAtlas, RectanglesLargerThanTheirPagesGiveWayToThePages) {
  const WadDocument doc = WadBuilder().textureRows(256).build();
  std::vector<TextureRect> overlapping;
  for (int i = 0; i < 4; ++i) overlapping.push_back({0, i, i, 200, 200});
  const TextureAtlas atlas = MakeTextureAtlas(doc.TextData, overlapping);
  ASSERT_EQ(atlas.rects, (std::vector<TextureRect>{{0, 0, 0, 256, 256}}));
  const FaceTexture face{0, {{3, 3}, {203, 3}, {203, 203}, {3, 203}}};
  const std::optional<AtlasUv> uv = AtlasCoordinates(atlas, face, 2);
  ASSERT_TRUE(uv);
  EXPECT_DOUBLE_EQ(uv->u * atlas.width, atlas.places[0].first + 203);
  EXPECT_EQ(Rgb(atlas.rgb, atlas.width, atlas.places[0].first + 202, atlas.places[0].second + 202),
            Rgb(TexturePageAt(doc.TextData, 0).rgb, 256, 202, 202));
  EXPECT_EQ(MakeTextureAtlas(doc.TextData, {}).rgb.size(), 0u);
}

// The JSON and the binary chunk of a .glb file.
std::pair<nlohmann::json, std::vector<std::uint8_t>> ReadGlb(const std::vector<std::uint8_t>& bytes) {
  const auto u32 = [&](std::size_t at) {
    return std::uint32_t{bytes.at(at)} | std::uint32_t{bytes.at(at + 1)} << 8 | std::uint32_t{bytes.at(at + 2)} << 16 |
           std::uint32_t{bytes.at(at + 3)} << 24;
  };
  const std::size_t jsonLength = u32(12);
  const auto json = nlohmann::json::parse(bytes.begin() + 20, bytes.begin() + 20 + static_cast<std::ptrdiff_t>(jsonLength));
  const std::size_t bin = 20 + jsonLength + 8;
  return {json, std::vector<std::uint8_t>(bytes.begin() + static_cast<std::ptrdiff_t>(bin), bytes.end())};
}

// The floats of accessor `index`.
std::vector<float> Floats(const nlohmann::json& gltf, const std::vector<std::uint8_t>& bin, std::size_t index) {
  const auto& accessor = gltf.at("accessors").at(index);
  const auto& view = gltf.at("bufferViews").at(accessor.at("bufferView").get<std::size_t>());
  std::vector<float> out(view.at("byteLength").get<std::size_t>() / sizeof(float));
  std::memcpy(out.data(), bin.data() + view.at("byteOffset").get<std::size_t>(), out.size() * sizeof(float));
  return out;
}

// A static mesh of one triangle that takes corner 3 of its rectangle on.
WadDocument StaticTriangleWad(std::int16_t meshPosition) {
  MeshRecord triangle = test::SquareMesh(100);
  triangle.Faces = {MeshFace{MeshFace::kTriangle, {0, 1, 2}, static_cast<std::int16_t>(0x6000), 0}};
  StaticMeshRecord stored;
  stored.Bytes[4] = static_cast<std::uint8_t>(meshPosition);
  return WadBuilder()
      .textInfo({TextInfoRecord{{16, 32, 0, 0, 0, 63, 0, 31}}})
      .textureRows(256)
      .meshes({triangle})
      .staticMeshes({stored})
      .build();
}

TEST(GltfExport, StaticMeshIsOneNodeWhoseTriangleTakesItsTextureCorners) {
  const std::variant<GltfExport, Finding> exported =
      ExportStaticGltf(StaticTriangleWad(0), 0, GltfContainer::Binary, "static mesh 0");
  ASSERT_TRUE(std::holds_alternative<GltfExport>(exported));
  const auto [gltf, bin] = ReadGlb(std::get<GltfExport>(exported).bytes);
  EXPECT_EQ(gltf.at("nodes").size(), 2u);
  EXPECT_FALSE(gltf.contains("animations"));
  const auto& attributes = gltf.at("meshes").at(0).at("primitives").at(0).at("attributes");
  const std::vector<float> uvs = Floats(gltf, bin, attributes.at("TEXCOORD_0").get<std::size_t>());
  // One rectangle, (16, 32) to (80, 64), framed by one pixel: corner 3 is
  // its bottom-left, then the top-left and the bottom-right.
  const std::vector<std::pair<int, int>> expected = {{1, 33}, {1, 1}, {65, 33}};
  ASSERT_EQ(uvs.size(), 6u);
  for (std::size_t c = 0; c < 3; ++c) {
    SCOPED_TRACE(c);
    // The atlas is 128 across (the next power of two above 66) and 34 down.
    EXPECT_FLOAT_EQ(uvs[2 * c] * 128, static_cast<float>(expected[c].first));
    EXPECT_FLOAT_EQ(uvs[2 * c + 1] * 34, static_cast<float>(expected[c].second));
  }
  const auto outside = ExportStaticGltf(StaticTriangleWad(7), 0, GltfContainer::Json, "static mesh 0");
  EXPECT_EQ(std::get<Finding>(outside).section, "StaticMeshes") << "its mesh position names no mesh";
}

}  // namespace
}  // namespace tarnlow
