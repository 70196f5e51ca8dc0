// The letter rules of the digits one, two, three, six and seven: shapes of
// them that are other digits written in a way of their own (a four written
// in two strokes, a five whose bar was written apart, a one with a long
// flag).

#include "engine/foundation/charset_ids.h"
#include "engine/foundation/status.h"
#include "engine/rules/letter_rule_book.h"

namespace inkrec {
namespace {

// Whether figure k is a flat bar, at least twice as wide as it is tall,
// whose middle lies in the top third of the element.
bool bar_across_top(const LetterElement& e, std::int32_t k) {
  const Box16 bar = e.figure_box(k);
  const std::int32_t middle = (bar.top + bar.bottom) / 2;
  return 2 * bar.height() <= bar.width() && middle - e.top() < e.height() / 3;
}

// A one of two strokes whose other stroke comes down from the top beyond
// the middle, well left of the stem, is a four written in two strokes; the
// second stroke of a one written so is a foot in its lower half.
bool open_four(const LetterElement& e) {
  if (e.stroke_count() != 2 || !e.charset_active(kDigits) || e.figure(1) == nullptr) return false;
  const Box16 first = e.figure_box(0);
  const Box16 second = e.figure_box(1);
  // The stem is the one taller for its width.
  const bool first_is_stem = first.height() * second.width() >= second.height() * first.width();
  const Box16 stem = first_is_stem ? first : second;
  const Box16 other = first_is_stem ? second : first;
  const std::int32_t h = e.height();
  return other.top - e.top() < h / 3 && other.bottom - e.top() > h / 2 &&
         stem.center_x() - other.left > h / 4;
}

}  // namespace

// A one of two strokes shaped as an open four is a four; any other goes on
// to the rule of the one.
int digit_one_or_four_rule(LetterElement& e) {
  if (open_four(e)) return e.replace(same_code(52), 0);
  return digit_one_rule(e);
}

// A two or a six of two strokes shaped as an open four is a four: neither
// is written so.
int digit_two_six_rule(LetterElement& e) {
  return open_four(e) ? e.replace(same_code(52), 0) : kOk;
}

// A three of two strokes, one of them a flat bar across the top, is a five
// whose bar was written apart: a three is written in one stroke.
int digit_three_rule(LetterElement& e) {
  if (e.stroke_count() != 2 || !e.charset_active(kDigits) || e.figure(1) == nullptr) return kOk;
  if (!bar_across_top(e, 0) && !bar_across_top(e, 1)) return kOk;
  return e.replace(same_code(53), 0);
}

// A seven of one stroke at most a third as wide as it is tall is a one
// written with a long flag: the bar of a seven is far wider.
int digit_seven_rule(LetterElement& e) {
  if (e.stroke_count() != 1 || !e.charset_active(kDigits) || 3 * e.width() > e.height()) {
    return kOk;
  }
  return e.replace(same_code(49), 0);
}

}  // namespace inkrec
