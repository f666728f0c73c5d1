#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>

#include "anim/skeleton.h"
#include "tests/cli/cli_process.h"
#include "tests/support/temp_dir.h"
#include "tests/support/wad_builder.h"
#include "wad/wad_reader.h"

namespace tarnlow::test {
namespace {

namespace fs = std::filesystem;

// The bundled sample, built beside the program.
fs::path SampleWad() { return CliPath().parent_path() / "sample.wad"; }
WadDocument ReadSample() {
  std::int64_t length = 0;
  return ReadWAD(SampleWad(), length);
}

// The validator runs under the build machine's Node.js, which a Windows test
// program cannot start; the Linux build validates the same export code.
#ifndef _WIN32
TEST(CliGltf, EveryObjectOfTheSamplePassesTheKhronosValidator) {
  TempDir dir;
  std::vector<std::string> files;
  for (std::size_t n = 0, objects = ReadSample().Moveables.size(); n < objects; ++n) {
    for (const char* extension : {".gltf", ".glb"}) {
      const std::string file = (dir / ("object" + std::to_string(n) + extension)).string();
      const CliRun run = RunCliProcess({"gltf", "--object", std::to_string(n), SampleWad().string(), "-o", file}, dir.path());
      ASSERT_EQ(run.status, 0) << file << ": " << run.err;
      files.push_back(file);
    }
  }
  const CliRun validated = RunCliProcess(files, dir.path(), TARNLOW_VALIDATE_GLTF);
  // The script exits 1 when any file has an error, 2 without the validator.
  EXPECT_EQ(validated.status, 0) << validated.out << validated.err;
}
#endif

TEST(CliGltf, NodesFollowTheMeshTreeAndTheAtlasIsEmbedded) {
  const Skeleton skeleton = std::get<Skeleton>(BuildSkeleton(ReadSample(), 0));
  TempDir dir;
  const std::string file = (dir / "lara.gltf").string();
  ASSERT_EQ(RunCliProcess({"gltf", "--object", "0", SampleWad().string(), "-o", file}, dir.path()).status, 0);
  const Bytes text = ReadFileBytes(file);
  const nlohmann::json gltf = nlohmann::json::parse(text.begin(), text.end());

  const auto& nodes = gltf.at("nodes");
  ASSERT_EQ(nodes.size(), skeleton.bones.size() + 1);
  EXPECT_EQ(gltf.at("scenes")[0].at("nodes"), nlohmann::json::array({skeleton.bones.size()}));
  EXPECT_EQ(nodes.back().at("children"), nlohmann::json::array({0}));
  for (std::size_t j = 1; j < skeleton.bones.size(); ++j) {
    SCOPED_TRACE(j);
    const auto& siblings = nodes[static_cast<std::size_t>(skeleton.bones[j].parent)].at("children");
    EXPECT_NE(std::find(siblings.begin(), siblings.end(), j), siblings.end()) << "under its parent";
    const Vec3 offset = skeleton.bones[j].offset;
    EXPECT_EQ(nodes[j].at("translation"), nlohmann::json::array({offset.x, offset.y, offset.z}));
  }
  ASSERT_EQ(gltf.at("images").size(), 1u);
  EXPECT_EQ(gltf.at("images")[0].at("mimeType"), "image/png");
  EXPECT_EQ(gltf.at("buffers")[0].at("uri").get<std::string>().rfind("data:application/octet-stream;base64,", 0), 0u);
}

TEST(CliGltf, BadRequestsAreRefusedWithoutWritingAFile) {
  TempDir dir;
  WriteFileBytes(dir / "level.wad", WadFileBytes(WadBuilder().meshes({SimpleMesh()}).moveables({Moveable(0, 1, 0)}).build()));
  const std::string wad = (dir / "level.wad").string();
  const std::string out = (dir / "out.gltf").string();
  const struct { std::vector<std::string> args; int status; } cases[] = {
      {{"gltf", wad, "-o", out}, 64},
      {{"gltf", "--object", "0", wad, "-o", (dir / "out.obj").string()}, 64},
      {{"gltf", "--object", "x", wad, "-o", out}, 64},
      {{"gltf", "--object", "1", wad, "-o", out}, 1},
      {{"gltf", "--object", "0", (dir / "missing.wad").string(), "-o", out}, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args[c.args.size() - 3]);
    EXPECT_EQ(RunCliProcess(c.args, dir.path()).status, c.status);
    EXPECT_FALSE(fs::exists(out));
  }
}

}  // namespace
}  // namespace tarnlow::test
