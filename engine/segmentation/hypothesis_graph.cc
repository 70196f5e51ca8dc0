#include "engine/segmentation/hypothesis_graph.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "engine/foundation/status.h"
#include "engine/records/letter_fields.h"
#include "engine/segmentation/attach_test.h"
#include "engine/segmentation/composite_letters.h"
#include "engine/segmentation/pair_relations.h"
#include "engine/segmentation/result_pair_order.h"

namespace inkrec {
namespace {

constexpr std::int32_t kNoMarkClass = -1;
constexpr std::int16_t kSmallMark = 200;
constexpr std::int32_t kAllResults = -1;

std::uint16_t key_of(const FigureRecord& figure, FigureKey key) {
  return key == FigureKey::kBodyIndex ? body_index(figure) : figure.position;
}

// The span from the baseline up to the upper line; 0 without them.
int body_span(const FigureRecord& figure) {
  const ReferenceBand& band = figure.geometry.reference_band();
  return band.has_bounds() ? band.bottom - band.top : 0;
}

// Moves member n from one set to another.
int move_member(std::uint32_t n, BitSet& from, BitSet& to) {
  from.reset(n);
  return to.set(n);
}

class GraphBuild {
 public:
  explicit GraphBuild(FragmentState& state)
      : state_(state),
        line_(state.line),
        evaluations_(state),
        attach_(state),
        h_(attach_.h()),
        window_(std::max(4 * (h_ + state.context.settings().upper_height) / 5, 3 * h_)),
        whole_line_(state.context.kernel().params().mode == 2) {}

  int run() {
    if (line_.candidates.empty()) return kBadArgument;
    int status = single_figures();
    if (status == kOk && whole_line_) status = whole_line();
    if (status == kOk) status = neighbourhoods();
    if (status == kOk) status = pair_relation_pass(state_, kAllResults);
    if (status == kOk) status = compose_letters(state_, evaluations_);
    if (status == kOk) status = partner_joins();
    if (status == kOk && !whole_line_) status = word_windows();
    if (status == kOk) status = give_words_their_single_figures();
    return status;
  }

 private:
  bool stopped() const { return state_.context.kernel().stop_flag(); }

  int single_figures() {
    for (FigureRecord* figure : line_.candidates) {
      if (figure == nullptr) return kBadArgument;
      BitSet set;
      int status = set.set(body_index(*figure));
      if (status == kOk) status = evaluations_.evaluate(set, EvaluationReason::kSingleFigure);
      if (status != kOk) return status;
    }
    return kOk;
  }

  int whole_line() {
    if (line_.candidates.size() < 2) return kOk;
    BitSet all;
    for (const FigureRecord* figure : line_.candidates) {
      if (const int status = all.set(body_index(*figure)); status != kOk) return status;
    }
    return evaluations_.evaluate(all, EvaluationReason::kWholeLine);
  }

  // ---- Neighbourhoods and their growth.
  int neighbourhoods() {
    for (FigureRecord* anchor : line_.candidates) {
      BitSet near;
      bool contiguous = true;
      int status = neighbourhood(*anchor, near, &contiguous);
      if (status == kOk && near.count() > 1) status = grow(*anchor, near, FigureKey::kBodyIndex);
      if (status == kOk && near.count() > 1 && !contiguous) {
        status = grow(*anchor, near, FigureKey::kPosition);
      }
      if (status != kOk) return status;
    }
    return kOk;
  }

  int neighbourhood(FigureRecord& anchor, BitSet& near, bool* contiguous) {
    const int span = body_span(anchor);
    const int limit = span > h_ ? 3 * span / 10 : 3 * h_ / 10;
    const int reach = std::max(h_, span);
    const FigureRecord* first = find_figure_by_position(line_.candidates, 0);
    const int origin = first == nullptr ? 0 : body_index(*first);
    Box16 box = anchor.geometry.bounding_box();
    int status = near.set(body_index(anchor));
    for (FigureRecord* j : line_.candidates) {
      if (status != kOk) return status;
      if (stopped()) return kStopped;
      if (j == &anchor || near.test(body_index(*j))) continue;
      bool attached = false;
      if ((status = attach_.test(anchor, *j, limit, &attached)) != kOk || !attached) continue;
      status = take(*j, near, box, origin, contiguous);
      for (const int offset : {-2, 2}) {
        FigureRecord* neighbour = piece_neighbour(*j, offset);
        if (status != kOk || neighbour == nullptr || near.test(body_index(*neighbour))) continue;
        const Box16 nb = neighbour->geometry.bounding_box();
        const int wide_limit = (offset < 0 ? 2 : 3) * reach;
        const bool too_far = Box16::united(box, nb).width() >= wide_limit &&
                             nb.width() >= reach / 2 && nb.height() >= reach / 2;
        if (!too_far) status = take(*neighbour, near, box, origin, contiguous);
      }
    }
    return status;
  }

