#include "ui/main_window.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <QTabBar>
#include <QTextEdit>
#include <QTimer>

#include "check/check_wad.h"
#include "mesh/slot_names.h"
#include "mesh/static_meshes.h"
#include "ui/about_dialog.h"
#include "ui/check_window.h"
#include "ui/emblem.h"
#include "ui/help_window.h"
#include "ui/line_control.h"
#include "ui/merge_dialog.h"
#include "ui/mesh_preview_widget.h"
#include "ui/object_export.h"
#include "ui/object_lists.h"
#include "ui/object_view_widget.h"
#include "ui/object_view_window.h"
#include "ui/platform.h"
#include "ui/qt_text.h"
#include "ui/report_output.h"
#include "ui/report_pane.h"
#include "ui/samples_folder.h"
#include "ui/sounds_page.h"
#include "ui/texture_page_widget.h"
#include "ui/twips.h"
#include "wad/object_names.h"

namespace tarnlow::ui {

namespace {

constexpr int kClientWidth = 12495;
constexpr int kClientHeight = 8145;
constexpr int kOuterHeight = 8805;
constexpr int kFrameLeft = 120;
constexpr int kFrameTop = 1140;
constexpr int kTabTop = 780;
constexpr const char* kObjectNamesFile = "TR4Objects.dat";

// Green on black with a single-line border: the look of the path labels.
void StylePathLabel(QLabel* label) {
  label->setAutoFillBackground(true);
  label->setFrameShape(QFrame::Box);
  label->setLineWidth(1);
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, QColor(0, 255, 0));
  palette.setColor(QPalette::Window, Qt::black);
  label->setPalette(palette);
}

}  // namespace

frmMain::frmMain(Platform& platform, QWidget* parent)
    : QMainWindow(parent), platform_(platform), commands_(session_, platform, *this) {
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint);
  setWindowIcon(WindowIcon());
  BuildControls();
  BuildMenus();
  Form_Load();
  setAcceptDrops(true);
}

frmMain::~frmMain() {
  // Closed before the session goes: it remembers its place in the
  // session's settings.
  delete objectWindow_;
}

