#include "report/report.h"

#include <array>
#include <string>

#include "report/local_clock.h"
#include "report/number_format.h"
#include "report/report_tables.h"

namespace tarnlow {

void ReportBuilder::AddReportLine(std::string_view text, std::int16_t indent, bool bold) {
  const std::size_t spaces = indent > 0 ? static_cast<std::size_t>(indent) : 0;
  std::string line;
  line.reserve(spaces + text.size());
  line.append(spaces, ' ');
  line.append(text);
  lines_.push_back(ReportLine{std::move(line), bold});
}

namespace {

std::string_view LevelName(std::int32_t level) {
  switch (level) {
    case 0: return "summary";
    case 1: return "detailled";
    case 2: return "very detailled";
    default: return "";
  }
}

LocalDateTime ReadClock(const ReportContext& context) {
  // A context without a clock reports the real time rather than failing.
  return context.clock ? context.clock() : LocalNow();
}

void AppendDate(std::string& out, const LocalDateTime& t, char separator) {
  AppendPadded(out, t.year, 4);
  out.push_back(separator);
  AppendPadded(out, t.month, 2);
  out.push_back(separator);
  AppendPadded(out, t.day, 2);
}

void AppendTime(std::string& out, const LocalDateTime& t, char separator) {
  AppendPadded(out, t.hour, 2);
  out.push_back(separator);
  AppendPadded(out, t.minute, 2);
  out.push_back(separator);
  AppendPadded(out, t.second, 2);
}

// One count line per section, in report order.
struct Section {
  std::string_view label;
  std::int32_t WadDocument::*count;
};

constexpr std::array<Section, 12> kSections{{
    {"Texture Info (NumTextInfo): ", &WadDocument::NumTextInfo},
    {"Texture Data (NumTextData): ", &WadDocument::NumTextData},
    {"Number of Mesh Pointers (NumMeshPointers): ", &WadDocument::NumMeshPointers},
    {"Number of Mesh Data (NumMeshData): ", &WadDocument::NumMeshData},
    {"Number of Animations (NumAnimations): ", &WadDocument::NumAnimations},
    {"Number of State Changes (NumStateChanges): ", &WadDocument::NumStateChanges},
    {"Number of AnimDispatches (NumAnimDispatches): ", &WadDocument::NumAnimDispatches},
    {"Number of Animation Commands (NumAnimCommands): ", &WadDocument::NumAnimCommands},
    {"Number of Mesh Tree (NumMeshTrees): ", &WadDocument::NumMeshTrees},
    {"Number of Frames (NumFrames): ", &WadDocument::NumFrames},
    {"Number of Moveables (NumMoveables): ", &WadDocument::NumMoveables},
    {"Number of Static Meshes (NumStaticMeshes): ", &WadDocument::NumStaticMeshes},
}};

constexpr std::string_view kNotIncluded = "Not presently included in output...";
constexpr std::string_view kArrayOfIntegers = "This is an array of integers.";

class ReportWriter {
 public:
  ReportWriter(const WadDocument& document, const ReportContext& context, std::int32_t level)
      : document_(document), context_(context), level_(level), detailed_(level == 1 || level == 2) {}

  std::vector<ReportLine> write() {
    report_.reserve(expectedLines());
    addHeader();
    for (std::size_t section = 0; section < kSections.size(); ++section) {
      addCountLine(kSections[section]);
      addSectionBody(section);
    }
    addClosing();
    return report_.take();
  }

 private:
  std::size_t expectedLines() const {
    if (!detailed_) return 24;
    // Header, count lines, notes, rules and closing stay below 64; the
    // tables add one line per row.
    return 64 + TrustedCount(document_.NumMeshPointers, document_.MeshPointers.size()) +
           TrustedCount(document_.NumAnimations, document_.Animations.size()) +
           TrustedCount(document_.NumStateChanges, document_.StateChanges.size()) +
           TrustedCount(document_.NumAnimDispatches, document_.AnimDispatches.size()) +
           (level_ == 2 ? TrustedCount(document_.NumAnimCommands, document_.AnimCommands.size()) : 0) +
           MeshTableLineCount(document_.MeshRecords);
  }

