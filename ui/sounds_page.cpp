#include "ui/sounds_page.h"

#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <random>

#include "ui/qt_text.h"

namespace tarnlow::ui {

namespace {

// The heading stays a few lines: the first problems are named, the rest counted.
constexpr std::size_t kNamedProblems = 3;

constexpr int kSamplesColumn = 1;
constexpr int kPlayedByColumn = 7;

std::string FilesText(const SoundSet& sounds) {
  std::string text;
  if (!sounds.sounds) {
    text = "No sound table (.sfx) beside this WAD: its Play Sound commands name slots only.";
  } else {
    const SoundFilesRead& read = *sounds.sounds;
    text = "Sound table " + Utf8FromPath(*sounds.paths.sfx) + ": " + std::to_string(read.table.slots.size()) +
           " slots, " + std::to_string(read.samLines) + " sample lines.";
  }
  std::vector<std::string> problems = sounds.failures;
  if (sounds.sounds) {
    for (const SoundProblem& problem : sounds.sounds->problems) problems.push_back(problem.text);
  }
  for (std::size_t i = 0; i < problems.size() && i < kNamedProblems; ++i) text += "\n" + problems[i];
  if (problems.size() > kNamedProblems) {
    text += "\n... and " + std::to_string(problems.size() - kNamedProblems) + " more problems.";
  }
  return text;
}

}  // namespace

SoundsPage::SoundsPage(Platform& platform, QWidget* parent) : QWidget(parent), platform_(platform) {
  lblSounds = new QLabel(this);
  lblSounds->setWordWrap(true);
  lblSounds->setTextInteractionFlags(Qt::TextSelectableByMouse);
  lstSounds = new QTreeWidget(this);
  lstSounds->setRootIsDecorated(false);
  lstSounds->setUniformRowHeights(true);
  QStringList titles;
  for (const std::string& title : SoundListColumns()) titles << ToQString(title);
  lstSounds->setHeaderLabels(titles);
  lblSoundUses = new QLabel(this);
  lstSoundUses = new QListWidget(this);
  cmdPlaySound = new QPushButton(QStringLiteral("Play"), this);
  cmdPlaySound->setEnabled(false);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 6, 6, 6);
  layout->addWidget(lblSounds);
  layout->addWidget(lstSounds, 3);
  layout->addWidget(lblSoundUses);
  layout->addWidget(lstSoundUses, 1);
  layout->addWidget(cmdPlaySound, 0, Qt::AlignLeft);

  pickSample_ = [engine = std::mt19937(std::random_device{}())](std::size_t count) mutable {
    return std::uniform_int_distribution<std::size_t>(0, count - 1)(engine);
  };

  connect(lstSounds, &QTreeWidget::currentItemChanged, this, &SoundsPage::showUses);
  connect(lstSounds, &QTreeWidget::itemDoubleClicked, this, &SoundsPage::playSelected);
  connect(cmdPlaySound, &QPushButton::clicked, this, &SoundsPage::playSelected);
  // Arrow keys and clicks alike; a click on the current line (after
  // looking at the object) shows it again.
  const auto choose = [this] {
    const SoundListRow* row = selectedRow();
    const int use = lstSoundUses->currentRow();
    if (row != nullptr && use >= 0 && static_cast<std::size_t>(use) < row->uses.size()) {
      Q_EMIT useChosen(row->uses[static_cast<std::size_t>(use)].finding);
    }
  };
  connect(lstSoundUses, &QListWidget::currentRowChanged, this, choose);
  connect(lstSoundUses, &QListWidget::itemClicked, this, choose);
  clear();
}

void SoundsPage::showSounds(const SoundSet& sounds, const WadDocument& document, const ObjectNameTables& names) {
  clear();
  if (sounds.sounds) {
    table_ = sounds.sounds->table;
    rows_ = SoundListRows(table_, document, names);
  }
  filesText_ = FilesText(sounds);
  QList<QTreeWidgetItem*> items;
  for (const SoundListRow& row : rows_) {
    QStringList cells;
    for (const std::string& cell : row.cells) cells << ToQString(cell);
    auto* item = new QTreeWidgetItem(cells);
    // Long lists of samples and players are read whole in the tip.
    item->setToolTip(kSamplesColumn, cells[kSamplesColumn]);
    item->setToolTip(kPlayedByColumn, cells[kPlayedByColumn]);
    items << item;
  }
  lstSounds->addTopLevelItems(items);
  for (int column = 0; column < lstSounds->columnCount(); ++column) {
    if (column != kSamplesColumn && column != kPlayedByColumn) lstSounds->resizeColumnToContents(column);
  }
  lstSounds->setColumnWidth(kSamplesColumn, 2 * lstSounds->fontMetrics().horizontalAdvance(QStringLiteral("foot01.wav, ")));
  updateHeading();
}

void SoundsPage::clear() {
  // Selection signals of the old rows must not reach into the new ones.
  rows_.clear();
  lstSoundUses->clear();
  lstSounds->clear();
  table_ = SoundTable();
  filesText_.clear();
  lblSoundUses->setText(QStringLiteral("Select a slot to see the animations that play it."));
  cmdPlaySound->setEnabled(false);
  updateHeading();
}

void SoundsPage::setSamplesFolder(std::optional<std::filesystem::path> folder) {
  folder_ = std::move(folder);
  updateHeading();
}

void SoundsPage::updateHeading() {
  std::string text = filesText_;
  text += text.empty() ? "" : "\n";
  text += folder_ ? "Samples are played from " + Utf8FromPath(*folder_) + "."
                  : "No samples folder is known: choose one with Options > Sound samples folder...";
  lblSounds->setText(ToQString(text));
}

const SoundListRow* SoundsPage::selectedRow() const {
  QTreeWidgetItem* item = lstSounds->currentItem();
  if (item == nullptr) return nullptr;
  const int index = lstSounds->indexOfTopLevelItem(item);
  if (index < 0 || static_cast<std::size_t>(index) >= rows_.size()) return nullptr;
  return &rows_[static_cast<std::size_t>(index)];
}

void SoundsPage::showUses() {
  lstSoundUses->clear();
  const SoundListRow* row = selectedRow();
  cmdPlaySound->setEnabled(row != nullptr);
  if (row == nullptr) return;
  const std::string slot = "Slot " + std::to_string(row->slot);
  lblSoundUses->setText(ToQString(row->uses.empty() ? slot + " is played by no animation (the game may play it itself)."
                                                    : slot + " is played by:"));
  for (const SoundUse& use : row->uses) lstSoundUses->addItem(ToQString(use.text));
}

void SoundsPage::playSelected() {
  const SoundListRow* row = selectedRow();
  if (row == nullptr) return;
  const SoundSlot& slot = table_.slots.at(row->slot);
  const std::size_t choice = slot.samples.empty() ? 0 : pickSample_(slot.samples.size());
  PlaySlotSample(platform_, slot, choice, folder_);
}

}  // namespace tarnlow::ui
