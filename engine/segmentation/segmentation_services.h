// The operations of segmentation and letter search that the kernel, the
// recognition driver, the answer records and the bodies-and-links splitter
// call, with what those callers rely on: order of calls, status codes and
// the lists filled. The segmentation code defines them.
#pragma once

#include <cstdint>

#include "engine/foundation/dyn_array.h"
#include "engine/foundation/ptr_array.h"
#include "engine/segmentation/recognition_context.h"

namespace inkrec {

class AnswerList;
class CharClassTables;
class CharSlotMap;
class FigureGroup;
struct LineInfo;
struct LineRecord;
struct StrokeBaseLines;
struct WordEntry;
struct WordHypothesis;

// A group of lines with its line information (line height among its
// fields) and the strokes it holds.
class LineGroup {
 public:
  const LineInfo& line_info() const;
  DynArray<StrokeRecord>& word1();
};

// The fragment work state of one TextLine: records the context and the
// line, holds an empty non-owning list of fragments (capacity 16) and
// counters at 0. After run_fragment_passes the list holds the line's
// fragments in line order; destroying the state frees the list's storage
// only.
class FragmentState {
 public:
  FragmentState(RecognitionContext& context, TextLine& text_line);
  ~FragmentState();
  FragmentState(const FragmentState&) = delete;
  FragmentState& operator=(const FragmentState&) = delete;

  PtrArray<FigureGroup>& fragments();
};

// Reserves the triangular figure-pair table for n figures ((n - 1) * n / 2
// entries); non-zero ends the line pass.
int reserve_figure_pairs(RecognitionContext& context, std::uint32_t n);

// Adds a one-stroke figure to the pane and numbers it; with the request's
// caller base lines on, attaches the stroke's base lines (a value above
// 65534 gives 4035). -1 when the figure record is not found, 5004 when the
// pane record cannot be created, else 0.
int add_figure_to_pane(RecognitionContext& context, FigureRecord& figure,
                       const StrokeBaseLines* base_lines);

// Estimates the slant of the writing from its near-vertical strokes (70 to
// 110 degrees); non-zero ends the line pass.
int estimate_line_slant(RecognitionContext& context, bool skew_search);

// The mean of a 16-bit metric over the figures of the line record; -2 on a
// broken index.
int line_mean_metric(RecognitionContext& context);

// Applies the line's base lines to all figures and builds the per-pair
// records.
int apply_baselines_to_figures(RecognitionContext& context);

// Appends the figure to the candidate array of the state's TextLine: 0, or
// -1 when the array cannot grow.
int add_candidate(FragmentState& state, FigureRecord& figure);

// The letter search of one line: 4034 when the kernel's stop flag is set
// (tested first, between passes and after the last); 0 at once for a line
// without candidates. The first sweep runs the line's preparatory passes
// first; the list of fragments is filled last. The first non-zero status
// of a pass is returned at once.
int run_fragment_passes(FragmentState& state, bool first_sweep);

// The spacing pass and the gap estimation run after the line loop while
// the stop flag is clear; non-zero ends the recognition.
int estimate_spacing(RecognitionContext& context);
int estimate_gaps(RecognitionContext& context);

// The dictionary word search over the boxes of each TextLine (the caller
// holds the engine lock around it).
int recognize_word_boxes(RecognitionContext& context);
// The candidate check over the two candidate lists of every line.
int check_all_candidates(RecognitionContext& context);
// The recognition pass over the segments; fills the answer lists.
int recognize_segments(RecognitionContext& context);

// Appends the character codes along the path of one word hypothesis;
// non-zero ends the delivery.
int collect_path_characters(const WordHypothesis& hypothesis, DynArray<std::uint16_t>& out,
                            Kernel& kernel);

// Collects the figure entries whose text matches a word of a line record
// that has no hypotheses.
int collect_element_variants(const LineRecord& line, const WordEntry& word,
                             PtrArray<FigureRecord>& out);

// Classifies one stroke group after the kernel computed its features and
// fills the group's answer list: 4034 when the stop flag is seen, 4007 when
// no CharSet is active, other statuses unchanged.
int recognize_figure_group(Kernel& kernel, int first, int last, LineGroup& line_group,
                           AnswerList& out);

// Evaluates a stroke group as a letter once and caches the result per group.
int evaluate_stroke_group(Kernel& kernel, FigureGroup& group);

// The recursive pair merging of the letter search. Once the kernel's quick
// flag is set and more than two results are held they stop with 0 and what
// they have; a set stop flag gives 4034.
int search_segmentation(RecognitionContext& context, LineGroup& line_group);
int merge_candidate_pairs(RecognitionContext& context, LineGroup& line_group);

// Fills `letters` with the state of every letter that may follow the
// prefix (255 = none): the text so far followed by a mode word. Merges the
// class tables with what the word lists of the active charsets allow;
// `tables` carries the kernel's right-to-left flag.
int allowed_letters_for_prefix(Kernel& kernel, const DynArray<std::uint16_t>& prefix,
                               CharSlotMap& letters, const CharClassTables& tables);

}  // namespace inkrec
