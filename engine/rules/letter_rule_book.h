// The rules of single characters that apply_letter_rules (letter_rules.h)
// dispatches to, one function per rule body, shared by the files that hold
// them (letter_rules_*.cc). Not for callers.
//
// Each takes the measured element and returns 0 when it rewrote the best
// answer or found nothing to do, or the status of a failed rewrite. A rule
// body serving several codes tests the code again where its branches
// differ.
#pragma once

#include "engine/rules/letter_element.h"

namespace inkrec {

using LetterRule = int (*)(LetterElement&);

// Punctuation.
int backspace_rule(LetterElement& e);       // 8
int apostrophe_rule(LetterElement& e);      // 39
int asterisk_rule(LetterElement& e);        // 42
int comma_rule(LetterElement& e);           // 44
int hyphen_rule(LetterElement& e);          // 45
int full_stop_code_rule(LetterElement& e);  // 46
int slash_rule(LetterElement& e);           // 47
int digit_one_rule(LetterElement& e);       // 49
int colon_rule(LetterElement& e);           // 58, 59
int closing_brace_rule(LetterElement& e);   // 125
int tilde_rule(LetterElement& e);           // 126

// Digits.
int digit_one_or_four_rule(LetterElement& e);  // 49, before digit_one_rule
int digit_two_six_rule(LetterElement& e);  // 50, 54
int digit_three_rule(LetterElement& e);  // 51
int digit_seven_rule(LetterElement& e);  // 55

// Latin letters, and the Cyrillic letters sharing their bodies.
int capital_a_rule(LetterElement& e);  // 65
int capital_e_rule(LetterElement& e);  // 69
int capital_i_rule(LetterElement& e);  // 73
int m_rule(LetterElement& e);          // 77, 109
int v_r_rule(LetterElement& e);        // 86, 114, 118
int u_y_rule(LetterElement& e);        // 89, 117, 121, 1091
int a_g_rule(LetterElement& e);        // 97, 103, 1072, 1076
int c_rule(LetterElement& e);          // 99, 1077, 1089
int e_l_rule(LetterElement& e);        // 101, 108
int f_rule(LetterElement& e);          // 102
int h_rule(LetterElement& e);          // 104
int i_rule(LetterElement& e);          // 105
int j_rule(LetterElement& e);          // 106

// Cyrillic letters.
int cyrillic_ge_rule(LetterElement& e);        // 1043
int cyrillic_ze_rule(LetterElement& e);        // 1047
int cyrillic_i_rule(LetterElement& e);         // 1048, 1080, 1099
int cyrillic_el_rule(LetterElement& e);        // 1051
int cyrillic_ha_pe_rule(LetterElement& e);     // 1061, 1087, 1093
int cyrillic_ge_che_rule(LetterElement& e);    // 1075, 1095
int cyrillic_small_ze_rule(LetterElement& e);  // 1079
int cyrillic_small_el_rule(LetterElement& e);  // 1083
int cyrillic_en_rule(LetterElement& e);        // 1085
int cyrillic_o_rule(LetterElement& e);         // 1086
int cyrillic_sha_rule(LetterElement& e);       // 1096

// Greek and Hebrew letters, and the enclosed letters.
int greek_alpha_rule(LetterElement& e);        // 913, 945
int greek_lambda_rule(LetterElement& e);       // 923
int greek_omicron_rule(LetterElement& e);      // 927, 959
int greek_upsilon_psi_rule(LetterElement& e);  // 933, 936
int greek_iota_rule(LetterElement& e);         // 943
int greek_sigma_rule(LetterElement& e);        // 963
int greek_phi_rule(LetterElement& e);          // 966
int hebrew_rule(LetterElement& e);             // 1493, 1497, 1503, 1512
int enclosed_n_rule(LetterElement& e);         // 9385
int enclosed_w_rule(LetterElement& e);         // 9394

}  // namespace inkrec
