// FigureGroup: figures taken together as one letter candidate, with the
// segmentation's bookkeeping for it; the look-ups, caches and pair-table
// queries over groups; the order in which groups are sorted. Chains of
// groups and their comparison are in engine/rules/group_chains.h.
//
// A group owns its value arrays, bit sets and caches. It refers to, but
// does not own, its figures (unless its figure list is made owning), its
// geometry and its answer list. Groups are moved freely; copies go through
// assign(), which reports running out of memory.
#pragma once

#include <array>
#include <cstdint>

#include "engine/foundation/bit_set.h"
#include "engine/foundation/box16.h"
#include "engine/foundation/dyn_array.h"
#include "engine/foundation/ptr_array.h"
#include "engine/records/answer_list.h"
#include "engine/records/figure_records.h"
#include "engine/records/glyph_geometry.h"
#include "engine/records/pair_table.h"

namespace inkrec {

// The results of one rule between a group and its neighbours: an entry per
// neighbour (by the neighbour's group index), each holding results by key.
template <typename Value>
struct GroupCacheEntry {
  struct Item {
    std::uint32_t key = 0;
    Value value{};
  };

  int assign(const GroupCacheEntry& other) {
    if (const int status = items.assign(other.items); status != kOk) return status;
    neighbour = other.neighbour;
    return kOk;
  }

  std::uint32_t neighbour = 0;
  DynArray<Item> items;
};

using PairCacheEntry = GroupCacheEntry<std::array<std::uint32_t, 2>>;
using PunctuationCacheEntry = GroupCacheEntry<std::uint32_t>;

class FigureGroup {
 public:
  explicit FigureGroup(AnswerList* answer_list = nullptr, GlyphGeometry* glyph = nullptr);
  FigureGroup(FigureGroup&&) noexcept = default;
  FigureGroup& operator=(FigureGroup&&) noexcept = default;
  FigureGroup(const FigureGroup&) = delete;
  FigureGroup& operator=(const FigureGroup&) = delete;

  // Becomes a copy of other, arrays, sets and caches duplicated and the
  // figures copied as pointers (deeply when the list owns them): 0, or -1
  // with this group unchanged.
  int assign(const FigureGroup& other);
  void swap(FigureGroup& other) noexcept;

  // Makes the group ready for reuse as a new candidate: index and last -1,
  // the second to fourth value arrays emptied, both bit sets cleared, the
  // single flag set, the segmentation fields 0. The figure list, the first
  // value array, limit, value, box and caches stay.
  void reset();
  // Frees the caches, value arrays and bit sets and empties the figure list.
  void destroy();

  bool has_answers() const { return answers != nullptr && !answers->answers().empty(); }
  // The total of the best answer; 0 without answers.
  std::int32_t best_total() const { return answers == nullptr ? 0 : answers->best_total(); }

  // The pair records of the first two members (ascending member indices),
  // and, when `second` is given and the group has at least three figures,
  // of the second and third: 0, or -2 when a record is missing or the group
  // has fewer than two figures.
  int leading_pairs(const PairTable& table, const PairMetrics** first,
                    const PairMetrics** second) const;
  // The least link distance of the pair records over every pair (member of
  // this group, member of the other; a figure shared by both is passed
  // over): 0, with 2147483647 when either member set is empty; -2 when a
  // record is missing, -1 when memory runs out (*value is then unchanged).
  int scan_members(const PairTable& table, const FigureGroup& other, std::int32_t* value) const;

