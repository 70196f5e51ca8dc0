// The accented Latin charsets of the default data (data/qlmain.dt): each
// holds the English letters and its own, and every accented letter is a
// composite rule for each way of writing its Latin letter (an English
// variant), whose second part is a mark the charset reads as a detail; the
// letters that are no Latin letter and a mark (ß, æ, œ, ð, þ, ı) are
// letters of their charsets. The Greek letters with tonos or dialytika are
// composites of the Greek letter in the same way, ΐ and ΰ composites of
// those composites and the other mark.
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
constexpr std::uint32_t kGreek = 25;
constexpr std::uint32_t kAbove = 1;
constexpr std::uint32_t kBelowOrThrough = 2;
constexpr std::uint32_t kBefore = 4;

class AccentedLettersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(store_.status(), kOk);
    for (std::uint32_t i = 0; i < store_.variant_count(); ++i) {
      const Variant* variant = store_.variant_at(i);
      if (variant->menuc == 0) {
        details_[variant->idSet].insert(variant->shape_id);
      } else if (variant->cursive_flag == 0) {
        // A cursive variant is a letter as written inside a joined word,
        // not a way of writing the letter alone.
        shapes_[{variant->idSet, variant->menuc}].insert(variant->shape_id);
      }
    }
    for (std::uint32_t i = 0; i < store_.complex_variant_count(); ++i) {
      const ComplexVariant* rule = store_.complex_variant_at(i);
      rules_[{rule->set, rule->symbol_id}].push_back(rule);
    }
  }

  // The mark shapes of the rules for a letter in a charset, after checking
  // that the rules cover every way of writing its letter (an English one
  // unless another charset is named) exactly once and agree on the mark,
  // its copies and its side.
  std::tuple<std::uint16_t, int, std::uint32_t> mark_of(std::uint32_t charset, char16_t letter,
                                                        char16_t latin,
                                                        std::uint32_t latin_charset = kEnglish) {
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
      EXPECT_EQ(firsts, (shapes_[{latin_charset, latin}]));
    }
    EXPECT_TRUE(details_[charset].contains(rule.detail_shape_id)) << rule.detail_shape_id;
    return {rule.detail_shape_id, rule.cnt, rule.add};
  }

  DataStore store_{kDefaultData.c_str(), 0, 0, 0};
  std::map<std::pair<std::uint32_t, char16_t>, std::set<std::uint16_t>> shapes_;  // of letters
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
      {29, u'Ð', u'D', u'ā', 1, kBelowOrThrough},
      {17, u'é', u'e', u'é', 1, kAbove},  {17, u'ë', u'e', u'ä', 2, kAbove},
      {17, u'ï', u'i', u'ä', 2, kAbove},  {17, u'Ö', u'O', u'ä', 2, kAbove},
      {17, u'è', u'e', u'è', 1, kAbove},  {17, u'ç', u'c', u'ç', 1, kBelowOrThrough},
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

TEST_F(AccentedLettersTest, EachAccentedGreekLetterIsItsGreekLetterAndItsMark) {
  // The tonos is the acute of é, written over a small letter and before
  // the top of a capital; the dialytika the two dots of ä. A tonos before
  // a capital takes the place just before the capital's first, which only
  // a position tolerance of 1 lets the pair test look at; so does the
  // dialytika of ι and υ, whose dots the tonos of ΐ and ΰ stands between.
  const std::uint16_t acute = std::get<0>(mark_of(7, u'é', u'e'));
  const std::uint16_t dot = std::get<0>(mark_of(6, u'ä', u'a'));
  struct Case {
    char16_t letter, greek;
    std::uint16_t mark;
    int copies;
    std::uint32_t sides;
    std::int16_t tolerance;
  };
  const Case cases[] = {
      {u'ά', u'α', acute, 1, kAbove, 0},  {u'ώ', u'ω', acute, 1, kAbove, 0},
      {u'Ά', u'Α', acute, 1, kBefore, 1}, {u'Ώ', u'Ω', acute, 1, kBefore, 1},
      {u'ϊ', u'ι', dot, 2, kAbove, 1},    {u'Ϋ', u'Υ', dot, 2, kAbove, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.letter));
    EXPECT_EQ(mark_of(kGreek, c.letter, c.greek, kGreek), std::make_tuple(c.mark, c.copies, c.sides));
    for (const ComplexVariant* rule : rules_[{kGreek, c.letter}]) {
      EXPECT_EQ(rule->tolerance, c.tolerance);
    }
  }
}

