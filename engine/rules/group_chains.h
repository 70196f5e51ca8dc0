// Chains of figure groups (alternative readings of a word) and their
// comparison: a chain's value is the pair-rule cost of its consecutive
// groups plus the mean total of its groups per unit of weight, a group
// without answers counting with the total 0.
//
// A chain is a non-owning PtrArray of groups in writing order.
#pragma once

#include <cstdint>

#include "engine/foundation/ptr_array.h"
#include "engine/records/figure_group.h"

namespace inkrec {

class RecognitionContext;

// A chain: the groups of one reading, not owned.
using Chain = PtrArray<FigureGroup>;

// What the chain comparison needs of its caller: whether every group
// counts as one unit (else a group weighs its coverage count), and the
// context and line measures handed to the pair scoring.
struct ChainContext {
  bool count_groups = false;
  std::int16_t size = 0;
  std::int16_t slant = 90;
  RecognitionContext* rules = nullptr;
};

// The number of groups when every group counts as one, else the sum of the
// coverage counts.
std::int64_t chain_units(bool count_groups, const Chain& chain);
// Over the groups: the sum of weight x best total (0 for a group without
// answers), with the sum of the weights written to *weight.
std::int64_t chain_weighted_total(const ChainContext& context, const Chain& chain,
                                  std::int64_t* weight);
// The sum of the pair-rule costs of consecutive groups; 0 for fewer than
// two groups; -10000 when a scoring fails or a group is missing.
std::int64_t chain_pair_cost(const ChainContext& context, const Chain& chain);
// Whether chain b reads better than chain a: pair cost plus mean total per
// unit of weight, the larger the better. Always true for an empty a; a
// chain without weight reads worst of all.
bool chain_better(const ChainContext& context, const Chain& a, const Chain& b);
// out = a copy of a followed by b: 0, or -1 with out unchanged.
int chain_concat(const Chain& a, const Chain& b, Chain& out);
int chain_copy(const Chain& from, Chain& out);

}  // namespace inkrec
