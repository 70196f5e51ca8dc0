#include "engine/segmentation/line_letter_search.h"

#include "engine/analysis/bodies_and_links.h"
#include "engine/foundation/status.h"
#include "engine/records/keyed_groups.h"
#include "engine/records/letter_result.h"
#include "engine/records/profile_pair.h"
#include "engine/records/text_line.h"
#include "engine/segmentation/allowed_letters.h"
#include "engine/segmentation/fragment_passes.h"
#include "engine/segmentation/letter_case.h"
#include "engine/segmentation/letter_evaluation.h"
#include "engine/segmentation/line_grouping.h"
#include "engine/segmentation/line_skew.h"
#include "engine/segmentation/line_spacing.h"
#include "engine/segmentation/line_statistics.h"
#include "engine/segmentation/path_text.h"
#include "engine/segmentation/segment_readings.h"
#include "engine/segmentation/word_box_search.h"
#include "engine/segmentation/word_choices.h"
#include "engine/segmentation/pair_measures.h"
#include "engine/segmentation/stroke_intake.h"

namespace inkrec {
namespace {

int append_run_points(const PointRun& run, DynArray<PackedPoint>& out) {
  for (std::int32_t k = 0; k < run.count && run.points != nullptr; ++k) {
    if (out.push_back(run.points[k].point) != kOk) return kOutOfMemory;
  }
  return kOk;
}

int append_figure_points(const PtrArray<FigureRecord>& figures, DynArray<PackedPoint>& out) {
  for (const FigureRecord* figure : figures) {
    if (figure == nullptr) return kBadArgument;
    if (const int status = append_run_points(figure->run, out); status != kOk) return status;
  }
  return kOk;
}

}  // namespace

// The letter search of one text line for one sweep of the line loop.
class LineLetterSearch::LineState final : public LineFragments {
 public:
  LineState(LineLetterSearch& search, RecognitionContext& context, TextLine& line)
      : search_(search), state_(context, line) {}

  int add_candidate(std::uint32_t figure) override {
    FigureRecord* record = search_.work_.bodies.item_checked(figure);
    if (record == nullptr) return kBadArgument;
    return state_.line.add_candidate(record);
  }
  int run_passes(bool first_sweep) override {
    return search_.run_line_passes(state_, first_sweep, fragments_);
  }
  int move_to_output() override { return search_.output_.push_all(fragments_); }
  std::uint32_t count() const override { return fragments_.size(); }

  FragmentGap measure_gap(std::uint32_t k) override {
    FigureGroup* f = fragments_.item_checked(k);
    FigureGroup* g = fragments_.item_checked(k + 1);
    FigureView a;
    FigureView b;
    if (f == nullptr || g == nullptr || a.init_from_element(*f) != kOk ||
        b.init_from_element(*g) != kOk) {
      return {};
    }
    ProfilePairMetrics metrics;
    measure_profile_pair(a, b, metrics);
    return {metrics.least_gap, metrics.mean_gap};
  }
  PackedPoint centroid(std::uint32_t k) const override {
    const FigureGroup* f = fragments_.item_checked(k);
    return f == nullptr || f->geometry == nullptr ? PackedPoint{} : f->geometry->centroid;
  }