void frmMain::BuildControls() {
  const Twips tw = Twips::OfScreen();
  auto* client = new QWidget(this);
  client->setFont(LayoutFont());
  setCentralWidget(client);

  lblFilenameC[0] = LabelAt(client, tw, 120, 120, 555, 195);
  lblFilename[0] = LabelAt(client, tw, 1080, 120, 9315, 255);
  lblFilenameC[1] = LabelAt(client, tw, 120, 420, 555, 195);
  lblFilename[1] = LabelAt(client, tw, 1080, 420, 9315, 255);
  lblFilenameC[0]->setText(QStringLiteral("WAD:"));
  for (QLabel* label : lblFilename) StylePathLabel(label);

  Line1 = new LineControl(palette().color(QPalette::WindowText), 1, client);
  Line2 = new LineControl(palette().color(QPalette::Window), 2, client);

  // The tab strip: the tabs themselves, and a panel under them that frames
  // the two pages.
  tabPanel_ = new QFrame(client);
  tabPanel_->setFrameShape(QFrame::StyledPanel);
  tabPanel_->setGeometry(tw.rect(60, kFrameTop - 60, 12375, kTabTop + 7335 - (kFrameTop - 60)));
  tabS = new QTabBar(client);
  tabS->setObjectName(QStringLiteral("tabS"));
  tabS->setExpanding(false);
  tabS->setDrawBase(false);
  tabS->addTab(QString());
  tabS->addTab(QString());
  tabS->setGeometry(tw.rect(60, kTabTop, 12375, kFrameTop - 60 - kTabTop));

  for (std::size_t i = 0; i < fraWad.size(); ++i) {
    fraWad[i] = new QGroupBox(client);
    fraWad[i]->setGeometry(tw.rect(kFrameLeft, kFrameTop, 12255, 6915));
  }

  rtbReport = new QTextEdit(fraWad[0]);
  rtbReport->setGeometry(tw.rect(120, 240, 12015, 6555));
  rtbReport->setAcceptRichText(true);
  // The tables are long comma-separated rows: unwrapped they stay readable
  // and the pane lays out faster.
  rtbReport->setLineWrapMode(QTextEdit::NoWrap);
  rtbReport->document()->setDefaultFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));

  lblMeshes = LabelAt(fraWad[1], tw, 300, 300, 3255, 195);
  cboMeshes = new QListWidget(fraWad[1]);
  cboMeshes->setGeometry(tw.rect(240, 540, 4395, 2205));
  lblOneObj = LabelAt(fraWad[1], tw, 240, 2820, 4455, 195);
  MeshList = new QListWidget(fraWad[1]);
  MeshList->setGeometry(tw.rect(240, 3060, 4395, 2400));
  BuildPreview(tw);
  fraWad[1]->hide();

  setTabOrder(tabS, rtbReport);
  setTabOrder(rtbReport, cboMeshes);
  setTabOrder(cboMeshes, MeshList);
  setTabOrder(MeshList, cmdMesh);
  setTabOrder(cmdMesh, cmdTextures);
  setTabOrder(cmdTextures, cmdObject);
  setTabOrder(cmdObject, cmdCheck);
  setTabOrder(cmdCheck, cmdMerge);
  setTabOrder(cmdMerge, cmdStatics);
  setTabOrder(cmdStatics, cmdSounds);
  setTabOrder(cmdSounds, picPreview);

  connect(tabS, &QTabBar::currentChanged, this, &frmMain::tabS_Click);
  connect(cboMeshes, &QListWidget::currentRowChanged, this, [this](int row) {
    if (row >= 0) cboMeshes_Click();
  });
  // Arrow keys move the current line; a click on the line already current
  // (after looking at the texture pages) brings its mesh back.
  connect(MeshList, &QListWidget::currentRowChanged, this, [this](int row) {
    if (row >= 0) MeshList_Click();
  });
  connect(MeshList, &QListWidget::itemClicked, this, [this] {
    if (picPreview->currentWidget() != picMesh) MeshList_Click();
  });
  connect(cmdMesh, &QPushButton::clicked, this, &frmMain::cmdMesh_Click);
  connect(cmdTextures, &QPushButton::clicked, this, &frmMain::cmdTextures_Click);
  connect(cmdObject, &QPushButton::clicked, this, &frmMain::cmdObject_Click);
  connect(cmdCheck, &QPushButton::clicked, this, &frmMain::cmdCheck_Click);
  connect(cmdStatics, &QPushButton::clicked, this, &frmMain::cmdStatics_Click);
  connect(cmdSounds, &QPushButton::clicked, this, &frmMain::cmdSounds_Click);
  connect(picSounds, &SoundsPage::useChosen, this, &frmMain::ShowFinding);
  connect(cmdMerge, &QPushButton::clicked, this, &frmMain::cmdMerge_Click);
  // Arrow keys and clicks alike; a click on the current line (after
  // looking elsewhere) shows it again.
  connect(picStatics, &QListWidget::currentRowChanged, this, [this](int row) {
    if (row >= 0) picStatics_Click();
  });
  connect(picStatics, &QListWidget::itemClicked, this, &frmMain::picStatics_Click);
  // The list stays selected on an object while a static is shown: a click
  // on its line brings the object back (selecting it anew would list its
  // meshes again).
  connect(cboMeshes, &QListWidget::itemClicked, this, [this] {
    const int row = cboMeshes->currentRow();
    // While a pick is being drawn, the selection's own pick is under way.
    if (row >= 0 && !picObject->drawing() && picObject->moveable() != static_cast<std::size_t>(row)) {
      picObject->pickObject(session_.wad, static_cast<std::size_t>(row));
      cmdObject_Click();
    }
  });
  connect(picObject, &ObjectViewWidget::windowRequested, this, &frmMain::OpenObjectWindow);
  connect(picObject, &ObjectViewWidget::exportRequested, this, [this] { ExportObject(*picObject); });
  connect(picObject, &ObjectViewWidget::objectShown, this, [this] {
    if (objectWindow_ != nullptr) objectWindow_->follow(*picObject, ToQString(ViewTitle(*picObject)));
  });
  connect(frmCheck, &CheckWindow::findingChosen, this, &frmMain::ShowFinding);

  // A fixed border the user cannot drag; the resize step then fixes the
  // outer height.
  setFixedSize(tw.px(kClientWidth), tw.px(kClientHeight) + menuBar()->sizeHint().height());
}

