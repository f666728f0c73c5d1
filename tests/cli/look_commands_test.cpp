#include <gtest/gtest.h>
#include <png.h>

#include <filesystem>
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

// Width and height from a PNG file's IHDR chunk, which follows the 8-byte
// signature, a 4-byte length and the type: two big-endian 32-bit values.
struct PngSize {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  friend bool operator==(const PngSize&, const PngSize&) = default;
};

PngSize ReadPngSize(const fs::path& path) {
  const Bytes bytes = ReadFileBytes(path);
  const std::uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (bytes.size() < 24 || !std::equal(signature, signature + 8, bytes.begin()) ||
      std::string(bytes.begin() + 12, bytes.begin() + 16) != "IHDR") {
    ADD_FAILURE() << path << " is not a PNG file";
    return {};
  }
  const auto be32 = [&](std::size_t at) {
    return (std::uint32_t{bytes[at]} << 24) | (std::uint32_t{bytes[at + 1]} << 16) |
           (std::uint32_t{bytes[at + 2]} << 8) | std::uint32_t{bytes[at + 3]};
  };
  return {be32(16), be32(20)};
}

// The pixels of a PNG file as RGBA, decoded by libpng.
std::vector<std::uint8_t> ReadPngRgba(const fs::path& path, PngSize& size) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  std::vector<std::uint8_t> pixels;
  if (!png_image_begin_read_from_file(&image, path.string().c_str())) {
    ADD_FAILURE() << "libpng cannot read " << path << ": " << image.message;
    return pixels;
  }
  image.format = PNG_FORMAT_RGBA;
  pixels.resize(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) {
    ADD_FAILURE() << "libpng cannot decode " << path << ": " << image.message;
  }
  size = {image.width, image.height};
  return pixels;
}

