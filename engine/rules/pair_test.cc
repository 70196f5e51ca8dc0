#include "engine/rules/pair_test.h"

#include <algorithm>
#include <cstdlib>

#include "engine/foundation/bit_set.h"
#include "engine/foundation/interval_relation.h"
#include "engine/foundation/status.h"
#include "engine/foundation/trigonometry.h"
#include "engine/records/figure_group.h"
#include "engine/records/letter_fields.h"
#include "engine/records/profile_pair.h"
#include "engine/records/recognition_context.h"
#include "engine/records/record_access.h"
#include "engine/records/request_switches.h"
#include "engine/records/run_kernel.h"

namespace inkrec {
namespace {

// What the test has decided: yes (A cannot follow B), no, or nothing yet.
enum class Verdict { kYes, kNo, kOpen };

struct TestScene {
  RecognitionContext* context = nullptr;
  FigureGroup* A = nullptr;
  FigureGroup* B = nullptr;
  Box16 a, b;
  std::int32_t hA = 0, hB = 0, wA = 0, wB = 0;
  std::int32_t size = 0;
  std::int32_t slant = 90;
  bool rtl = false;
  const ProfileRaster* RA = nullptr;
  // The profile comparison, the left result first, and its common width:
  // the comparison's signed distance between the inks over their common
  // rows, negative where they cross. (Taken the other way round, as how far
  // the inks reach into each other, the final shape test would refuse
  // every pair of neighbours whose boxes overlap while their inks stand
  // apart: most letters of slanted and joined writing.)
  ProfilePairMetrics profile;
  bool common_rows = false;
  std::int32_t common_width = 0;
};

std::int32_t overlap_of(std::int32_t a0, std::int32_t a1, std::int32_t b0, std::int32_t b1) {
  IntervalRelation relation;
  relation.compute(a0, a1, b0, b1);
  return relation.overlap();
}

int prepare(TestScene& t, RecognitionContext& context, FigureGroup& later, FigureGroup& earlier) {
  t.context = &context;
  t.A = &later;
  t.B = &earlier;
  if (later.geometry == nullptr || earlier.geometry == nullptr) return kBadArgument;
  t.a = later.geometry->bounding_box();
  t.b = earlier.geometry->bounding_box();
  t.hA = t.a.height();
  t.hB = t.b.height();
  t.wA = t.a.width();
  t.wB = t.b.width();
  t.size = context.settings().letter_height;
  t.slant = context.line_slant_angle();
  t.rtl = context.kernel().right_to_left();
  return kOk;
}

int compare_profiles(TestScene& t) {
  t.RA = element_profile_raster(*t.A);
  FigureView left;
  FigureView right;
  FigureGroup& first = t.rtl ? *t.A : *t.B;
  FigureGroup& second = t.rtl ? *t.B : *t.A;
  if (const int status = left.init_from_element(first); status != kOk) return status;
  if (const int status = right.init_from_element(second); status != kOk) return status;
  if (t.RA == nullptr) return kBadArgument;
  measure_profile_pair(left, right, t.profile);
  t.common_rows = t.profile.least_gap != ProfilePairMetrics::kUnmeasured;
  t.common_width = t.common_rows ? t.profile.least_gap : 0;
  return kOk;
}

Verdict order_and_placement(const TestScene& t) {
  const Box16& a = t.a;
  const Box16& b = t.b;
  const bool both_tall = t.hA > t.size / 3 && t.hB > t.size / 3;
  if (t.rtl) {
    if (b.left >= a.right) return Verdict::kNo;
    if (b.left < a.left && b.top > a.bottom && both_tall) return Verdict::kYes;
    return Verdict::kOpen;
  }
  if (b.right <= a.left) return Verdict::kNo;
  if (b.right > a.right) {
    if (b.top > a.bottom && both_tall) return Verdict::kYes;
    if (b.right - a.right >= t.size && (a.bottom < b.top || b.bottom < a.top)) return Verdict::kYes;
  }
  if (b.left > a.right) return Verdict::kYes;
  return Verdict::kOpen;
}

// A single later stroke drawn inside the box of a single earlier one.
bool written_inside(const TestScene& t) {
  if (!RequestSwitches(t.context->kernel().params()).stroke_order()) return false;
  if (t.A->figures.size() != 1 || t.B->figures.size() != 1) return false;
  const FigureRecord* fa = t.A->figures[0];
  const FigureRecord* fb = t.B->figures[0];
  if (fa == nullptr || fb == nullptr || fb->stroke_index <= fa->stroke_index) return false;
  return t.b.left > t.a.left && t.b.right < t.a.right && t.b.top > t.a.top &&
         t.b.bottom < t.a.bottom;
}

// B holds a later piece of a stroke that A holds too: -2 at a null figure.
int later_piece_in_b(const TestScene& t, bool* found) {
  *found = false;
  for (const FigureRecord* fb : t.B->figures) {
    if (fb == nullptr) return kBadArgument;
    for (const FigureRecord* fa : t.A->figures) {
      if (fa == nullptr) return kBadArgument;
      if (fa->stroke_index == fb->stroke_index && fb->piece > fa->piece) *found = true;
    }
  }
  return kOk;
}

// Whether A's first figure is the next body after one link of a stroke
// that B holds a figure of.
bool follows_across_one_link(const TestScene& t, const FigureRecord& fa) {
  return std::any_of(t.B->figures.begin(), t.B->figures.end(), [&](const FigureRecord* fb) {
    return fb != nullptr && fb->stroke_index == fa.stroke_index && fa.piece == fb->piece_key + 2;
  });
}

// A bowl and the stem its own stroke goes on to after coming back up to
// where the bowl began: the one-stroke a, d, g or q, cut where the bowl
// closes into a c and a stem. B's stroke begins over A's columns, A
// follows B across one link and begins below B's first point, less than a
// quarter of the letter size beside it. Two letters joined side by side
// never do: the next one begins a letter's width further on.
bool stem_closing_a_bowl(const TestScene& t) {
  const FigureRecord* fa = t.A->figures.front();
  const FigureRecord* fb = t.B->figures.front();
  if (fa == nullptr || fb == nullptr || fa->run.empty() || fb->run.empty()) return false;
  if (!follows_across_one_link(t, *fa)) return false;
  const PackedPoint bowl = fb->run.span()[0];
  const PackedPoint stem = fa->run.span()[0];
  return bowl.x >= t.a.left && bowl.x <= t.a.right && std::abs(stem.x - bowl.x) < t.size / 4 &&
         stem.y > bowl.y;
}

Verdict far_apart(const TestScene& t) {
  if (t.rtl) {
    return t.b.left - 2 * t.wB / 3 > t.a.right && t.b.left - 2 * t.wA / 3 > t.a.right
               ? Verdict::kYes
               : Verdict::kOpen;
  }
  return t.b.right + 2 * t.wB / 3 < t.a.left && t.b.right + 2 * t.wA / 3 < t.a.left ? Verdict::kYes
                                                                                     : Verdict::kOpen;
}

std::int32_t band_point(const FigureGroup& group, std::int32_t eighths) {
  const ReferenceBand& band = baseline_pair(*group.geometry);
  return band.top + (band.bottom - band.top) * eighths / 8;
}

bool small_pair(const TestScene& t) {
  return t.hA + t.hB <= t.size || t.hA + t.wA <= t.size / 5 || t.hB + t.wB <= t.size / 5;
}

// Step 9: results that overlap little in height, one over the other.
Verdict stacked(const TestScene& t) {
  const std::int32_t dx =
      (sort_key_point(*t.B->geometry).y - sort_key_point(*t.A->geometry).y) *
      scale_by_tangent(t.slant - 90, 1000) / 1000;
  const std::int32_t shifted = overlap_of(t.b.left + dx, t.b.right + dx, t.a.left, t.a.right);
  if (shifted > t.wA / 2 && t.common_width > t.wB / 2 && t.A->answers->best_code() != u',') {
    return Verdict::kYes;
  }
  const bool far_side = t.rtl ? t.b.right + dx < t.a.left : t.b.left + dx > t.a.right;
  const bool a_low = t.a.top >= band_point(*t.A, 5);
  if (shifted >= t.wB - 1 && !far_side &&
      !(small_pair(t) || a_low || t.b.bottom <= band_point(*t.B, 2))) {
    return Verdict::kYes;
  }
  if (t.common_width >= t.wA - 1 && !(small_pair(t) || a_low)) return Verdict::kYes;
  return Verdict::kOpen;
}

// The halves of the figure pairs between A and B, gathered per side.
struct HalfSums {
  Box16 box;
  bool has_box = false;
  std::int64_t weighted = 0;
  std::int64_t weight = 0;

