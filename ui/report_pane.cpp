#include "ui/report_pane.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include "ui/qt_text.h"

namespace tarnlow::ui {

namespace {
bool IsBold(const QTextCharFormat& format) { return format.fontWeight() >= QFont::Bold; }
}  // namespace

void ShowReport(QTextDocument& pane, const std::vector<ReportLine>& lines) {
  // Switching undo off drops the history and keeps the batch from being recorded.
  pane.setUndoRedoEnabled(false);
  pane.clear();
  QTextCharFormat plain;
  plain.setFontWeight(QFont::Normal);
  QTextCharFormat bold = plain;
  bold.setFontWeight(QFont::Bold);

  QTextCursor cursor(&pane);
  cursor.beginEditBlock();
  QString run;
  bool runBold = false;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0 && lines[i].bold != runBold) {
      cursor.insertText(run, runBold ? bold : plain);
      run.clear();
    }
    runBold = lines[i].bold;
    if (i > 0) run += QLatin1Char('\n');
    run += ToQString(lines[i].text);
  }
  if (!run.isEmpty()) cursor.insertText(run, runBold ? bold : plain);
  cursor.endEditBlock();
  pane.setUndoRedoEnabled(true);
}

std::vector<ReportLine> PaneLines(const QTextDocument& pane) {
  std::vector<ReportLine> lines;
  lines.reserve(static_cast<std::size_t>(pane.blockCount()));
  for (QTextBlock block = pane.begin(); block.isValid(); block = block.next()) {
    ReportLine line;
    line.text = ToUtf8(block.text());
    const QTextBlock::iterator first = block.begin();
    line.bold = first.atEnd() ? IsBold(block.charFormat()) : IsBold(first.fragment().charFormat());
    lines.push_back(std::move(line));
  }
  return lines;
}

bool PaneHasText(const QTextDocument& pane) { return !pane.isEmpty(); }

}  // namespace tarnlow::ui
