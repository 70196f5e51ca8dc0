// Where a word may end with a mark and the next begin without a word gap,
// and which marks may stand beside a letter inside a word.
#include "engine/segmentation/mark_cut.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace inkrec {
namespace {

struct Case {
  std::string name;
  char16_t last;
  char16_t next;
  bool may_cut;
};

TEST(MarkCutTest, AMarkEndsAWordBeforeALetterOnlyAcrossAGap) {
  const std::vector<Case> cases = {
      {"a full stop before a letter (t. he)", u'.', u'h', false},
      {"a comma before a capital", u',', u'K', false},
      {"a closing bracket before a letter", u')', u'i', false},
      {"a plus before a letter", u'+', u'o', false},
      {"an apostrophe before a letter", u'\'', u's', false},
      {"a mark before an accented letter", u'!', u'\u00E9', false},
      {"a mark before a Cyrillic letter", u'.', u'\u0434', false},
      {"a letter before a letter", u't', u'h', true},
      {"a full stop before a digit", u'.', u'5', true},
      {"a mark before a mark", u'.', u'"', true},
      {"a mark before an opening bracket", u',', u'(', true},
      {"a digit before a letter", u'9', u'r', true},
      {"a letter before a mark", u'e', u'.', true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(may_cut_without_gap(c.last, c.next), c.may_cut);
  }
}

struct InsideCase {
  std::string name;
  char16_t last;
  char16_t next;
  bool one_stroke;
  bool may_stand;
};

TEST(MarkCutTest, AMarkInsideAWordHasStrokesOfItsOwnAndOperatorSignsTouchNoLetter) {
  const std::vector<InsideCase> cases = {
      {"a comma from the tail of a letter's stroke", u'n', u',', true, false},
      {"a colon from the exit stroke", u'u', u':', true, false},
      {"a mark whose stroke goes on into a letter", u'.', u'h', true, false},
      {"a mark beside a mark in one stroke", u'.', u',', true, false},
      {"a comma of its own after a letter", u'n', u',', false, true},
      {"an apostrophe of its own before a letter", u'\'', u's', false, true},
      {"a plus before a letter", u'+', u'o', false, false},
      {"an underscore before a letter", u'_', u'd', false, false},
      {"a star after a letter", u'h', u'*', false, false},
      {"a plus before a digit", u'+', u'5', false, true},
      {"a slash between letters (and/or)", u'd', u'/', false, true},
      {"two letters of one stroke", u'o', u'n', true, true},
      {"a digit after a letter in one stroke", u'e', u'9', true, true},
  };
  for (const InsideCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(may_stand_in_one_word(c.last, c.next, c.one_stroke), c.may_stand);
  }
}

TEST(MarkCutTest, LettersMarksAndOthersAreToldApart) {
  EXPECT_TRUE(is_letter_code(u'\u00DF'));   // sharp s
  EXPECT_FALSE(is_letter_code(u'\u00D7'));  // multiplication sign
  EXPECT_TRUE(is_mark_code(u'\u00D7'));
  EXPECT_FALSE(is_mark_code(u' '));
  EXPECT_FALSE(is_mark_code(u'\u00A0'));
  EXPECT_FALSE(is_mark_code(u'7'));
  EXPECT_FALSE(is_mark_code(u'\u0410'));
}

}  // namespace
}  // namespace inkrec
