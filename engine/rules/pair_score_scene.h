// PairScoreScene: the measures of one scored pair of neighbouring letter
// results that the term groups of the pair score share, prepared once per
// scoring.
//
// A is the later result, B the earlier. The scene builds on the pair
// rules' PairScene (boxes, rasters, first figures, the linked pair) and
// adds the readings' codes and classes, the line, and the column counts
// of how B's ink reaches above and below A's. What does not depend on the
// readings comes from the pair's layout, measured once for the pair and
// kept by B. The scene points at the results and owns nothing; it lives
// for one call of score_element_pair. Every term group adds its
// (negative) amount to `slot` through pen().
#pragma once

#include <cstdint>
#include <initializer_list>

#include "engine/records/answer_list.h"
#include "engine/records/figure_group.h"
#include "engine/records/letter_classes.h"
#include "engine/records/recognition_context.h"
#include "engine/records/text_line.h"
#include "engine/rules/pair_rule_scene.h"

namespace inkrec {

struct PairScoreScene {
  PairScene pair;  // A, B, boxes, rasters, first figures, the linked pair
  const Answer* reading_a = nullptr;
  const Answer* reading_b = nullptr;
  std::int32_t answer_a = 0;  // the answer indices asked for (-1: saved codes)
  std::int32_t answer_b = 0;
  std::int32_t size = 0;
  std::int32_t slant = 90;
  std::int32_t position = 0;
  bool flag = false;  // the reading-kind terms are on

  // ---- Readings: first and second code (saved codes for index -1).
  std::uint16_t ca1 = 0, ca2 = 0, cb1 = 0, cb2 = 0;
  LetterClassSet classes_a, classes_b;  // the readings' letter classes
  bool marked_a = false;  // a reading made by composition
  bool marked_b = false;
  bool hebrew = false;  // R: charset 26 active
  bool greek = false;   // S: charset 25 or 39 active

  // ---- Geometry.
  std::int32_t vov = 0;  // overlap of the vertical intervals (negative: gap)
  std::int32_t hov = 0;  // of the horizontal intervals
  std::int32_t d_top = 0, d_bottom = 0, d_key = 0;
  PackedPoint key_a, key_b;  // the sort-key points
  std::int32_t direction_b_to_a = 0;  // of the step between them, degrees
  std::int32_t direction_a_to_b = 0;
  // Over the common columns: B's top above / bottom below A's, B's top
  // below / bottom above A's.
  std::int32_t up = 0, down = 0, up_in = 0, down_in = 0;
  std::int32_t row_width_a = 0, row_width_b = 0;  // mean ink widths of the rows, percent
  FigureRecord* link = nullptr;  // the link figure between the linked pair
  bool a_continued = false;      // A's last figure has another piece of its stroke after it
  TextLine* line = nullptr;      // A's text line
  bool part = false;             // the line's reference heights are known
  bool b_class_19 = false;       // B's class 19 (asked only when B is not marked)

  // ---- The running term group.
  std::int32_t slot = 0;
  void pen(std::int32_t amount) { slot -= amount; }

  FigureGroup& A() const { return pair.A(); }
  FigureGroup& B() const { return pair.B(); }
  const Box16& a() const { return pair.a; }
  const Box16& b() const { return pair.b; }
  std::int32_t hA() const { return pair.hA; }
  std::int32_t hB() const { return pair.hB; }
  std::int32_t wA() const { return pair.wA; }
  std::int32_t wB() const { return pair.wB; }
  std::int32_t H() const { return pair.joint_height; }
  std::int32_t W() const { return pair.joint_width; }
  std::int32_t min_h() const { return pair.minH; }
  std::int32_t max_h() const { return pair.maxH; }
  bool linked() const { return pair.linked(); }
  bool single_a() const { return pair.figures_a() == 1; }
  bool single_b() const { return pair.figures_b() == 1; }
  // The right end of A's line (its box), and whether A ends near it.
  std::int32_t line_right() const;
  bool near_line_end() const { return a().right >= line_right() - size; }

