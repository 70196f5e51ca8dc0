#include "engine/segmentation/group_cover.h"

#include <map>
#include <new>

#include "engine/foundation/status.h"
#include "engine/records/keyed_groups.h"
#include "engine/records/letter_fields.h"
#include "engine/rules/group_chains.h"
#include "engine/rules/pair_test.h"
#include "engine/rules/punctuation_rule.h"

namespace inkrec {
namespace {

// From this many covered figures on, the search remembers completions.
constexpr std::uint32_t kMemoFromFigures = 5;
// The debug mode that keeps every cover found.
constexpr std::uint32_t kRecordAlternatives = 2;
// The recognition mode that reads a line as one letter.
constexpr std::int32_t kWholeLineMode = 2;

std::uint32_t member_count(const Chain& chain) {
  std::uint32_t count = 0;
  for (const FigureGroup* result : chain) count += result->members.count();
  return count;
}

bool least_position(const FigureGroup& result, std::uint32_t* position) {
  return result.coverage.lowest_bit(position);
}

bool excluded_from_covers(const FigureGroup& result) {
  return (result.flags & FigureGroup::kNotInCovers) != 0 ||
         (result.exclusion_flags & FigureGroup::kExcluded) != 0;
}

// A single figure far lower than the line's letters that continues a
// stroke: a scrap of a cut, never a letter of its own.
bool is_scrap_of_a_stroke(const FigureGroup& result, std::int32_t letter_height) {
  if (result.members.count() != 1 || result.figures.empty() || result.figures[0] == nullptr) {
    return false;
  }
  return result.geometry->bounding_box().height() * 20 < letter_height &&
         piece_start_selector(*result.figures[0]) > 0;
}

// A set of several figures the evaluation found no reading for: no
// letter. A single figure without a reading may still stand in a chain,
// where it costs as a letter read with the total 0, so that the letters
// read beside it are not lost.
bool is_unread_set(const FigureGroup& result) {
  return !result.has_answers() && result.members.count() > 1;
}

// The line's result whose only figure is the one with that body index.
FigureGroup* single_figure_result(const TextLine& line, std::uint32_t index) {
  for (LetterResult* result : line.letter_results) {
    if (result != nullptr && result->members.count() == 1 && result->members.test(index)) {
      return result;
    }
  }
  return nullptr;
}

// Whether `later` may follow `earlier`: the pair test and the punctuation
// rule both let it. A figure without a reading, which the pair test never
// lets follow anything, is placed by its position alone.
int may_follow(RecognitionContext& context, FigureGroup& later, FigureGroup& earlier,
               bool* allowed) {
  *allowed = true;
  if (!later.has_answers()) return kOk;
  int refused = 0;
  if (const int status = test_element_pair_cached(&context, &later, &earlier, &refused);
      status != kOk) {
    return status;
  }
  int flag = 0;
  apply_punctuation_rule_cached(later, earlier, 0, 0, &flag);
  *allowed = refused == 0 && flag == 0;
  return kOk;
}

// The best chain seen that finishes a covered set, and the best one for
// each result a finishing chain started with.
struct FirstCompletion {
  FigureGroup* first = nullptr;
  Chain chain;
};

struct Completions {
  Chain best;
  DynArray<FirstCompletion> by_first;
};

// A covered set whose completions are being collected: the set as it was
// when it was opened and the results pushed since.
struct OpenCover {
  BitSet entry;
  std::uint32_t entry_count = 0;
  Completions found;
  Chain suffix;
  std::uint32_t suffix_members = 0;
};

using CoverMemo = std::map<BitSet, Completions, BitSetLess>;

// The search for the cover of one word group, and its greedy fallback.
class CoverSearch {
 public:
  CoverSearch(FragmentState& state, LineGroup& group)
      : state_(state),
        kernel_(state.context.kernel()),
        group_(group),
        results_(group.letter_groups),
        chains_{false, state.context.letter_height(), state.context.slant_angle(),
                &state.context} {}

  // Sorts the group's results and measures the group: -2 without figures
  // or results, or at a null one.
  int prepare();
  int search() { return descend(start_, 0); }
  int greedy();

 private:
  bool stopped() const { return kernel_.stop_flag(); }
  bool settled() const { return kernel_.quick_flag() && !group_.cover.empty(); }

