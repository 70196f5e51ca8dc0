// The compound test.

#include "engine/rules/compound_test.h"

#include "engine/database/property_flags.h"
#include "engine/foundation/interval_relation.h"
#include "engine/foundation/polylines.h"
#include "engine/foundation/status.h"
#include "engine/foundation/trigonometry.h"
#include "engine/records/letter_fields.h"

namespace inkrec {
namespace {

constexpr std::uint32_t kCandidateFilter = 0x40;  // property bit 6

// Whether the pieces of the group lie apart, pair by pair, measured once.
class ApartPairs {
 public:
  ApartPairs(const FigureGroup& group, const CompoundLine& line) : group_(group), line_(line) {}

  int reserve() {
    const std::int64_t n = group_.figures.size();
    return known_.resize(static_cast<std::uint32_t>(n * (n - 1) / 2), kUnknown);
  }

  // kOk with *apart for figures i != j.
  int apart(std::uint32_t i, std::uint32_t j, bool* apart) {
    std::int8_t& known =
        known_[static_cast<std::uint32_t>(pair_index(group_.figures.size(), i, j))];
    if (known == kUnknown) {
      std::int32_t least = 0;
      std::int32_t link = 0;
      if (const int status = measure(*group_.figures[i], *group_.figures[j], &least, &link);
          status != kOk) {
        return status;
      }
      known = link >= 0 && least > line_.reference_height / 10 ? 1 : 0;
    }
    *apart = known == 1;
    return kOk;
  }

 private:
  static constexpr std::int8_t kUnknown = -1;

  int measure(const FigureRecord& a, const FigureRecord& b, std::int32_t* least,
              std::int32_t* link) const {
    if (a.whole_stroke != 0 && b.whole_stroke != 0) {
      if (line_.figure_pairs == nullptr) return kBadArgument;
      const PairMetrics* entry = line_.figure_pairs->at(body_index(a), body_index(b));
      if (entry == nullptr) return kBadArgument;
      *least = entry->measures[0];
      *link = entry->link_distance;
      return kOk;
    }
    const PolylineDistances d = polyline_distances_boxed(a.run.span(), a.geometry.bounding_box(),
                                                         b.run.span(), b.geometry.bounding_box());
    *least = d.overall;
    *link = d.overall;
    return kOk;
  }

  const FigureGroup& group_;
  const CompoundLine& line_;
  DynArray<std::int8_t> known_;
};

struct CompoundFlags {
  bool wide = false;       // a piece as wide as 2/3 of the group
  bool stacked = true;     // every later piece under the first
  bool chained = true;     // no piece apart from the one before it
  bool clustered = false;  // a piece that no other lies apart from
};

// Whether figure i lies under the first figure: left of its right edge and
// overlapping its span, moved along the slant, by more than 5/12 of its
// width.
bool stacked_under_first(const FigureRecord& first, const FigureRecord& figure,
                         std::int32_t tangent) {
  const Box16 f = first.geometry.bounding_box();
  const Box16 b = figure.geometry.bounding_box();
  if (b.right >= f.right) return false;
  const std::int64_t rise = std::int64_t{top_key(first.geometry)} - top_key(figure.geometry);
  const std::int32_t shift = static_cast<std::int32_t>(rise * tangent / 1000);
  IntervalRelation relation;
  make_interval_relation(relation, f.left + shift, f.right + shift, b.left, b.right);
  return relation.overlap() > 5 * b.width() / 12;
}

// Whether no other figure of the group lies apart from figure i.
int near_all_others(ApartPairs& pairs, std::uint32_t i, std::uint32_t n, bool* near) {
  *near = true;
  for (std::uint32_t j = 0; j < n && *near; ++j) {
    if (j == i) continue;
    bool apart = false;
    if (const int status = pairs.apart(i, j, &apart); status != kOk) return status;
    if (apart) *near = false;
  }
  return kOk;
}

int walk(const FigureGroup& group, const Box16& box, const CompoundLine& line, ApartPairs& pairs,
         CompoundFlags* flags) {
  const std::uint32_t n = group.figures.size();
  const std::int32_t tangent = scale_by_tangent(line.angle - 90, 1000);
  const FigureRecord* first = group.figures[0];
  for (std::uint32_t i = 0; i < n; ++i) {
    const FigureRecord* figure = group.figures[i];
    if (figure == nullptr || first == nullptr) return kBadArgument;
    if (figure->geometry.bounding_box().width() >= 2 * box.width() / 3) flags->wide = true;
    if (i > 0 && flags->stacked) flags->stacked = stacked_under_first(*first, *figure, tangent);
    if (i > 0 && flags->chained) {
      bool apart = false;
      if (const int status = pairs.apart(i - 1, i, &apart); status != kOk) return status;
      if (apart) flags->chained = false;
    }
    if (!flags->clustered) {
      bool near = false;
      if (const int status = near_all_others(pairs, i, n, &near); status != kOk) return status;
      flags->clustered = near;
    }
  }
  return kOk;
}

int charge(AnswerList& letters, AnswerList& full_letters, std::int32_t amount,
           std::uint32_t filter) {
  if (const int status = letters.add_cost_where(-amount, PropertyFlags(filter)); status != kOk)
    return status;
  return full_letters.add_cost_where(-amount, PropertyFlags(filter));
}

}  // namespace

int apply_compound_test(const FigureGroup& group, const Box16& box, const CompoundLine& line,
                        AnswerList& letters, AnswerList& full_letters) {
  const std::uint32_t n = group.figures.size();
  if (n < 2) return kOk;
  ApartPairs pairs(group, line);
  if (const int status = pairs.reserve(); status != kOk) return status;
  CompoundFlags flags;
  if (const int status = walk(group, box, line, pairs, &flags); status != kOk) return status;
  if (n > 4) return kOk;
  const std::int32_t amount = static_cast<std::int32_t>(n + 1) * 100;
  const std::int32_t ref = line.reference_height;
  const std::int32_t w = box.width();
  if (flags.wide || (flags.stacked && w < 2 * ref)) {
    if (const int status = charge(letters, full_letters, amount, kCandidateFilter); status != kOk)
      return status;
  }
  const bool wide_group = w >= 5 * ref / 2 && w >= 7 * box.height() / 4;
  if (group.one_figure_mark != 0 && (flags.chained || flags.clustered) && !wide_group)
    return charge(letters, full_letters, amount, 0);
  return kOk;
}

}  // namespace inkrec
