// The object view beyond the main window's picture: the static meshes it
// shows, its window of its own, and what "Export..." writes.
#include <QImage>
#include <QWindow>

#include "tests/support/animated_wad.h"
#include "tests/ui/support/window_story.h"
#include "ui/check_window.h"
#include "ui/object_view_widget.h"
#include "ui/object_view_window.h"
#include "ui/qt_text.h"
#include "wad/file_paths.h"

namespace tarnlow::ui::test {
namespace {

using tarnlow::test::StaticMeshAt;

// A WAD whose cross-references hold, its first object animated (not LARA,
// so no skin is missing), with two statics: slot 0 on mesh 1, and a slot the
// name file does not name on a mesh position past the pointers.
WadDocument WithStatics() {
  tarnlow::test::AnimatedWad wad = tarnlow::test::AnimatedWad::Clean();
  wad.moveables[0].ObjectID = 100;
  wad.statics = {StaticMeshAt(0, 1), StaticMeshAt(400, 9)};
  return wad.build();
}

class ObjectViewWindowTest : public WindowStory {};

TEST_F(ObjectViewWindowTest, StaticMeshesAreListedByTheirSlotNamesAndShownInTheObjectView) {
  frmMain& w = startWith(writeWad("statics.wad", WithStatics()));
  w.cboMeshes->setCurrentRow(0);
  const int meshLines = w.MeshList->count();
  w.cmdStatics->click();
  EXPECT_FALSE(w.picStatics->isHidden());
  EXPECT_TRUE(w.picPreview->isHidden()) << "the list alone until a static is picked";
  ASSERT_EQ(w.picStatics->count(), 2);
  EXPECT_TRUE(w.picStatics->item(0)->text().startsWith("PLANT0 ")) << w.picStatics->item(0)->text().toStdString();
  EXPECT_EQ(w.picStatics->item(1)->text().toStdString(), "static mesh 1 (slot 400)");

  w.picStatics->setCurrentRow(0);
  EXPECT_EQ(w.picPreview->currentWidget(), w.picObject);
  EXPECT_EQ(w.picObject->staticMesh(), 0u);
  EXPECT_EQ(w.picObject->faces().size(), 1u);
  EXPECT_EQ(w.MeshList->count(), meshLines) << "the object's mesh list stays";
  EXPECT_FALSE(w.picStatics->isHidden()) << "and so does the static list, beside the static";
  EXPECT_FALSE(w.picStatics->geometry().intersects(w.picPreview->geometry()));
  EXPECT_TRUE(w.cmdStatics->isChecked());

  w.cmdStatics->click();
  w.picStatics->setCurrentRow(1);
  EXPECT_TRUE(w.picObject->faces().empty());
  EXPECT_TRUE(w.picObject->caption().contains("outside")) << w.picObject->caption().toStdString();
  EXPECT_EQ(platform.story.size(), 1u) << "said above the picture, not in a message box";
}

TEST_F(ObjectViewWindowTest, OwnWindowShowsWhatThePictureShowsFollowsItAndComesBackWhereItWasLeft) {
  frmMain& w = startWithStory();
  w.cboMeshes->setCurrentRow(0);
  w.picObject->cmdWindow->click();
  ObjectViewWindow* own = w.objectWindow();
  ASSERT_NE(own, nullptr);
  EXPECT_TRUE(own->isVisible());
  // A dialog-type window stays above the main window (on X11 only those are
  // transient for it), and can still be made as large as the screen.
  EXPECT_EQ(own->windowType(), Qt::Dialog);
  EXPECT_EQ(own->windowHandle()->transientParent(), w.windowHandle());
  EXPECT_TRUE(own->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
  EXPECT_EQ(own->view->moveable(), 0u);
  EXPECT_EQ(w.picPreview->currentWidget(), w.picObject) << "the picture stays";
  w.cboMeshes->setCurrentRow(1);
  EXPECT_EQ(own->view->moveable(), 1u);

  const QRect placed(130, 140, 720, 510);
  own->setGeometry(placed);
  own->close();
  ASSERT_FALSE(platform.storedSettings.objectViewGeometry.empty());

  window.reset();
  frmMain& again = startWithStory();
  again.cboMeshes->setCurrentRow(0);
  again.picObject->cmdWindow->click();
  ASSERT_NE(again.objectWindow(), nullptr);
  EXPECT_EQ(again.objectWindow()->geometry(), placed);
}

TEST_F(ObjectViewWindowTest, OwnWindowNamesAStaticAsTheListDoes) {
  frmMain& w = startWith(writeWad("statics.wad", WithStatics()));
  w.cmdStatics->click();
  w.picStatics->setCurrentRow(0);
  w.picObject->cmdWindow->click();
  ASSERT_NE(w.objectWindow(), nullptr);
  EXPECT_EQ(w.objectWindow()->windowTitle(), w.picStatics->item(0)->text() + " - Tarnlow");
}

class ViewExportTest : public WindowStory {};

int Count(const std::string& text, const std::string& what) {
  int n = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

TEST_F(ViewExportTest, ExportWritesThePoseAsObjOrThePictureAsPngByNameOrFilter) {
  frmMain& w = startWith(writeWad("statics.wad", WithStatics()));
  w.show();
  w.tabS->setCurrentIndex(1);
  QApplication::processEvents();
  const struct {
    const char* what;
    int staticMesh;  // -1: object 0 (two meshes of 3 vertices)
    std::string answer;
    int filterIndex;
    std::string written;
    int vertices;  // OBJ "v " lines; -1 a PNG, -2 a GLB with animations, -3 glTF JSON without
  } cases[] = {
      {"the object's pose", -1, "lara.obj", 1, "lara.obj", 6},
      {"a static mesh", 0, "plant.OBJ", 1, "plant.OBJ", 3},
      {"the picture, the extension from the filter", -1, "shot", 4, "shot.png", -1},
      {"the picture by its name", 0, "plant.png", 1, "plant.png", -1},
      {"the object as GLB, the extension from the filter", -1, "lara", 1, "lara.glb", -2},
      {"a static mesh as glTF", 0, "plant.gltf", 1, "plant.gltf", -3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.staticMesh >= 0) {
      w.ShowStaticMesh(static_cast<std::size_t>(c.staticMesh));
    } else {
      w.cboMeshes->setCurrentRow(-1);
      w.cboMeshes->setCurrentRow(0);
    }
    platform.answerSave(pathOf(c.answer), c.filterIndex);
    w.picObject->cmdExport->click();
    ASSERT_TRUE(std::filesystem::exists(dir / c.written));
    const std::string text = ReadFileText(dir / c.written);
    if (c.vertices >= 0) {
      EXPECT_EQ(Count(text, "\nv "), c.vertices);
    } else if (c.vertices == -2) {
      EXPECT_EQ(text.substr(0, 4), "glTF");
      EXPECT_NE(text.find("\"animations\""), std::string::npos);
    } else if (c.vertices == -3) {
      EXPECT_NE(text.find("\"asset\""), std::string::npos);
      EXPECT_EQ(text.find("\"animations\""), std::string::npos);
    } else {
      const QImage picture(QString::fromStdString(pathOf(c.written)));
      EXPECT_EQ(picture.size(), w.picObject->canvas()->size());
    }
  }
  EXPECT_EQ(platform.messageTexts.size(), 0u);
  w.close();
}

TEST_F(ViewExportTest, AFolderThatCannotBeWrittenIsSaidAndACancelWritesNothing) {
  frmMain& w = startWithStory();
  w.cboMeshes->setCurrentRow(0);
  platform.cancelSave();
  w.picObject->cmdExport->click();
  platform.answerSave(pathOf("no-such-folder/lara.obj"), 1);
  platform.answerMessage();
  w.picObject->cmdExport->click();
  EXPECT_EQ(platform.messageTexts.size(), 1u);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2) << "the WAD and its SWD alone";
}

TEST_F(ViewExportTest, ExportAndCompareStartBesideTheWadAndExportSuggestsTheSlotName) {
  frmMain& w = startWith(writeWad("statics.wad", WithStatics()));
  w.cboMeshes->setCurrentRow(0);
  platform.cancelSave();
  w.picObject->cmdExport->click();
  runCheck();
  platform.cancelOpen();
  w.frmCheck->cmdAgainst->click();
  const std::string folder = " folder=" + FolderOf(pathOf("statics.wad"));
  ASSERT_EQ(platform.story.size(), 3u);
  EXPECT_FALSE(platform.story[0].ends_with(folder)) << "the Open dialog starts where it always did";
  EXPECT_TRUE(platform.story[1].ends_with(folder)) << platform.story[1];
  EXPECT_NE(platform.story[1].find(" name=" + ToUtf8(w.cboMeshes->item(0)->text()) + " "), std::string::npos);
  EXPECT_TRUE(platform.story[2].ends_with(folder)) << platform.story[2];
  w.cmdStatics->click();
  w.picStatics->setCurrentRow(0);
  platform.cancelSave();
  w.picObject->cmdExport->click();
  ASSERT_EQ(platform.story.size(), 4u);
  EXPECT_NE(platform.story[3].find(" name=PLANT0 "), std::string::npos) << "the slot name alone: " << platform.story[3];
}

}  // namespace
}  // namespace tarnlow::ui::test
