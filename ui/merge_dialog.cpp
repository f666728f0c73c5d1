#include "ui/merge_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <array>
#include <initializer_list>
#include <utility>

#include "mesh/static_meshes.h"
#include "ui/file_commands.h"
#include "ui/merge_input.h"
#include "ui/merge_text.h"
#include "ui/object_view_widget.h"
#include "ui/platform.h"
#include "ui/qt_text.h"
#include "wad/file_paths.h"
#include "wad/wad_error.h"

namespace tarnlow::ui {

namespace {

constexpr int kPositionRole = Qt::UserRole;       // position in the object or static list; -1 on a group's line
constexpr int kStaticRole = Qt::UserRole + 1;     // true on a static's line
constexpr int kSlotRole = Qt::UserRole + 2;       // the slot the line's object fills
constexpr int kPlacementRole = Qt::UserRole + 3;  // a Placement, on the lines of the other WAD
constexpr int kChosenSlotRole = Qt::UserRole + 4; // the slot's name, for Placement::Slot

constexpr int kGoesColumn = 1;
constexpr int kBringsColumn = 2;
// A message box stays readable: the first lines are said, the rest counted.
constexpr std::size_t kMaxLines = 12;

// The entries of cboPlacement, in Placement's order.
constexpr std::array<const char*, 3> kPlacements = {"Its own slot", "A slot chosen:", "The first free slot of its family"};
static_assert(static_cast<int>(Placement::SameSlot) == 0 && static_cast<int>(Placement::Slot) == 1 &&
              static_cast<int>(Placement::FirstFree) == 2);

std::string SlotText(const ObjectNameTables& names, bool isStatic, std::int32_t slot) {
  const std::string name = isStatic ? StaticMeshName(names, slot)
                                    : (names.ObjectName(slot) != nullptr ? *names.ObjectName(slot) : std::string());
  if (!name.empty()) return name;
  return (isStatic ? "static " : "slot ") + std::to_string(slot);
}

std::int32_t SlotAt(const WadDocument& document, bool isStatic, std::size_t position) {
  return isStatic ? ReadStaticMeshEntry(document, position).ObjectId : document.Moveables[position].ObjectID;
}

// One group of lines ("Objects", "Static meshes") holding a line per record
// of `document`, unticked.
void AddGroup(QTreeWidget& tree, const WadDocument& document, const ObjectNameTables& names, bool isStatic) {
  const std::size_t count = isStatic ? document.StaticMeshes.size() : document.Moveables.size();
  auto* group = new QTreeWidgetItem(&tree);
  group->setText(0, QStringLiteral("%1 (%2)").arg(isStatic ? QStringLiteral("Static meshes") : QStringLiteral("Objects"))
                        .arg(count));
  group->setData(0, kPositionRole, -1);
  group->setFlags(Qt::ItemIsEnabled);
  for (std::size_t i = 0; i < count; ++i) {
    const std::int32_t slot = SlotAt(document, isStatic, i);
    auto* line = new QTreeWidgetItem(group);
    line->setText(0, ToQString(SlotText(names, isStatic, slot)));
    line->setToolTip(0, QStringLiteral("%1 %2 of the list").arg(isStatic ? "static" : "object").arg(i));
    line->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    line->setCheckState(0, Qt::Unchecked);
    line->setData(0, kPositionRole, static_cast<qulonglong>(i));
    line->setData(0, kStaticRole, isStatic);
    line->setData(0, kSlotRole, slot);
    line->setData(0, kPlacementRole, static_cast<int>(Placement::SameSlot));
  }
  group->setExpanded(true);
}

// What the plan moves from the other WAD's line `line`; null when nothing.
const MovedObject* MovedFrom(const std::optional<MergePlan>& plan, const QTreeWidgetItem& line) {
  if (!plan) return nullptr;
  for (const MovedObject& moved : plan->moved) {
    if (moved.isStatic == line.data(0, kStaticRole).toBool() &&
        moved.sourcePosition == line.data(0, kPositionRole).toULongLong()) {
      return &moved;
    }
  }
  return nullptr;
}

bool IsLine(const QTreeWidgetItem* item) { return item != nullptr && item->data(0, kPositionRole).toLongLong() >= 0; }

// Every record's line of `tree`, groups left out.
std::vector<QTreeWidgetItem*> Lines(const QTreeWidget& tree) {
  std::vector<QTreeWidgetItem*> lines;
  for (int g = 0; g < tree.topLevelItemCount(); ++g) {
    for (int i = 0; i < tree.topLevelItem(g)->childCount(); ++i) lines.push_back(tree.topLevelItem(g)->child(i));
  }
  return lines;
}

ObjectChoice ChoiceOf(const QTreeWidgetItem& line) {
  ObjectChoice choice;
  choice.isStatic = line.data(0, kStaticRole).toBool();
  // By position: a hand-merged WAD may hold a slot name twice.
  choice.name = std::to_string(line.data(0, kPositionRole).toULongLong());
  choice.placement = static_cast<Placement>(line.data(0, kPlacementRole).toInt());
  choice.slot = ToUtf8(line.data(0, kChosenSlotRole).toString());
  return choice;
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string text;
  for (std::size_t i = 0; i < lines.size() && i < kMaxLines; ++i) text += "\n" + lines[i];
  if (lines.size() > kMaxLines) text += "\n... and " + std::to_string(lines.size() - kMaxLines) + " more.";
  return text;
}

// The same set: the files beside a WAD share its name in any letter case,
// so a name that differs only in case would still write over them.
bool SameSet(const std::filesystem::path& a, const std::filesystem::path& b) {
  std::error_code error;
  const std::filesystem::path folderA = std::filesystem::absolute(a, error).parent_path();
  const std::filesystem::path folderB = std::filesystem::absolute(b, error).parent_path();
  const bool sameFolder =
      folderA.lexically_normal() == folderB.lexically_normal() || std::filesystem::equivalent(folderA, folderB, error);
  return sameFolder && LowerCaseName(Utf8FromPath(a.stem())) == LowerCaseName(Utf8FromPath(b.stem()));
}

}  // namespace

MergeDialog::MergeDialog(Platform& platform, const WadDocument& target, const std::string& targetPath,
                         const ObjectNameTables& names, std::optional<std::filesystem::path> samplesFolder,
                         QWidget* parent)
    : QDialog(parent),
      platform_(platform),
      target_(LoadMergeInput(PathFromUtf8(targetPath), target)),
      names_(std::make_shared<const ObjectNameTables>(names)),
      samplesFolder_(std::move(samplesFolder)) {
  setObjectName(QStringLiteral("frmMerge"));
  setWindowTitle(QStringLiteral("Merge - ") + ToQString(Utf8FromPath(target_->path.filename())));
  cmdSource = new QPushButton(QStringLiteral("Choose WAD..."), this);
  cmdSource->setToolTip(QStringLiteral("Choose the WAD to take objects from"));
  lblSource = new QLabel(QStringLiteral("Choose the WAD to take objects from."), this);
  lblSource->setTextInteractionFlags(Qt::TextSelectableByMouse);

  tvwTake = new QTreeWidget(this);
  tvwTake->setHeaderLabels({QStringLiteral("Object"), QStringLiteral("Goes to"), QStringLiteral("Brings")});
  cboPlacement = new QComboBox(this);
  for (const char* placement : kPlacements) cboPlacement->addItem(QString::fromLatin1(placement));
  cboSlot = new QComboBox(this);
  auto* placementRow = new QHBoxLayout;
  placementRow->addWidget(new QLabel(QStringLiteral("Goes to:"), this));
  placementRow->addWidget(cboPlacement);
  placementRow->addWidget(cboSlot, 1);
  auto* takePage = new QWidget(this);
  auto* takeLayout = new QVBoxLayout(takePage);
  takeLayout->addWidget(tvwTake, 1);
  takeLayout->addLayout(placementRow);

  tvwLeave = new QTreeWidget(this);
  tvwLeave->setHeaderLabels({QStringLiteral("Object"), QStringLiteral("In the merged WAD")});
  tabPages = new QTabWidget(this);
  tabPages->addTab(takePage, QStringLiteral("Take from the other WAD"));
  tabPages->addTab(tvwLeave, QStringLiteral("Leave out of the open WAD"));

  picObject = new ObjectViewWidget(this);
  picObject->cmdExport->hide();
  auto* split = new QSplitter(this);
  split->addWidget(tabPages);
  split->addWidget(picObject);
  split->setStretchFactor(0, 3);
  split->setStretchFactor(1, 2);

  // A few lines high, scrolled: an object may play dozens of sounds.
  txtDetail = new QPlainTextEdit(this);
  txtDetail->setReadOnly(true);
  txtDetail->setMaximumHeight(txtDetail->fontMetrics().lineSpacing() * 5 + 12);
  chkReplace = new QCheckBox(QStringLiteral("Replace what the open WAD holds in those slots"), this);
  chkSourceSounds = new QCheckBox(QStringLiteral("Take the other WAD's sounds where the two differ"), this);
  lblPlan = new QLabel(this);
  lblPlan->setWordWrap(true);
  // A plan cannot say how far it has come: the bar only shows it works.
  barWork = new QProgressBar(this);
  barWork->setRange(0, 0);
  barWork->setTextVisible(false);
  cmdWrite = new QPushButton(QStringLiteral("Write merged WAD..."), this);
  cmdClose = new QPushButton(QStringLiteral("Close"), this);

  auto* sourceRow = new QHBoxLayout;
  sourceRow->addWidget(cmdSource);
  sourceRow->addWidget(lblSource, 1);
  auto* options = new QHBoxLayout;
  options->addWidget(chkReplace);
  options->addWidget(chkSourceSounds);
  options->addStretch(1);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(barWork, 1);
  // Keeps the buttons at the right while the bar is hidden.
  buttons->addStretch();
  buttons->addWidget(cmdWrite);
  buttons->addWidget(cmdClose);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(sourceRow);
  layout->addWidget(split, 1);
  layout->addWidget(txtDetail);
  layout->addLayout(options);
  layout->addWidget(lblPlan);
  layout->addLayout(buttons);
  resize(1100, 760);

  connect(cmdSource, &QPushButton::clicked, this, &MergeDialog::cmdSource_Click);
  connect(cmdWrite, &QPushButton::clicked, this, &MergeDialog::cmdWrite_Click);
  connect(cmdClose, &QPushButton::clicked, this, &QDialog::reject);
  for (QTreeWidget* tree : {tvwTake, tvwLeave}) {
    connect(tree, &QTreeWidget::itemChanged, this, [this] {
      if (!filling_) replan();
    });
    connect(tree, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) { lineChosen(item); });
  }
  connect(tabPages, &QTabWidget::currentChanged, this, [this] {
    const QTreeWidget* tree = tabPages->currentIndex() == 0 ? tvwTake : tvwLeave;
    lineChosen(tree->currentItem());
  });
  connect(cboPlacement, &QComboBox::currentIndexChanged, this, [this] { placementChosen(); });
  connect(cboSlot, &QComboBox::currentIndexChanged, this, [this] { placementChosen(); });
  connect(chkReplace, &QCheckBox::toggled, this, [this] { replan(); });
  connect(chkSourceSounds, &QCheckBox::toggled, this, [this] { replan(); });
  // Often enough that the answer seems to come at once, seldom enough to
  // cost nothing.
  poll_.setInterval(50);
  connect(&poll_, &QTimer::timeout, this, &MergeDialog::poll);

