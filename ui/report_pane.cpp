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
  QString text;
  std::size_t length = lines.size();
  for (const ReportLine& line : lines) length += line.text.size();
  text.reserve(static_cast<qsizetype>(length));
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += QLatin1Char('\n');
    text += QString::fromUtf8(lines[i].text.data(), static_cast<qsizetype>(lines[i].text.size()));
  }
  QTextCharFormat plain;
  plain.setFontWeight(QFont::Normal);
  QTextCharFormat bold;
  bold.setFontWeight(QFont::Bold);

  // One edit: the whole text goes in at once, then the few bold lines get
  // their weight, so the document is laid out once. Switching undo off drops
  // the history and keeps the batch from being recorded.
  pane.setUndoRedoEnabled(false);
  QTextCursor cursor(&pane);
  cursor.beginEditBlock();
  pane.setPlainText(text);
  cursor.select(QTextCursor::Document);
  cursor.setCharFormat(plain);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (!lines[i].bold) continue;
    // The line break in front of a bold line is bold with it.
    const QTextBlock block = pane.findBlockByNumber(static_cast<int>(i));
    cursor.setPosition(i > 0 ? block.position() - 1 : block.position());
    cursor.setPosition(block.position() + block.length() - 1, QTextCursor::KeepAnchor);
    cursor.setCharFormat(bold);
    QTextCursor(block).setBlockCharFormat(bold);
  }
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
