#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/delivery/alternatives_menu.h"
#include "app/delivery/relay_sender.h"
#include "app/delivery/trailing_space.h"
#include "app/shell/result_choice.h"
#include "appplatform/relay_protocol.h"
#include "appplatform/resources/builtin_resources.h"

namespace ductra {
namespace {

TEST(TrailingSpaceTest, TextsOfTwoTo254UnitsNotEndingApartGetOneSpace) {
  struct Case {
    std::u16string text;
    bool setting;
    bool spaced;
  };
  const Case cases[] = {
      {u"a", true, false},          {u"ab", true, true},         {u"ab", false, false},
      {u"", true, false},           {u"ab ", true, false},       {u"ab\r", true, false},
      {u"ab\n", true, false},       {u"ab\t", true, false},      {u"ab\b", true, false},
      {u"a.", true, true},          {std::u16string(254, u'w'), true, true},
      {std::u16string(255, u'w'), true, false},
  };
  for (const Case& c : cases) {
    const std::u16string expected = c.spaced ? c.text + u" " : c.text;
    EXPECT_EQ(postprocess_result(c.text, c.setting), expected) << c.text.size() << " units";
  }
}

TEST(RelaySenderTest, ControlUnitsTravelAsKeysAndALineFeedAsEnter) {
  struct Case {
    char16_t unit;
    platform::WParam kind;
    char16_t sent;
  };
  const Case cases[] = {{u'a', 0, u'a'}, {8, 8, 8}, {9, 9, 9}, {10, 13, 13}, {13, 13, 13}, {29, 0, 29}, {u' ', 0, u' '}};
  for (const Case& c : cases) {
    EXPECT_EQ(relay_kind(c.unit), c.kind) << int{c.unit};
    EXPECT_EQ(relay_unit(c.unit), c.sent) << int{c.unit};
  }
  EXPECT_EQ((std::vector<int>{mode_indicator(0), mode_indicator(1), mode_indicator(2), mode_indicator(3)}),
            (std::vector<int>{0, 1, 2, 2}));
}

// A result choice over alternatives the test owns.
class Alternatives {
 public:
  explicit Alternatives(std::vector<std::u16string> texts, std::uint32_t kind = kChoiceLetter)
      : texts_(std::move(texts)) {
    for (std::u16string& text : texts_) {
      const auto count = static_cast<std::uint32_t>(text.size());
      arrays_.push_back({0, count, count, text.data()});
    }
    choice_.candidates = {0, static_cast<std::uint32_t>(arrays_.size()), static_cast<std::uint32_t>(arrays_.size()),
                          arrays_.data()};
    choice_.kind = kind;
  }
  crResultChoice& choice() { return choice_; }

 private:
  std::vector<std::u16string> texts_;
  std::vector<crDynArray> arrays_;
  crResultChoice choice_{};
};

class AlternativesMenuTest : public ::testing::Test {
 protected:
  Localizer strings_{"/nonexistent", 1049, platform::builtin_strings()};
};

TEST_F(AlternativesMenuTest, ItemsSpellOutControlUnitsAndEndWithTheDefaultAndTheAddEntries) {
  EXPECT_EQ(spelled_out(u"a\b\t\n\r\x1d\x1e\x1f \xa0&z"),
            u"a<backspace><tab><enter><enter><context><capslock><shift><space><space>&&z");

  Alternatives word({u"cat", u"c&t"}, kChoiceWord);
  for (const bool offer : {false, true}) {
    platform::PopupMenu menu;
    ASSERT_TRUE(fill_alternatives_menu(word.choice(), offer, strings_, &menu));
    std::vector<std::pair<int, std::u16string>> items;
    for (const platform::MenuItem& item : menu.items()) items.emplace_back(item.separator ? 0 : item.id, item.text);
    std::vector<std::pair<int, std::u16string>> expected = {
        {1000, u"cat"}, {1001, u"c&&t"}, {0, u""}, {-1, u"По умолчанию"}};
    if (offer) expected.emplace_back(1, u"Добавить в словарь");
    EXPECT_EQ(items, expected);
  }
}

TEST_F(AlternativesMenuTest, TwoHundredAlternativesShowTheFirst128AndItemsBecomeAnswers) {
  std::vector<std::u16string> texts;
  for (int i = 0; i < 200; ++i) texts.push_back(std::u16string(1, static_cast<char16_t>(0x400 + i)));
  Alternatives many(texts);
  platform::PopupMenu menu;
  ASSERT_TRUE(fill_alternatives_menu(many.choice(), false, strings_, &menu));
  ASSERT_EQ(menu.items().size(), 128u + 2);
  EXPECT_EQ(menu.items()[127].id, 1127);
  EXPECT_EQ(menu.items()[127].text, texts[127]);

  struct Case {
    int id;
    std::int32_t answer;
  };
  const Case cases[] = {{1000, 0},   {1127, 127}, {1128, -3}, {-1, -1}, {0, -3},
                        {1, -3},     {999, -3},   {-2, -3}};
  for (const Case& c : cases) EXPECT_EQ(answer_for_item(c.id, many.choice()), c.answer) << c.id;
}

}  // namespace
}  // namespace ductra
