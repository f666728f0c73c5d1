// The Animations page: the object and mesh lists, the pictures of the
// selected line, the texture pages after each open, and the buttons
// between them.
#include <QMouseEvent>

#include "tests/ui/support/window_story.h"
#include "ui/mesh_preview_widget.h"
#include "ui/object_view_widget.h"
#include "ui/texture_page_widget.h"

namespace tarnlow::ui::test {
namespace {

using State = MeshPreviewWidget::State;
using Widgets = std::initializer_list<const QWidget*>;

// A mouse click on a line of a shown list, as the user makes it.
void ClickLine(QListWidget& list, int row) {
  const QPoint at = list.visualItemRect(list.item(row)).center();
  const QPoint global = list.viewport()->mapToGlobal(at);
  QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(list.viewport(), &press);
  QApplication::sendEvent(list.viewport(), &release);
}

// Which picture is up, and that its button alone is pressed.
bool Shows(const frmMain& w, const QWidget* picture) {
  const std::pair<const QWidget*, const QPushButton*> pairs[] = {
      {w.picMesh, w.cmdMesh},
      {w.picTextures, w.cmdTextures},
      {w.picObject, w.cmdObject},
      {w.picStatics, w.cmdStatics}};
  bool buttonsAgree = true;
  for (const auto& [widget, button] : pairs) buttonsAgree = buttonsAgree && button->isChecked() == (widget == picture);
  const bool up = picture == w.picStatics ? !w.picStatics->isHidden() : w.picPreview->currentWidget() == picture;
  return up && buttonsAgree;
}

std::vector<std::string> Lines(const QListWidget& list) {
  std::vector<std::string> lines;
  for (int i = 0; i < list.count(); ++i) lines.push_back(list.item(i)->text().toStdString());
  return lines;
}

class ObjectListsTest : public WindowStory {};

TEST_F(ObjectListsTest, SelectingAnObjectListsItsMeshesAndAnUnreadableOneKeepsItsLineAndIsNamedInOneMessage) {
  frmMain& w = startWithStory();
  const std::pair<int, std::vector<std::string>> cases[] = {{0, {"Mesh 00 DUMMY", "Mesh 01"}}, {1, {"Mesh 00 NULL"}}};
  for (const auto& [row, lines] : cases) {
    w.cboMeshes->setCurrentRow(row);
    EXPECT_EQ(Lines(*w.MeshList), lines) << row;
  }
  EXPECT_EQ(platform.story.size(), 1u) << "no message for readable meshes";
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

class MainWindowPreviewTest : public WindowStory {};

TEST_F(MainWindowPreviewTest, OpeningShowsTheTexturePagesOfTheNewWadAndClearsTheMesh) {
  frmMain& w = startWithStory();
  EXPECT_TRUE(Shows(w, w.picTextures));
  EXPECT_EQ(w.picTextures->image().size(), QSize(256, 1));
  EXPECT_EQ(w.picMesh->state(), State::Empty);
  w.cboMeshes->setCurrentRow(0);
  w.MeshList->setCurrentRow(1);
  ASSERT_EQ(w.picMesh->state(), State::Mesh);

  const WadDocument textured =
      WadBuilder().textureRows(300).meshes({SimpleMesh(), SimpleMesh(6)}).moveables({Moveable(0, 2, 0)}).build();
  platform.answerOpen(writeWad("level2.wad", textured));
  w.mnuWAD->trigger();
  EXPECT_EQ(w.picMesh->state(), State::Empty);
  EXPECT_TRUE(Shows(w, w.picTextures));
  EXPECT_EQ(w.picTextures->pageCount(), 2);
  EXPECT_EQ(w.cboMeshes->count(), 1);
  EXPECT_EQ(w.MeshList->count(), 2) << "the mesh list keeps its lines";

  // Those lines name meshes of level1: choosing one draws nothing of level2.
  w.MeshList->setCurrentRow(0);
  EXPECT_EQ(w.picMesh->state(), State::Failure);
  EXPECT_TRUE(w.picMesh->caption().contains("Select an object")) << w.picMesh->caption().toStdString();
  w.cboMeshes->setCurrentRow(0);
  w.MeshList->setCurrentRow(1);
  EXPECT_TRUE(w.picMesh->caption().startsWith("6 vertices")) << w.picMesh->caption().toStdString();
}

// Which mesh each line means is the mesh preview's own test; here, that a
// line reaches it, and that the list's message about a mesh outside the
// pointers is the only one.
TEST_F(MainWindowPreviewTest, MeshLineDrawsItsMeshAndHighlightsItInTheObjectThatSelectingAnObjectShows) {
  frmMain& w = startWithStory();
  w.cboMeshes->setCurrentRow(0);
  w.MeshList->setCurrentRow(0);
  EXPECT_EQ(w.picMesh->state(), State::Dummy);
  EXPECT_TRUE(Shows(w, w.picMesh));
  w.MeshList->setCurrentRow(1);
  EXPECT_EQ(w.picObject->highlightedMesh(), 1);
  w.cboMeshes->setCurrentRow(1);
  EXPECT_EQ(w.picMesh->state(), State::Empty);
  EXPECT_TRUE(Shows(w, w.picObject));
  EXPECT_TRUE(w.picObject->hasObject());
  EXPECT_EQ(w.picObject->highlightedMesh(), std::nullopt);
  w.cmdTextures->click();
  w.cmdObject->click();
  EXPECT_TRUE(Shows(w, w.picObject));
  platform.answerMessage();
  w.cboMeshes->setCurrentRow(2);
  w.MeshList->setCurrentRow(1);
  EXPECT_EQ(w.picMesh->state(), State::Failure);
}

TEST_F(MainWindowPreviewTest, ButtonsOrAClickOnTheCurrentLineSwitchBetweenTheMeshAndTheTexturePages) {
  frmMain& w = startWithStory();
  w.show();
  w.tabS->setCurrentIndex(1);
  QApplication::processEvents();
  w.cboMeshes->setCurrentRow(0);
  ClickLine(*w.MeshList, 1);
  ASSERT_TRUE(Shows(w, w.picMesh));
  w.cmdTextures->click();
  w.cmdTextures->click();  // pressing the pressed button keeps it down
  EXPECT_TRUE(Shows(w, w.picTextures));
  w.cmdMesh->click();
  EXPECT_TRUE(Shows(w, w.picMesh));
  EXPECT_EQ(w.picMesh->state(), State::Mesh) << "the mesh waited behind the pages";
  w.cmdTextures->click();
  ClickLine(*w.MeshList, 1);
  EXPECT_TRUE(Shows(w, w.picMesh));
  w.close();
}

TEST_F(MainWindowPreviewTest, PicturesAndButtonsStayOutOfTheListsWay) {
  frmMain& w = makeWindow();
  const Widgets mine = {w.picPreview, w.cmdMesh, w.cmdTextures, w.cmdObject, w.cmdCheck, w.cmdStatics};
  for (const QWidget* one : mine) {
    EXPECT_EQ(one->parentWidget(), w.fraWad[1]);
    EXPECT_TRUE(w.fraWad[1]->rect().contains(one->geometry())) << "inside the page";
    for (const QWidget* other : Widgets{w.lblMeshes, w.cboMeshes, w.lblOneObj, w.MeshList}) {
      EXPECT_FALSE(one->geometry().intersects(other->geometry()));
    }
    for (const QWidget* other : mine) EXPECT_TRUE(one == other || !one->geometry().intersects(other->geometry()));
  }
}

}  // namespace
}  // namespace tarnlow::ui::test
