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
#include "engine/records/pair_key_cache.h"
#include "engine/records/pair_records.h"
#include "engine/records/pair_table.h"

namespace inkrec {

// The pair scores of a group against its neighbours, two words each (valid
// flag and score), and its punctuation verdicts, one word each.
using PairScoreCache = PairKeyCache<std::array<std::uint32_t, 2>>;
using PunctuationCache = PairKeyCache<std::uint32_t>;
// The layouts of a group and its later neighbours, one for each neighbour.
using PairLayoutCache = PairKeyCache<PairLayout>;

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
  // single flag set, the flag words, the break and the marks 0, and the
  // caches emptied (they are keyed by the neighbours' ids). The figure
  // list, the relation list and its bounds and the box stay.
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

  // Bits of `flags`.
  static constexpr std::uint32_t kSecondLinkSet = 1;  // a figure's second link field is set
  static constexpr std::uint32_t kFirstLinkSet = 2;   // a figure's first link field is set
  static constexpr std::uint32_t kNotInCovers = 16;   // no cover takes the group
  // Bit of `exclusion_flags`.
  static constexpr std::uint32_t kExcluded = 2;  // no cover takes the group
  // Values of `break_after`.
  static constexpr std::uint32_t kSpaceAfter = 1;
  static constexpr std::uint32_t kLineBreakAfter = 2;

  PtrArray<FigureRecord> figures{16, false};
  GlyphGeometry* geometry;           // prepared from the figures by group_prepare_glyph
  AnswerList* answers;               // the readings found for the group
  AnswerList* composites = nullptr;  // readings as a composite letter; not owned
  std::int32_t index = -1;           // the group's number in its segmentation (its id)
  // The partners found by the pair relations, and the least and greatest
  // measure of their bit-1 relations.
  DynArray<PairRelation> relations;
  std::int16_t relation_low = 32767;
  std::int16_t relation_high = 0;
  DynArray<std::int32_t> second_values;
  // Written by the letter evaluation: the number of inked feature cells and
  // its ramp value.
  std::uint16_t inked_cells = 0;
  std::uint16_t inked_ramp = 0;
  std::uint32_t flags = 0;
  BitSet members;           // the member figures' indices in the pair table
  BitSet coverage;          // the elementary units covered (candidate positions)
  std::uint8_t single = 1;  // counts as one unit whatever its coverage
  DynArray<std::int32_t> third_values;
  DynArray<std::int32_t> fourth_values;
  Box16 box;
  // The group's results against its neighbours, the group being the
  // earlier of each pair: the pair scores, the punctuation rule, the pair
  // test, the pair extents and the pair layouts.
  PairScoreCache pair_cache;
  PunctuationCache punctuation_cache;
  DynArray<PairTestEntry> test_cache;
  DynArray<PairExtentsEntry> extents_cache;
  PairLayoutCache layout_cache;
  std::uint32_t exclusion_flags = 0;
  std::uint32_t break_after = 0;  // 0, kSpaceAfter or kLineBreakAfter
  std::int32_t last = -1;
  std::uint8_t own_line = 0;         // the group stands on a line of its own
  std::uint8_t one_figure_mark = 0;  // formed as a single mark: one figure read alone
  std::uint8_t end_flag = 0;         // the group ends a letter path
  // The reading's capital is the word list's (a word the list holds with
  // capitals): the case choice of the text leaves it.
  std::uint8_t word_case = 0;
};

// to = a copy of from, element by element when from owns its elements: 0,
// or -1 with to unchanged.
int copy_group_list(const PtrArray<FigureGroup>& from, PtrArray<FigureGroup>& to);
int copy_figure_list(const PtrArray<FigureRecord>& from, PtrArray<FigureRecord>& to);

// For the reading-order sorts (record_access.h).
inline const PtrArray<FigureRecord>& figures_of(const FigureGroup& group) { return group.figures; }

// For the punctuation rule (engine/rules/punctuation_rule.h): a group's
// candidates are its answers, read by their first code (-1 past the list);
// its box is its geometry's (empty without one); its number is its index;
// its cache is its punctuation cache (null when that cannot grow).
int candidate_code(const FigureGroup& group, int i);
Box16 glyph_box(const FigureGroup& group);
inline std::uint32_t group_index(const FigureGroup& group) {
  return static_cast<std::uint32_t>(group.index);
}
std::uint32_t* punctuation_cache_slot(FigureGroup& group, std::uint32_t other, std::uint32_t key);

// Whether the group carries ink the pair judgements can measure (a
// geometry, and figures that all have points) into *has_ink: 0, or -2 at
// a null figure.
int check_group_ink(const FigureGroup& group, bool* has_ink);

// The runs of the group's figures, in order: 0, -2 at a null figure, or -1
// when the list cannot grow.
int group_run_list(const FigureGroup& group, DynArray<PointRun*>& runs);

// Prepares the group's geometry from its figures' runs (GlyphGeometry::
// prepare): -2 without a geometry or with a null figure, -1 when the run
// list cannot be made, else the result of the preparation.
int group_prepare_glyph(FigureGroup& group, bool trajectory_mode);

// The blocks of the group's geometry, computed on first use over its
// figures' runs: the profile raster, the mean widths (whose first value is
// the mean row width in percent), the gap statistics and the descent block
// for letters of the reference size. Null without a geometry, with a null
// figure, or when the run list cannot be made. A block already computed is
// returned without listing the runs, so reading it again allocates nothing.
const ProfileRaster* element_profile_raster(FigureGroup& group);
const WidthBlock* element_glyph_profile(FigureGroup& group);
const RasterGaps* element_glyph_block_b(FigureGroup& group);
const DescentBlock* element_glyph_block_d(FigureGroup& group, int reference_size, int closeness);
// Of the descent block: 1 the number of ordinary entries (the segment
// count), 2 the number of descending runs met, 3 and 4 the upper and lower
// masks of the ordinary entries (the two segment masks), 5 the number of
// entries found close to their neighbour. Without a block: -1, -1, 0, 0, 0.
std::int32_t element_glyph_feature_1(FigureGroup& group, int reference_size, int closeness);
std::int32_t element_glyph_feature_2(FigureGroup& group, int reference_size, int closeness);
std::uint8_t element_glyph_feature_3(FigureGroup& group, int reference_size, int closeness);
std::uint8_t element_glyph_feature_4(FigureGroup& group, int reference_size, int closeness);
std::int32_t element_glyph_feature_5(FigureGroup& group, int reference_size, int closeness);

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
// pair cache (a and b below 16384, the flag below 8), and the cached value
// for (the neighbour, a, b) in its punctuation cache; a new one is zero.
// Null when the cache cannot grow. The address stays valid until the cache
// grows again.
std::array<std::uint32_t, 2>* register_figure_key(PairScoreCache& cache,
                                                  const FigureGroup& neighbour, std::uint32_t a,
                                                  std::uint32_t b, std::uint32_t flag);
std::uint32_t* register_punctuation_key(PunctuationCache& cache, const FigureGroup& neighbour,
                                        std::uint32_t a, std::uint32_t b);

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
