#pragma once

#include <vector>

#include "report/report.h"

class QTextDocument;

namespace tarnlow::ui {

// Replaces the pane's whole content with the report lines in one edit: runs
// of lines with the same weight go in as one insertion, so the document is
// laid out once. The pane's plain text is the lines joined with "\n"; a bold
// line is bold together with the line break in front of it. The undo history
// is cleared.
void ShowReport(QTextDocument& pane, const std::vector<ReportLine>& lines);

// The pane's current content as report lines, hand edits included: one line
// per paragraph, bold when the paragraph's first character is bold (an empty
// paragraph: when its own format is bold).
std::vector<ReportLine> PaneLines(const QTextDocument& pane);

// True when the pane holds at least one character.
bool PaneHasText(const QTextDocument& pane);

}  // namespace tarnlow::ui
