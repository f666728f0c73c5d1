#include <gtest/gtest.h>
#include <png.h>

#include <filesystem>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "mesh/mesh_encoder.h"
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

// An SWD of no entries, `rows` texture rows of one grey, no records.
Bytes SwdBytes(std::int32_t rows) {
  Bytes out;
  ByteWriter w(out);
  w.i32(0);
  w.i32(0);
  w.i32(rows * 768);
  for (std::int32_t i = 0; i < rows * 768; ++i) w.u8(0x80);
  w.i32(0);
  return out;
}

std::vector<std::string> FilesIn(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
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

TEST(CliTextures, WritesOnePngPerPageOf256RowsWithAShortLastPage) {
  const struct {
    std::int32_t rows;
    std::vector<std::uint32_t> heights;
  } cases[] = {{1, {1}}, {256, {256}}, {600, {256, 256, 88}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.rows);
    const LevelFiles files(WadBuilder().textureRows(c.rows).build());
    const CliRun run = files.run({"textures", files.wad, "-o", (files.dir / "pages").string()});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    std::vector<std::string> expected;
    std::string listed;
    for (std::size_t p = 0; p < c.heights.size(); ++p) {
      char name[32];
      std::snprintf(name, sizeof name, "page_%03zu.png", p);
      expected.push_back(name);
      listed += (files.dir / "pages" / name).string() + "\n";
      const Png png = ReadPng(files.dir / "pages" / name);
      EXPECT_EQ(std::pair(png.width, png.height), std::pair(256u, c.heights[p])) << name;
    }
    EXPECT_EQ(FilesIn(files.dir / "pages"), expected);
    EXPECT_EQ(run.out, listed);
  }
}

TEST(CliTextures, MagentaBecomesTransparentAndOtherPixelsKeepTheirColour) {
  WadDocument doc = WadBuilder().textureRows(300).build();
  Bytes bytes = doc.TextData.storedBytes();
  const std::size_t key = (257 * 256 + 5) * 3;  // pixel (5, 257): page 1, row 1
  bytes[key] = 255;
  bytes[key + 1] = 0;
  bytes[key + 2] = 255;
  doc.TextData = RecordArray<TextureRow>(300, bytes);
  const LevelFiles files(doc);
  ASSERT_EQ(files.run({"textures", files.wad, "-o", files.dir.path().string()}).status, 0);

  const Png png = ReadPng(files.dir / "page_001.png");
  ASSERT_EQ(png.rgba.size(), 256u * 44 * 4);
  const auto at = [](int x, int y) { return static_cast<std::size_t>((y * 256 + x) * 4); };
  EXPECT_EQ(png.rgba[at(5, 1) + 3], 0) << "the colour key is transparent";
  for (const auto& [x, y] : {std::pair{4, 1}, std::pair{6, 1}, std::pair{0, 0}, std::pair{255, 43}}) {
    SCOPED_TRACE(testing::Message() << x << "," << y);
    const TexturePixel source = doc.Pixel(x, 256 + static_cast<std::size_t>(y));
    const std::vector<std::uint8_t> expected = {source.Bytes[0], source.Bytes[1], source.Bytes[2], 255};
    EXPECT_EQ(std::vector<std::uint8_t>(png.rgba.begin() + at(x, y), png.rgba.begin() + at(x, y) + 4), expected);
  }
}

TEST(CliTextures, SwdOptionWritesThePagesOfTheSwdBesideTheWad) {
  Bytes cutShort = SwdBytes(300);
  cutShort.resize(12 + 10 * 768);  // ten rows, then the file ends
  const struct {
    const char* name;
    Bytes swd;
    int status;
    std::string errPart;
    std::vector<std::uint32_t> heights;
  } cases[] = {
      {"whole", SwdBytes(64), 0, "", {64}},
      {"missing", {}, 2, "level.swd does not exist", {}},
      {"cut short: the missing rows are black", cutShort, 0, "claims 300 rows but its file holds 10", {256, 44}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const LevelFiles files(WadBuilder().textureRows(600).build(), c.swd);
    const CliRun run = files.run({"textures", "--swd", files.wad, "-o", (files.dir / "sprites").string()});
    EXPECT_EQ(run.status, c.status);
    EXPECT_NE(run.err.find(c.errPart), std::string::npos) << run.err;
    EXPECT_EQ(fs::exists(files.dir / "sprites") ? FilesIn(files.dir / "sprites").size() : 0, c.heights.size());
    for (std::size_t p = 0; p < c.heights.size(); ++p) {
      const Png png = ReadPng(files.dir / "sprites" / ("page_00" + std::to_string(p) + ".png"));
      EXPECT_EQ(std::pair(png.width, png.height), std::pair(256u, c.heights[p])) << p;
    }
  }
}

TEST(CliTextures, UnwritableFolderExitsWith1) {
  const LevelFiles files(WadBuilder().build());
  WriteFileBytes(files.dir / "plain-file", Bytes{1});
  const CliRun run = files.run({"textures", files.wad, "-o", (files.dir / "plain-file").string()});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err.rfind("textures: cannot create the folder ", 0), 0u) << run.err;
}

// Mesh data: SimpleMesh(4) at offset 0, then `second`, then a mesh whose
// vertex count word is 0x8000 (overflow). Object 0 has the meshes at
// pointers 1, 2 (a dummy) and 3; object 1 has the bad mesh.
MeshRecord Second() {
  return {.NumVertices = 4,
          .Vertices = {{-100, 0, -100}, {100, 0, -100}, {100, -50, 100}, {-100, 7, 100}},
          .NumNormals = -4,
          .Shades = {1, 2, 3, 4},
          .NumFaces = 2,
          .Faces = {MeshFace{MeshFace::kQuad, {0, 1, 2, 3}, 1, 0}, MeshFace{MeshFace::kTriangle, {3, 2, 1}, 2, 0}}};
}

WadDocument MeshWad() {
  const WadDocument laidOut = WadBuilder().meshes({SimpleMesh(4), Second()}).build();
  Bytes data = laidOut.MeshData;
  const auto bad = static_cast<std::int32_t>(data.size());
  Bytes broken = EncodeMesh(SimpleMesh(3));
  broken[10] = 0x00;  // vertex count word 0x8000
  broken[11] = 0x80;
  data.insert(data.end(), broken.begin(), broken.end());
  return WadBuilder()
      .meshData(data)
      .meshPointers({0, laidOut.MeshPointers[1], 0, bad})
      .moveables({Moveable(0, 3, 1), Moveable(90, 1, 3)})
      .build();
}

// The vertices and faces (0-based) of an OBJ file equal the mesh's.
void ExpectObjHolds(const fs::path& path, const MeshRecord& mesh) {
  const Bytes bytes = ReadFileBytes(path);
  std::istringstream lines(std::string(bytes.begin(), bytes.end()));
  std::vector<MeshVector> vertices;
  std::vector<std::vector<std::int16_t>> faces;
  for (std::string line, tag; std::getline(lines, line);) {
    std::istringstream in(line);
    in >> tag;
    if (tag == "v") {
      int x, y, z;
      in >> x >> y >> z;
      vertices.push_back({std::int16_t(x), std::int16_t(y), std::int16_t(z)});
    } else if (tag == "f") {
      faces.emplace_back();
      for (int index; in >> index;) faces.back().push_back(std::int16_t(index - 1));
    }
  }
  EXPECT_EQ(vertices, mesh.Vertices);
  std::vector<std::vector<std::int16_t>> expected;
  for (const MeshFace& f : mesh.Faces) expected.emplace_back(f.Vertices.begin(), f.Vertices.end());
  EXPECT_EQ(faces, expected);
}

TEST(CliMesh, WritesTheChosenMeshAsObjOrSaysWhyNot) {
  const struct {
    std::vector<std::string> selection;
    std::optional<MeshRecord> mesh;  // none: exit 1 and no file
    std::string errPart;
  } cases[] = {
      // Object 0 starts at pointer 1: its Mesh 00 is the second mesh.
      {{"--object", "0", "--mesh", "0"}, Second(), ""},
      {{"--pointer", "1"}, Second(), ""},
      {{"--object", "0", "--mesh", "1"}, SimpleMesh(4), "DUMMY (pointer 0); writing the mesh at offset 0"},
      {{"--object", "1", "--mesh", "0"}, std::nullopt, "overflow: vertex count word 0x8000"},
      {{"--object", "2", "--mesh", "0"}, std::nullopt, "there is no object 2; the WAD holds 2 objects"},
      {{"--object", "0", "--mesh", "3"}, std::nullopt, "object 0 has 3 meshes; there is no Mesh 03"},
      {{"--pointer", "4"}, std::nullopt, "out of range: mesh position 4 is outside the 4 mesh pointers"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.selection));
    const LevelFiles files(MeshWad());
    std::vector<std::string> args = {"mesh", files.wad, "-o", (files.dir / "mesh.obj").string()};
    args.insert(args.begin() + 1, c.selection.begin(), c.selection.end());
    const CliRun run = files.run(args);
    EXPECT_EQ(run.status, c.mesh ? 0 : 1);
    EXPECT_EQ(c.errPart.empty() ? run.err.empty() : run.err.find(c.errPart) != std::string::npos, true) << run.err;
    EXPECT_EQ(fs::exists(files.dir / "mesh.obj"), c.mesh.has_value());
    if (c.mesh) ExpectObjHolds(files.dir / "mesh.obj", *c.mesh);
  }
}

}  // namespace
}  // namespace tarnlow::test