  // The body `offset` pieces along j's stroke, when it is a candidate of
  // the line.
  FigureRecord* piece_neighbour(const FigureRecord& j, int offset) {
    const int piece = piece_number(j) + offset;
    if (piece < 0) return nullptr;
    FigureRecord* body = figure_array_get2(state_.context.bodies(), stroke_number(j),
                                           static_cast<std::uint16_t>(piece));
    if (body == nullptr) return nullptr;
    return find_figure_by_body_index(line_.candidates, body_index(*body));
  }

  int take(FigureRecord& figure, BitSet& near, Box16& box, int origin, bool* contiguous) {
    box.unite(figure.geometry.bounding_box());
    if (figure.position != body_index(figure) - origin) *contiguous = false;
    return near.set(body_index(figure));
  }

  // Every window of the neighbourhood about the anchor in key order: grown
  // to the right one figure at a time, each of those grown to the left.
  int grow(const FigureRecord& anchor, const BitSet& near, FigureKey key) {
    BitSet grown;
    BitSet rest;
    int status = grown.set(body_index(anchor));
    if (status == kOk) status = rest.assign(near);
    rest.reset(body_index(anchor));
    for (bool first = true; status == kOk; first = false) {
      if (!first) {
        const std::int32_t next = nearest_in_set(anchor, key, rest, line_.candidates, true);
        if (next < 0) return next == -1 ? kOk : next;
        status = move_member(static_cast<std::uint32_t>(next), rest, grown);
        if (status == kOk) status = evaluations_.evaluate(grown, EvaluationReason::kGrowthRight);
      }
      if (status == kOk) status = grow_left(anchor, grown, rest, key);
    }
    return status;
  }

  int grow_left(const FigureRecord& anchor, const BitSet& grown, const BitSet& rest,
                FigureKey key) {
    BitSet left;
    BitSet remaining;
    int status = left.assign(grown);
    if (status == kOk) status = remaining.assign(rest);
    while (status == kOk) {
      const std::int32_t next = nearest_in_set(anchor, key, remaining, line_.candidates, false);
      if (next < 0) return next == -1 ? kOk : next;
      status = move_member(static_cast<std::uint32_t>(next), remaining, left);
      if (status == kOk) status = evaluations_.evaluate(left, EvaluationReason::kGrowthLeft);
    }
    return status;
  }

  // ---- Small marks joined with their neighbours.
  int partner_joins() {
    const std::uint32_t made = line_.letter_results.size();
    for (std::uint32_t k = 0; k < made; ++k) {
      if (stopped()) return kStopped;
      const LetterResult* result = line_.letter_results[k];
      if (result == nullptr) return kBadArgument;
      if (!is_small_classed_mark(*result)) continue;
      if (const int status = join_partner_result(state_, evaluations_, *result); status != kOk) {
        return status;
      }
    }
    return kOk;
  }

  static bool is_small_classed_mark(const LetterResult& result) {
    if (result.figures.size() != 1 || result.figures[0] == nullptr) return false;
    FigureRecord& figure = *result.figures[0];
    const std::int32_t c1 = mark_class(figure.geometry);
    const std::int32_t c2 = second_class(figure.geometry);
    return (c1 != kNoMarkClass || c2 != kNoMarkClass) && c1 != 0 &&
           mark_length(figure_mark_block(figure)) < kSmallMark;
  }

