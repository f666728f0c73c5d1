#pragma once

#include <filesystem>
#include <span>
#include <string>
#include <string_view>

#include "report/report.h"

namespace tarnlow {

// The two forms a report file takes. The ".CSV" file is the plain form.
enum class ReportFileType { RichText, PlainText };

// The lines joined with CR LF, no break after the last line; bold flags are
// dropped. The text and CSV files hold exactly these bytes. Never fails.
std::string PlainReportText(std::span<const ReportLine> lines);

// An RTF 1 document of the lines in Courier New, each bold line between \b
// and \b0, lines separated by \par. The lines are taken as UTF-8: characters
// beyond ASCII are written as \uN escapes with "?" as fallback (a byte that is not valid UTF-8
// as U+FFFD). Never fails.
std::string RichReportText(std::span<const ReportLine> lines);

// The file content of `lines` in the form `type`.
std::string ReportFileText(std::span<const ReportLine> lines, ReportFileType type);

// Writes `text` to `path` through a temporary file and a rename, so a failed
// write leaves an existing file as it was. Throws WadError (errno and its
// text) when the folder cannot be written or the write fails.
void WriteReportFile(const std::filesystem::path& path, std::string_view text);

}  // namespace tarnlow
