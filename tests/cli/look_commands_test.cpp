#include <gtest/gtest.h>
#include <png.h>

#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/cli/cli_process.h"
#include "tests/support/temp_dir.h"
#include "tests/support/wad_builder.h"
#include "wad/object_names_file.h"

namespace tarnlow::test {
namespace {

namespace fs = std::filesystem;

// A PNG file as libpng decodes it: its size and its pixels as RGBA; all
// empty when it cannot be read.
struct Png {
  std::uint32_t width = 0, height = 0;
  std::vector<std::uint8_t> rgba;
};

Png ReadPng(const fs::path& path) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.string().c_str())) return {};
  image.format = PNG_FORMAT_RGBA;
  Png png{image.width, image.height, std::vector<std::uint8_t>(PNG_IMAGE_SIZE(image))};
  return png_image_finish_read(&image, nullptr, png.rgba.data(), 0, nullptr) ? png : Png{};
}

// The heights of the pages in `folder`, which holds page_000.png onwards and
// nothing else, each 256 pixels wide.
std::vector<std::uint32_t> PageHeights(const fs::path& folder) {
  std::vector<std::uint32_t> heights;
  const auto files = fs::exists(folder) ? std::distance(fs::directory_iterator(folder), fs::directory_iterator()) : 0;
  for (int p = 0; p < files; ++p) {
    const Png png = ReadPng(folder / ("page_00" + std::to_string(p) + ".png"));
    EXPECT_EQ(png.width, 256u);
    heights.push_back(png.height);
  }
  return heights;
}

// Object 0 is LARA, 90 BAT; the rows between are empty.
ObjectNamesFileContent Names(std::size_t rows = 91) {
  ObjectNamesFileContent content;
  content.objectNames.resize(rows, "EXTRA");
  content.objectNames[0] = "LARA";
  content.objectNames[90] = "BAT";
  return content;
}

// level.wad with its name file (and LEVEL.SWD when given).
struct LevelFiles : Level {
  explicit LevelFiles(const WadDocument& doc, const Bytes& swd = {}, const ObjectNamesFileContent& content = Names())
      : Level(doc) {
    WriteObjectNames(names, content);
    // Named as Windows level tools name it: found all the same.
    if (!swd.empty()) WriteFileBytes(dir / "LEVEL.SWD", swd);
  }
  CliRun objects() const { return run({"objects", "--names", names, wad}); }
  std::string names = (dir / "names.dat").string();
};