  fillLeave();
  showPlanOnLines();
  lineChosen(nullptr);
  syncControls();
}

MergeDialog::~MergeDialog() = default;

void MergeDialog::done(int result) {
  // Closed while a proof runs: the user no longer wants it written.
  planTask_.forget();
  proofTask_.forget();
  poll_.stop();
  out_.clear();
  QDialog::done(result);
}

void MergeDialog::fillTake() {
  filling_ = true;
  tvwTake->clear();
  if (source_) {
    AddGroup(*tvwTake, source_->document, *names_, false);
    AddGroup(*tvwTake, source_->document, *names_, true);
  }
  filling_ = false;
}

void MergeDialog::fillLeave() {
  filling_ = true;
  tvwLeave->clear();
  AddGroup(*tvwLeave, target_->document, *names_, false);
  AddGroup(*tvwLeave, target_->document, *names_, true);
  filling_ = false;
}

void MergeDialog::cmdSource_Click() {
  if (proofTask_.pending()) return;
  FileDialogRequest ask{"Take objects from a WAD", "TR WAD file (*.wad)|*.wad", 1, {}, true, false, true};
  ask.initialFolder = Utf8FromPath(target_->path.parent_path());
  const std::optional<FileDialogAnswer> answer = platform_.OpenFileDialog(ask);
  if (!answer) return;
  // As far as it goes, as the command line's merge reads it: outfit packs
  // and object packs often leave sections empty.
  std::int64_t length = 0;
  std::optional<WadDocument> document = ReadWadOrSay(platform_, PathFromUtf8(answer->path), true, length);
  if (!document) return;
  source_ = LoadMergeInput(PathFromUtf8(answer->path), std::move(*document));
  const WadReading& reading = source_->document.reading;
  lblSource->setText(ToQString(answer->path + (reading.cutShort()            ? " (cut short: read as far as it goes)"
                                               : reading.hasEmptySections() ? " (with empty sections)"
                                                                            : "")));
  fillTake();
  tabPages->setCurrentIndex(0);
  lineChosen(nullptr);
  replan();
  tvwTake->setFocus();
}

