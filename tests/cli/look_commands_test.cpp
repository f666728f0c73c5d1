#include <gtest/gtest.h>
#include <png.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/cli/cli_process.h"
#include "tests/support/temp_dir.h"
#include "tests/support/wad_builder.h"
#include "wad/byte_writer.h"

namespace tarnlow::test {
namespace {

namespace fs = std::filesystem;

// A PNG file as libpng decodes it: its size and its pixels as RGBA.
struct Png {
  std::uint32_t width = 0, height = 0;
  std::vector<std::uint8_t> rgba;
};

Png ReadPng(const fs::path& path) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  Png png;
  if (!png_image_begin_read_from_file(&image, path.string().c_str())) {
    ADD_FAILURE() << "libpng cannot read " << path << ": " << image.message;
    return png;
  }
  image.format = PNG_FORMAT_RGBA;
  png.rgba.resize(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, png.rgba.data(), 0, nullptr)) ADD_FAILURE() << image.message;
  png.width = image.width;
  png.height = image.height;
  return png;
}

// The heights of the pages in `folder`, which holds page_000.png onwards and
// nothing else, each 256 pixels wide.
std::vector<std::uint32_t> PageHeights(const fs::path& folder) {
  std::vector<std::uint32_t> heights;
  if (!fs::exists(folder)) return heights;
  const auto files = std::distance(fs::directory_iterator(folder), fs::directory_iterator());
  for (int p = 0; p < files; ++p) {
    const Png png = ReadPng(folder / ("page_00" + std::to_string(p) + ".png"));
    EXPECT_EQ(png.width, 256u);
    heights.push_back(png.height);
  }
  return heights;
}

// level.wad (and LEVEL.SWD when given) in a folder of their own.
struct LevelFiles {
  explicit LevelFiles(const WadDocument& doc, const Bytes& swd = {}) {
    WriteFileBytes(wad, WadFileBytes(doc));
    // Named as Windows level tools name it: found all the same.
    if (!swd.empty()) WriteFileBytes(dir / "LEVEL.SWD", swd);
  }
  CliRun run(std::vector<std::string> args) const { return RunCliProcess(args, dir.path()); }
  TempDir dir;
  std::string wad = (dir / "level.wad").string();
};

// Pages of 256 rows, the last one short; exact magenta is transparent.
TEST(CliTextures, WritesOnePngPerPageWithMagentaTransparent) {
  WadDocument doc = WadBuilder().textureRows(600).build();
  Bytes bytes = doc.TextData.storedBytes();
  const std::size_t key = (257 * 256 + 5) * 3;  // pixel (5, 257): page 1, row 1
  bytes[key] = 255;
  bytes[key + 1] = 0;
  bytes[key + 2] = 255;
  doc.TextData = RecordArray<TextureRow>(600, bytes);
  const LevelFiles files(doc);
  const CliRun run = files.run({"textures", files.wad, "-o", (files.dir / "pages").string()});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(PageHeights(files.dir / "pages"), (std::vector<std::uint32_t>{256, 256, 88}));
  EXPECT_TRUE(run.out.ends_with((files.dir / "pages" / "page_002.png").string() + "\n")) << run.out;
  const Png png = ReadPng(files.dir / "pages" / "page_001.png");
  EXPECT_EQ(png.rgba[(256 + 5) * 4 + 3], 0) << "the colour key is transparent";
  for (const auto& [x, y] : {std::pair{4, 1}, std::pair{6, 1}, std::pair{255, 255}}) {
    const TexturePixel source = doc.Pixel(x, 256 + static_cast<std::size_t>(y));
    const auto at = png.rgba.begin() + (y * 256 + x) * 4;
    EXPECT_EQ(std::vector(at, at + 4), std::vector<std::uint8_t>({source.Bytes[0], source.Bytes[1], source.Bytes[2], 255})) << x;
  }
}

// An SWD of no entries, `rows` texture rows of one grey, no records.
Bytes SwdBytes(std::int32_t rows) {
  Bytes out(8, 0);
  ByteWriter(out).i32(rows * 768);
  out.resize(out.size() + std::size_t(rows) * 768, 0x80);
  ByteWriter(out).i32(0);
  return out;
}

