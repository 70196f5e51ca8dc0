// FigureGroup: life cycle, look-ups, caches, pair queries and order.

#include "engine/records/figure_group.h"

#include <limits>
#include <memory>
#include <utility>

#include "engine/foundation/allocation.h"
#include "engine/foundation/status.h"
#include "engine/records/reading_order.h"

namespace inkrec {

FigureGroup::FigureGroup(AnswerList* answer_list, GlyphGeometry* glyph)
    : geometry(glyph), answers(answer_list) {
  reset();
}

int copy_group_list(const PtrArray<FigureGroup>& from, PtrArray<FigureGroup>& to) {
  return copy_pointer_array(from, to, [](FigureGroup& copy, const FigureGroup& original) {
    return copy.assign(original);
  });
}

int copy_figure_list(const PtrArray<FigureRecord>& from, PtrArray<FigureRecord>& to) {
  return copy_pointer_array(from, to, [](FigureRecord& copy, const FigureRecord& original) {
    return copy.copy_construct(original);
  });
}

int FigureGroup::assign(const FigureGroup& other) {
  if (this == &other) return kOk;
  FigureGroup copy(other.answers, other.geometry);
  if (copy_figure_list(other.figures, copy.figures) != kOk ||
      copy.relations.assign(other.relations) != kOk ||
      copy.second_values.assign(other.second_values) != kOk ||
      copy.members.assign(other.members) != kOk || copy.coverage.assign(other.coverage) != kOk ||
      copy.third_values.assign(other.third_values) != kOk ||
      copy.fourth_values.assign(other.fourth_values) != kOk ||
      copy.pair_cache.assign(other.pair_cache) != kOk ||
      copy.punctuation_cache.assign(other.punctuation_cache) != kOk ||
      copy.test_cache.assign(other.test_cache) != kOk ||
      copy.extents_cache.assign(other.extents_cache) != kOk ||
      copy.layout_cache.assign(other.layout_cache) != kOk) {
    return kOutOfMemory;
  }
  copy.composites = other.composites;
  copy.index = other.index;
  copy.relation_low = other.relation_low;
  copy.relation_high = other.relation_high;
  copy.inked_cells = other.inked_cells;
  copy.inked_ramp = other.inked_ramp;
  copy.flags = other.flags;
  copy.single = other.single;
  copy.box = other.box;
  copy.exclusion_flags = other.exclusion_flags;
  copy.break_after = other.break_after;
  copy.last = other.last;
  copy.own_line = other.own_line;
  copy.one_figure_mark = other.one_figure_mark;
  copy.end_flag = other.end_flag;
  copy.word_case = other.word_case;
  *this = std::move(copy);
  return kOk;
}

void FigureGroup::swap(FigureGroup& other) noexcept { std::swap(*this, other); }

void FigureGroup::reset() {
  index = -1;
  second_values.clear();
  third_values.clear();
  fourth_values.clear();
  inked_cells = 0;
  inked_ramp = 0;
  flags = 0;
  members.clear();
  coverage.clear();
  single = 1;
  exclusion_flags = 0;
  break_after = 0;
  last = -1;
  own_line = 0;
  one_figure_mark = 0;
  end_flag = 0;
  word_case = 0;
  pair_cache.clear();
  punctuation_cache.clear();
  test_cache.clear();
  extents_cache.clear();
  layout_cache.clear();
}

void FigureGroup::destroy() {
  pair_cache.release();
  punctuation_cache.release();
  relations.release();
  test_cache.release();
  extents_cache.release();
  layout_cache.release();
  second_values.release();
  third_values.release();
  fourth_values.release();
  members = BitSet();
  coverage = BitSet();
  figures.remove_all();
}

int FigureGroup::leading_pairs(const PairTable& table, const PairMetrics** first,
                               const PairMetrics** second) const {
  if (figures.size() < 2) return kBadArgument;
  std::uint32_t m[3] = {0, 0, 0};
  if (!members.lowest_bit(&m[0])) return kBadArgument;
  m[1] = m[0] + 1;
  if (!members.next_bit(&m[1])) return kBadArgument;
  const PairMetrics* first_pair = table.at(m[0], m[1]);
  if (first_pair == nullptr) return kBadArgument;
  const PairMetrics* second_pair = nullptr;
  const bool wants_second = second != nullptr && figures.size() >= 3;
  if (wants_second) {
    m[2] = m[1] + 1;
    if (!members.next_bit(&m[2])) return kBadArgument;
    second_pair = table.at(m[1], m[2]);
    if (second_pair == nullptr) return kBadArgument;
  }
  if (first != nullptr) *first = first_pair;
  if (wants_second) *second = second_pair;
  return kOk;
}

int FigureGroup::scan_members(const PairTable& table, const FigureGroup& other,
                              std::int32_t* value) const {
  DynArray<std::uint32_t> mine;
  DynArray<std::uint32_t> theirs;
  if (members.append_indices(mine) != kOk || other.members.append_indices(theirs) != kOk) {
    return kOutOfMemory;
  }
  std::int32_t least = std::numeric_limits<std::int32_t>::max();
  for (const std::uint32_t i : mine) {
    for (const std::uint32_t j : theirs) {
      if (i == j) continue;
      const PairMetrics* pair = table.at(i, j);
      if (pair == nullptr) return kBadArgument;
      if (pair->link_distance < least) least = pair->link_distance;
    }
  }
  if (value != nullptr) *value = least;
  return kOk;
}

int check_group_ink(const FigureGroup& group, bool* has_ink) {
  *has_ink = group.geometry != nullptr && !group.figures.empty();
  for (const FigureRecord* figure : group.figures) {
    if (figure == nullptr) return kBadArgument;
    if (figure->run.empty()) *has_ink = false;
  }
  return kOk;
}

int group_run_list(const FigureGroup& group, DynArray<PointRun*>& runs) {
  runs.clear();
  if (runs.reserve_total(group.figures.size()) != kOk) return kOutOfMemory;
  for (FigureRecord* figure : group.figures) {
    if (figure == nullptr) return kBadArgument;
    runs.push_back(&figure->run);
  }
  return kOk;
}

int group_prepare_glyph(FigureGroup& group, bool trajectory_mode) {
  if (group.geometry == nullptr) return kBadArgument;
  DynArray<PointRun*> runs;
  if (const int status = group_run_list(group, runs); status != kOk) return status;
  return group.geometry->prepare(runs.span(), trajectory_mode);
}

namespace {

// The group's geometry with the runs of its figures in `runs`; null without
// a geometry or when the runs cannot be listed.
GlyphGeometry* element_geometry(FigureGroup& group, DynArray<PointRun*>& runs) {
  if (group.geometry == nullptr || group_run_list(group, runs) != kOk) return nullptr;
  return group.geometry;
}

}  // namespace

const ProfileRaster* element_profile_raster(FigureGroup& group) {
  if (group.geometry != nullptr && group.geometry->raster_ready()) return &group.geometry->raster();
  DynArray<PointRun*> runs;
  GlyphGeometry* geometry = element_geometry(group, runs);
  return geometry == nullptr ? nullptr : &geometry->ensure_block_a(runs.span());
}

const WidthBlock* element_glyph_profile(FigureGroup& group) {
  if (group.geometry != nullptr && group.geometry->widths_ready()) return &group.geometry->widths();
  DynArray<PointRun*> runs;
  GlyphGeometry* geometry = element_geometry(group, runs);
  return geometry == nullptr ? nullptr : &geometry->ensure_block_c(runs.span());
}

const RasterGaps* element_glyph_block_b(FigureGroup& group) {
  if (group.geometry != nullptr && group.geometry->gaps_ready()) return &group.geometry->gaps();
  DynArray<PointRun*> runs;
  GlyphGeometry* geometry = element_geometry(group, runs);
  return geometry == nullptr ? nullptr : &geometry->ensure_block_b(runs.span());
}

const DescentBlock* element_glyph_block_d(FigureGroup& group, int reference_size, int closeness) {
  if (group.geometry != nullptr && group.geometry->descent_ready()) return &group.geometry->descent();
  DynArray<PointRun*> runs;
  GlyphGeometry* geometry = element_geometry(group, runs);
  return geometry == nullptr ? nullptr
                             : &geometry->ensure_block_d(runs.span(), reference_size, closeness);
}

std::int32_t element_glyph_feature_1(FigureGroup& group, int reference_size, int closeness) {
  const DescentBlock* block = element_glyph_block_d(group, reference_size, closeness);
  return block == nullptr ? -1 : block->ordinary_count;
}

std::int32_t element_glyph_feature_2(FigureGroup& group, int reference_size, int closeness) {
  const DescentBlock* block = element_glyph_block_d(group, reference_size, closeness);
  return block == nullptr ? -1 : block->descending_runs;
}

std::uint8_t element_glyph_feature_3(FigureGroup& group, int reference_size, int closeness) {
  const DescentBlock* block = element_glyph_block_d(group, reference_size, closeness);
  return block == nullptr ? 0 : block->upper_mask;
}

std::uint8_t element_glyph_feature_4(FigureGroup& group, int reference_size, int closeness) {
  const DescentBlock* block = element_glyph_block_d(group, reference_size, closeness);
  return block == nullptr ? 0 : block->lower_mask;
}

std::int32_t element_glyph_feature_5(FigureGroup& group, int reference_size, int closeness) {
  const DescentBlock* block = element_glyph_block_d(group, reference_size, closeness);
  return block == nullptr ? 0 : static_cast<std::int32_t>(block->close_entries.size());
}

void element_set_baseline_pair(FigureGroup& group, const ReferenceBand& band) {
  if (group.geometry != nullptr) group.geometry->set_baseline_pair(band);
}

int rewrite_answer_entry(FigureGroup& group, std::uint32_t i, std::uint16_t code1,
                         std::uint16_t code3, std::uint16_t code2, std::uint32_t word,
                         std::int32_t penalty, std::uint8_t count, const std::uint16_t* list) {
  if (group.answers == nullptr) return kBadArgument;
  return group.answers->rewrite_entry(i, code1, code3, code2, word, penalty, count, list);
}

int rewrite_answer_entry_alt(FigureGroup& group, std::uint32_t i, std::uint16_t code1,
                             std::uint16_t code3, std::uint16_t code2, std::uint32_t word,
                             std::int32_t penalty, std::uint8_t count, const std::uint16_t* list) {
  if (group.answers == nullptr) return kBadArgument;
  return group.answers->rewrite_entry_alt(i, code1, code3, code2, word, penalty, count, list);
}

namespace {

template <typename Match>
FigureGroup* first_group(const PtrArray<FigureGroup>& groups, Match match) {
  for (FigureGroup* group : groups) {
    if (group != nullptr && match(*group)) return group;
  }
  return nullptr;
}

template <typename Match>
FigureGroup* first_group(DynArray<FigureGroup>& groups, Match match) {
  for (FigureGroup& group : groups) {
    if (match(group)) return &group;
  }
  return nullptr;
}

}  // namespace

FigureGroup* find_group_by_first_set(const PtrArray<FigureGroup>& groups, const BitSet& members) {
  return first_group(groups, [&](const FigureGroup& g) { return g.members.equals(members); });
}

FigureGroup* find_group_by_second_set(const PtrArray<FigureGroup>& groups, const BitSet& coverage) {
  return first_group(groups, [&](const FigureGroup& g) { return g.coverage.equals(coverage); });
}

FigureGroup* find_group_by_first_set(DynArray<FigureGroup>& groups, const BitSet& members) {
  return first_group(groups, [&](const FigureGroup& g) { return g.members.equals(members); });
}

FigureGroup* find_group_by_second_set(DynArray<FigureGroup>& groups, const BitSet& coverage) {
  return first_group(groups, [&](const FigureGroup& g) { return g.coverage.equals(coverage); });
}

FigureGroup* find_last_by_word6(const PtrArray<FigureGroup>& groups, std::int32_t index) {
  for (std::uint32_t i = groups.size(); i > 0; --i) {
    FigureGroup* group = groups[i - 1];
    if (group == nullptr) return nullptr;
    if (group->index == index) return group;
  }
  return nullptr;
}

std::array<std::uint32_t, 2>* register_figure_key(PairScoreCache& cache,
                                                  const FigureGroup& neighbour, std::uint32_t a,
                                                  std::uint32_t b, std::uint32_t flag) {
  const std::uint32_t key = (a & 0x3fff) | (b & 0x3fff) << 14 | (flag & 7) << 28;
  return cache.find_or_add(group_index(neighbour), key);
}

std::uint32_t* register_punctuation_key(PunctuationCache& cache, const FigureGroup& neighbour,
                                        std::uint32_t a, std::uint32_t b) {
  const std::uint32_t key = (a & 0x7fff) | (b & 0x7fff) << 15;
  return cache.find_or_add(group_index(neighbour), key);
}

int candidate_code(const FigureGroup& group, int i) {
  if (group.answers == nullptr || i < 0) return -1;
  const Answer* answer = group.answers->answers().item_checked(static_cast<std::uint32_t>(i));
  return answer == nullptr ? -1 : answer->codes[0];
}

Box16 glyph_box(const FigureGroup& group) {
  return group.geometry == nullptr ? Box16{} : group.geometry->bounding_box();
}

std::uint32_t* punctuation_cache_slot(FigureGroup& group, std::uint32_t other, std::uint32_t key) {
  return group.punctuation_cache.find_or_add(other, key);
}

bool group_comes_after(const FigureGroup& x, const FigureGroup& y) {
  std::uint32_t x_low = 0;
  std::uint32_t y_low = 0;
  if (!x.coverage.lowest_bit(&x_low)) return true;
  if (!y.coverage.lowest_bit(&y_low)) return false;
  if (x_low != y_low) return x_low > y_low;
  if (!x.has_answers()) return y.has_answers();
  if (!y.has_answers()) return false;
  return x.best_total() < y.best_total();
}

namespace {

bool group_pointer_after(const FigureGroup* x, const FigureGroup* y) {
  return group_comes_after(*x, *y);
}

}  // namespace

int sort_group_pointers(PtrArray<FigureGroup>& groups) {
  for (const FigureGroup* group : groups) {
    if (group == nullptr) return kBadArgument;
  }
  sort_pointer_array(groups.data(), static_cast<std::int32_t>(groups.size()), group_pointer_after);
  return kOk;
}

int sort_records_208(DynArray<FigureGroup>& groups) {
  DynArray<FigureGroup*> order;
  DynArray<FigureGroup> sorted;
  if (order.reserve_total(groups.size()) != kOk || sorted.reserve_total(groups.size()) != kOk) {
    return kOutOfMemory;
  }
  for (FigureGroup& group : groups) order.push_back(&group);
  sort_pointer_array(order.data(), static_cast<std::int32_t>(order.size()), group_pointer_after);
  for (FigureGroup* group : order) sorted.push_back(std::move(*group));
  groups.swap(sorted);
  return kOk;
}

}  // namespace inkrec