std::optional<MergeRequest> MergeDialog::request() const {
  std::vector<ObjectChoice> take;
  std::vector<ObjectChoice> leave;
  for (const QTreeWidgetItem* line : Lines(*tvwTake)) {
    if (line->checkState(0) == Qt::Checked) take.push_back(ChoiceOf(*line));
  }
  for (const QTreeWidgetItem* line : Lines(*tvwLeave)) {
    if (line->checkState(0) == Qt::Checked) leave.push_back(ChoiceOf(*line));
  }
  if (take.empty() && leave.empty()) return std::nullopt;
  MergeRequest request;
  request.target = target_->view();
  if (!take.empty()) request.sources.push_back({source_->view(), std::move(take)});
  request.remove = std::move(leave);
  request.replace = chkReplace->isChecked();
  request.sounds = chkSourceSounds->isChecked() ? SoundChoice::TakeSource : SoundChoice::KeepTarget;
  request.names = names_.get();
  request.samplesFolder = samplesFolder_;
  return request;
}

void MergeDialog::replan() {
  plan_.reset();
  const std::optional<MergeRequest> asked = request();
  if (!asked) {
    planTask_.forget();
  } else {
    // The work owns what the request points into: the dialog may close
    // or change its WAD before the plan comes.
    planTask_.start([asked = *asked, target = target_, source = source_, names = names_] { return PlanMerge(asked); });
    started_.start();
    poll_.start();
  }
  showPlanOnLines();
  showDetail();
  syncControls();
}

