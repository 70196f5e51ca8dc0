// The RAF similarity and the etalon score.

#include "engine/database/etalon_score.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "engine/foundation/status.h"
#include "engine/foundation/trigonometry.h"

namespace inkrec {
namespace {

// a * b for a >= 0 and b >= 0, held at the greatest value instead of
// wrapping (no real cell count or norm comes near it).
std::int64_t saturating_product(std::int64_t a, std::int64_t b) {
  constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
  return b != 0 && a > kMax / b ? kMax : a * b;
}

}  // namespace

std::int64_t raf_similarity(std::span<const std::uint16_t> inked_cells,
                            std::span<const std::uint8_t> etalon_cells,
                            std::span<const std::uint8_t> weights) {
  std::int64_t zero_cells = 0;
  std::int64_t sum = 0;
  for (const std::uint16_t c : inked_cells) {
    const std::int64_t p = (std::int64_t{etalon_cells[c]} - kCellLevelZero) * weights[c];
    if (p == 0) {
      ++zero_cells;
    } else {
      sum += p;
    }
  }
  return sum / 32 - zero_cells / 5;
}

bool cells_fit(std::span<const std::uint16_t> inked_cells, std::size_t etalon_cells,
               std::size_t weights) {
  const std::size_t limit = std::min(etalon_cells, weights);
  return std::all_of(inked_cells.begin(), inked_cells.end(),
                     [limit](std::uint16_t c) { return c < limit; });
}

std::int64_t corrected_cell_count(std::int32_t inked_count, std::int16_t longest_hits,
                                  std::int16_t shortest_hits) {
  const std::int64_t too_many = inked_count - 5 * std::int64_t{longest_hits} / 4;
  if (too_many > 0) return inked_count + 9 * too_many;
  const std::int64_t too_few = 4 * std::int64_t{shortest_hits} / 5 - inked_count;
  if (too_few > 0) return inked_count + 5 * too_few;
  return inked_count;
}

int etalon_score(std::int64_t similarity, std::int32_t inked_count, std::uint32_t norm,
                 std::int16_t longest_hits, std::int16_t shortest_hits, std::int32_t* score) {
  if (inked_count <= 0 || norm == 0) {
    *score = 0;
    return kOk;
  }
  const std::int64_t count = corrected_cell_count(inked_count, longest_hits, shortest_hits);
  const std::int64_t root = int_sqrt64(saturating_product(count, norm));
  if (root == 0) return kRejected;
  const std::int64_t magnitude =
      saturating_product(similarity < 0 ? -similarity : similarity, 10000) / root;
  const std::int64_t value = similarity < 0 ? -magnitude : magnitude;
  *score = static_cast<std::int32_t>(std::clamp<std::int64_t>(
      value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
  return kOk;
}

int score_against_etalon(std::span<const std::uint16_t> inked_cells, const Etalon& etalon,
                         std::span<const std::uint8_t> weights, std::int32_t* score) {
  if (!cells_fit(inked_cells, etalon.cells.size(), weights.size())) return kBadArgument;
  const std::int64_t similarity = raf_similarity(inked_cells, etalon.cells.span(), weights);
  return etalon_score(
      similarity, static_cast<std::int32_t>(std::min<std::size_t>(inked_cells.size(), INT32_MAX)),
      etalon.stats.norm, etalon.stats.max_hits, etalon.stats.min_hits, score);
}

}  // namespace inkrec
