#pragma once

#include <cstdint>

class QTextDocument;
class QTextEdit;

namespace tarnlow::ui {

class Platform;
struct Session;

// Replaces the pane's content with the report of the session's WAD at
// `level`. Never fails.
void RebuildReport(const Session& session, QTextDocument& pane, std::int32_t level);

// "Save stats as...": asks for a file name and form, asks before
// overwriting another existing file, sets ReportFileName and writes the
// pane's current content (hand edits and bold kept) as RTF, text or CSV.
// Ends quietly on an empty pane, a cancelled dialog or a No. A failed write
// leaves any existing file as it was and is told to the user in a message;
// ReportFileName holds the new name all the same.
void SaveStats(Session& session, Platform& platform, const QTextEdit& pane);

// "Print Stats...": prints the whole report, or only the selection when
// text is selected and the user leaves that range chosen. The pane's
// selection is as before afterwards. Ends quietly on an empty pane or a
// cancelled dialog.
void PrintStats(Platform& platform, QTextEdit& pane);

}  // namespace tarnlow::ui
