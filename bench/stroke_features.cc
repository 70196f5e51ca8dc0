// The cost of the stroke features: the RAF vector of one written letter
// (both passes of a figure into one vector), the stroke feature pass
// (trajectory with step refinement) over one looping stroke of 150 or 1500
// points, and the self-crossing search over such strokes up to 6000 points.

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/analysis/raf_context.h"
#include "engine/analysis/raf_features.h"
#include "engine/analysis/self_crossings.h"
#include "engine/analysis/stroke_feature_pass.h"
#include "tests/support/raf_figures.h"

namespace inkrec {
namespace {

// The letter "d" of "desire" from the first line of the test fixture
// "unipen_lines.txt": UNIPEN train_r01_v07 by the International Unipen
// Foundation, under CC BY 4.0 (doi 10.5281/zenodo.1195803), rescaled as the
// fixture's README says.
constexpr PackedPoint kLetter[] = {
    {339, 76},  {336, 76},  {333, 76},  {330, 76},  {323, 79},  {320, 81},  {317, 85},  {314, 88},
    {310, 96},  {309, 99},  {308, 103}, {308, 106}, {308, 108}, {309, 110}, {310, 112}, {312, 112},
    {314, 112}, {318, 112}, {322, 110}, {327, 108}, {338, 103}, {342, 100}, {347, 96},  {351, 91},
    {354, 86},  {358, 78},  {361, 69},  {362, 59},  {361, 41},  {359, 34},  {357, 27},  {355, 21},
    {351, 17},  {349, 16},  {346, 16},  {343, 17},  {339, 28},  {339, 36},  {339, 45},  {340, 53},
    {342, 61},  {345, 70},  {349, 78},  {353, 84},  {359, 94},  {361, 97},  {364, 100}, {365, 102}};

// The letter moved to the origin and scaled to 48 units, without repeated
// points, as the figure conversion hands it to the features.
StrokeList normalised_letter() {
  Box16 box;
  box.set_from_points(kLetter[0], kLetter[0]);
  for (const PackedPoint p : kLetter) box.include_point(p);
  const int extent = std::max(box.width(), box.height());
  auto stroke = std::make_unique<Stroke>();
  for (const PackedPoint p : kLetter) {
    append_point_if_new(*stroke, {static_cast<std::int16_t>((p.x - box.left) * 47 / extent),
                                  static_cast<std::int16_t>((p.y - box.top) * 47 / extent)});
  }
  StrokeList strokes(1, true);
  strokes.push_back_owned(std::move(stroke));
  return strokes;
}

void BM_LetterRafVector(benchmark::State& state) {
  const DynArray<Raf> rafs = test::full_raf_list();
  const StrokeList letter = normalised_letter();
  RafContext context;
  for (auto _ : state) {
    context.reset(test::total_cells(rafs));
    for (const bool generic : {false, true}) {
      context.release_work_area();
      context.load_strokes(letter);
      const Box16 box = strokes_bounding_box(context.work.strokes);
      if (compute_rafs(context, rafs, box, nullptr, nullptr, generic) != kOk) {
        state.SkipWithError("the letter's features failed");
        return;
      }
    }
    benchmark::DoNotOptimize(context.vector.nonzero.size());
  }
  state.counters["lit cells"] = context.vector.nonzero.size();
}
BENCHMARK(BM_LetterRafVector);

// A long looping stroke of 1500 points: a trochoid of loops about 40 units
// high drifting to the right, the way fast cursive writing loops.
StrokeList looping_stroke(int points) {
  auto stroke = std::make_unique<Stroke>();
  for (int i = 0; i < points; ++i) {
    const double t = 0.2 * i;
    stroke->push_back({static_cast<std::int16_t>(100 + 3.0 * t + 20 * std::cos(t)),
                       static_cast<std::int16_t>(500 + 20 * std::sin(t))});
  }
  StrokeList strokes(1, true);
  strokes.push_back_owned(std::move(stroke));
  return strokes;
}

void BM_StrokeFeaturePass(benchmark::State& state) {
  const StrokeList strokes = looping_stroke(static_cast<int>(state.range(0)));
  TrajectoryList trajectories(1, true);
  for (auto _ : state) {
    benchmark::DoNotOptimize(stroke_feature_pass(strokes, trajectories, nullptr, true));
  }
  state.counters["vertices"] = trajectories.size() == 1 ? trajectories[0]->size() : 0;
}
BENCHMARK(BM_StrokeFeaturePass)->Arg(150)->Arg(1500)->Unit(benchmark::kMicrosecond);

void BM_SelfCrossings(benchmark::State& state) {
  const StrokeList strokes = looping_stroke(static_cast<int>(state.range(0)));
  const Stroke& stroke = *strokes[0];
  DynArray<CrossingMark> marks;
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        find_self_crossings(stroke.data(), static_cast<std::int32_t>(stroke.size()), marks, 3));
  }
  state.counters["marks"] = marks.size();
}
BENCHMARK(BM_SelfCrossings)->Arg(1500)->Arg(6000)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace inkrec
