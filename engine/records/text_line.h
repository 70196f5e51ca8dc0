// TextLine: one line of writing as the line pass finds it: three line fits
// through points of the line, its box, the sorted indices of its strokes,
// its id, and the line part that holds the line's figures for the letter
// search. TextLineList: the lines of a recognition with the skew
// correction applied to them.
//
// What each of the three fits holds is the line pass's choice; the
// bodies-and-links rules read the first. Lines are moved freely; copies go
// through assign(), which reports running out of memory.
#pragma once

#include <cstdint>

#include "engine/foundation/box16.h"
#include "engine/foundation/dyn_array.h"
#include "engine/foundation/ptr_array.h"
#include "engine/records/figure_records.h"
#include "engine/records/keyed_groups.h"
#include "engine/records/line_fit.h"

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
  // 0, or -1 with this line unchanged.
  int assign(const TextLine& other);

  // Empties the line for reuse: fits, box, stroke list (its buffer kept),
  // line part and id.
  void clear();

  // Adds a stroke index, keeping the indices in ascending order: 0, or -1
  // when the list cannot grow. The line pass grows the box itself.
  int add_stroke(std::uint16_t stroke);

  std::uint8_t part_flag() const { return part.flag; }
  void set_part_flag(std::uint8_t flag) { part.flag = flag; }

  LineFit fits[3];
  Box16 box;  // the union of the strokes' boxes
  DynArray<std::uint16_t> strokes;
  std::int16_t id = 0;
  LinePart part;
  std::uint32_t words[2] = {0, 0};
};

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
