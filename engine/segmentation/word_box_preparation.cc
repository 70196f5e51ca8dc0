#include "engine/segmentation/word_box_preparation.h"

#include <algorithm>
#include <cstdlib>

#include "engine/foundation/charset_ids.h"
#include "engine/foundation/interval_relation.h"
#include "engine/foundation/status.h"
#include "engine/foundation/trigonometry.h"
#include "engine/foundation/values.h"
#include "engine/records/figure_group.h"
#include "engine/records/letter_fields.h"
#include "engine/records/profile_pair.h"
#include "engine/records/recognition_context.h"
#include "engine/records/request_switches.h"
#include "engine/rules/pair_test.h"
#include "engine/segmentation/letter_path.h"

namespace inkrec {
namespace {

constexpr std::int16_t kFar = 32767;
constexpr std::uint16_t kSpace = 32;
constexpr int kInsideWord = 2;
constexpr int kBetweenWords = 4;
constexpr std::int32_t kSureMark = 5001;

// The thresholds the walk compares with, from the gaps of the figure
// output and the line settings.
struct GapMeasures {
  std::int32_t g = 0;  // mean gap of the neighbours apart
  std::int32_t s = 0;  // its spread
  std::int32_t m = 0;  // mean profile gap
  std::int32_t t = 0;  // its spread
  std::int32_t h = 0;  // letter height
  std::int32_t pairs = 0;  // neighbours with a positive least distance (P)
  std::int32_t groups = 0;  // stroke groups of the output (n)
};

std::int32_t mean_of(std::int64_t sum, std::int64_t count) {
  return count == 0 ? 0 : static_cast<std::int32_t>(sum / count);
}

// The horizontal distance of two reference points, less the lean of each
// element that slants.
std::int32_t slanted_distance(std::int32_t dx, std::int32_t slant_a, std::int32_t height_a,
                              std::int32_t slant_b, std::int32_t height_b) {
  if (slant_a > 0) dx -= slant_a * height_a / 200;
  if (slant_b > 0) dx -= slant_b * height_b / 200;
  return dx;
}

struct GroupPlace {
  std::int32_t x = 0;
  std::int32_t slant = 0;
  std::int32_t height = 0;
};

int place_of(FigureGroup& group, GroupPlace* place) {
  if (group.geometry == nullptr) return kBadArgument;
  int status = kOk;
  const MarkBlock& marks = element_mark_block(group, &status);
  if (status != kOk) return status;
  place->x = reference_point(*group.geometry).x;
  place->slant = slant_value(marks);
  place->height = group.geometry->bounding_box().height();
  return kOk;
}

// The neighbours of the output that the statistics read: on one text line,
// the first without a space after it.
bool counts_as_neighbours(const FigureGroup& a, const FigureGroup& b) {
  return group_line(a) == group_line(b) && a.break_after != FigureGroup::kSpaceAfter;
}

int gather_statistics(RecognitionContext& context, const PtrArray<FigureGroup>& groups,
                      WordBoxList& list, GapMeasures* gaps) {
  WordBoxStatistics& stats = list.statistics;
  const bool mirrored = context.kernel().right_to_left();
  std::int64_t least_sum = 0, gap_sum = 0, x_sum = 0, measure_sum = 0;
  std::int64_t apart = 0, measured = 0;
  DynArray<std::int32_t> distances;  // d of each counted pair, or -1
  for (std::uint32_t k = 0; k + 1 < groups.size(); ++k) {
    FigureGroup* a = groups[k];
    FigureGroup* b = groups[k + 1];
    if (a == nullptr || b == nullptr) return kBadArgument;
    if (!counts_as_neighbours(*a, *b)) continue;
    const GapRecord* gap = context.gaps().item_checked(k);
    if (gap == nullptr) return kBadArgument;
    GroupPlace pa, pb;
    if (const int status = place_of(*a, &pa); status != kOk) return status;
    if (const int status = place_of(*b, &pb); status != kOk) return status;
    const std::int32_t dx = mirrored ? pa.x - pb.x : pb.x - pa.x;
    const std::int32_t d = slanted_distance(dx, pa.slant, pa.height, pb.slant, pb.height);
    if (gap->least_distance > 0) {
      least_sum += gap->least_distance;
      ++gaps->pairs;
      if (gaps->pairs == 1 || gap->least_distance < stats.least_distance_low) {
        stats.least_distance_low = gap->least_distance;
        stats.x_gap_at_low = gap->x_gap;
      }
      if (gap->least_distance > stats.least_distance_high) {
        stats.least_distance_high = gap->least_distance;
        stats.x_gap_at_high = gap->x_gap;
      }
    }
    if (d >= 0) {
      gap_sum += d;
      x_sum += gap->x_gap;
      ++apart;
    }
    const bool profile = gap->profile_gap != GapRecord::kNoProfileGap && gap->profile_gap >= 0;
    if (profile) {
      measure_sum += gap->profile_gap;
      ++measured;
    }
    if (distances.push_back(d) != kOk || distances.push_back(profile ? gap->profile_gap : -1) !=
                                             kOk) {
      return kOutOfMemory;
    }
  }
  stats.least_distance_mean = saturate_int16(mean_of(least_sum, gaps->pairs));
  stats.x_gap_mean = saturate_int16(mean_of(x_sum, apart));
  gaps->g = mean_of(gap_sum, apart);
  gaps->m = mean_of(measure_sum, measured);
  std::int64_t gap_spread = 0, measure_spread = 0;
  for (std::uint32_t k = 0; k < distances.size(); k += 2) {
    if (distances[k] >= 0) gap_spread += std::int64_t{gaps->g - distances[k]} * (gaps->g - distances[k]);
    if (distances[k + 1] >= 0) {
      measure_spread += std::int64_t{distances[k + 1] - gaps->m} * (distances[k + 1] - gaps->m);
    }
  }
  gaps->s = int_sqrt(mean_of(gap_spread, apart));
  gaps->t = int_sqrt(mean_of(measure_spread, measured));
  gaps->h = context.letter_height();
  gaps->groups = static_cast<std::int32_t>(groups.size());
  return kOk;
}

// ---- The walk.

struct MetStroke {
  std::uint16_t stroke = 0;
  std::uint32_t position = 0;
};

// What the walk knows of a candidate.
struct CandidateView {
  FigureRecord* figure = nullptr;
  PackedPoint point;
  Box16 box;
  std::int32_t slant = 0;
};

CandidateView view_of(FigureRecord& figure) {
  CandidateView view;
  view.figure = &figure;
  view.point = reference_point(figure.geometry);
  view.box = figure.geometry.bounding_box();
  view.slant = slant_value(figure_mark_block(figure));
  return view;
}

class BoxWalk {
 public:
  BoxWalk(RecognitionContext& context, const CharClassTables& classes, WordBoxList& list,
          const GapMeasures& gaps)
      : context_(context), classes_(classes), list_(list), gaps_(gaps) {}

