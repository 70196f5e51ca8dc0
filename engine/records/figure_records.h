// The ink records every recognition stage after stroke capture works on:
//   StrokeRecord   one stroke, or a piece of one: its run of point records,
//                  three small keys and its GlyphGeometry;
//   FigureRecord   a StrokeRecord extended with the figure's four candidate
//                  lists and its identity as a piece of a stroke (the bodies
//                  and links of cursive segmentation are figure records);
//   StrokeAnswers  a StrokeRecord followed by the answers found for it.
// and the keyed look-ups, erasure and sorting over arrays of them.
//
// A FigureRecord or StrokeAnswers is a StrokeRecord, so it may be passed
// wherever a stroke record is read, but it is never destroyed through a
// StrokeRecord pointer. Records own their geometry's arrays, candidate lists
// and code arrays, never their points. They are moved freely; copies go
// through copy_from() and copy_construct(), which report running out of
// memory. The reading-order sorts (reading_order.h) read them through the
// accessors at the end of this file.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "engine/foundation/dyn_array.h"
#include "engine/foundation/point.h"
#include "engine/foundation/ptr_array.h"
#include "engine/foundation/values.h"
#include "engine/records/answer_list.h"
#include "engine/records/glyph_geometry.h"
#include "engine/records/point_run.h"

namespace inkrec {

struct StrokeRecord {
  StrokeRecord() = default;
  explicit StrokeRecord(const PointRun& points) : run(points) {}
  StrokeRecord(StrokeRecord&&) noexcept = default;
  StrokeRecord& operator=(StrokeRecord&&) noexcept = default;
  StrokeRecord(const StrokeRecord&) = delete;
  StrokeRecord& operator=(const StrokeRecord&) = delete;

  // Takes other's run, line index, number, order key and geometry (arrays
  // duplicated): 0, or -1 with this record unchanged.
  int copy_from(const StrokeRecord& other);

  // Blocks of the record's own geometry, computed over its own run.
  const ProfileRaster& glyph_block_a();
  const WidthBlock& glyph_block_c();
  // The raster, width and descent blocks; returns the geometry.
  GlyphGeometry& prepare_blocks(int reference_size, int closeness);
  // The descent block, then its ordinary entries appended to `out` (0, or -1
  // when the list cannot grow) / the number of its close entries.
  int glyph_block_e(int reference_size, int closeness, DynArray<DescentEntry>& out);
  std::uint32_t glyph_block_e_alt(int reference_size, int closeness);
  // The descent block's first ordinary entry, without listing the others;
  // null when it holds none. It stays valid until the block is recomputed.
  const DescentEntry* glyph_block_e_first(int reference_size, int closeness);

  PointRun run;
  std::uint16_t line_index = kNoKey16;  // the stroke's text line; 0xFFFF for none
  // A stroke's index in the strokes array, a body's in the bodies array.
  std::uint16_t number = 0;
  std::int16_t order_key = -1;  // set by the segmentation; -1 while unset
  GlyphGeometry geometry;
};

// Prepares the record's geometry from its own run.
int figure_prepare_glyph(StrokeRecord& figure, bool trajectory_mode);

// The four candidate lists of a figure, as the letter evaluation fills
// them: letters (readings with a character code), marks (readings without
// one), and the full letter and mark lists, kept whole in extended output.
inline constexpr std::size_t kCandidateLists = 4;
using CandidateLists = std::array<AnswerList, kCandidateLists>;

struct FigureRecord : StrokeRecord {
  static constexpr std::size_t kCandidateLists = inkrec::kCandidateLists;

  FigureRecord() = default;

  // Becomes the whole-stroke figure of the stroke: the stroke's run, line
  // index, number and geometry, keys (the stroke's number, 0, 0), first
  // point 0, order key -1, and everything else as constructed. 0, or -1 with
  // this record unchanged.
  int from_stroke(const StrokeRecord& stroke);
  // Becomes a full copy of other: 0, or -1 with this record unchanged.
  int copy_construct(const FigureRecord& other);