void MergeDialog::poll() {
  try {
    if (std::optional<MergePlan> done = planTask_.take()) planDone(std::move(*done));
    if (std::optional<MergeResult> done = proofTask_.take()) proofDone(*done);
  } catch (const std::exception& e) {
    out_.clear();
    platform_.ShowMessage(std::string("The merge could not be worked out: ") + e.what() + "\nNothing was written.",
                          kAppTitle, MessageButtons::Ok, MessageIcon::Exclamation);
  }
  if (!working()) poll_.stop();
  syncControls();
}

void MergeDialog::planDone(MergePlan plan) {
  plan_ = std::move(plan);
  showPlanOnLines();
  showDetail();
}

void MergeDialog::showPlanOnLines() {
  filling_ = true;
  for (QTreeWidgetItem* line : Lines(*tvwTake)) {
    const MovedObject* moved = MovedFrom(plan_, *line);
    line->setText(kGoesColumn, moved != nullptr ? ToQString(GoesToText(*moved)) : QString());
    line->setText(kBringsColumn, moved != nullptr ? ToQString(BringsText(*moved)) : QString());
  }
  for (QTreeWidgetItem* line : Lines(*tvwLeave)) {
    QString said;
    for (std::size_t r = 0; plan_ && r < plan_->removed.size(); ++r) {
      const RemovedObject& removed = plan_->removed[r];
      if (removed.isStatic == line->data(0, kStaticRole).toBool() && removed.slot == line->data(0, kSlotRole).toInt()) {
        said = removed.replaced ? QStringLiteral("replaced") : QStringLiteral("left out");
      }
    }
    line->setText(kGoesColumn, said);
  }
  for (QTreeWidget* tree : {tvwTake, tvwLeave}) {
    for (int column = 0; column + 1 < tree->columnCount(); ++column) tree->resizeColumnToContents(column);
  }
  filling_ = false;
}

