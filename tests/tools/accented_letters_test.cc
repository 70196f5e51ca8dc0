// The accented Latin charsets of the default data (data/qlmain.dt): each
// holds the English letters and its own, and every accented letter is a
// composite rule for each way of writing its Latin letter (an English
// variant), whose second part is a mark the charset reads as a detail.
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <tuple>

#include "engine/database/data_store.h"
#include "engine/foundation/status.h"

namespace inkrec {
namespace {

const std::string kDefaultData = std::string(INKREC_TEST_DATA_DIR) + "/../../data/qlmain.dt";
constexpr std::uint32_t kEnglish = 5;
constexpr std::uint32_t kAbove = 1;
constexpr std::uint32_t kBelowOrThrough = 2;

class AccentedLettersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(store_.status(), kOk);
    for (std::uint32_t i = 0; i < store_.variant_count(); ++i) {
      const Variant* variant = store_.variant_at(i);
      if (variant->menuc == 0) {
        details_[variant->idSet].insert(variant->shape_id);
      } else if (variant->idSet == kEnglish && variant->cursive_flag == 0) {
        // A cursive variant is a letter as written inside a joined word,
        // not a way of writing the letter alone.
        english_shapes_[variant->menuc].insert(variant->shape_id);
      }
    }
    for (std::uint32_t i = 0; i < store_.complex_variant_count(); ++i) {
      const ComplexVariant* rule = store_.complex_variant_at(i);
      rules_[{rule->set, rule->symbol_id}].push_back(rule);
    }
  }

  // The mark shapes of the rules for a letter in a charset, after checking
  // that the rules cover every way of writing the Latin letter exactly once
  // and agree on the mark, its copies and its side.
  std::tuple<std::uint16_t, int, std::uint32_t> mark_of(std::uint32_t charset, char16_t letter,
                                                        char16_t latin) {
    const auto found = rules_.find({charset, letter});
    if (found == rules_.end()) {
      ADD_FAILURE() << "no rule";
      return {};
    }
    std::set<std::uint16_t> firsts;
    const ComplexVariant& rule = *found->second.front();
    for (const ComplexVariant* each : found->second) {
      EXPECT_EQ(each->menuc, letter);
      EXPECT_EQ(each->kind, 1u);     // the first part is a letter of another charset
      EXPECT_EQ(each->rec_mode, 0);  // parts named by their shapes
      EXPECT_EQ(each->first_component, each->reference_id);
      EXPECT_EQ(each->second_component, each->detail_shape_id);
      EXPECT_EQ(std::tie(each->detail_shape_id, each->cnt, each->add),
                std::tie(rule.detail_shape_id, rule.cnt, rule.add));
      EXPECT_TRUE(firsts.insert(each->reference_id).second) << each->reference_id;
    }
    if (latin == u'i') {
      EXPECT_EQ(firsts, std::set<std::uint16_t>{830});  // the stem, without its dot
    } else {
      EXPECT_EQ(firsts, english_shapes_[latin]);
    }
    EXPECT_TRUE(details_[charset].contains(rule.detail_shape_id)) << rule.detail_shape_id;
    return {rule.detail_shape_id, rule.cnt, rule.add};
  }

  DataStore store_{kDefaultData.c_str(), 0, 0, 0};
  std::map<char16_t, std::set<std::uint16_t>> english_shapes_;
  std::map<std::uint32_t, std::set<std::uint16_t>> details_;  // by charset
  std::map<std::pair<std::uint32_t, std::uint16_t>, std::vector<const ComplexVariant*>> rules_;
};

