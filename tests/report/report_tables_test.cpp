#include "report/report_tables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "tests/report/golden_report.h"
#include "tests/support/wad_builder.h"

namespace tarnlow {
namespace {

std::vector<std::string> Texts(ReportBuilder& builder) {
  std::vector<std::string> out;
  for (ReportLine& line : builder.take()) {
    EXPECT_FALSE(line.bold) << line.text;
    out.push_back(std::move(line.text));
  }
  return out;
}

std::size_t Fields(const std::string& line) { return static_cast<std::size_t>(std::count(line.begin(), line.end(), ',')) + 1; }

TEST(AnimationTable, HeaderAndEveryRowHaveTwentyEightColumns) {
  ReportBuilder builder;
  AddAnimationTable(builder, test::GoldenDocument());
  const auto lines = Texts(builder);
  ASSERT_EQ(lines.size(), 4u);
  for (const std::string& line : lines) EXPECT_EQ(Fields(line), 28u) << line;
}

TEST(AnimationTable, PrintsBytesUnsignedAndWordsSigned) {
  AnimationRecord a;
  a.FrameOffset = -70000;
  a.FrameRate = 255;
  a.FrameSize = 128;
  a.StateID = -1;
  a.Unknown1 = {129, 0, 0, 0, 0, 0, 0, 200};
  a.Unknown2 = {0, 0, 0, 0, 0, 0, 0, 255};
  a.FrameStart = -32768;
  a.AnimCommandCount = 4242;
  a.AnimCommands = 32767;
  ReportBuilder builder;
  AddAnimationTable(builder, test::WadBuilder().animations({a}).build());
  EXPECT_EQ(Texts(builder)[1],
            "  0, -70 000,  255,  128,  -1,  129,  0,  0,  0,  0,  0,  0,  200"
            ",  0,  0,  0,  0,  0,  0,  0,  255, -32 768,  0,  0,  0,  0,  0, 32 767");
}

TEST(Tables, UseTheirOwnSeparators) {
  const WadDocument document = test::WadBuilder()
                                   .meshPointers({0, 1234})
                                   .stateChanges({{1, -2, 3}})
                                   .animDispatches({{1, 2, 3, 4}})
                                   .animCommands({-7})
                                   .build();
  const struct {
    const char* name;
    void (*add)(ReportBuilder&, const WadDocument&);
    std::vector<std::string> lines;
  } cases[] = {
      {"mesh pointers", AddMeshPointerTable,
       {"No , MeshPointer(Dec), MeshPointer(Hex)", "  0,   0, 0", "  1,  1 234, 4D2"}},
      {"state changes", AddStateChangeTable, {"No ,StateID, NumAnimDispatched, AnimDispatches", "  0,  1,  -2,  3"}},
      {"dispatches", AddDispatchTable, {"No, Low, High, NextAnimation, NextFrame", "  0,   1,   2,   3,   4"}},
      {"commands", AddCommandTable, {"No, AnimCommand", "  0,   -7"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ReportBuilder builder;
    c.add(builder, document);
    EXPECT_EQ(Texts(builder), c.lines);
  }
}

TEST(MeshTable, PrintsVerticesButNoNormalRowsForAMeshWithShades) {
  MeshRecord mesh = test::SimpleMesh(3);
  mesh.CentreX = -5;
  mesh.CollisionSize = 70000;
  mesh.NumNormals = -4;
  mesh.Normals.clear();
  mesh.Shades = {1, 2, 3, 4};
  ReportBuilder builder;
  AddMeshTable(builder, {mesh});
  const std::vector<std::string> expected{
      "No, Centre X ,Y ,Z ,Collision Size, Number of Vertices, Number of Normals, Number of Faces",
      "  0,  -5,  2,  3, 70 000,  3,  -4,  1",
      "  , Vertices No, X ,Y ,Z ",
      "  ,   0,  0,  0,  0",
      "  ,   1,  10,  0,  0",
      "  ,   2,  20,  0,  0",
      "  , Normals No, X ,Y ,Z ",
      std::string(61, '-'),
  };
  EXPECT_EQ(Texts(builder), expected);
}

TEST(MeshTable, PrintsNormalRowsAfterEachMeshItsVertices) {
  ReportBuilder builder;
  AddMeshTable(builder, {test::SimpleMesh(1), test::NullShapeMesh()});
  const auto lines = Texts(builder);
  EXPECT_EQ(lines.size(), 1u + (1 + 1 + 1 + 1 + 1) + (1 + 1 + 5 + 1 + 1) + 1u);
  EXPECT_EQ(lines[5], "  ,   0,  0, -16 384,  0");
  EXPECT_EQ(lines[6], "  1,  0,  0,  0,  0,  5,  1,  0");
  EXPECT_EQ(lines[14], "  ,   0,  0,  0, 16 384");
}

TEST(MeshTable, AddsNothingWithoutMeshes) {
  ReportBuilder builder;
  AddMeshTable(builder, {});
  EXPECT_TRUE(builder.take().empty());
}

}  // namespace
}  // namespace tarnlow
