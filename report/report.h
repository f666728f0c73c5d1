#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "wad/wad_document.h"

namespace tarnlow {

// One line of the statistics report and its one character attribute.
struct ReportLine {
  std::string text;
  bool bold = false;
  friend bool operator==(const ReportLine&, const ReportLine&) = default;
};

// A local date and time, as the report prints it.
struct LocalDateTime {
  int year = 0, month = 0, day = 0;
  int hour = 0, minute = 0, second = 0;
};

// Everything the report needs besides the document and the level. The clock
// is read once for the header and again for the closing time, so a fixed
// clock gives a reproducible report.
struct ReportContext {
  std::string wadTitle;             // file name without folder and extension
  std::int64_t wadFileLength = 0;   // bytes of the file last read
  std::function<LocalDateTime()> clock;
  char dateSeparator = '/';
  char timeSeparator = ':';
};

// The report lines, built line by line; the one way lines are added.
class ReportBuilder {
 public:
  // Appends `text` with `indent` spaces in front (none when indent <= 0).
  void AddReportLine(std::string_view text, std::int16_t indent = 0, bool bold = false);
  std::vector<ReportLine> take() { return std::move(lines_); }
  void reserve(std::size_t lines) { lines_.reserve(lines); }

 private:
  std::vector<ReportLine> lines_;
};

// The whole statistics report of `document` at `level` (0 summary,
// 1 detailled, 2 very detailled). Any other level gives an empty level name,
// plain count lines and no section lines. Never fails: the document's counts
// are trusted only as far as its arrays reach.
std::vector<ReportLine> MakeReport(const WadDocument& document, const ReportContext& context, std::int32_t level);

// The value laid into "### ### ##0" from the right: "  0", " 1 234",
// "1 234 567", "1234 567 890".
std::string FormatNum(std::int64_t value);

// Upper-case hexadecimal without prefix or leading zeros; negative values as
// their 32-bit two's complement ("FFFFFFFF" for -1).
std::string FormatHex(std::int32_t value);

}  // namespace tarnlow