// Pages of 256 rows, the last one short; exact magenta is transparent.
TEST(CliTextures, WritesOnePngPerPageWithMagentaTransparent) {
  WadDocument doc = WadBuilder().textureRows(600).build();
  Bytes bytes = doc.TextData.storedBytes();
  const std::size_t key = (257 * 256 + 5) * 3;  // pixel (5, 257): page 1, row 1
  bytes[key] = bytes[key + 2] = 255;
  bytes[key + 1] = 0;
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

// Rows of the SWD missing from its file are black; LEVEL.SWD is found for
// level.wad as Windows would find it.
TEST(CliTextures, SwdOptionWritesThePagesOfTheSwdBesideTheWad) {
  const Bytes cutShort = SwdFileBytes({0, 300 * 768, 0}, {0, 10 * 768, 0});  // 300 rows, ten of them in the file
  const std::uint8_t lastHeld = cutShort[12 + (10 * 256 - 1) * 3];  // the red of row 9's last pixel
  const struct { Bytes swd; int status; std::vector<std::uint32_t> heights; } cases[] = {
      {cutShort, 0, {256, 44}}, {{}, 2, {}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.swd.size());
    const LevelFiles files(WadBuilder().textureRows(600).build(), c.swd);
    const CliRun run = files.run({"textures", "--swd", files.wad, "-o", (files.dir / "sprites").string()});
    EXPECT_EQ(run.status, c.status) << run.err;
    EXPECT_EQ(PageHeights(files.dir / "sprites"), c.heights);
    if (c.heights.size() == 2) {
      const Png first = ReadPng(files.dir / "sprites" / "page_000.png");
      EXPECT_EQ(std::tuple(first.rgba[(9 * 256 + 255) * 4], first.rgba[10 * 256 * 4], first.rgba[10 * 256 * 4 + 3]),
                std::tuple(lastHeld, 0, 255));
    }
  }
}

// Mesh data: a real mesh at offset 0, then the null shape, then `third`.
// LARA has a dummy, the null shape and `third`; BAT has `third`.
WadDocument TwoObjects(const MeshRecord& third, std::vector<MoveableRecord> moveables = {Moveable(0, 3, 0), Moveable(90, 1, 3)}) {
  WadDocument doc = WadBuilder().meshes({SimpleMesh(), NullShapeMesh(), third}).build();
  const std::int32_t other = doc.MeshPointers[2];
  return WadBuilder().meshData(doc.MeshData).meshPointers({0, doc.MeshPointers[1], other, other}).moveables(moveables).build();
}

MeshRecord Broken() {
  MeshRecord broken = SimpleMesh();
  broken.NumVertices = -32768;
  return broken;
}

// The OBJ file holds the chosen mesh (told apart by a vertex), or exit
// status 1 says why there is none and no file is written.
TEST(CliMesh, WritesTheChosenMeshAsObjOrSaysWhyNot) {
  const struct { std::vector<std::string> selection; std::string objPart; } cases[] = {
      {{"--object", "0", "--mesh", "0"}, "\nv 20 0 0\n"},  // a dummy: the mesh at offset 0
      // The second object starts at pointer 1, the null shape.
      {{"--object", "1", "--mesh", "0"}, "\nv 116 120 -177\n"}, {{"--pointer", "1"}, "\nv 116 120 -177\n"},
      {{"--object", "1", "--mesh", "1"}, ""}, {{"--object", "2", "--mesh", "0"}, ""},
      {{"--object", "0", "--mesh", "3"}, ""}, {{"--pointer", "4"}, ""},
      // Static 0 stands on pointer 1, static 1 outside the pointers.
      {{"--static", "0"}, "\nv 116 120 -177\n"}, {{"--static", "1"}, ""}, {{"--static", "2"}, ""},
  };
  WadDocument doc = TwoObjects(Broken(), {Moveable(0, 3, 0), Moveable(90, 2, 1)});
  std::array<StaticMeshRecord, 2> statics{};
  statics[0].Bytes[4] = 1;
  statics[1].Bytes[4] = 9;
  doc.NumStaticMeshes = 2;
  doc.StaticMeshes = RecordArray<StaticMeshRecord>::fromRecords(std::vector(statics.begin(), statics.end()));
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.selection));
    const LevelFiles files(doc);
    std::vector<std::string> args = {"mesh", files.wad, "-o", (files.dir / "mesh.obj").string()};
    args.insert(args.begin() + 1, c.selection.begin(), c.selection.end());
    const CliRun run = files.run(args);
    EXPECT_EQ(run.status, c.objPart.empty() ? 1 : 0);
    ASSERT_EQ(fs::exists(files.dir / "mesh.obj"), !c.objPart.empty());
    EXPECT_NE(ReadFileText(files.dir / "mesh.obj").find(c.objPart), std::string::npos);
  }
}

// --object and --static take a place in the list or a slot name in any
// letter case; a name that several slots share is refused, not guessed.
TEST(CliSlotChoice, PlaceAndSlotNamePickTheSameMeshAndAmbiguousNamesAreRefused) {
  const std::string offsetZero = "\nv 20 0 0\n", nullShape = "\nv 116 120 -177\n";
  const struct { std::vector<std::string> selection; std::string objPart; } cases[] = {
      {{"--static", "1"}, offsetZero}, {{"--static", "ROCK0"}, offsetZero}, {{"--static", "rock0"}, offsetZero},
      {{"--static", "0"}, nullShape}, {{"--static", "Plant0"}, nullShape}, {{"--static", "ROCK1"}, ""},
      {{"--static", "ROCK9"}, ""}, {{"--static", "4"}, ""},
      {{"--object", "BAT", "--mesh", "0"}, nullShape}, {{"--object", "lara", "--mesh", "0"}, offsetZero},
      {{"--object", "WOLF", "--mesh", "0"}, ""},
  };
  WadDocument doc = TwoObjects(SimpleMesh(), {Moveable(0, 3, 0), Moveable(90, 2, 1)});
  doc.NumStaticMeshes = 4;
  doc.StaticMeshes = RecordArray<StaticMeshRecord>::fromRecords(
      {StaticMeshAt(0, 1), StaticMeshAt(20, 0), StaticMeshAt(21, 1), StaticMeshAt(21, 0)});
  const LevelFiles files(doc);
  ObjectNamesFileContent names = Names();
  names.section3 = {{"PLANT0", 0}, {"ROCK0", 20}, {"ROCK1", 21}};
  const fs::path program = files.dir / "program" / CliPath().filename();
  fs::create_directory(program.parent_path());
  fs::copy_file(CliPath(), program);
  WriteObjectNames(program.parent_path() / "TR4Objects.dat", names);
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.selection));
    fs::remove(files.dir / "mesh.obj");
    std::vector<std::string> args = {"mesh", files.wad, "-o", (files.dir / "mesh.obj").string()};
    args.insert(args.begin() + 1, c.selection.begin(), c.selection.end());
    const CliRun run = RunCliProcess(args, files.dir.path(), program);
    EXPECT_EQ(run.status, c.objPart.empty() ? 1 : 0) << run.err;
    ASSERT_EQ(fs::exists(files.dir / "mesh.obj"), !c.objPart.empty());
    EXPECT_NE(ReadFileText(files.dir / "mesh.obj").find(c.objPart), std::string::npos);
  }
}

