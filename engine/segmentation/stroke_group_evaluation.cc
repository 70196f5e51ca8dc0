#include "engine/segmentation/stroke_group_evaluation.h"

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

#include "engine/analysis/raf_features.h"
#include "engine/foundation/polylines.h"
#include "engine/foundation/status.h"
#include "engine/records/letter_fields.h"
#include "engine/records/line_group.h"
#include "engine/records/request_switches.h"
#include "engine/segmentation/element_extrema_tests.h"
#include "engine/segmentation/outer_loops.h"

namespace inkrec {
namespace {

constexpr std::uint16_t kNoWordGroup = 0xFFFF;

// The figures of the set on one stroke.
struct StrokeSpan {
  std::uint16_t stroke = kNoKey16;
  FigureRecord* first = nullptr;  // the figure with the lowest piece
  FigureRecord* last = nullptr;   // the figure with the highest piece
  std::int32_t count = 0;
  std::int32_t tall = 0;         // figures at least half the letter height high
  std::int32_t large_links = 0;  // links before them at least half the letter height long
  std::int32_t loops[2] = {-1, -1};
  Box16 box;
  FigureRecord* element = nullptr;  // the run of ink from first to last
  bool new_element = false;

  std::uint16_t lowest() const { return piece_number(*first); }
  std::uint16_t highest() const { return piece_number(*last); }
};

class GroupEvaluation {
 public:
  GroupEvaluation(FragmentState& state, const BitSet& set, bool composite)
      : context_(state.context),
        line_(state.line),
        set_(set),
        composite_(composite),
        switches_(state.context.kernel().params()),
        whole_line_(state.context.kernel().params().mode == 2),
        h_(std::max<int>(state.context.letter_height(), 1)) {}

  int run(LetterResult** out) {
    int status = gather();
    if (status == kOk) status = test_untouched_strokes();
    if (status == kOk) status = test_skipped_figures();
    if (status == kOk) status = make_elements();
    if (status == kOk) status = test_group_as_a_whole();
    if (status == kOk) status = recognize();
    if (status == kOk) status = test_swallowed_links();
    if (status == kOk) status = store(out);
    return status;
  }

 private:
  bool refusing() const { return !whole_line_; }
  bool refusing_gaps() const { return !whole_line_ && !composite_; }

  // ---- Step: the set's figures, their line and their strokes.
  int gather() {
    if (set_.is_empty()) return kPaneFigureWithoutLine;
    BitSetIterator members(set_);
    if (members.status() != kOk) return members.status();
    for (; !members.at_end(); members.advance()) {
      FigureRecord* figure = nullptr;
      if (const int status = find_member(members.value(), &figure); status != kOk) return status;
      if (const int status = add_figure(*figure); status != kOk) return status;
    }
    return kOk;
  }

  // The candidate with the body index; 1003 when the body lies on another
  // line (or on none), -2 when there is no such body.
  int find_member(std::uint32_t body, FigureRecord** out) {
    FigureRecord* figure =
        find_figure_by_body_index(line_.candidates, static_cast<std::uint16_t>(body));
    FigureRecord* elsewhere = figure;
    for (std::uint32_t i = 0; elsewhere == nullptr && i < context_.bodies().size(); ++i) {
      if (body_index(context_.bodies()[i]) == body) elsewhere = &context_.bodies()[i];
    }
    if (elsewhere == nullptr) return kBadArgument;
    const std::uint16_t line = elsewhere->line_index;
    if (line == kNoKey16) return kPaneFigureWithoutLine;
    if (figures_.empty()) line_index_ = line;
    if (line != line_index_) return kPaneFigureWithoutLine;
    if (line >= context_.text_lines().size() || figure == nullptr) return kBadArgument;
    *out = figure;
    return kOk;
  }

  int add_figure(FigureRecord& figure) {
    if (figures_.push_back(&figure) != kOk) return kOutOfMemory;
    if (link_field_2(figure) >= 0) flags_ |= FigureGroup::kSecondLinkSet;
    if (link_field_1(figure) >= 0) flags_ |= FigureGroup::kFirstLinkSet;
    const Box16 box = figure.geometry.bounding_box();
    box_ = figures_.size() == 1 ? box : Box16::united(box_, box);
    if (figure.position != kNoKey16) {
      if (const int status = positions_.set(figure.position); status != kOk) return status;
    }
    StrokeSpan* span = span_of(stroke_number(figure));
    if (span == nullptr) return kOutOfMemory;
    return add_to_span(*span, figure, box);
  }

