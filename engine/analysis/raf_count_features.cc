// Count features: "10-NumOpti" the vertical runs of all strokes,
// "13-NumStrkNew" the groups of touching strokes, "14-TopoloStrk" how the
// strokes that touch no other lie to each other, and code 0 the quantised
// low cosine coefficients of the scaled raster.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

#include "engine/analysis/raf_extractors.h"
#include "engine/analysis/raf_grid.h"
#include "engine/foundation/trigonometry.h"
#include "engine/records/pair_table.h"

namespace inkrec {
namespace {

constexpr int kTouchingDistance = 4;

// Whether strokes i and j touch; -2 when their pair entry is missing.
int strokes_touch(const RafWorkArea& work, std::uint32_t i, std::uint32_t j, bool* touch) {
  const int index = pair_index(work.strokes.size(), i, j);
  if (index < 0 || static_cast<std::uint32_t>(index) >= work.stroke_pairs.size())
    return kBadArgument;
  *touch = work.stroke_pairs[static_cast<std::uint32_t>(index)].distances[0] < kTouchingDistance;
  return kOk;
}

bool side_by_side(int direction) {
  return direction <= 45 || (direction >= 136 && direction <= 225) || direction >= 316;
}

// Groups of touching strokes, each labelled 1..groups.
int count_groups(const RafWorkArea& work, int* groups) {
  const std::uint32_t n = work.strokes.size();
  DynArray<std::int32_t> labels;
  if (labels.resize(n, 0) != kOk) return kOutOfMemory;
  labels[0] = 1;
  *groups = 1;
  for (std::uint32_t i = 0; i < n; ++i) {
    if (labels[i] == 0) labels[i] = ++*groups;
    for (std::uint32_t j = i + 1; j < n; ++j) {
      bool touch = false;
      if (const int status = strokes_touch(work, i, j, &touch); status != kOk) return status;
      if (!touch || labels[j] == labels[i]) continue;
      if (labels[j] == 0) {
        labels[j] = labels[i];
        continue;
      }
      const std::int32_t low = std::min(labels[i], labels[j]);
      const std::int32_t high = std::max(labels[i], labels[j]);
      for (std::int32_t& label : labels) {
        if (label == high) {
          label = low;
        } else if (label > high) {
          --label;
        }
      }
      --*groups;
    }
  }
  return kOk;
}

// The cosine of angle index t (a full turn is 256) in ten-thousandths.
int table_cosine(std::int64_t t) {
  static const std::array<int, 65> kTable = [] {
    std::array<int, 65> table{};
    constexpr double kStep = 3.14159265358979323846 / 2.0 / 64.0;
    for (std::size_t k = 0; k < table.size(); ++k) {
      table[k] = static_cast<int>(std::lround(10000.0 * math_cos(kStep * static_cast<double>(k))));
    }
    return table;
  }();
  t %= 256;
  if (t < 0) t += 256;
  int quadrant = 0;
  if (t >= 128) {
    t -= 128;
    quadrant = 2;
  }
  if (t >= 64) {
    t = 128 - t;
    ++quadrant;
  }
  const int sign = quadrant == 1 || quadrant == 2 ? -1 : 1;
  return sign * kTable[static_cast<std::size_t>(t)];
}

constexpr int kFirstFrequency = 4;
constexpr int kFrequencies = 4;
constexpr int kCoefficients = kFrequencies * kFrequencies;

// Coefficient (u, v) for u, v = 4..7 at (u - 4) x 4 + (v - 4): the sum over
// the points of cos(y u) cos(x v) / 10, divided by 128000.
std::array<std::int64_t, kCoefficients> cosine_coefficients(const DynArray<PackedPoint>& points) {
  std::array<std::int64_t, kCoefficients> sums{};
  for (const PackedPoint p : points) {
    std::array<std::int64_t, kFrequencies> cos_y;
    std::array<std::int64_t, kFrequencies> cos_x;
    for (int k = 0; k < kFrequencies; ++k) {
      cos_y[static_cast<std::size_t>(k)] = table_cosine(std::int64_t{p.y} * (kFirstFrequency + k));
      cos_x[static_cast<std::size_t>(k)] = table_cosine(std::int64_t{p.x} * (kFirstFrequency + k));
    }
    for (std::size_t u = 0; u < kFrequencies; ++u) {
      for (std::size_t v = 0; v < kFrequencies; ++v)
        sums[u * kFrequencies + v] += cos_y[u] * cos_x[v] / 10;
    }
  }
  for (std::int64_t& sum : sums) sum /= 128000;
  return sums;
}

// 0..5 for non-negative coefficients in steps of 500, 6..11 for negative.
int coefficient_class(std::int64_t c) {
  const std::int64_t magnitude = c >= 0 ? c : -c;
  std::int64_t step = 0;
  while (step < 5 && magnitude > 500 * (step + 1)) ++step;
  return static_cast<int>(c >= 0 ? step : 6 + step);
}

}  // namespace

int count_vertical_run_total(const RafDescriptor& descriptor, RafContext& context) {
  std::int64_t runs = 0;
  for (std::uint32_t s = 0; s < context.work.stroke_runs.size(); ++s) {
    const RunCounter* counter = context.work.stroke_runs[s];
    if (counter == nullptr) return kBadArgument;
    runs += counter->count();
  }
  RafBlock block(context.vector.values, descriptor.raf);
  return block.add(std::min<std::int64_t>(runs, block.nx() - 1));
}

int count_touching_groups(const RafDescriptor& descriptor, RafContext& context) {
  RafBlock block(context.vector.values, descriptor.raf);
  if (context.work.strokes.empty()) return block.add(0);
  int groups = 0;
  if (const int status = count_groups(context.work, &groups); status != kOk) return status;
  return block.add(std::min(groups - 1, block.nx() - 1));
}

int count_stroke_arrangement(const RafDescriptor& descriptor, RafContext& context) {
  const RafWorkArea& work = context.work;
  RafBlock block(context.vector.values, descriptor.raf);
  if (block.ny() != 1 && block.nx() != 6) return kRafCrossingRasterSize;
  const std::uint32_t n = work.strokes.size();
  if (n == 0) return kOk;
  if (n == 1) return block.add(0);
  DynArray<std::uint32_t> isolated;
  for (std::uint32_t i = 0; i < n; ++i) {
    bool alone = true;
    for (std::uint32_t j = 0; j < n && alone; ++j) {
      bool touch = false;
      if (j == i) continue;
      if (const int status = strokes_touch(work, i, j, &touch); status != kOk) return status;
      alone = !touch;
    }
    if (alone && isolated.push_back(i) != kOk) return kOutOfMemory;
  }
  const auto pair_direction = [&](std::uint32_t a, std::uint32_t b) {
    return work.stroke_pairs[static_cast<std::uint32_t>(pair_index(n, a, b))].direction;
  };
  const std::uint32_t m = isolated.size();
  if (m == 0) return kOk;
  if (m == 1) return block.add(0);
  if (m == 2) return block.add(side_by_side(pair_direction(isolated[1], isolated[0])) ? 1 : 2);
  for (std::uint32_t later = 1; later < m; ++later) {
    for (std::uint32_t earlier = 0; earlier < later; ++earlier) {
      const int direction = pair_direction(isolated[later], isolated[earlier]);
      if (const int status = block.add(side_by_side(direction) ? 3 : 4); status != kOk)
        return status;
    }
  }
  return kOk;
}

int count_cosine_coefficients(const RafDescriptor& descriptor, RafContext& context) {
  const std::array<std::int64_t, kCoefficients> coefficients =
      cosine_coefficients(context.work.scaled_points);
  std::int64_t positive_sum = 0;
  std::int64_t positive_count = 0;
  std::int64_t negative_sum = 0;
  std::int64_t negative_count = 0;
  for (const std::int64_t c : coefficients) {
    if (c >= 0) {
      positive_sum += c;
      ++positive_count;
    } else {
      negative_sum += c;
      ++negative_count;
    }
  }
  const std::int64_t positive_mean = positive_count == 0 ? 0 : positive_sum / positive_count;
  const std::int64_t negative_mean = negative_count == 0 ? 0 : negative_sum / negative_count;
  if (positive_mean == 0 && negative_mean == 0) return kOk;
  RafBlock block(context.vector.values, descriptor.raf);
  for (std::size_t i = 0; i < coefficients.size(); ++i) {
    const std::int64_t index = std::int64_t{coefficient_class(coefficients[i])} * block.nx() +
                               static_cast<std::int64_t>(i);
    if (const int status = block.add(index); status != kOk) return status;
  }
  return kOk;
}

}  // namespace inkrec