void frmMain::BuildPreview(const Twips& tw) {
  // The lists end at 4695 twips; the pictures fill the rest of the page,
  // level with the report box's right and bottom edges on the other page.
  picPreview = new QStackedWidget(fraWad[1]);
  previewWhole_ = tw.rect(4860, 300, 7275, 6495);
  // With a static shown: its list on the left, wide enough for
  // "ARCHITECTURE10 (static mesh 18, slot 44)", the picture beside it.
  staticsBeside_ = tw.rect(4860, 300, 2700, 6495);
  previewBeside_ = tw.rect(7650, 300, 4485, 6495);
  picPreview->setGeometry(previewWhole_);
  // Sunk like the list boxes, so the pictures read as one framed view.
  picPreview->setFrameShape(QFrame::StyledPanel);
  picPreview->setFrameShadow(QFrame::Sunken);
  picMesh = new MeshPreviewWidget(picPreview);
  picTextures = new TexturePageWidget(picPreview);
  // Air between the frame and the source and page controls.
  picTextures->setContentsMargins(6, 6, 6, 6);
  picObject = new ObjectViewWidget(picPreview);
  picObject->setContentsMargins(6, 6, 6, 6);
  picObject->setOpensWindow(true);
  picStatics = new QListWidget(fraWad[1]);
  picStatics->hide();
  picPreview->addWidget(picMesh);
  picPreview->addWidget(picTextures);
  picPreview->addWidget(picObject);
  picSounds = new SoundsPage(platform_, picPreview);
  picPreview->addWidget(picSounds);
  frmCheck = new CheckWindow(platform_, this);
  picPreview->setCurrentWidget(picTextures);

  // Buttons rather than one toggle: the one pressed down says which picture
  // is up, and every picture is one click away.
  cmdMesh = new QPushButton(QStringLiteral("Mesh"), fraWad[1]);
  cmdMesh->setGeometry(tw.rect(240, 5580, 2130, 375));
  cmdTextures = new QPushButton(QStringLiteral("Texture pages"), fraWad[1]);
  cmdTextures->setGeometry(tw.rect(2505, 5580, 2130, 375));
  // A second row: the whole object, and the check of the WAD.
  cmdObject = new QPushButton(QStringLiteral("Object"), fraWad[1]);
  cmdObject->setGeometry(tw.rect(240, 6045, 2130, 375));
  // Check and Merge... share a cell: both look at the WAD as a whole
  // rather than at a picture.
  cmdCheck = new QPushButton(QStringLiteral("Check"), fraWad[1]);
  cmdCheck->setGeometry(tw.rect(2505, 6045, 1020, 375));
  cmdMerge = new QPushButton(QStringLiteral("Merge..."), fraWad[1]);
  cmdMerge->setGeometry(tw.rect(3615, 6045, 1020, 375));
  cmdMerge->setToolTip(QStringLiteral("Take objects from another WAD, or leave some out, into a new WAD"));
  // A third row: the static meshes, which the object list does not hold.
  cmdStatics = new QPushButton(QStringLiteral("Static meshes"), fraWad[1]);
  cmdStatics->setGeometry(tw.rect(240, 6510, 2130, 375));
  cmdSounds = new QPushButton(QStringLiteral("Sounds"), fraWad[1]);
  cmdSounds->setGeometry(tw.rect(2505, 6510, 2130, 375));
  for (QPushButton* button : {cmdMesh, cmdTextures, cmdObject, cmdStatics, cmdSounds}) button->setCheckable(true);
  cmdTextures->setChecked(true);
}

