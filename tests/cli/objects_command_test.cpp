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
WadDocument TwoObjects(const MeshRecord& third) {
  WadDocument doc = WadBuilder().meshes({SimpleMesh(), NullShapeMesh(), third}).build();
  const std::int32_t null = doc.MeshPointers[1];
  const std::int32_t other = doc.MeshPointers[2];
  return WadBuilder()
      .meshData(doc.MeshData)
      .meshPointers({0, null, other, other})
      .moveables({Moveable(0, 3, 0), Moveable(90, 1, 3)})
      .build();
}

struct Files {
  TempDir dir;
  std::string wad = (dir / "level.wad").string();
  std::string names = (dir / "names.dat").string();
};

void Write(const Files& files, const WadDocument& doc, const ObjectNamesFileContent& names = Names()) {
  WriteFileBytes(files.wad, WadFileBytes(doc));
  WriteObjectNames(files.names, names);
}

TEST(CliObjects, ListsEachObjectWithItsMeshesIndented) {
  Files files;
  Write(files, TwoObjects(SimpleMesh(4)));
  const CliRun run = RunCliProcess({"objects", "--names", files.names, files.wad}, files.dir.path());
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.out,
            "LARA\n"
            "    Mesh 00 DUMMY\n"
            "    Mesh 01 NULL\n"
            "    Mesh 02\n"
            "BAT\n"
            "    Mesh 00\n");
}

TEST(CliObjects, UnknownFaceTypeIsReportedAndTheListingGoesOn) {
  Files files;
  MeshRecord odd = SimpleMesh();
  odd.NumFaces = 3;
  odd.Faces = {MeshFace{MeshFace::kTriangle, {0, 1, 2}, 0, 0}, MeshFace{7, {}, 0, 0},
               MeshFace{MeshFace::kQuad, {0, 1, 2, 0}, 0, 0}};
  Write(files, TwoObjects(odd));
  const CliRun run = RunCliProcess({"objects", "--names", files.names, files.wad}, files.dir.path());
  EXPECT_EQ(run.status, 0);
  // The odd mesh is listed twice (LARA's third mesh and BAT's only one).
  EXPECT_EQ(run.err, "Unknown FaceType - Face 1\nUnknown FaceType - Face 1\n");
  EXPECT_EQ(run.out, "LARA\n    Mesh 00 DUMMY\n    Mesh 01 NULL\n    Mesh 02\nBAT\n    Mesh 00\n");
}

TEST(CliObjects, UnreadableMeshIsMarkedAndItsReasonGoesToStderr) {
  Files files;
  MeshRecord broken = SimpleMesh();
  broken.NumVertices = -32768;  // count word 0x8000
  Write(files, TwoObjects(broken));
  const CliRun run = RunCliProcess({"objects", "--names", files.names, files.wad}, files.dir.path());
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out,
            "LARA\n    Mesh 00 DUMMY\n    Mesh 01 NULL\n    Mesh 02 (unreadable: overflow)\n"
            "BAT\n    Mesh 00 (unreadable: overflow)\n");
  EXPECT_NE(run.err.find("LARA"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("Mesh 02: overflow: vertex count word 0x8000"), std::string::npos) << run.err;
}

TEST(CliObjects, ListingStopsAtAnObjectIdWithoutARowWithANote) {
  Files files;
  WadDocument doc = TwoObjects(SimpleMesh());
  doc.NumMoveables = 3;
  doc.Moveables = RecordArray<MoveableRecord>::fromRecords({Moveable(90, 1, 3), Moveable(501, 1, 3), Moveable(0, 1, 3)});
  Write(files, doc);
  const CliRun run = RunCliProcess({"objects", "--names", files.names, files.wad}, files.dir.path());
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "BAT\n    Mesh 00\n");
  EXPECT_EQ(run.err.rfind("note: moveable 1 has ObjectID 501", 0), 0u) << run.err;
}

TEST(CliObjects, UnreadableWadExitsWith2AndTheReadWadMessage) {
  struct Case {
    const char* name;
    bool writeFile;
    int section;  // count set to 0; -1 for none
    std::string prefix;
  };
  const Case cases[] = {
      {"NumStateChanges 0", true, 5, "ReadWAD -> error code 9\n"},
      {"NumMoveables 0", true, 10, "ReadWAD -> error code 9\n"},
      {"missing file", false, -1, "ReadWAD -> error code 2\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Files files;
    Write(files, TwoObjects(SimpleMesh()));
    if (!c.writeFile) std::filesystem::remove(files.wad);
    if (c.section >= 0) {
      WadLayout layout = WadLayout::Of(TwoObjects(SimpleMesh()));
      layout.counts[static_cast<std::size_t>(c.section)] = 0;
      WriteFileBytes(files.wad, layout.bytes());
    }
    const CliRun run = RunCliProcess({"objects", "--names", files.names, files.wad}, files.dir.path());
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err.rfind(c.prefix, 0), 0u) << run.err;
    EXPECT_GT(run.err.size(), c.prefix.size()) << "no description after the number";
  }
}

TEST(CliObjects, NameFileBesideTheExecutableIsTheDefault) {
  Files files;
  Write(files, TwoObjects(SimpleMesh()));
  // A copy of the program in a folder of its own, its name file beside it.
  const std::filesystem::path programDir = files.dir / "program";
  std::filesystem::create_directory(programDir);
  const std::filesystem::path program = programDir / "tarnlow-cli";
  std::filesystem::copy_file(CliPath(), program);
  WriteObjectNames(programDir / "TR4Objects.dat", Names());

  const CliRun run = RunCliProcess({"objects", files.wad}, files.dir.path(), program);
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.out.rfind("LARA\n", 0), 0u) << run.out;
  EXPECT_NE(run.out.find("\nBAT\n"), std::string::npos) << run.out;
}

TEST(CliObjects, NameFileProblemWarnsOnceAndTheListingGoesOn) {
  ObjectNamesFileContent tooMany = Names();
  tooMany.objectNames.resize(502, "EXTRA");  // one more than the table's 501 rows
  struct Case {
    const char* name;
    bool writeNames;
    ObjectNamesFileContent names;
    const char* firstLine;
  };
  const Case cases[] = {
      {"more names than rows", true, tooMany, "LARA\n"},
      {"no name file", false, {}, "\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Files files;
    Write(files, TwoObjects(SimpleMesh()), c.names);
    if (!c.writeNames) std::filesystem::remove(files.names);
    const CliRun run = RunCliProcess({"objects", "--names", files.names, files.wad}, files.dir.path());
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err.rfind("warning: ", 0), 0u) << run.err;
    EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << "more than one line: " << run.err;
    EXPECT_NE(run.err.find(files.names), std::string::npos) << run.err;
    EXPECT_EQ(run.out.rfind(c.firstLine, 0), 0u) << run.out;
    EXPECT_NE(run.out.find("    Mesh 02\n"), std::string::npos) << run.out;
  }
}

}  // namespace
}  // namespace tarnlow::test