 private:
  LineLetterSearch& search_;
  FragmentState state_;
  PtrArray<FigureGroup> fragments_{16, false};
};

int LineLetterSearch::begin_run(RunKernel& kernel) {
  run_.emplace(kernel, work_);
  return kOk;
}

void LineLetterSearch::end_run() { run_.reset(); }

// One stroke record for each of the n strokes, three figures of each kind
// for each stroke, and room for ten lines.
int LineLetterSearch::reset_line_work(std::uint32_t n) {
  clear_output();
  line_records_.remove_all();
  word_boxes_.clear();
  made_groups_.remove_all();
  work_.clear();
  const bool reserved = work_.strokes.reserve(n) && work_.bodies.reserve(3 * n) &&
                        work_.links.reserve(3 * n) && work_.text_lines.reserve(10);
  return reserved ? kOk : kOutOfMemory;
}

void LineLetterSearch::clear_line_work() {
  output_.clear();
  word_output_ = false;
  line_records_.clear();
  word_boxes_ = WordBoxList();
  made_groups_.clear();
  work_ = LineWork();
}

int LineLetterSearch::reserve_figure_pairs(std::uint32_t n) {
  return work_.figure_pairs.reserve(n);
}

int LineLetterSearch::reserve_stroke_pairs(std::uint32_t n) {
  return run_ ? inkrec::reserve_stroke_pairs(*run_, n) : kBadArgument;
}

// The trajectory's points are copied: the stroke record keeps the copy.
int LineLetterSearch::add_stroke_figure(std::uint32_t s, const Trajectory& trajectory,
                                        const ReferenceBand* base_lines) {
  if (!run_ || s != work_.strokes.size()) return kBadArgument;
  return add_figure_to_pane(*run_, trajectory.span(), base_lines == nullptr ? ReferenceBand{} : *base_lines);
}

int LineLetterSearch::estimate_line_slant(bool skew_search) {
  return run_ ? inkrec::estimate_line_slant(*run_, skew_search) : kBadArgument;
}

int LineLetterSearch::figure_runs(DynArray<PointRun*>& out) {
  for (StrokeRecord& stroke : work_.strokes) {
    if (out.push_back(&stroke.run) != kOk) return kOutOfMemory;
  }
  return kOk;
}

int LineLetterSearch::line_group_strokes(DynArray<StrokeRecord*>& out) {
  for (StrokeRecord& stroke : work_.strokes) {
    if (out.push_back(&stroke) != kOk) return kOutOfMemory;
  }
  return kOk;
}

int LineLetterSearch::line_mean_metric() {
  return run_ ? inkrec::line_mean_metric(*run_) : kBadArgument;
}

int LineLetterSearch::split_into_bodies_and_links() {
  return run_ ? inkrec::split_into_bodies_and_links(*run_) : kBadArgument;
}

int LineLetterSearch::apply_baselines_to_figures() {
  return run_ ? inkrec::apply_baselines_to_figures(*run_) : kBadArgument;
}

std::uint16_t LineLetterSearch::figure_line(std::uint32_t i) const {
  const FigureRecord* figure = work_.bodies.item_checked(i);
  return figure == nullptr ? kNoKey16 : figure->line_index;
}

std::int16_t LineLetterSearch::line_slant_angle() const {
  return work_.settings.slant_angle < 1 ? 90 : work_.settings.slant_angle;
}

void LineLetterSearch::release_line_objects() { inkrec::release_line_objects(work_.text_lines); }

int LineLetterSearch::begin_line(std::uint32_t line, std::unique_ptr<LineFragments>* out) {
  if (out == nullptr || !run_ || line >= work_.text_lines.size()) return kBadArgument;
  *out = std::make_unique<LineState>(*this, *run_, work_.text_lines[line]);
  return kOk;
}

// The line's passes leave its chosen reading in the state.
int LineLetterSearch::run_line_passes(FragmentState& state, bool first_sweep,
                                      PtrArray<FigureGroup>& fragments) {
  if (const int status = run_fragment_passes(state, first_sweep); status != kOk) return status;
  return fragments.push_all(state.chosen_results);
}

int LineLetterSearch::empty_line_part_groups() {
  for (TextLine& line : work_.text_lines) {
    for (KeyedLineEntry& entry : line.part.entries) {
      KeyedGroups::clear_array(entry.groups.list.records);
      entry.groups.list.groups.remove_all();
    }
  }
  return kOk;
}

int LineLetterSearch::estimate_spacing() {
  return run_ ? inkrec::estimate_spacing(*run_, output_) : kBadArgument;
}

int LineLetterSearch::estimate_gaps() {
  return run_ ? inkrec::estimate_gaps(*run_, output_) : kBadArgument;
}

// Both answer lists of every candidate with readings, each figure taken
// as a group of its own for the keep rules.
int LineLetterSearch::classify_candidates(const ActiveSpecPairs& rules) {
  for (TextLine& line : work_.text_lines) {
    for (FigureRecord* figure : line.candidates) {
      if (figure == nullptr) return kBadArgument;
      if (figure->candidates[0].answers().empty()) continue;
      FigureGroup group(&figure->candidates[0], &figure->geometry);
      if (group.figures.push_back(figure) != kOk) return kOutOfMemory;
      for (int list = 0; list < 2; ++list) {
        figure->candidates[list].classify(&rules, nullptr, &group, 0);
      }
    }
  }
  return kOk;
}

// The word boxes' letter paths become the line records the delivery
// offers.
int LineLetterSearch::recognize_word_boxes() {
  if (!run_) return kBadArgument;
  RunKernel& kernel = run_->kernel();
  const DynArray<std::uint32_t>& code_index = kernel.code_index();
  const CharClassTables classes(&code_index, kernel.right_to_left());
  WordSearchScope scope(*run_, output_, word_boxes_, code_index, classes, word_source(kernel));
  if (const int status = inkrec::recognize_word_boxes(scope); status != kOk) return status;
  return build_line_records(word_boxes_, line_records_);
}
int LineLetterSearch::check_all_candidates() {
  return run_ ? inkrec::check_all_candidates(*run_, output_) : kBadArgument;
}

// The caller's choices of words go into the boxes first. A step that names
// nothing to apply leaves the output as the letters read it.
int LineLetterSearch::recognize_segments() {
  if (!run_ || word_boxes_.boxes.empty()) return kOk;
  int status = apply_word_choices(line_records_, word_boxes_);
  if (status == kOk) status = inkrec::recognize_segments(*run_, word_boxes_, output_, made_groups_);
  if (status == kNothingToApply) return kOk;
  if (status == kOk) word_output_ = true;
  return status;
}

FigureGroup* LineLetterSearch::entry(std::uint32_t i) const { return output_.item_checked(i); }

AnswerList* LineLetterSearch::entry_answers(std::uint32_t i) const {
  const FigureGroup* group = entry(i);
  return group == nullptr ? nullptr : group->answers;
}

int LineLetterSearch::answer_count(std::uint32_t i, std::uint32_t* count) const {
  const AnswerList* answers = entry_answers(i);
  if (answers == nullptr || count == nullptr) return kBadArgument;
  *count = answers->answers().size();
  return kOk;
}

std::uint16_t LineLetterSearch::first_code(std::uint32_t i) const {
  const AnswerList* answers = entry_answers(i);
  return answers == nullptr ? 0 : answers->best_code();
}

int LineLetterSearch::set_code_choice(std::uint32_t i, std::uint32_t answer, std::uint32_t choice) {
  AnswerList* answers = entry_answers(i);
  return answers == nullptr ? kBadArgument : answers->set_code_choice(answer, choice);
}

int LineLetterSearch::append_output_codes(std::uint32_t i, DynArray<std::uint16_t>& text) {
  const AnswerList* answers = entry_answers(i);
  if (answers == nullptr || answers->answers().empty()) return kBadArgument;
  const Answer& first = answers->answers()[0];
  for (const std::uint16_t code : first.output_codes(first.flag != 0)) {
    if (text.push_back(code) != kOk) return kOutOfMemory;
  }
  return kOk;
}

bool LineLetterSearch::space_after(std::uint32_t i) const {
  const FigureGroup* group = entry(i);
  if (group == nullptr) return false;
  return word_output_ ? group->end_flag != 0 : group->break_after != 0;
}

bool LineLetterSearch::listed_capital(std::uint32_t i) const {
  const FigureGroup* group = entry(i);
  return group != nullptr && word_output_ && group->word_case != 0;
}

namespace {

bool offered(const DynArray<Alternative>& alternatives, std::uint16_t code) {
  for (const Alternative& alternative : alternatives) {
    if (alternative.code == code) return true;
  }
  return false;
}

// The other case form of a reading whose two forms are written alike, as
// the same answer under the other case choice; none for other readings.
Alternative other_case_form(const Answer& reading, std::uint32_t answer) {
  const std::uint16_t lower = reading.codes[1];
  const std::uint16_t upper = reading.codes[2];
  const std::uint16_t other = other_form_written_alike(reading.codes[0], lower, upper);
  const std::uint32_t choice = other == upper ? kCaseChoiceUpper : kCaseChoiceLower;
  return {other, reading.total(), answer, other == 0 ? 0 : choice};
}

}  // namespace

// A letter written alone has no line to tell the case of c, o, s, u, v, w,
// x, z, k, p, y or j by, so the other case form of such a best reading is
// offered right after it.
int LineLetterSearch::alternatives(std::uint32_t i, std::uint32_t limit,
                                   DynArray<Alternative>& out) {
  const AnswerList* answers = entry_answers(i);
  if (answers == nullptr) return kBadArgument;
  for (std::uint32_t a = 0; a < answers->answers().size() && out.size() < limit; ++a) {
    const Answer& answer = answers->answers()[a];
    const Alternative own{answer.codes[0], answer.total(), a, 0};
    const Alternative other = a == 0 ? other_case_form(answer, a) : Alternative{};
    for (const Alternative& alternative : {own, other}) {
      if (alternative.code == 0 || offered(out, alternative.code) || out.size() >= limit) continue;
      if (out.push_back(alternative) != kOk) return kOutOfMemory;
    }
  }
  return kOk;
}

// The chosen answer takes the perfect score, so that it ranks first, and
// every answer forgets its case choice but the chosen one its own.
int LineLetterSearch::promote_alternative(std::uint32_t i, std::uint32_t answer,
                                          std::uint32_t choice) {
  AnswerList* answers = entry_answers(i);
  if (answers == nullptr || answer >= answers->answers().size()) return kBadArgument;
  const Answer& chosen = answers->answers()[answer];
  const std::int32_t raise = Answer::kPerfectScore - chosen.total();
  if (const int status = answers->reinsert_penalized(answer, raise, chosen.rule_word);
      status != kOk) {
    return status;
  }
  for (Answer& a : answers->answers()) a.code_choice = 0;
  return choice == 0 ? kOk : answers->set_code_choice(0, choice);
}

int LineLetterSearch::collect_output_points(std::uint32_t i, DynArray<PackedPoint>& out) {
  const FigureGroup* group = entry(i);
  if (group == nullptr) return kBadArgument;
  return append_figure_points(group->figures, out);
}

int LineLetterSearch::collect_path_characters(const WordHypothesis& hypothesis,
                                               DynArray<std::uint16_t>& out) {
  if (!run_ || hypothesis.path == nullptr) return kBadArgument;
  return inkrec::collect_path_characters(hypothesis.path->steps.span(),
                                         *run_->kernel().data_store(), false, out);
}

// The output groups from the word's first place to the one before its end
// (the line record's end for the last word), each read by its first
// answer.
int LineLetterSearch::collect_element_variants(const LineRecord& line, const WordEntry& word,
                                               DynArray<CaseCodes>& out) {
  const WordPosition* start = line.positions.item_checked(word.start);
  if (start == nullptr) return kBadArgument;
  LineSpan span{start->line, start->figure, line.end_line, line.end_figure};
  if (word.end >= 0) {
    const WordPosition* end = line.positions.item_checked(static_cast<std::uint32_t>(word.end));
    if (end == nullptr) return kBadArgument;
    span.last_line = end->line;
    span.last_position = std::int32_t{end->figure} - 1;
    if (end->figure == 0) {
      const TextLine* before = work_.text_lines.item_checked(end->line - 1u);
      if (before == nullptr) return kBadArgument;
      span.last_line = end->line - 1;
      span.last_position = static_cast<std::int32_t>(before->candidates.size()) - 1;
    }
  }
  PtrArray<FigureGroup> groups{16, false};
  if (const int status = inkrec::collect_element_variants(output_, span, groups); status != kOk) {
    return status;
  }
  for (const FigureGroup* group : groups) {
    if (!group->has_answers()) continue;
    const Answer& first = group->answers->answers()[0];
    if (out.push_back({{first.codes[0], first.codes[1], first.codes[2]}}) != kOk) {
      return kOutOfMemory;
    }
  }
  return kOk;
}

// The candidates of the lines from `first` to `last`, both included.
int LineLetterSearch::collect_figure_points(FigurePlace first, FigurePlace last,
                                            DynArray<PackedPoint>& out) {
  for (std::uint32_t l = first.line; l <= last.line; ++l) {
    const TextLine* line = work_.text_lines.item_checked(l);
    if (line == nullptr) return kBadArgument;
    const PtrArray<FigureRecord>& figures = line->candidates;
    const std::int32_t from = l == first.line ? first.figure : 0;
    const std::int32_t to = l == last.line ? last.figure : std::int32_t(figures.size()) - 1;
    for (std::int32_t f = from; f <= to; ++f) {
      const FigureRecord* figure = figures.item_checked(static_cast<std::uint32_t>(f));
      if (figure == nullptr) return kBadArgument;
      if (const int status = append_run_points(figure->run, out); status != kOk) return status;
    }
  }
  return kOk;
}

const FigureRecord* LineLetterSearch::line_candidate(std::uint32_t line, std::uint32_t i) const {
  const TextLine* text_line = work_.text_lines.item_checked(line);
  return text_line == nullptr ? nullptr : text_line->candidates.item_checked(i);
}

const StrokeRecord* LineLetterSearch::stroke_record(std::uint32_t s) const {
  return work_.strokes.item_checked(s);
}

int LineLetterSearch::recognize_figure_group(FigureGroup& group, CandidateLists& out) {
  if (!run_) return kBadArgument;
  std::uint32_t skipped = 0;
  const int status = inkrec::recognize_figure_group(*run_, group, out, &skipped);
  work_.skipped_candidates += skipped;
  return status;
}

// The prefix is the codes read so far followed by the weight of the last
// step.
int LineLetterSearch::allowed_letters_for_prefix(RunKernel& kernel,
                                                 const DynArray<std::uint16_t>& prefix,
                                                 CharSlotMap& letters,
                                                 const CharClassTables& tables) {
  const WordSource words = word_source(kernel);
  const std::span<const std::uint16_t> codes = prefix.span();
  if (codes.empty()) return inkrec::allowed_letters_for_prefix(words, codes, 0, letters, tables);
  return inkrec::allowed_letters_for_prefix(words, codes.first(codes.size() - 1), codes.back(),
                                            letters, tables);
}

}  // namespace inkrec
