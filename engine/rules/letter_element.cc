#include "engine/rules/letter_element.h"

#include <algorithm>
#include <span>

#include "engine/database/pair_variants.h"
#include "engine/foundation/status.h"
#include "engine/records/extremum_summary.h"

namespace inkrec {
namespace {

// The mark the letter rules leave in every answer they rewrite.
constexpr std::uint32_t kLetterRuleMark = 1;
// A rewritten reading is one code.
constexpr std::uint8_t kOneCode = 1;

std::int32_t offset_in_band(const Box16& box, std::int32_t upper, std::int32_t lower) {
  const std::int64_t band = lower - upper == 0 ? 1 : lower - upper;
  return static_cast<std::int32_t>(50 * (std::int64_t{upper} + lower - box.top - box.bottom) /
                                   band);
}

}  // namespace

int LetterElement::measure() {
  if (group_.geometry == nullptr || group_.figures.size() == 0 || group_.figures[0] == nullptr) {
    return kBadArgument;
  }
  box_ = geometry().bounding_box();
  const std::span<FigureRecord* const> figures{group_.figures.data(), group_.figures.size()};
  extrema_ = ExtremumSequence::from_strokes(figures, state_.context.stroke_extrema());
  if (extrema_.status != kOk) return extrema_.status;
  if (const int status = build_figure_flags(figures, state_.context.stroke_extrema(), box_,
                                            top() + third(), bottom() - third(), info_);
      status != kOk) {
    return status;
  }
  band_offset_ = offset_in_band(box_, upper(), lower());
  return kOk;
}

PointSpan LetterElement::points(std::int32_t i) const {
  const FigureRecord* f = figure(i);
  return f == nullptr ? PointSpan{} : f->run.span();
}

Box16 LetterElement::figure_box(std::int32_t i) const {
  const FigureRecord* f = figure(i);
  return f == nullptr ? Box16{} : f->geometry.bounding_box();
}

bool LetterElement::first_figure_read() const {
  return !figure(0)->candidates[0].answers().empty();
}

bool LetterElement::ends_line() const {
  std::uint32_t last = 0;
  if (!position_set(group_).highest_bit(&last)) return false;
  return std::uint64_t{last} + 1 == state_.line.candidates.size();
}

bool LetterElement::charset_active(std::uint32_t id) const {
  const std::span<const std::uint32_t> active = state_.context.kernel().active_charsets();
  return std::find(active.begin(), active.end(), id) != active.end();
}

bool LetterElement::admitted(std::int32_t from, std::int32_t to) const {
  const RunKernel& kernel = state_.context.kernel();
  const DataStore* store = kernel.data_store();
  if (store == nullptr) return false;
  const PairCandidate candidate{best().flag, best().key};
  return collect_pair_variants(kernel.active_charsets(), *store, from, to, candidate,
                               kernel.supplied_pair_ids()) == 1;
}

int LetterElement::replace(CodeTriple codes, std::int32_t penalty) {
  return rewrite_answer_entry(group_, 0, codes.current, codes.upper, codes.lower, kLetterRuleMark,
                              penalty, kOneCode, nullptr);
}

int LetterElement::alternative(CodeTriple codes, std::int32_t penalty) {
  return rewrite_answer_entry_alt(group_, 0, codes.current, codes.upper, codes.lower,
                                  kLetterRuleMark, penalty, kOneCode, nullptr);
}

}  // namespace inkrec
