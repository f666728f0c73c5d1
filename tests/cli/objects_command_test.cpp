#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/cli/cli_process.h"
#include "tests/support/temp_dir.h"
#include "tests/support/wad_builder.h"
#include "wad/object_names_file.h"

namespace tarnlow::test {
namespace {

// Object 0 is LARA, 90 BAT; the rows between are empty.
ObjectNamesFileContent Names(std::size_t rows = 91) {
  ObjectNamesFileContent content;
  content.objectNames.resize(rows, "EXTRA");
  content.objectNames[0] = "LARA";
  content.objectNames[90] = "BAT";
  return content;
}

// Mesh data: a real mesh at offset 0, then the null shape, then `third`.
// LARA has a dummy, the null shape and `third`; BAT has `third`.
WadDocument TwoObjects(const MeshRecord& third, std::vector<MoveableRecord> moveables = {Moveable(0, 3, 0), Moveable(90, 1, 3)}) {
  WadDocument doc = WadBuilder().meshes({SimpleMesh(), NullShapeMesh(), third}).build();
  const std::int32_t other = doc.MeshPointers[2];
  return WadBuilder().meshData(doc.MeshData).meshPointers({0, doc.MeshPointers[1], other, other}).moveables(moveables).build();
}

// The WAD and its name file in a folder of their own.
struct Files {
  explicit Files(const WadDocument& doc, const ObjectNamesFileContent& content = Names()) {
    WriteFileBytes(wad, WadFileBytes(doc));
    WriteObjectNames(names, content);
  }
  CliRun run() const { return RunCliProcess({"objects", "--names", names, wad}, dir.path()); }
  TempDir dir;
  std::string wad = (dir / "level.wad").string();
  std::string names = (dir / "names.dat").string();
};

// Unknown faces are reported once per listing of the mesh, an unreadable
// mesh by its object and line; a moveable without a name row ends the list.
TEST(CliObjects, ListsEachObjectWithItsMeshesMarkedAndTheirProblemsOnStderr) {
  MeshRecord odd = SimpleMesh();
  odd.NumFaces = 2;
  odd.Faces = {MeshFace{MeshFace::kTriangle, {0, 1, 2}, 0, 0}, MeshFace{7, {}, 0, 0}};
  MeshRecord broken = SimpleMesh();
  broken.NumVertices = -32768;
  const std::string lara = "LARA\n    Mesh 00 DUMMY\n    Mesh 01 NULL\n    Mesh 02";
  const struct {
    WadDocument wad;
    std::string out;
    std::vector<std::string> errParts;
  } cases[] = {
      {TwoObjects(SimpleMesh(4)), lara + "\nBAT\n    Mesh 00\n", {}},
      {TwoObjects(odd), lara + "\nBAT\n    Mesh 00\n", {"Unknown FaceType - Face 1\nUnknown FaceType - Face 1\n"}},
      {TwoObjects(broken), lara + " (unreadable: overflow)\nBAT\n    Mesh 00 (unreadable: overflow)\n", {"LARA", "Mesh 02"}},
      {TwoObjects(SimpleMesh(), {Moveable(90, 1, 3), Moveable(501, 1, 3), Moveable(0, 1, 3)}), "BAT\n    Mesh 00\n", {"501"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.out);
    const CliRun run = Files(c.wad).run();
    EXPECT_EQ(std::pair(run.status, run.out), std::pair(0, c.out));
    EXPECT_EQ(run.err.empty(), c.errParts.empty()) << run.err;
    for (const std::string& part : c.errParts) EXPECT_NE(run.err.find(part), std::string::npos) << run.err;
  }
}

TEST(CliObjects, NameFileBesideTheExecutableIsTheDefault) {
  const Files files(TwoObjects(SimpleMesh()));
  // A copy of the program in a folder of its own, its name file beside it.
  const std::filesystem::path program = files.dir / "program" / "tarnlow-cli";
  std::filesystem::create_directory(program.parent_path());
  std::filesystem::copy_file(CliPath(), program);
  WriteObjectNames(program.parent_path() / "TR4Objects.dat", Names());
  const CliRun run = RunCliProcess({"objects", files.wad}, files.dir.path(), program);
  EXPECT_EQ(std::tuple(run.status, run.err, run.out.substr(0, 5)), std::tuple(0, "", "LARA\n"));
}

TEST(CliObjects, NameFileProblemWarnsOnceAndTheListingGoesOn) {
  for (const bool missing : {false, true}) {
    SCOPED_TRACE(missing ? "no name file" : "more names than rows");
    const Files files(TwoObjects(SimpleMesh()), Names(502));  // one more than the 501 rows
    if (missing) std::filesystem::remove(files.names);
    const CliRun run = files.run();
    EXPECT_EQ(std::pair(run.status, run.err.find('\n')), std::pair(0, run.err.size() - 1)) << "not one line: " << run.err;
    EXPECT_NE(run.err.find(files.names), std::string::npos) << run.err;
    EXPECT_TRUE(run.out.starts_with(missing ? "\n" : "LARA\n")) << run.out;
    EXPECT_NE(run.out.find("    Mesh 02\n"), std::string::npos) << run.out;
  }
}

}  // namespace
}  // namespace tarnlow::test
