#include "tests/report/golden_report.h"

#include <fstream>
#include <sstream>

#include "tests/support/wad_builder.h"

namespace tarnlow::test {

namespace {

AnimationRecord Animation(std::int32_t frameOffset, std::uint8_t rate, std::uint8_t size, std::int16_t state,
                          std::uint8_t firstByte, std::int16_t base) {
  AnimationRecord a;
  a.FrameOffset = frameOffset;
  a.FrameRate = rate;
  a.FrameSize = size;
  a.StateID = state;
  for (std::size_t k = 0; k < 8; ++k) {
    a.Unknown1[k] = static_cast<std::uint8_t>(firstByte + k);
    a.Unknown2[k] = static_cast<std::uint8_t>(firstByte + 8 + k * 3);
  }
  a.FrameStart = base;
  a.FrameEnd = static_cast<std::int16_t>(base + 1);
  a.NextAnimation = static_cast<std::int16_t>(base + 2);
  a.NextFrame = static_cast<std::int16_t>(base + 3);
  a.NumStateChanges = static_cast<std::int16_t>(base + 4);
  a.StateChange = static_cast<std::int16_t>(base + 5);
  a.AnimCommandCount = 999;  // never printed
  a.AnimCommands = static_cast<std::int16_t>(base + 6);
  return a;
}

}  // namespace

WadDocument GoldenDocument() {
  return WadBuilder()
      .version(130)
      .textInfo({TextInfoRecord{}, TextInfoRecord{}, TextInfoRecord{}})
      .textureRows(2)
      .meshPointers({0, 1234, -1, 786432})
      .meshData(Bytes(40, 0))
      .animations({Animation(0, 1, 2, 3, 0, 0), Animation(-1234567, 255, 128, -2, 200, -32768),
                   Animation(1234567890, 30, 17, 32767, 120, 1000)})
      .stateChanges({{1, 2, 3}, {-1, 0, 32767}})
      .animDispatches({{0, 10, 4, 5}, {-20, -10, -1, 1234}, {7, 8, 9, 10}})
      .animCommands({1, -2, 300, 32767, -32768})
      .meshTrees({0, 2, 65536})
      .frames({5, 6, 7, 8})
      .moveables({Moveable(0, 4, 0), Moveable(7, 1, 3)})
      .staticMeshes({StaticMeshRecord{}, StaticMeshRecord{}})
      .build();
}

ReportContext GoldenContext() {
  ReportContext context;
  context.wadTitle = "golden";
  context.wadFileLength = static_cast<std::int64_t>(WadFileBytes(GoldenDocument()).size());
  context.clock = [] { return LocalDateTime{2024, 3, 5, 14, 5, 9}; };
  return context;
}

std::filesystem::path GoldenPath(int level) {
  return std::filesystem::path(TARNLOW_REPORT_GOLDEN_DIR) / ("report_level" + std::to_string(level) + ".txt");
}

std::string ToGoldenText(const std::vector<ReportLine>& lines) {
  std::string out;
  for (const ReportLine& line : lines) out.append(line.bold ? "B|" : " |").append(line.text).append("\n");
  return out;
}

std::vector<ReportLine> ReadGolden(const std::filesystem::path& path) {
  std::vector<ReportLine> lines;
  std::ifstream in(path, std::ios::binary);
  std::string line;
  while (std::getline(in, line)) {
    lines.push_back(ReportLine{line.size() >= 2 ? line.substr(2) : std::string(), line.starts_with("B|")});
  }
  return lines;
}

std::string DiffLines(const std::vector<ReportLine>& expected, const std::vector<ReportLine>& actual) {
  std::ostringstream diff;
  const std::size_t common = std::min(expected.size(), actual.size());
  for (std::size_t i = 0; i < common; ++i) {
    if (expected[i] == actual[i]) continue;
    diff << "line " << i + 1 << ":\n  expected " << (expected[i].bold ? "B|" : " |") << expected[i].text
         << "\n  actual   " << (actual[i].bold ? "B|" : " |") << actual[i].text << "\n";
  }
  if (expected.size() != actual.size()) {
    diff << "expected " << expected.size() << " lines, got " << actual.size() << "\n";
    const auto& longer = expected.size() > actual.size() ? expected : actual;
    for (std::size_t i = common; i < longer.size(); ++i) {
      diff << (expected.size() > actual.size() ? "  missing " : "  extra   ") << "line " << i + 1 << ": "
           << longer[i].text << "\n";
    }
  }
  return diff.str();
}

}  // namespace tarnlow::test
