#include "tests/report/golden_report.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "tests/support/temp_dir.h"
#include "tests/support/wad_builder.h"

namespace tarnlow::test {

namespace {

// Fields from `base` upwards, so that every column of a row differs.
AnimationRecord Animation(std::int32_t frameOffset, std::uint8_t rate, std::uint8_t size, std::int16_t state,
                          std::uint8_t firstByte, std::int16_t base) {
  AnimationRecord a{.FrameOffset = frameOffset, .FrameRate = rate, .FrameSize = size, .StateID = state};
  for (std::size_t k = 0; k < 8; ++k) {
    a.Unknown1[k] = static_cast<std::uint8_t>(firstByte + k);
    a.Unknown2[k] = static_cast<std::uint8_t>(firstByte + 8 + k * 3);
  }
  std::int16_t* words[] = {&a.FrameStart, &a.FrameEnd, &a.NextAnimation, &a.NextFrame,
                           &a.NumStateChanges, &a.StateChange, &a.AnimCommands};
  for (std::int16_t* word : words) *word = base++;
  a.AnimCommandCount = 999;  // never printed
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

void ExpectGoldenFile(const std::filesystem::path& path, const std::string& actual) {
  if (std::getenv("TARNLOW_UPDATE_GOLDEN")) std::ofstream(path, std::ios::binary) << actual;
  EXPECT_EQ(actual, ReadFileText(path)) << "differs from " << path;
}

}  // namespace tarnlow::test