TEST(CliTextures, SwdOptionWritesThePagesOfTheSwdBesideTheWad) {
  Bytes cutShort = SwdBytes(300);
  cutShort.resize(12 + 10 * 768);  // ten rows, then the file ends: the rest is black
  const struct {
    Bytes swd;
    int status;
    std::vector<std::uint32_t> heights;
  } cases[] = {{SwdBytes(64), 0, {64}}, {{}, 2, {}}, {cutShort, 0, {256, 44}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.swd.size());
    const LevelFiles files(WadBuilder().textureRows(600).build(), c.swd);
    const CliRun run = files.run({"textures", "--swd", files.wad, "-o", (files.dir / "sprites").string()});
    EXPECT_EQ(run.status, c.status) << run.err;
    EXPECT_EQ(PageHeights(files.dir / "sprites"), c.heights);
    if (c.heights.size() == 2) {
      const Png first = ReadPng(files.dir / "sprites" / "page_000.png");
      EXPECT_EQ(std::tuple(first.rgba[(9 * 256 + 255) * 4], first.rgba[10 * 256 * 4], first.rgba[10 * 256 * 4 + 3]),
                std::tuple(0x80, 0, 255));
    }
  }
}

// Mesh data: SimpleMesh(4) at offset 0, then `Second`, then a mesh whose
// vertex count word is 0x8000. Object 0 has the meshes at pointers 1, 2 (a
// dummy) and 3; object 1 has the bad mesh.
WadDocument MeshWad() {
  MeshRecord second = SimpleMesh(4);
  second.Vertices = {{-100, 0, -100}, {100, 0, -100}, {100, -50, 100}, {-100, 7, 100}};
  second.Faces = {MeshFace{MeshFace::kTriangle, {3, 2, 1}, 2, 0}};
  MeshRecord broken = SimpleMesh();
  broken.NumVertices = -32768;
  const WadDocument laidOut = WadBuilder().meshes({SimpleMesh(4), second, broken}).build();
  const std::int32_t p = laidOut.MeshPointers[1], bad = laidOut.MeshPointers[2];
  return WadBuilder().meshData(laidOut.MeshData).meshPointers({0, p, 0, bad}).moveables({Moveable(0, 3, 1), Moveable(90, 1, 3)}).build();
}

// The OBJ file holds the chosen mesh (told apart by a vertex and a face), or
// exit status 1 says why there is none.
TEST(CliMesh, WritesTheChosenMeshAsObjOrSaysWhyNot) {
  const struct {
    std::vector<std::string> selection;
    std::string objPart;  // empty: exit 1 and no file
  } cases[] = {
      // Object 0 starts at pointer 1: its Mesh 00 is the second mesh.
      {{"--object", "0", "--mesh", "0"}, "\nv 100 -50 100\nv -100 7 100\n"}, {{"--pointer", "1"}, "\nf 4 3 2\n"},
      {{"--object", "0", "--mesh", "1"}, "\nv 30 0 0\n"},  // a dummy: the mesh at offset 0
      {{"--object", "1", "--mesh", "0"}, ""}, {{"--object", "2", "--mesh", "0"}, ""},
      {{"--object", "0", "--mesh", "3"}, ""}, {{"--pointer", "4"}, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.selection));
    const LevelFiles files(MeshWad());
    std::vector<std::string> args = {"mesh", files.wad, "-o", (files.dir / "mesh.obj").string()};
    args.insert(args.begin() + 1, c.selection.begin(), c.selection.end());
    const CliRun run = files.run(args);
    EXPECT_EQ(run.status, c.objPart.empty() ? 1 : 0);
    ASSERT_EQ(fs::exists(files.dir / "mesh.obj"), !c.objPart.empty());
    const Bytes obj = ReadFileBytes(files.dir / "mesh.obj");
    EXPECT_NE(std::string(obj.begin(), obj.end()).find(c.objPart), std::string::npos);
  }
}

}  // namespace
}  // namespace tarnlow::test