void frmMain::BuildMenus() {
  auto item = [this](QMenu* menu, const char* caption, const char* name, void (frmMain::*handler)()) {
    QAction* action = menu->addAction(QString::fromLatin1(caption));
    action->setObjectName(QString::fromLatin1(name));
    if (handler != nullptr) connect(action, &QAction::triggered, this, handler);
    return action;
  };
  auto separator = [](QMenu* menu, const char* name) {
    QAction* action = menu->addSeparator();
    action->setObjectName(QString::fromLatin1(name));
    return action;
  };

  mnuFile = menuBar()->addMenu(QStringLiteral("&File"));
  mnuFile->setObjectName(QStringLiteral("mnuFile"));
  mnuWAD = item(mnuFile, "Open WAD...", "mnuWAD", &frmMain::mnuWAD_Click);
  mnuWAS = item(mnuFile, "Open WAS...", "mnuWAS", &frmMain::mnuWAS_Click);
  mnuWAS->setVisible(false);
  mnuSep1 = separator(mnuFile, "mnuSep1");
  mnuSave = item(mnuFile, "&Save WAD", "mnuSave", &frmMain::mnuSave_Click);
  mnuSaveAs = item(mnuFile, "Save WAD &as...", "mnuSaveAs", &frmMain::mnuSaveAs_Click);
  mnuSep2 = separator(mnuFile, "mnuSep2");
  mnuExit = item(mnuFile, "E&xit", "mnuExit", &frmMain::mnuExit_Click);

  mnuStatS = menuBar()->addMenu(QStringLiteral("Stats"));
  mnuStatS->setObjectName(QStringLiteral("mnuStatS"));
  mnuDetail = mnuStatS->addMenu(QStringLiteral("Detail level"));
  mnuDetail->setObjectName(QStringLiteral("mnuDetail"));
  mnuSummary = item(mnuDetail, "Summary", "mnuSummary", &frmMain::mnuSummary_Click);
  mnuDetailed = item(mnuDetail, "Detailed", "mnuDetailed", &frmMain::mnuDetailed_Click);
  mnuVery = item(mnuDetail, "Very detailed", "mnuVery", &frmMain::mnuVery_Click);
  for (QAction* level : {mnuSummary, mnuDetailed, mnuVery}) level->setCheckable(true);
  mnuSummary->setChecked(true);
  mnuSep3 = separator(mnuStatS, "mnuSep3");
  mnuStatSave = item(mnuStatS, "Save stats as...", "mnuStatSave", &frmMain::mnuStatSave_Click);
  mnustatPrint = item(mnuStatS, "Print Stats...", "mnustatPrint", &frmMain::mnustatPrint_Click);

  // Where Windows programs keep their settings, between the work menus and
  // Help; File, Stats and Help keep their items, order and captions.
  mnuOptions = menuBar()->addMenu(QStringLiteral("&Options"));
  mnuOptions->setObjectName(QStringLiteral("mnuOptions"));
  mnuOpenEmpty =
      item(mnuOptions, "Open WADs with empty sections", "mnuOpenEmpty", &frmMain::mnuOpenEmpty_Click);
  mnuStayOpen = item(mnuOptions, "Stay open after a WAD that cannot be read", "mnuStayOpen",
                     &frmMain::mnuStayOpen_Click);
  for (QAction* setting : {mnuOpenEmpty, mnuStayOpen}) setting->setCheckable(true);
  mnuOptions->addSeparator();
  mnuSamplesFolder =
      item(mnuOptions, "Sound samples folder...", "mnuSamplesFolder", &frmMain::mnuSamplesFolder_Click);

  mnuHelp = menuBar()->addMenu(QStringLiteral("&Help"));
  mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
  mnuContent = item(mnuHelp, "Content...", "mnuContent", &frmMain::mnuContent_Click);
  mnuAbout = item(mnuHelp, "A&bout...", "mnuAbout", &frmMain::mnuAbout_Click);
}

void frmMain::Form_Load() {
  session_.FirstActivation = true;
  CenterForm();
  session_.WadLoaded = false;
  session_.ReportFileName.clear();
  session_.settings = platform_.LoadSettings();
  mnuOpenEmpty->setChecked(session_.settings.openEmptySections);
  mnuStayOpen->setChecked(session_.settings.stayOpenAfterUnreadableWad);
  const std::string expectedPath = Utf8FromPath(PathFromUtf8(platform_.ProgramFolder()) / kObjectNamesFile);
  const std::optional<std::string> foundPath = platform_.FindFile(expectedPath);
  const std::string& namesPath = foundPath ? *foundPath : expectedPath;
  ObjectNamesLoad load = LoadObjectNames(PathFromUtf8(namesPath));
  session_.names = std::move(load.tables);
  picObject->setNames(session_.names);
  if (load.fault) {
    // The tables hold what was read before the fault; objects after it show
    // empty names.
    platform_.ShowMessage("The object-name file " + namesPath + " could not be read completely:\n" +
                              load.fault->what() + "\nObject names may be missing from the object list.",
                          kAppTitle, MessageButtons::Ok, MessageIcon::Exclamation);
  } else if (!foundPath) {
    // Read as an empty file and not created; said once so that a list of
    // empty lines is not taken for a broken WAD.
    platform_.ShowMessage("The object-name file " + namesPath + " was not found.\nObjects are listed without names.",
                          kAppTitle, MessageButtons::Ok, MessageIcon::Exclamation);
  }
}

void frmMain::CenterForm() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  const QRect available = screen->geometry();
  const QSize outer = frameGeometry().size();
  const float left = static_cast<float>(available.width() - outer.width()) / 2.0f;
  const float top = static_cast<float>(available.height() - outer.height()) / 2.0f;
  move(available.left() + static_cast<int>(left), available.top() + static_cast<int>(top));
}

