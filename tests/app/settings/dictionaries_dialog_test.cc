// The user-dictionary dialogs on the real engine, where the build has it.
#ifdef INKREC_SHARED_LIBRARY

#include "app/settings/dictionaries_dialog.h"

#include <gtest/gtest.h>

#include <fstream>

#include "app/common/menu_bar.h"
#include "app/settings/dialog_templates.h"
#include "app/shell/engine_library.h"
#include "appplatform/dialog/list_view.h"
#include "settings_fixture.h"

namespace ductra {
namespace {

using platform::DialogAction;
using platform::WindowHandle;

constexpr int kLanguageList = 1075, kUseDictionary = 1026, kWordList = 1014, kWordEdit = 1010;

// What the word dialog did to the input panel and the controller.
class RecordedHost final : public WordDialogHost {
 public:
  void select_default_input_method() override { calls.push_back("default"); }
  void select_own_input_method(bool shown) override { calls.push_back(shown ? "own shown" : "own hidden"); }
  void set_dialog_open(bool open) override { calls.push_back(open ? "open" : "closed"); }
  void hide_panel_for_box(bool hidden) override { calls.push_back(hidden ? "hide" : "unhide"); }
  std::vector<std::string> calls;
};

// "user.ulb" with one dictionary per entry: its charset and its words.
void write_user_dictionaries(const std::filesystem::path& file,
                             const std::vector<std::pair<std::uint32_t, std::vector<std::u16string>>>& dictionaries) {
  std::ofstream out(file, std::ios::binary);
  const auto u32 = [&](std::uint32_t v) { out.write(reinterpret_cast<const char*>(&v), 4); };
  u32(static_cast<std::uint32_t>(dictionaries.size()));
  for (const auto& [charset, words] : dictionaries) {
    u32(charset);
    u32(0);  // no letters beyond the charset's own
    u32(static_cast<std::uint32_t>(words.size()));
    for (const std::u16string& word : words) {
      u32(static_cast<std::uint32_t>(word.size()));
      out.write(reinterpret_cast<const char*>(word.data()), static_cast<std::streamsize>(word.size() * 2));
      u32(5000);
    }
  }
}

class DictionariesDialogTest : public testing::SettingsTest {
 protected:
  DictionariesDialogTest() {
    std::string error;
    library_ = EngineLibrary::open(INKREC_SHARED_LIBRARY, &error);
    if (!library_) throw std::runtime_error(error);
    engine_ = std::make_unique<Engine>(*library_);
    data_dir_ = root_.host() / "Program Files" / "Ductra";
    std::filesystem::copy_file(DUCTRA_DEFAULT_DATA, data_dir_ / "qlmain.dt");
    configurations_.make_default(0x409);
  }
  ~DictionariesDialogTest() override { engine_->free(); }

  void start(const std::vector<std::pair<std::uint32_t, std::vector<std::u16string>>>& dictionaries) {
    write_user_dictionaries(data_dir_ / "user.ulb", dictionaries);
    ASSERT_EQ(engine_->init((data_dir_ / "qlmain.dt").u16string()), 0);
  }
  int run(int mode) {
    DictionariesDialog dialog(mode, configurations_, *engine_, host_, services_);
    return static_cast<int>(dialog.run(WindowHandle{}));
  }
  // The words the list shows, and the selected one.
  static std::vector<std::u16string> words(WindowHandle dialog) {
    std::vector<std::u16string> out;
    const auto count = ask(dialog, kWordList, platform::LVM_GETITEMCOUNT);
    for (int i = 0; i < count; ++i) {
      char16_t buffer[64] = {};
      platform::ListViewItem item;
      item.mask = platform::LVIF_TEXT;
      item.item = i;
      item.text = buffer;
      item.text_max = 64;
      ask(dialog, kWordList, platform::LVM_GETITEM, 0, reinterpret_cast<platform::LParam>(&item));
      out.emplace_back(buffer);
    }
    return out;
  }
  static int mark(WindowHandle dialog) { return static_cast<int>(ask(dialog, kWordList, platform::LVM_GETSELECTIONMARK)); }
  // The word typed into the word dialog, then "Готово".
  void word_typed(std::u16string word) {
    driver_.then([word](WindowHandle dialog) {
      act(dialog, DialogAction::type(kWordEdit, word));
      press_soft_key(dialog, platform::IDOK);
    });
  }
  std::vector<std::u16string> engine_words(std::uint32_t dictionary) {
    std::vector<std::u16string> out;
    std::uint32_t count = 0;
    engine_->user_dictionary_word_count(dictionary, &count);
    for (std::uint32_t i = 0; i < count; ++i) {
      char16_t buffer[64] = {};
      engine_->user_dictionary_word(dictionary, i, buffer);
      out.emplace_back(buffer);
    }
    return out;
  }

