// Report: any document the reader accepts (with its meshes decoded into
// MeshRecords, which the reader leaves empty) gives a very detailled report
// whose plain text is its lines joined with CR LF and whose rich text is
// well-formed ASCII RTF.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "mesh/mesh_decoder.h"
#include "report/report.h"
#include "report/report_files.h"
#include "wad/wad_error.h"
#include "wad/wad_reader.h"

namespace {

using tarnlow::ReportLine;
using tarnlow::fuzz::Require;

// Enough decoded meshes to exercise the mesh table without making one input
// slow: a mesh prints one line per vertex and per normal.
constexpr std::size_t kMaxDecodedMeshes = 16;

std::size_t Count(const std::string& text, const std::string& part) {
  std::size_t n = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) ++n;
  return n;
}

void CheckRich(const std::string& rtf, std::size_t lines) {
  Require(rtf.rfind("{\\rtf1", 0) == 0, "rich text starts an RTF group");
  int depth = 0;
  for (std::size_t i = 0; i < rtf.size(); ++i) {
    const auto c = static_cast<unsigned char>(rtf[i]);
    Require(c < 0x80, "rich text is ASCII");
    if (c == '\\') {
      ++i;  // an escaped character or the first letter of a control word
    } else if (c == '{') {
      ++depth;
    } else if (c == '}') {
      Require(--depth >= 0, "rich text closes no group it did not open");
      if (depth == 0) Require(rtf.find_first_not_of("\r\n", i + 1) == std::string::npos, "nothing follows the RTF group");
    }
  }
  Require(depth == 0, "rich text closes every group");
  Require(Count(rtf, "\\par\r\n") + 1 == lines, "one paragraph break between lines");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const tarnlow::fuzz::ScratchFile input("report.wad");
  input.write(data, size);

  tarnlow::WadDocument document;
  std::int64_t length = 0;
  try {
    document = tarnlow::ReadWAD(input.path(), length);
  } catch (const tarnlow::WadError&) {
    return 0;  // the reader's own target checks its failures
  }
  for (std::size_t i = 0; i < document.MeshPointers.size() && document.MeshRecords.size() < kMaxDecodedMeshes; ++i) {
    auto mesh = tarnlow::ReadMesh(document, static_cast<std::int64_t>(i));
    if (auto* record = std::get_if<tarnlow::MeshRecord>(&mesh)) document.MeshRecords.push_back(std::move(*record));
  }

  tarnlow::ReportContext context;
  context.wadTitle = "fuzz";
  context.wadFileLength = length;
  context.clock = [] { return tarnlow::LocalDateTime{2024, 3, 5, 14, 5, 9}; };

  const std::vector<ReportLine> summary = tarnlow::MakeReport(document, context, 0);
  Require(summary.size() == 24, "a summary has 24 lines whatever the document holds");

  const std::vector<ReportLine> lines = tarnlow::MakeReport(document, context, 2);
  Require(!lines.empty(), "a report has lines");
  std::string joined;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    Require(lines[i].text.find_first_of("\r\n") == std::string::npos, "a report line holds no line break");
    if (i > 0) joined += "\r\n";
    joined += lines[i].text;
  }
  const std::string plain = tarnlow::PlainReportText(lines);
  Require(plain == joined, "plain text is the lines joined with CR LF");
  Require(plain.empty() || (plain.back() != '\n' && plain.back() != '\r'), "plain text ends without a line break");
  CheckRich(tarnlow::RichReportText(lines), lines.size());
  return 0;
}