void frmMain::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  // The first activation runs once the window is on screen, from the event
  // loop, so the Open dialog appears over a drawn window.
  if (session_.FirstActivation && !activationQueued_) {
    activationQueued_ = true;
    QTimer::singleShot(0, this, &frmMain::Form_Activate);
  }
}

void frmMain::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  // By the time the window is first activated, and after a restore, the
  // window manager has framed it.
  if (event->type() == QEvent::WindowStateChange || event->type() == QEvent::ActivationChange) FollowFrame();
  if (event->type() == QEvent::ActivationChange && isActiveWindow() && activationQueued_) Form_Activate();
}

// The window manager frames the window only after it is first shown, so
// the title bar reads 0 high until then, and a restore may frame it anew:
// the outer height and the centring are worked out again once it has.
void frmMain::moveEvent(QMoveEvent* event) {
  QMainWindow::moveEvent(event);
  FollowFrame();
}

void frmMain::FollowFrame() {
  if (frameGeometry().height() - height() == knownDecoration_) return;
  Form_Resize();
  if (!centredInFrame_ && knownDecoration_ > 0) {
    centredInFrame_ = true;
    CenterForm();
  }
}

void frmMain::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  Form_Resize();
}

void frmMain::Form_Activate() {
  // The flag clears only at the end of the work; the second guard keeps an
  // activation while the Open dialog is up from starting it again.
  if (!session_.FirstActivation || activationRunning_) return;
  activationRunning_ = true;
  SetCaptions();
  const OpenResult opened = startPath_.empty() ? commands_.SelectAndOpen(FileCommands::kWad) : OpenAtStart();
  if (opened.outcome == CommandOutcome::EndProgram) {
    EndProgram();
    return;
  }
  session_.WadFileName = opened.path;
  UpdateMenuStates();
  session_.FirstActivation = false;
  activationRunning_ = false;
}

OpenResult frmMain::OpenAtStart() {
  if (platform_.FileExists(startPath_)) return commands_.OpenWad(startPath_);
  platform_.ShowMessage("The WAD " + startPath_ + " named on the command line was not found.", kAppTitle,
                        MessageButtons::Ok, MessageIcon::Exclamation);
  return commands_.SelectAndOpen(FileCommands::kWad);
}

void frmMain::Form_Resize() {
  const Twips tw = Twips::OfScreen();
  const int outerWidth = frameGeometry().width();
  Line1->span(0, outerWidth, 0);
  Line2->span(0, outerWidth, tw.px(35));
  // The outer height is fixed whatever the caption, menu bar and border
  // take; when it already is, nothing changes and no new resize follows.
  const int decoration = frameGeometry().height() - height();
  knownDecoration_ = decoration;
  const int wanted = tw.px(kOuterHeight) - decoration;
  if (height() != wanted) setFixedHeight(wanted);
  tabS->setCurrentIndex(0);
  for (std::size_t i = 0; i < fraWad.size(); ++i) {
    fraWad[i]->move(tw.px(kFrameLeft), tw.px(kFrameTop));
    fraWad[i]->setTitle(QString());
    fraWad[i]->setVisible(i == 0);
  }
}

void frmMain::SetCaptions() {
  setWindowTitle(QStringLiteral("TombRaider Tarnlow"));
  lblFilenameC[0]->setText(QStringLiteral("WAD:"));
  lblFilenameC[1]->setText(QStringLiteral("SWD:"));
  tabS->setTabText(0, QStringLiteral("Statistics"));
  tabS->setTabText(1, QStringLiteral("Animations"));
  lblFilename[0]->clear();
  lblFilename[1]->clear();
  rtbReport->clear();
  lblMeshes->setText(QStringLiteral("Meshes listed in SWD."));
  lblOneObj->setText(QStringLiteral("Selected object mesh list"));
}

void frmMain::UpdateMenuStates() {
  for (QAction* action : {mnuWAS, mnuSave, mnuSaveAs}) action->setEnabled(session_.WadLoaded);
  cmdMerge->setEnabled(session_.WadLoaded);
  mnuDetail->setEnabled(session_.WadLoaded);
  const bool hasReport = PaneHasText(*rtbReport->document());
  mnuStatSave->setEnabled(hasReport);
  mnustatPrint->setEnabled(hasReport);
}

void frmMain::ShowSummaryReport() {
  mnuSummary_Click();
  UpdateMenuStates();
}

