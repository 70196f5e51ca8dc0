// The cost of the line pass: the strokes of a paragraph of five written
// lines (six cursive words of twelve letters each, every word with a dot
// above it) taken in as stroke records and grouped into text lines, as the
// recognition driver runs it once the strokes' trajectories are traced.

#include <benchmark/benchmark.h>

#include <memory>

#include "engine/analysis/stroke_feature_pass.h"
#include "engine/segmentation/line_grouping.h"
#include "engine/segmentation/stroke_intake.h"
#include "tests/support/split_ink.h"

namespace inkrec {
namespace {

testing::Ink paragraph(int lines) {
  testing::Ink ink;
  for (int line = 0; line < lines; ++line) {
    const double baseline = 200 + 140 * line;
    for (int word = 0; word < 6; ++word) {
      const double x = 100 + 650 * word;
      ink.push_back(testing::trochoid_word(12, word % 2 == 0 ? 1.6 : 0.7, 40, x, baseline, 0.3));
      const auto dot_x = static_cast<std::int16_t>(x + 300);
      const auto dot_y = static_cast<std::int16_t>(baseline - 70);
      ink.push_back({{dot_x, dot_y}, {static_cast<std::int16_t>(dot_x + 3), dot_y}});
    }
  }
  return ink;
}

void BM_LinePass(benchmark::State& state) {
  const testing::Ink ink = paragraph(static_cast<int>(state.range(0)));
  StrokeList strokes(16, true);
  for (const testing::InkStroke& points : ink) {
    auto stroke = std::make_unique<Stroke>();
    stroke->append_n(points.data(), static_cast<std::uint32_t>(points.size()));
    strokes.push_back_owned(std::move(stroke));
  }
  TrajectoryList trajectories(16, true);
  testing::SplitBench bench;
  if (stroke_feature_pass(strokes, trajectories, nullptr, true) != kOk) {
    state.SkipWithError("no trajectories");
    return;
  }
  LineWork& work = bench.work();
  int status = kOk;
  for (auto _ : state) {
    work.clear();
    RecognitionContext context = bench.context();
    status = reserve_stroke_pairs(context, trajectories.size());
    for (std::uint32_t s = 0; status == kOk && s < trajectories.size(); ++s) {
      status = add_figure_to_pane(context, trajectories[s]->span(), {});
    }
    if (status == kOk) status = analyse_line_set(context, true);
    benchmark::DoNotOptimize(status);
  }
  if (status != kOk) state.SkipWithError("the line pass failed");
  state.counters["strokes"] = static_cast<double>(work.strokes.size());
  std::int64_t points = 0;
  for (const StrokeRecord& s : work.strokes) points += s.run.count;
  state.counters["points"] = static_cast<double>(points);
  state.counters["lines"] = static_cast<double>(work.text_lines.size());
}
BENCHMARK(BM_LinePass)->Arg(5)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace inkrec
