#include "mesh/mesh_lists.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/support/wad_builder.h"

namespace tarnlow {
namespace {

using test::Moveable;
using test::NullShapeMesh;
using test::SimpleMesh;
using test::WadBuilder;

std::unique_ptr<ObjectNameTables> Names() {
  auto names = std::make_unique<ObjectNameTables>();
  auto& column = names->ObjectNames[ObjectNameTables::kObjectColumn];
  column[0] = "LARA";
  column[1] = "PISTOLS_ANIM";
  column[5] = "GRENADE_GUN_ANIM";
  column[90] = "BAT";
  column[500] = "LAST_ROW";
  return names;
}

std::vector<std::string> Texts(const std::vector<MeshListLine>& lines) {
  std::vector<std::string> out;
  for (const MeshListLine& l : lines) out.push_back(l.text);
  return out;
}

std::vector<std::int32_t> Repeated(std::size_t count, std::int32_t value) {
  return std::vector<std::int32_t>(count, value);
}

TEST(ObjectList, ListsNamesInDocumentOrderWithDuplicates) {
  const WadDocument doc =
      WadBuilder().moveables({Moveable(90, 1, 0), Moveable(0, 1, 0), Moveable(5, 1, 0), Moveable(90, 1, 0)}).build();
  EXPECT_EQ(ObjectListLines(doc, *Names()),
            (std::vector<std::string>{"BAT", "LARA", "GRENADE_GUN_ANIM", "BAT"}));
}

TEST(ObjectList, StopsAtTheFirstObjectIdWithoutARow) {
  const auto names = Names();
  struct Case {
    const char* name;
    std::int32_t badId;
  };
  for (const Case& c : {Case{"501", 501}, Case{"-1", -1}, Case{"most negative", INT32_MIN}}) {
    SCOPED_TRACE(c.name);
    const WadDocument doc =
        WadBuilder().moveables({Moveable(500, 1, 0), Moveable(c.badId, 1, 0), Moveable(0, 1, 0)}).build();
    EXPECT_EQ(ObjectListLines(doc, *names), (std::vector<std::string>{"LAST_ROW"}));
  }
}

TEST(ObjectList, MoreThan32768MoveablesGiveAnEmptyList) {
  const auto names = Names();
  const std::vector<MoveableRecord> fitting(32768, Moveable(1, 1, 0));
  EXPECT_EQ(ObjectListLines(WadBuilder().moveables(fitting).build(), *names).size(), 32768u);

  std::vector<MoveableRecord> tooMany = fitting;
  tooMany.push_back(Moveable(1, 1, 0));
  EXPECT_TRUE(ObjectListLines(WadBuilder().moveables(tooMany).build(), *names).empty());
}

// Mesh data used by the mesh-list tests: the null shape at offset 0, then a
// real mesh, then the null shape again.
struct Meshes {
  WadDocument document;
  std::int32_t nullAtZero = 0;
  std::int32_t real = 0;
  std::int32_t null = 0;
};

Meshes ThreeMeshes() {
  Meshes m;
  m.document = WadBuilder().meshes({NullShapeMesh(), SimpleMesh(), NullShapeMesh()}).build();
  m.real = m.document.MeshPointers[1];
  m.null = m.document.MeshPointers[2];
  return m;
}

WadDocument WithObject(WadDocument doc, std::vector<std::int32_t> pointers, MoveableRecord moveable) {
  doc.NumMeshPointers = static_cast<std::int32_t>(pointers.size());
  doc.MeshPointers = RecordArray<std::int32_t>::fromRecords(std::span<const std::int32_t>(pointers));
  doc.NumMoveables = 1;
  doc.Moveables = RecordArray<MoveableRecord>::fromRecords({moveable});
  return doc;
}

TEST(MeshList, MarksZeroPointersDummyEvenOverANullShapeAndNullShapesNull) {
  const Meshes m = ThreeMeshes();
  const WadDocument doc = WithObject(m.document, {m.real, 0, m.real, m.null, 0}, Moveable(0, 4, 1));
  const std::vector<MeshListLine> lines = MeshListLines(doc, 0);
  EXPECT_EQ(Texts(lines), (std::vector<std::string>{"Mesh 00 DUMMY", "Mesh 01", "Mesh 02 NULL", "Mesh 03 DUMMY"}));
  for (const MeshListLine& l : lines) EXPECT_FALSE(l.failure.has_value()) << l.text;
}

TEST(MeshList, NumbersLinesWithAtLeastTwoDigits) {
  const Meshes m = ThreeMeshes();
  struct Case {
    std::int16_t meshes;
    const char* last;
  };
  for (const Case& c : {Case{1, "Mesh 00"}, Case{12, "Mesh 11"}, Case{101, "Mesh 100"}}) {
    SCOPED_TRACE(c.last);
    const WadDocument doc = WithObject(m.document, Repeated(200, m.real), Moveable(0, c.meshes, 50));
    const std::vector<std::string> texts = Texts(MeshListLines(doc, 0));
    ASSERT_EQ(texts.size(), static_cast<std::size_t>(c.meshes));
    EXPECT_EQ(texts.front(), "Mesh 00");
    EXPECT_EQ(texts.back(), c.last);
    if (c.meshes > 7) {
      EXPECT_EQ(texts[7], "Mesh 07");
    }
  }
}

TEST(MeshList, ObjectWithoutMeshesOrUnknownMoveableListsNothing) {
  const Meshes m = ThreeMeshes();
  for (std::int16_t count : {std::int16_t{0}, std::int16_t{-1}, std::int16_t{-32768}}) {
    SCOPED_TRACE(count);
    EXPECT_TRUE(MeshListLines(WithObject(m.document, {m.real}, Moveable(0, count, 0)), 0).empty());
  }
  EXPECT_TRUE(MeshListLines(WithObject(m.document, {m.real}, Moveable(0, 1, 0)), 1).empty());
}

TEST(MeshList, PositionOutsideMeshPointersKeepsAMarkedLineAndGoesOn) {
  const Meshes m = ThreeMeshes();
  const WadDocument doc = WithObject(m.document, {0, m.null, m.real}, Moveable(0, 4, 1));
  const std::vector<MeshListLine> lines = MeshListLines(doc, 0);
  EXPECT_EQ(Texts(lines), (std::vector<std::string>{"Mesh 00 NULL", "Mesh 01", "Mesh 02 (unreadable: out of range)",
                                                    "Mesh 03 (unreadable: out of range)"}));
  ASSERT_TRUE(lines[2].failure.has_value());
  EXPECT_EQ(lines[2].failure->kind, MeshFailureKind::OutOfRange);
  EXPECT_NE(lines[2].failure->detail.find("mesh position 3"), std::string::npos) << lines[2].failure->detail;
}

TEST(MeshList, NegativeFirstMeshKeepsMarkedLines) {
  const Meshes m = ThreeMeshes();
  const WadDocument doc = WithObject(m.document, {m.real, m.null}, Moveable(0, 3, -1));
  EXPECT_EQ(Texts(MeshListLines(doc, 0)),
            (std::vector<std::string>{"Mesh 00 (unreadable: out of range)", "Mesh 01", "Mesh 02 NULL"}));
}

TEST(MeshList, PositionBeyond32767IsOutsideEvenWhenMeshPointersHoldsIt) {
  const Meshes m = ThreeMeshes();
  // 32770 pointers: position 32768 exists in the array but not as a 16-bit sum.
  const WadDocument doc = WithObject(m.document, Repeated(32770, m.real), Moveable(0, 3, 32766));
  const std::vector<MeshListLine> lines = MeshListLines(doc, 0);
  EXPECT_EQ(Texts(lines),
            (std::vector<std::string>{"Mesh 00", "Mesh 01", "Mesh 02 (unreadable: out of range)"}));
  ASSERT_TRUE(lines[2].failure.has_value());
  EXPECT_NE(lines[2].failure->detail.find("32768"), std::string::npos) << lines[2].failure->detail;
}

TEST(MeshList, MeshThatFailsToDecodeKeepsAMarkedLineWithItsReason) {
  MeshRecord broken = SimpleMesh();
  broken.NumVertices = -32768;  // count word 0x8000
  const WadDocument built = WadBuilder().meshes({NullShapeMesh(), broken, SimpleMesh(), NullShapeMesh()}).build();
  const WadDocument doc =
      WithObject(built, {built.MeshPointers[1], built.MeshPointers[2], built.MeshPointers[3]}, Moveable(0, 3, 0));
  const std::vector<MeshListLine> lines = MeshListLines(doc, 0);
  EXPECT_EQ(Texts(lines), (std::vector<std::string>{"Mesh 00 (unreadable: overflow)", "Mesh 01", "Mesh 02 NULL"}));
  ASSERT_TRUE(lines[0].failure.has_value());
  EXPECT_EQ(lines[0].failure->kind, MeshFailureKind::Overflow);
  EXPECT_NE(lines[0].failure->detail.find("vertex count"), std::string::npos) << lines[0].failure->detail;
}

TEST(MeshList, UnknownFacesReachTheHandlerAndTheLineStays) {
  MeshRecord odd = NullShapeMesh();
  odd.NumFaces = 2;
  odd.Faces = {MeshFace{MeshFace::kTriangle, {0, 1, 2}, 0, 0}, MeshFace{12, {}, 0, 0}};
  const WadDocument built = WadBuilder().meshes({SimpleMesh(), odd}).build();
  const WadDocument doc = WithObject(built, {built.MeshPointers[1]}, Moveable(0, 1, 0));
  std::vector<int> reported;
  const std::vector<MeshListLine> lines = MeshListLines(doc, 0, [&](int face) { reported.push_back(face); });
  EXPECT_EQ(Texts(lines), (std::vector<std::string>{"Mesh 00 NULL"}));
  EXPECT_EQ(reported, (std::vector<int>{1}));
}

}  // namespace
}  // namespace tarnlow