void frmMain::DetailLevelCommand(int level) {
  mnuSummary->setChecked(level == 0);
  mnuDetailed->setChecked(level == 1);
  mnuVery->setChecked(level == 2);
  session_.DetailLevel = level;
  MakeReport(level);
}

void frmMain::MakeReport(int level) { RebuildReport(session_, *rtbReport->document(), level); }

void frmMain::SetWadLabel(const std::string& text) { lblFilename[0]->setText(ToQString(text)); }

void frmMain::SetSwdLabel(const std::string& text) { lblFilename[1]->setText(ToQString(text)); }

void frmMain::RepaintNow() { repaint(); }

void frmMain::FillObjectList() { ui::FillObjectList(*cboMeshes, session_.wad, session_.names); }

void frmMain::ShowTexturePages() {
  picMesh->clear();
  picObject->clear();
  picStatics->clear();
  if (objectWindow_ != nullptr) objectWindow_->view->clear();
  // Findings of the WAD before would name records of another file.
  if (frmCheck->isVisible()) {
    frmCheck->check(session_.wad, session_.names, session_.WadFolder);
  } else {
    frmCheck->clear();
  }
  picSounds->showSounds(session_.sounds, session_.wad, session_.names);
  picObject->setSounds(session_.sounds.sounds ? std::make_shared<const SoundTable>(session_.sounds.sounds->table)
                                              : nullptr);
  UpdateSamplesFolder();
  picTextures->showTexturePages(session_.wad, session_.swd);
  cmdTextures_Click();
}

void frmMain::EndProgram() {
  exitStatus_ = 1;
  close();
}

void frmMain::tabS_Click() {
  const int k = tabS->currentIndex();
  for (std::size_t j = 0; j < fraWad.size(); ++j) fraWad[j]->setVisible(static_cast<int>(j) == k);
}

void frmMain::cboMeshes_Click() {
  const int row = cboMeshes->currentRow();
  if (row < 0) return;
  // A new object has no mesh selected yet: the picture is the whole object.
  picMesh->clear();
  // The own window follows once the object is shown (objectShown).
  picObject->pickObject(session_.wad, static_cast<std::size_t>(row));
  cmdObject_Click();
  FillMeshList(*MeshList, platform_, session_.wad, session_.names, static_cast<std::size_t>(row));
}

void frmMain::MeshList_Click() {
  const int meshNumber = MeshList->currentRow();
  if (meshNumber < 0) return;
  const int object = cboMeshes->currentRow();
  if (object < 0) {
    // The lines stay from the object chosen before the last open (the mesh
    // list is never refilled by an open); they name meshes of another WAD.
    picMesh->showFailure(QStringLiteral("These mesh lines belong to the WAD opened before. "
                                        "Select an object to see its meshes."));
  } else {
    picMesh->showObjectMesh(session_.wad, static_cast<std::size_t>(object), meshNumber);
    picObject->highlightMesh(meshNumber);
    if (objectWindow_ != nullptr && objectWindow_->isVisible()) objectWindow_->view->highlightMesh(meshNumber);
  }
  cmdMesh_Click();
}

void frmMain::ShowPicture(QWidget* picture) {
  const bool staticShown = picObject->staticMesh().has_value();
  const bool statics = picture == picStatics || (picture == picObject && staticShown);
  const bool listAlone = picture == picStatics && !staticShown;
  picStatics->setGeometry(listAlone ? previewWhole_ : staticsBeside_);
  picStatics->setVisible(statics);
  picPreview->setGeometry(statics ? previewBeside_ : previewWhole_);
  picPreview->setVisible(!listAlone);
  picPreview->setCurrentWidget(statics ? picObject : picture);
  cmdMesh->setChecked(picture == picMesh);
  cmdTextures->setChecked(picture == picTextures);
  cmdObject->setChecked(picture == picObject && !statics);
  cmdStatics->setChecked(statics);
  cmdSounds->setChecked(picture == picSounds);
}

void frmMain::cmdMesh_Click() { ShowPicture(picMesh); }

void frmMain::cmdTextures_Click() { ShowPicture(picTextures); }

void frmMain::cmdObject_Click() { ShowPicture(picObject); }

void frmMain::cmdCheck_Click() {
  if (session_.WadLoaded) {
    frmCheck->check(session_.wad, session_.names, session_.WadFolder);
  } else {
    frmCheck->clear();
  }
  frmCheck->show();
  frmCheck->raise();
  frmCheck->activateWindow();
}

