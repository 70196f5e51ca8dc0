#include "app/copybook/copybook_dialog.h"

#include <gtest/gtest.h>

#include "appplatform/dialog/list_view.h"
#include "copybook_fixture.h"

namespace ductra {
namespace {

using platform::DialogAction;
using platform::WindowHandle;
using testing::complex_variant;
using testing::line_shape;
using testing::symbol;
using testing::variant;

constexpr std::uint32_t kEnglish = 5, kRussian = 4;

// Two charsets with letters: English a, b, space, no-break space, code
// 9372 (never listed); Russian ж. 'a' has a group of two variants, one
// ungrouped variant rarely used and a complex variant never used.
fake_engine::Copybook two_alphabets() {
  fake_engine::Copybook c;
  c.symbols = {symbol(kEnglish, u'a'), symbol(kRussian, u'ж'), symbol(kEnglish, u'b'), symbol(kEnglish, 32),
               symbol(kEnglish, 160), symbol(kEnglish, 9372)};
  c.variants = {variant(1, kEnglish, u'a', 101, 1, true), variant(2, kEnglish, u'a', 102, 1),
                variant(3, kEnglish, u'a', 103, 0, false, 1), variant(4, kEnglish, u'b', 104),
                variant(5, kRussian, u'ж', 105)};
  c.complex_variants = {complex_variant(20, kEnglish, u'a', 0, 103, 120, 0, 2)};
  c.complex_variants[0].add = 1;
  c.complex_variants[0].cnt = 1;
  for (const std::uint16_t id : {101, 102, 103, 104, 105}) c.shapes[id] = line_shape(static_cast<std::int16_t>(id + 60));
  c.shapes[120] = {{{{{0, 0}, {0, 20}}}, 0, 0}};
  return c;
}

class CopybookDialogTest : public testing::CopybookTest {
 protected:
  // Runs the copybook at `charset`; `step` acts on it before it is closed
  // with OK.
  void run(std::uint32_t charset, const std::function<void(WindowHandle)>& step) {
    driver_.then([&](WindowHandle dialog) {
      step(dialog);
      act(dialog, DialogAction::click(platform::IDOK));
    });
    CopybookDialog dialog(charset, services_, help_);
    EXPECT_EQ(dialog.run(WindowHandle{}), 1);
    EXPECT_EQ(dialog.model(), nullptr) << "the model goes with the window";
  }
  static std::vector<std::uint32_t> charset_order(WindowHandle dialog) {
    std::vector<std::uint32_t> ids;
    const auto n = ask(dialog, kCharsetBox, platform::CB_GETCOUNT);
    for (int i = 0; i < n; ++i) {
      ids.push_back(static_cast<std::uint32_t>(ask(dialog, kCharsetBox, platform::CB_GETITEMDATA, static_cast<platform::WParam>(i))));
    }
    return ids;
  }
  static std::uint32_t chosen_charset(WindowHandle dialog) {
    return static_cast<std::uint32_t>(ask(dialog, kCharsetBox, platform::CB_GETITEMDATA,
                                          static_cast<platform::WParam>(ask(dialog, kCharsetBox, platform::CB_GETCURSEL))));
  }
  static std::vector<std::u16string> letters(WindowHandle dialog) {
    std::vector<std::u16string> out;
    const auto count = ask(dialog, kLetterList, platform::LVM_GETITEMCOUNT);
    for (int i = 0; i < count; ++i) {
      char16_t buffer[32] = {};
      platform::ListViewItem item;
      item.mask = platform::LVIF_TEXT;
      item.item = i;
      item.text = buffer;
      item.text_max = 32;
      ask(dialog, kLetterList, platform::LVM_GETITEM, 0, reinterpret_cast<platform::LParam>(&item));
      out.emplace_back(buffer);
    }
    return out;
  }
  // Focuses and selects a variant as a tap does, without the tap's
  // animation (which runs on the process clock).
  static void choose_variant(WindowHandle dialog, int item) {
    platform::ListViewItem state;
    state.state = state.state_mask = platform::LVIS_FOCUSED | platform::LVIS_SELECTED;
    ask(dialog, kVariantList, platform::LVM_SETITEMSTATE, static_cast<platform::WParam>(item),
        reinterpret_cast<platform::LParam>(&state));
  }
  static int variant_count(WindowHandle dialog) {
    return static_cast<int>(ask(dialog, kVariantList, platform::LVM_GETITEMCOUNT));
  }
  static std::vector<bool> use_buttons(WindowHandle dialog) {
    return {checked(dialog, kUseOftenButton), checked(dialog, kUseRarelyButton), checked(dialog, kUseNeverButton)};
  }