  StrokeSpan* span_of(std::uint16_t stroke) {
    for (StrokeSpan& span : spans_) {
      if (span.stroke == stroke) return &span;
    }
    StrokeSpan* span = spans_.push_default();
    if (span != nullptr) span->stroke = stroke;
    return span;
  }

  int add_to_span(StrokeSpan& span, FigureRecord& figure, const Box16& box) {
    if (span.first == nullptr || piece_number(figure) < span.lowest()) span.first = &figure;
    if (span.last == nullptr || piece_number(figure) > span.highest()) span.last = &figure;
    span.box = span.count == 0 ? box : Box16::united(span.box, box);
    ++span.count;
    if (span.loops[0] < 0 && link_field_1(figure) >= 0) span.loops[0] = link_field_1(figure);
    if (span.loops[1] < 0 && link_field_2(figure) >= 0) span.loops[1] = link_field_2(figure);
    if (box.height() >= h_ / 2 && ++span.tall > 5 && refusing()) return kRejected;
    const std::uint16_t piece = piece_number(figure);
    if (piece <= span.lowest() || piece < 1) return kOk;
    const FigureRecord* link =
        figure_array_get(context_.links(), span.stroke, piece - 1, piece - 1);
    if (link == nullptr) return kBadArgument;
    const Box16 link_box = link->geometry.bounding_box();
    if (link_box.width() + link_box.height() >= h_ / 2 && ++span.large_links > 4 && refusing()) {
      return kRejected;
    }
    return kOk;
  }

  // ---- Step: strokes the set passes over.
  int test_untouched_strokes() {
    if (!switches_.stroke_joining()) return kOk;
    const auto [lowest, highest] = stroke_range();
    for (std::uint32_t s = lowest + 1; s < highest; ++s) {
      if (has_span(static_cast<std::uint16_t>(s))) continue;
      StrokeRecord* stroke = find_stroke_record_b(context_.strokes(), static_cast<std::uint16_t>(s));
      if (stroke == nullptr) return kBadArgument;
      const Box16 box = points_bounding_box(stroke->run.span());
      if (box_.left <= box.left && box.right <= box_.right) return kRejected;
    }
    return kOk;
  }

  std::pair<std::uint32_t, std::uint32_t> stroke_range() const {
    std::uint32_t lowest = kNoKey16;
    std::uint32_t highest = 0;
    for (const StrokeSpan& span : spans_) {
      lowest = std::min<std::uint32_t>(lowest, span.stroke);
      highest = std::max<std::uint32_t>(highest, span.stroke);
    }
    return {lowest, highest};
  }

  bool has_span(std::uint16_t stroke) const {
    return std::any_of(spans_.begin(), spans_.end(),
                       [stroke](const StrokeSpan& span) { return span.stroke == stroke; });
  }
  const StrokeSpan* find_span(std::uint16_t stroke) const {
    for (const StrokeSpan& span : spans_) {
      if (span.stroke == stroke) return &span;
    }
    return nullptr;
  }

  // ---- Step: figures the set skips between its own.
  bool positions_leave_gaps() const {
    std::uint32_t first = 0;
    std::uint32_t last = 0;
    if (!positions_.lowest_bit(&first) || !positions_.highest_bit(&last)) return false;
    return last - first + 1 > positions_.count();
  }

  int test_skipped_figures() {
    if (!positions_leave_gaps() || !refusing_gaps()) return kOk;
    DynArray<FigureRecord*> by_position;
    if (by_position.assign(figures_) != kOk) return kOutOfMemory;
    std::sort(by_position.begin(), by_position.end(),
              [](const FigureRecord* a, const FigureRecord* b) { return a->position < b->position; });
    for (std::uint32_t k = 1; k < by_position.size(); ++k) {
      const int status = test_between(*by_position[k - 1], *by_position[k]);
      if (status != kOk) return status;
    }
    std::uint32_t first_body = 0;
    std::uint32_t last_body = 0;
    set_.lowest_bit(&first_body);
    set_.highest_bit(&last_body);
    const bool body_gaps = last_body - first_body + 1 > set_.count();
    return spans_.size() >= 2 && body_gaps ? kRejected : kOk;
  }

