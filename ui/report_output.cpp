#include "ui/report_output.h"

#include <memory>

#include <QPrinter>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextEdit>
#include <QTextOption>

#include "report/report_files.h"
#include "report/save_naming.h"
#include "ui/platform.h"
#include "ui/qt_text.h"
#include "ui/report_pane.h"
#include "ui/session.h"
#include "wad/wad_error.h"

namespace tarnlow::ui {

namespace {

// The file the report goes to. On Windows the whole chosen path is lowered;
// where folders are case-sensitive only the file name is, so the report
// lands in the folder the user picked.
std::optional<ReportSaveTarget> SaveTargetFor(const std::string& chosen, int filterIndex) {
#ifdef _WIN32
  return ResolveReportSaveName(chosen, filterIndex);
#else
  return ResolveReportSaveNameKeepingFolder(chosen, filterIndex);
#endif
}

// The pane shows long table rows unwrapped, but paper has an edge: a copy of
// the content is printed with lines wrapped at the page width, so that no
// column is cut off.
void PrintWrapped(const QTextDocument& content, QPrinter* printer) {
  const std::unique_ptr<QTextDocument> copy(content.clone());
  QTextOption option = copy->defaultTextOption();
  option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  copy->setDefaultTextOption(option);
  copy->print(printer);
}

}  // namespace

void RebuildReport(const Session& session, QTextDocument& pane, std::int32_t level) {
  ShowReport(pane, MakeReport(session.wad, ReportContextOf(session), level));
}

void SaveStats(Session& session, Platform& platform, const QTextEdit& pane) {
  if (!PaneHasText(*pane.document())) return;
  FileDialogRequest request;
  request.title = ReportSaveDialogTitle(session.ReportFileName);
  request.filter = kReportSaveFilter;
  request.filterIndex = kReportSaveDefaultFilter;
  request.initialName = session.ReportFileName;
  // No overwrite prompt of the dialog's own: the question below asks it.
  const std::optional<FileDialogAnswer> answer = platform.SaveFileDialog(request);
  if (!answer) return;

  const bool askBeforeOverwrite = OverwriteQuestionNeeded(session.ReportFileName, answer->path);
  const std::optional<ReportSaveTarget> target = SaveTargetFor(answer->path, answer->filterIndex);
  if (!target) return;
  if (askBeforeOverwrite && platform.FileExists(target->fileName) &&
      platform.ShowMessage("Do you want to overwrite existing file?", "Overwrite File", MessageButtons::YesNo,
                           MessageIcon::Exclamation) == MessageAnswer::No) {
    return;
  }
  session.ReportFileName = target->fileName;
  try {
    WriteReportFile(PathFromUtf8(target->fileName), ReportFileText(PaneLines(*pane.document()), target->type));
  } catch (const WadError& error) {
    // The file is written through a temporary file, so an existing one is untouched.
    platform.ShowMessage("The report could not be saved to " + target->fileName + ":\n" + error.what(), kAppTitle,
                         MessageButtons::Ok, MessageIcon::Exclamation);
  }
}

void PrintStats(Platform& platform, QTextEdit& pane) {
  if (!PaneHasText(*pane.document())) return;
  const QTextCursor remembered = pane.textCursor();
  const bool hasSelection = remembered.hasSelection();
  const std::optional<PrintAnswer> answer = platform.PrintDialog(PrintRequest{hasSelection, hasSelection});
  if (!answer || answer->printer == nullptr) return;

  if (answer->selectionOnly && hasSelection) {
    QTextDocument selection;
    selection.setDefaultFont(pane.document()->defaultFont());
    QTextCursor(&selection).insertFragment(remembered.selection());
    PrintWrapped(selection, answer->printer);
    return;
  }
  // The whole report prints with nothing selected; the selection comes back after.
  QTextCursor unselected = remembered;
  unselected.clearSelection();
  pane.setTextCursor(unselected);
  PrintWrapped(*pane.document(), answer->printer);
  pane.setTextCursor(remembered);
}

}  // namespace tarnlow::ui
