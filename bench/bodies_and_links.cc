// The cost of the bodies-and-links split: every pass over a line of 5, 20
// or 80 cursive words of twelve letters each, looped and leaning, once the
// strokes' trajectories are measured.

#include "engine/analysis/bodies_and_links.h"

#include <benchmark/benchmark.h>

#include "tests/support/split_ink.h"

namespace inkrec {
namespace {

void BM_SplitCursiveLine(benchmark::State& state) {
  testing::Ink ink;
  for (int word = 0; word < state.range(0); ++word) {
    ink.push_back(
        testing::trochoid_word(12, word % 2 == 0 ? 1.6 : 0.7, 40, 100 + 260 * word, 200, 0.3));
  }
  testing::SplitBench bench(u"abcdefghijklmnopqrstuvwxyz");
  if (bench.load_ink(ink) != kOk || bench.build_records(testing::guess_line_shape(ink)) != kOk) {
    state.SkipWithError("no line work");
    return;
  }
  LineWork& work = bench.work();
  for (auto _ : state) {
    work.bodies.clear();
    work.links.clear();
    work.stroke_pairs.reserve(work.strokes.size());
    RecognitionContext context = bench.context();
    benchmark::DoNotOptimize(split_into_bodies_and_links(context));
  }
  state.counters["links"] = static_cast<double>(work.links.size());
}
BENCHMARK(BM_SplitCursiveLine)->Arg(5)->Arg(20)->Arg(80)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace inkrec