  // A skipped candidate lying between two consecutive figures of the set
  // on different strokes, within their height, refuses the set.
  int test_between(const FigureRecord& previous, FigureRecord& current) {
    if (stroke_number(previous) == stroke_number(current) ||
        current.position <= previous.position + 1) {
      return kOk;
    }
    const Box16 before = find_span(stroke_number(previous))->box;
    const Box16 after = widened_box(current);
    const int top = std::min(before.top, after.top);
    const int bottom = std::max(before.bottom, after.bottom);
    for (std::uint32_t p = previous.position + 1u; p < current.position; ++p) {
      const FigureRecord* skipped =
          find_figure_by_position(line_.candidates, static_cast<std::uint16_t>(p));
      if (skipped == nullptr) return kBadArgument;
      const Box16 g = skipped->geometry.bounding_box();
      if (before.right < g.left && g.right < after.left && g.top >= top && g.bottom <= bottom) {
        return kRejected;
      }
    }
    return kOk;
  }

  // A figure's box, taken with the body two pieces before it on its stroke
  // when the figure starts above the middle of its reference lines.
  Box16 widened_box(FigureRecord& figure) {
    Box16 box = figure.geometry.bounding_box();
    const ReferenceBand& band = figure.geometry.reference_band();
    if (!band.has_bounds() || box.top >= (band.top + band.bottom) / 2 || piece_number(figure) < 2) {
      return box;
    }
    const FigureRecord* before =
        figure_array_get2(context_.bodies(), stroke_number(figure), piece_number(figure) - 2);
    return before == nullptr ? box : Box16::united(box, before->geometry.bounding_box());
  }

  // ---- Step: each stroke's run of ink as one element.
  ExtremaLine extrema_line() {
    ExtremaLine line;
    line.line = &line_;
    line.h = h_;
    line.s = std::max<int>(context_.settings().upper_height, 1);
    line.slant = context_.line_slant_angle();
    return line;
  }

  int make_elements() {
    for (StrokeSpan& span : spans_) {
      int status = test_pieces(span);
      if (status == kOk) status = take_element(span);
      if (status == kOk) status = test_element(span);
      if (status == kOk && span.new_element) status = keep_element(span);
      if (status != kOk) return status;
    }
    return kOk;
  }

  bool link_follows(std::uint16_t stroke, std::uint16_t piece) {
    return figure_array_get2(context_.links(), stroke, piece + 1) != nullptr;
  }

  int test_pieces(const StrokeSpan& span) {
    if (!refusing()) return kOk;
    if (span.highest() - span.lowest() > 2 * span.count - 2) return kRejected;
    if (!switches_.stroke_joining()) return kOk;
    const StrokeSpan* next = find_span(static_cast<std::uint16_t>(span.stroke + 1));
    if (next == nullptr) return kOk;
    const bool ends_here = !link_follows(span.stroke, span.highest());
    if (ends_here) return next->count > 1 ? kRejected : kOk;
    if (next->count < 2 && link_follows(next->stroke, next->highest())) return kRejected;
    const StrokeRecord* own = find_stroke_record_b(context_.strokes(), span.stroke);
    const StrokeRecord* following = find_stroke_record_b(context_.strokes(), next->stroke);
    if (own == nullptr || following == nullptr) return kBadArgument;
    // A stroke written later over this one's letter (the bar of a t, the
    // dot of an i written after the word) may join a letter in the middle
    // of it; one lying beyond it may not.
    if (next->box.overlaps_x(span.box)) return kOk;
    return following->order_key > own->order_key ? kRejected : kOk;
  }

  int take_element(StrokeSpan& span) {
    if (span.first == span.last) {
      span.element = span.first;
      return kOk;
    }
    span.element = find_figure_by_keys(line_.part.extra_figures, span.stroke, span.lowest(),
                                       span.highest());
    if (span.element != nullptr) return kOk;
    const PointRecord* begin = span.first->run.points;
    const PointRecord* end = span.last->run.points + span.last->run.count;
    if (begin == nullptr || end <= begin) return kBadArgument;
    auto element = std::make_unique<FigureRecord>();
    element->run.set(span.first->run.points, static_cast<std::int32_t>(end - begin));
    element->line_index = line_index_;
    element->number = span.first->number;
    element->stroke_index = span.stroke;
    element->piece = span.lowest();
    element->piece_key = span.highest();
    element->first_point = span.first->first_point;
    element->whole_stroke = span.lowest() == 0 && !link_follows(span.stroke, span.highest());
    span.element = element.get();
    span.new_element = true;
    owned_elements_.push_back(std::move(element));
    return kOk;
  }

