#include "engine/segmentation/empty_letter_search.h"

#include "engine/analysis/bodies_and_links.h"
#include "engine/foundation/status.h"

namespace inkrec {

int EmptyLetterSearch::begin_run(RunKernel& kernel) {
  run_.emplace(kernel, work_);
  return kOk;
}
void EmptyLetterSearch::end_run() { run_.reset(); }
int EmptyLetterSearch::reset_line_work(std::uint32_t) {
  work_.clear();
  return kOk;
}
void EmptyLetterSearch::clear_line_work() { work_ = LineWork(); }

int EmptyLetterSearch::reserve_figure_pairs(std::uint32_t) { return kOk; }
int EmptyLetterSearch::add_stroke_figure(std::uint32_t, const Trajectory&, const StrokeBaseLines*) {
  return kOk;
}
int EmptyLetterSearch::estimate_line_slant(bool) { return kOk; }
int EmptyLetterSearch::figure_runs(DynArray<PointRun*>&) { return kOk; }

int EmptyLetterSearch::line_group_strokes(DynArray<StrokeRecord*>&) { return kOk; }
std::int32_t EmptyLetterSearch::line_height() const { return 0; }
int EmptyLetterSearch::line_mean_metric() { return kOk; }
int EmptyLetterSearch::split_into_bodies_and_links() {
  return run_ ? inkrec::split_into_bodies_and_links(*run_) : kBadArgument;
}
int EmptyLetterSearch::apply_baselines_to_figures() { return kOk; }
std::uint32_t EmptyLetterSearch::figure_count() const { return 0; }
std::uint16_t EmptyLetterSearch::figure_line(std::uint32_t) const { return 0xFFFF; }
std::uint32_t EmptyLetterSearch::text_line_count() const { return 0; }
std::int16_t EmptyLetterSearch::line_slant_angle() const { return 90; }
void EmptyLetterSearch::set_mean_gap(std::int32_t) {}

void EmptyLetterSearch::release_line_objects() {}
int EmptyLetterSearch::begin_line(std::uint32_t, std::unique_ptr<LineFragments>*) {
  return kBadArgument;
}
int EmptyLetterSearch::empty_line_part_groups() { return kOk; }
int EmptyLetterSearch::estimate_spacing() { return kOk; }
int EmptyLetterSearch::estimate_gaps() { return kOk; }
int EmptyLetterSearch::classify_candidates(const ActiveSpecPairs&) { return kOk; }
int EmptyLetterSearch::recognize_word_boxes() { return kOk; }
int EmptyLetterSearch::check_all_candidates() { return kOk; }
int EmptyLetterSearch::recognize_segments() { return kOk; }

void* EmptyLetterSearch::fig_out_list() { return nullptr; }
std::uint32_t EmptyLetterSearch::output_count() const { return 0; }
void EmptyLetterSearch::clear_output() {}
int EmptyLetterSearch::remove_output(std::uint32_t) { return kBadArgument; }
int EmptyLetterSearch::answer_count(std::uint32_t, std::uint32_t*) const { return kBadArgument; }
std::uint16_t EmptyLetterSearch::first_code(std::uint32_t) const { return 0; }
int EmptyLetterSearch::set_code_choice(std::uint32_t, std::uint32_t, std::uint32_t) {
  return kBadArgument;
}
int EmptyLetterSearch::append_output_codes(std::uint32_t, DynArray<std::uint16_t>&) {
  return kBadArgument;
}
bool EmptyLetterSearch::space_after(std::uint32_t) const { return false; }
int EmptyLetterSearch::alternatives(std::uint32_t, std::uint32_t, DynArray<Alternative>&) {
  return kBadArgument;
}
int EmptyLetterSearch::promote_alternative(std::uint32_t, std::uint32_t) { return kBadArgument; }
int EmptyLetterSearch::collect_output_points(std::uint32_t, DynArray<PackedPoint>&) {
  return kBadArgument;
}

int EmptyLetterSearch::collect_path_characters(const WordHypothesis&, DynArray<std::uint16_t>&) {
  return kOk;
}
int EmptyLetterSearch::collect_element_variants(const LineRecord&, const WordEntry&,
                                                DynArray<CaseCodes>&) {
  return kOk;
}
int EmptyLetterSearch::collect_figure_points(FigurePlace, FigurePlace, DynArray<PackedPoint>&) {
  return kOk;
}

const FigureRecord* EmptyLetterSearch::line_candidate(std::uint32_t, std::uint32_t) const {
  return nullptr;
}
const StrokeRecord* EmptyLetterSearch::stroke_record(std::uint32_t) const { return nullptr; }

int EmptyLetterSearch::recognize_figure_group(RunKernel&, int, int, LineGroup&, AnswerList&) {
  return kOk;
}
int EmptyLetterSearch::allowed_letters_for_prefix(RunKernel&, const DynArray<std::uint16_t>&,
                                                  CharSlotMap&, const CharClassTables&) {
  return kOk;
}

}  // namespace inkrec