  // ---- Windows of the word groups.
  int word_windows() {
    std::vector<PtrArray<FigureRecord>> words;
    for (LineGroup& word : line_.word_groups) {
      if (const int status = sort_letter_results(word.letter_groups); status != kOk) return status;
      words.emplace_back();
      if (words.back().push_all(word.figures) != kOk) return kOutOfMemory;
    }
    for (PtrArray<FigureRecord>& figures : words) {
      int status = sort_figures_by_position(figures);
      if (status == kOk) status = windows(figures, EvaluationReason::kWordWindow);
      if (status == kOk) status = sort_by_body_index(figures);
      if (status == kOk) status = windows(figures, EvaluationReason::kWordWindowInWritingOrder);
      if (status != kOk) return status;
    }
    return kOk;
  }

  static int sort_by_body_index(PtrArray<FigureRecord>& figures) {
    if (std::find(figures.begin(), figures.end(), nullptr) != figures.end()) return kBadArgument;
    std::sort(figures.data(), figures.data() + figures.size(),
              [](const FigureRecord* a, const FigureRecord* b) {
                return body_index(*a) < body_index(*b);
              });
    return kOk;
  }

  // From each figure, the window through each later one up to the span W.
  int windows(const PtrArray<FigureRecord>& figures, EvaluationReason reason) {
    for (std::uint32_t a = 0; a < figures.size(); ++a) {
      const FigureRecord& first = *figures[a];
      BitSet window;
      int status = window.set(body_index(first));
      for (std::uint32_t b = a + 1; status == kOk && b < figures.size(); ++b) {
        const FigureRecord& j = *figures[b];
        if ((status = window.set(body_index(j))) != kOk) break;
        std::uint8_t keep = 1;
        if (link_flag(j) && (status = reject_small_link(state_, first, j, &keep)) != kOk) break;
        if (keep == 0) continue;
        const int span = j.geometry.bounding_box().right - first.geometry.bounding_box().left;
        const bool one_stroke = stroke_number(first) == stroke_number(j);
        if (span >= window_ && !(one_stroke && 2 * span < 3 * window_)) continue;
        status = evaluations_.evaluate(window, reason);
      }
      if (status != kOk) return status;
    }
    return kOk;
  }

  // The single figures were read before any word group was made: each
  // word group takes the one-figure results of its figures, so that its
  // cover can read a figure alone.
  int give_words_their_single_figures() {
    for (LineGroup& word : line_.word_groups) {
      for (const FigureRecord* figure : word.figures) {
        if (figure == nullptr) return kBadArgument;
        BitSet alone;
        if (const int status = alone.set(body_index(*figure)); status != kOk) return status;
        LetterResult* single = evaluations_.find(alone);
        if (single == nullptr) return kBadArgument;
        const bool held = std::find(word.letter_groups.begin(), word.letter_groups.end(),
                                    single) != word.letter_groups.end();
        if (!held && word.letter_groups.push_back(single) != kOk) return kOutOfMemory;
      }
    }
    return kOk;
  }

