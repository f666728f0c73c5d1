// The report pane: a 100,000-line report applied in one batch, against the
// same text set as plain text (the fastest way Qt fills a text box).
#include <benchmark/benchmark.h>

#include <QAbstractTextDocumentLayout>
#include <QTextDocument>
#include <QTextEdit>
#include <cstdint>
#include <vector>

#include "report/report.h"
#include "tests/support/wad_builder.h"
#include "ui/report_pane.h"

namespace tarnlow {
namespace {

// At the detailed level each record is one table row: four tables of 25,000
// rows give a report of about 100,000 lines, count lines bold.
std::vector<ReportLine> LargeReport() {
  constexpr int kRows = 25000;
  std::vector<std::int32_t> pointers;
  std::vector<AnimationRecord> animations;
  std::vector<StateChangeRecord> stateChanges;
  std::vector<AnimDispatchRecord> dispatches;
  for (int i = 0; i < kRows; ++i) {
    pointers.push_back(i * 40503 - 7);
    AnimationRecord a;
    a.FrameOffset = i * 97;
    a.StateID = static_cast<std::int16_t>(i % 300 - 150);
    animations.push_back(a);
    const auto word = static_cast<std::int16_t>(i * 7);
    stateChanges.push_back({word, 1, static_cast<std::int16_t>(i)});
    dispatches.push_back({word, static_cast<std::int16_t>(word + 5), 12, -1});
  }
  const WadDocument document = test::WadBuilder()
                                   .meshPointers(pointers)
                                   .animations(animations)
                                   .stateChanges(stateChanges)
                                   .animDispatches(dispatches)
                                   .build();
  ReportContext context;
  context.wadTitle = "large";
  context.clock = [] { return LocalDateTime{2024, 3, 5, 14, 5, 9}; };
  return MakeReport(document, context, 1);
}

QString JoinedText(const std::vector<ReportLine>& lines) {
  QStringList text;
  for (const ReportLine& line : lines) text << QString::fromStdString(line.text);
  return text.join(QLatin1Char('\n'));
}

// Both cases finish with the pane laid out, so each pays for its layout.
void BM_ShowReport(benchmark::State& state) {
  const std::vector<ReportLine> lines = LargeReport();
  QTextEdit pane;
  pane.setLineWrapMode(QTextEdit::NoWrap);
  for (auto _ : state) {
    ui::ShowReport(*pane.document(), lines);
    benchmark::DoNotOptimize(pane.document()->documentLayout()->documentSize());
  }
  state.counters["lines"] = static_cast<double>(lines.size());
}
BENCHMARK(BM_ShowReport)->Unit(benchmark::kMillisecond);

void BM_SetPlainText(benchmark::State& state) {
  const std::vector<ReportLine> lines = LargeReport();
  const QString text = JoinedText(lines);
  QTextEdit pane;
  pane.setLineWrapMode(QTextEdit::NoWrap);
  for (auto _ : state) {
    pane.setPlainText(text);
    benchmark::DoNotOptimize(pane.document()->documentLayout()->documentSize());
  }
  state.counters["lines"] = static_cast<double>(lines.size());
}
BENCHMARK(BM_SetPlainText)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tarnlow
