#include "engine/rules/pair_score_scene.h"

#include <algorithm>

#include "engine/foundation/interval_relation.h"
#include "engine/foundation/status.h"
#include "engine/foundation/trigonometry.h"
#include "engine/records/letter_fields.h"
#include "engine/records/run_kernel.h"

namespace inkrec {
namespace {

std::int32_t overlap_of(std::int32_t a0, std::int32_t a1, std::int32_t b0, std::int32_t b1) {
  IntervalRelation relation;
  relation.compute(a0, a1, b0, b1);
  return relation.overlap();
}

// Over the columns both boxes cover where both results have ink: how
// often B's top and bottom lie outside and inside A's.
void count_columns(const ProfileRaster& ra, const ProfileRaster& rb, PairLayout& layout) {
  const Box16& a = layout.later_box;
  const Box16& b = layout.earlier_box;
  const std::int32_t first = std::max(a.left, b.left);
  const std::int32_t last = std::min(a.right, b.right);
  for (std::int32_t x = first; x <= last; ++x) {
    const std::int32_t a_top = ra.column_min(x);
    const std::int32_t b_top = rb.column_min(x);
    if (a_top == kEmptyMin || b_top == kEmptyMin) continue;
    const std::int32_t a_bottom = ra.column_max(x);
    const std::int32_t b_bottom = rb.column_max(x);
    if (b_top < a_top) ++layout.up;
    if (b_top > a_top) ++layout.up_in;
    if (b_bottom > a_bottom) ++layout.down;
    if (b_bottom < a_bottom) ++layout.down_in;
  }
}

std::int32_t mean_row_width(FigureGroup& group) {
  const WidthBlock* block = element_glyph_profile(group);
  return block == nullptr ? 0 : block->rows;
}

void read_codes(PairScoreScene& s) {
  const bool saved_a = s.answer_a == -1;
  const bool saved_b = s.answer_b == -1;
  s.ca1 = saved_a ? s.reading_a->saved_codes[0] : s.reading_a->codes[0];
  s.ca2 = saved_a ? s.reading_a->saved_codes[1] : s.reading_a->codes[1];
  s.cb1 = saved_b ? s.reading_b->saved_codes[0] : s.reading_b->codes[0];
  s.cb2 = saved_b ? s.reading_b->saved_codes[1] : s.reading_b->codes[1];
  s.classes_a = letter_class_set(*s.reading_a, s.answer_a);
  s.classes_b = letter_class_set(*s.reading_b, s.answer_b);
  s.marked_a = marker_word(*s.reading_a) != 0;
  s.marked_b = marker_word(*s.reading_b) != 0;
}

// The link figure between the linked pair, and whether the later result's
// last figure is followed by another piece of its stroke.
void find_links(const FigureGroup& later, const FigureGroup& earlier, RecognitionContext& context,
                PairLayout& layout) {
  if (layout.linked_later != PairLayout::kNoFigure) {
    const FigureRecord* linked = earlier.figures[layout.linked_earlier];
    layout.link = figure_at_piece(context, linked->stroke_index, std::int32_t{linked->piece_key} + 1);
  }
  const FigureRecord* last = last_figure(later);
  layout.later_continued =
      last == nullptr ||
      figure_at_piece(context, last->stroke_index, std::int32_t{last->piece_key} + 2) != nullptr;
}

}  // namespace

int measure_pair_layout(FigureGroup& later, FigureGroup& earlier, RecognitionContext& context,
                        PairLayout& layout) {
  if (const int status = measure_scene_layout(later, earlier, layout); status != kOk) {
    return status;
  }
  const Box16& a = layout.later_box;
  const Box16& b = layout.earlier_box;
  layout.row_overlap = overlap_of(a.top, a.bottom, b.top, b.bottom);
  layout.column_overlap = overlap_of(a.left, a.right, b.left, b.right);
  layout.later_key = sort_key_point(*later.geometry);
  layout.earlier_key = sort_key_point(*earlier.geometry);
  layout.direction_to_later = step_direction(layout.earlier_key, layout.later_key);
  layout.direction_to_earlier = step_direction(layout.later_key, layout.earlier_key);
  count_columns(*element_profile_raster(later), *element_profile_raster(earlier), layout);
  layout.later_row_width = mean_row_width(later);
  layout.earlier_row_width = mean_row_width(earlier);
  find_links(later, earlier, context, layout);
  const RunKernel& kernel = context.kernel();
  layout.hebrew = kernel.charset_active(26) ? 1 : 0;
  layout.greek = kernel.charset_active(25) || kernel.charset_active(39) ? 1 : 0;
  return kOk;
}

int prepare_pair_score_scene(PairScoreScene& s, const PairLayout& layout,
                             RecognitionContext& context) {
  s.pair.reading_a = s.reading_a;
  s.pair.reading_b = s.reading_b;
  s.pair.s = s.size;
  s.pair.context = &context;
  if (const int status =
          prepare_pair_scene(s.pair, layout, s.answer_a == -1, s.answer_b == -1);
      status != kOk) {
    return status;
  }
  read_codes(s);
  s.hebrew = layout.hebrew != 0;
  s.greek = layout.greek != 0;
  s.vov = layout.row_overlap;
  s.hov = layout.column_overlap;
  s.d_top = s.a().top - s.b().top;
  s.d_bottom = s.a().bottom - s.b().bottom;
  s.key_a = layout.later_key;
  s.key_b = layout.earlier_key;
  s.d_key = s.key_a.x - s.key_b.x;
  s.direction_b_to_a = layout.direction_to_later;
  s.direction_a_to_b = layout.direction_to_earlier;
  s.up = layout.up;
  s.down = layout.down;
  s.up_in = layout.up_in;
  s.down_in = layout.down_in;
  s.row_width_a = layout.later_row_width;
  s.row_width_b = layout.earlier_row_width;
  s.link = layout.link;
  s.a_continued = layout.later_continued != 0;
  s.line = context.text_lines().item_checked(s.pair.fa->line_index);
  s.part = s.line != nullptr && s.line->part_flag() != 0;
  return kOk;
}

std::int32_t PairScoreScene::line_right() const {
  return line != nullptr ? line->box.right : a().right;
}

std::int32_t baseline_span(const FigureGroup& group) {
  if (group.geometry == nullptr) return 0;
  const ReferenceBand& band = baseline_pair(*group.geometry);
  return band.bottom - band.top;
}

FigureRecord* figure_at_piece(RecognitionContext& context, std::uint16_t stroke,
                              std::int32_t piece) {
  if (piece < 0 || piece >= kNoKey16) return nullptr;
  const auto key = static_cast<std::uint16_t>(piece);
  if (FigureRecord* body = figure_array_get2(context.bodies(), stroke, key)) return body;
  return figure_array_get2(context.links(), stroke, key);
}

std::int32_t stacking_height(const PairScoreScene& s) {
  std::int32_t limit = s.size;
  if (s.part) limit = std::min({s.size, baseline_span(s.A()), baseline_span(s.B())});
  return std::min(s.min_h(), limit);
}

std::int32_t chain_divisor(const PairScoreScene& s) {
  return s.position < 3 || s.a_continued ? 1 : 4;
}

}  // namespace inkrec