// A WAD whose texture pixel (x, y) is `rgb`; the other pixels keep the
// builder's pattern.
WadDocument WithPixel(std::int32_t rows, int x, int y, std::array<std::uint8_t, 3> rgb) {
  WadDocument doc = WadBuilder().textureRows(rows).build();
  Bytes bytes = doc.TextData.storedBytes();
  std::copy(rgb.begin(), rgb.end(), bytes.begin() + (y * 256 + x) * 3);
  doc.TextData = RecordArray<TextureRow>(static_cast<std::size_t>(rows), bytes);
  return doc;
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

std::vector<std::string> PngFilesIn(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(CliTextures, WritesOnePngPerPageOf256RowsWithAShortLastPage) {
  const struct {
    std::int32_t rows;
    std::vector<std::uint32_t> heights;
  } cases[] = {{1, {1}}, {256, {256}}, {600, {256, 256, 88}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.rows);
    TempDir dir;
    WriteFileBytes(dir / "level.wad", WadFileBytes(WadBuilder().textureRows(c.rows).build()));
    const CliRun run = RunCliProcess({"textures", (dir / "level.wad").string(), "-o", (dir / "pages").string()}, dir.path());
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    std::vector<std::string> expected;
    std::string listed;
    for (std::size_t p = 0; p < c.heights.size(); ++p) {
      char name[32];
      std::snprintf(name, sizeof name, "page_%03zu.png", p);
      expected.push_back(name);
      listed += (dir / "pages" / name).string() + "\n";
      EXPECT_EQ(ReadPngSize(dir / "pages" / name), (PngSize{256, c.heights[p]})) << name;
    }
    EXPECT_EQ(PngFilesIn(dir / "pages"), expected);
    EXPECT_EQ(run.out, listed);
  }
}

TEST(CliTextures, MagentaBecomesTransparentAndOtherPixelsKeepTheirColour) {
  TempDir dir;
  const WadDocument doc = WithPixel(300, 5, 257, {255, 0, 255});
  WriteFileBytes(dir / "level.wad", WadFileBytes(doc));
  const CliRun run = RunCliProcess({"textures", (dir / "level.wad").string(), "-o", dir.path().string()}, dir.path());
  ASSERT_EQ(run.status, 0) << run.err;

  PngSize size;
  const std::vector<std::uint8_t> rgba = ReadPngRgba(dir / "page_001.png", size);
  ASSERT_EQ(size, (PngSize{256, 44}));
  const auto at = [&](int x, int y) { return static_cast<std::size_t>((y * 256 + x) * 4); };
  EXPECT_EQ(rgba[at(5, 1) + 3], 0) << "the colour key is transparent";
  for (const auto& [x, y] : {std::pair{4, 1}, std::pair{6, 1}, std::pair{0, 0}, std::pair{255, 43}}) {
    SCOPED_TRACE(testing::Message() << x << "," << y);
    const TexturePixel source = doc.Pixel(x, 256 + static_cast<std::size_t>(y));
    EXPECT_EQ(rgba[at(x, y)], source.Bytes[0]);
    EXPECT_EQ(rgba[at(x, y) + 1], source.Bytes[1]);
    EXPECT_EQ(rgba[at(x, y) + 2], source.Bytes[2]);
    EXPECT_EQ(rgba[at(x, y) + 3], 255);
  }
}

TEST(CliTextures, SwdOptionWritesThePagesOfTheSwdBesideTheWad) {
  TempDir dir;
  WriteFileBytes(dir / "level.wad", WadFileBytes(WadBuilder().textureRows(600).build()));
  WriteFileBytes(dir / "level.swd", SwdBytes(64));
  const CliRun run =
      RunCliProcess({"textures", "--swd", (dir / "level.wad").string(), "-o", (dir / "sprites").string()}, dir.path());
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(PngFilesIn(dir / "sprites"), std::vector<std::string>{"page_000.png"});
  EXPECT_EQ(ReadPngSize(dir / "sprites" / "page_000.png"), (PngSize{256, 64}));
}

TEST(CliTextures, MissingSwdIsNamedAndNothingIsWritten) {
  TempDir dir;
  WriteFileBytes(dir / "level.wad", WadFileBytes(WadBuilder().build()));
  const CliRun run =
      RunCliProcess({"textures", "--swd", (dir / "level.wad").string(), "-o", (dir / "sprites").string()}, dir.path());
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find((dir / "level.swd").string() + " does not exist"), std::string::npos) << run.err;
  EXPECT_FALSE(fs::exists(dir / "sprites"));
}

TEST(CliTextures, SwdCutShortSaysTheMissingRowsAreBlack) {
  TempDir dir;
  WriteFileBytes(dir / "level.wad", WadFileBytes(WadBuilder().build()));
  Bytes swd = SwdBytes(300);
  swd.resize(12 + 10 * 768);  // ten rows, then the file ends
  WriteFileBytes(dir / "level.swd", swd);
  const CliRun run = RunCliProcess({"textures", "--swd", (dir / "level.wad").string(), "-o", dir.path().string()}, dir.path());
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.err.find("claims 300 rows but its file holds 10"), std::string::npos) << run.err;
  EXPECT_EQ(ReadPngSize(dir / "page_001.png"), (PngSize{256, 44}));
}

TEST(CliTextures, UnwritableFolderExitsWith1) {
  TempDir dir;
  WriteFileBytes(dir / "level.wad", WadFileBytes(WadBuilder().build()));
  WriteFileBytes(dir / "plain-file", Bytes{1});
  const CliRun run =
      RunCliProcess({"textures", (dir / "level.wad").string(), "-o", (dir / "plain-file").string()}, dir.path());
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err.rfind("textures: cannot create the folder ", 0), 0u) << run.err;
}

// Mesh data: a cube-ish mesh at offset 0, then `second`, then a mesh whose
// vertex count word is 0x8000 (overflow). Object 0 has meshes at pointers
// 0 (dummy), 1 and 2; object 1 has the bad mesh.
struct MeshWad {
  MeshRecord atZero = SimpleMesh(4);
  MeshRecord second;
  WadDocument doc;
};

