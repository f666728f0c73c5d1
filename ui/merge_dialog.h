#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <QTimer>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "edit/merge.h"
#include "ui/background_task.h"
#include "wad/object_names.h"
#include "wad/wad_document.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace tarnlow::ui {

class ObjectViewWidget;
class Platform;
struct MergeInput;

// Moving objects between WADs, shown before anything is written: another
// WAD's objects and statics to tick, each with where it will go and what it
// brings, the open WAD's own to leave out, and "Write merged WAD..." to
// write the result beside the open WAD once it proves. The open WAD itself
// never changes: the dialog works on a copy, and writes only new files.
//
// Plans and proofs run off the window's thread, the newest superseding an
// older one; the controls that would start a second write wait meanwhile.
class MergeDialog : public QDialog {
  Q_OBJECT

 public:
  // Merges into `target`, the open WAD as read from `targetPath` (a copy is
  // kept, with the set's sound files read beside it). `names` gives the
  // slots' names and families (a copy is kept). The samples that added
  // sounds play are looked for in `samplesFolder`, when there is one.
  MergeDialog(Platform& platform, const WadDocument& target, const std::string& targetPath,
              const ObjectNameTables& names, std::optional<std::filesystem::path> samplesFolder,
              QWidget* parent = nullptr);
  ~MergeDialog() override;

  // "Choose WAD...": asks for the WAD to take objects from, starting in the
  // open WAD's folder, and lists its objects and statics, none ticked. A
  // WAD that cannot be read is told in a message and the lists stay as they
  // were; a cancelled dialog changes nothing.
  void cmdSource_Click();
  // "Write merged WAD...": asks for a new name beside the open WAD, builds
  // the result and proves it, then writes the whole set and offers to open
  // it. A name of the open WAD's set (or the other WAD's) is refused in a
  // message; a plan that is refused or a proof that fails is said, and
  // nothing is written.
  void cmdWrite_Click();

  // True while a plan or a proof is being worked out.
  bool working() const { return planTask_.pending() || proofTask_.pending(); }
  // The plan of what is ticked, once worked out; nothing while nothing is
  // ticked or the plan is still being worked out.
  const std::optional<MergePlan>& plan() const { return plan_; }
  // Closes the dialog. The work under way is forgotten: a proof that ends
  // after is not written.
  void done(int result) override;
  // The writer the proof writes through (tests hand it a broken one).
  void setWadWriter(WadFileWriter writer) { writer_ = std::move(writer); }

  QPushButton* cmdSource = nullptr;
  QLabel* lblSource = nullptr;
  QTabWidget* tabPages = nullptr;
  // The other WAD's objects and statics: ticked ones are taken. Columns:
  // the object, where it goes, what it brings.
  QTreeWidget* tvwTake = nullptr;
  // Where the selected line's object goes: its own slot, the first free
  // slot of its family, or the slot chosen in cboSlot.
  QComboBox* cboPlacement = nullptr;
  QComboBox* cboSlot = nullptr;
  QCheckBox* chkReplace = nullptr;
  QCheckBox* chkSourceSounds = nullptr;
  // The open WAD's objects and statics: ticked ones are left out.
  QTreeWidget* tvwLeave = nullptr;
  ObjectViewWidget* picObject = nullptr;
  QPlainTextEdit* txtDetail = nullptr;  // what the selected line's object brings, in detail
  QLabel* lblPlan = nullptr;    // why the merge cannot be made, or what it makes
  QProgressBar* barWork = nullptr;
  QPushButton* cmdWrite = nullptr;
  QPushButton* cmdClose = nullptr;

 Q_SIGNALS:
  // The merged WAD at `path` was written and the user chose to open it.
  void openRequested(const std::string& path);

 private:
  // The request that the ticks and choices make; nothing when nothing is
  // ticked on either page.
  std::optional<MergeRequest> request() const;
  void replan();
  void poll();
  void planDone(MergePlan plan);
  void proofDone(const MergeResult& result);
  void fillTake();
  void fillLeave();
  void lineChosen(QTreeWidgetItem* item);
  void placementChosen();
  void showPlanOnLines();
  void showDetail();
  void syncControls();
  // The open WAD's set or the other WAD's, which a merge never writes over.
  bool refuseOwnFiles(const std::filesystem::path& out);

  Platform& platform_;
  std::shared_ptr<const MergeInput> target_;
  std::shared_ptr<const MergeInput> source_;
  std::shared_ptr<const ObjectNameTables> names_;
  std::optional<std::filesystem::path> samplesFolder_;
  WadFileWriter writer_;
  BackgroundTask<MergePlan> planTask_;
  BackgroundTask<MergeResult> proofTask_;
  std::optional<MergePlan> plan_;
  std::filesystem::path out_;  // where the proof under way writes to
  QTimer poll_;
  QElapsedTimer started_;
  bool filling_ = false;  // lines being filled: their ticks are no choice of the user's
};

}  // namespace tarnlow::ui