void frmMain::ShowFinding(const Finding& finding) {
  if (finding.moveable) {
    // The object list stops at an object without a name row; such an
    // object has no line to select.
    if (*finding.moveable >= static_cast<std::size_t>(cboMeshes->count())) return;
    const int row = static_cast<int>(*finding.moveable);
    if (cboMeshes->currentRow() == row) {
      cboMeshes_Click();
    } else {
      cboMeshes->setCurrentRow(row);
    }
    if (finding.animation) {
      // A box finding is seen best with the boxes drawn.
      if (finding.rule == kKeyFrameBoxRule) picObject->chkBox->setChecked(true);
      picObject->showAnimationFrame(*finding.animation, finding.frame);
      if (objectWindow_ != nullptr) objectWindow_->follow(*picObject, ToQString(ViewTitle(*picObject)));
    }
  } else if (finding.staticMesh) {
    // The object view shows the static's mesh, or says above the picture
    // why it cannot be had (an index past the statics included).
    ShowStaticMesh(*finding.staticMesh);
  } else if (finding.page) {
    picTextures->setSource(TexturePageWidget::Source::Wad);
    picTextures->setPage(static_cast<int>(*finding.page));
    cmdTextures_Click();
  }
}

void frmMain::cmdStatics_Click() {
  picStatics->clear();
  const std::vector<std::string> lines = StaticMeshLines(session_.wad, session_.names);
  if (lines.empty()) picStatics->addItem(QStringLiteral("This WAD holds no static meshes."));
  for (std::size_t i = 0; i < lines.size(); ++i) {
    auto* item = new QListWidgetItem(ToQString(lines[i]), picStatics);
    item->setData(Qt::UserRole, QVariant::fromValue<qulonglong>(i));
  }
  ShowPicture(picStatics);
}

void frmMain::cmdSounds_Click() { ShowPicture(picSounds); }

void frmMain::UpdateSamplesFolder() {
  picSounds->setSamplesFolder(SamplesFolder(session_.settings.samplesFolder, PathFromUtf8(session_.WadFileName)));
}

void frmMain::cmdMerge_Click() {
  if (!session_.WadLoaded) return;
  delete frmMerge;
  frmMerge = new MergeDialog(platform_, session_.wad, session_.WadFileName, session_.names,
                             SamplesFolder(session_.settings.samplesFolder, PathFromUtf8(session_.WadFileName)), this);
  // From the event loop: the dialog has closed before another WAD replaces
  // the open one.
  connect(frmMerge, &MergeDialog::openRequested, this, [this](const std::string& path) {
    QTimer::singleShot(0, this, [this, path] { OpenNamedWad(path); });
  });
  frmMerge->open();
}

void frmMain::picStatics_Click() {
  const QListWidgetItem* item = picStatics->currentItem();
  if (item == nullptr || !item->data(Qt::UserRole).isValid()) return;
  ShowStaticMesh(static_cast<std::size_t>(item->data(Qt::UserRole).toULongLong()));
}

void frmMain::ShowStaticMesh(std::size_t index) {
  picObject->showStatic(session_.wad, index);
  if (objectWindow_ != nullptr) objectWindow_->follow(*picObject, ToQString(ViewTitle(*picObject)));
  ShowPicture(picObject);
}

void frmMain::OpenObjectWindow() {
  if (objectWindow_ == nullptr) {
    objectWindow_ = new ObjectViewWindow(platform_, session_.settings, this);
    connect(objectWindow_->view, &ObjectViewWidget::exportRequested, this,
            [this] { ExportObject(*objectWindow_->view); });
  }
  objectWindow_->showFrom(*picObject, ToQString(ViewTitle(*picObject)));
}

std::string frmMain::ViewTitle(const ObjectViewWidget& view) const {
  if (view.staticMesh()) return StaticMeshTitle(view.document(), &session_.names, *view.staticMesh());
  if (view.moveable()) return ObjectTitle(view.document(), &session_.names, *view.moveable());
  return "object";
}

std::string frmMain::ExportName(const ObjectViewWidget& view) const {
  // The slot name alone: "ROCK0.glb" is what a builder files a model under,
  // and it is the scene name the command line's export gives too.
  std::string name;
  if (view.staticMesh()) {
    name = StaticMeshName(session_.names, ReadStaticMeshEntry(view.document(), *view.staticMesh()).ObjectId);
  } else if (view.moveable() && *view.moveable() < view.document().Moveables.size()) {
    const std::string* known = session_.names.ObjectName(view.document().Moveables[*view.moveable()].ObjectID);
    if (known != nullptr) name = *known;
  }
  return name.empty() ? ViewTitle(view) : name;
}