  std::vector<std::pair<std::u16string, int>> engine_errors_;
  std::vector<std::pair<std::uint32_t, std::uint32_t>> error_boxes_;
  CopybookServices services_{*engine_,
                             [this](const ExceptionInfo& info) { engine_errors_.emplace_back(info.where, info.code); },
                             [this](std::uint32_t first, std::uint32_t second) { error_boxes_.emplace_back(first, second); }};
  testing::DialogDriver driver_;
};

TEST_F(CopybookDialogTest, TheInterfaceLanguagesCharsetComesFirstThenTheSymbolsThenTheRestByName) {
  struct Case {
    std::uint32_t language;
    std::vector<std::uint32_t> order;
  };
  start(two_alphabets(), {4, 5, 7, 26, 2, 3, 37, 38, 41});
  for (const Case& c : {Case{1049, {4, 2, 37, 38, 3, 41, 5, 26, 7}}, Case{1033, {5, 2, 37, 38, 3, 41, 7, 26, 4}}}) {
    localizer().set_language(c.language);
    run(0, [&](WindowHandle dialog) {
      EXPECT_EQ(charset_order(dialog), c.order) << "language " << c.language;
      EXPECT_EQ(chosen_charset(dialog), c.order.front()) << "no charset asked for: the first";
    });
  }
  localizer().set_language(1049);
  run(26, [](WindowHandle dialog) { EXPECT_EQ(chosen_charset(dialog), 26u); });
  run(99, [](WindowHandle dialog) { EXPECT_EQ(chosen_charset(dialog), 4u) << "a charset the engine lacks"; });
  EXPECT_TRUE(engine_errors_.empty());
}

TEST_F(CopybookDialogTest, ChoosingACharsetListsItsLettersAndTheFirstLettersVariants) {
  start(two_alphabets(), {4, 5});
  run(kEnglish, [&](WindowHandle dialog) {
    EXPECT_EQ(letters(dialog), (std::vector<std::u16string>{u"a", u"b", u"<space>", u"<space>"}))
        << "code 9372 and the other charset's letter are left out";
    EXPECT_EQ(text(dialog, kVariantCaption), u"Я пишу «a» таким образом:");
    EXPECT_EQ(variant_count(dialog), 3) << "the ungrouped variant, the group, the complex variant";
    EXPECT_EQ(use_buttons(dialog), (std::vector<bool>{false, true, false})) << "the first item is used rarely";
    keep_screen("copybook_dialog.png", dialog);
    choose_variant(dialog, 2);
    EXPECT_EQ(use_buttons(dialog), (std::vector<bool>{false, false, true}));
    act(dialog, DialogAction::pick(kLetterList, 3));
    EXPECT_EQ(text(dialog, kVariantCaption), u"Я пишу «<space>» таким образом:") << "code 160";
    EXPECT_EQ(variant_count(dialog), 0);
    EXPECT_EQ(use_buttons(dialog), (std::vector<bool>{false, false, false})) << "no variant, no use";
    act(dialog, DialogAction::pick(kCharsetBox, 0));
    EXPECT_EQ(letters(dialog), (std::vector<std::u16string>{u"ж"}));
    EXPECT_EQ(text(dialog, kVariantCaption), u"Я пишу «ж» таким образом:");
  });
  EXPECT_EQ(observed().variant_file_writes, 0) << "closed without a change: nothing written";
}

TEST_F(CopybookDialogTest, AChangedUseReachesTheEngineAtOnceAndTheChoicesAreWrittenOnceOnClosing) {
  start(two_alphabets(), {4, 5});
  run(kEnglish, [&](WindowHandle dialog) {
    choose_variant(dialog, 1);  // the group of variants 1 and 2
    act(dialog, DialogAction::click(kUseNeverButton));
    EXPECT_EQ(observed().variants_set.size(), 2u);
    EXPECT_EQ(use_buttons(dialog), (std::vector<bool>{false, false, true}));
    act(dialog, DialogAction::click(kUseNeverButton));
    choose_variant(dialog, 0);
    act(dialog, DialogAction::click(kUseOftenButton));
    EXPECT_EQ(observed().variants_set.size(), 3u);
    EXPECT_EQ(observed().variant_file_writes, 0) << "not before the copybook closes";
  });
  EXPECT_EQ(observed().variant_file_writes, 1);
  EXPECT_TRUE(error_boxes_.empty());
}

TEST_F(CopybookDialogTest, ChoicesThatCannotBeSavedAreToldInABoxAndTheApplicationGoesOn) {
  start(two_alphabets(), {4, 5});
  control_.script_failure("crmSetVariantsAndWrite", -1, 0);
  run(kEnglish, [&](WindowHandle dialog) { act(dialog, DialogAction::click(kUseNeverButton)); });
  EXPECT_EQ(observed().variant_file_writes, 1);
  EXPECT_EQ(error_boxes_, (std::vector<std::pair<std::uint32_t, std::uint32_t>>{{kChoicesNotSavedText, 255}}));
  EXPECT_TRUE(engine_errors_.empty()) << "no engine-error report, which would end the application";
}

TEST_F(CopybookDialogTest, RestoreAsksFirstThenSetsEveryVariantBackAndListsAllAgain) {
  start(two_alphabets(), {4, 5});
  driver_.answer_box(platform::IDNO);
  driver_.answer_box(platform::IDYES);
  run(kEnglish, [&](WindowHandle dialog) {
    act(dialog, DialogAction::click(kRestoreButton));
    EXPECT_TRUE(observed().variants_set.empty()) << "answered no";
    EXPECT_EQ(chosen_charset(dialog), kEnglish);
    act(dialog, DialogAction::click(kRestoreButton));
    EXPECT_EQ(observed().variants_set.size(), 1u) << "variant 3 was rarely used";
    EXPECT_EQ(observed().complex_variants_set.size(), 1u);
    EXPECT_EQ(chosen_charset(dialog), kRussian) << "listed again from the first charset";
  });
  ASSERT_EQ(driver_.boxes.size(), 2u);
  EXPECT_EQ(driver_.boxes[0].text, u"Вернуть настройки прописей в исходное состояние?");
  EXPECT_EQ(observed().variant_file_writes, 1);
}

TEST_F(CopybookDialogTest, EngineFailuresAreReportedWithTheOperationThatMetThem) {
  struct Case {
    const char* call;
    std::u16string where;
  };
  for (const Case& c : {Case{"crmGetCharSetSymbCount", u"Alphabet::fill_list"},
                        Case{"crmVariantGetCountAll", u"Glyphs::fill_list"}}) {
    engine_->free();
    engine_errors_.clear();
    start(two_alphabets(), {4, 5});
    control_.script_failure(c.call, 4001, 0);
    run(kEnglish, [](WindowHandle) {});
    ASSERT_FALSE(engine_errors_.empty()) << c.call;
    EXPECT_EQ(engine_errors_.front(), std::make_pair(c.where, 4001));
  }
  engine_->free();
  engine_errors_.clear();
  start(two_alphabets(), {4, 5});
  control_.script_charset_count(4001);
  run(kEnglish, [](WindowHandle dialog) { EXPECT_EQ(ask(dialog, kCharsetBox, platform::CB_GETCOUNT), 0); });
  EXPECT_EQ(engine_errors_, (std::vector<std::pair<std::u16string, int>>{{u"Charsets_Handler::fill_list", 4001}}));
}

TEST_F(CopybookDialogTest, TheArrowCommandsStepThroughTheLetters) {
  start(two_alphabets(), {4, 5});
  run(kEnglish, [&](WindowHandle dialog) {
    const auto send_command = [&](int id) {
      platform::WindowSystem::current().send_message(dialog, platform::WM_COMMAND, static_cast<platform::WParam>(id), 0);
    };
    send_command(kPreviousLetter);
    EXPECT_EQ(text(dialog, kVariantCaption), u"Я пишу «a» таким образом:") << "no letter before the first";
    send_command(kNextLetter);
    EXPECT_EQ(text(dialog, kVariantCaption), u"Я пишу «b» таким образом:");
    EXPECT_EQ(variant_count(dialog), 1);
  });
}

}  // namespace
}  // namespace ductra