  std::unique_ptr<EngineLibrary> library_;
  std::unique_ptr<Engine> engine_;
  std::filesystem::path data_dir_;
  Configurations configurations_{CharsetSet{1, 2, 3, 5, 37, 38}};
  RecordedHost host_;
  testing::DialogDriver driver_;
};

TEST_F(DictionariesDialogTest, WordsAreAddedRefusedAndDeletedAndEveryChangeIsSaved) {
  start({{3, {}}, {5, {u"apple", u"cherry"}}});
  driver_.then([&](WindowHandle dialog) {
    EXPECT_EQ(items(dialog, kLanguageList), (std::vector<std::u16string>{u"Английский", u"Цифры"}));
    EXPECT_EQ(selected(dialog, kLanguageList), 0);
    EXPECT_EQ(words(dialog), (std::vector<std::u16string>{u"apple", u"cherry"}));
    EXPECT_EQ(mark(dialog), 0);
    keep_picture(dialog, "dictionaries.png");
    press_soft_key(dialog, 40011);  // "banana"
    EXPECT_EQ(words(dialog), (std::vector<std::u16string>{u"apple", u"banana", u"cherry"}));
    EXPECT_EQ(mark(dialog), 1);
    press_soft_key(dialog, 40011);  // "apple" again, then "x1", then given up
    EXPECT_EQ(words(dialog).size(), 3u);
    act(dialog, DialogAction::pick(kWordList, 2));
    press_soft_key(dialog, 40012);  // "cherry", the last: the new last is selected
    EXPECT_EQ(words(dialog), (std::vector<std::u16string>{u"apple", u"banana"}));
    EXPECT_EQ(mark(dialog), 1);
    press_soft_key(dialog, 40012);  // "banana" asked, not deleted
    EXPECT_EQ(words(dialog).size(), 2u);
    act(dialog, DialogAction::pick(kLanguageList, 1));
    EXPECT_TRUE(words(dialog).empty());
    press_soft_key(dialog, 40012);  // nothing to delete
    act(dialog, DialogAction::click(platform::IDOK));
  });
  word_typed(u"banana");
  driver_.then([&](WindowHandle word) {
    keep_picture(word, "word_dialog.png");
    act(word, DialogAction::type(kWordEdit, u"apple"));
    press_soft_key(word, platform::IDOK);  // there already: box 238, stays open
    act(word, DialogAction::type(kWordEdit, u"\b\b\b\b\bx1"));
    press_soft_key(word, platform::IDOK);  // a digit in a word: box 237
    press_soft_key(word, platform::IDCANCEL);
  });
  driver_.answer_box(platform::IDOK);      // "there already"
  driver_.answer_box(platform::IDOK);      // "unsuitable characters"
  driver_.answer_box(platform::IDOK);      // delete "cherry"
  driver_.answer_box(platform::IDCANCEL);  // keep "banana"
  EXPECT_EQ(run(1), 1);
  EXPECT_EQ(driver_.undriven, 0);

  ASSERT_EQ(driver_.boxes.size(), 4u);
  EXPECT_EQ(driver_.boxes[0].text, u"Данное слово уже присутствует в пользовательском словаре");
  EXPECT_EQ(driver_.boxes[0].caption, u"Ошибка");
  EXPECT_EQ(driver_.boxes[1].text, u"Слово содержит неподходящие символы");
  EXPECT_EQ(driver_.boxes[2].text, u"Вы хотите удалить слово «cherry»?");
  EXPECT_EQ(driver_.boxes[2].caption, u"Удаление слова");
  EXPECT_EQ(driver_.boxes[3].text, u"Вы хотите удалить слово «banana»?");
  const std::vector<std::string> host_calls{"default", "open", "closed", "own hidden", "default", "open", "hide",
                                            "unhide", "hide", "unhide", "closed", "own hidden"};
  EXPECT_EQ(host_.calls, host_calls);

  // The file holds what the dialog showed: another start reads it back.
  engine_->free();
  ASSERT_EQ(engine_->init((data_dir_ / "qlmain.dt").u16string()), 0);
  EXPECT_EQ(engine_words(1), (std::vector<std::u16string>{u"apple", u"banana"}));
}

TEST_F(DictionariesDialogTest, AFailedSaveIsSaidAndTheListShowsWhatTheEngineHolds) {
  start({{5, {u"apple"}}});
  // The dictionary file cannot be replaced any more.
  std::filesystem::remove(data_dir_ / "user.ulb");
  std::filesystem::create_directories(data_dir_ / "user.ulb" / "taken");
  driver_.then([&](WindowHandle dialog) {
    press_soft_key(dialog, 40011);
    EXPECT_EQ(words(dialog), (std::vector<std::u16string>{u"apple", u"date"}));
    act(dialog, DialogAction::pick(kWordList, 0));
    press_soft_key(dialog, 40012);
    EXPECT_EQ(words(dialog), (std::vector<std::u16string>{u"date"}));
    keep_picture(dialog, "dictionaries_after_failed_save.png");
    act(dialog, DialogAction::click(platform::IDOK));
  });
  word_typed(u"date");
  driver_.answer_box(platform::IDOK);  // the failed save
  driver_.answer_box(platform::IDOK);  // delete "apple"
  driver_.answer_box(platform::IDOK);  // the failed save
  run(1);
  ASSERT_EQ(driver_.boxes.size(), 3u);
  EXPECT_EQ(driver_.boxes[0].caption, u"Ошибка");
  EXPECT_EQ(driver_.boxes[0].text, engine_->error_text(12001));
  EXPECT_EQ(engine_words(0), (std::vector<std::u16string>{u"date"}));
}

TEST_F(DictionariesDialogTest, TheDictionarySwitchFollowsTheModeAndChangesTheConfiguration) {
  start({{5, {}}});
  struct Case {
    int mode;
    bool use_dictionary;
    bool enabled;
    bool checked;
  };
  const Case cases[] = {{0, false, false, true}, {1, true, true, true},  {1, false, true, false},
                        {2, false, false, false}, {3, true, false, true}};
  for (const Case& c : cases) {
    configurations_.replace(Configuration(5, CharsetSet{1, 2, 38}, c.use_dictionary));
    driver_.then([&](WindowHandle dialog) {
      EXPECT_EQ(enabled(dialog, kUseDictionary), c.enabled) << c.mode;
      EXPECT_EQ(checked(dialog, kUseDictionary), c.checked) << c.mode;
      act(dialog, DialogAction::click(kUseDictionary));
      act(dialog, DialogAction::click(platform::IDOK));
    });
    run(c.mode);
    // Only the separate-letters mode turns the switch over.
    EXPECT_EQ(configurations_.configurations().at(5).use_dictionary(), c.mode == 1 ? !c.use_dictionary : c.use_dictionary)
        << c.mode;
  }
}

TEST_F(DictionariesDialogTest, WithoutUserDictionariesTheListsAreOffAndAWordKeepsToFiftyCharacters) {
  start({});
  driver_.then([&](WindowHandle dialog) {
    EXPECT_FALSE(enabled(dialog, kLanguageList));
    EXPECT_FALSE(enabled(dialog, kWordList));
    EXPECT_TRUE(checked(dialog, kUseDictionary));  // joined writing always uses it
    press_soft_key(dialog, 40011);
    press_soft_key(dialog, 40012);
    act(dialog, DialogAction::click(platform::IDOK));
  });
  run(0);
  EXPECT_TRUE(driver_.boxes.empty());

  WordDialog word(u"", 0, true, *engine_, host_);
  driver_.then([&](WindowHandle dialog) {
    act(dialog, DialogAction::type(kWordEdit, std::u16string(51, u'a')));
    EXPECT_EQ(text(dialog, kWordEdit).size(), 50u);
    press_soft_key(dialog, platform::IDCANCEL);
  });
  EXPECT_FALSE(word.run(WindowHandle{}));
  EXPECT_EQ(host_.calls.back(), "own shown");  // opened from the prompt: the panel comes back
}

}  // namespace
}  // namespace ductra

#endif  // INKREC_SHARED_LIBRARY