  FragmentState& state_;
  TextLine& line_;
  GroupEvaluations evaluations_;
  AttachTest attach_;
  const int h_;
  const int window_;
  const bool whole_line_;
};

// ---- The partner join.

struct Partner {
  int stroke = -1;
  std::int16_t value = PairMetrics::kNotMeasured;
};

// The stroke to join with, from the best partner and the partner lying
// along the slant; -1 when neither counts.
int joined_stroke(const FragmentState& state, const Partner& best, const Partner& along,
                  int slant_difference) {
  const std::int32_t size = blend_height(state.mean_width, state.mean_height);
  bool best_counts = best.stroke >= 0 && best.value <= size;
  bool along_counts = false;
  if (along.stroke >= 0 && slant_difference <= 30 && along.value * 100 <= 122 * state.mean_height) {
    along_counts = true;
    if (best.value > along.value / 2) best_counts = false;
  }
  if (along.stroke >= 0 && slant_difference <= 11 && 3 * along.value <= 4 * state.mean_height) {
    along_counts = true;
    best_counts = false;
  }
  if (best_counts) return best.stroke;
  return along_counts ? along.stroke : -1;
}

// Each result sharing no figure with `result` and holding a figure on the
// stroke, joined with it.
int join_with_stroke(FragmentState& state, GroupEvaluations& evaluations,
                     const LetterResult& result, int stroke) {
  const std::uint32_t made = state.line.letter_results.size();
  for (std::uint32_t k = 0; k < made; ++k) {
    const LetterResult* other = state.line.letter_results[k];
    if (other == nullptr) return kBadArgument;
    if (other == &result || other->members.intersects(result.members)) continue;
    const bool on_stroke = std::any_of(
        other->figures.begin(), other->figures.end(),
        [stroke](const FigureRecord* f) { return f != nullptr && stroke_number(*f) == stroke; });
    if (!on_stroke) continue;
    BitSet joined;
    int status = make_union(result.members, other->members, &joined);
    if (status == kOk) status = evaluations.evaluate(joined, EvaluationReason::kPartnerJoin);
    if (status != kOk) return status;
  }
  return kOk;
}

int partner_value(const PairTable& pairs, int stroke, int partner, Partner* out) {
  out->stroke = partner;
  if (partner < 0) return kOk;
  const PairMetrics* entry = pairs.at(stroke, partner);
  if (entry == nullptr) return kBadArgument;
  out->value = entry->pair_value();
  return kOk;
}

bool contained_elsewhere(const FragmentState& state, const LetterResult& result) {
  return std::any_of(state.line.letter_results.begin(), state.line.letter_results.end(),
                     [&result](const LetterResult* other) {
                       return other != nullptr && other != &result &&
                              other->members.contains(result.members);
                     });
}

}  // namespace

int build_hypothesis_graph(FragmentState& state) {
  GraphBuild build(state);
  return build.run();
}

std::int32_t nearest_in_set(const FigureRecord& anchor, FigureKey key, const BitSet& set,
                            const PtrArray<FigureRecord>& candidates, bool after) {
  const std::uint16_t own = key_of(anchor, key);
  std::int32_t found = -1;
  std::uint16_t found_key = 0;
  for (const FigureRecord* figure : candidates) {
    if (figure == nullptr) return kBadArgument;
    const std::uint16_t k = key_of(*figure, key);
    if (!set.test(body_index(*figure)) || k == own || (after ? k < own : k > own)) continue;
    if (found >= 0 && (after ? k >= found_key : k <= found_key)) continue;
    found = body_index(*figure);
    found_key = k;
  }
  return found;
}

int join_partner_result(FragmentState& state, GroupEvaluations& evaluations,
                        const LetterResult& result) {
  if (result.figures.size() != 1 || result.figures[0] == nullptr) return kOk;
  if (contained_elsewhere(state, result)) return kOk;
  const FigureRecord& figure = *result.figures[0];
  const PairTable& pairs = state.context.pair_table();
  const int stroke = stroke_number(figure);
  const int line = figure.line_index;
  const int slant = state.context.line_slant_angle();
  int best = -1;
  int second = -1;
  int along = -1;
  std::int16_t best_value = 0;
  std::int16_t second_value = 0;
  std::int16_t folded = 0;
  int status = pairs.two_best_partners(stroke, line, nullptr, &best, &best_value, &second,
                                       &second_value);
  if (status == kOk) status = pairs.partner_nearest_angle(line, stroke, slant, &folded, &along);
  Partner first_choice;
  Partner second_choice;
  Partner along_slant;
  if (status == kOk) status = partner_value(pairs, stroke, best, &first_choice);
  if (status == kOk) status = partner_value(pairs, stroke, second, &second_choice);
  if (status == kOk) status = partner_value(pairs, stroke, along, &along_slant);
  if (status != kOk) return status;
  const int difference = std::abs(folded - slant);
  const int joined = joined_stroke(state, first_choice, along_slant, difference);
  if (joined >= 0) status = join_with_stroke(state, evaluations, result, joined);
  if (status != kOk || second < 0 || 10 * second_choice.value >= 12 * first_choice.value) {
    return status;
  }
  const int joined_second = joined_stroke(state, second_choice, along_slant, difference);
  return joined_second < 0 ? kOk : join_with_stroke(state, evaluations, result, joined_second);
}

}  // namespace inkrec