  int run();

 private:
  WordBox& current() { return list_.boxes.back(); }
  int open_first_box();
  int walk_line(std::uint32_t l);
  int walk_candidate(std::uint32_t l, std::uint32_t i);
  int stroke_met_again(std::uint32_t l, std::uint32_t first_position);
  int measure_later_strokes(const CandidateView& e, const CandidateView& n);
  StrokeRecord* stroke_numbered(std::uint16_t number);
  StrokeRecord* stroke_ordered(std::int32_t order_key);
  int add_record(std::uint32_t line, std::uint32_t position, std::uint32_t kind,
                 std::int16_t measure);
  int open_box(std::uint32_t line, std::uint32_t position, std::int16_t measure);
  bool word_break_joins(std::int32_t d, std::int32_t v, bool wide) const;
  std::uint32_t gap_inside_box(std::int32_t d) const;
  int stroke_box_record(std::uint32_t l, std::uint32_t i, const CandidateView& e,
                        const CandidateView& n, std::int32_t d, bool* made);
  int punctuation_readings(std::uint32_t l, std::uint32_t i);
  int mark_reading(std::uint32_t l, std::uint32_t i, FigureGroup& result, std::int16_t answer,
                   std::uint16_t code, std::int32_t total, bool* opened);

  RecognitionContext& context_;
  const CharClassTables& classes_;
  WordBoxList& list_;
  const GapMeasures& gaps_;
  DynArray<MetStroke> met_;
  std::uint32_t c_ = 0;  // candidates met
  std::int32_t prev_ = kFar;
  // The measures of the candidate being walked.
  std::int32_t q_ = kFar;
  std::int32_t q_after_ = kFar;
  std::int32_t v_ = kFar;
  Box16 a_;
  Box16 b_;
  bool later_ = false;  // a stroke written after the candidate's lies on its line
  bool same_group_ = false;
  std::uint32_t last_line_ = 0;
  std::uint32_t last_position_ = 0;
};

int BoxWalk::run() {
  if (const int status = open_first_box(); status != kOk) return status;
  DynArray<TextLine>& lines = context_.text_lines();
  for (std::uint32_t l = 0; l < lines.size(); ++l) {
    if (const int status = walk_line(l); status != kOk) return status;
    if (l + 1 < lines.size()) {
      const int status =
          add_record(l + 1, 0, BoxSegment::kLineStart, BoxSegment::kLineStartMeasure);
      if (status != kOk) return status;
    }
  }
  WordBox& box = current();
  box.last_line = static_cast<std::int16_t>(last_line_);
  box.last_position = static_cast<std::int16_t>(last_position_);
  box.end_index = c_;
  return kOk;
}

int BoxWalk::open_first_box() {
  WordBox* box = list_.boxes.push_default();
  if (box == nullptr) return kOutOfMemory;
  BoxSegment* record = box->records.push_default();
  if (record == nullptr) return kOutOfMemory;
  record->kind = BoxSegment::kBoxStart;
  return kOk;
}

// A record "at a candidate" stands before the candidate after it: callers
// pass that candidate's position.
int BoxWalk::add_record(std::uint32_t line, std::uint32_t position, std::uint32_t kind,
                        std::int16_t measure) {
  BoxSegment* record = current().records.push_default();
  if (record == nullptr) return kOutOfMemory;
  record->line = static_cast<std::uint16_t>(line);
  record->position = static_cast<std::uint16_t>(position);
  record->kind = kind;
  record->measure = measure;
  record->candidate_index = c_;
  return kOk;
}

int BoxWalk::open_box(std::uint32_t line, std::uint32_t position, std::int16_t measure) {
  WordBox& ending = current();
  ending.last_line = static_cast<std::int16_t>(line);
  ending.last_position = static_cast<std::int16_t>(position);
  ending.end_index = c_;
  WordBox* box = list_.boxes.push_default();
  if (box == nullptr) return kOutOfMemory;
  box->measure = measure;
  box->first_line = static_cast<std::int16_t>(line);
  box->first_position = static_cast<std::int16_t>(position + 1);
  return add_record(line, position + 1, BoxSegment::kBoxStart, BoxSegment::kNoMeasure);
}

int BoxWalk::walk_line(std::uint32_t l) {
  met_.clear();
  prev_ = kFar;
  const std::uint32_t count = context_.text_lines()[l].candidates.size();
  for (std::uint32_t i = 0; i < count; ++i) {
    if (const int status = walk_candidate(l, i); status != kOk) return status;
  }
  return kOk;
}

// A stroke met again on its line takes back the records after its first
// candidate; a box whose first record that would take goes as a whole,
// and the box before it is open again until the walk closes it.
int BoxWalk::stroke_met_again(std::uint32_t l, std::uint32_t first_position) {
  std::uint32_t k = 0;
  while (k < current().records.size()) {
    const BoxSegment& record = current().records[k];
    if (record.line != l || record.position <= first_position) {
      ++k;
      continue;
    }
    if (k > 0) {
      if (const int status = current().records.erase(k, 1); status != kOk) return status;
      continue;
    }
    if (list_.boxes.size() < 2) {
      ++k;
      continue;
    }
    list_.boxes.pop_back();
    current().last_line = WordBox::kOpenBound;
    current().last_position = WordBox::kOpenBound;
    current().end_index = 0;
    k = 1;
  }
  return kOk;
}

StrokeRecord* BoxWalk::stroke_numbered(std::uint16_t number) {
  for (StrokeRecord& stroke : context_.strokes()) {
    if (stroke.number == number) return &stroke;
  }
  return nullptr;
}

StrokeRecord* BoxWalk::stroke_ordered(std::int32_t order_key) {
  for (StrokeRecord& stroke : context_.strokes()) {
    if (stroke.order_key == order_key) return &stroke;
  }
  return nullptr;
}

// q: the least distance from the candidate's stroke to the strokes written
// after it on its line (q_after: to those written after the next
// candidate's stroke); v: how far the next candidate lies along the
// writing; A and B: the boxes of the candidate's stroke and of the later
// strokes.
int BoxWalk::measure_later_strokes(const CandidateView& e, const CandidateView& n) {
  const FigureRecord& figure = *e.figure;
  StrokeRecord* own = stroke_numbered(stroke_number(figure));
  if (own == nullptr || own->order_key < 0) return kBadArgument;
  a_ = own->geometry.bounding_box();
  const StrokeRecord* next_stroke = stroke_numbered(stroke_number(*n.figure));
  const std::int32_t next_key = next_stroke == nullptr ? kFar : next_stroke->order_key;
  const std::int32_t strokes = static_cast<std::int32_t>(context_.strokes().size());
  for (std::int32_t k = own->order_key + 1; k < strokes; ++k) {
    StrokeRecord* later = stroke_ordered(k);
    if (later == nullptr) return kBadArgument;
    if (std::any_of(met_.begin(), met_.end(),
                    [&](const MetStroke& m) { return m.stroke == later->number; })) {
      continue;
    }
    if (later->line_index != own->line_index) break;
    const Box16 box = later->geometry.bounding_box();
    if (!later_) {
      b_ = box;
    } else {
      if (box.left < b_.left) {
        b_.left = box.left;
        if (box.right >= b_.right) b_.right = box.right;
      }
      IntervalRelation overlap;
      overlap.compute(box.left, box.right, b_.left, b_.right);
      if (overlap.overlap() >= b_.width() / 2 && box.right > b_.right) b_.right = box.right;
    }
    later_ = true;
    const int index = pair_index(context_.pair_table(), stroke_number(figure), later->number);
    if (index < 0) return kBadArgument;
    const PairMetrics* entry = context_.pair_table().at(stroke_number(figure), later->number);
    const PairMetrics unmeasured;
    if (entry == nullptr) entry = &unmeasured;
    const std::int64_t dp =
        std::abs(std::int64_t{entry->measures[0]} * int_sin(entry->angle + 90)) / 1000;
    q_ = std::min<std::int32_t>(q_, saturate_int16(dp));
    if (k > next_key) q_after_ = std::min<std::int32_t>(q_after_, saturate_int16(dp));
    const std::int64_t u = std::abs(n.point.x - e.point.x) +
                           std::int64_t{e.point.y - n.point.y} *
                               int_sin(slant_measure(figure.geometry) + 90) / 1000;
    v_ = std::min<std::int32_t>(v_, saturate_int16(std::max<std::int64_t>(u, 0)));
  }
  return kOk;
}

// Rules 1 to 3 of a space the letter search saw: the strokes lie close
// enough for one word after all.
bool BoxWalk::word_break_joins(std::int32_t d, std::int32_t v, bool wide) const {
  const GapMeasures& x = gaps_;
  const bool many = x.pairs > x.groups / 6;
  if (v <= x.h / 2 || wide) return false;
  if (q_ < x.m - x.t / 2 && q_ < x.g - x.s / 2 && (many || d < x.g + 3 * x.s / 2)) return true;
  if (q_ < x.m - x.t && q_ < x.g - x.s && (many || d < x.g + 2 * x.s)) return true;
  return q_ < x.m / 3;
}

// The kind of record a gap inside a box gives, 0 for none.
std::uint32_t BoxWalk::gap_inside_box(std::int32_t d) const {
  const GapMeasures& x = gaps_;
  const std::int32_t mean_least = list_.statistics.least_distance_mean;
  const bool found =
      (d > x.g + 18 * x.s / 10 && d > 14 * x.g / 10 && q_ > x.m - x.t / 3) ||
      (d > x.g + x.s / 3 && x.pairs > x.groups / 2 && q_ > 14 * mean_least / 10 && q_ >= x.m) ||
      (d > x.g + x.s && q_ > x.m + x.t / 3 && d > 12 * x.g / 10) ||
      (x.pairs < x.groups / 4 && d > x.g + x.s / 2 && q_ > x.m && q_ > x.h / 2) ||
      (d > 14 * x.g / 10 && q_ > 13 * x.m / 10 && q_ > 14 * mean_least / 10);
  if (!found) return 0;
  return !same_group_ && d > x.g + x.s && q_ > x.m ? BoxSegment::kWideGap : BoxSegment::kInside;
}

// Rules 1 to 5 of wide strokes written apart.
int BoxWalk::stroke_box_record(std::uint32_t l, std::uint32_t i, const CandidateView& e,
                               const CandidateView& n, std::int32_t d, bool* made) {
  *made = false;
  const GapMeasures& x = gaps_;
  const std::int32_t h = x.h;
  const std::int32_t wa = a_.width();
  const std::int32_t wb = b_.width();
  const std::int32_t gap = b_.left - a_.right;
  FigureView view_e, view_n;
  view_e.init(*e.figure);
  view_n.init(*n.figure);
  ProfilePairMetrics metrics;
  metrics.init();
  measure_profile_pair(view_e, view_n, metrics);
  const std::int32_t r17 = metrics.mean_gap;
  bool found = (wa + wb > 3 * h && d > h && q_ > 2 * h / 3 && gap >= 2 * h / 3) ||
               (wa > 3 * h && wb > 3 * h && wa + wb > 8 * h && d > 7 * h / 10 &&
                q_ > 3 * h / 10 &&
                (gap - 1 >= h / 2 || list_.statistics.least_distance_mean >= 2 * h / 3 - x.t)) ||
               ((wa > 3 * h || wb > 3 * h) && wa + wb > 6 * h && d > h && q_ >= 9 * h / 20 &&
                gap >= 35 * h / 100) ||
               (d > h && r17 > h && q_ >= 3 * h / 10 && gap > 0 && r17 > x.m + x.t);
  if (!found && stroke_number(*n.figure) >= stroke_number(*e.figure) + 2) {
    const std::span<const std::uint32_t> charsets = context_.kernel().active_charsets();
    bool between_left = true;
    for (const FigureRecord* other : context_.text_lines()[l].candidates) {
      if (other == nullptr) return kBadArgument;
      const std::uint16_t s = stroke_number(*other);
      if (s > stroke_number(*e.figure) && s < stroke_number(*n.figure) &&
          other->geometry.bounding_box().right >= a_.right) {
        between_left = false;
      }
    }
    found = std::find(charsets.begin(), charsets.end(), kEnglish) != charsets.end() &&
            between_left && q_ >= 9 * h / 20 && d >= 3 * h / 4 && r17 >= x.m - x.t / 8 &&
            wa + wb > 4 * h && (wa > 2 * h || wb > 2 * h);
  }
  if (!found) return kOk;
  *made = true;
  return add_record(l, i + 1, BoxSegment::kWideGap, saturate_int16(q_));
}

int BoxWalk::walk_candidate(std::uint32_t l, std::uint32_t i) {
  TextLine& line = context_.text_lines()[l];
  FigureRecord* figure = line.candidates[i];
  if (figure == nullptr) return kBadArgument;
  FigureRecord* next = i + 1 < line.candidates.size() ? line.candidates[i + 1] : nullptr;
  ++c_;
  last_line_ = l;
  last_position_ = i;
  const std::uint16_t stroke = stroke_number(*figure);
  const auto met = std::find_if(met_.begin(), met_.end(),
                                [&](const MetStroke& m) { return m.stroke == stroke; });
  if (met == met_.end()) {
    if (met_.push_back({stroke, i}) != kOk) return kOutOfMemory;
  } else if (const int status = stroke_met_again(l, met->position); status != kOk) {
    return status;
  }
  FigureGroup* own = nullptr;
  for (LetterResult* result : line.letter_results) {
    if (result != nullptr && result->coverage.count() == 1 && result->coverage.test(i)) {
      own = result;
      break;
    }
  }
  if (own == nullptr) return kBadArgument;
  if (next != nullptr && stroke_number(*next) == stroke) return kOk;
  q_ = q_after_ = v_ = kFar;
  later_ = false;
  same_group_ = false;
  a_ = b_ = Box16();
  const CandidateView e = view_of(*figure);
  CandidateView n;
  if (next != nullptr) {
    n = view_of(*next);
    same_group_ = word_group_index(*next) >= 0 && word_group_index(*next) == word_group_index(*figure);
    if (const int status = measure_later_strokes(e, n); status != kOk) return status;
  }
  if (q_ > 2 * prev_) q_ = prev_;
  prev_ = q_after_;
  const GapMeasures& x = gaps_;
  bool join = (q_ < 3 * x.g / 10 && v_ < 11 * list_.statistics.x_gap_mean / 10) || q_ < 1;
  const std::int32_t d = next == nullptr ? 0
                                         : slanted_distance(std::abs(e.point.x - n.point.x),
                                                            e.slant, e.box.height(), n.slant,
                                                            n.box.height());
  const bool body_and_link = RequestSwitches(context_.kernel().params()).body_and_link();
  if (!join && next != nullptr && own->break_after == FigureGroup::kSpaceAfter) {
    const std::int32_t v = std::min(e.box.bottom, n.box.bottom) - std::max(e.box.top, n.box.top);
    const bool wide = body_and_link && later_ && a_.width() >= 2 * x.h && b_.width() >= 2 * x.h;
    join = word_break_joins(d, v, wide);
    if (!join) {
      if (same_group_ || q_ < x.g + 2 * x.s || q_ < x.m + 2 * x.t) {
        return add_record(l, i + 1, BoxSegment::kInside, saturate_int16(q_));
      }
      return open_box(l, i, saturate_int16(q_));
    }
    return punctuation_readings(l, i);
  }
  if (next == nullptr) return punctuation_readings(l, i);
  if (const std::uint32_t kind = gap_inside_box(d); kind != 0) {
    return add_record(l, i + 1, kind, saturate_int16(q_));
  }
  if (body_and_link && later_) {
    bool made = false;
    if (const int status = stroke_box_record(l, i, e, n, d, &made); status != kOk || made) {
      return status;
    }
  }
  return punctuation_readings(l, i);
}

// Marks that may end a word: a space read by the letter search opens a box;
// a sure reading of a mark that ends words puts a record after it (or
// joins the record already there).
int BoxWalk::punctuation_readings(std::uint32_t l, std::uint32_t i) {
  TextLine& line = context_.text_lines()[l];
  if (i + 1 >= line.candidates.size()) return kOk;
  same_group_ = false;
  for (LetterResult* result : line.letter_results) {
    std::uint32_t low = 0, high = 0;
    if (result == nullptr) return kBadArgument;
    if (!result->coverage.lowest_bit(&low) || !result->coverage.highest_bit(&high)) {
      return kBadArgument;
    }
    if (high != i || high - low + 1 != result->coverage.count() || !result->has_answers()) {
      continue;
    }
    const DynArray<Answer>& answers = result->answers->answers();
    for (std::uint32_t a = 0; a < answers.size(); ++a) {
      const Answer& answer = answers[a];
      bool opened = false;
      int status = mark_reading(l, i, *result, static_cast<std::int16_t>(a), answer.codes[0],
                                answer.total(), &opened);
      if (status == kOk && !opened && answer.flag != 0 && a == 0) {
        status = mark_reading(l, i, *result, -1, answer.saved_codes[0],
                              answer.total() + answer.components[Answer::kPenaltyComponent],
                              &opened);
      }
      if (status != kOk || opened) return status;
    }
  }
  return kOk;
}

int BoxWalk::mark_reading(std::uint32_t l, std::uint32_t i, FigureGroup& result,
                          std::int16_t answer, std::uint16_t code, std::int32_t total,
                          bool* opened) {
  TextLine& line = context_.text_lines()[l];
  const FigureRecord* figure = line.candidates[i];
  if (answer <= 0 && code == kSpace) {
    const FigureRecord* after = line.candidates.item_checked(i + 1);
    if (after == nullptr) return kBadArgument;
    if (stroke_number(*after) == stroke_number(*figure)) return kOk;
    const bool same = word_group_index(*after) >= 0 &&
                      word_group_index(*after) == word_group_index(*figure);
    if (!same) {
      *opened = true;
      return open_box(l, i, saturate_int16(q_));
    }
  }
  // Rule 2: a sure reading of a mark that ends words.
  if (total < kSureMark || (classes_.punctuation_class(code) & kBetweenWords) == 0) return kOk;
  FigureGroup* after = nullptr;
  for (LetterResult* other : line.letter_results) {
    if (other != nullptr && other->coverage.count() == 1 && other->coverage.test(i + 1)) {
      after = other;
      break;
    }
  }
  if (after == nullptr) return kBadArgument;
  int refused = 0;
  if (const int status = test_element_pair_cached(&context_, after, &result, &refused);
      status != kOk) {
    return status;
  }
  if (same_group_ || refused != 0) {
    if (current().records.empty()) return kBadArgument;
    BoxSegment& record = current().records.back();
    if (record.groups.push_back(&result) != kOk || record.answers.push_back(answer) != kOk) {
      return kOutOfMemory;
    }
    return kOk;
  }
  if (const int status = add_record(l, i + 1, BoxSegment::kAfterMark, saturate_int16(q_));
      status != kOk) {
    return status;
  }
  BoxSegment& record = current().records.back();
  if (record.groups.push_back(&result) != kOk || record.answers.push_back(answer) != kOk) {
    return kOutOfMemory;
  }
  same_group_ = true;
  return kOk;
}

// ---- Merging and pruning.

// Boxes of a few candidates at the start or end of a line join their
// neighbour.
int merge_short_boxes(RecognitionContext& context, WordBoxList& list) {
  const WordBoxStatistics& stats = list.statistics;
  std::uint32_t i = 0;
  while (i < list.boxes.size() && list.boxes.size() > 1) {
    const WordBox& box = list.boxes[i];
    const TextLine* line =
        context.text_lines().item_checked(static_cast<std::uint32_t>(box.first_line));
    if (box.first_line < 0 || line == nullptr) return kBadArgument;
    const std::int64_t k = line->candidates.size();
    const std::int32_t measure = box.measure;
    if (i > 0 && box.first_position + 4 >= k &&
        (measure < 2 * stats.least_distance_high || measure < stats.x_gap_at_high ||
         measure < 4 * stats.least_distance_mean || measure < 2 * stats.x_gap_mean)) {
      if (const int status = merge_word_boxes(list, i - 1); status != kOk) return status;
      --i;
    } else if (box.last_position <= 4 && i + 1 < list.boxes.size()) {
      if (const int status = merge_word_boxes(list, i); status != kOk) return status;
    } else {
      ++i;
    }
  }
  return kOk;
}

// Whether every reading of the letter results of the line that the test
// picks reads a mark that ends words or stands inside them.
template <typename Picks>
bool all_marks(const TextLine& line, const CharClassTables& classes, Picks picks) {
  for (const LetterResult* result : line.letter_results) {
    std::uint32_t low = 0, high = 0;
    if (result == nullptr || !result->coverage.lowest_bit(&low) ||
        !result->coverage.highest_bit(&high)) {
      continue;
    }
    const int pick = picks(low, high);
    if (pick < 0) continue;
    if (pick > 0) break;
    if (!result->has_answers()) continue;
    for (const Answer& answer : result->answers->answers()) {
      if ((classes.punctuation_class(answer.codes[0]) & (kBetweenWords | kInsideWord)) == 0) {
        return false;
      }
    }
  }
  return true;
}

std::uint32_t candidates_of(RecognitionContext& context, std::uint32_t line) {
  const TextLine* text = context.text_lines().item_checked(line);
  return text == nullptr ? 0 : text->candidates.size();
}

// Tries the records after record k; removes records k.. before the first
// near one whose stretch reads only marks. *removed tells.
int prune_after(RecognitionContext& context, const CharClassTables& classes, WordBox& box,
                std::uint32_t k, bool* removed) {
  *removed = false;
  const BoxSegment& rk = box.records[k];
  const std::uint32_t count_l = candidates_of(context, rk.line);
  const TextLine* line_l = context.text_lines().item_checked(rk.line);
  if (line_l == nullptr) return kBadArgument;
  for (std::uint32_t j = k + 1; j <= box.records.size(); ++j) {
    const bool at_end = j == box.records.size();
    const BoxSegment* rj = at_end ? nullptr : &box.records[j];
    bool near = false;
    if (at_end) {
      near = rk.line == box.last_line && std::int64_t{count_l} - rk.position <= 3;
    } else if (rj->line == rk.line) {
      near = rj->position - rk.position <= 3;
    } else if (rj->line == rk.line + 1u) {
      near = std::int64_t{count_l} - 1 - rk.position + rj->position <= 3;
    }
    if (!near) return kOk;
    const std::uint32_t line_j = at_end ? static_cast<std::uint32_t>(box.last_line) : rj->line;
    const TextLine* text_j = context.text_lines().item_checked(line_j);
    const std::uint32_t position_j =
        at_end ? static_cast<std::uint32_t>(box.last_position) : rj->position;
    const bool before_exists =
        text_j != nullptr && (position_j > 0 ? text_j->candidates.item_checked(position_j - 1)
                                             : line_l->candidates.item_checked(count_l - 1)) !=
                                 nullptr;
    if (!before_exists) return kBadArgument;
    bool ok = all_marks(*line_l, classes, [&](std::uint32_t low, std::uint32_t) {
      return low < rk.position ? -1 : low > rk.position ? 1 : 0;
    });
    const bool ends_line = (at_end || position_j == 0) && box.last_position < 1;
    if (ok && rk.line != text_j->id - 1 && !ends_line) {
      ok = all_marks(*text_j, classes,
                     [&](std::uint32_t, std::uint32_t high) { return high < position_j ? 0 : -1; });
    }
    if (ok && rk.kind != BoxSegment::kBoxStart && rk.kind != BoxSegment::kLineStart) {
      *removed = true;
      return box.records.erase(k, j - k);
    }
  }
  return kOk;
}

// The group of the output that starts at the record, when there is one.
bool group_starts_at(const PtrArray<FigureGroup>& groups, const BoxSegment& record) {
  for (const FigureGroup* group : groups) {
    std::uint32_t first = 0;
    if (group != nullptr && group->coverage.lowest_bit(&first) &&
        group_line(*group) == record.line && first == record.position) {
      return true;
    }
  }
  return false;
}

int prune_records(RecognitionContext& context, const PtrArray<FigureGroup>& groups,
                  const CharClassTables& classes, WordBoxList& list) {
  for (WordBox& box : list.boxes) {
    std::uint32_t k = 1;
    while (k < box.records.size()) {
      bool removed = false;
      if (const int status = prune_after(context, classes, box, k, &removed); status != kOk) {
        return status;
      }
      if (!removed) ++k;
    }
    for (BoxSegment& record : box.records) {
      record.own_group = group_starts_at(groups, record) ? 1 : 0;
    }
  }
  return kOk;
}

bool has_text(RecognitionContext& context) {
  DynArray<TextLine>& lines = context.text_lines();
  return !lines.empty() && std::all_of(lines.begin(), lines.end(), [](const TextLine& line) {
    return !line.candidates.empty();
  });
}

}  // namespace

int merge_word_boxes(WordBoxList& list, std::uint32_t i) {
  if (i + 1 >= list.boxes.size()) return kBadArgument;
  WordBox& box = list.boxes[i];
  WordBox& next = list.boxes[i + 1];
  box.last_line = next.last_line;
  box.last_position = next.last_position;
  box.end_index = next.end_index;
  for (BoxSegment& record : next.records) {
    if (record.kind == BoxSegment::kBoxStart) {
      record.kind = BoxSegment::kMergedStart;
      record.measure = next.measure;
    }
    if (box.records.push_back(std::move(record)) != kOk) return kOutOfMemory;
  }
  return list.boxes.erase(i + 1, 1);
}

int prepare_segmentation(RecognitionContext& context, const PtrArray<FigureGroup>& groups,
                         const CharClassTables& classes, WordBoxList& list) {
  list.clear();
  if (!has_text(context)) return kOk;
  GapMeasures gaps;
  int status = gather_statistics(context, groups, list, &gaps);
  if (status == kOk) status = BoxWalk(context, classes, list, gaps).run();
  if (status == kOk) status = merge_short_boxes(context, list);
  if (status == kOk) status = prune_records(context, groups, classes, list);
  if (status != kOk) list.clear();
  return status;
}

}  // namespace inkrec