  void addHeader() {
    const LocalDateTime made = ReadClock(context_);
    report_.AddReportLine(kEqualsRule);
    line_.assign("Report on WAD: ").append(context_.wadTitle);
    report_.AddReportLine(line_, 0, true);
    line_.assign("File size: ");
    AppendNum(line_, context_.wadFileLength);
    line_.append(" bytes, version: ");
    AppendDecimal(line_, document_.Version);
    report_.AddReportLine(line_);
    line_.assign("Made on ");
    AppendDate(line_, made, context_.dateSeparator);
    line_.append("; ");
    AppendTime(line_, made, context_.timeSeparator);
    report_.AddReportLine(line_);
    line_.assign("Detail level: ").append(LevelName(level_));
    report_.AddReportLine(line_);
    report_.AddReportLine(kEqualsRule);
  }

  // An empty section before the static meshes (which a lenient reading
  // gives) counts as 0, whatever count below 1 the file held.
  void addCountLine(const Section& section) {
    const std::int32_t count = document_.*section.count;
    const bool emptySection = section.count != &WadDocument::NumStaticMeshes && count < 1;
    line_.assign(section.label);
    AppendNum(line_, emptySection ? 0 : count);
    report_.AddReportLine(line_, 0, detailed_);
  }

  // A note line followed by the dash rule.
  void addNote(std::string_view note) {
    report_.AddReportLine(note);
    report_.AddReportLine(kDashRule);
  }

  void addSectionBody(std::size_t section) {
    if (!detailed_) return;
    const bool veryDetailed = level_ == 2;
    switch (section) {
      case 0:
        if (veryDetailed) addNote(kNotIncluded);
        break;
      case 1:
        if (veryDetailed) addTextureIndexLine();
        break;
      case 2:
        AddMeshPointerTable(report_, document_);
        report_.AddReportLine(kDashRule);
        break;
      case 3:
        addNote("This is an array of longs");
        AddMeshTable(report_, document_.MeshRecords);
        break;
      case 4:
        AddAnimationTable(report_, document_);
        report_.AddReportLine(kDashRule);
        break;
      case 5:
        AddStateChangeTable(report_, document_);
        report_.AddReportLine(kDashRule);
        break;
      case 6:
        AddDispatchTable(report_, document_);
        report_.AddReportLine(kDashRule);
        break;
      case 7:
        if (veryDetailed) {
          AddCommandTable(report_, document_);
          report_.AddReportLine(kDashRule);
        } else {
          addNote(kArrayOfIntegers);
        }
        break;
      case 8:
        addNote("This is an array of longs.");
        break;
      case 9:
        addNote(veryDetailed ? kNotIncluded : kArrayOfIntegers);
        break;
      default:
        addNote(kNotIncluded);
        break;
    }
  }

  void addTextureIndexLine() {
    // The grid's real extent, not one derived from NumTextData. A grid
    // without rows has no second index to range over.
    const auto rows = static_cast<std::int64_t>(document_.TextData.size());
    line_.assign("Texture Data indexes: Index 1: 0 to ");
    AppendNum(line_, 255);
    if (rows > 0) {
      line_.append(" Index 2: 0 to ");
      AppendNum(line_, rows - 1);
    } else {
      line_.append(" Index 2: none, no rows");
    }
    addNote(line_);
  }

  void addClosing() {
    report_.AddReportLine(kEqualsRule);
    line_.assign("End of report on ").append(context_.wadTitle).append(" WAD file.");
    report_.AddReportLine(line_);
    const LocalDateTime ended = ReadClock(context_);
    line_.assign("Report ended at ");
    AppendTime(line_, ended, context_.timeSeparator);
    report_.AddReportLine(line_);
    report_.AddReportLine(kDashRule);
    report_.AddReportLine("All data type names are as given by Tavrel in his source code.", 5);
    report_.AddReportLine(kEqualsRule);
  }

  const WadDocument& document_;
  const ReportContext& context_;
  const std::int32_t level_;
  const bool detailed_;
  ReportBuilder report_;
  std::string line_;
};

}  // namespace

std::vector<ReportLine> MakeReport(const WadDocument& document, const ReportContext& context, std::int32_t level) {
  return ReportWriter(document, context, level).write();
}

}  // namespace tarnlow
