#include "engine/rules/punctuation_rule.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <utility>
#include <vector>

namespace inkrec {
namespace {

// A figure group as the punctuation rule reads it.
struct TestGroup {
  std::vector<int> codes;
  Box16 box;
  std::uint32_t index = 0;
  std::uint16_t line = 0;
  PtrArray<TestGroup> figures;  // the group itself stands for its one figure
  std::map<std::pair<std::uint32_t, std::uint32_t>, std::uint32_t> cache;
  bool cache_full = false;
  mutable int judged = 0;  // glyph boxes read
};
int candidate_code(const TestGroup& g, int i) {
  return i >= 0 && i < static_cast<int>(g.codes.size()) ? g.codes[static_cast<std::size_t>(i)] : -1;
}
Box16 glyph_box(const TestGroup& g) {
  ++g.judged;
  return g.box;
}
std::uint32_t group_index(const TestGroup& g) { return g.index; }
const PtrArray<TestGroup>& figures_of(const TestGroup& g) { return g.figures; }
std::uint16_t line_index_of(const TestGroup& g) { return g.line; }
std::uint32_t* punctuation_cache_slot(TestGroup& g, std::uint32_t other, std::uint32_t key) {
  return g.cache_full ? nullptr : &g.cache[{other, key}];
}

class PunctuationRuleTest : public ::testing::Test {
 protected:
  TestGroup& group(std::vector<int> codes, Box16 box) {
    groups_.push_back(std::make_unique<TestGroup>());
    TestGroup& g = *groups_.back();
    g.codes = std::move(codes);
    g.box = box;
    g.index = static_cast<std::uint32_t>(groups_.size());
    EXPECT_EQ(g.figures.push_back(&g), kOk);
    return g;
  }
  int flag_of(const TestGroup& first, const TestGroup& second, int i = 0, int j = 0) {
    int flag = -1;
    EXPECT_EQ(apply_punctuation_rule(first, second, i, j, &flag), kOk);
    return flag;
  }

  std::vector<std::unique_ptr<TestGroup>> groups_;
};

TEST_F(PunctuationRuleTest, ApostropheAgainstTheMiddleOfTheNextBox) {
  const TestGroup& apostrophe = group({'\''}, {10, 0, 12, 5});
  // right - width / 2: 20 - 11 / 2 = 15 > 10.
  EXPECT_EQ(flag_of(apostrophe, group({'s'}, {10, 8, 20, 20})), 1);
  // 14 - 5 / 2 = 12 > 10.
  EXPECT_EQ(flag_of(apostrophe, group({'s'}, {10, 8, 14, 20})), 1);
  // 11 - 3 / 2 = 10, not beyond 10.
  EXPECT_EQ(flag_of(apostrophe, group({'s'}, {9, 8, 11, 20})), 0);
}

TEST_F(PunctuationRuleTest, HyphenAboveTheNextGroup) {
  const TestGroup& hyphen = group({'-'}, {0, 10, 8, 12});
  const TestGroup& tilde = group({'~'}, {0, 10, 8, 12});
  EXPECT_EQ(flag_of(hyphen, group({'a'}, {10, 12, 20, 20})), 1);
  EXPECT_EQ(flag_of(tilde, group({'a'}, {10, 12, 20, 20})), 1);
  EXPECT_EQ(flag_of(hyphen, group({'a'}, {10, 11, 20, 20})), 0);
  // A full stop or a comma never raises the flag.
  EXPECT_EQ(flag_of(hyphen, group({'.'}, {10, 30, 12, 32})), 0);
  EXPECT_EQ(flag_of(hyphen, group({','}, {10, 30, 12, 34})), 0);
  EXPECT_EQ(flag_of(group({'a'}, {0, 0, 1, 1}), group({'a'}, {10, 30, 12, 34})), 0);
}

TEST_F(PunctuationRuleTest, CandidatesAreChosenByIndex) {
  const TestGroup& first = group({'a', '-'}, {0, 10, 8, 12});
  const TestGroup& second = group({'.', 'b'}, {10, 30, 20, 40});
  EXPECT_EQ(flag_of(first, second, 1, 1), 1);
  EXPECT_EQ(flag_of(first, second, 1, -1), 0);  // -1 is candidate 0, the full stop
  EXPECT_EQ(flag_of(first, second, 1, 2), 0);   // no such candidate
  EXPECT_EQ(flag_of(first, second, 5, 0), 0);
}

TEST_F(PunctuationRuleTest, CachedRuleJudgesEachPairOnce) {
  TestGroup& first = group({'-'}, {0, 10, 8, 12});
  TestGroup& second = group({'a'}, {10, 12, 20, 20});
  int flag = -1;
  ASSERT_EQ(apply_punctuation_rule_cached(first, second, -1, 0, &flag), kOk);
  EXPECT_EQ(flag, 1);
  const int judged = second.judged;
  ASSERT_EQ(apply_punctuation_rule_cached(first, second, 0, -1, &flag), kOk);
  EXPECT_EQ(flag, 1);
  EXPECT_EQ(second.judged, judged);
  EXPECT_EQ(second.cache.size(), 1u);
  EXPECT_EQ((second.cache[{first.index, punctuation_cache_key(0, 0)}]), 2u);

  // A cache that cannot grow still gives the answer.
  second.cache_full = true;
  ASSERT_EQ(apply_punctuation_rule_cached(first, second, 0, 0, &flag), kOk);
  EXPECT_EQ(flag, 1);

  // Groups on different lines are not judged.
  second.line = 1;
  ASSERT_EQ(apply_punctuation_rule_cached(first, second, 0, 0, &flag), kOk);
  EXPECT_EQ(flag, 0);
  EXPECT_EQ(punctuation_cache_key(0x8001, 3), 1u | 3u << 15);
}

TEST_F(PunctuationRuleTest, CachedRuleLeavesPairsItCannotFlagOutOfTheCache) {
  struct Case {
    int first_code;
    bool applies;
  };
  const Case cases[] = {{'\'', true}, {'-', true}, {'~', true},
                        {'a', false},  {'.', false}, {-1, false}};
  for (const Case& c : cases) {
    EXPECT_EQ(punctuation_rule_applies(c.first_code), c.applies) << c.first_code;
  }
  // A first group read as a letter: flag 0, nothing judged or stored.
  TestGroup& letter = group({'a', '-'}, {0, 10, 8, 12});
  TestGroup& second = group({'b'}, {10, 12, 20, 20});
  int flag = -1;
  ASSERT_EQ(apply_punctuation_rule_cached(letter, second, 0, 0, &flag), kOk);
  EXPECT_EQ(flag, 0);
  EXPECT_TRUE(second.cache.empty());
  EXPECT_EQ(second.judged, 0);
  // Its second candidate, a hyphen above the next group, is judged and kept.
  ASSERT_EQ(apply_punctuation_rule_cached(letter, second, 1, 0, &flag), kOk);
  EXPECT_EQ(flag, 1);
  EXPECT_EQ(second.cache.size(), 1u);
}

}  // namespace
}  // namespace inkrec
