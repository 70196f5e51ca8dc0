#include "engine/rules/group_chains.h"

#include "engine/foundation/status.h"
#include "engine/rules/pair_scoring.h"

namespace inkrec {

std::int64_t chain_units(bool count_groups, const Chain& chain) {
  if (count_groups) return chain.size();
  std::int64_t units = 0;
  for (const FigureGroup* group : chain) {
    if (group != nullptr) units += group->coverage.count();
  }
  return units;
}

std::int64_t chain_weighted_total(const ChainContext& context, const Chain& chain,
                                  std::int64_t* weight) {
  std::int64_t total = 0;
  std::int64_t weights = 0;
  for (const FigureGroup* group : chain) {
    if (group == nullptr) continue;
    const std::int64_t w = context.count_groups ? 1 : group->coverage.count();
    total += w * group->best_total();  // 0 for a group without answers
    weights += w;
  }
  if (weight != nullptr) *weight = weights;
  return total;
}

std::int64_t chain_pair_cost(const ChainContext& context, const Chain& chain) {
  constexpr std::int64_t kFailedScoring = -10000;
  std::int64_t sum = 0;
  for (std::uint32_t k = 0; k + 1 < chain.size(); ++k) {
    FigureGroup* earlier = chain[k];
    FigureGroup* later = chain[k + 1];
    if (earlier == nullptr || later == nullptr) return kFailedScoring;
    std::int32_t cost = 0;
    if (score_element_pair_cached(later, earlier, 0, 0, context.size, context.slant,
                                  static_cast<int>(k + 1), &cost, context.rules, 0) != kOk) {
      return kFailedScoring;
    }
    sum += cost;
  }
  return sum;
}

namespace {

// Pair cost plus the mean total per unit of weight; false for a chain
// without weight, which reads worst of all.
bool chain_score(const ChainContext& context, const Chain& chain, std::int64_t* score) {
  std::int64_t weight = 0;
  const std::int64_t total = chain_weighted_total(context, chain, &weight);
  if (weight == 0) return false;
  *score = chain_pair_cost(context, chain) + total / weight;
  return true;
}

}  // namespace

bool chain_better(const ChainContext& context, const Chain& a, const Chain& b) {
  if (a.empty()) return true;
  std::int64_t score_a = 0;
  std::int64_t score_b = 0;
  if (!chain_score(context, b, &score_b)) return false;
  if (!chain_score(context, a, &score_a)) return true;
  return score_a < score_b;
}

int chain_copy(const Chain& from, Chain& out) {
  Chain copy(from.capacity(), false);
  for (FigureGroup* group : from) {
    if (copy.push_back(group) != kOk) return kOutOfMemory;
  }
  out.swap(copy);
  return kOk;
}

int chain_concat(const Chain& a, const Chain& b, Chain& out) {
  Chain joined;
  if (chain_copy(a, joined) != kOk) return kOutOfMemory;
  for (FigureGroup* group : b) {
    if (joined.push_back(group) != kOk) return kOutOfMemory;
  }
  out.swap(joined);
  return kOk;
}

}  // namespace inkrec
