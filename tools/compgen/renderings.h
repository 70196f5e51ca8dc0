// The two renderings of the composition-table data in the design text.
//
// The named rendering gives the shared code lists by their codes and every
// pattern and composition by the names of the lists it is built from, with
// the fill of every charset slot. The literal rendering spells out every
// third- and fourth-unit constant by its codes, names the letter lists, and
// gives the fills with the constants of the first two units only counted.
// Both use the names kPatternU3_01, kCompositionU4_02 and so on (the named
// rendering's kThirdUnitPattern01 and kFourthUnitComposition02 are renamed
// when read). Rows are found by their shape wherever they stand in a
// document. A parse keeps what it finds and lists every line it could not
// read in `errors`, so an extract of a document parses as well as the whole.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "tools/compgen/design_text.h"

namespace compgen {

// A pattern of the first unit placeholders in a literal fill list.
inline constexpr std::string_view kFirstUnit = "<first unit>";
inline constexpr std::string_view kSecondUnit = "<second unit>";

enum class Start { kEmpty, kCommonSet, kCopyOfSlot };

struct Fill {
  int charset = -1;
  std::string name;  // "Russian", "digits"
  Start start = Start::kEmpty;
  int source_slot = -1;
  std::vector<std::string> patterns;
  std::vector<std::string> compositions;
  bool prefixed = false;  // filled before the prefixed copies are added
  // The stated pattern counts, checked against the lists (named rendering).
  int stated_start = -1;
  int stated_own = -1;
  int stated_after_step = -1;
  int stated_at_end = -1;
};

struct NamedPattern {
  std::vector<std::string> lists;
  std::u16string characters;
  int stated_length = -1;
};

struct NamedComposition {
  std::u16string letters;
  std::vector<std::string> lists;
};

struct NamedRendering {
  std::map<std::string, Codes> code_lists;
  std::vector<std::string> code_list_order;
  std::map<std::string, NamedPattern> patterns;
  std::map<std::string, NamedComposition> compositions;
  std::vector<std::string> common_set;
  std::vector<Fill> fills;
};

struct LiteralPattern {
  std::vector<Codes> positions;
  std::u16string characters;
};

struct LiteralComposition {
  std::string letter_list;
  std::vector<Codes> positions;
};

struct LiteralRendering {
  std::map<std::string, LiteralPattern> patterns;
  std::map<std::string, std::u16string> letter_lists;
  std::map<std::string, LiteralComposition> compositions;
  std::vector<std::string> common_set;
  std::vector<Fill> fills;
};

NamedRendering parse_named(std::string_view text, std::vector<std::string>* errors);
LiteralRendering parse_literal(std::string_view text, std::vector<std::string>* errors);

}  // namespace compgen
