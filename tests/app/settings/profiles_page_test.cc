#include "app/settings/profiles_page.h"

#include <gtest/gtest.h>

#include "app/configurations/stored_configurations.h"
#include "app/settings/settings_sheet.h"
#include "appplatform/registry.h"
#include "settings_fixture.h"

namespace ductra {
namespace {

using platform::DialogAction;
using platform::WindowHandle;

constexpr int kProfilesTab = 1;
constexpr int kConfigurationList = 1038, kAdd = 1065, kEdit = 1094, kDelete = 1039;
constexpr int kFreeList = 1040, kExtraText = 1047, kExtraList = 1041, kAddText = 1025, kAddableList = 1043;

class ProfilesPageTest : public testing::SettingsTest {
 protected:
  ProfilesPageTest() { configurations_.make_default(0x419); }

  // The sheet with its profiles page over `configurations`.
  int show_sheet(Configurations& configurations) {
    SettingsSheet sheet(services_);
    Settings settings;
    return sheet.show(WindowHandle{}, &settings, &configurations);
  }

  Configurations configurations_{CharsetSet{1, 2, 3, 4, 5, 6, 37, 38, 41}};
  testing::DialogDriver driver_;
};

TEST_F(ProfilesPageTest, ConfigurationsAreAddedEditedAndDeletedThroughTheDialogsAndTheRegistryKeepsThem) {
  driver_.then([&](WindowHandle sheet) {
              act(sheet, DialogAction::pick(platform::kSheetTabControl, kProfilesTab));
              const std::vector<std::u16string> start{u"Цифровая", u"Русская", u"Английская"};
              EXPECT_EQ(items(sheet, kConfigurationList), start);
              EXPECT_TRUE(enabled(sheet, kAdd));
              EXPECT_TRUE(enabled(sheet, kDelete));
              keep_picture(sheet, "profiles_page.png");
              act(sheet, DialogAction::click(kAdd));
              EXPECT_FALSE(enabled(sheet, kAdd));  // every main charset configured
              act(sheet, DialogAction::pick(kConfigurationList, 3));
              act(sheet, DialogAction::click(kEdit));
              act(sheet, DialogAction::pick(kConfigurationList, 1));
              act(sheet, DialogAction::click(kDelete));
              act(sheet, DialogAction::click(kDelete));
              const std::vector<std::u16string> end{u"Цифровая", u"Английская", u"Немецкая"};
              EXPECT_EQ(items(sheet, kConfigurationList), end);
              act(sheet, DialogAction::click(platform::IDOK));
            });
  driver_.then([&](WindowHandle add) {
    EXPECT_EQ(items(add, kFreeList), std::vector<std::u16string>{u"Немецкая"});
    keep_picture(add, "add_configuration.png");
    act(add, DialogAction::click(platform::IDOK));
  });
  driver_.then([&](WindowHandle extra) {
    EXPECT_EQ(text(extra, kExtraText), u"Кроме немецких букв, данная конфигурация Ductra распознаёт:");
    const std::vector<std::u16string> extras{u"Макросы", u"Спецсимволы общие", u"Спецсимволы пунктуационные"};
    EXPECT_EQ(items(extra, kExtraList), extras);
    keep_picture(extra, "extra_charsets.png");
    press_soft_key(extra, 40011);
    act(extra, DialogAction::pick(kExtraList, 0));  // "Макросы"
    press_soft_key(extra, 40012);
    act(extra, DialogAction::click(platform::IDOK));
  });
  driver_.then([&](WindowHandle add_extra) {
    EXPECT_EQ(text(add_extra, kAddText),
              u"Выберите дополнительные символы, которые будет распознавать Немецкая конфигурация Ductra:");
    const std::vector<std::u16string> addable{u"Символы телефонного набора", u"Спецсимволы математические", u"Цифры"};
    EXPECT_EQ(items(add_extra, kAddableList), addable);  // sorted by name
    keep_picture(add_extra, "add_extra_charsets.png");
    act(add_extra, DialogAction::pick(kAddableList, 1));
    act(add_extra, DialogAction::click(platform::IDOK));
  });
  driver_.answer_box(platform::IDYES);  // delete "Макросы" from the German configuration
  driver_.answer_box(platform::IDNO);   // keep "Русская"
  driver_.answer_box(platform::IDYES);  // delete it after all

  EXPECT_EQ(show_sheet(configurations_), 1);
  EXPECT_EQ(driver_.undriven, 0);
  EXPECT_EQ(driver_.boxes.size(), 3u);
  EXPECT_EQ(driver_.boxes[1].text, u"Удалить конфигурацию из списка текущих конфигураций?");

  const Configuration german(6, CharsetSet{2, 37, 38}, true);
  ASSERT_TRUE(configurations_.configurations().contains(6));
  EXPECT_EQ(configurations_.configurations().at(6).to_values(), german.to_values());
  EXPECT_FALSE(configurations_.configurations().contains(4));
  EXPECT_EQ(configurations_.current(), 3u);  // the current Russian one went: the first is current

  const platform::Registry registry(root_);
  ASSERT_TRUE(save_configurations_to(registry, configurations_));
  Configurations reloaded{CharsetSet{1, 2, 3, 4, 5, 6, 37, 38, 41}};
  ASSERT_TRUE(load_configurations_from(registry, &reloaded));
  std::vector<std::vector<CharsetId>> stored;
  for (const auto& [title, configuration] : reloaded.configurations()) stored.push_back(configuration.to_values());
  const std::vector<std::vector<CharsetId>> expected{{3, 1, 2, 37}, {5, 1, 2, 38}, {6, 2, 37, 38}};
  EXPECT_EQ(stored, expected);
}

TEST_F(ProfilesPageTest, TheLastConfigurationStaysAndAnEditThatIsCancelledChangesNothing) {
  Configurations single{CharsetSet{1, 2, 3, 37, 38}};
  single.make_default(0x409);
  single.remove(5);
  ASSERT_EQ(single.configurations().size(), 1u);
  driver_.then([&](WindowHandle sheet) {
    act(sheet, DialogAction::pick(platform::kSheetTabControl, kProfilesTab));
    EXPECT_FALSE(enabled(sheet, kDelete));
    EXPECT_FALSE(enabled(sheet, kAdd));
    act(sheet, DialogAction::click(kDelete));  // disabled: nothing happens
    act(sheet, DialogAction::click(kEdit));
    act(sheet, DialogAction::click(platform::IDOK));
  });
  driver_.then([&](WindowHandle extra) {
    press_soft_key(extra, 40011);
    system_.send_message(extra, platform::WM_COMMAND, platform::IDCANCEL, 0);
  });
  driver_.then([&](WindowHandle add_extra) {
    // The digits configuration is offered its own title; choosing it adds nothing.
    EXPECT_EQ(items(add_extra, kAddableList), (std::vector<std::u16string>{u"Спецсимволы пунктуационные", u"Цифры"}));
    act(add_extra, DialogAction::pick(kAddableList, 1));
    act(add_extra, DialogAction::click(platform::IDOK));
  });
  EXPECT_EQ(show_sheet(single), 1);
  EXPECT_EQ(single.configurations().at(3).to_values(), (std::vector<CharsetId>{3, 1, 2, 37}));
  EXPECT_TRUE(driver_.boxes.empty());
}

}  // namespace
}  // namespace ductra
