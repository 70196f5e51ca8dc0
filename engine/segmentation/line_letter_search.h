// LineLetterSearch: the kernel's letter search over the text lines of its
// line work.
//
// It keeps the line work of the kernel's last recognition (stroke records,
// bodies and links, text lines with their candidates, word groups and
// letter results, the pair tables, the line records of the word search)
// and the figure output, and hands the driver each stage of a recognition.
//
// Ownership: a letter result belongs to the TextLine whose letter search
// made it (TextLine::letter_results). The word groups' covers and
// alternatives, the fragment list of a line and the figure output only
// point at results, so the second sweep of the line loop works on the
// results of the first: release_line_objects empties the covers and
// alternatives and nothing else, clear_output forgets the output's
// entries, and the results go when the line work is reset or freed.
//
// The line intake and analysis are real: every stroke becomes a stroke
// record over the run's own copy of its points, and estimate_line_slant
// groups the strokes into text lines (line_grouping.h) and straightens
// them. Each line's letter search is fragment_passes.h: its figures
// evaluated as letters, the cover of its word groups, its reference lines
// and heights; the output gets its spacing, word and line breaks and
// letter case; the letter evaluation of a group is letter_evaluation.h,
// and the letters allowed after a prefix come from allowed_letters.h. The
// word search over word boxes (word_box_search.h) fills the line records
// the result delivery offers, and the chosen readings then replace the
// figure output (segment_readings.h); from then on a space follows each
// output group that ends a word.
#pragma once

#include <optional>

#include "engine/records/figure_group.h"
#include "engine/records/fragment_state.h"
#include "engine/records/recognition_context.h"
#include "engine/segmentation/letter_search.h"
#include "engine/segmentation/line_records.h"
#include "engine/segmentation/word_boxes.h"

namespace inkrec {

class LineLetterSearch : public LetterSearch {
 public:
  int begin_run(RunKernel& kernel) override;
  void end_run() override;
  int reset_line_work(std::uint32_t n) override;
  void clear_line_work() override;

  int reserve_stroke_pairs(std::uint32_t n) override;
  int reserve_figure_pairs(std::uint32_t n) override;
  int add_stroke_figure(std::uint32_t s, const Trajectory& trajectory,
                        const ReferenceBand* base_lines) override;
  int estimate_line_slant(bool skew_search) override;
  int figure_runs(DynArray<PointRun*>& out) override;
  std::int32_t skew_correction() const override { return work_.skew_correction; }
  void add_skew_correction(std::int32_t degrees) override { work_.skew_correction += degrees; }

  int line_group_strokes(DynArray<StrokeRecord*>& out) override;
  std::int32_t line_height() const override { return work_.settings.letter_height; }
  int line_mean_metric() override;
  int split_into_bodies_and_links() override;
  int apply_baselines_to_figures() override;
  std::uint32_t figure_count() const override { return work_.bodies.size(); }
  std::uint16_t figure_line(std::uint32_t i) const override;
  std::uint32_t text_line_count() const override { return work_.text_lines.size(); }
  std::int16_t line_slant_angle() const override;
  void set_mean_gap(std::int32_t gap) override { work_.mean_gap = gap; }

  void release_line_objects() override;
  int begin_line(std::uint32_t line, std::unique_ptr<LineFragments>* out) override;
  int empty_line_part_groups() override;
  int estimate_spacing() override;
  int estimate_gaps() override;
  int classify_candidates(const ActiveSpecPairs& rules) override;
  int recognize_word_boxes() override;
  int check_all_candidates() override;
  int recognize_segments() override;

  void* fig_out_list() override { return &output_; }
  std::uint32_t output_count() const override { return output_.size(); }
  void clear_output() override {
    output_.remove_all();
    word_output_ = false;
  }
  int remove_output(std::uint32_t i) override { return output_.remove_at(i); }
  int answer_count(std::uint32_t i, std::uint32_t* count) const override;
  std::uint16_t first_code(std::uint32_t i) const override;
  int set_code_choice(std::uint32_t i, std::uint32_t answer, std::uint32_t choice) override;
  int append_output_codes(std::uint32_t i, DynArray<std::uint16_t>& text) override;
  bool space_after(std::uint32_t i) const override;
  bool listed_capital(std::uint32_t i) const override;
  int alternatives(std::uint32_t i, std::uint32_t limit, DynArray<Alternative>& out) override;
  int promote_alternative(std::uint32_t i, std::uint32_t answer, std::uint32_t choice) override;
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

  // The letter evaluation of the group on the running recognition's line
  // work (kBadArgument outside a run); the candidates it passes over for a
  // missing shape or etalon add to the work's count.
  int recognize_figure_group(FigureGroup& group, CandidateLists& out) override;
  int allowed_letters_for_prefix(RunKernel& kernel, const DynArray<std::uint16_t>& prefix,
                                 CharSlotMap& letters, const CharClassTables& tables) override;

  // The line work of the last run.
  LineWork& work() { return work_; }
  // The word boxes of the last run's word search.
  const WordBoxList& word_boxes() const { return word_boxes_; }
  // The figure output: the results of every line in reading order, not
  // owned.
  const PtrArray<FigureGroup>& output() const { return output_; }

 protected:
  // The letter search of the state's line in one sweep
  // (run_fragment_passes), leaving the results of the line's chosen
  // reading in `fragments` in writing order (not owned). 0 at once for a
  // line without candidates.
  virtual int run_line_passes(FragmentState& state, bool first_sweep,
                              PtrArray<FigureGroup>& fragments);

 private:
  class LineState;

  // Entry i of the output with its readings; null when there is none.
  FigureGroup* entry(std::uint32_t i) const;
  AnswerList* entry_answers(std::uint32_t i) const;

  LineWork work_;
  std::optional<RecognitionContext> run_;  // between begin_run and end_run
  PtrArray<FigureGroup> output_{16, false};
  PtrArray<LineRecord> line_records_{16, true};
  WordBoxList word_boxes_;
  // The groups made for codes a word carries itself (a text the caller
  // returned for it); the output points at them.
  PtrArray<LetterResult> made_groups_{16, true};
  // The output holds the word search's readings: a group's end flag is the
  // space after it.
  bool word_output_ = false;
};

}  // namespace inkrec