TEST_F(AccentedLettersTest, ALetterWithTwoMarksIsItsOneMarkCompositeAndTheOtherMark) {
  // ΐ is ϊ and the tonos, or ί and the two dots; ΰ the same over υ. Each
  // rule's first part is a composite reading, named by its rule's id (mode
  // 1), and every rule of the one-mark letters is the first part of one.
  const std::uint16_t acute = std::get<0>(mark_of(kGreek, u'ί', u'ι', kGreek));
  const std::uint16_t dot = std::get<0>(mark_of(kGreek, u'ϊ', u'ι', kGreek));
  struct Case {
    char16_t letter, with_dots, with_tonos;
  };
  for (const Case& c : {Case{u'ΐ', u'ϊ', u'ί'}, Case{u'ΰ', u'ϋ', u'ύ'}}) {
    SCOPED_TRACE(static_cast<int>(c.letter));
    std::map<std::uint16_t, std::tuple<std::uint16_t, int>> expected;  // rule id -> mark, copies
    for (const ComplexVariant* inner : rules_[{kGreek, c.with_dots}]) {
      expected[inner->id] = {acute, 1};
    }
    for (const ComplexVariant* inner : rules_[{kGreek, c.with_tonos}]) {
      expected[inner->id] = {dot, 2};
    }
    std::map<std::uint16_t, std::tuple<std::uint16_t, int>> found;
    for (const ComplexVariant* rule : rules_[{kGreek, c.letter}]) {
      EXPECT_EQ(rule->kind, 1u);
      EXPECT_EQ(rule->rec_mode, 1);
      EXPECT_EQ(rule->add, kAbove);
      EXPECT_EQ(rule->tolerance, 1);
      EXPECT_EQ(rule->second_component, rule->detail_shape_id);
      EXPECT_TRUE(found.emplace(rule->first_component,
                                std::make_tuple(rule->detail_shape_id, int{rule->cnt}))
                      .second);
    }
    EXPECT_EQ(found, expected);
  }
}

TEST_F(AccentedLettersTest, EachCharsetHoldsTheEnglishLettersAndItsOwnWithItsWordList) {
  const std::tuple<std::uint32_t, std::u16string, std::u16string> charsets[] = {
      {6, u"ger", u"äöüÄÖÜß"}, {7, u"fre", u"àâçéèêëîïôùûüÿœŒæÆ"}, {8, u"spa", u"áéíóúñü"},
      {9, u"nor", u"åøæÆ"},    {11, u"pol", u"ąćęłńóśźż"},    {20, u"ita", u"àèéìíîòóùú"},
      {23, u"por", u"áâãàçéêíóôõú"}, {24, u"swe", u"åäö"},  {42, u"dan", u"åøæÆ"},
      {10, u"", u"čďěňřšťůž"}, {30, u"", u"àçèéíïòóúü"}, {29, u"", u"ðÐþÞæÆ"},
      {15, u"", u"ıİ"},        {17, u"dut", u"áàâäçéèêëíîïóôöúûüÉËÏÖ"},
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
  // The letters that are no Latin letter and a mark are letters of their
  // charsets, not composites; the dotless i is written as the stem of i.
  const std::pair<std::uint32_t, char16_t> own_letters[] = {
      {6, u'ß'}, {7, u'œ'}, {7, u'Œ'}, {7, u'æ'}, {42, u'Æ'}, {29, u'ð'}, {29, u'þ'}, {29, u'Þ'},
      {15, u'ı'}};
  for (const auto& [charset, letter] : own_letters) {
    SCOPED_TRACE(static_cast<int>(letter));
    EXPECT_FALSE((shapes_[{charset, letter}]).empty());
    EXPECT_FALSE(rules_.contains({charset, letter}));
  }
  EXPECT_EQ((shapes_[{15, u'ı'}]), std::set<std::uint16_t>{830});
}

TEST_F(AccentedLettersTest, TheUkrainianLettersWithDotsAreComposites) {
  // і is also the stem and a dot, as the English i; ї the stem and the two
  // dots; Ї every way of writing І (the English I's) and the two dots. The
  // dot is the real dot of i and j, a detail of the Ukrainian charset.
  constexpr std::uint32_t kUkrainian = 32;
  const std::uint16_t dot = std::get<0>(mark_of(6, u'ä', u'a'));
  struct Case {
    char16_t letter, base;
    int copies;
  };
  for (const Case& c : {Case{u'і', u'i', 1}, Case{u'ї', u'i', 2}, Case{u'Ї', u'І', 2}}) {
    SCOPED_TRACE(static_cast<int>(c.letter));
    EXPECT_EQ(mark_of(kUkrainian, c.letter, c.base, kUkrainian),
              std::make_tuple(dot, c.copies, kAbove));
  }
  EXPECT_FALSE((shapes_[{kUkrainian, u'І'}]).empty());
  EXPECT_TRUE(details_[kUkrainian].contains(830));  // the stem the rules of і and ї name
}

}  // namespace
}  // namespace inkrec
