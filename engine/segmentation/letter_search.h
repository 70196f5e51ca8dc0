// LetterSearch: the segmentation and letter search as a kernel's
// recognition driver calls it.
//
// A kernel holds one. It keeps the work of the kernel's last recognition
// that the segmentation builds and reads (the stroke records with their
// trajectory points, the figures, the text lines with their candidates, the
// figure-pair table, the fragments collected for output, the line records)
// and gives the driver each stage of a recognition as one operation, so the
// driver decides only the order, the stop checks and what it does with the
// results. Every operation returns 0 or the failing stage's status unless
// it says otherwise; -2 means a broken index or a null entry in a list.
//
// A recognition or line request runs between begin_run and end_run (the
// recognition context of that call); the lists stay until the next
// reset_line_work or clear_line_work. Only the thread running the kernel
// calls it. The letter results belong to the text lines that made them;
// the fragment lists of the lines and the output list only point at them.
// LineLetterSearch is the kernel's own.
#pragma once

#include <cstdint>
#include <memory>

#include "engine/analysis/trajectory.h"
#include "engine/foundation/dyn_array.h"
#include "engine/foundation/point.h"
#include "engine/foundation/ptr_array.h"
#include "engine/records/figure_records.h"
#include "engine/records/point_run.h"

namespace inkrec {

class AnswerList;
class CharClassTables;
class CharSlotMap;
class FigureGroup;
class RunKernel;
struct FigureRecord;
struct ActiveSpecPairs;
struct LineRecord;
struct ReferenceBand;
struct StrokeRecord;
struct WordEntry;
struct WordHypothesis;

// The gaps between two neighbouring fragments of a line: the least gap and
// the mean gap over the rows they share, 32767 when not measured.
struct FragmentGap {
  std::int32_t least = 32767;
  std::int32_t mean = 32767;
};

// A reading of an output fragment offered to the caller: its code, its
// total score, its place in the fragment's answer list and the case choice
// that gives the code (0: the answer as it reads).
struct Alternative {
  std::uint16_t code = 0;
  std::int32_t score = 0;
  std::uint32_t answer = 0;
  std::uint32_t choice = 0;
};

// The codes of a reading under the three case choices: as read, for choice
// 2 and for choice 1.
struct CaseCodes {
  std::uint16_t codes[3] = {};
};

// A figure of the text lines: figure `figure` of the candidates of TextLine
// `line`.
struct FigurePlace {
  std::uint16_t line = 0;
  std::int32_t figure = 0;
};

// The letter search of one TextLine (its fragment state): the line's
// candidates, its passes and the fragments they leave, in line order.
class LineFragments {
 public:
  virtual ~LineFragments() = default;

  // Adds figure `figure` of the figure list to the line's candidates.
  virtual int add_candidate(std::uint32_t figure) = 0;
  // The letter search over the line; the first sweep runs the line's
  // preparatory passes first. 4034 when the kernel's stop flag is set.
  virtual int run_passes(bool first_sweep) = 0;
  // Appends the line's fragments, in order, to the output list (which
  // does not own them).
  virtual int move_to_output() = 0;
  virtual std::uint32_t count() const = 0;
  // The gaps between fragment k and fragment k + 1.
  virtual FragmentGap measure_gap(std::uint32_t k) = 0;
  // The centroid of fragment k's glyph geometry.
  virtual PackedPoint centroid(std::uint32_t k) const = 0;
};

class LetterSearch {
 public:
  virtual ~LetterSearch() = default;

  // ---- One call and the kernel's work lists.
  virtual int begin_run(RunKernel& kernel) = 0;
  virtual void end_run() = 0;
  // Empties the work lists and sizes them for n strokes.
  virtual int reset_line_work(std::uint32_t n) = 0;
  // Frees the work lists.
  virtual void clear_line_work() = 0;

  // ---- The line pass.
  // Empties the triangular stroke-pair table and makes room for n strokes
  // (the line pass, before the strokes are added).
  virtual int reserve_stroke_pairs(std::uint32_t n) = 0;
  // Empties the triangular figure-pair table and makes room for n figures
  // (after the split into bodies and links).
  virtual int reserve_figure_pairs(std::uint32_t n) = 0;
  // Adds the trajectory of stroke s (the line pass frees it when it ends) as
  // that stroke's figure, with its base lines when the caller gives them
  // (null otherwise).
  virtual int add_stroke_figure(std::uint32_t s, const Trajectory& trajectory,
                                const ReferenceBand* base_lines) = 0;
  // Groups the strokes into text lines and, with `skew_search`, straightens
  // the lines' slope.
  virtual int estimate_line_slant(bool skew_search) = 0;
  // The runs of point records the figures hold.
  virtual int figure_runs(DynArray<PointRun*>& out) = 0;
  // Degrees the run's ink was turned by, every correction together; the
  // result boxes are turned back by it. 0 when a run's work is reset.
  virtual std::int32_t skew_correction() const = 0;
  virtual void add_skew_correction(std::int32_t degrees) = 0;

