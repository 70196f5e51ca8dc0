#include "app/settings/installation_dialogs.h"

#include <gtest/gtest.h>

#include "app/settings/dialog_templates.h"
#include "settings_fixture.h"

namespace ductra {
namespace {

using platform::WindowHandle;

class InstallationDialogsTest : public testing::SettingsTest {};

TEST_F(InstallationDialogsTest, TheFirstSaysTheInstallationIsDoneAndTheSecondShowsTheFlourishes) {
  for (const std::uint32_t language : {1049u, 1033u}) {
    SCOPED_TRACE(language);
    localizer().set_language(language);
    testing::DialogDriver driver;
    driver.then([&](WindowHandle dialog) {
      EXPECT_EQ(text(dialog, kInstallationDoneControl), localizer().string(kInstallationDoneText));
      EXPECT_NE(text(dialog, kInstallationDoneControl).find(u"Ductra"), std::u16string::npos);
      keep_picture(dialog, "installation_done_" + std::to_string(language) + ".png");
      act(dialog, platform::DialogAction::click(platform::IDOK));
    });
    driver.then([&](WindowHandle dialog) {
      EXPECT_EQ(text(dialog, kTitleControl), language == 1033u ? u"Flourishes" : u"Росчерки");
      keep_picture(dialog, "flourishes_" + std::to_string(language) + ".png");
      act(dialog, platform::DialogAction::click(platform::IDOK));
    });
    EXPECT_TRUE(run_installation_dialog(kInstallationDoneTemplate, {}));
    EXPECT_TRUE(run_installation_dialog(kFlourishesTemplate, {}));
    EXPECT_EQ(driver.undriven, 0);
  }
  EXPECT_FALSE(run_installation_dialog(kWordTemplate, {})) << "not an installation dialog";
}

}  // namespace
}  // namespace ductra
