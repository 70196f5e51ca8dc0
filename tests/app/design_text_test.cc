// The committed extract of the design text in its two renderings: they
// agree with each other (with the two letter differences resolved), and
// the generated constants agree with them. A change to either rendering is
// caught and named.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/composition/code_pattern.h"
#include "app/composition/composition.h"
#include "app/composition/fourth_unit.h"
#include "app/composition/shared_code_lists.h"
#include "app/composition/table_fills.h"
#include "app/composition/third_unit.h"
#include "tools/compgen/design_text.h"
#include "tools/compgen/renderings.h"
#include "tools/compgen/table_data.h"

namespace ductra {
namespace {

std::string fixture(const std::string& name) {
  std::ifstream in(std::string(DUCTRA_TEST_DATA_DIR) + "/" + name, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string replaced(std::string text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

std::vector<std::vector<std::uint16_t>> positions_of(const CodePattern& pattern) {
  std::vector<std::vector<std::uint16_t>> positions;
  for (const CodeList& list : pattern.positions()) {
    positions.emplace_back(list.codes().begin(), list.codes().end());
  }
  return positions;
}

class DesignTextTest : public ::testing::Test {
 protected:
  std::vector<std::string> cross_check(const std::string& named_text,
                                       const std::string& literal_text) {
    std::vector<std::string> errors;
    named_ = compgen::parse_named(named_text, &errors);
    literal_ = compgen::parse_literal(literal_text, &errors);
    EXPECT_TRUE(errors.empty()) << errors.front();
    result_ = compgen::cross_check(named_, literal_);
    return result_.disagreements;
  }

  const std::string named_text_ = fixture("composition_design_named.md");
  const std::string literal_text_ = fixture("composition_design_literal.md");
  compgen::NamedRendering named_;
  compgen::LiteralRendering literal_;
  compgen::CheckResult result_;
};

TEST_F(DesignTextTest, TheRenderingsAgree) {
  EXPECT_EQ(cross_check(named_text_, literal_text_), std::vector<std::string>{});
  EXPECT_EQ(literal_.patterns.size(), 4u);
  EXPECT_EQ(literal_.compositions.size(), 4u);
  EXPECT_EQ(literal_.fills.size(), 4u);
  EXPECT_EQ(named_.fills.size(), 4u);
  EXPECT_EQ(named_.common_set.size(), 30u);
  // The literal list of kCompositionU3_04 holds c; the named rendering's a, e,
  // u are those of the composition before it.
  EXPECT_EQ(result_.letter_lists.at("kLettersU3_04"), u"c");
  // The literal rendering gives distinct letters only; the list keeps all 14.
  EXPECT_EQ(result_.letter_lists.at("kLettersU3_43").size(), 14u);
  EXPECT_EQ(literal_.letter_lists.at("kLettersU3_43").size(), 12u);
}

TEST_F(DesignTextTest, TheGeneratedConstantsAreTheExtractsData) {
  ASSERT_EQ(cross_check(named_text_, literal_text_), std::vector<std::string>{});
  const std::pair<std::string, const PatternEntry*> patterns[] = {
      {"kPatternU3_03", &kPatternU3_03},
      {"kPatternU3_36", &kPatternU3_36},
      {"kPatternU4_40", &kPatternU4_40},
      {"kPatternU4_41", &kPatternU4_41},
  };
  for (const auto& [name, entry] : patterns) {
    SCOPED_TRACE(name);
    const CodePattern pattern(*entry);
    EXPECT_EQ(positions_of(pattern), literal_.patterns.at(name).positions);
    EXPECT_EQ(std::u16string(pattern.characters()), literal_.patterns.at(name).characters);
  }
  const std::pair<std::string, const CompositionEntry*> compositions[] = {
      {"kCompositionU3_01", &kCompositionU3_01},
      {"kCompositionU3_04", &kCompositionU3_04},
      {"kCompositionU3_48", &kCompositionU3_48},
      {"kCompositionU4_02", &kCompositionU4_02},
  };
  for (const auto& [name, entry] : compositions) {
    SCOPED_TRACE(name);
    const Composition composition(*entry);
    const compgen::LiteralComposition& literal = literal_.compositions.at(name);
    EXPECT_EQ(positions_of(composition.pattern()), literal.positions);
    EXPECT_EQ(composition.letters().letters(), result_.letter_lists.at(literal.letter_list));
  }
  const CodeList wildcard(kAnyCode);
  EXPECT_TRUE(wildcard.equals(named_.code_lists.at("kAnyCode")));
  EXPECT_EQ(std::size(kCommonSet), named_.common_set.size());
  EXPECT_EQ(std::size(kSlot25Patterns), named_.fills[2].patterns.size());
}

TEST_F(DesignTextTest, ADifferenceIsNamed) {
  struct Case {
    bool in_named;
    std::string from;
    std::string to;
    std::string disagreement;
  };
  const Case cases[] = {
      {false, "| `kPatternU3_03` | {0x382, 0x383, 0x384}", "| `kPatternU3_03` | {0x382, 0x384, 0x383}",
       "kPatternU3_03: the codes differ"},
      {true, "| `kCodeList37` | 0x0376 | 1 |", "| `kCodeList37` | 0x0377 | 1 |",
       "kPatternU3_36: the codes differ"},
      {false, "letter list | a, o, u |", "letter list | a, o |",
       "kCompositionU3_01: the letters differ (U+0061 U+006F U+0075 / U+0061 U+006F)"},
      {true, "U+0416, U+0436, U+002A", "U+0416, U+002A",
       "kPatternU4_40: the characters differ (U+0416 U+002A / U+0416 U+0436 U+002A)"},
      {false, "| `fill_hebrew` | 26 Hebrew | nothing | `kPatternU4_50`, `kPatternU4_51`",
       "| `fill_hebrew` | 26 Hebrew | nothing | `kPatternU4_51`, `kPatternU4_50`",
       "slot 26: the patterns differ"},
      {true, "`kFourthUnitPattern64`, `kFourthUnitPattern43`, `kCommonPattern01`",
       "`kFourthUnitPattern43`, `kFourthUnitPattern64`, `kCommonPattern01`",
       "the common set differs"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.disagreement);
    const std::string named = c.in_named ? replaced(named_text_, c.from, c.to) : named_text_;
    const std::string literal = c.in_named ? literal_text_ : replaced(literal_text_, c.from, c.to);
    EXPECT_EQ(cross_check(named, literal), std::vector<std::string>{c.disagreement});
  }
}

TEST(ConstantListTest, ReadsNamesRangesAndCountedPlaceholders) {
  using Names = std::vector<std::string>;
  EXPECT_EQ(compgen::constant_list("none"), Names{});
  EXPECT_EQ(compgen::constant_list("`kPatternU3_08` to `kPatternU3_10`, `kPatternU4_01`."),
            (Names{"kPatternU3_08", "kPatternU3_09", "kPatternU3_10", "kPatternU4_01"}));
  EXPECT_EQ(compgen::constant_list("two patterns of the first unit, `kPatternU4_51`"),
            (Names{"<first unit>", "<first unit>", "kPatternU4_51"}));
  EXPECT_EQ(compgen::constant_list("`kPatternU3_10` to `kPatternU3_08`"), std::nullopt);
  EXPECT_EQ(compgen::constant_list("some patterns"), std::nullopt);
}

}  // namespace
}  // namespace ductra
