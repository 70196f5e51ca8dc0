// The cost of preparing figure geometry, per figure, over a few hundred
// synthetic cursive strokes: the eager preparation, the first read of the
// raster, gap and width blocks and of the descent block, and a read of
// blocks already kept.

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "engine/records/figure_records.h"
#include "engine/records/trajectory_record.h"

namespace inkrec {
namespace {

constexpr int kStrokeCount = 300;

// A looping cursive stroke: a trochoid whose size and length vary with its
// index, in tablet units.
std::vector<PointRecord> cursive_stroke(int index) {
  const int points = 40 + (index * 37) % 90;
  const double radius = 12.0 + index % 9;
  const double left = 60.0 * (index % 20);
  const double top = 120.0 * (index / 20);
  std::vector<PointRecord> stroke;
  stroke.reserve(static_cast<std::size_t>(points));
  for (int i = 0; i < points; ++i) {
    const double t = 0.25 * i;
    const PackedPoint p{static_cast<std::int16_t>(left + 2.0 * t * 3.0 + radius * std::cos(t)),
                        static_cast<std::int16_t>(top + radius * 1.8 * std::sin(t))};
    stroke.push_back({p, TrajectoryRecord(static_cast<std::uint16_t>(i))});
  }
  return stroke;
}

// The strokes and one record each, with steps filled in.
class Page {
 public:
  Page() : strokes_(kStrokeCount), records_(kStrokeCount) {
    for (int i = 0; i < kStrokeCount; ++i) {
      strokes_[i] = cursive_stroke(i);
      records_[i].run = PointRun{strokes_[i].data(), static_cast<std::int32_t>(strokes_[i].size())};
      fill_steps_and_crossings(records_[i].run);
    }
  }

  std::vector<StrokeRecord>& records() { return records_; }

 private:
  std::vector<std::vector<PointRecord>> strokes_;
  std::vector<StrokeRecord> records_;
};

void report_per_figure(benchmark::State& state) {
  state.SetItemsProcessed(state.iterations() * kStrokeCount);
  state.counters["per_figure"] = benchmark::Counter(
      kStrokeCount, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_PrepareFigures(benchmark::State& state) {
  Page page;
  for (auto _ : state) {
    for (StrokeRecord& record : page.records()) {
      benchmark::DoNotOptimize(figure_prepare_glyph(record, true));
    }
  }
  report_per_figure(state);
}
BENCHMARK(BM_PrepareFigures);

void BM_FirstBlockRead(benchmark::State& state) {
  Page page;
  for (StrokeRecord& record : page.records()) figure_prepare_glyph(record, true);
  for (auto _ : state) {
    for (StrokeRecord& record : page.records()) {
      record.geometry.reset();
      PointRun* const own[] = {&record.run};
      benchmark::DoNotOptimize(&record.geometry.ensure_block_b(own));
      benchmark::DoNotOptimize(&record.geometry.ensure_block_c(own));
    }
  }
  report_per_figure(state);
}
BENCHMARK(BM_FirstBlockRead);

// The descent block of letters of the size of the strokes' loops.
void BM_FirstDescentRead(benchmark::State& state) {
  Page page;
  for (StrokeRecord& record : page.records()) figure_prepare_glyph(record, true);
  for (auto _ : state) {
    for (StrokeRecord& record : page.records()) {
      record.geometry.reset();
      PointRun* const own[] = {&record.run};
      benchmark::DoNotOptimize(&record.geometry.ensure_block_d(own, 40, 8));
    }
  }
  report_per_figure(state);
}
BENCHMARK(BM_FirstDescentRead);

void BM_KeptBlockRead(benchmark::State& state) {
  Page page;
  for (StrokeRecord& record : page.records()) {
    figure_prepare_glyph(record, true);
    record.glyph_block_c();
  }
  for (auto _ : state) {
    for (StrokeRecord& record : page.records()) {
      PointRun* const own[] = {&record.run};
      benchmark::DoNotOptimize(&record.geometry.ensure_block_b(own));
      benchmark::DoNotOptimize(&record.geometry.ensure_block_c(own));
    }
  }
  report_per_figure(state);
}
BENCHMARK(BM_KeptBlockRead);

}  // namespace
}  // namespace inkrec
