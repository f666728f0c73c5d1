#include "ui/object_lists.h"

#include <QAction>
#include <QListWidget>

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
  frmMain& w = startWith(writeWad("level1.wad", StoryWad()));
  struct Case {
    int row;
    std::vector<std::string> lines;
  };
  for (const Case& c : {Case{0, {"Mesh 00 DUMMY", "Mesh 01"}}, Case{1, {"Mesh 00 NULL"}}}) {
    SCOPED_TRACE(c.row);
    w.cboMeshes->setCurrentRow(c.row);
    EXPECT_EQ(Lines(*w.MeshList), c.lines);
  }
  EXPECT_EQ(platform.story().size(), 1u) << "no message for readable meshes";
}

TEST_F(ObjectListsTest, UnreadableMeshIsNamedInOneMessageAndItsLineStays) {
  frmMain& w = startWith(writeWad("level1.wad", StoryWad()));
  platform.answerMessage();
  w.cboMeshes->setCurrentRow(2);
  const std::vector<std::string> lines = Lines(*w.MeshList);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], "Mesh 00 NULL");
  EXPECT_TRUE(lines[1].starts_with("Mesh 01")) << lines[1];
  const std::vector<std::string> texts = platform.messageTexts();
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_NE(texts[0].find("\nMesh 01: out of range"), std::string::npos) << texts[0];
  EXPECT_NE(texts[0].find(*w.session().names.ObjectName(2)), std::string::npos) << texts[0];
}

TEST_F(ObjectListsTest, EachUnknownFaceShowsItsOwnMessageAndTheLineFollows) {
  MeshRecord odd = tarnlow::test::SimpleMesh();
  odd.Faces = {MeshFace{7, {}, 0, 0}, MeshFace{6, {}, 0, 0}};
  odd.NumFaces = 2;
  const WadDocument document = tarnlow::test::WadBuilder()
                                   .meshes({tarnlow::test::SimpleMesh(), odd})
                                   .moveables({tarnlow::test::Moveable(0, 2, 0)})
                                   .build();
  frmMain& w = startWith(writeWad("odd.wad", document));
  platform.answerMessage();
  platform.answerMessage();
  w.cboMeshes->setCurrentRow(0);
  const std::vector<std::string> story = platform.story();
  ASSERT_EQ(story.size(), 3u);
  EXPECT_EQ(story[1], "Message [Tarnlow] ok Unknown FaceType - Face 0");
  EXPECT_EQ(story[2], "Message [Tarnlow] ok Unknown FaceType - Face 1");
  EXPECT_EQ(Lines(*w.MeshList), (std::vector<std::string>{"Mesh 00 DUMMY", "Mesh 01"}));
}

TEST_F(ObjectListsTest, OpeningAnotherWadLeavesTheMeshListAlone) {
  frmMain& w = startWith(writeWad("level1.wad", StoryWad()));
  w.cboMeshes->setCurrentRow(0);
  const std::vector<std::string> before = Lines(*w.MeshList);
  const WadDocument other = tarnlow::test::WadBuilder()
                                .moveables({tarnlow::test::Moveable(3, 0, 0), tarnlow::test::Moveable(3, 0, 0)})
                                .build();
  platform.answerOpen(writeWad("level2.wad", other));
  w.mnuWAD->trigger();
  EXPECT_EQ(Lines(*w.MeshList), before);
  EXPECT_EQ(w.cboMeshes->count(), 2);
  w.cboMeshes->setCurrentRow(1);
  EXPECT_TRUE(Lines(*w.MeshList).empty());
}

}  // namespace
}  // namespace tarnlow::ui::test
