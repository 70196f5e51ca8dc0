// The pair score's terms of reading kinds, punctuation and stacking: how
// the two readings' kinds go together, where quotes, commas, dashes and
// full stops stand against their neighbour, and whether one result sits
// over the other where a letter beside it is expected.

#include <algorithm>

#include "engine/foundation/char_classes.h"
#include "engine/foundation/status.h"
#include "engine/foundation/trigonometry.h"
#include "engine/records/request_switches.h"
#include "engine/rules/pair_score_scene.h"

namespace inkrec {
namespace {

constexpr std::uint16_t kApostrophe = 39;
constexpr std::uint16_t kComma = 44;
constexpr std::uint16_t kHyphen = 45;
constexpr std::uint16_t kFullStop = 46;
constexpr std::uint16_t kTilde = 126;
constexpr std::uint16_t kQuote = 34;

bool kind_2_or_4(std::uint8_t kind) { return kind == 2 || kind == 4; }

bool dash(std::uint16_t code) { return code == kTilde || code == kHyphen; }

// The least and greatest stroke number of a group's figures: false at a
// missing figure.
bool stroke_range(const FigureGroup& group, std::int32_t* least, std::int32_t* greatest) {
  *least = 0x7fffffff;
  *greatest = -1;
  for (const FigureRecord* f : group.figures) {
    if (f == nullptr) return false;
    *least = std::min<std::int32_t>(*least, f->stroke_index);
    *greatest = std::max<std::int32_t>(*greatest, f->stroke_index);
  }
  return true;
}

void score_quotes_and_commas(PairScoreScene& s) {
  const std::int32_t size = s.size;
  const Box16& a = s.a();
  const Box16& b = s.b();
  if (!is_punctuation_code(s.cb1) && s.ca1 == kApostrophe && b.top - a.top < size / 2) {
    s.pen(ramp(0, 1500, true, size / 2, 0, true, b.bottom - a.bottom));
  }
  if (!s.hebrew && s.ca2 == kApostrophe && s.cb2 == kApostrophe) s.pen(1000);
  const std::int32_t d = s.d_key > size ? 2 : 1;
  const std::int32_t a_mid2 = a.top + a.bottom;
  const std::int32_t b_mid2 = b.top + b.bottom;
  if (!s.marked_b && !is_punctuation_code(s.cb1) && s.ca1 == kComma && s.b18()) {
    s.pen(ramp(0, 1000, true, size / 2, 0, true, a_mid2 - b_mid2) / d);
  }
  if (!s.marked_a && !is_punctuation_code(s.ca1) && s.cb1 == kComma && s.a18()) {
    s.pen(ramp(0, 1000, true, size, 0, true, b_mid2 - a_mid2) / d);
  }
}

void score_dashes_and_quotes(PairScoreScene& s) {
  const std::int32_t third = s.wA() / 3;
  if (dash(s.ca2) && s.up > third && s.down > third) {
    s.pen(1000);
  } else if (dash(s.cb2) && s.up_in > third && s.down_in > third) {
    s.pen(1000);
  }
  const std::int32_t common = std::min(s.a().right, s.b().right) - std::max(s.a().left, s.b().left);
  if (s.cb2 == kQuote && common > s.wB() / 2 && s.d_top < s.hB() / 3) s.pen(1000);
  if (s.ca2 == kQuote && common > s.wA() / 2 && -s.d_top < s.hA() / 3) s.pen(1000);
}

// A full stop straight below its neighbour, along the slant.
void score_full_stops(PairScoreScene& s) {
  const std::int32_t theta = s.direction_a_to_b;
  if (s.ca2 == kFullStop && s.slant + 170 < theta && theta < s.slant + 190) s.pen(1800);
  const std::int32_t back = (theta + 180) % 360;
  if (s.cb2 == kFullStop && back >= 251 && back <= 289) s.pen(1800);
}

}  // namespace

void score_reading_kinds(PairScoreScene& s, RecognitionContext& context) {
  const RequestSwitches switches(context.kernel().params());
  const std::uint8_t kind_a = s.reading_a->case_kind;
  const std::uint8_t kind_b = s.reading_b->case_kind;
  if (s.linked()) {
    if (kind_2_or_4(kind_a) && !kind_2_or_4(kind_b)) s.pen(100);
  } else if (s.flag && switches.strict_kind() && kind_2_or_4(kind_a) && !kind_2_or_4(kind_b) &&
             !(s.A().own_line != 0 && s.B().own_line != 0)) {
    s.pen(100);
  }
  if (s.flag && switches.kind() && kind_a == 2 && (kind_b == 1 || kind_b == 3 || kind_b == 5)) {
    s.pen(150);
  }
}

void score_punctuation(PairScoreScene& s) {
  score_quotes_and_commas(s);
  score_dashes_and_quotes(s);
  score_full_stops(s);
}

int score_hebrew_stacking(PairScoreScene& s, std::int32_t* score) {
  if (!s.hebrew) return kOk;
  RecognitionContext& context = *s.pair.context;
  const Box16& a = s.a();
  const Box16& b = s.b();
  ProfilePairMetrics metrics;
  if (const int status = profile_pair(s.A(), s.B(), metrics); status != kOk) return status;
  const std::int32_t d1 = first_field(metrics);
  if (b.left < a.left && d1 < s.size / 7 && s.ca2 != 1497 && s.cb2 != 1503 && s.cb2 != 1511) {
    *score -= 999;
  }
  if (s.ca2 == 1493 && d1 < 0) *score -= 500;
  const bool stroke_order = RequestSwitches(context.kernel().params()).stroke_order();
  if (!stroke_order) return kOk;
  if ((!s.single_a() || !s.single_b()) && b.left > a.left) {
    std::int32_t least_a = 0, greatest_a = 0, least_b = 0, greatest_b = 0;
    if (!stroke_range(s.A(), &least_a, &greatest_a) ||
        !stroke_range(s.B(), &least_b, &greatest_b)) {
      return kBadArgument;
    }
    if (least_b > least_a) *score -= 1000;
    if (greatest_b > greatest_a) *score -= 1000;
  } else if (s.single_a() && s.single_b() && s.pair.fa->stroke_index < s.pair.fb->stroke_index) {
    *score -= 1000;
  }
  return kOk;
}

void score_stacking(PairScoreScene& s) {
  const std::int32_t size = s.size;
  const std::int32_t d3 = ramp(2 * s.H() / 3, 1, true, 2 * s.H(), 5, true, s.W()) *
                          chain_divisor(s);
  const std::int32_t m = stacking_height(s);
  if (!(3 * s.vov < 2 * s.max_h() - 2 && s.min_h() < size / 2)) return;
  if (s.part && (s.position < 3 || s.a().right < s.line_right() - size)) {
    const bool close = s.a().left - s.b().right < 3 * m / 2;
    if (3 * s.vov < m && close) s.pen(1000 / d3);
    if (5 * s.vov < m && close) s.pen(1000 / d3);
    if (s.vov < 0) s.pen(2000 / d3);
  } else if (5 * s.vov < m && !(s.position >= 3 && s.near_line_end())) {
    s.pen(500 / d3);
  }
}

}  // namespace inkrec
