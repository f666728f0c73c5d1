#include "ui/check_window.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "check/baseline.h"
#include "check/check_wad.h"
#include "check/fold.h"
#include "check/naming.h"
#include "content/diff_text.h"
#include "ui/file_commands.h"
#include "ui/owned_window.h"
#include "ui/platform.h"
#include "ui/qt_text.h"
#include "wad/file_paths.h"

namespace tarnlow::ui {

namespace {

constexpr int kFindingRole = Qt::UserRole;       // position in shown_, or -1
constexpr int kSeverityRole = Qt::UserRole + 1;  // a Severity, for the filter

QIcon iconOf(const QStyle* style, Severity severity) {
  switch (severity) {
    case Severity::Error:
      return style->standardIcon(QStyle::SP_MessageBoxCritical);
    case Severity::Warning:
      return style->standardIcon(QStyle::SP_MessageBoxWarning);
    case Severity::Note:
      return style->standardIcon(QStyle::SP_MessageBoxInformation);
  }
  return {};
}

// Dark enough to read on a light list, apart enough to tell at a glance.
QColor colourOf(Severity severity) {
  switch (severity) {
    case Severity::Error:
      return QColor(176, 0, 32);
    case Severity::Warning:
      return QColor(150, 90, 0);
    case Severity::Note:
      return QColor(60, 90, 140);
  }
  return {};
}

// Rows as high as their text wrapped to the column: a tree view measures
// every row one line high and cuts the rest off.
class WrappingDelegate : public QStyledItemDelegate {
 public:
  explicit WrappingDelegate(QTreeView* view) : QStyledItemDelegate(view), view_(view) {}

  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    int depth = 0;
    for (QModelIndex up = index.parent(); up.isValid(); up = up.parent()) ++depth;
    // The branch lines, the icon and the item's own margins come off the
    // column's width.
    const int width = view_->columnWidth(0) - view_->indentation() * (depth + 1) - item.decorationSize.width() - 16;
    const QRect text = item.fontMetrics.boundingRect(QRect(0, 0, std::max(width, 40), 1 << 20),
                                                     Qt::TextWordWrap, item.text);
    const QSize base = QStyledItemDelegate::sizeHint(option, index);
    return {base.width(), std::max(base.height(), text.height() + 4)};
  }

 private:
  QTreeView* view_;
};

QTreeWidgetItem* lineItem(QTreeWidgetItem* parent, const QStyle* style, Severity severity, const std::string& text,
                          int finding) {
  auto* item = new QTreeWidgetItem(parent);
  const QString line = ToQString(Describe(severity) + ": " + text);
  item->setText(0, line);
  item->setToolTip(0, line);
  item->setIcon(0, iconOf(style, severity));
  item->setForeground(0, colourOf(severity));
  item->setData(0, kFindingRole, finding);
  item->setData(0, kSeverityRole, static_cast<int>(severity));
  return item;
}

}  // namespace

