// The letter rules of punctuation codes: the backspace, the apostrophe, the
// asterisk, the comma, the hyphen, the full stop, the slash, the digit one,
// the colon and semicolon, the closing brace and the tilde.

#include <algorithm>

#include "engine/foundation/charset_ids.h"
#include "engine/foundation/status.h"
#include "engine/rules/letter_rule_book.h"
#include "engine/rules/letter_rules.h"

namespace inkrec {
namespace {

// One stroke, read by the letter evaluation as well, hanging from the
// upper line by at least half a letter and ending the line: written like a
// comma.
bool comma_at_line_end(const LetterElement& e) {
  return e.stroke_count() == 1 && e.first_figure_read() && e.flag() && e.ends_line() &&
         e.top_below_upper(e.ref() / 2);
}

bool upright_stick(const LetterElement& e) { return e.shape_class() == 3 || e.shape_class() == 4; }

// The mean height of the pane's strokes just before and just after the
// element's strokes, with whether there was any.
struct NeighbourHeight {
  bool found = false;
  std::int32_t mean = 0;
};

NeighbourHeight neighbour_stroke_height(const LetterElement& e) {
  std::int32_t first = e.figure(0)->stroke_index;
  std::int32_t last = first;
  for (std::int32_t i = 1; i < e.stroke_count(); ++i) {
    if (e.figure(i) == nullptr) continue;
    first = std::min<std::int32_t>(first, e.figure(i)->stroke_index);
    last = std::max<std::int32_t>(last, e.figure(i)->stroke_index);
  }
  DynArray<StrokeRecord>& strokes = e.state().context.strokes();
  std::int64_t sum = 0;
  std::int32_t count = 0;
  for (const std::int64_t k : {std::int64_t{first} - 1, std::int64_t{last} + 1}) {
    if (k < 0 || k >= strokes.size()) continue;
    sum += box_of_points(strokes[static_cast<std::uint32_t>(k)].run.span()).height();
    ++count;
  }
  if (count == 0) return {};
  return {true, static_cast<std::int32_t>(sum / count)};
}

}  // namespace

int backspace_rule(LetterElement& e) {
  if (comma_at_line_end(e) && e.admitted(8, 44)) return e.alternative(same_code(44), -1);
  if (e.charset_active(kHebrew) && e.admitted(8, 45)) return e.alternative(same_code(45), -10000);
  return kOk;
}

int apostrophe_rule(LetterElement& e) {
  if (e.stroke_count() != 1 || !e.flag() || e.width() <= 2 * e.height()) return kOk;
  return e.admitted(39, 45) ? e.alternative(same_code(45), -1) : kOk;
}

int asterisk_rule(LetterElement& e) {
  if (!e.charset_active(kRussian) || e.height() < (2 * e.ref()) / 3 || !e.band_set()) return kOk;
  const std::int32_t centre = (e.top() + e.bottom()) / 2;
  if (centre <= e.upper() || centre >= e.lower() || !e.admitted(42, 1078)) return kOk;
  const std::uint16_t current = e.height() >= (4 * e.ref()) / 3 ? 1078 : 1046;
  return e.replace({current, 1046, 1078}, -200);
}

int comma_rule(LetterElement& e) {
  if (e.stroke_count() != 1 || e.key() != 485) return kOk;
  if (e.charset_active(kHebrew)) {
    return e.admitted(44, 1497) ? e.alternative(same_code(1497), -1) : kOk;
  }
  return e.admitted(44, 46) ? e.alternative(same_code(46), -1) : kOk;
}

int hyphen_rule(LetterElement& e) {
  if (!e.charset_active(kHebrew) || !e.admitted(45, 8)) return kOk;
  return e.alternative(same_code(8), -10000);
}

int full_stop_code_rule(LetterElement& e) {
  if (e.stroke_count() != 1 || e.key() != 484) return kOk;
  if (e.charset_active(kHebrew) && (e.width() < e.ref() / 3 || e.width() < 2 * e.height())) {
    return e.admitted(46, 1497) ? e.alternative(same_code(1497), -1) : kOk;
  }
  if (e.ends_line() && e.width() >= e.height() && e.height() < e.ref() / 4) {
    return e.admitted(46, 45) ? e.alternative(same_code(45), -10) : kOk;
  }
  return e.alternative(same_code(44), -1);
}

int slash_rule(LetterElement& e) {
  if (!upright_stick(e)) return kOk;
  const std::int32_t refh = e.refh();
  if (e.charset_active(kDigits) && e.height() < refh * 110 / 100 &&
      (e.direction() < 115 || e.height() < refh * 80 / 100)) {
    return e.replace(same_code(49), 0);
  }
  if (comma_at_line_end(e) && e.admitted(47, 44)) return e.alternative(same_code(44), 2);
  return kOk;
}

int digit_one_rule(LetterElement& e) {
  if (!upright_stick(e)) return kOk;
  const NeighbourHeight neighbours = neighbour_stroke_height(e);
  const bool taller_than_neighbours = neighbours.found && e.height() > neighbours.mean * 160 / 100;
  if ((e.height() >= e.refh() * 110 / 100 || taller_than_neighbours) && e.direction() > 109) {
    return e.replace(same_code(47), 0);
  }
  return kOk;
}

// Two marks one above the other. A lower mark as tall as two thirds of a
// letter and at least twice as tall as it is wide is a stem: below the
// line a j, hooked (replaced) or straight (an alternative); on the line an
// i, with a small dot above it (replaced) or a larger one (an
// alternative). Otherwise a colon whose lower mark is a tail half as tall
// again as it is wide and as the upper mark is a semicolon, and a
// semicolon whose lower mark is a round dot no taller than half as much
// again as the upper one is a colon.
int colon_rule(LetterElement& e) {
  if (e.stroke_count() != 2 || e.figure(1) == nullptr) return kOk;
  std::int32_t low = 1;
  if (e.figure_box(1).top < e.figure_box(0).top) low = 0;
  const Box16 dot = e.figure_box(1 - low);
  const Box16 mark = e.figure_box(low);
  const std::uint16_t code = e.code();
  if (mark.height() >= (2 * e.ref()) / 3 && mark.height() > 2 * mark.width()) {
    if (e.band_set() && mark.bottom - e.lower() > mark.height() / 3) {
      if (!e.admitted(code, 106)) return kOk;
      const PointSpan stem = e.points(low);
      const bool hooked = !stem.empty() && stem.front().x - stem.back().x > mark.height() / 4;
      return hooked ? e.replace(letter(106, 74), -1) : e.alternative(letter(106, 74), -200);
    }
    if (!e.admitted(code, 105)) return kOk;
    const bool small_dot = dot.height() < mark.height() / 3;
    return small_dot ? e.replace(letter(105, 73), -1) : e.alternative(letter(105, 73), -200);
  }
  if (code == 58 && 2 * mark.height() > 3 * mark.width() && 2 * mark.height() > 3 * dot.height()) {
    return e.replace(same_code(59), 0);
  }
  const bool round = mark.height() < 2 * mark.width() && mark.width() < 2 * mark.height();
  if (code == 59 && round && 2 * mark.height() <= 3 * dot.height() && e.admitted(59, 58)) {
    return e.replace(same_code(58), -1);
  }
  return kOk;
}

int closing_brace_rule(LetterElement& e) {
  if (e.stroke_count() != 1 || !e.first_figure_read() || !e.flag() ||
      !e.top_below_upper((10 * e.ref()) / 30) || !e.admitted(125, 44)) {
    return kOk;
  }
  return e.alternative(same_code(44), e.ends_line() ? 2 : -2);
}

int tilde_rule(LetterElement& e) {
  if (e.stroke_count() != 1 || !e.admitted(126, 45)) return kOk;
  return e.alternative(same_code(45), 1);
}

}  // namespace inkrec
