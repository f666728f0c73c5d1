// check, pose and gltf, run as a user runs them.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>

#include "anim/animation_state.h"
#include "anim/drawn_object.h"
#include "anim/skeleton.h"
#include "tests/cli/cli_process.h"
#include "tests/support/animated_wad.h"
#include "tests/support/temp_dir.h"
#include "tests/support/wad_builder.h"
#include "wad/wad_reader.h"

namespace tarnlow::test {
namespace {

std::size_t LinesOf(const std::string& text) { return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')); }

TEST(CliCheck, ExitStatusSaysWhetherAnythingIsWrongAndJsonListsEachFinding) {
  AnimatedWad broken = AnimatedWad::Clean();
  broken.animations[0].NextAnimation = 9;
  broken.dispatches[0].NextFrame = 9;
  const Level clean(AnimatedWad::Clean().build()), bad(broken.build());
  const CliRun ok = clean.run({"check", clean.wad});
  EXPECT_EQ(ok.status, 0) << ok.err;
  EXPECT_EQ(LinesOf(ok.out), 1u);  // the summary alone
  const CliRun found = bad.run({"check", bad.wad});
  EXPECT_EQ(found.status, 1) << found.err;
  // JSON lists every finding with its rule, object and animation.
  const CliRun json = bad.run({"check", "--format", "json", bad.wad});
  EXPECT_EQ(json.status, 1) << json.err;
  const nlohmann::json out = nlohmann::json::parse(json.out);
  ASSERT_EQ(out["findings"].size(), 2u);
  const nlohmann::json& first = out["findings"][0];
  EXPECT_EQ(first["severity"], "error");
  EXPECT_EQ(first["rule"], "next-animation-outside");
  EXPECT_EQ(first["moveable"], 0);
  EXPECT_EQ(first["animation"], 0);
  EXPECT_EQ(out["errors"], 2);
  EXPECT_EQ(out["groups"].size(), 1u) << "both are about LARA";
}

TEST(CliCheck, AgainstShowsExactlyTheFindingsOfAnObjectAppendedToAWad) {
  // The old WAD has a fault of its own; the new one appends a broken copy
  // of its second object, whose mesh lies outside the mesh pointers.
  AnimatedWad old = AnimatedWad::Clean();
  old.animations[0].NextFrame = 3;
  AnimatedWad fresh = old;
  fresh.moveables.push_back(fresh.moveables[1]);
  fresh.moveables.back().ObjectID = 42;
  fresh.moveables.back().StartingMesh = 7;
  const Level level(fresh.build(), "new.wad");
  const std::string oldWad = (level.dir / "old.wad").string();
  WriteFileBytes(oldWad, WadFileBytes(old.build()));
  const CliRun all = level.run({"check", "--format", "json", level.wad});
  const CliRun added = level.run({"check", "--format", "json", level.wad, "--against", oldWad});
  EXPECT_EQ(added.status, 1) << added.err;
  nlohmann::json expected = nlohmann::json::array();
  const nlohmann::json every = nlohmann::json::parse(all.out);
  for (const nlohmann::json& f : every["findings"]) {
    if (f["moveable"] == 2) expected.push_back(f);
  }
  ASSERT_FALSE(expected.empty());
  EXPECT_EQ(nlohmann::json::parse(added.out)["findings"], expected);
  const CliRun same = level.run({"check", oldWad, "--against", oldWad});
  EXPECT_EQ(same.status, 0) << same.out;
}

TEST(CliCheck, AFolderGivesARowPerWadAndTheWorstStatusWithoutProgressInAPipe) {
  AnimatedWad broken = AnimatedWad::Clean();
  broken.animations[0].NextAnimation = 9;
  const Level level(AnimatedWad::Clean().build(), "a_clean.wad");
  WriteFileBytes(level.dir / "b_broken.WAD", WadFileBytes(broken.build()));
  WriteFileBytes(level.dir / "c_cut.wad", Bytes{1, 2, 3, 4, 5, 6, 7, 8});
  const CliRun rows = level.run({"check", level.dir.path().string()});
  EXPECT_EQ(rows.status, 1);
  EXPECT_EQ(LinesOf(rows.out), 3u) << rows.out;
  EXPECT_EQ(LinesOf(rows.err), 1u) << "only the note on the cut WAD: " << rows.err;
  const CliRun json = level.run({"check", "--format", "json", level.dir.path().string()});
  const nlohmann::json wads = nlohmann::json::parse(json.out)["wads"];
  ASSERT_EQ(wads.size(), 3u);
  EXPECT_EQ(wads[0]["errors"], 0);
  EXPECT_EQ(wads[1]["errors"], 1);
  EXPECT_EQ(wads[1]["findings"].size(), 1u);
  EXPECT_FALSE(wads[2].contains("unreadable")) << "a cut WAD is read as far as it goes";
  const CliRun two = level.run({"check", level.wad, level.wad});
  EXPECT_EQ(two.status, 0);
  EXPECT_EQ(LinesOf(two.out), 2u) << two.out;
}

// The "v" lines of each "o" group of an OBJ text.
std::vector<std::vector<std::string>> Groups(const std::string& obj) {
  std::vector<std::vector<std::string>> groups;
  std::istringstream in(obj);
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("o ", 0) == 0) groups.emplace_back();
    if (line.rfind("v ", 0) == 0 && !groups.empty()) groups.back().push_back(line);
  }
  return groups;
}

TEST(CliPose, WritesOneGroupPerMeshPlacedByTheFrameAndFailsForWhatIsMissing) {
  const Level level(AnimatedWad::Clean().build());
  const std::string obj = (level.dir / "posed.obj").string();
  const CliRun run = level.run({"pose", "--object", "0", "--anim", "0", "--frame", "2", level.wad, "-o", obj});
  ASSERT_EQ(run.status, 0) << run.err;
  const auto groups = Groups(ReadFileText(obj));
  ASSERT_EQ(groups.size(), 2u);
  // Frame 2: the root turned a quarter about Y, so mesh 1 (100 along X)
  // stands 100 along -Z, at the root's height.
  EXPECT_EQ(groups[1].at(0), "v 0.0 -100.0 -100.0");
  // A missing object, animation or frame exits with 1; no object at all is a usage error.
  const struct { std::vector<std::string> options; int status; } cases[] = {
      {{"--object", "2"}, 1}, {{"--object", "0", "--anim", "2"}, 1}, {{"--object", "0", "--frame", "3"}, 1}, {{}, 64}};
  for (const auto& c : cases) {
    std::vector<std::string> args = {"pose", level.wad, "-o", obj};
    args.insert(args.end(), c.options.begin(), c.options.end());
    EXPECT_EQ(level.run(args).status, c.status) << args.back();
  }
}

// A frame range without key frames (FrameSize 0) is one thing, said in the
// same words by the check, pose and the object view (its chooser and caption).
TEST(CliPose, AnAnimationWithoutKeyFramesIsSaidAlikeByCheckPoseAndTheView) {
  AnimatedWad wad = AnimatedWad::Clean();
  wad.animations[1].FrameSize = 0;
  const Level level(wad.build());
  const std::string said = DescribeAnimationState(wad.animations[1]).text;
  ASSERT_FALSE(said.empty());
  const nlohmann::json check = nlohmann::json::parse(level.run({"check", "--format", "json", level.wad}).out);
  ASSERT_EQ(check["findings"].size(), 1u);
  EXPECT_EQ(check["findings"][0]["severity"], "note");
  EXPECT_EQ(check["findings"][0]["problem"], said);
  const std::string obj = (level.dir / "posed.obj").string();
  const CliRun pose = level.run({"pose", "--object", "0", "--anim", "1", level.wad, "-o", obj});
  EXPECT_EQ(pose.status, 0) << pose.err;
  EXPECT_NE(ReadFileText(obj).find(said + ", rest pose"), std::string::npos);
  const std::optional<Finding> shown = std::get<DrawnObject>(DrawObject(wad.build(), 0)).animationProblems.at(1);
  ASSERT_TRUE(shown.has_value());
  EXPECT_EQ(std::tie(shown->problem, shown->severity), std::make_tuple(said, Severity::Note));
}

// The text after "# <label>: " in an OBJ's header; empty when missing.
std::string HeaderValue(const std::string& obj, const std::string& label) {
  const std::string key = "# " + label + ": ";
  const std::size_t at = obj.find(key);
  return at == std::string::npos ? std::string() : obj.substr(at + key.size(), obj.find('\n', at) - at - key.size());
}

TEST(CliPose, HeaderGivesTheStoredBoxAndAnErrorPrintedFailsTheExitStatus) {
  AnimatedWad broken = AnimatedWad::Clean();
  broken.frames[9] = 0;  // a three-axis turn: key frame 0 needs two words more than FrameSize
  const struct { const char* what; WadDocument doc; const char* anim; int status; } cases[] = {
      {"a clean frame", AnimatedWad::Clean().build(), "0", 0},
      {"a key frame larger than FrameSize", broken.build(), "0", 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const Level level(c.doc);
    const std::string obj = (level.dir / "posed.obj").string();
    const CliRun run = level.run({"pose", "--object", "0", "--anim", c.anim, level.wad, "-o", obj});
    EXPECT_EQ(run.status, c.status) << run.err;
    const std::string text = ReadFileText(obj);  // written either way
    ASSERT_FALSE(HeaderValue(text, "stored box of the key frame").empty()) << text;
    if (c.status == 0) {
      // The clean WAD stores the true box of each pose.
      EXPECT_EQ(HeaderValue(text, "stored box of the key frame"), HeaderValue(text, "box of this pose"));
    }
  }
}

// The bundled sample, built beside the program.
std::filesystem::path SampleWad() { return CliPath().parent_path() / "sample.wad"; }
WadDocument ReadSample() {
  std::int64_t length = 0;
  return ReadWAD(SampleWad(), length);
}

// The validator runs under the build machine's Node.js, which a Windows test
// program cannot start; the Linux build validates the same export code.
#ifndef _WIN32
TEST(CliGltf, EveryObjectAndStaticMeshOfTheSamplePassesTheKhronosValidator) {
  TempDir dir;
  std::vector<std::string> files;
  const WadDocument sample = ReadSample();
  ASSERT_GT(sample.StaticMeshes.size(), 0u);
  for (const auto& [option, count] : {std::pair{"--object", sample.Moveables.size()}, {"--static", sample.StaticMeshes.size()}}) {
    for (std::size_t n = 0; n < count; ++n) {
      for (const char* extension : {".gltf", ".glb"}) {
        const std::string file = (dir / (option + 2 + std::to_string(n) + extension)).string();
        const CliRun run = RunCliProcess({"gltf", option, std::to_string(n), SampleWad().string(), "-o", file}, dir.path());
        ASSERT_EQ(run.status, 0) << file << ": " << run.err;
        files.push_back(file);
      }
    }
  }
  const CliRun validated = RunCliProcess(files, dir.path(), TARNLOW_VALIDATE_GLTF);
  // The script exits 1 when any file has an error, 2 without the validator.
  EXPECT_EQ(validated.status, 0) << validated.out << validated.err;
}
#endif

// LARA's two meshes placeholders; LARA_SKIN's squares of half sides 50
// and 20, each textured.
WadDocument LaraAndHerSkin() {
  AnimatedWad w = AnimatedWad::Clean();
  w.meshes = {NullShapeMesh(), NullShapeMesh(), SquareMesh(50), SquareMesh(20)};
  w.moveables = {w.moveables[0], Moveable(kLaraSkinId, 2, 2)};
  w.moveables[0].ObjectID = kLaraId;
  return w.build();
}

// The sample's LARA passes the validator above in her skin; this checks that
// the skin is what is written.
TEST(CliGltf, LaraIsExportedInHerSkin) {
  const Level level(LaraAndHerSkin());
  const std::string file = (level.dir / "lara.gltf").string();
  ASSERT_EQ(level.run({"gltf", "--object", "0", level.wad, "-o", file}).status, 0);
  const nlohmann::json gltf = nlohmann::json::parse(ReadFileText(file));
  for (std::size_t j = 0; j < 2; ++j) {
    SCOPED_TRACE(j);
    const auto& mesh = gltf.at("meshes").at(gltf.at("nodes").at(j).at("mesh").get<std::size_t>());
    const auto& position = gltf.at("accessors").at(mesh.at("primitives").at(0).at("attributes").at("POSITION").get<std::size_t>());
    const double half = j == 0 ? 50 : 20;
    EXPECT_EQ(position.at("max"), nlohmann::json::array({half, half, 0.0})) << "the skin's square, not the placeholder";
  }
}

TEST(CliGltf, NodesFollowTheMeshTreeAndTheAtlasIsEmbedded) {
  const Skeleton skeleton = std::get<Skeleton>(BuildSkeleton(ReadSample(), 0));
  TempDir dir;
  const std::string file = (dir / "lara.gltf").string();
  ASSERT_EQ(RunCliProcess({"gltf", "--object", "0", SampleWad().string(), "-o", file}, dir.path()).status, 0);
  const nlohmann::json gltf = nlohmann::json::parse(ReadFileText(file));

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
  const Level level(WadBuilder().meshes({SimpleMesh()}).moveables({Moveable(0, 1, 0)}).build());
  const std::string& wad = level.wad;
  const std::string out = (level.dir / "out.gltf").string();
  const struct { std::vector<std::string> args; int status; } cases[] = {
      {{"gltf", wad, "-o", out}, 64},
      {{"gltf", "--object", "0", wad, "-o", (level.dir / "out.obj").string()}, 64},
      {{"gltf", "--object", "", wad, "-o", out}, 64},
      {{"gltf", "--object", "x", wad, "-o", out}, 1},  // no slot of that name
      {{"gltf", "--object", "1", wad, "-o", out}, 1},
      {{"gltf", "--static", "0", wad, "-o", out}, 1},
      {{"gltf", "--object", "0", "--static", "0", wad, "-o", out}, 64},
      {{"gltf", "--object", "0", (level.dir / "missing.wad").string(), "-o", out}, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args[c.args.size() - 3]);
    EXPECT_EQ(level.run(c.args).status, c.status);
    EXPECT_FALSE(std::filesystem::exists(out));
  }
}

}  // namespace
}  // namespace tarnlow::test
