#include <charconv>
#include <new>

#include "cli/report_commands.h"
#include "report/local_clock.h"
#include "report/report.h"
#include "report/report_files.h"
#include "wad/file_paths.h"
#include "wad/wad_reader.h"

namespace tarnlow::cli {

namespace {

struct ReportArguments {
  std::int32_t level = 0;
  ReportFileType type = ReportFileType::PlainText;
  std::optional<LocalDateTime> at;
  std::filesystem::path output;
  std::string wad;
  ReadMode mode = ReadMode::Specified;
};

// Reads exactly `width` digits at text[pos]; false when they are not there.
bool readDigits(std::string_view text, std::size_t pos, std::size_t width, int& value) {
  if (pos + width > text.size()) return false;
  const char* first = text.data() + pos;
  const auto [end, ec] = std::from_chars(first, first + width, value);
  return ec == std::errc() && end == first + width;
}

// "YYYY-MM-DD HH:MM:SS" with every field in its range; nothing otherwise.
std::optional<LocalDateTime> parseAt(std::string_view text) {
  LocalDateTime t;
  if (text.size() != 19 || text[4] != '-' || text[7] != '-' || text[10] != ' ' || text[13] != ':' ||
      text[16] != ':') {
    return std::nullopt;
  }
  if (!readDigits(text, 0, 4, t.year) || !readDigits(text, 5, 2, t.month) || !readDigits(text, 8, 2, t.day) ||
      !readDigits(text, 11, 2, t.hour) || !readDigits(text, 14, 2, t.minute) || !readDigits(text, 17, 2, t.second)) {
    return std::nullopt;
  }
  if (t.month < 1 || t.month > 12 || t.day < 1 || t.day > 31 || t.hour > 23 || t.minute > 59 || t.second > 59) {
    return std::nullopt;
  }
  return t;
}

// Fills `parsed` or returns the usage error's text.
std::string parseArguments(const std::vector<std::string>& args, ReportArguments& parsed) {
  std::vector<std::string> positional;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const bool takesValue = arg == "--level" || arg == "--format" || arg == "--at" || arg == "-o";
    if (takesValue && i + 1 >= args.size()) return "report: " + arg + " needs a value";
    if (arg == "--level") {
      const std::string& value = args[++i];
      if (value != "0" && value != "1" && value != "2") return "report: --level must be 0, 1 or 2";
      parsed.level = value[0] - '0';
    } else if (arg == "--format") {
      const std::string& value = args[++i];
      if (value == "rtf") {
        parsed.type = ReportFileType::RichText;
      } else if (value == "txt" || value == "csv") {
        parsed.type = ReportFileType::PlainText;
      } else {
        return "report: --format must be txt, csv or rtf";
      }
    } else if (arg == "--at") {
      parsed.at = parseAt(args[++i]);
      if (!parsed.at) return "report: --at needs \"YYYY-MM-DD HH:MM:SS\"";
    } else if (arg == "-o") {
      parsed.output = PathFromUtf8(args[++i]);
      if (parsed.output.empty()) return "report: -o needs a file name";
    } else if (arg == "--lenient") {
      parsed.mode = ReadMode::Lenient;
    } else if (arg.size() > 1 && arg[0] == '-') {
      return "report: unknown option " + arg;
    } else {
      positional.push_back(arg);
    }
  }
  if (positional.size() != 1) return "report: expected one WAD file";
  parsed.wad = positional[0];
  return {};
}

}  // namespace

int RunReport(const CommandContext& context) {
  ReportArguments arguments;
  if (std::string problem = parseArguments(context.args, arguments); !problem.empty()) {
    return UsageError(context.err, problem);
  }

  const std::optional<WadDocument> read = ReadWadOrReport(PathFromUtf8(arguments.wad), context.err, arguments.mode);
  if (!read) return kExitBadWad;
  const WadDocument& document = *read;
  ReportContext reportContext;
  reportContext.wadFileLength = static_cast<std::int64_t>(document.reading.fileLength);
  reportContext.wadTitle = FileTitle(arguments.wad, false);
  if (arguments.at) {
    reportContext.clock = [at = *arguments.at] { return at; };
  } else {
    reportContext.clock = LocalNow;
  }

  const std::string text =
      ReportFileText(MakeReport(document, reportContext, arguments.level), arguments.type);
  if (arguments.output.empty()) {
    context.out.write(text.data(), static_cast<std::streamsize>(text.size()));
    return context.out ? kExitOk : kExitFailure;
  }
  try {
    WriteReportFile(arguments.output, text);
  } catch (const WadError& e) {
    context.err << "report: cannot write " << arguments.output.string() << ": " << e.what() << "\n";
    return kExitFailure;
  }
  return kExitOk;
}

}  // namespace tarnlow::cli