CheckWindow::CheckWindow(Platform& platform, QWidget* parent) : QWidget(parent, kOwnedWindow), platform_(platform) {
  setObjectName(QStringLiteral("frmCheck"));
  setWindowTitle(QStringLiteral("Check"));
  cboSeverity = new QComboBox(this);
  cboSeverity->addItems(
      {QStringLiteral("All findings"), QStringLiteral("Errors"), QStringLiteral("Warnings"), QStringLiteral("Notes")});
  cmdAgainst = new QPushButton(QStringLiteral("Compare with..."), this);
  cmdAgainst->setToolTip(QStringLiteral("Show only the findings that another WAD does not have"));
  cmdAll = new QPushButton(QStringLiteral("All findings"), this);
  lblSummary = new QLabel(this);
  lblSummary->setWordWrap(true);
  // The check cannot say how far it has come: the bar only shows it works.
  barWork = new QProgressBar(this);
  barWork->setRange(0, 0);
  barWork->setTextVisible(false);
  barWork->hide();
  tvwFindings = new QTreeWidget(this);
  tvwFindings->setHeaderHidden(true);
  tvwFindings->setColumnCount(1);
  // Long findings wrap inside the list instead of running off its edge.
  tvwFindings->setWordWrap(true);
  tvwFindings->setUniformRowHeights(false);
  tvwFindings->setTextElideMode(Qt::ElideNone);
  tvwFindings->header()->setStretchLastSection(true);
  tvwFindings->header()->setSectionResizeMode(0, QHeaderView::Stretch);
  tvwFindings->setItemDelegate(new WrappingDelegate(tvwFindings));
  tvwFindings->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  txtContentDiff = new QPlainTextEdit(this);
  txtContentDiff->setReadOnly(true);
  txtContentDiff->setLineWrapMode(QPlainTextEdit::WidgetWidth);

  auto* controls = new QHBoxLayout;
  controls->addWidget(cboSeverity);
  controls->addStretch(1);
  controls->addWidget(cmdAgainst);
  controls->addWidget(cmdAll);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(controls);
  layout->addWidget(lblSummary);
  layout->addWidget(barWork);
  auto* panes = new QSplitter(Qt::Horizontal, this);
  panes->addWidget(tvwFindings);
  panes->addWidget(txtContentDiff);
  layout->addWidget(panes, 1);
  resize(640, 480);

  connect(cboSeverity, &QComboBox::currentIndexChanged, this, [this] { applyFilter(); });
  connect(cmdAgainst, &QPushButton::clicked, this, &CheckWindow::cmdAgainst_Click);
  connect(cmdAll, &QPushButton::clicked, this, &CheckWindow::cmdAll_Click);
  connect(tvwFindings, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) { lineClicked(item); });
  // Often enough that the answer seems to come at once, seldom enough to
  // cost nothing.
  poll_.setInterval(50);
  connect(&poll_, &QTimer::timeout, this, &CheckWindow::poll);
  clear();
}

void CheckWindow::clear() {
  task_.forget();
  poll_.stop();
  document_.reset();
  failure_.clear();
  all_.clear();
  shown_.clear();
  againstPath_.clear();
  fill();
}

void CheckWindow::check(const WadDocument& document, const ObjectNameTables& names, const std::string& folder) {
  auto copy = std::make_shared<const WadDocument>(document);
  document_ = copy;
  names_ = &names;
  folder_ = folder;
  all_.clear();
  shown_.clear();
  againstPath_.clear();
  startWork(Work::Check, [copy] { return Found{CheckWad(*copy), std::nullopt}; });
}

void CheckWindow::startWork(Work work, std::function<Found()> run) {
  work_ = work;
  failure_.clear();
  task_.start(std::move(run));
  started_.start();
  poll_.start();
  fill();
}

QString CheckWindow::progressText() const {
  return QStringLiteral("%1... %2 s")
      .arg(work_ == Work::Check ? QStringLiteral("Checking the WAD") : QStringLiteral("Comparing"))
      .arg(started_.elapsed() / 1000);
}

void CheckWindow::poll() {
  std::optional<Found> done;
  try {
    done = task_.take();
  } catch (const std::exception& e) {
    poll_.stop();
    failure_ = std::string("The check could not be finished: ") + e.what();
    platform_.ShowMessage(failure_, kAppTitle, MessageButtons::Ok, MessageIcon::Exclamation);
    fill();
    return;
  }
  if (!done) {
    lblSummary->setText(progressText());
    return;
  }
  poll_.stop();
  if (work_ == Work::Check) {
    all_ = std::move(done->findings);
    shown_ = all_;
  } else {
    shown_ = std::move(done->findings);
    diff_ = std::move(done->diff);
    againstPath_ = comparing_;
  }
  fill();
}

void CheckWindow::cmdAgainst_Click() {
  if (!document_ || working()) return;
  FileDialogRequest request{"Compare with a WAD", "TR WAD file (*.wad)|*.wad", 1, {}, true, false, true};
  request.initialFolder = folder_;
  const std::optional<FileDialogAnswer> answer = platform_.OpenFileDialog(request);
  if (!answer) return;
  std::int64_t length = 0;
  std::optional<WadDocument> read = ReadWadOrSay(platform_, PathFromUtf8(answer->path), false, length);
  if (!read) return;
  auto baseline = std::make_shared<const WadDocument>(std::move(*read));
  comparing_ = answer->path;
  startWork(Work::Compare, [document = document_, all = all_, baseline] {
    // The window holds no SWD: sprites are compared by the command line.
    return Found{FindingsNotIn(*document, all, *baseline, CheckWad(*baseline)), DiffWads({*baseline}, {*document})};
  });
}

