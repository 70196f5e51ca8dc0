// The fields the letter search and the rules read, under the names they
// read them by, over the records that hold them.
//
// The segmentation and the rules name the measures of a figure, of a
// writing variant and of the other database records by what they mean to
// a letter ("the mark class", "e2", "the kind of a variant"); the records
// name them by how they were computed or stored. Every such name is
// defined here once, each with the field it reads, so that a stage never
// reads a record's field under a second meaning. The measures no record
// computed before (the mark block) are built on first use beside the
// geometry's other lazily built blocks (GlyphGeometry::ensure_block_m).
//
// Conventions: classes keep the shape analysis' numbering (1..16 the
// classes, 0 a figure too small to have a shape, -1 a figure the analysis
// could not class), which is also how the letter rules read a mark class:
// 0 "no class", -1 "unclassified". Angles are whole degrees, 0 along +x and
// 90 downward.
#pragma once

#include <cstdint>

#include "engine/database/data_records.h"
#include "engine/database/knowledge_base_records.h"
#include "engine/database/tuples.h"
#include "engine/foundation/dyn_array.h"
#include "engine/foundation/tagged_records.h"
#include "engine/foundation/values.h"
#include "engine/records/extremum_summary.h"
#include "engine/records/figure_group.h"
#include "engine/records/figure_records.h"
#include "engine/records/glyph_geometry.h"
#include "engine/records/mark_block.h"
#include "engine/records/pair_metrics.h"
#include "engine/records/trajectory_record.h"
#include "engine/records/vertical_extrema.h"