  int test_element(StrokeSpan& span) {
    if (!refusing()) return kOk;
    const ExtremaLine line = extrema_line();
    const PointRun& run = span.element->run;
    int status = kOk;
    if (span.new_element && switches_.pass()) status = test_element_turns(run, span.box, line);
    const int hysteresis = std::max(h_ / 4, std::min(h_ / 2, span.box.height() / 2));
    DynArray<ExtremumList> lists;
    PointRun* runs[] = {&span.element->run};
    if (status == kOk) status = find_run_extrema(runs, hysteresis, lists);
    if (status != kOk) return status;
    if (!lists.empty()) {
      const std::int32_t start = piece_start_selector(*span.element);
      const auto local = [start](std::int32_t loop) {
        return loop < 0 ? loop : loop - std::max<std::int32_t>(start, 0);
      };
      status = test_loop_turns(lists[0].entries.span(), local(span.loops[0]),
                               local(span.loops[1]), line);
    }
    for (const bool bottoms : {true, false}) {
      if (status == kOk && switches_.pass()) status = test_far_extrema(lists, bottoms, line);
    }
    return status;
  }

  int keep_element(StrokeSpan& span) {
    FigureRecord& element = *span.element;
    if (const int status = figure_prepare_glyph(element, true); status != kOk) return status;
    if (!switches_.skip_reference_lines()) take_line_band(element);
    for (auto& owned : owned_elements_) {
      if (owned.get() != &element) continue;
      if (line_.part.extra_figures.push_back_owned(std::move(owned)) != kOk) return kOutOfMemory;
      break;
    }
    span.new_element = false;
    return kOk;
  }

  // The line's upper line and baseline at the element's middle.
  void take_line_band(FigureRecord& element) {
    if (line_.fits[0].is_empty() || line_.fits[2].is_empty()) return;
    const int x = element.geometry.bounding_box().center_x();
    ReferenceBand band;
    band.top = line_.fits[0].y_at(x);
    band.bottom = line_.fits[2].y_at(x);
    element.geometry.set_baseline_pair(band);
  }

  int test_group_as_a_whole() {
    if (spans_.size() < 2 || !refusing() || !switches_.pass()) return kOk;
    DynArray<PointRun*> runs;
    for (StrokeSpan& span : spans_) {
      if (runs.push_back(&span.element->run) != kOk) return kOutOfMemory;
    }
    return test_group_turns(runs.span(), box_, extrema_line());
  }

  // ---- Step: the group read by the kernel.
  int recognize() {
    result_ = std::make_unique<LetterResult>();
    LetterResult& group = *result_;
    for (const StrokeSpan& span : spans_) {
      if (group.figures.push_back(span.element) != kOk) return kOutOfMemory;
    }
    int status = group.members.assign(set_);
    if (status == kOk) status = group.coverage.assign(positions_);
    if (status != kOk) return status;
    const std::int32_t loops = find_outer_loops(group, h_);
    if (loops < 0) return loops;
    group.box = box_;
    group.flags = flags_ | static_cast<std::uint32_t>(loops);
    group.own_line = figures_[0]->own_line;
    // A figure read alone is a single mark at any height: the rules of the
    // marks weigh heights up to and beyond the letter height, and those of
    // the brackets read only single marks.
    group.one_figure_mark = figures_.size() == 1 ? 1 : 0;
    CandidateLists* lists = &local_lists_;
    if (spans_.size() == 1) {
      status = group.geometry->copy(spans_[0].element->geometry);
      lists = &spans_[0].element->candidates;
    } else {
      status = prepare_group_geometry(group);
    }
    // Ink too scant for its features is a set that cannot be read: refused
    // like any other, so that one such figure never ends the recognition.
    if (status == kOk) {
      status = candidate_status_of_features(context_.kernel().recognize_element(group, h_, *lists));
    }
    if (status == kOk) status = group.answers->assign((*lists)[0]);
    if (status == kOk) status = group.composites->assign((*lists)[1]);
    return status;
  }