void CheckWindow::cmdAll_Click() {
  shown_ = all_;
  againstPath_.clear();
  fill();
}

const Finding* CheckWindow::findingOf(const QTreeWidgetItem* item) const {
  if (item == nullptr) return nullptr;
  const int index = item->data(0, kFindingRole).toInt();
  return index >= 0 && static_cast<std::size_t>(index) < shown_.size() ? &shown_[static_cast<std::size_t>(index)]
                                                                       : nullptr;
}

void CheckWindow::fill() {
  tvwFindings->clear();
  cmdAgainst->setEnabled(document_ != nullptr && !working());
  cmdAll->setEnabled(!againstPath_.empty() && !working());
  barWork->setVisible(working());
  if (againstPath_.empty()) diff_.reset();
  txtContentDiff->setVisible(diff_.has_value());
  if (diff_) {
    std::string text = "Content against " + againstPath_ + ": " + (diff_->same() ? "the same" : "different");
    static const ObjectNameTables unnamed;
    for (const std::string& line : DiffLines(*diff_, names_ ? *names_ : unnamed)) text += "\n" + line;
    txtContentDiff->setPlainText(ToQString(text));
  }
  if (!document_) {
    lblSummary->setText(QStringLiteral("Open a WAD to check it."));
    return;
  }
  if (working() || !failure_.empty()) {
    lblSummary->setText(working() ? progressText() : ToQString(failure_));
    return;
  }
  std::string summary = CheckSummaryLine(CountFindings(shown_));
  if (!againstPath_.empty()) summary = "Not in " + againstPath_ + ": " + summary;
  lblSummary->setText(ToQString(summary));
  const CheckNames names(*document_, names_);
  const QStyle* look = style();
  for (const FindingGroup& group : FoldFindings(shown_, names)) {
    auto* top = new QTreeWidgetItem(tvwFindings);
    top->setText(0, ToQString(group.title + ": " + CheckSummaryLine(group.counts)));
    top->setData(0, kFindingRole, -1);
    const Severity worst = group.counts.errors > 0     ? Severity::Error
                           : group.counts.warnings > 0 ? Severity::Warning
                                                       : Severity::Note;
    top->setIcon(0, iconOf(look, worst));
    top->setData(0, kSeverityRole, -1);
    for (const FoldedLine& line : group.lines) {
      const bool folded = line.members.size() > 1;
      QTreeWidgetItem* item =
          lineItem(top, look, line.severity, line.text, folded ? -1 : static_cast<int>(line.members.front()));
      if (!folded) continue;
      for (std::size_t m : line.members) {
        const Finding& f = shown_[m];
        lineItem(item, look, f.severity, names.line(f).substr(Describe(f.severity).size() + 1), static_cast<int>(m));
      }
    }
    top->setExpanded(true);
  }
  applyFilter();
}

void CheckWindow::applyFilter() {
  // 0 keeps every line; 1 to 3 keep one severity, in the scale's order.
  const int keep = cboSeverity->currentIndex() - 1;
  for (int g = 0; g < tvwFindings->topLevelItemCount(); ++g) {
    QTreeWidgetItem* group = tvwFindings->topLevelItem(g);
    bool any = false;
    for (int i = 0; i < group->childCount(); ++i) {
      QTreeWidgetItem* line = group->child(i);
      const bool shown = keep < 0 || line->data(0, kSeverityRole).toInt() == keep;
      line->setHidden(!shown);
      any = any || shown;
    }
    group->setHidden(!any);
  }
}

void CheckWindow::lineClicked(QTreeWidgetItem* item) {
  if (const Finding* finding = findingOf(item)) {
    Q_EMIT findingChosen(*finding);
  } else if (item != nullptr && item->childCount() > 0 && item->parent() != nullptr) {
    item->setExpanded(!item->isExpanded());  // a folded line opens to its findings
  }
}

}  // namespace tarnlow::ui