  // The letter classes of the two readings.
  bool a16() const { return classes_a.c16(); }
  bool b16() const { return classes_b.c16(); }
  bool a17(int count) const { return classes_a.c17(count); }
  bool b17(int count) const { return classes_b.c17(count); }
  bool a18() const { return classes_a.c18(); }
  bool b18() const { return classes_b.c18(); }
  bool a19() const { return classes_a.c19(); }
  bool b19() const { return classes_b.c19(); }
  bool a20(int count) const { return classes_a.c20(count); }
  bool b20(int count) const { return classes_b.c20(count); }
  std::uint16_t key_of_a() const { return reading_a->key; }
  std::uint16_t key_of_b() const { return reading_b->key; }
};

// The layout of the later result A and the earlier B that the scene
// reads: the pair scene's (measure_scene_layout), the overlaps of the
// boxes, the sort-key points and the directions between them, the column
// counts, the mean widths of the rows, the link between the linked
// pair, whether A's stroke goes on after it, and the run's scripts. 0; -2 when either result lacks figures,
// points, geometry or raster.
int measure_pair_layout(FigureGroup& later, FigureGroup& earlier, RecognitionContext& context,
                        PairLayout& layout);

// Fills the scene for the readings i of A and j of B from the pair's
// layout (measure_pair_layout of the scene's A and B): 0; -2 when either
// result lacks figures or raster.
int prepare_pair_score_scene(PairScoreScene& scene, const PairLayout& layout,
                             RecognitionContext& context);

// The distance from a result's upper reference line to its baseline.
std::int32_t baseline_span(const FigureGroup& group);
// The figure of the line's store on the stroke at that piece (bodies
// first, then links); null when there is none.
FigureRecord* figure_at_piece(RecognitionContext& context, std::uint16_t stroke,
                              std::int32_t piece);

// Whether the code is one of the codes.
inline bool code_among(std::uint16_t code, std::initializer_list<std::uint16_t> codes) {
  for (const std::uint16_t c : codes) {
    if (c == code) return true;
  }
  return false;
}

// m of the stacking and alignment terms: the lesser height, at most the
// letter size (and the baseline spans once the line's heights are known).
std::int32_t stacking_height(const PairScoreScene& s);
// Slots 5 to 7 are skipped for marked or punctuation readings, under R or
// S, and far along a chain at the line's end.
bool tops_and_bottoms_skipped(const PairScoreScene& s);

// ---- The term groups, in the order the score sums them.
void score_reading_kinds(PairScoreScene& s, RecognitionContext& context);
void score_punctuation(PairScoreScene& s);
// The Hebrew stacking terms, added straight to the score: 0, or -2 for a
// missing figure.
int score_hebrew_stacking(PairScoreScene& s, std::int32_t* score);
void score_stacking(PairScoreScene& s);
void score_slant_alignment(PairScoreScene& s);
void score_tops_and_bottoms_of_a(PairScoreScene& s);
void score_tops_and_bottoms_of_b(PairScoreScene& s);
void score_relative_heights(PairScoreScene& s);
// The extents (slot 8) and the spacing (slot 9) share the pair extents;
// statuses of the measure (-1, -2) pass through.
void score_extents(PairScoreScene& s, const PairExtents& e, std::int32_t h);
void score_spacing(PairScoreScene& s, RecognitionContext& context, const PairExtents& e,
                   std::int32_t h);
void score_continuation(PairScoreScene& s, RecognitionContext& context);
void score_final_terms(PairScoreScene& s, RecognitionContext& context);

// The multiplier of slots 3, 5 and 6: 4 when A is far along its chain and
// its last figure is not followed by another piece of its stroke, else 1.
std::int32_t chain_divisor(const PairScoreScene& s);

}  // namespace inkrec
