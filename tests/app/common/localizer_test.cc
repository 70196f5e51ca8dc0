#include "app/common/localizer.h"

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <thread>

#include "app/common/charset_names.h"
#include "app/common/menu_bar.h"
#include "appplatform/message_box.h"
#include "appplatform/resources/builtin_resources.h"
#include "appplatform/scripted_responder.h"
#include "appplatform/text.h"
#include "appplatform/window_server.h"
#include "appplatform/window_system.h"
#include "bundle_folder.h"

namespace ductra {
namespace {

using platform::builtin_strings;

// The program's own text of an id.
std::u16string own(std::uint32_t id) { return *builtin_strings().find(id); }

class LocalizerTest : public ::testing::Test {
 protected:
  Localizer make(std::uint16_t system_language) {
    return Localizer(folder_.path(), system_language, builtin_strings());
  }
  testing::BundleFolder folder_;
};

TEST_F(LocalizerTest, LanguagesFallBackToEnglishThenToTheProgramsOwnStrings) {
  folder_.write(1049, "44 from the 0419 bundle\n");
  folder_.write(1033, "44 from the 0409 bundle\n");
  struct Case {
    std::uint32_t asked;
    std::uint16_t system;
    bool bundle_used;
    std::uint16_t language;
    std::u16string text44;
  };
  const Case cases[] = {
      {0, 1049, true, 1049, u"from the 0419 bundle"},       // the system's language
      {1049, 1033, true, 1049, u"from the 0419 bundle"},
      {0x10419, 1033, true, 1049, u"from the 0419 bundle"},  // only the low 16 bits count
      {1031, 1049, true, 1033, u"from the 0409 bundle"},     // no 0407: English
      {0, 1036, true, 1033, u"from the 0409 bundle"},
  };
  for (const Case& c : cases) {
    Localizer localizer = make(c.system);
    EXPECT_EQ(localizer.set_language(c.asked), c.bundle_used) << c.asked;
    EXPECT_EQ(localizer.language(), c.language) << c.asked;
    EXPECT_EQ(localizer.string(44), c.text44) << c.asked;
  }

  std::filesystem::remove(folder_.path() / platform::bundle_file_name(1033));
  Localizer without = make(1049);
  EXPECT_FALSE(without.set_language(1031));
  EXPECT_EQ(without.language(), 0);
  EXPECT_EQ(without.string(44), own(44));
}

TEST_F(LocalizerTest, ABrokenBundleCountsAsMissing) {
  folder_.write(1031, "44 gut\nthis line is not a string\n");
  folder_.write(1033, "44 fine\n");
  Localizer localizer = make(1033);
  EXPECT_TRUE(localizer.set_language(1031));
  EXPECT_EQ(localizer.language(), 1033);
  EXPECT_EQ(localizer.string(44), u"fine");
}

TEST_F(LocalizerTest, StringsComeFromTheBundleElseFromTheProgramAndAreCutToTheBuffer) {
  folder_.write(1033, "14 Error: could not create an event.\n21 \n");
  Localizer localizer = make(1033);
  ASSERT_TRUE(localizer.set_language(0));

  std::array<char16_t, 64> buffer{};
  EXPECT_TRUE(localizer.get_string(14, buffer));
  EXPECT_EQ(std::u16string(buffer.data()), u"Error: could not create an event.");
  EXPECT_TRUE(localizer.get_string(21, buffer));  // empty in the bundle: the program's own
  EXPECT_EQ(std::u16string(buffer.data()), own(21));
  EXPECT_TRUE(localizer.get_string(23, buffer));  // missing in the bundle
  EXPECT_EQ(std::u16string(buffer.data()), own(23));

  buffer[0] = u'x';
  EXPECT_FALSE(localizer.get_string(9999, buffer));  // nowhere
  EXPECT_EQ(buffer[0], u'\0');

  std::array<char16_t, 6> small{};
  EXPECT_TRUE(localizer.get_string(14, small));
  EXPECT_EQ(std::u16string(small.data()), u"Error");
}

TEST_F(LocalizerTest, ABundleFormatWithOtherConversionsFallsBackToTheProgramsOwn) {
  const FormatArg args[] = {u"advice", u"CCore::CoreThread", 4029};
  const std::u16string own_text =
      u"Error occured in recognition core.\nRecomendations: advice\n\nFunction which handled the error: "
      u"CCore::CoreThread\nError code: 4029";
  struct Case {
    std::string bundle_257;
    std::u16string expected;
  };
  const Case cases[] = {
      {"257 %s / %s / %d", u"advice / CCore::CoreThread / 4029"},
      {"257 %d %s %s", own_text},        // other order
      {"257 %s %s", own_text},           // one missing
      {"257 %s %s %d %s", own_text},     // one more
      {"257 %s %n %d", own_text},        // a writing conversion
      {"257 %s %s %10d", own_text},      // a width
      {"257 %s %ls %d", own_text},       // a length modifier
      {"257 100%% %s %s %d", u"100% advice CCore::CoreThread 4029"},
      {"44 no 257 here", own_text},
  };
  for (const Case& c : cases) {
    folder_.write(1033, c.bundle_257 + "\n");
    Localizer localizer = make(1033);
    ASSERT_TRUE(localizer.set_language(1033));
    EXPECT_EQ(localizer.format(257, args, 1023), c.expected) << c.bundle_257;
  }
}

TEST_F(LocalizerTest, ReadersNeverSeeABundleFreedUnderThem) {
  folder_.write(1049, "44 russian\n");
  folder_.write(1033, "44 english\n");
  Localizer localizer = make(1033);
  localizer.set_language(1033);
  std::atomic<bool> done = false;
  std::atomic<int> odd_texts = 0;
  std::thread reader([&] {
    std::array<char16_t, 16> buffer{};
    while (!done.load()) {
      localizer.get_string(44, buffer);
      const std::u16string text = buffer.data();
      if (text != u"russian" && text != u"english") ++odd_texts;
      const std::u16string formatted = localizer.format(44, {}, 100);
      if (formatted != u"russian" && formatted != u"english") ++odd_texts;
    }
  });
  for (int i = 0; i < 200; ++i) localizer.set_language(i % 2 == 0 ? 1049 : 1033);
  done = true;
  reader.join();
  EXPECT_EQ(odd_texts.load(), 0);
}

TEST_F(LocalizerTest, AMessageBoxOfStringIdsHasTheProductCaptionForCaptionZero) {
  platform::WindowServer server(240, 320);
  platform::WindowSystem system(server);
  platform::ScriptedResponder responder;
  folder_.write(1033, "19 Delete a word\n");
  Localizer localizer = make(1033);
  localizer.set_language(0);

  responder.answer_box(platform::IDOK);
  EXPECT_EQ(localizer.message_box({}, 44, 0, platform::MB_OK), platform::IDOK);
  responder.answer_box(platform::IDCANCEL);
  EXPECT_EQ(localizer.message_box({}, 251, 19, platform::MB_OKCANCEL), platform::IDCANCEL);

  const auto boxes = responder.boxes();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].text, own(44));
  EXPECT_EQ(boxes[0].caption, u"Ductra 9.0");
  EXPECT_EQ(boxes[1].text, own(251).substr(0, 255));
  EXPECT_EQ(boxes[1].caption, u"Delete a word");
}