void MergeDialog::lineChosen(QTreeWidgetItem* item) {
  const bool take = item != nullptr && item->treeWidget() == tvwTake;
  if (!IsLine(item)) {
    picObject->clear();
  } else {
    const WadDocument& document = take ? source_->document : target_->document;
    picObject->setSounds(take ? source_->sounds : target_->sounds);
    const std::size_t position = item->data(0, kPositionRole).toULongLong();
    if (item->data(0, kStaticRole).toBool()) {
      picObject->showStatic(document, position);
    } else {
      picObject->showObject(document, position);
    }
  }
  // The placement controls follow the chosen line of the other WAD.
  const bool placeable = take && IsLine(item);
  const QSignalBlocker placementQuiet(cboPlacement);
  const QSignalBlocker slotQuiet(cboSlot);
  cboSlot->clear();
  if (placeable) {
    const bool isStatic = item->data(0, kStaticRole).toBool();
    cboPlacement->setCurrentIndex(item->data(0, kPlacementRole).toInt());
    // Every slot the name file names, in slot order.
    const std::size_t column = isStatic ? kStaticsColumn : ObjectNameTables::kObjectColumn;
    for (std::size_t slot = 0; slot < ObjectNameTables::kRows; ++slot) {
      const std::string& name = names_->ObjectNames[column][slot];
      if (!name.empty()) cboSlot->addItem(ToQString(name), static_cast<int>(slot));
    }
    const QString chosen = item->data(0, kChosenSlotRole).toString();
    const int own = cboSlot->findData(item->data(0, kSlotRole).toInt());
    cboSlot->setCurrentIndex(chosen.isEmpty() ? own : cboSlot->findText(chosen));
  }
  showDetail();
  syncControls();
}

void MergeDialog::placementChosen() {
  QTreeWidgetItem* line = tvwTake->currentItem();
  if (!IsLine(line)) return;
  const auto placement = static_cast<Placement>(cboPlacement->currentIndex());
  filling_ = true;
  line->setData(0, kPlacementRole, static_cast<int>(placement));
  line->setData(0, kChosenSlotRole, placement == Placement::Slot ? cboSlot->currentText() : QString());
  filling_ = false;
  syncControls();
  if (line->checkState(0) == Qt::Checked) replan();
}

void MergeDialog::showDetail() {
  const QTreeWidgetItem* line = tabPages->currentIndex() == 0 ? tvwTake->currentItem() : tvwLeave->currentItem();
  std::string text;
  if (IsLine(line) && line->treeWidget() == tvwTake) {
    const MovedObject* moved = MovedFrom(plan_, *line);
    if (moved != nullptr) {
      text = moved->sourceName + " goes to " + GoesToText(*moved) + " and brings " + BringsText(*moved) + ".";
      for (const std::string& detail : BringsDetail(*moved)) text += "\n" + detail;
    } else if (line->checkState(0) != Qt::Checked) {
      text = "Tick it to take it into the merged WAD.";
    }
  } else if (IsLine(line)) {
    text = line->checkState(0) == Qt::Checked
               ? "Left out: the meshes, textures and animations only it uses go with it."
               : "Tick it to leave it out of the merged WAD.";
  }
  txtDetail->setPlainText(ToQString(text));
}

void MergeDialog::syncControls() {
  const bool proving = proofTask_.pending();
  for (QWidget* control : std::initializer_list<QWidget*>{cmdSource, tvwTake, tvwLeave, chkReplace, chkSourceSounds}) {
    control->setEnabled(!proving);
  }
  const bool placeable = !proving && IsLine(tvwTake->currentItem()) && tabPages->currentIndex() == 0;
  cboPlacement->setEnabled(placeable);
  cboSlot->setEnabled(placeable && cboPlacement->currentIndex() == static_cast<int>(Placement::Slot));
  cmdWrite->setEnabled(!working() && plan_ && plan_->ok());
  barWork->setVisible(working());

  std::string said;
  if (working()) {
    said = std::string(proving ? "Building and proving the merged WAD" : "Working out the merge") + "... " +
           std::to_string(started_.elapsed() / 1000) + " s";
  } else if (!plan_) {
    said = source_ ? "Tick the objects to take, or the open WAD's objects to leave out."
                   : "Choose the WAD to take objects from, or tick the open WAD's objects to leave out.";
  } else if (!plan_->ok()) {
    said = "This merge cannot be made:" + Joined(plan_->refusals);
  } else {
    std::size_t left = 0;
    for (const RemovedObject& r : plan_->removed) left += r.replaced ? 0 : 1;
    said = std::to_string(plan_->moved.size()) + " taken, " + std::to_string(left) +
           " left out. Nothing is written until you choose a name and the result proves.";
    if (!plan_->missingSamples.empty() && samplesFolder_) {
      said += "\nSamples the added sounds play that " + Utf8FromPath(*samplesFolder_) + " lacks:" +
              Joined(plan_->missingSamples);
    }
  }
  std::vector<std::string> unread = target_->failures;
  if (source_) unread.insert(unread.end(), source_->failures.begin(), source_->failures.end());
  if (!unread.empty()) said += "\nNot read, the merge goes on without them:" + Joined(unread);
  lblPlan->setText(ToQString(said));
  QPalette look = lblPlan->palette();
  look.setColor(QPalette::WindowText, plan_ && !plan_->ok() ? QColor(176, 0, 32) : palette().color(QPalette::WindowText));
  lblPlan->setPalette(look);
}

