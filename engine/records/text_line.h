// TextLine: one line of writing as the line pass finds it: three line fits
// through points of the line, its box, the sorted indices of its strokes,
// its id, the line part that holds the line's figures for the letter
// search, and the letter search's work on the line: its candidate figures,
// the letter results made for them and its word groups. TextLineList: the
// lines of a recognition with the skew correction applied to them.
//
// What each of the three fits holds is the line pass's choice; the
// bodies-and-links rules read the first. A line owns its letter results;
// its candidates belong to the line work's figures, and its word groups
// only point at figures and results. Lines are moved freely; copies go
// through assign(), which reports running out of memory.
#pragma once

#include <cstdint>

#include "engine/foundation/box16.h"
#include "engine/foundation/dyn_array.h"
#include "engine/foundation/ptr_array.h"
#include "engine/records/figure_records.h"
#include "engine/records/keyed_groups.h"
#include "engine/records/letter_result.h"
#include "engine/records/line_fit.h"
#include "engine/records/line_group.h"

namespace inkrec {

// The figures of a line and the letter search's records of them.
struct LinePart {
  // 0, or -1 with this part unchanged; figures of owning lists are copied.
  int assign(const LinePart& other);
  // Empties the lists (destroying the figures of the owning ones) and the
  // entries; the two values 0. The flag stays.
  void clear();

  PtrArray<FigureRecord> candidates{16, true};    // the line's candidate figures
  PtrArray<FigureRecord> figure_refs{16, false};  // figures owned elsewhere
  PtrArray<FigureRecord> extra_figures{16, true};
  DynArray<KeyedLineEntry> entries;
  std::uint16_t values[2] = {0, 0};
  std::uint8_t flag = 0;
};

class TextLine {
 public:
  // Becomes a copy of the line as the line pass made it: 0, or -1 with this
  // line unchanged. The letter search's work (candidates, results, word
  // groups and reference heights) is not copied: a copy starts without it.
  int assign(const TextLine& other);

  // Empties the line for reuse: fits, box, stroke list (its buffer kept),
  // line part, id and the letter search's work, whose results it frees.
  void clear();

  // Adds a stroke index, keeping the indices in ascending order: 0, or -1
  // when the list cannot grow. The line pass grows the box itself.
  int add_stroke(std::uint16_t stroke);

  // Appends a figure to the line's candidates: 0, or -1 when the list
  // cannot grow.
  int add_candidate(FigureRecord* figure) { return candidates.push_back(figure); }

  // Set once the letter search has measured the line's body height.
  std::uint8_t part_flag() const { return part.flag; }
  void set_part_flag(std::uint8_t flag) { part.flag = flag; }

  // The height a letter of the line is compared with to choose its case:
  // the body height once measured, else the given letter height of the
  // line set; never below 1.
  std::int16_t case_reference_height(std::int16_t letter_height) const;

  LineFit fits[3];
  Box16 box;  // the union of the strokes' boxes
  DynArray<std::uint16_t> strokes;
  std::int16_t id = 0;
  LinePart part;
  std::uint32_t words[2] = {0, 0};

  PtrArray<FigureRecord> candidates{16, false};  // the line's figures, in the search's order
  PtrArray<LetterResult> letter_results{16, true};
  DynArray<LineGroup> word_groups;
  // The heights the letter search measures on the line: of its tall
  // letters and of the letters' bodies; 1 until measured, never 0.
  std::int16_t tall_letter_height = 1;
  std::int16_t body_height = 1;
};

// Empties the covers and alternatives of every word group of the lines;
// the letter results stay with their lines.
void release_line_objects(DynArray<TextLine>& lines);

struct TextLineList {
  DynArray<TextLine> lines;
  std::int32_t skew_correction = 0;  // degrees
  std::uint8_t flag = 0;
};

// Sorts the values in ascending order; nothing for a count below 1.
void sort_u16(std::uint16_t* values, std::int32_t count);

// 1 + the greatest id of the lines, negative ids counting as 0; 1 for no
// lines.
std::int16_t next_text_line_id(const DynArray<TextLine>& lines);
// Appends a copy of the line / a new line; the appended line, or null when
// the array cannot grow (the array is then unchanged).
TextLine* append_text_line(DynArray<TextLine>& lines, const TextLine& line);
TextLine* append_new_text_line(DynArray<TextLine>& lines);
// Appends a new empty line with the next free id; null on failure.
TextLine* add_text_line(DynArray<TextLine>& lines);
// Erases the first line with that id: 0, or -2 when none has it.
int remove_text_line(DynArray<TextLine>& lines, std::int16_t id);

}  // namespace inkrec
