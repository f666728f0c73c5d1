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
ObjectNamesFileContent Names() {
  ObjectNamesFileContent content;
  content.objectNames.resize(91);
  content.objectNames[0] = "LARA";
  content.objectNames[90] = "BAT";
  return content;
}

// Mesh data: a real mesh at offset 0, then the null shape, then `third`.
// LARA has a dummy, the null shape and `third`; BAT has `third`.
WadDocument TwoObjects(const MeshRecord& third) {
  WadDocument doc = WadBuilder().meshes({SimpleMesh(), NullShapeMesh(), third}).build();
  const std::int32_t other = doc.MeshPointers[2];
  return WadBuilder()
      .meshData(doc.MeshData)
      .meshPointers({0, doc.MeshPointers[1], other, other})
      .moveables({Moveable(0, 3, 0), Moveable(90, 1, 3)})
      .build();
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

TEST(CliObjects, ListsEachObjectWithItsMeshesMarkedAndTheirProblemsOnStderr) {
  MeshRecord odd = SimpleMesh();
  odd.NumFaces = 3;
  odd.Faces = {MeshFace{MeshFace::kTriangle, {0, 1, 2}, 0, 0}, MeshFace{7, {}, 0, 0},
               MeshFace{MeshFace::kQuad, {0, 1, 2, 0}, 0, 0}};
  MeshRecord broken = SimpleMesh();
  broken.NumVertices = -32768;  // count word 0x8000
  const struct {
    const char* name;
    MeshRecord third;
    std::string thirdMark;
    std::vector<std::string> errParts;  // the whole of stderr when there is one part
  } cases[] = {
      {"readable", SimpleMesh(4), "", {""}},
      // The odd mesh is listed twice: LARA's third mesh and BAT's only one.
      {"unknown face type", odd, "", {"Unknown FaceType - Face 1\nUnknown FaceType - Face 1\n"}},
      {"unreadable", broken, " (unreadable: overflow)", {"LARA", "Mesh 02: overflow: vertex count word 0x8000"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const CliRun run = Files(TwoObjects(c.third)).run();
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "LARA\n    Mesh 00 DUMMY\n    Mesh 01 NULL\n    Mesh 02" + c.thirdMark + "\nBAT\n    Mesh 00" +
                           c.thirdMark + "\n");
    if (c.errParts.size() == 1) {
      EXPECT_EQ(run.err, c.errParts[0]);
    }
    for (const std::string& part : c.errParts) EXPECT_NE(run.err.find(part), std::string::npos) << run.err;
  }
}

TEST(CliObjects, ListingStopsAtAnObjectIdWithoutARowWithANote) {
  WadDocument doc = TwoObjects(SimpleMesh());
  doc.NumMoveables = 3;
  doc.Moveables =
      RecordArray<MoveableRecord>::fromRecords({Moveable(90, 1, 3), Moveable(501, 1, 3), Moveable(0, 1, 3)});
  const CliRun run = Files(doc).run();
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "BAT\n    Mesh 00\n");
  EXPECT_EQ(run.err.rfind("note: moveable 1 has ObjectID 501", 0), 0u) << run.err;
}

TEST(CliObjects, NameFileBesideTheExecutableIsTheDefault) {
  const Files files(TwoObjects(SimpleMesh()));
  // A copy of the program in a folder of its own, its name file beside it.
  const std::filesystem::path program = files.dir / "program" / "tarnlow-cli";
  std::filesystem::create_directory(program.parent_path());
  std::filesystem::copy_file(CliPath(), program);
  WriteObjectNames(program.parent_path() / "TR4Objects.dat", Names());
  const CliRun run = RunCliProcess({"objects", files.wad}, files.dir.path(), program);
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.out.rfind("LARA\n", 0), 0u) << run.out;
  EXPECT_NE(run.out.find("\nBAT\n"), std::string::npos) << run.out;
}

TEST(CliObjects, NameFileProblemWarnsOnceAndTheListingGoesOn) {
  ObjectNamesFileContent tooMany = Names();
  tooMany.objectNames.resize(502, "EXTRA");  // one more than the table's 501 rows
  for (const bool missing : {false, true}) {
    SCOPED_TRACE(missing ? "no name file" : "more names than rows");
    const Files files(TwoObjects(SimpleMesh()), tooMany);
    if (missing) std::filesystem::remove(files.names);
    const CliRun run = files.run();
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err.rfind("warning: ", 0), 0u) << run.err;
    EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << "more than one line: " << run.err;
    EXPECT_NE(run.err.find(files.names), std::string::npos) << run.err;
    EXPECT_EQ(run.out.rfind(missing ? "\n" : "LARA\n", 0), 0u) << run.out;
    EXPECT_NE(run.out.find("    Mesh 02\n"), std::string::npos) << run.out;
  }
}

}  // namespace
}  // namespace tarnlow::test