  int descend(std::uint32_t next, std::uint32_t from);
  int take(std::uint32_t i, FigureGroup& result, std::uint32_t next);
  int go_deeper(std::uint32_t i, std::uint32_t next);
  int push(FigureGroup& result);
  void pop(FigureGroup& result);
  std::uint32_t next_open_position(std::uint32_t next) const;
  bool is_open(const BitSet& covered) const;
  int take_single_result(const FigureRecord& figure);

  int offer_path();
  int finish_from_memo(const Completions& memo);
  int offer_completion(const Chain& completion);
  int offer_cover(const Chain& chain);
  int offer(Completions& found, const Chain& chain);

  FragmentState& state_;
  RunKernel& kernel_;
  LineGroup& group_;
  PtrArray<FigureGroup>& results_;
  const ChainContext chains_;
  BitSet group_positions_;
  std::uint32_t total_ = 0;
  std::uint32_t start_ = 0;
  std::uint32_t end_ = 0;

  Chain path_;
  std::uint32_t path_members_ = 0;
  BitSet covered_;
  std::uint32_t covered_count_ = 0;
  CoverMemo memo_;
  DynArray<OpenCover> open_;
};

// A figure read alone before its word group was made has its result in
// the line only: the group takes it too, so that every figure of the group
// can be covered by itself.
int CoverSearch::prepare() {
  for (const FigureRecord* figure : group_.figures) {
    if (figure == nullptr) return kBadArgument;
    if (group_positions_.set(figure->position) != kOk) return kOutOfMemory;
    if (const int status = take_single_result(*figure); status != kOk) return status;
  }
  if (group_.figures.empty() || results_.empty() || results_[0] == nullptr) return kBadArgument;
  if (const int status = sort_letter_results(results_); status != kOk) return status;
  total_ = group_.figures.size();
  group_positions_.highest_bit(&end_);
  return least_position(*results_[0], &start_) ? kOk : kBadArgument;
}

int CoverSearch::descend(std::uint32_t next, std::uint32_t from) {
  if (stopped()) return kStopped;
  if (settled()) return kOk;
  if (!memo_.empty() && path_members_ >= kMemoFromFigures) {
    if (const auto seen = memo_.find(covered_); seen != memo_.end()) {
      return finish_from_memo(seen->second);
    }
  }
  for (std::uint32_t i = from; i < results_.size(); ++i) {
    if (stopped()) return kStopped;
    if (settled()) return kOk;
    FigureGroup* result = results_[i];
    if (result == nullptr) return kBadArgument;
    std::uint32_t p = 0;
    if (excluded_from_covers(*result) || !least_position(*result, &p) || p < next) continue;
    if (p > next) return kOk;  // sorted by least position: none later starts at next
    if (result->coverage.intersects(covered_) || is_unread_set(*result) ||
        is_scrap_of_a_stroke(*result, state_.context.letter_height())) {
      continue;
    }
    if (!path_.empty()) {
      bool allowed = false;
      if (const int status = may_follow(state_.context, *result, *path_[path_.size() - 1], &allowed);
          status != kOk) {
        return status;
      }
      if (!allowed) continue;
    }
    if (const int status = take(i, *result, next); status != kOk) return status;
  }
  return kOk;
}

// Puts the result on the path, finishes or goes deeper, and takes it off.
int CoverSearch::take(std::uint32_t i, FigureGroup& result, std::uint32_t next) {
  int status = push(result);
  if (status == kOk) status = covered_count_ == total_ ? offer_path() : go_deeper(i, next);
  pop(result);
  return status;
}

int CoverSearch::push(FigureGroup& result) {
  if (covered_.unite(result.coverage) != kOk || path_.push_back(&result) != kOk) {
    return kOutOfMemory;
  }
  const std::uint32_t members = result.members.count();
  covered_count_ += result.coverage.count();
  path_members_ += members;
  for (OpenCover& open : open_) {
    if (open.suffix.push_back(&result) != kOk) return kOutOfMemory;
    open.suffix_members += members;
  }
  return kOk;
}

// Undoes push, also after a push that failed part way.
void CoverSearch::pop(FigureGroup& result) {
  const std::uint32_t members = result.members.count();
  if (!path_.empty() && path_[path_.size() - 1] == &result) {
    path_.remove_at(path_.size() - 1);
    path_members_ -= members;
    covered_.subtract(result.coverage);
    covered_count_ -= result.coverage.count();
  }
  for (OpenCover& open : open_) {
    if (!open.suffix.empty() && open.suffix[open.suffix.size() - 1] == &result) {
      open.suffix.remove_at(open.suffix.size() - 1);
      open.suffix_members -= members;
    }
  }
}

// From five covered figures on, a covered set met for the first time opens
// a record of its completions, kept in the memo once the search below it
// has ended.
int CoverSearch::go_deeper(std::uint32_t i, std::uint32_t next) {
  bool opened = false;
  if (path_members_ >= kMemoFromFigures && !is_open(covered_) && !memo_.contains(covered_)) {
    OpenCover* open = open_.push_default();
    if (open == nullptr || open->entry.assign(covered_) != kOk) return kOutOfMemory;
    open->entry_count = covered_count_;
    opened = true;
  }
  if (const int status = descend(next_open_position(next), i + 1); status != kOk) return status;
  if (!opened) return kOk;
  OpenCover& open = open_.back();
  try {
    memo_.emplace(std::move(open.entry), std::move(open.found));
  } catch (const std::bad_alloc&) {
    return kOutOfMemory;
  }
  return open_.pop_back();
}

int CoverSearch::take_single_result(const FigureRecord& figure) {
  for (const FigureGroup* result : results_) {
    if (result != nullptr && result->members.count() == 1 && result->members.test(body_index(figure))) {
      return kOk;
    }
  }
  FigureGroup* single = single_figure_result(state_.line, body_index(figure));
  return single == nullptr ? kOk : results_.push_back(single);
}

bool CoverSearch::is_open(const BitSet& covered) const {
  for (const OpenCover& open : open_) {
    if (open.entry.equals(covered)) return true;
  }
  return false;
}

// The first position from `next` on that is neither covered nor without a
// figure of the group; past the group's last position when none is.
std::uint32_t CoverSearch::next_open_position(std::uint32_t next) const {
  std::uint32_t n = next;
  while (n <= end_ && (covered_.test(n) || !group_positions_.test(n))) ++n;
  return n;
}

// The path covers the group: it is offered as the cover, and the part of
// it pushed since each open record was opened as that record's completion.
int CoverSearch::offer_path() {
  if (const int status = offer_cover(path_); status != kOk) return status;
  for (OpenCover& open : open_) {
    if (open.entry_count + open.suffix_members != total_) continue;
    if (const int status = offer(open.found, open.suffix); status != kOk) return status;
  }
  return kOk;
}

// The covered set was searched before: its best completion finishes the
// path when it may follow the path's last result; otherwise each best
// completion by first result that may.
int CoverSearch::finish_from_memo(const Completions& memo) {
  if (memo.best.empty()) return kOk;  // a dead end seen before
  FigureGroup& last = *path_[path_.size() - 1];
  bool allowed = false;
  if (const int status = may_follow(state_.context, *memo.best[0], last, &allowed);
      status != kOk) {
    return status;
  }
  if (allowed) return offer_completion(memo.best);
  for (const FirstCompletion& entry : memo.by_first) {
    if (const int status = may_follow(state_.context, *entry.first, last, &allowed);
        status != kOk) {
      return status;
    }
    if (!allowed) continue;
    if (const int status = offer_completion(entry.chain); status != kOk) return status;
  }
  return kOk;
}

int CoverSearch::offer_completion(const Chain& completion) {
  const std::uint32_t members = member_count(completion);
  Chain joined;
  if (covered_count_ + members == total_) {
    if (chain_concat(path_, completion, joined) != kOk) return kOutOfMemory;
    if (const int status = offer_cover(joined); status != kOk) return status;
  }
  for (OpenCover& open : open_) {
    if (open.entry_count + open.suffix_members + members != total_) continue;
    if (chain_concat(open.suffix, completion, joined) != kOk) return kOutOfMemory;
    if (const int status = offer(open.found, joined); status != kOk) return status;
  }
  return kOk;
}

int CoverSearch::offer_cover(const Chain& chain) {
  if (chain_better(chains_, group_.cover, chain) && chain_copy(chain, group_.cover) != kOk) {
    return kOutOfMemory;
  }
  if (kernel_.debug_mode() != kRecordAlternatives) return kOk;
  Chain copy;
  if (chain_copy(chain, copy) != kOk) return kOutOfMemory;
  return group_.alternatives.push_back(std::move(copy));
}

int CoverSearch::offer(Completions& found, const Chain& chain) {
  if (chain.empty()) return kOk;
  if (chain_better(chains_, found.best, chain) && chain_copy(chain, found.best) != kOk) {
    return kOutOfMemory;
  }
  for (FirstCompletion& entry : found.by_first) {
    if (entry.first != chain[0]) continue;
    if (chain_better(chains_, entry.chain, chain) && chain_copy(chain, entry.chain) != kOk) {
      return kOutOfMemory;
    }
    return kOk;
  }
  FirstCompletion* entry = found.by_first.push_default();
  if (entry == nullptr) return kOutOfMemory;
  entry->first = chain[0];
  return chain_copy(chain, entry->chain);
}

// Position by position, the first result in the group's order that starts
// there and meets nothing covered.
int CoverSearch::greedy() {
  std::uint32_t next = start_;
  for (FigureGroup* result : results_) {
    if (stopped()) return kStopped;
    if (result == nullptr) return kBadArgument;
    std::uint32_t p = 0;
    if (!least_position(*result, &p) || p < next) continue;
    if (p > next) return kNoGroupVariant;
    if (result->coverage.intersects(covered_)) continue;
    if (const int status = push(*result); status != kOk) return status;
    if (covered_count_ == total_) return offer_cover(path_);
    next = next_open_position(next);
  }
  return kOk;
}

}  // namespace

int select_group_cover(FragmentState& state, std::uint32_t k) {
  if (state.context.kernel().stop_flag()) return kStopped;
  LineGroup* group = state.line.word_groups.item_checked(k);
  if (group == nullptr) return kBadArgument;
  group->cover.remove_all();
  group->alternatives.clear();
  CoverSearch search(state, *group);
  int status = search.prepare();
  if (status == kOk) status = search.search();
  // A finished search leaves its path empty, ready for the walk.
  if (status == kOk && group->cover.empty()) status = search.greedy();
  if (status == kOk && group->cover.empty()) status = kNoGroupVariant;
  return status;
}

namespace {

// The whole line as one letter: the first word group takes the first
// result of as many figures as the group has.
int cover_whole_line(TextLine& line) {
  if (line.word_groups.empty()) return kOk;
  LineGroup& group = line.word_groups[0];
  group.cover.remove_all();
  for (LetterResult* result : line.letter_results) {
    if (result != nullptr && result->members.count() == group.figures.size()) {
      return group.cover.push_back(result);
    }
  }
  return kOk;
}

int cover_word_groups(FragmentState& state) {
  if (state.context.kernel().params().mode == kWholeLineMode) return cover_whole_line(state.line);
  for (std::uint32_t k = 0; k < state.line.word_groups.size(); ++k) {
    if (const int status = select_group_cover(state, k); status != kOk) return status;
    if (state.context.kernel().stop_flag()) return kStopped;
  }
  return kOk;
}

// In candidate order: each word group's cover when its first figure comes,
// and the single-figure result of a figure outside the groups.
int gather_chosen_results(FragmentState& state) {
  BitSet groups_met;
  for (const FigureRecord* figure : state.line.candidates) {
    if (figure == nullptr) return kBadArgument;
    const std::int16_t g = word_group_index(*figure);
    if (g < 0) {
      FigureGroup* result = single_figure_result(state.line, body_index(*figure));
      if (result == nullptr) return kBadArgument;
      if (state.chosen_results.push_back(result) != kOk) return kOutOfMemory;
      continue;
    }
    const auto k = static_cast<std::uint32_t>(g);
    if (groups_met.test(k)) continue;
    const LineGroup* group = state.line.word_groups.item_checked(k);
    if (group == nullptr) return kBadArgument;
    if (groups_met.set(k) != kOk) return kOutOfMemory;
    if (const int status = state.chosen_results.push_all(group->cover); status != kOk) {
      return status;
    }
  }
  return kOk;
}

}  // namespace

int collect_fragment_results(FragmentState& state) {
  state.chosen_results.remove_all();
  if (state.context.kernel().stop_flag()) return kStopped;
  if (const int status = cover_word_groups(state); status != kOk) return status;
  if (const int status = gather_chosen_results(state); status != kOk) return status;
  return sort_results_in_writing_order(state, state.chosen_results);
}

}  // namespace inkrec