  int prepare_group_geometry(LetterResult& group) {
    if (const int status = group_prepare_glyph(group, true); status != kOk) return status;
    for (const StrokeSpan& span : spans_) {
      const ReferenceBand& band = span.element->geometry.reference_band();
      if (!band.has_bounds()) continue;
      element_set_baseline_pair(group, band);
      break;
    }
    return kOk;
  }

  // ---- Step: links the read group swallows without holding them.
  int test_swallowed_links() {
    if (!positions_leave_gaps()) return kOk;
    std::uint32_t first = 0;
    std::uint32_t last = 0;
    positions_.lowest_bit(&first);
    positions_.highest_bit(&last);
    for (std::uint32_t p = first + 1; p < last; ++p) {
      if (positions_.test(p)) continue;
      const FigureRecord* skipped =
          find_figure_by_position(line_.candidates, static_cast<std::uint16_t>(p));
      if (skipped == nullptr) return kBadArgument;
      if (!link_flag(*skipped)) continue;
      StrokeRecord* stroke = find_stroke_record_b(context_.strokes(), stroke_number(*skipped));
      if (stroke == nullptr) return kBadArgument;
      if (swallows(points_bounding_box(stroke->run.span()))) return kRejected;
    }
    return kOk;
  }

  bool swallows(const Box16& s) const {
    const Box16 g = box_;
    if (!(g.left < s.left && s.right < g.right && g.top <= s.top && s.bottom <= g.bottom)) {
      return false;
    }
    const PointRecord* first = result_->geometry->extremes[0];
    if (first == nullptr || first->point.y < s.top + s.height() / 2) return false;
    const int overlap = std::min(g.bottom, s.bottom) - std::max(g.top, s.top) + 1;
    return 4 * overlap > 3 * s.height();
  }

  // ---- Step: the result kept in the line and its word group.
  int store(LetterResult** out) {
    std::uint32_t group = kNoWordGroup;
    if (const int status = join_word_groups(&group); status != kOk) return status;
    LetterResult& result = *result_;
    result.figures.remove_all();
    for (FigureRecord* figure : figures_) {
      if (result.figures.push_back(figure) != kOk) return kOutOfMemory;
    }
    result.index = static_cast<std::int32_t>(line_.letter_results.size());
    if (line_.letter_results.push_back_owned(std::move(result_)) != kOk) return kOutOfMemory;
    if (out != nullptr) *out = &result;
    if (group == kNoWordGroup) return kOk;
    return line_group_add_element(line_.word_groups, group, result);
  }

  // The word group the result joins: its first figure's, or a new one for
  // several figures; the other figures' groups merged into it.
  int join_word_groups(std::uint32_t* group) {
    *group = line_group_of(*figures_[0]);
    if (figures_.size() == 1) return kOk;
    if (*group == kNoWordGroup) {
      if (line_.word_groups.push_default() == nullptr) return kOutOfMemory;
      *group = line_.word_groups.size() - 1;
    }
    std::vector<std::uint32_t> others;
    for (const FigureRecord* figure : figures_) {
      const std::uint32_t g = line_group_of(*figure);
      if (g != kNoWordGroup && g != *group &&
          std::find(others.begin(), others.end(), g) == others.end()) {
        others.push_back(g);
      }
    }
    std::sort(others.rbegin(), others.rend());
    const PtrArray<FigureRecord> none;
    for (const std::uint32_t j : others) {
      const int status = line_groups_merge(line_.word_groups, line_.candidates, none, *group, j);
      if (status != kOk) return status;
      if (j < *group) --*group;
    }
    return kOk;
  }

  RecognitionContext& context_;
  TextLine& line_;
  const BitSet& set_;
  const bool composite_;
  const RequestSwitches switches_;
  const bool whole_line_;
  const int h_;
  std::uint16_t line_index_ = kNoKey16;
  DynArray<FigureRecord*> figures_;  // the set's candidates in body order
  DynArray<StrokeSpan> spans_;
  BitSet positions_;
  Box16 box_;
  std::uint32_t flags_ = 0;
  std::vector<std::unique_ptr<FigureRecord>> owned_elements_;
  std::unique_ptr<LetterResult> result_;
  CandidateLists local_lists_;
};

}  // namespace

int evaluate_stroke_group(FragmentState& state, const BitSet& set, bool composite,
                          LetterResult** out) {
  GroupEvaluation evaluation(state, set, composite);
  return evaluation.run(out);
}

}  // namespace inkrec