  // ---- Reading order, figures and lines.
  // The stroke records of the line group, in their order.
  virtual int line_group_strokes(DynArray<StrokeRecord*>& out) = 0;
  virtual std::int32_t line_height() const = 0;
  virtual int line_mean_metric() = 0;
  // Splits cursive ink into bodies and links (one body per stroke without
  // the request's cursive_split).
  virtual int split_into_bodies_and_links() = 0;
  virtual int apply_baselines_to_figures() = 0;
  virtual std::uint32_t figure_count() const = 0;
  // The TextLine of figure i; 0xFFFF for none.
  virtual std::uint16_t figure_line(std::uint32_t i) const = 0;
  virtual std::uint32_t text_line_count() const = 0;
  // The slant of the line information, whole degrees, 90 for upright.
  virtual std::int16_t line_slant_angle() const = 0;
  virtual void set_mean_gap(std::int32_t gap) = 0;

  // ---- The line loop and the stages after it.
  // Empties the covers and alternatives of every TextLine's word groups;
  // the letter results stay.
  virtual void release_line_objects() = 0;
  // The fragment state of TextLine `line`: -2 when there is no such line.
  virtual int begin_line(std::uint32_t line, std::unique_ptr<LineFragments>* out) = 0;
  // Empties the group list of every entry of every line's line part.
  virtual int empty_line_part_groups() = 0;
  virtual int estimate_spacing() = 0;
  virtual int estimate_gaps() = 0;
  // Classifies both answer lists of every candidate of every TextLine
  // against the kernel's special-pair selections.
  virtual int classify_candidates(const ActiveSpecPairs& rules) = 0;
  // The dictionary word search (the driver holds the engine lock).
  virtual int recognize_word_boxes() = 0;
  virtual int check_all_candidates() = 0;
  virtual int recognize_segments() = 0;

  // ---- The output list (FigOutList): the fragments of all lines.
  // Its address as the kernel hands it out; null while there is none.
  virtual void* fig_out_list() = 0;
  virtual std::uint32_t output_count() const = 0;
  // Empties the list; its fragments stay with their lines.
  virtual void clear_output() = 0;
  virtual int remove_output(std::uint32_t i) = 0;
  // The number of answers of entry i.
  virtual int answer_count(std::uint32_t i, std::uint32_t* count) const = 0;
  // The first code of entry i's first answer; 0 without answers.
  virtual std::uint16_t first_code(std::uint32_t i) const = 0;
  // Sets the case choice (0, 1 or 2) of an answer of entry i.
  virtual int set_code_choice(std::uint32_t i, std::uint32_t answer, std::uint32_t choice) = 0;
  // Appends the output codes of entry i's first answer.
  virtual int append_output_codes(std::uint32_t i, DynArray<std::uint16_t>& text) = 0;
  // Whether a space follows entry i.
  virtual bool space_after(std::uint32_t i) const = 0;
  // Whether entry i reads a capital that the word list gives its word
  // (the text keeps it inside a word); none unless overridden.
  virtual bool listed_capital(std::uint32_t /*i*/) const { return false; }
  // Up to `limit` readings of entry i, best first, each code once.
  virtual int alternatives(std::uint32_t i, std::uint32_t limit, DynArray<Alternative>& out) = 0;
  // Makes the answer first in entry i's list (re-ranked), resets every
  // answer to its own codes and gives the first the case choice (0: none).
  virtual int promote_alternative(std::uint32_t i, std::uint32_t answer, std::uint32_t choice) = 0;
  // Appends the points of entry i's ink.
  virtual int collect_output_points(std::uint32_t i, DynArray<PackedPoint>& out) = 0;

  // ---- The line records of the word search.
  virtual PtrArray<LineRecord>& line_records() = 0;
  // Appends the codes along the path of a hypothesis.
  virtual int collect_path_characters(const WordHypothesis& hypothesis,
                                      DynArray<std::uint16_t>& out) = 0;
  // The codes of the first readings of the figures of a word without
  // hypotheses, in order.
  virtual int collect_element_variants(const LineRecord& line, const WordEntry& word,
                                       DynArray<CaseCodes>& out) = 0;
  // Appends the points of the figures from `first` to `last` over the text
  // lines, both included.
  virtual int collect_figure_points(FigurePlace first, FigurePlace last,
                                    DynArray<PackedPoint>& out) = 0;

  // ---- What training reads of the last recognition's work lists.
  // Candidate i of TextLine `line` (the figures the line loop added to it,
  // in order); null when there is none.
  virtual const FigureRecord* line_candidate(std::uint32_t line, std::uint32_t i) const = 0;
  // The stroke record of stroke s, whose run holds the stroke's trajectory
  // points; null when there is none.
  virtual const StrokeRecord* stroke_record(std::uint32_t s) const = 0;

  // ---- Services the letter search gives the kernel.
  // Evaluates a stroke group of the running recognition, whose features
  // the kernel computed, against the kernel's candidate variants into the
  // four candidate lists: 4034 when the stop flag is seen, 4007 when no
  // CharSet is active.
  virtual int recognize_figure_group(FigureGroup& group, CandidateLists& out) = 0;
  // Marks in `letters` every letter that may follow the prefix (the codes
  // so far and a mode word), from the class tables and the word lists.
  virtual int allowed_letters_for_prefix(RunKernel& kernel, const DynArray<std::uint16_t>& prefix,
                                         CharSlotMap& letters, const CharClassTables& tables) = 0;
};

}  // namespace inkrec
