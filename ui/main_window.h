#pragma once

#include <QMainWindow>
#include <QRect>
#include <array>

#include "anim/finding.h"
#include "ui/file_commands.h"
#include "ui/session.h"

class QAction;
class QFrame;
class QGroupBox;
class QLabel;
class QListWidget;
class QMenu;
class QPushButton;
class QStackedWidget;
class QTabBar;
class QTextEdit;

namespace tarnlow::ui {

class CheckWindow;
class HelpWindow;
class LineControl;
class MergeDialog;
class MeshPreviewWidget;
class ObjectViewWidget;
class ObjectViewWindow;
class Platform;
class SoundsPage;
class TexturePageWidget;
class Twips;

// The main window: it owns the run's session and its controls, and wires
// menu commands and control events to the operations that do the work.
class frmMain : public QMainWindow, private FileCommandView {
  Q_OBJECT

 public:
  // Builds the window and runs its load step: state reset, centred on the
  // screen, object names read from the program's folder (a missing file or a
  // fault in it is told once in a message; the program goes on).
  explicit frmMain(Platform& platform, QWidget* parent = nullptr);
  ~frmMain() override;

  // 0 after "E&xit" or the close button, 1 when a WAD that could not be
  // read ended the program.
  int exitStatus() const { return exitStatus_; }
  // The help window, once "Content..." has made it.
  HelpWindow* helpWindow() const { return help_; }
  const Session& session() const { return session_; }
  // Fixes the clock the report reads (tests).
  void setClock(std::function<LocalDateTime()> clock) { session_.clock = std::move(clock); }

  // The first activation's work, once: captions, the open sequence (the
  // WAD named by setStartPath, else the Open dialog), menu states. Later
  // calls, and a call while the first is still running (its Open dialog is
  // up), do nothing.
  void Form_Activate();

  // A WAD to open at the first activation instead of asking for one (the
  // path given on the command line). When no file is there, the user is
  // told and the Open dialog is shown as usual.
  void setStartPath(const std::string& path) { startPath_ = path; }

  // Opens the WAD at `path` through the open sequence, as "Open WAD..."
  // does once its dialog is answered.
  void OpenNamedWad(const std::string& path);

  // The layout rule run on every size change.
  void Form_Resize();

  std::array<QLabel*, 2> lblFilenameC{};
  std::array<QLabel*, 2> lblFilename{};
  LineControl* Line1 = nullptr;
  LineControl* Line2 = nullptr;
  QTabBar* tabS = nullptr;
  std::array<QGroupBox*, 2> fraWad{};
  QTextEdit* rtbReport = nullptr;
  QLabel* lblMeshes = nullptr;
  QListWidget* cboMeshes = nullptr;
  QLabel* lblOneObj = nullptr;
  QListWidget* MeshList = nullptr;
  // Pictures beside the lists, one at a time in the free part of the page:
  // the mesh selected in MeshList, the texture pages of the WAD and SWD, the
  // selected object assembled and animated, or the WAD's static meshes. The
  // buttons under the lists choose between them; Check opens the findings in
  // a window of their own, so that they stay in view beside the picture of
  // what they are about.
  QStackedWidget* picPreview = nullptr;
  MeshPreviewWidget* picMesh = nullptr;
  TexturePageWidget* picTextures = nullptr;
  ObjectViewWidget* picObject = nullptr;
  // Beside the pictures rather than one of them: it stays on screen while
  // a static is shown, as the object list does.
  QListWidget* picStatics = nullptr;
  SoundsPage* picSounds = nullptr;
  CheckWindow* frmCheck = nullptr;
  QPushButton* cmdMesh = nullptr;
  QPushButton* cmdTextures = nullptr;
  QPushButton* cmdObject = nullptr;
  QPushButton* cmdCheck = nullptr;
  QPushButton* cmdStatics = nullptr;
  QPushButton* cmdSounds = nullptr;
  // Moving objects between WADs, in a dialog of its own: made anew on each
  // click, on the WAD open then.
  QPushButton* cmdMerge = nullptr;
  MergeDialog* frmMerge = nullptr;
  // The object view in a window of its own; made when first asked for.
  ObjectViewWindow* objectWindow() const { return objectWindow_; }