MeshWad MakeMeshWad() {
  MeshWad w;
  w.second.NumVertices = 4;
  w.second.Vertices = {{-100, 0, -100}, {100, 0, -100}, {100, -50, 100}, {-100, 7, 100}};
  w.second.NumNormals = -4;
  w.second.Shades = {1, 2, 3, 4};
  w.second.NumFaces = 2;
  w.second.Faces = {MeshFace{MeshFace::kQuad, {0, 1, 2, 3}, 1, 0}, MeshFace{MeshFace::kTriangle, {3, 2, 1}, 2, 0}};
  const WadDocument laidOut = WadBuilder().meshes({w.atZero, w.second}).build();
  Bytes data = laidOut.MeshData;
  const auto bad = static_cast<std::int32_t>(data.size());
  Bytes broken = EncodeMesh(SimpleMesh(3));
  broken[10] = 0x00;  // vertex count word 0x8000
  broken[11] = 0x80;
  data.insert(data.end(), broken.begin(), broken.end());
  w.doc = WadBuilder()
              .meshData(data)
              .meshPointers({0, laidOut.MeshPointers[1], 0, bad})
              .moveables({Moveable(0, 3, 1), Moveable(90, 1, 3)})
              .build();
  return w;
}

// The "v" and "f" lines of an OBJ file as numbers (f indices made 0-based).
struct ObjGeometry {
  std::vector<MeshVector> vertices;
  std::vector<std::vector<int>> faces;
};

ObjGeometry ReadObj(const fs::path& path) {
  const Bytes bytes = ReadFileBytes(path);
  std::istringstream lines(std::string(bytes.begin(), bytes.end()));
  ObjGeometry obj;
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream in(line);
    std::string tag;
    in >> tag;
    if (tag == "v") {
      int x, y, z;
      in >> x >> y >> z;
      obj.vertices.push_back({static_cast<std::int16_t>(x), static_cast<std::int16_t>(y), static_cast<std::int16_t>(z)});
    } else if (tag == "f") {
      std::vector<int> face;
      int index;
      while (in >> index) face.push_back(index - 1);
      obj.faces.push_back(face);
    }
  }
  return obj;
}

void ExpectSameGeometry(const ObjGeometry& obj, const MeshRecord& mesh) {
  EXPECT_EQ(obj.vertices, mesh.Vertices);
  ASSERT_EQ(obj.faces.size(), mesh.Faces.size());
  for (std::size_t f = 0; f < obj.faces.size(); ++f) {
    EXPECT_EQ(obj.faces[f], std::vector<int>(mesh.Faces[f].Vertices.begin(), mesh.Faces[f].Vertices.end()))
        << "face " << f;
  }
}

struct MeshFiles {
  TempDir dir;
  std::string wad = (dir / "level.wad").string();
  std::string obj = (dir / "mesh.obj").string();
};

TEST(CliMesh, ObjectAndMeshNumberWriteThatMeshAsObj) {
  MeshFiles files;
  const MeshWad w = MakeMeshWad();
  WriteFileBytes(files.wad, WadFileBytes(w.doc));
  // Object 0 starts at pointer 1: its Mesh 00 is the second mesh.
  const CliRun run = RunCliProcess({"mesh", "--object", "0", "--mesh", "0", files.wad, "-o", files.obj}, files.dir.path());
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  ExpectSameGeometry(ReadObj(files.obj), w.second);
}

TEST(CliMesh, PointerOptionNamesTheMeshPointerDirectly) {
  MeshFiles files;
  const MeshWad w = MakeMeshWad();
  WriteFileBytes(files.wad, WadFileBytes(w.doc));
  const CliRun run = RunCliProcess({"mesh", "--pointer", "1", files.wad, "-o", files.obj}, files.dir.path());
  ASSERT_EQ(run.status, 0) << run.err;
  ExpectSameGeometry(ReadObj(files.obj), w.second);
}