// Unknown faces are reported once per listing of the mesh, an unreadable
// mesh by its object and line; an object without a name row ends the list.
TEST(CliObjects, ListsEachObjectWithItsMeshesMarkedAndTheirProblemsOnStderr) {
  MeshRecord odd = SimpleMesh();
  odd.NumFaces = 2;
  odd.Faces = {MeshFace{MeshFace::kTriangle, {0, 1, 2}, 0, 0}, MeshFace{7, {}, 0, 0}};
  const std::string lara = "LARA\n    Mesh 00 DUMMY\n    Mesh 01 NULL\n    Mesh 02";
  const struct { WadDocument wad; std::string out; std::vector<std::string> errParts; } cases[] = {
      {TwoObjects(odd), lara + "\nBAT\n    Mesh 00\n", {"Unknown FaceType - Face 1\nUnknown FaceType - Face 1\n"}},
      {TwoObjects(Broken()), lara + " (unreadable: overflow)\nBAT\n    Mesh 00 (unreadable: overflow)\n", {"LARA", "Mesh 02"}},
      {TwoObjects(SimpleMesh(), {Moveable(90, 1, 3), Moveable(501, 1, 3), Moveable(0, 1, 3)}), "BAT\n    Mesh 00\n", {"501"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.out);
    const CliRun run = LevelFiles(c.wad).objects();
    EXPECT_EQ(std::pair(run.status, run.out), std::pair(0, c.out));
    for (const std::string& part : c.errParts) EXPECT_NE(run.err.find(part), std::string::npos) << run.err;
  }
}

// Without --names the name file beside the executable is read; a missing or
// overfull one warns once and the listing goes on.
TEST(CliObjects, NameFileBesideTheExecutableIsTheDefaultAndAProblemWithItOnlyWarns) {
  for (const int situation : {0, 1, 2}) {
    SCOPED_TRACE(situation == 0 ? "beside the program" : situation == 1 ? "no name file" : "more names than rows");
    const LevelFiles files(TwoObjects(SimpleMesh()), {}, Names(502));  // one more than the 501 rows
    // A copy of the program in a folder of its own, its name file beside it.
    const fs::path program = files.dir / "program" / "tarnlow-cli";
    fs::create_directory(program.parent_path());
    fs::copy_file(CliPath(), program);
    WriteObjectNames(program.parent_path() / "TR4Objects.dat", Names());
    if (situation == 1) fs::remove(files.names);
    const CliRun run = situation == 0 ? RunCliProcess({"objects", files.wad}, files.dir.path(), program) : files.objects();
    // Nothing on stderr, or one line naming the name file.
    EXPECT_EQ(std::pair(run.status, run.err.find('\n')), std::pair(0, run.err.size() - 1)) << run.err;
    EXPECT_EQ(run.err.find(files.names) == std::string::npos, situation == 0) << run.err;
    EXPECT_TRUE(run.out.starts_with(situation == 1 ? "\n" : "LARA\n")) << run.out;
    EXPECT_NE(run.out.find("    Mesh 02\n"), std::string::npos) << run.out;
  }
}

}  // namespace
}  // namespace tarnlow::test