  QMenu* mnuFile = nullptr;
  QAction* mnuWAD = nullptr;
  QAction* mnuWAS = nullptr;
  QAction* mnuSep1 = nullptr;
  QAction* mnuSave = nullptr;
  QAction* mnuSaveAs = nullptr;
  QAction* mnuSep2 = nullptr;
  QAction* mnuExit = nullptr;
  QMenu* mnuStatS = nullptr;
  QMenu* mnuDetail = nullptr;
  QAction* mnuSummary = nullptr;
  QAction* mnuDetailed = nullptr;
  QAction* mnuVery = nullptr;
  QAction* mnuSep3 = nullptr;
  QAction* mnuStatSave = nullptr;
  QAction* mnustatPrint = nullptr;
  // Settings beyond the specified menus, in a menu of their own.
  QMenu* mnuOptions = nullptr;
  QAction* mnuOpenEmpty = nullptr;
  QAction* mnuStayOpen = nullptr;
  QAction* mnuSamplesFolder = nullptr;
  QMenu* mnuHelp = nullptr;
  QAction* mnuContent = nullptr;
  QAction* mnuAbout = nullptr;

  // The menu and control handlers, public so that a test can run a command
  // as the user would.
  void mnuWAD_Click();
  void mnuWAS_Click();
  void mnuSave_Click();
  void mnuSaveAs_Click();
  void mnuExit_Click();
  void mnuSummary_Click();
  void mnuDetailed_Click();
  void mnuVery_Click();
  void mnuStatSave_Click();
  void mnustatPrint_Click();
  // The settings: each records its check mark and remembers it.
  void mnuOpenEmpty_Click();
  void mnuStayOpen_Click();
  // Asks for the folder the Sounds list plays samples from, and remembers it.
  void mnuSamplesFolder_Click();
  // Shows the user's guide in its help window (made on first use).
  void mnuContent_Click();
  void mnuAbout_Click();
  void tabS_Click();
  void cboMeshes_Click();
  // Draws the mesh of the selected MeshList line.
  void MeshList_Click();
  void cmdMesh_Click();
  void cmdTextures_Click();
  void cmdObject_Click();
  // Checks the WAD and shows the findings window.
  void cmdCheck_Click();
  // Lists the WAD's static meshes.
  void cmdStatics_Click();
  // Opens the Merge dialog on the open WAD.
  void cmdMerge_Click();
  // Shows the static mesh of the selected line in the object view.
  void picStatics_Click();
  // Shows the Sounds page.
  void cmdSounds_Click();
  // Shows static mesh `index` of the WAD in the object view (and in its
  // own window, when that is open).
  void ShowStaticMesh(std::size_t index);
  // Opens the object view's own window on what the picture shows.
  void OpenObjectWindow();
  // "Export..." of the object view.
  void ExportObject(const ObjectViewWidget& view);
  // What `view` shows, as every view names it: "ROCK0 (static mesh 8,
  // slot 20)", "LARA (object 0)"; "object" while it shows nothing.
  std::string ViewTitle(const ObjectViewWidget& view) const;
  // The name an export of `view` is given: its slot name, or its title when
  // the name file names no such slot.
  std::string ExportName(const ObjectViewWidget& view) const;
  // Shows what `finding` is about: its object, animation and frame, its
  // static mesh or its texture page.
  void ShowFinding(const Finding& finding);

 protected:
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void BuildControls();
  void BuildPreview(const Twips& tw);
  // Where the Sounds page plays samples from, after an open or a new setting.
  void UpdateSamplesFolder();
  void BuildMenus();
  void Form_Load();
  void CenterForm();
  // Runs the resize step again when the frame the window manager adds has
  // changed since it last ran (and centres the window the first time).
  void FollowFrame();
  void SetCaptions();
  void DetailLevelCommand(int level);
  // Brings `picture` up and presses its button alone. The static list takes
  // the whole picture until a static is shown, then the left of it, the
  // static beside it, with "Static meshes" pressed.
  void ShowPicture(QWidget* picture);
  void EndProgram();
  // The start path when a file is there; otherwise says so and asks with
  // the Open dialog.
  OpenResult OpenAtStart();
  // After an open sequence: the program ends, or the label names the WAD
  // opened.
  void FinishOpen(const OpenResult& opened);

  // FileCommandView
  void SetWadLabel(const std::string& text) override;
  void SetSwdLabel(const std::string& text) override;
  void UpdateMenuStates() override;
  void RepaintNow() override;
  void ShowSummaryReport() override;
  void FillObjectList() override;
  void ShowTexturePages() override;
  void MakeReport(int level) override;

  Platform& platform_;
  Session session_;
  FileCommands commands_;
  QFrame* tabPanel_ = nullptr;
  bool activationRunning_ = false;
  bool activationQueued_ = false;
  int knownDecoration_ = 0;  // outer minus client height at the last resize step
  bool centredInFrame_ = false;
  int exitStatus_ = 0;
  HelpWindow* help_ = nullptr;
  std::string startPath_;
  ObjectViewWindow* objectWindow_ = nullptr;
  // Where the pictures and the static list stand: the whole picture area,
  // or the list on its left with the picture beside it.
  QRect previewWhole_, previewBeside_, staticsBeside_;
};

}  // namespace tarnlow::ui
