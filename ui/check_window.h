#pragma once

#include <QWidget>
#include <optional>
#include <string>
#include <vector>

#include "anim/finding.h"
#include "content/wad_diff.h"
#include "wad/object_names.h"
#include "wad/wad_document.h"

class QComboBox;
class QLabel;
class QPlainTextEdit;
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
class CheckWindow : public QWidget {
  Q_OBJECT

 public:
  CheckWindow(Platform& platform, QWidget* parent = nullptr);

  // Checks `document` (a copy is kept) and lists what it found; a baseline
  // chosen before is forgotten. `names` gives the objects' slot names and
  // must outlive the window.
  void check(const WadDocument& document, const ObjectNameTables& names);
  // Lists nothing: no WAD is loaded.
  void clear();

  // "Compare with...": asks for another WAD in an Open dialog, lists
  // only the findings that it does not have and shows beside them what
  // differs in content from it to the open WAD (DiffWads). A WAD that cannot be read is
  // told in a message and the list stays as it was; a cancelled dialog
  // changes nothing.
  void cmdAgainst_Click();
  // "All findings": forgets the WAD compared with and hides the diff.
  void cmdAll_Click();

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
  QTreeWidget* tvwFindings = nullptr;
  QPlainTextEdit* txtContentDiff = nullptr;  // beside the findings while compared

 signals:
  // A finding's line was clicked.
  void findingChosen(const tarnlow::Finding& finding);

 private:
  void fill();
  void applyFilter();
  void lineClicked(QTreeWidgetItem* item);

  Platform& platform_;
  std::optional<WadDocument> document_;
  const ObjectNameTables* names_ = nullptr;
  std::vector<Finding> all_;    // every finding of the document
  std::vector<Finding> shown_;  // what the list holds
  std::string againstPath_;     // the WAD compared with; empty for none
  std::optional<WadDiff> diff_;  // from that WAD to the open one
};

}  // namespace tarnlow::ui