TEST_F(LocalizerTest, CharsetNamesComeFromTheStringTableForOneToFortyTwoElseFromTheEngine) {
  folder_.write(1033, "6105 English\n6207 the French\n");
  Localizer localizer = make(1033);
  localizer.set_language(0);
  std::vector<std::uint32_t> asked;
  const CharsetLookup engine = [&](std::uint32_t id, crCharSet* record) {
    asked.push_back(id);
    EXPECT_EQ(record->id, static_cast<std::uint32_t>(-127));  // prepared as "none"
    if (id == 99) return 4001;                                 // unknown to the engine
    record->id = id;
    std::fill(std::begin(record->name), std::end(record->name), u'N');  // no terminator
    record->name[0] = static_cast<char16_t>(u'A' + id % 26);
    return 0;
  };
  struct Case {
    std::uint32_t id;
    int kind;
    std::u16string name;
    bool engine_asked;
  };
  const std::u16string thirty_n(29, u'N');
  const Case cases[] = {
      {5, 0, u"English", false},
      {7, 1, u"the French", false},
      {4, 1, own(6204), false},                 // missing in the bundle: the program's own
      {43, 0, u"R" + thirty_n, true},           // beyond 42: never the string table
      {0, 0, u"A" + thirty_n, true},
      {5, 3, u"F" + thirty_n, true},            // no such kind
      {99, 0, u"", true},
  };
  for (const Case& c : cases) {
    asked.clear();
    EXPECT_EQ(charset_display_name(localizer, engine, c.id, c.kind), c.name) << c.id << " " << c.kind;
    EXPECT_EQ(!asked.empty(), c.engine_asked) << c.id << " " << c.kind;
  }
  EXPECT_EQ(charset_name_base(2), 6300);
  EXPECT_EQ(charset_name_base(-1), kNoCharsetNameBase);
}

