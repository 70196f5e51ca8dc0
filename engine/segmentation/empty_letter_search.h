// EmptyLetterSearch: the letter search a kernel uses until the segmentation
// is built. It adds no stroke records and builds no text lines, so the
// bodies-and-links split (run over its line work) finds no ink, the line
// loop finds no candidates, the word search has no words and every
// recognition delivers an empty text. Each stage succeeds doing nothing; an
// operation on an entry of the (always empty) output list answers -2, and
// the split outside a run answers -2.
#pragma once

#include <optional>

#include "engine/records/recognition_context.h"
#include "engine/segmentation/letter_search.h"
#include "engine/segmentation/line_records.h"

namespace inkrec {

class EmptyLetterSearch final : public LetterSearch {
 public:
  int begin_run(RunKernel& kernel) override;
  void end_run() override;
  int reset_line_work(std::uint32_t n) override;
  void clear_line_work() override;

  int reserve_figure_pairs(std::uint32_t n) override;
  int add_stroke_figure(std::uint32_t s, const Trajectory& trajectory,
                        const StrokeBaseLines* base_lines) override;
  int estimate_line_slant(bool skew_search) override;
  int figure_runs(DynArray<PointRun*>& out) override;

  int line_group_strokes(DynArray<StrokeRecord*>& out) override;
  std::int32_t line_height() const override;
  int line_mean_metric() override;
  int split_into_bodies_and_links() override;
  int apply_baselines_to_figures() override;
  std::uint32_t figure_count() const override;
  std::uint16_t figure_line(std::uint32_t i) const override;
  std::uint32_t text_line_count() const override;
  std::int16_t line_slant_angle() const override;
  void set_mean_gap(std::int32_t gap) override;

  void release_line_objects() override;
  int begin_line(std::uint32_t line, std::unique_ptr<LineFragments>* out) override;
  int empty_line_part_groups() override;
  int estimate_spacing() override;
  int estimate_gaps() override;
  int classify_candidates(const ActiveSpecPairs& rules) override;
  int recognize_word_boxes() override;
  int check_all_candidates() override;
  int recognize_segments() override;

  void* fig_out_list() override;
  std::uint32_t output_count() const override;
  void clear_output() override;
  int remove_output(std::uint32_t i) override;
  int answer_count(std::uint32_t i, std::uint32_t* count) const override;
  std::uint16_t first_code(std::uint32_t i) const override;
  int set_code_choice(std::uint32_t i, std::uint32_t answer, std::uint32_t choice) override;
  int append_output_codes(std::uint32_t i, DynArray<std::uint16_t>& text) override;
  bool space_after(std::uint32_t i) const override;
  int alternatives(std::uint32_t i, std::uint32_t limit, DynArray<Alternative>& out) override;
  int promote_alternative(std::uint32_t i, std::uint32_t answer) override;
  int collect_output_points(std::uint32_t i, DynArray<PackedPoint>& out) override;

  PtrArray<LineRecord>& line_records() override { return line_records_; }
  int collect_path_characters(const WordHypothesis& hypothesis,
                              DynArray<std::uint16_t>& out) override;
  int collect_element_variants(const LineRecord& line, const WordEntry& word,
                               DynArray<CaseCodes>& out) override;
  int collect_figure_points(FigurePlace first, FigurePlace last,
                            DynArray<PackedPoint>& out) override;

  const FigureRecord* line_candidate(std::uint32_t line, std::uint32_t i) const override;
  const StrokeRecord* stroke_record(std::uint32_t s) const override;

  int recognize_figure_group(RunKernel& kernel, int first, int last, LineGroup& line_group,
                             AnswerList& out) override;
  int allowed_letters_for_prefix(RunKernel& kernel, const DynArray<std::uint16_t>& prefix,
                                 CharSlotMap& letters, const CharClassTables& tables) override;

 private:
  LineWork work_;
  std::optional<RecognitionContext> run_;       // between begin_run and end_run
  PtrArray<LineRecord> line_records_{0, true};  // always empty
};

}  // namespace inkrec
