#include "mesh/mesh_lists.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/wad_builder.h"

namespace tarnlow {
namespace {

using test::Moveable;
using test::WadBuilder;
using Texts = std::vector<std::string>;

std::unique_ptr<ObjectNameTables> Names() {
  auto names = std::make_unique<ObjectNameTables>();
  auto& column = names->ObjectNames[ObjectNameTables::kObjectColumn];
  column[0] = "LARA";
  column[5] = "GRENADE_GUN_ANIM";
  column[90] = "BAT";
  column[500] = "LAST_ROW";
  return names;
}

// One name per moveable in document order, duplicates kept; the list stops
// at the first ObjectID without a row, without a message.
TEST(ObjectList, ListsNamesInDocumentOrderUpToTheFirstIdWithoutARow) {
  const struct {
    std::vector<std::int32_t> ids;
    Texts expected;
  } cases[] = {
      {{90, 0, 5, 90}, {"BAT", "LARA", "GRENADE_GUN_ANIM", "BAT"}},
      {{500, 501, 0}, {"LAST_ROW"}},
      {{500, -1, 0}, {"LAST_ROW"}},
      {{500, INT_MIN, 0}, {"LAST_ROW"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.ids[1]);
    std::vector<MoveableRecord> moveables;
    for (const std::int32_t id : c.ids) moveables.push_back(Moveable(id, 1, 0));
    EXPECT_EQ(ObjectListLines(WadBuilder().moveables(moveables).build(), *Names()), c.expected);
  }
}

// List positions are signed 16-bit.
TEST(ObjectList, MoreThan32768MoveablesGiveAnEmptyList) {
  std::vector<MoveableRecord> moveables(32768, Moveable(0, 1, 0));
  EXPECT_EQ(ObjectListLines(WadBuilder().moveables(moveables).build(), *Names()).size(), 32768u);
  moveables.push_back(Moveable(0, 1, 0));
  EXPECT_TRUE(ObjectListLines(WadBuilder().moveables(moveables).build(), *Names()).empty());
}

// Mesh data for the mesh lists: the null shape at offset 0, a real mesh, the
// null shape again and a mesh that cannot be decoded (vertex count word
// 0x8000). The object under test points at them through its own pointers.
class MeshListTest : public ::testing::Test {
 protected:
  MeshListTest() {
    MeshRecord broken = test::SimpleMesh();
    broken.NumVertices = -32768;
    data_ = WadBuilder().meshes({test::NullShapeMesh(), test::SimpleMesh(), test::NullShapeMesh(), broken}).build();
    real_ = data_.MeshPointers[1];
    null_ = data_.MeshPointers[2];
    broken_ = data_.MeshPointers[3];
  }

  // The mesh list of a document holding one object over `pointers`.
  std::vector<MeshListLine> Lines(std::vector<std::int32_t> pointers, MoveableRecord object) const {
    WadDocument doc = data_;
    doc.NumMeshPointers = static_cast<std::int32_t>(pointers.size());
    doc.MeshPointers = RecordArray<std::int32_t>::fromRecords(std::span<const std::int32_t>(pointers));
    doc.NumMoveables = 1;
    doc.Moveables = RecordArray<MoveableRecord>::fromRecords({object});
    return MeshListLines(doc, 0);
  }

  static Texts TextsOf(const std::vector<MeshListLine>& lines) {
    Texts out;
    for (const MeshListLine& l : lines) out.push_back(l.text);
    return out;
  }

  WadDocument data_;
  std::int32_t real_ = 0;
  std::int32_t null_ = 0;
  std::int32_t broken_ = 0;
};

// A mesh that cannot be looked at keeps its line, marked with the kind of
// failure, so the numbering of the meshes after it stays; its failure says why.
TEST_F(MeshListTest, ListsOneMarkedLinePerMeshOfTheObject) {
  const struct {
    const char* name;
    std::vector<std::int32_t> pointers;
    MoveableRecord object;
    Texts expected;
    const char* failureMentions;  // in the first failed line's detail
  } cases[] = {
      {"zero pointer is a dummy even over the null shape", {real_, 0, real_, null_, 0}, Moveable(0, 4, 1),
       {"Mesh 00 DUMMY", "Mesh 01", "Mesh 02 NULL", "Mesh 03 DUMMY"}, nullptr},
      {"positions past the mesh pointers", {0, null_, real_}, Moveable(0, 4, 1),
       {"Mesh 00 NULL", "Mesh 01", "Mesh 02 (unreadable: out of range)", "Mesh 03 (unreadable: out of range)"},
       "mesh position 3"},
      {"negative first mesh", {real_, null_}, Moveable(0, 3, -1),
       {"Mesh 00 (unreadable: out of range)", "Mesh 01", "Mesh 02 NULL"}, "mesh position -1"},
      // Position 32768 exists in the array but not as a signed 16-bit sum.
      {"position beyond 32767", std::vector<std::int32_t>(32770, real_), Moveable(0, 3, 32766),
       {"Mesh 00", "Mesh 01", "Mesh 02 (unreadable: out of range)"}, "32768"},
      {"mesh that fails to decode", {broken_, real_, null_}, Moveable(0, 3, 0),
       {"Mesh 00 (unreadable: overflow)", "Mesh 01", "Mesh 02 NULL"}, "vertex count"},
      {"no meshes", {real_}, Moveable(0, 0, 0), {}, nullptr},
      {"negative mesh count", {real_}, Moveable(0, -1, 0), {}, nullptr},
      {"most negative mesh count", {real_}, Moveable(0, -32768, 0), {}, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::vector<MeshListLine> lines = Lines(c.pointers, c.object);
    EXPECT_EQ(TextsOf(lines), c.expected);
    const auto failed = std::find_if(lines.begin(), lines.end(), [](const MeshListLine& l) { return l.failure.has_value(); });
    ASSERT_EQ(failed != lines.end(), c.failureMentions != nullptr);
    if (failed != lines.end()) {
      EXPECT_NE(failed->failure->detail.find(c.failureMentions), std::string::npos) << failed->failure->detail;
    }
  }
}

TEST_F(MeshListTest, NumbersLinesWithAtLeastTwoDigits) {
  const struct {
    std::int16_t meshes;
    const char* last;
  } cases[] = {{1, "Mesh 00"}, {12, "Mesh 11"}, {101, "Mesh 100"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.last);
    const Texts texts = TextsOf(Lines(std::vector<std::int32_t>(200, real_), Moveable(0, c.meshes, 50)));
    ASSERT_EQ(texts.size(), static_cast<std::size_t>(c.meshes));
    EXPECT_EQ(texts.front(), "Mesh 00");
    EXPECT_EQ(texts.back(), c.last);
    if (c.meshes > 7) {
      EXPECT_EQ(texts[7], "Mesh 07");
    }
  }
}

TEST_F(MeshListTest, IndexPastTheMoveablesListsNothing) {
  EXPECT_TRUE(MeshListLines(data_, data_.Moveables.size()).empty());
}

TEST_F(MeshListTest, UnknownFacesReachTheHandlerAndTheLineStays) {
  MeshRecord odd = test::NullShapeMesh();
  odd.NumFaces = 2;
  odd.Faces = {MeshFace{MeshFace::kTriangle, {0, 1, 2}, 0, 0}, MeshFace{12, {}, 0, 0}};
  const WadDocument doc =
      WadBuilder().meshes({test::SimpleMesh(), odd}).moveables({Moveable(0, 1, 1)}).build();
  std::vector<int> reported;
  const std::vector<MeshListLine> lines = MeshListLines(doc, 0, [&](int face) { reported.push_back(face); });
  EXPECT_EQ(TextsOf(lines), Texts{"Mesh 00 NULL"});
  EXPECT_EQ(reported, (std::vector<int>{1}));
}

}  // namespace
}  // namespace tarnlow