  // Four lists of at most 20 answers each.
  CandidateLists candidates;
  // The three search keys: the stroke's index in the strokes array, the
  // piece's position along its stroke, and a second piece key kept equal to
  // the piece.
  std::uint16_t stroke_index = kNoKey16;
  std::uint16_t piece = kNoKey16;
  std::uint16_t piece_key = kNoKey16;
  std::uint16_t first_point = kNoKey16;  // index in the stroke of the run's first point
  std::uint16_t spare_key = kNoKey16;    // only copied with the record
  std::uint8_t whole_stroke = 1;         // the figure stands for a whole stroke
  // The link's references and its kind (0 ordinary, 1 a one-point link of a
  // long stroke cut, 2 a piece cut at a crossing point).
  std::int32_t link_references[4] = {-1, 0, -1, 0};
  std::int32_t link_kind = 0;
  DynArray<std::uint16_t> codes;  // character codes attached to the figure
  // The letter search's marks: the figure's place in its line's candidate
  // order (0xFFFF before the order is made), whether it stands on a line
  // of its own, and a flag byte and word (bit 1 of the word is tested).
  std::uint16_t position = kNoKey16;
  std::uint8_t own_line = 0;
  std::uint8_t flag_byte = 0;
  std::uint32_t flag_word = 0;
};

struct StrokeAnswers : StrokeRecord {
  DynArray<Answer> answers;  // best first
};

// Look-ups. The scans run from the front and return the first match; an
// index that means "not found" equals the array's count. The scans over
// pointer arrays stop at a null slot and report no match.

// The figure with stroke index a, piece b and piece key c.
std::uint32_t figure_array_find(const DynArray<FigureRecord>& figures, std::uint16_t a,
                                std::uint16_t b, std::uint16_t c);
// The same as a pointer (null when none); its index, or the count, is
// written when `index` is given.
FigureRecord* figure_array_get(DynArray<FigureRecord>& figures, std::uint16_t a, std::uint16_t b,
                               std::uint16_t c, std::uint32_t* index = nullptr);
// The figure with keys (a, b, b).
FigureRecord* figure_array_get2(DynArray<FigureRecord>& figures, std::uint16_t a, std::uint16_t b);
std::uint32_t find_figure_index_by_keys(const PtrArray<FigureRecord>& figures, std::uint16_t a,
                                        std::uint16_t b, std::uint16_t c);
FigureRecord* find_figure_by_keys(const PtrArray<FigureRecord>& figures, std::uint16_t a,
                                  std::uint16_t b, std::uint16_t c);
FigureRecord* find_by_order_key(DynArray<FigureRecord>& figures, std::int16_t key);
// By order key (a) or by number (b).
StrokeRecord* find_stroke_record_a(DynArray<StrokeRecord>& strokes, std::int16_t key);
StrokeRecord* find_stroke_record_b(DynArray<StrokeRecord>& strokes, std::uint16_t number);
// By order key / by number, both compared as signed 16-bit values.
StrokeRecord* find_by_key12(const PtrArray<StrokeRecord>& strokes, std::int16_t key);
StrokeRecord* find_by_key10(const PtrArray<StrokeRecord>& strokes, std::int16_t number);

// The first figure whose body index (its number) / candidate position is
// the value; null slots are passed over; null when none.
FigureRecord* find_figure_by_body_index(const PtrArray<FigureRecord>& figures,
                                        std::uint16_t body_index);
FigureRecord* find_figure_by_position(const PtrArray<FigureRecord>& figures,
                                      std::uint16_t position);

// Sorts in place by candidate position and, for equal positions, the
// figure whose first letter reading has the greater total first (a figure
// without one last). Not stable. 0; -2 at a null slot.
int sort_figures_by_position(PtrArray<FigureRecord>& figures);

// Destroys the records index..index + n - 1 and closes the gap: 0, or -2
// with the array unchanged when the range passes the end.
int figure_array_erase(DynArray<FigureRecord>& figures, std::uint32_t index, std::uint32_t n);
// Erases the figure with keys (a, b, c): 0, or -2 when there is none.
int figure_array_remove(DynArray<FigureRecord>& figures, std::uint16_t a, std::uint16_t b,
                        std::uint16_t c);

// Sorts in place: ascending order key; with equal keys, records with answers
// before those without, and of two with answers the lower total of the best
// answer first. Not stable. 0; -2 for a null array, a null record or a
// negative count.
int sort_stroke_answers(StrokeAnswers** records, std::int32_t count);
int sort_records_364(PtrArray<StrokeAnswers>& records);

// Accessors for the reading-order sorts (record_access.h).
inline PackedPoint reading_point(const StrokeRecord& record) {
  return record.geometry.band_centroid;
}
inline std::uint16_t line_index_of(const StrokeRecord& record) { return record.line_index; }
inline std::uint16_t stroke_number_of(const FigureRecord& figure) { return figure.stroke_index; }
inline std::int16_t first_point_of(const FigureRecord& figure) {
  return static_cast<std::int16_t>(figure.first_point);
}

}  // namespace inkrec