TEST_F(AccentedLettersTest, EachLetterIsItsLatinLetterAndItsMark) {
  struct Case {
    std::uint32_t charset;
    char16_t letter, latin, same_mark_as;
    int copies;
    std::uint32_t sides;
  };
  // same_mark_as: a letter of another row whose mark must be the same shape.
  const Case cases[] = {
      {7, u'é', u'e', u'é', 1, kAbove},   {7, u'è', u'e', u'è', 1, kAbove},
      {7, u'ê', u'e', u'ê', 1, kAbove},   {7, u'ç', u'c', u'ç', 1, kBelowOrThrough},
      {6, u'ä', u'a', u'ä', 2, kAbove},   {6, u'Ü', u'U', u'ä', 2, kAbove},
      {11, u'ż', u'z', u'ä', 1, kAbove},  {11, u'ą', u'a', u'ą', 1, kBelowOrThrough},
      {11, u'ł', u'l', u'ł', 1, kBelowOrThrough}, {11, u'ó', u'o', u'é', 1, kAbove},
      {12, u'ő', u'o', u'é', 2, kAbove},  {10, u'ř', u'r', u'ř', 1, kAbove},
      {10, u'ů', u'u', u'ů', 1, kAbove},  {8, u'ñ', u'n', u'ñ', 1, kAbove},
      {8, u'í', u'i', u'é', 1, kAbove},   {15, u'İ', u'I', u'ä', 1, kAbove},
      {27, u'ș', u's', u'ș', 1, kBelowOrThrough}, {21, u'ā', u'a', u'ā', 1, kAbove},
      {24, u'Å', u'A', u'ů', 1, kAbove},  {42, u'ø', u'o', u'ł', 1, kBelowOrThrough},
  };
  std::map<char16_t, std::uint16_t> marks;
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.letter));
    const auto [mark, copies, sides] = mark_of(c.charset, c.letter, c.latin);
    EXPECT_EQ(copies, c.copies);
    EXPECT_EQ(sides, c.sides);
    marks.emplace(c.letter, mark);
    EXPECT_EQ(mark, marks[c.same_mark_as]);
  }
  // Twelve different marks among the rows (acute, grave, circumflex,
  // cedilla, dot, ogonek, stroke, caron, ring, tilde, comma, macron).
  std::set<std::uint16_t> distinct;
  for (const auto& [letter, mark] : marks) distinct.insert(mark);
  EXPECT_EQ(distinct.size(), 12u);
}

TEST_F(AccentedLettersTest, EachCharsetHoldsTheEnglishLettersAndItsOwnWithItsWordList) {
  const std::tuple<std::uint32_t, std::u16string, std::u16string> charsets[] = {
      {6, u"ger", u"äöüÄÖÜß"}, {7, u"fre", u"àâçéèêëîïôùûüÿ"}, {8, u"spa", u"áéíóúñü"},
      {9, u"nor", u"åø"},      {11, u"pol", u"ąćęłńóśźż"},    {20, u"ita", u"àèéìíîòóùú"},
      {23, u"por", u"áâãàçéêíóôõú"}, {24, u"swe", u"åäö"},  {42, u"dan", u"åø"},
      {10, u"", u"čďěňřšťůž"}, {30, u"", u"àçèéíïòóúü"},
  };
  std::map<std::uint32_t, std::set<char16_t>> members;
  for (std::uint32_t i = 0; i < store_.charset_symb_count(); ++i) {
    const CharSetSymb* record = store_.charset_symb_at(i);
    members[record->charset_id].insert(record->code);
  }
  for (const auto& [id, code, own] : charsets) {
    SCOPED_TRACE(id);
    const CharSet* charset = store_.find_charset(id);
    ASSERT_NE(charset, nullptr);
    EXPECT_EQ(charset->ortho, 1u);
    const std::u16string list(charset->word_list_code, 3);
    EXPECT_EQ(list.substr(0, list.find(u'\0')), code);
    for (char16_t c = u'a'; c <= u'z'; ++c) EXPECT_TRUE(members[id].contains(c)) << char(c);
    for (const char16_t c : own) EXPECT_TRUE(members[id].contains(c)) << int(c);
  }
  // The sharp s is a letter of German, not a composite.
  bool sharp_s = false;
  for (std::uint32_t i = 0; i < store_.variant_count(); ++i) {
    const Variant* variant = store_.variant_at(i);
    sharp_s = sharp_s || (variant->idSet == 6 && variant->menuc == u'ß');
  }
  EXPECT_TRUE(sharp_s);
}

}  // namespace
}  // namespace inkrec
