#pragma once

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <memory>
#include <optional>
#include <functional>
#include <string>
#include <vector>

#include "anim/finding.h"
#include "content/wad_diff.h"
#include "ui/background_task.h"
#include "wad/object_names.h"
#include "wad/wad_document.h"

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace tarnlow::ui {

class Platform;

// The findings of the Check, in a window of their own that stays open
// beside the main window while it shows what a finding is about. Findings
// are grouped by object, alike ones folded into one line that opens to
// list them; severity shows as icon and colour; a filter keeps one
// severity; "Compare with..." keeps only what another WAD does not have.
//
// The check runs off the window's thread, a progress line showing while it
// runs, so a large WAD does not freeze the window; a newer check (another
// WAD opened meanwhile) supersedes the one under way.
class CheckWindow : public QWidget {
  Q_OBJECT

 public:
  CheckWindow(Platform& platform, QWidget* parent = nullptr);

  // Starts checking `document` (a copy is kept) and lists what it found
  // when done; a baseline chosen before is forgotten. `names` gives the
  // objects' slot names and must outlive the window; `folder` is where the
  // WAD lies, where "Compare with..." starts. A check that fails (out of
  // memory) is said in a message box and lists nothing.
  void check(const WadDocument& document, const ObjectNameTables& names, const std::string& folder);
  // Lists nothing: no WAD is loaded.
  void clear();

  // "Compare with...": asks for another WAD in an Open dialog, which
  // starts in the checked WAD's folder, checks it off the window's thread,
  // lists only the findings that it does not have and shows beside them
  // what differs in content from it to the open WAD (DiffWads). A WAD that
  // cannot be read is told in a message and the list stays as it was; a
  // cancelled dialog changes nothing. Does nothing while a check runs.
  void cmdAgainst_Click();
  // "All findings": forgets the WAD compared with and hides the diff.
  void cmdAll_Click();

  // True while a check or a comparison runs.
  bool working() const { return task_.pending(); }
  // The findings listed (after the comparison, before the filter).
  const std::vector<Finding>& findings() const { return shown_; }
  // The finding a line of the list stands for; nothing for a group's line
  // or a folded line.
  const Finding* findingOf(const QTreeWidgetItem* item) const;
  // What differs from the WAD compared with; nothing without one.
  const std::optional<WadDiff>& contentDiff() const { return diff_; }

  QComboBox* cboSeverity = nullptr;  // all, errors, warnings, notes
  QPushButton* cmdAgainst = nullptr;
  QPushButton* cmdAll = nullptr;
  QLabel* lblSummary = nullptr;
  QProgressBar* barWork = nullptr;  // shown while a check runs
  QTreeWidget* tvwFindings = nullptr;
  QPlainTextEdit* txtContentDiff = nullptr;  // beside the findings while compared

 Q_SIGNALS:
  // A finding's line was clicked.
  void findingChosen(const tarnlow::Finding& finding);

 private:
  enum class Work { Check, Compare };
  // What the work found: the findings to list and, for a comparison, the
  // content that differs.
  struct Found {
    std::vector<Finding> findings;
    std::optional<WadDiff> diff;
  };
  void startWork(Work work, std::function<Found()> run);
  // Takes the result of the work when it has come, or shows how long it has
  // been running.
  void poll();
  QString progressText() const;
  void fill();
  void applyFilter();
  void lineClicked(QTreeWidgetItem* item);

  Platform& platform_;
  std::shared_ptr<const WadDocument> document_;
  const ObjectNameTables* names_ = nullptr;
  std::string folder_;
  BackgroundTask<Found> task_;
  Work work_ = Work::Check;
  std::string comparing_;  // the WAD of the comparison under way
  std::string failure_;    // why the last work could not be finished
  QTimer poll_;
  QElapsedTimer started_;
  std::vector<Finding> all_;    // every finding of the document
  std::vector<Finding> shown_;  // what the list holds
  std::string againstPath_;     // the WAD compared with; empty for none
  std::optional<WadDiff> diff_;  // from that WAD to the open one
};

}  // namespace tarnlow::ui