TEST_F(LocalizerTest, MenuBarsComeFromTheBundleElseOnceMoreFromTheProgram) {
  folder_.write(1033, "13801 Done\n13802 Cancel\n14401 Add\n");  // 144 lacks its second text
  Localizer localizer = make(1033);
  localizer.set_language(0);
  std::vector<MenuBarRequest> requests;
  int refusals = 0;
  const MenuBarMaker maker = [&](const MenuBarRequest& request) {
    requests.push_back(request);
    if (refusals > 0) {
      --refusals;
      return platform::WindowHandle{};
    }
    return platform::WindowHandle{77};
  };
  const platform::WindowHandle parent{5};

  EXPECT_EQ(create_menu_bar(localizer, maker, parent, kDoneCancelMenuBar, SHCMBF_HMENU, 0, 0).id, 77u);
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].items.size(), 2u);
  EXPECT_EQ(requests[0].items[0].command, 1);
  EXPECT_EQ(requests[0].items[0].text, u"Done");
  EXPECT_EQ(requests[0].items[1].command, 2);
  EXPECT_EQ(requests[0].parent, parent);

  requests.clear();
  EXPECT_EQ(create_menu_bar(localizer, maker, parent, kAddDeleteMenuBar, SHCMBF_HMENU, 0, 0).id, 77u);
  ASSERT_EQ(requests.size(), 1u);  // the bundle lacks it: straight to the program's own
  EXPECT_EQ(requests[0].items[0].text, u"Добавить");
  EXPECT_EQ(requests[0].items[1].command, 40012);

  requests.clear();
  refusals = 1;
  EXPECT_EQ(create_menu_bar(localizer, maker, parent, kDoneCancelMenuBar, SHCMBF_HMENU, 0, 0).id, 77u);
  ASSERT_EQ(requests.size(), 2u);  // refused from the bundle, made from the program
  EXPECT_EQ(requests[1].items[0].text, u"Готово");

  requests.clear();
  refusals = 2;
  EXPECT_FALSE(create_menu_bar(localizer, maker, parent, kDoneCancelMenuBar, SHCMBF_HMENU, 0, 0));
  EXPECT_EQ(requests.size(), 2u);

  requests.clear();
  EXPECT_FALSE(create_menu_bar(localizer, maker, parent, 999, SHCMBF_HMENU, 0, 0));
  EXPECT_TRUE(requests.empty());  // no such resource anywhere
  EXPECT_EQ(create_menu_bar(localizer, maker, parent, 0, SHCMBF_EMPTYBAR, 0, 0).id, 77u);
  EXPECT_TRUE(requests.back().items.empty());
}

TEST_F(LocalizerTest, ADialogTakesItsTextsFromTheBundleThatHoldsItsTitle) {
  folder_.write(1033, "13500 Advanced\n13502 Copybook\n13503 \n14201 Choose one\n");
  platform::DialogTemplate own;
  own.id = 135;
  own.title = u"Расширенные";
  own.items = {{1025, u"STATIC", u"Расширенные", 0, {}}, {1028, u"STATIC", u"Прописи", 0, {}},
               {1094, u"BUTTON", u"Настроить", 0, {}}};
  Localizer localizer = make(1033);

  EXPECT_EQ(localizer.localized_template(own).title, own.title);  // no bundle yet
  EXPECT_EQ(localizer.dialog_module(135), nullptr);
  ASSERT_TRUE(localizer.set_language(1033));
  EXPECT_EQ(localizer.dialog_module(135), localizer.bundle());
  const platform::DialogTemplate english = localizer.localized_template(own);
  EXPECT_EQ(english.title, u"Advanced");
  EXPECT_EQ(english.items[0].text, u"Расширенные");  // item 1 has no text in the bundle
  EXPECT_EQ(english.items[1].text, u"Copybook");
  EXPECT_EQ(english.items[2].text, u"Настроить");  // an empty text counts as missing
  EXPECT_EQ(english.items[1].id, 1028);

  own.id = 142;  // the bundle has an item text of 142 but not its title
  EXPECT_EQ(localizer.dialog_module(142), nullptr);
  EXPECT_EQ(localizer.localized_template(own).items[0].text, u"Расширенные");
}

TEST_F(LocalizerTest, NumbersAreWrittenWithTheUsersDecimalSeparator) {
  const FormatArg seconds[] = {0.4};
  EXPECT_EQ(Localizer(folder_.path(), 1049, builtin_strings(), u',').format(31, seconds, 64), u"0,4 с.");
  EXPECT_EQ(Localizer(folder_.path(), 1049, builtin_strings()).format(31, seconds, 64), u"0.4 с.");
  const FormatArg three[] = {3.0};
  EXPECT_EQ(Localizer(folder_.path(), 1049, builtin_strings(), u',').format(31, three, 64), u"3 с.");
}

}  // namespace
}  // namespace ductra
