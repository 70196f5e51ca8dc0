// Cross-checking the two renderings of the composition-table data and
// resolving them into the one set of constants the generated sources hold.
//
// Where both renderings give a constant, its codes, characters and letters
// must agree. The literal rendering lists only the distinct letters of a
// letter list, so a named composition whose letters repeat one agrees with
// it when its distinct letters do; it keeps all its letters. The few
// compositions listed in kLetterListWins keep the letters of the list the
// literal rendering builds them from where the named rendering differs.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/compgen/renderings.h"

namespace compgen {

inline constexpr std::string_view kLetterListWins[] = {"kCompositionU3_04"};

struct CheckResult {
  std::vector<std::string> disagreements;
  // The letters of every letter list that a composition of both renderings
  // is built from, as resolved.
  std::map<std::string, std::u16string> letter_lists;
};

// Compares every constant and fill that both renderings give.
CheckResult cross_check(const NamedRendering& named, const LiteralRendering& literal);

struct PatternData {
  std::string name;
  std::vector<std::string> lists;
  std::u16string characters;
};

struct LetterListData {
  std::string name;
  std::u16string letters;
};

struct CompositionData {
  std::string name;
  std::string letter_list;
  std::vector<std::string> lists;
};

struct TableData {
  std::vector<std::pair<std::string, Codes>> code_lists;
  std::vector<PatternData> first_unit_patterns;
  std::vector<PatternData> third_unit_patterns;
  std::vector<LetterListData> third_unit_letters;
  std::vector<CompositionData> third_unit_compositions;
  std::vector<PatternData> fourth_unit_patterns;
  std::vector<LetterListData> fourth_unit_letters;
  std::vector<CompositionData> fourth_unit_compositions;
  std::vector<std::string> common_set;
  std::vector<Fill> fills;
};

// The whole data, when both renderings are complete and agree; otherwise
// nullopt with the reasons in `errors`.
std::optional<TableData> resolve(const NamedRendering& named, const LiteralRendering& literal,
                                 std::vector<std::string>* errors);

}  // namespace compgen