namespace inkrec {

// ---- GlyphGeometry: measures computed when the geometry is prepared.

// The mark class: the shape class of the shape analysis.
inline std::int32_t mark_class(const GlyphGeometry& g) { return g.direction.shape_class; }
// The second class: the deferred shape class.
inline std::int32_t second_class(const GlyphGeometry& g) {
  return g.direction.deferred_shape_class;
}
// The mark quality: the confidence of the shape class (0..8200).
inline std::int16_t mark_quality(const GlyphGeometry& g) {
  return saturate_int16(g.direction.shape_confidence);
}
// The mark angle: the overall direction (-30..179).
inline std::int16_t mark_angle(const GlyphGeometry& g) { return g.direction.overall_direction; }
// The geometry angle: the overall direction as well.
inline std::int16_t geometry_angle(const GlyphGeometry& g) { return mark_angle(g); }
// The geometry class: the shape class as well.
inline std::int32_t geometry_class(const GlyphGeometry& g) { return mark_class(g); }
// The shape classes C1 and C2: the shape class and the deferred shape class.
inline std::int32_t shape_class_c1(const GlyphGeometry& g) { return mark_class(g); }
inline std::int32_t shape_class_c2(const GlyphGeometry& g) { return second_class(g); }
// The shape measures M1 to M4: compactness, aspect, compactness score and
// spread score of the direction statistics.
inline std::int16_t shape_measure_m1(const GlyphGeometry& g) { return g.direction.compactness; }
inline std::int16_t shape_measure_m2(const GlyphGeometry& g) { return g.direction.aspect; }
inline std::int16_t shape_measure_m3(const GlyphGeometry& g) {
  return saturate_int16(g.direction.compactness_score);
}
inline std::int16_t shape_measure_m4(const GlyphGeometry& g) {
  return saturate_int16(g.direction.spread_score);
}
// The shape measure: the diameter.
inline std::int16_t shape_measure(const GlyphGeometry& g) {
  return saturate_int16(g.direction.diameter);
}
// The shape percent: the length per diameter (ink length * 100 / diameter).
inline std::int16_t shape_percent(const GlyphGeometry& g) {
  return g.direction.length_per_diameter;
}
// The direction measure: the combined vertical direction (90 without one).
inline std::int16_t direction_measure(const GlyphGeometry& g) {
  return g.direction.vertical_direction;
}
// The slant measure and its weight: the vertical direction and its weight.
inline std::int16_t slant_measure(const GlyphGeometry& g) { return direction_measure(g); }
inline std::int16_t slant_weight(const GlyphGeometry& g) { return g.direction.vertical_weight; }
// The two turn counts: the reversals up to down and down to up.
inline std::uint16_t turn_count_1(const GlyphGeometry& g) { return g.reversals.up_to_down; }
inline std::uint16_t turn_count_2(const GlyphGeometry& g) { return g.reversals.down_to_up; }
// The path length: the ink length.
inline std::uint32_t path_length(const GlyphGeometry& g) { return g.ink_length; }
// The inner centroid: the centroid of the ink inside the reference band.
inline PackedPoint inner_centroid(const GlyphGeometry& g) { return g.band_centroid; }
// The zone words Z1, Z2, the further word, Z3 and Z4: the loop masks of
// all points (marked, other), of the first points (marked, other) and of
// the last points (marked).
inline std::uint32_t zone_z1(const GlyphGeometry& g) { return g.feature_masks.marked; }
inline std::uint32_t zone_z2(const GlyphGeometry& g) { return g.feature_masks.other; }
inline std::uint32_t zone_further(const GlyphGeometry& g) { return g.feature_masks.start_marked; }
inline std::uint32_t zone_z3(const GlyphGeometry& g) { return g.feature_masks.start_other; }
inline std::uint32_t zone_z4(const GlyphGeometry& g) { return g.feature_masks.end_marked; }
// The reference point: the middle of the box's top edge, (box centre x,
// box top). Its y is the top key, least for the topmost figure.
PackedPoint reference_point(const GlyphGeometry& g);
inline std::int16_t top_key(const GlyphGeometry& g) { return g.bounding_box().top; }
// The sort-key point: the centroid inside the band, the point the reading
// order sorts by.
inline PackedPoint sort_key_point(const GlyphGeometry& g) { return g.band_centroid; }
// The centre y: the middle of the box.
inline std::int16_t centre_y(const GlyphGeometry& g) {
  return static_cast<std::int16_t>(g.bounding_box().center_y());
}
// The span value: the box width.
inline std::int16_t span_value(const GlyphGeometry& g) {
  return saturate_int16(g.bounding_box().width());
}
// The baseline pair: the reference band.
inline const ReferenceBand& baseline_pair(const GlyphGeometry& g) { return g.reference_band(); }

// The raise percentage: the first value of the profile block (the mean
// width of the rows in percent of the box), built on first use.
inline std::int16_t raise_percentage(StrokeRecord& f) { return f.glyph_block_c().rows; }

// ---- The mark block, built on first use from the record's own runs.
const MarkBlock& figure_mark_block(StrokeRecord& figure);
// -2 or -1 in *status (the block then reads as constructed) when the
// group's runs cannot be listed.
const MarkBlock& element_mark_block(FigureGroup& group, int* status);

// e1: the rise from the first to the last point, percent of the height.
inline std::int16_t extent_e1(const MarkBlock& m) { return m.rise; }
// e2: the extent along the mark angle.
inline std::int16_t extent_e2(const MarkBlock& m) { return m.extent_along; }
// e3: the path length per chord, percent.
inline std::int16_t extent_e3(const MarkBlock& m) { return m.winding; }
// e4: the extent across the mark angle.
inline std::int16_t extent_e4(const MarkBlock& m) { return m.extent_across; }
// The bend: the summed turning of the path, degrees.
inline std::int16_t bend(const MarkBlock& m) { return m.bend; }
// The mark length: the box's diagonal.
inline std::int16_t mark_length(const MarkBlock& m) { return m.length; }
// The second angle: the direction of the ink's last quarter.
inline std::int16_t second_angle(const MarkBlock& m) { return m.end_direction; }
// The two values of the symbol geometry check: the loops turning
// positive and negative.
inline std::int16_t geometry_check_a(const MarkBlock& m) { return m.positive_loops; }
inline std::int16_t geometry_check_b(const MarkBlock& m) { return m.negative_loops; }
// The count field: the number of points of the ink.
inline std::int16_t count_field(const MarkBlock& m) { return m.point_count; }
// The slant block: the slant class is the shape class, the slant value
// the direction of the chord from the first to the last point.
inline std::int32_t slant_class(const GlyphGeometry& g) { return mark_class(g); }
inline std::int16_t slant_value(const MarkBlock& m) { return m.chord_direction; }

// ---- The letter hypothesis of a point: its trajectory record. Its code
// is the point's number along the stroke; its extra code the number of
// the point where the stroke crosses itself (the first crossing partner),
// set when a crossing flag is; its first value the step length (its angle
// is the step direction and its score the record's score).
inline std::uint16_t hypothesis_code(const PointRecord& p) { return p.trajectory.point_number; }
inline bool has_extra_code(const PointRecord& p) { return p.trajectory.has_crossing_partner(); }
inline std::uint16_t extra_code_1(const PointRecord& p) { return p.trajectory.first_partner; }
inline std::int16_t hypothesis_value_a(const PointRecord& p) { return p.trajectory.step_length; }
inline std::int16_t hypothesis_angle(const PointRecord& p) { return p.trajectory.step_direction; }

// ---- FigureRecord.
// The body index and the figure key (the key of the figure-pair table):
// the record's number, its index in the bodies array.
inline std::uint16_t body_index(const StrokeRecord& f) { return f.number; }
inline std::uint16_t figure_key(const StrokeRecord& f) { return f.number; }
// The stroke number, piece number and end key: the three search keys.
inline std::uint16_t stroke_number(const FigureRecord& f) { return f.stroke_index; }
inline std::uint16_t piece_number(const FigureRecord& f) { return f.piece; }
inline std::uint16_t end_key(const FigureRecord& f) { return f.piece_key; }
// The word-group index: the line group the figure belongs to, -1 for none.
inline std::int16_t word_group_index(const FigureRecord& f) {
  return static_cast<std::int16_t>(f.spare_key);
}
// The two link fields (negative when unset): the link's first and second
// reference.
inline std::int32_t link_field_1(const FigureRecord& f) { return f.link_references[0]; }
inline std::int32_t link_field_2(const FigureRecord& f) { return f.link_references[2]; }
// The link flag: the pieces of a stroke alternate from a body at piece 0,
// so a link has an odd piece number.
inline bool link_flag(const FigureRecord& f) { return f.piece != kNoKey16 && (f.piece & 1) != 0; }
// The selector value (the fourth 16-bit key): the index in its stroke of
// the figure's first point, read signed: 0 for a figure that starts its
// stroke, 1 or more for a later piece, -1 while unset.
inline std::int16_t piece_start_selector(const FigureRecord& f) {
  return static_cast<std::int16_t>(f.first_point);
}
// The measure block (four side measures a, b, c, d): the path length
// moving right, down, left and up.
inline const std::int16_t (&side_measures(StrokeRecord& f))[4] {
  return figure_mark_block(f).sides;
}

// ---- PairMetrics.
// The shared line: the kind, which the line pass sets to the text line both
// figures (or strokes) lie on, -1 when they lie on different lines; the
// pair queries' kind filter then picks partners on one line.
inline std::int16_t shared_line(const PairMetrics& p) { return p.kind; }

// ---- Answer.
// The shape id of a reading: its sub-key, the source word, which the
// letter evaluation sets to the variant's shape id.
inline std::uint16_t answer_shape_id(const Answer& a) { return a.source_word; }
// The two reference offsets of a reading: where the upper line lies above
// the top of the letter's box and the baseline above its bottom, in percent
// of the letter's height: the first two source values, read signed, which
// the letter evaluation fills from the shape's samples.
inline std::int16_t upper_reference_offset(const Answer& a) {
  return static_cast<std::int16_t>(a.source_box[0]);
}
inline std::int16_t lower_reference_offset(const Answer& a) {
  return static_cast<std::int16_t>(a.source_box[1]);
}
// The skip byte (the reading says nothing of the reference lines): the
// answer's flag from its source record, set for readings that output their
// saved codes rather than a letter of their own.
inline std::uint8_t reference_skip(const Answer& a) { return a.flag; }
// The confidence of a reading: its total, the seven cost components
// without the rules' penalty.
inline std::int32_t reading_confidence(const Answer& a) { return a.total(); }

// ---- FigureGroup.
// The element flag E: the group's flag byte (1 when the group was made).
inline std::uint8_t element_flag(const FigureGroup& g) { return g.single; }
// The option word: the group's flag word (bit 0 a figure's second link
// field is set, bit 1 its first).
inline std::uint32_t option_word(const FigureGroup& g) { return g.flags; }
// The id: the group's index; the member set: its members (body indices);
// the position set: its coverage (candidate positions); the flag byte: its
// single flag; the low and high bound of the relations: relation_low and
// relation_high.
inline std::int32_t result_id(const FigureGroup& g) { return g.index; }
inline const BitSet& member_set(const FigureGroup& g) { return g.members; }
inline const BitSet& position_set(const FigureGroup& g) { return g.coverage; }
// The result with an id, searched from the end.
inline FigureGroup* find_last_result_by_id(const PtrArray<FigureGroup>& results, std::int32_t id) {
  return find_last_by_word6(results, id);
}
// The order of letter results: by the least member of the position set,
// then the greater total of the first reading first; results without a
// position or without readings keep to the end (the group order).
inline int sort_letter_results(PtrArray<FigureGroup>& results) {
  return sort_group_pointers(results);
}

// ---- Extrema.
// A stroke's extrema as the line analysis merges them: counted with the
// ends and every turning point (no tolerance); a the minima, b the maxima.
// The list itself stays as it is.
inline void merge_stroke_extrema(std::span<const Extremum> list, int* a, int* b) {
  const ExtremumCounts counts = count_distinct_extrema(list, true, -1);
  *a = counts.minima;
  *b = counts.maxima;
}

// ---- FigureInfo: the extrema record of a figure or a group is the
// extremum summary. Its two counters are `visited` and `accepted` (the
// second counter); its maxima (points of locally greatest y, the lowest on
// the tablet) are `low_extrema` and its minima `high_extrema`; its four
// bounds are first_low, last_low, first_high and last_high (-1, which
// reads as 65535, while unset); its two trailing words are `duplicates`
// and `final_hook` (the count limits read accepted + final_hook). Built
// with the bounds 0x7fffffff and 0 every extremum enters the lists.
using FigureInfo = ExtremumSummary;
inline const DynArray<Extremum>& figure_maxima(const FigureInfo& info) { return info.low_extrema; }
inline const DynArray<Extremum>& figure_minima(const FigureInfo& info) {
  return info.high_extrema;
}

// ---- Variant.
// The kind: the use value (0 often, 1 rarely, 2 never).
inline std::uint32_t variant_kind(const Variant& v) { return v.idUse; }
// The character code: the menu code (0 for a special mark).
inline std::uint16_t variant_code(const Variant& v) { return v.menuc; }
// The special flag: the special-recognition byte.
inline std::uint8_t variant_special(const Variant& v) { return v.special_recognition; }
// The second code, the height flag and the cursive flag are the fields of
// those names (bytes 20, 19 and 34); the charset id is idSet.

// ---- Shape (its stored description).
// The height limit in percent: the description's 16-bit value.
inline std::int16_t shape_height_limit(const ShapeInfo& s) { return s.height_limit; }
// The two bytes of the height ramp: the samples' top and bottom offsets
// from their guide lines in percent of the guides' distance (statistics 2
// and 3, computed from the samples).
inline std::int8_t shape_ramp_top(const ShapeInfo& s) { return s.stats[2]; }
inline std::int8_t shape_ramp_bottom(const ShapeInfo& s) { return s.stats[3]; }
// The factors, limits, segment count and masks and the minimum second
// count are the fields of those names.

// ---- Etalon.
// N: the weighted square norm of the cells.
inline std::uint32_t etalon_norm(const Etalon& e) { return e.stats.norm; }
// d and e: the longest and the shortest hit list the etalon was trained
// with (the score compares them with the inked-cell count, a hit list's
// length; the cell levels are bytes of another scale).
inline std::int16_t etalon_d(const Etalon& e) { return e.stats.max_hits; }
inline std::int16_t etalon_e(const Etalon& e) { return e.stats.min_hits; }

// ---- ComplexVariant (a composite-letter rule).
// The kind flags: the layout word (bits 1, 2, 4 and 8: where the second
// part stands); the composite code: the menu code; the component count:
// the layout count; the mode: rec_mode. The symbol id, the component
// codes, the tolerance and the pass flag are the fields of those names.
inline std::uint32_t complex_kind_flags(const ComplexVariant& c) { return c.add; }
inline std::uint16_t complex_code(const ComplexVariant& c) { return c.menuc; }
inline std::uint8_t complex_count(const ComplexVariant& c) { return c.cnt; }
inline std::uint8_t complex_mode(const ComplexVariant& c) { return c.rec_mode; }

// ---- Tuple and TupleGroup (a pair rule and the rules of one charset).
using TupleGroup = TuplesEntry;
// The first, second and joined key lists: the tuple's three lists.
inline const DynArray<std::uint16_t>& first_keys(const Tuple& t) { return t.lists[0]; }
inline const DynArray<std::uint16_t>& second_keys(const Tuple& t) { return t.lists[1]; }
inline const DynArray<std::uint16_t>& joined_keys(const Tuple& t) { return t.lists[2]; }
// The kind: the rule number.
inline std::int16_t tuple_kind(const Tuple& t) { return static_cast<std::int16_t>(t.rule); }
// The side flags and the joined-reading flag: the complex flags of the
// first, second and joined lists.
inline std::uint8_t first_side_flag(const Tuple& t) { return t.complex[0]; }
inline std::uint8_t second_side_flag(const Tuple& t) { return t.complex[1]; }
inline std::uint8_t joined_reading_flag(const Tuple& t) { return t.complex[2]; }

}  // namespace inkrec
