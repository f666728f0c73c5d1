#include "report/report_files.h"

#include <cstdint>

#include "report/number_format.h"
#include "wad/atomic_file.h"

namespace tarnlow {

namespace {

constexpr std::string_view kLineBreak = "\r\n";
constexpr char32_t kReplacement = 0xFFFD;

// Decodes one UTF-8 sequence at text[i], advancing i. A malformed or
// overlong sequence yields U+FFFD and consumes one byte.
char32_t NextCodePoint(std::string_view text, std::size_t& i) {
  const auto lead = static_cast<unsigned char>(text[i]);
  std::size_t length = 0;
  char32_t cp = 0;
  char32_t minimum = 0;
  if (lead < 0x80) {
    ++i;
    return lead;
  } else if ((lead & 0xE0) == 0xC0) {
    length = 2, cp = lead & 0x1F, minimum = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, cp = lead & 0x0F, minimum = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, cp = lead & 0x07, minimum = 0x10000;
  } else {
    ++i;
    return kReplacement;
  }
  if (i + length > text.size()) {
    ++i;
    return kReplacement;
  }
  for (std::size_t k = 1; k < length; ++k) {
    const auto next = static_cast<unsigned char>(text[i + k]);
    if ((next & 0xC0) != 0x80) {
      ++i;
      return kReplacement;
    }
    cp = (cp << 6) | (next & 0x3F);
  }
  if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    ++i;
    return kReplacement;
  }
  i += length;
  return cp;
}

// RTF's \uN takes a signed 16-bit number. Its one-character fallback (\uc1)
// is "?" written as \'3f: some readers swallow the text after a bare "?".
void AppendUnicodeUnit(std::string& out, std::uint16_t unit) {
  out.append("\\u");
  AppendDecimal(out, static_cast<std::int16_t>(unit));
  out.append("\\'3f");
}

void AppendRtfText(std::string& out, std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const char32_t cp = NextCodePoint(text, i);
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