TEST(CliMesh, DummyMeshWritesTheMeshAtOffsetZeroAndSaysSo) {
  MeshFiles files;
  const MeshWad w = MakeMeshWad();
  WriteFileBytes(files.wad, WadFileBytes(w.doc));
  const CliRun run = RunCliProcess({"mesh", "--object", "0", "--mesh", "1", files.wad, "-o", files.obj}, files.dir.path());
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.err.find("DUMMY (pointer 0); writing the mesh at offset 0"), std::string::npos) << run.err;
  ExpectSameGeometry(ReadObj(files.obj), w.atZero);
}

TEST(CliMesh, MeshesThatCannotBeWrittenExitWith1AndWriteNothing) {
  const struct {
    std::vector<std::string> selection;
    std::string reason;
  } cases[] = {
      {{"--object", "1", "--mesh", "0"}, "overflow: vertex count word 0x8000"},
      {{"--object", "2", "--mesh", "0"}, "there is no object 2; the WAD holds 2 objects"},
      {{"--object", "0", "--mesh", "3"}, "object 0 has 3 meshes; there is no Mesh 03"},
      {{"--pointer", "4"}, "out of range: mesh position 4 is outside the 4 mesh pointers"},
  };
  const MeshWad w = MakeMeshWad();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.reason);
    MeshFiles files;
    WriteFileBytes(files.wad, WadFileBytes(w.doc));
    std::vector<std::string> args = {"mesh"};
    args.insert(args.end(), c.selection.begin(), c.selection.end());
    args.insert(args.end(), {files.wad, "-o", files.obj});
    const CliRun run = RunCliProcess(args, files.dir.path());
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find(c.reason), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(files.obj));
  }
}

TEST(CliLook, UnreadableWadExitsWith2AndTheReaderMessage) {
  TempDir dir;
  WadLayout broken = WadLayout::Of(WadBuilder().build());
  broken.counts[5] = 0;  // NumStateChanges
  WriteFileBytes(dir / "level.wad", broken.bytes());
  const std::string wad = (dir / "level.wad").string();
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"textures", wad, "-o", (dir / "pages").string()},
        std::vector<std::string>{"mesh", "--pointer", "0", wad, "-o", (dir / "m.obj").string()}}) {
    SCOPED_TRACE(args[0]);
    const CliRun run = RunCliProcess(args, dir.path());
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err.rfind("ReadWAD -> error code 9\n", 0), 0u) << run.err;
  }
  EXPECT_FALSE(fs::exists(dir / "pages"));
  EXPECT_FALSE(fs::exists(dir / "m.obj"));
}

TEST(CliLook, WrongCommandLinesExitWith64) {
  TempDir dir;
  const std::vector<std::vector<std::string>> cases = {
      {"textures", "level.wad"},
      {"textures", "-o", "out"},
      {"textures", "a.wad", "b.wad", "-o", "out"},
      {"textures", "level.wad", "-o", "out", "--png"},
      {"mesh", "level.wad", "-o", "m.obj"},
      {"mesh", "--object", "1", "level.wad", "-o", "m.obj"},
      {"mesh", "--mesh", "1", "level.wad", "-o", "m.obj"},
      {"mesh", "--object", "1", "--mesh", "0", "--pointer", "3", "level.wad", "-o", "m.obj"},
      {"mesh", "--pointer", "-1", "level.wad", "-o", "m.obj"},
      {"mesh", "--pointer", "2x", "level.wad", "-o", "m.obj"},
      {"mesh", "--pointer", "2", "level.wad"},
  };
  for (const auto& args : cases) {
    SCOPED_TRACE(testing::PrintToString(args));
    const CliRun run = RunCliProcess(args, dir.path());
    EXPECT_EQ(run.status, 64);
    EXPECT_EQ(run.err.rfind("tarnlow-cli: " + args[0] + ": ", 0), 0u) << run.err;
  }
}

}  // namespace
}  // namespace tarnlow::test