  void add(const Box16& half, std::int32_t measure, std::int32_t weight_of_half) {
    box = has_box ? Box16::united(box, half) : half;
    has_box = true;
    weighted += std::int64_t{measure} * weight_of_half;
    weight += weight_of_half;
  }
  std::int32_t mean() const { return weight == 0 ? 0 : static_cast<std::int32_t>(weighted / weight); }
};

int gather_halves(TestScene& t, HalfSums& x, HalfSums& y) {
  PairTable& table = t.context->figure_pairs();
  for (std::uint32_t p = 0; t.A->members.next_bit(&p); ++p) {
    for (std::uint32_t q = 0; t.B->members.next_bit(&q); ++q) {
      const int index = pair_index(table, p, q);
      if (index < 0) return kBadArgument;
      DynArray<PairMetrics>& entries = table.entries();
      const auto needed = static_cast<std::uint32_t>(index) + 1;
      if (entries.size() < needed && entries.resize(needed) != kOk) return kOutOfMemory;
      const PairMetrics& e = entries[static_cast<std::uint32_t>(index)];
      if (side_field(e) < 0) continue;
      const bool first_is_a = static_cast<std::uint32_t>(side_field(e)) == p;
      HalfSums& first = first_is_a ? x : y;
      HalfSums& second = first_is_a ? y : x;
      first.add(e.band_a, half_measure(e, 0), half_weight(e, 0));
      second.add(e.band_b, half_measure(e, 1), half_weight(e, 1));
    }
  }
  return kOk;
}

// Step 11: results that overlap enough in height, by where the ink of
// each lies in the bands both share.
int profile_sums(TestScene& t, Verdict* verdict) {
  HalfSums x;
  HalfSums y;
  if (const int status = gather_halves(t, x, y); status != kOk) return status;
  *verdict = Verdict::kOpen;
  if (x.weight == 0 || y.weight == 0) {
    const std::int32_t hov = overlap_of(t.a.left, t.a.right, t.b.left, t.b.right);
    const ReferenceBand& band_a = baseline_pair(*t.A->geometry);
    const ReferenceBand& band_b = baseline_pair(*t.B->geometry);
    const std::int32_t span_a = band_a.bottom - band_a.top;
    const std::int32_t span_b = band_b.bottom - band_b.top;
    if (4 * hov > 3 * t.wA && 4 * hov > 3 * t.wB && t.b.top > band_b.top - span_b / 3 &&
        t.a.bottom < band_a.bottom + span_a / 3) {
      *verdict = Verdict::kYes;
    }
    return kOk;
  }
  const std::int32_t mA = x.mean();
  const std::int32_t mB = y.mean();
  const bool thin = t.common_width < t.size / 20;
  if (t.rtl) {
    if (mB <= mA || (x.box.right - y.box.left > 4 * (mB - mA) / 5 && thin)) *verdict = Verdict::kYes;
  } else {
    if (mB >= mA || (y.box.right - x.box.left > 4 * (mA - mB) / 5 && thin)) *verdict = Verdict::kYes;
  }
  return kOk;
}

bool outside_left(const PointRecord* b_point, const PointRecord* a_point, bool above) {
  if (b_point == nullptr || a_point == nullptr) return false;
  const bool beyond = above ? b_point->point.y < a_point->point.y : b_point->point.y > a_point->point.y;
  return beyond && b_point->point.x < a_point->point.x;
}

Verdict final_shape_rtl(const TestScene& t) {
  if (t.common_width < 0 && t.a.right > t.b.left) return Verdict::kYes;
  const GlyphGeometry& ga = *t.A->geometry;
  const GlyphGeometry& gb = *t.B->geometry;
  const bool encloses = t.b.left < t.a.left && t.b.top <= t.a.top && t.b.bottom >= t.a.bottom;
  const bool outside =
      outside_left(gb.extremes[GlyphGeometry::kLeastY], ga.extremes[GlyphGeometry::kLeastY], true) &&
      outside_left(gb.extremes[GlyphGeometry::kGreatestY], ga.extremes[GlyphGeometry::kGreatestY],
                   false);
  return encloses && outside ? Verdict::kYes : Verdict::kNo;
}

// The octagonal distance from a point of B to A's right edge, taken at
// A's top or bottom row when the point lies above or below A.
std::int32_t distance_to_right_edge(const TestScene& t, PackedPoint p) {
  const std::int32_t row = std::clamp<std::int32_t>(p.y, t.a.top, t.a.bottom);
  const std::int32_t edge = t.RA->row_max(row);
  const std::int32_t right = edge == kEmptyMax ? t.a.right : edge;
  return octagonal_length(right - p.x, row - p.y);
}

// Two single strokes of lines of their own that the stroke pair table
// sees as written in one movement.
int strokes_joined(const TestScene& t, const FigureRecord& fa, const FigureRecord& fb,
                   bool* joined) {
  *joined = false;
  if (t.A->own_line == 0 || t.B->own_line == 0 || fa.stroke_index == fb.stroke_index) return kOk;
  const PairMetrics* e = t.context->pair_table().at(fa.stroke_index, fb.stroke_index);
  if (e == nullptr) return kBadArgument;
  const std::int32_t k0 = e->measures[0];
  const std::int32_t k1 = e->measures[1];
  const std::int32_t k2 = e->measures[2];
  *joined = k1 < 28 && !(k2 > k1) && (k2 < 5 || (k0 < 2 && k2 < 7));
  return kOk;
}

// Whether the earlier result, of two strokes or more, was begun no later
// than the later one and finished after it: a letter whose bar or dot was
// put on once the word was written.
bool finished_after(const TestScene& t) {
  constexpr std::uint32_t kNoStroke = 0xFFFFFFFF;
  std::uint32_t first[2] = {kNoStroke, kNoStroke};
  std::uint32_t last[2] = {0, 0};
  const FigureGroup* groups[2] = {t.B, t.A};
  for (int k = 0; k < 2; ++k) {
    for (const FigureRecord* f : groups[k]->figures) {
      if (f == nullptr) continue;
      first[k] = std::min<std::uint32_t>(first[k], f->stroke_index);
      last[k] = std::max<std::uint32_t>(last[k], f->stroke_index);
    }
  }
  return first[0] < last[0] && first[0] <= first[1] && last[0] > last[1];
}

// Whether touching inks cross deeply: deeper than a quarter of the
// narrower result's width, or deeper than a seventh of each width and a
// third of the letter size. Joined writing crosses its neighbours' ink a
// little all the time: the bar of a t drawn on over the next letter's
// stem, an e or an a whose join runs into the loop of the letter after it.
// The strokes of one letter (the two of an x, the arch of an n against its
// stem) cross deeper than that against the narrower of them. A bar put on
// once the word was written (finished_after) may cross the letter after it
// up to half that letter's width.
bool crosses_deeply(const TestScene& t) {
  const std::int32_t depth = std::abs(t.common_width);
  if (finished_after(t)) return depth > t.wA / 2;
  if (depth > std::min(t.wA, t.wB) / 4) return true;
  return depth > t.wB / 7 && depth > t.wA / 7 && depth > t.size / 3;
}

int final_shape(const TestScene& t, Verdict* verdict) {
  if (t.rtl) {
    *verdict = final_shape_rtl(t);
    return kOk;
  }
  *verdict = Verdict::kYes;
  // Inks that meet in a shared row (the comparison's touching flag: no
  // empty column between them, as where the bar of an A is drawn up to its
  // first leg): the later result cannot follow when it lies close to the
  // earlier one's key, when the earlier reaches past it, or when the inks
  // cross deeply (crosses_deeply). Inks apart: a stem closing the earlier
  // result's bowl cannot follow it.
  if (t.profile.touching != 0) {
    const std::int32_t d_key =
        sort_key_point(*t.A->geometry).x - sort_key_point(*t.B->geometry).x;
    if (t.profile.least_gap < t.size / 2 && d_key < t.size / 4) return kOk;
    if (t.b.right >= t.a.right) return kOk;
    if (crosses_deeply(t)) return kOk;
  } else if (stem_closing_a_bowl(t)) {
    return kOk;
  }
  const FigureRecord* fa = t.A->figures.front();
  const FigureRecord* fb = t.B->figures.front();
  if (fa == nullptr || fb == nullptr || fa->run.empty() || fb->run.empty()) return kBadArgument;
  const PackedPoint p1 = fb->run.span()[0];
  const PackedPoint p2 = fb->run.span()[fb->run.span().size() - 1];
  const std::int32_t dx1 = fa->run.span()[0].x - p1.x;
  bool joined = false;
  if (const int status = strokes_joined(t, *fa, *fb, &joined); status != kOk) return status;
  if (joined && dx1 < 24) return kOk;
  const std::int32_t d1 = distance_to_right_edge(t, p1);
  const std::int32_t d2 = distance_to_right_edge(t, p2);
  const std::int32_t mm =
      std::min({d1, std::int32_t{t.profile.least_gap}, std::int32_t{t.profile.mean_gap_at_least_0}});
  const bool no = d2 >= 50 || d1 > d2 || (d1 >= 10 && (mm >= 5 || d1 >= 20)) || dx1 >= 40 ||
                  d2 >= 28 || (d1 >= 5 && (mm >= 2 || d1 >= 10)) || dx1 >= 25;
  *verdict = no ? Verdict::kNo : Verdict::kYes;
  return kOk;
}

int decided(Verdict* verdict, Verdict value) {
  *verdict = value;
  return kOk;
}

int run_test(TestScene& t, Verdict* verdict) {
  if ((*verdict = order_and_placement(t)) != Verdict::kOpen) return kOk;
  if (written_inside(t) || !t.A->has_answers()) return decided(verdict, Verdict::kYes);
  bool later_piece = false;
  if (const int status = later_piece_in_b(t, &later_piece); status != kOk) return status;
  if (later_piece) return decided(verdict, Verdict::kYes);
  if (!t.B->has_answers()) return decided(verdict, Verdict::kNo);
  if ((*verdict = far_apart(t)) != Verdict::kOpen) return kOk;
  if (const int status = compare_profiles(t); status != kOk) return status;
  if (!t.common_rows) return decided(verdict, Verdict::kNo);
  const std::int32_t vov = overlap_of(t.a.top, t.a.bottom, t.b.top, t.b.bottom);
  const std::int32_t m = std::min(t.hA, t.hB);
  const bool side_by_side = vov > m / 4 || vov >= t.hA / 5 || vov >= t.hB / 5;
  if (side_by_side) {
    if (const int status = profile_sums(t, verdict); status != kOk) return status;
  } else {
    *verdict = stacked(t);
  }
  if (*verdict != Verdict::kOpen) return kOk;
  return final_shape(t, verdict);
}

}  // namespace

int test_element_pair(RecognitionContext& context, FigureGroup& later, FigureGroup& earlier,
                      int* refused) {
  if (refused == nullptr) return kBadArgument;
  bool later_ink = false;
  bool earlier_ink = false;
  if (check_group_ink(later, &later_ink) != kOk || check_group_ink(earlier, &earlier_ink) != kOk) {
    return kBadArgument;
  }
  if (!later_ink || !earlier_ink) return kOk;
  TestScene t;
  if (const int status = prepare(t, context, later, earlier); status != kOk) return status;
  Verdict verdict = Verdict::kOpen;
  if (const int status = run_test(t, &verdict); status != kOk) return status;
  if (verdict == Verdict::kYes) *refused = 1;
  return kOk;
}

int test_element_pair_cached(RecognitionContext* context, FigureGroup* later, FigureGroup* earlier,
                             int* refused) {
  if (context == nullptr || later == nullptr || earlier == nullptr || refused == nullptr) {
    return kBadArgument;
  }
  if (first_line_number(*later) != first_line_number(*earlier)) return kOk;
  *refused = 0;
  const auto other = static_cast<std::uint32_t>(later->index);
  for (const PairTestEntry& entry : earlier->test_cache) {
    if (entry.other == other && entry.valid != 0) {
      *refused = entry.answer;
      return kOk;
    }
  }
  if (const int status = test_element_pair(*context, *later, *earlier, refused); status != kOk) {
    *refused = 0;
    return status;
  }
  PairTestEntry* entry = earlier->test_cache.push_default();
  if (entry == nullptr) return kOutOfMemory;
  entry->other = other;
  entry->answer = static_cast<std::uint8_t>(*refused);
  entry->valid = 1;
  return kOk;
}

}  // namespace inkrec
