#include "ui/object_lists.h"

#include "tests/ui/support/window_story.h"

namespace tarnlow::ui::test {
namespace {

std::vector<std::string> Lines(const QListWidget& list) {
  std::vector<std::string> lines;
  for (int i = 0; i < list.count(); ++i) lines.push_back(list.item(i)->text().toStdString());
  return lines;
}

class ObjectListsTest : public WindowStory {};

TEST_F(ObjectListsTest, SelectingAnObjectListsItsMeshesWithTheirMarks) {
  frmMain& w = startWithStory();
  const std::pair<int, std::vector<std::string>> cases[] = {{0, {"Mesh 00 DUMMY", "Mesh 01"}}, {1, {"Mesh 00 NULL"}}};
  for (const auto& [row, lines] : cases) {
    w.cboMeshes->setCurrentRow(row);
    EXPECT_EQ(Lines(*w.MeshList), lines) << row;
  }
  EXPECT_EQ(platform.story.size(), 1u) << "no message for readable meshes";
}

TEST_F(ObjectListsTest, UnreadableMeshIsNamedInOneMessageAndItsLineStays) {
  frmMain& w = startWithStory();
  platform.answerMessage();
  w.cboMeshes->setCurrentRow(2);
  const std::vector<std::string> lines = Lines(*w.MeshList);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], "Mesh 00 NULL");
  EXPECT_TRUE(lines[1].starts_with("Mesh 01")) << lines[1];
  ASSERT_EQ(platform.messageTexts.size(), 1u);
  EXPECT_NE(platform.messageTexts[0].find("\nMesh 01: out of range"), std::string::npos) << platform.messageTexts[0];
  EXPECT_NE(platform.messageTexts[0].find(*w.session().names.ObjectName(2)), std::string::npos);
}

TEST_F(ObjectListsTest, EachUnknownFaceShowsItsOwnMessageAndTheLineFollows) {
  MeshRecord odd = SimpleMesh();
  odd.Faces = {MeshFace{7, {}, 0, 0}, MeshFace{6, {}, 0, 0}};
  odd.NumFaces = 2;
  frmMain& w =
      startWith(writeWad("odd.wad", WadBuilder().meshes({SimpleMesh(), odd}).moveables({Moveable(0, 2, 0)}).build()));
  platform.answerMessage();
  platform.answerMessage();
  w.cboMeshes->setCurrentRow(0);
  ASSERT_EQ(platform.story.size(), 3u);
  EXPECT_EQ(platform.story[1], "Message [Tarnlow] ok Unknown FaceType - Face 0");
  EXPECT_EQ(platform.story[2], "Message [Tarnlow] ok Unknown FaceType - Face 1");
  EXPECT_EQ(Lines(*w.MeshList), (std::vector<std::string>{"Mesh 00 DUMMY", "Mesh 01"}));
}

TEST_F(ObjectListsTest, OpeningAnotherWadLeavesTheMeshListAlone) {
  frmMain& w = startWithStory();
  w.cboMeshes->setCurrentRow(0);
  const std::vector<std::string> before = Lines(*w.MeshList);
  platform.answerOpen(writeWad("level2.wad", WadBuilder().moveables({Moveable(3, 0, 0), Moveable(3, 0, 0)}).build()));
  w.mnuWAD->trigger();
  EXPECT_EQ(Lines(*w.MeshList), before);
  EXPECT_EQ(w.cboMeshes->count(), 2);
  w.cboMeshes->setCurrentRow(1);
  EXPECT_TRUE(Lines(*w.MeshList).empty());
}

}  // namespace
}  // namespace tarnlow::ui::test
