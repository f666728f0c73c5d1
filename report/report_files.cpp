#include "report/report_files.h"

#include <cstdint>

#include "report/number_format.h"
#include "wad/atomic_file.h"
#include "wad/utf8.h"

namespace tarnlow {

namespace {

constexpr std::string_view kLineBreak = "\r\n";
constexpr char32_t kReplacement = 0xFFFD;

// RTF's \uN takes a signed 16-bit number. Its one-character fallback (\uc1)
// is "?" written as \'3f: some readers swallow the text after a bare "?".
void AppendUnicodeUnit(std::string& out, std::uint16_t unit) {
  out.append("\\u");
  AppendDecimal(out, static_cast<std::int16_t>(unit));
  out.append("\\'3f");
}

void AppendRtfText(std::string& out, std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    char32_t cp = static_cast<unsigned char>(text[i]);
    if (cp < 0x80) {
      ++i;
    } else {
      // Broken UTF-8 becomes U+FFFD, one byte at a time.
      const std::optional<char32_t> decoded = DecodeUtf8(text, i);
      if (!decoded) ++i;
      cp = decoded.value_or(kReplacement);
    }
    if (cp == '\\' || cp == '{' || cp == '}') {
      out.push_back('\\');
      out.push_back(static_cast<char>(cp));
    } else if (cp == '\t') {
      out.append("\\tab ");
    } else if (cp < 0x20 || cp == 0x7F) {
      // Other control characters as 8-bit escapes, which keep them visible
      // to readers and away from the RTF syntax.
      static constexpr char kDigits[] = "0123456789abcdef";
      out.append("\\'");
      out.push_back(kDigits[cp >> 4]);
      out.push_back(kDigits[cp & 0xF]);
    } else if (cp < 0x80) {
      out.push_back(static_cast<char>(cp));
    } else if (cp < 0x10000) {
      AppendUnicodeUnit(out, static_cast<std::uint16_t>(cp));
    } else {
      const char32_t v = cp - 0x10000;
      AppendUnicodeUnit(out, static_cast<std::uint16_t>(0xD800 + (v >> 10)));
      AppendUnicodeUnit(out, static_cast<std::uint16_t>(0xDC00 + (v & 0x3FF)));
    }
  }
}

}  // namespace

std::string PlainReportText(std::span<const ReportLine> lines) {
  std::size_t size = 0;
  for (const ReportLine& line : lines) size += line.text.size() + kLineBreak.size();
  std::string out;
  out.reserve(size);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) out.append(kLineBreak);
    out.append(lines[i].text);
  }
  return out;
}

std::string RichReportText(std::span<const ReportLine> lines) {
  std::size_t size = 128;
  for (const ReportLine& line : lines) size += line.text.size() + 16;
  std::string out;
  out.reserve(size);
  // \uc1: every \uN is followed by one fallback character for old readers.
  out.append("{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl{\\f0\\fmodern Courier New;}}\r\n\\f0\\fs20 ");
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) out.append("\\par\r\n");
    const ReportLine& line = lines[i];
    // The space ends the control word; the text's own spaces follow it.
    if (line.bold) out.append("\\b ");
    AppendRtfText(out, line.text);
    if (line.bold) out.append("\\b0 ");
  }
  out.append("\r\n}\r\n");
  return out;
}

std::string ReportFileText(std::span<const ReportLine> lines, ReportFileType type) {
  return type == ReportFileType::RichText ? RichReportText(lines) : PlainReportText(lines);
}

void WriteReportFile(const std::filesystem::path& path, std::string_view text) {
  AtomicFile file(path);
  file.write(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
  file.commit();
}

}  // namespace tarnlow
