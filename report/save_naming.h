#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "report/report_files.h"
#include "wad/file_paths.h"

namespace tarnlow {

// The file a report is saved to and the form it is written in.
struct ReportSaveTarget {
  std::string fileName;
  ReportFileType type = ReportFileType::PlainText;
  friend bool operator==(const ReportSaveTarget&, const ReportSaveTarget&) = default;
};

// The filter of the report's save dialog; entry 3 (CSV) is preselected.
inline constexpr std::string_view kReportSaveFilter =
    "RichText file (*.rtf)|*.rtf|Text file (*.txt)|*.txt|CSV file (*.csv)|*.csv";
inline constexpr int kReportSaveDefaultFilter = 3;

// The file a chosen name is saved to, for the 1-based filter entry the user
// left selected: the name lower-cased, its extension from the last "." of
// the file-name part (never a "." in a folder name) replaced by ".rtf"
// (entry 1, rich text), ".txt" (entry 2 or below 1, plain text) or ".CSV"
// (entry 3 or above, plain text). A file-name part without "." gets the
// extension appended. Returns nothing for an empty name or one that names
// only a folder.
std::optional<ReportSaveTarget> ResolveReportSaveName(std::string_view chosenName, int filterIndex);

// As ResolveReportSaveName, but only the file-name part is lower-cased: the
// folder (everything up to the last "\" or "/") stays exactly as chosen,
// for systems whose folders are case-sensitive. Returns nothing for an empty
// name or one that names only a folder.
std::optional<ReportSaveTarget> ResolveReportSaveNameKeepingFolder(std::string_view chosenName, int filterIndex);

// Whether saving the chosen name must ask before overwriting an existing
// file: always while nothing was saved yet (`reportFileName` empty), else
// when the chosen name differs from it regardless of case.
bool OverwriteQuestionNeeded(std::string_view reportFileName, std::string_view chosenName);

// The save dialog's title: "Save File as" before the first save, "Save File"
// once `reportFileName` holds a name.
std::string_view ReportSaveDialogTitle(std::string_view reportFileName);

}  // namespace tarnlow
