#include "engine/rules/letter_rules.h"

#include <algorithm>
#include <array>

#include "engine/foundation/status.h"
#include "engine/rules/letter_rule_book.h"

namespace inkrec {
namespace {

struct DispatchEntry {
  std::uint16_t code;
  LetterRule rule;  // null: the code has no rule of its own
};

// By ascending code.
constexpr DispatchEntry kDispatch[] = {
    {8, backspace_rule},
    {39, apostrophe_rule},
    {42, asterisk_rule},
    {44, comma_rule},
    {45, hyphen_rule},
    {46, full_stop_code_rule},
    {47, slash_rule},
    {49, digit_one_or_four_rule},
    {50, digit_two_six_rule},
    {51, digit_three_rule},
    {54, digit_two_six_rule},
    {55, digit_seven_rule},
    {58, colon_rule},
    {59, colon_rule},
    {65, capital_a_rule},
    {69, capital_e_rule},
    {73, capital_i_rule},
    {77, m_rule},
    {86, v_r_rule},
    {89, u_y_rule},
    {97, a_g_rule},
    {99, c_rule},
    {101, e_l_rule},
    {102, f_rule},
    {103, a_g_rule},
    {104, h_rule},
    {105, i_rule},
    {106, j_rule},
    {108, e_l_rule},
    {109, m_rule},
    {114, v_r_rule},
    {115, nullptr},
    {116, nullptr},
    {117, u_y_rule},
    {118, v_r_rule},
    {121, u_y_rule},
    {125, closing_brace_rule},
    {126, tilde_rule},
    {913, greek_alpha_rule},
    {923, greek_lambda_rule},
    {927, greek_omicron_rule},
    {933, greek_upsilon_psi_rule},
    {936, greek_upsilon_psi_rule},
    {943, greek_iota_rule},
    {945, greek_alpha_rule},
    {959, greek_omicron_rule},
    {963, greek_sigma_rule},
    {966, greek_phi_rule},
    {1043, cyrillic_ge_rule},
    {1047, cyrillic_ze_rule},
    {1048, cyrillic_i_rule},
    {1051, cyrillic_el_rule},
    {1061, cyrillic_ha_pe_rule},
    {1072, a_g_rule},
    {1075, cyrillic_ge_che_rule},
    {1076, a_g_rule},
    {1077, c_rule},
    {1079, cyrillic_small_ze_rule},
    {1080, cyrillic_i_rule},
    {1083, cyrillic_small_el_rule},
    {1085, cyrillic_en_rule},
    {1086, cyrillic_o_rule},
    {1087, cyrillic_ha_pe_rule},
    {1089, c_rule},
    {1091, u_y_rule},
    {1093, cyrillic_ha_pe_rule},
    {1095, cyrillic_ge_che_rule},
    {1096, cyrillic_sha_rule},
    {1099, cyrillic_i_rule},
    {1493, hebrew_rule},
    {1497, hebrew_rule},
    {1503, hebrew_rule},
    {1512, hebrew_rule},
    {9385, enclosed_n_rule},
    {9394, enclosed_w_rule},
};

constexpr bool ascending_codes() {
  for (std::size_t i = 1; i < std::size(kDispatch); ++i) {
    if (kDispatch[i - 1].code >= kDispatch[i].code) return false;
  }
  return true;
}
static_assert(ascending_codes());

LetterRule rule_of(std::uint16_t code) {
  const auto* entry =
      std::lower_bound(std::begin(kDispatch), std::end(kDispatch), code,
                       [](const DispatchEntry& e, std::uint16_t c) { return e.code < c; });
  return entry != std::end(kDispatch) && entry->code == code ? entry->rule : nullptr;
}

// A small, roughly square element whose answer no rule rewrote may be a
// full stop.
int full_stop_rule(LetterElement& e) {
  const Answer& best = e.best();
  if (shape_measure(e.geometry()) >= e.ref() / 2) return kOk;
  if (best.codes[0] != best.saved_codes[0]) return kOk;
  if (e.height() >= 2 * e.width() || e.width() >= 2 * e.height()) return kOk;
  if (shape_percent(e.geometry()) <= 300) return kOk;
  return e.alternative(same_code(46), -1);
}

}  // namespace

int apply_letter_rules(FragmentState& state, FigureGroup& group) {
  if (!group.has_answers()) return kOk;
  LetterElement element(state, group);
  if (const int status = element.measure(); status != kOk) return status;
  if (const LetterRule rule = rule_of(element.code()); rule != nullptr) {
    if (const int status = rule(element); status != kOk) return status;
  }
  return full_stop_rule(element);
}

int apply_letter_rules_to_all(FragmentState& state) {
  PtrArray<LetterResult>& results = state.line.letter_results;
  for (std::uint32_t i = 0; i < results.size(); ++i) {
    if (results[i] == nullptr) return kBadArgument;
    if (const int status = apply_letter_rules(state, *results[i]); status != kOk) return status;
  }
  return kOk;
}

Box16 box_of_points(PointSpan points) {
  if (points.empty()) return Box16{};
  const PackedPoint first = points.front();
  Box16 box{first.x, first.y, first.x, first.y};
  for (std::int32_t i = 1; i < points.size(); ++i) {
    const PackedPoint p = points[i];
    box.left = std::min(box.left, p.x);
    box.top = std::min(box.top, p.y);
    box.right = std::max(box.right, p.x);
    box.bottom = std::max(box.bottom, p.y);
  }
  return box;
}

}  // namespace inkrec