  PtrArray<FigureRecord> figures{16, false};
  GlyphGeometry* geometry;  // prepared from the figures by group_prepare_glyph
  AnswerList* answers;      // the readings found for the group
  std::int32_t index = -1;  // the group's number in its segmentation
  DynArray<std::int32_t> first_values;
  std::int16_t limit = 32767;
  std::int16_t value = 0;
  DynArray<std::int32_t> second_values;
  std::uint16_t segment_keys[2] = {0, 0};
  std::uint32_t segment_word = 0;
  BitSet members;           // the member figures' indices in the pair table
  BitSet coverage;          // the elementary units covered
  std::uint8_t single = 1;  // counts as one unit whatever its coverage
  DynArray<std::int32_t> third_values;
  DynArray<std::int32_t> fourth_values;
  Box16 box;
  DynArray<PairCacheEntry> pair_cache;  // pair scoring against neighbours
  DynArray<PunctuationCacheEntry> punctuation_cache;
  std::uint32_t segment_words[2] = {0, 0};
  std::int32_t last = -1;
};

// to = a copy of from, element by element when from owns its elements: 0,
// or -1 with to unchanged.
int copy_group_list(const PtrArray<FigureGroup>& from, PtrArray<FigureGroup>& to);
int copy_figure_list(const PtrArray<FigureRecord>& from, PtrArray<FigureRecord>& to);

// For the reading-order sorts (record_access.h).
inline const PtrArray<FigureRecord>& figures_of(const FigureGroup& group) { return group.figures; }

// The runs of the group's figures, in order: 0, -2 at a null figure, or -1
// when the list cannot grow.
int group_run_list(const FigureGroup& group, DynArray<PointRun*>& runs);

// Prepares the group's geometry from its figures' runs (GlyphGeometry::
// prepare): -2 without a geometry or with a null figure, -1 when the run
// list cannot be made, else the result of the preparation.
int group_prepare_glyph(FigureGroup& group, bool trajectory_mode);

// The group's geometry takes the band unless a set band is already there;
// nothing for a group without geometry.
void element_set_baseline_pair(FigureGroup& group, const ReferenceBand& band);

// AnswerList::rewrite_entry and rewrite_entry_alt on the group's answers;
// -2 for a group without an answer list.
int rewrite_answer_entry(FigureGroup& group, std::uint32_t i, std::uint16_t code1,
                         std::uint16_t code3, std::uint16_t code2, std::uint32_t word,
                         std::int32_t penalty, std::uint8_t count, const std::uint16_t* list);
int rewrite_answer_entry_alt(FigureGroup& group, std::uint32_t i, std::uint16_t code1,
                             std::uint16_t code3, std::uint16_t code2, std::uint32_t word,
                             std::int32_t penalty, std::uint8_t count, const std::uint16_t* list);

// Look-ups, first match from the front; null when none matches. The scans
// over pointer arrays pass over null slots.
FigureGroup* find_group_by_first_set(const PtrArray<FigureGroup>& groups, const BitSet& members);
FigureGroup* find_group_by_second_set(const PtrArray<FigureGroup>& groups, const BitSet& coverage);
FigureGroup* find_group_by_first_set(DynArray<FigureGroup>& groups, const BitSet& members);
FigureGroup* find_group_by_second_set(DynArray<FigureGroup>& groups, const BitSet& coverage);
// From the end, the group whose index is `index`; the scan stops at a null
// slot.
FigureGroup* find_last_by_word6(const PtrArray<FigureGroup>& groups, std::int32_t index);

// The cached pair of values for (the neighbour, a, b, flag) in a group's
// pair cache, and the cached value for (the neighbour, a, b) in its
// punctuation cache; a new one is zero. Null when the cache cannot grow.
// The address stays valid until the cache grows again.
std::array<std::uint32_t, 2>* register_figure_key(DynArray<PairCacheEntry>& cache,
                                                  const FigureGroup& neighbour, std::uint32_t a,
                                                  std::uint32_t b, std::uint32_t flag);
std::uint32_t* register_punctuation_key(DynArray<PunctuationCacheEntry>& cache,
                                        const FigureGroup& neighbour, std::uint32_t a,
                                        std::uint32_t b);

// The group order: whether x goes after y. Groups without coverage go last;
// then the lower lowest coverage bit first; with equal lowest bits, the
// group with the larger best total first and a group without answers after
// one with answers.
bool group_comes_after(const FigureGroup& x, const FigureGroup& y);

// Sort groups in place in ascending group order. The value form moves the
// groups: 0, or -1 when memory runs out (the array is then unchanged). The
// pointer form: 0, or -2 at a null slot.
int sort_records_208(DynArray<FigureGroup>& groups);
int sort_group_pointers(PtrArray<FigureGroup>& groups);

}  // namespace inkrec