void frmMain::ExportObject(const ObjectViewWidget& view) {
  ExportObjectView(platform_, view, ExportName(view), session_.WadFolder);
}

void frmMain::mnuWAD_Click() { FinishOpen(commands_.SelectAndOpen(FileCommands::kWad)); }

void frmMain::OpenNamedWad(const std::string& path) { FinishOpen(commands_.OpenWad(path)); }

void frmMain::FinishOpen(const OpenResult& opened) {
  if (opened.outcome == CommandOutcome::EndProgram) {
    EndProgram();
    return;
  }
  // A cancelled dialog (or a refused WAD) leaves the label naming the WAD
  // that is still loaded and still the target of "&Save WAD".
  if (!opened.path.empty()) SetWadLabel(opened.path);
}

namespace {

// Only a single local file whose name ends in .wad, as the Open dialog's
// filter offers: anything else dropped is refused before it could end the
// program as an unreadable WAD.
std::optional<QString> DroppedWad(const QMimeData* data) {
  if (data == nullptr || data->urls().size() != 1) return std::nullopt;
  const QUrl url = data->urls().constFirst();
  const bool wad = QFileInfo(url.toLocalFile()).suffix().compare(QLatin1String("wad"), Qt::CaseInsensitive) == 0;
  if (!url.isLocalFile() || !wad) return std::nullopt;
  return QDir::toNativeSeparators(url.toLocalFile());
}

}  // namespace

void frmMain::dragEnterEvent(QDragEnterEvent* event) {
  if (DroppedWad(event->mimeData())) event->acceptProposedAction();
}

void frmMain::dropEvent(QDropEvent* event) {
  const std::optional<QString> path = DroppedWad(event->mimeData());
  if (!path) return;
  event->acceptProposedAction();
  // Opened once the drop has returned, so the program that dragged the file
  // is not held up by the reading or by a message box.
  QTimer::singleShot(0, this, [this, wad = ToUtf8(*path)] {
    if (!session_.FirstActivation) OpenNamedWad(wad);
  });
}

void frmMain::mnuWAS_Click() { commands_.SelectAndOpen(FileCommands::kWas); }

void frmMain::mnuSave_Click() { commands_.SaveWad(); }

void frmMain::mnuSaveAs_Click() { commands_.SaveWadAs(); }

void frmMain::mnuExit_Click() { close(); }

void frmMain::mnuSummary_Click() { DetailLevelCommand(0); }

void frmMain::mnuDetailed_Click() { DetailLevelCommand(1); }

void frmMain::mnuVery_Click() { DetailLevelCommand(2); }

void frmMain::mnuStatSave_Click() { SaveStats(session_, platform_, *rtbReport); }

void frmMain::mnustatPrint_Click() { PrintStats(platform_, *rtbReport); }

void frmMain::mnuOpenEmpty_Click() {
  session_.settings.openEmptySections = mnuOpenEmpty->isChecked();
  platform_.SaveSettings(session_.settings);
}

void frmMain::mnuStayOpen_Click() {
  session_.settings.stayOpenAfterUnreadableWad = mnuStayOpen->isChecked();
  platform_.SaveSettings(session_.settings);
}

void frmMain::mnuSamplesFolder_Click() {
  // Opened where samples are played from now, so a kit's folder is one
  // click from being confirmed.
  const std::optional<std::filesystem::path> current =
      SamplesFolder(session_.settings.samplesFolder, PathFromUtf8(session_.WadFileName));
  const std::optional<std::string> chosen =
      platform_.FolderDialog("Sound samples folder", current ? Utf8FromPath(*current) : session_.WadFolder);
  if (!chosen) return;
  session_.settings.samplesFolder = *chosen;
  platform_.SaveSettings(session_.settings);
  UpdateSamplesFolder();
}

void frmMain::mnuContent_Click() {
  // One help window, kept while the main window lives: reopening it keeps
  // the place the user had read to.
  if (help_ == nullptr) help_ = new HelpWindow(this);
  help_->show();
  help_->raise();
  help_->activateWindow();
}

void frmMain::mnuAbout_Click() {
  frmAbout about(platform_, this);
  about.exec();
}

}  // namespace tarnlow::ui
