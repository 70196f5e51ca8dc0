// Where a word may end with a mark and the next begin without a word gap.
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