bool MergeDialog::refuseOwnFiles(const std::filesystem::path& out) {
  for (const std::shared_ptr<const MergeInput>& input : {target_, source_}) {
    if (!input || !SameSet(out, input->path)) continue;
    const bool open = input == target_;
    platform_.ShowMessage(Utf8FromPath(out) + " would write over " + (open ? "the open WAD" : "the WAD taken from") +
                              " or the files beside it (" + Utf8FromPath(input->path.filename()) +
                              ").\nChoose a new name; nothing was written.",
                          kAppTitle, MessageButtons::Ok, MessageIcon::Exclamation);
    return true;
  }
  return false;
}

void MergeDialog::cmdWrite_Click() {
  if (working() || !plan_ || !plan_->ok()) return;
  const std::optional<MergeRequest> asked = request();
  if (!asked) return;
  const std::filesystem::path suggested =
      target_->path.parent_path() / (Utf8FromPath(target_->path.stem()) + "-merged.wad");
  const std::optional<FileDialogAnswer> answer = platform_.SaveFileDialog(
      FileDialogRequest{"Write merged WAD", "TR WAD file (*.wad)|*.wad", 1, Utf8FromPath(suggested), false, true, true});
  if (!answer) return;
  std::filesystem::path out = PathFromUtf8(answer->path);
  // A name typed without an extension gets the WAD's: the set's other
  // files are named after it.
  if (!out.has_extension()) out += ".wad";
  if (refuseOwnFiles(out)) return;
  out_ = out;
  proofTask_.start([asked = *asked, target = target_, source = source_, names = names_, writer = writer_] {
    return asked.sources.empty() ? RemoveObjects(asked, writer) : MergeWads(asked, writer);
  });
  started_.start();
  poll_.start();
  syncControls();
}

void MergeDialog::proofDone(const MergeResult& result) {
  const std::filesystem::path out = std::exchange(out_, {});
  plan_ = result.plan;
  showPlanOnLines();
  showDetail();
  // The messages below wait for the user: the controls say first that the
  // work is done.
  syncControls();
  if (!result.plan.ok()) {
    platform_.ShowMessage("This merge cannot be made; nothing was written:" + Joined(result.plan.refusals), kAppTitle,
                          MessageButtons::Ok, MessageIcon::Exclamation);
    return;
  }
  if (!result.proven) {
    platform_.ShowMessage("The merged WAD does not read back as asked, so nothing was written:" +
                              Joined(result.differences),
                          kAppTitle, MessageButtons::Ok, MessageIcon::Exclamation);
    return;
  }
  try {
    WriteMergedSet(result, out);
  } catch (const WadError& error) {
    platform_.ShowMessage("The merged WAD could not be written to " + Utf8FromPath(out) + ":\n" + error.what(),
                          kAppTitle, MessageButtons::Ok, MessageIcon::Exclamation);
    return;
  }
  std::string text = "Wrote " + Utf8FromPath(out) + ": " + std::to_string(result.moveables) + " objects, " +
                     std::to_string(result.statics) + " static meshes, proven.";
  // Counted, not listed: Check lists them, and they were there before.
  if (!result.carried.empty()) text += "\n" + CarriedText(result.carried);
  text += "\n\nOpen it now?";
  if (platform_.ShowMessage(text, kAppTitle, MessageButtons::YesNo, MessageIcon::None) != MessageAnswer::Yes) return;
  accept();
  Q_EMIT openRequested(Utf8FromPath(out));
}

}  // namespace tarnlow::ui
