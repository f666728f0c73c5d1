// Report building at the most detailed level on a large WAD.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "report/report.h"
#include "report/report_files.h"
#include "tests/support/wad_builder.h"

namespace tarnlow {
namespace {

// About 240,000 table rows with values of every width, so the number format
// sees one to ten digits and both signs.
WadDocument LargeDocument() {
  constexpr int kRows = 48000;
  std::vector<std::int32_t> pointers;
  std::vector<AnimationRecord> animations;
  std::vector<StateChangeRecord> stateChanges;
  std::vector<AnimDispatchRecord> dispatches;
  std::vector<std::int16_t> commands;
  for (int i = 0; i < kRows; ++i) {
    pointers.push_back(i * 40503 - 7);
    AnimationRecord a;
    a.FrameOffset = i * 97;
    a.FrameRate = static_cast<std::uint8_t>(i);
    a.StateID = static_cast<std::int16_t>(i % 300 - 150);
    a.Unknown1.fill(static_cast<std::uint8_t>(i * 3));
    a.FrameEnd = static_cast<std::int16_t>(i);
    animations.push_back(a);
    const auto word = static_cast<std::int16_t>(i * 7);
    stateChanges.push_back({word, 1, static_cast<std::int16_t>(i)});
    dispatches.push_back({word, static_cast<std::int16_t>(word + 5), 12, -1});
    commands.push_back(word);
  }
  return test::WadBuilder()
      .meshPointers(pointers)
      .animations(animations)
      .stateChanges(stateChanges)
      .animDispatches(dispatches)
      .animCommands(commands)
      .build();
}

ReportContext Context() {
  ReportContext context;
  context.wadTitle = "large";
  context.wadFileLength = 123456789;
  context.clock = [] { return LocalDateTime{2024, 3, 5, 14, 5, 9}; };
  return context;
}

void BM_MakeReport(benchmark::State& state) {
  const WadDocument document = LargeDocument();
  const ReportContext context = Context();
  std::size_t lines = 0;
  for (auto _ : state) {
    std::vector<ReportLine> report = MakeReport(document, context, 2);
    lines += report.size();
    benchmark::DoNotOptimize(report.data());
  }
  state.counters["lines_per_second"] = benchmark::Counter(static_cast<double>(lines), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_MakeReport)->Unit(benchmark::kMillisecond);

void BM_PlainReportText(benchmark::State& state) {
  const std::vector<ReportLine> report = MakeReport(LargeDocument(), Context(), 2);
  std::size_t lines = 0;
  for (auto _ : state) {
    std::string text = PlainReportText(report);
    lines += report.size();
    benchmark::DoNotOptimize(text.data());
  }
  state.counters["lines_per_second"] = benchmark::Counter(static_cast<double>(lines), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_PlainReportText)->Unit(benchmark::kMillisecond);

void BM_RichReportText(benchmark::State& state) {
  const std::vector<ReportLine> report = MakeReport(LargeDocument(), Context(), 2);
  std::size_t lines = 0;
  for (auto _ : state) {
    std::string text = RichReportText(report);
    lines += report.size();
    benchmark::DoNotOptimize(text.data());
  }
  state.counters["lines_per_second"] = benchmark::Counter(static_cast<double>(lines), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_RichReportText)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tarnlow

BENCHMARK_MAIN();
