#include <gtest/gtest.h>

#include "app/common/menu_bar.h"
#include "app/settings/dialog_templates.h"
#include "app/settings/help_titled_dialog.h"
#include "appplatform/dialog/menu_bar.h"
#include "appplatform/draw/color.h"
#include "settings_fixture.h"

namespace ductra {
namespace {

using platform::WindowHandle;

// A help-titled dialog that counts what reached it.
class CountingDialog final : public HelpTitledDialog {
 public:
  int on_help() override { return ++help; }
  int on_command(int id, int code) override {
    commands.push_back(id);
    return HelpTitledDialog::on_command(id, code);
  }
  int on_init_dialog() override {
    ++inits;
    return HelpTitledDialog::on_init_dialog();
  }
  int help = 0;
  int inits = 0;
  std::vector<int> commands;
};

class DialogFrameworkTest : public testing::SettingsTest {
 protected:
  platform::MessageResult send(WindowHandle w, std::uint32_t message, platform::WParam wparam, platform::LParam lparam) {
    return system_.send_message(w, message, wparam, lparam).result;
  }
};

TEST_F(DialogFrameworkTest, MessagesBeforeTheDialogIsBoundReachNoOperation) {
  system_.register_class({u"Bare", [](WindowHandle w, std::uint32_t m, platform::WParam wp, platform::LParam lp) {
                            return platform::WindowSystem::current().default_procedure(w, m, wp, lp);
                          }});
  platform::CreateWindowParams params;
  params.class_name = u"Bare";
  params.style = platform::WS_POPUP;
  const WindowHandle window = system_.create_window(params);
  ASSERT_TRUE(window);
  CountingDialog dialog;
  EXPECT_EQ(Dialog::dialog_proc(window, platform::WM_COMMAND, kHelpCommand, 0), 0);
  EXPECT_EQ(Dialog::dialog_proc(window, platform::WM_INITDIALOG, 0, 0), 0);  // a null object binds nothing
  EXPECT_EQ(Dialog::dialog_proc(window, platform::WM_COMMAND, kHelpCommand, 0), 0);
  EXPECT_EQ(dialog.help, 0);
  EXPECT_EQ(dialog.inits, 0);
  EXPECT_FALSE(dialog.window());
  system_.destroy_window(window);
}

TEST_F(DialogFrameworkTest, OkAndCancelEndTheDialogAndTheHelpCommandAsksForHelp) {
  testing::DialogDriver driver;
  CountingDialog dialog;
  driver.then([&](WindowHandle d) {
    EXPECT_EQ(dialog.window(), d);
    EXPECT_EQ(dialog.inits, 1);
    send(d, platform::WM_COMMAND, kHelpCommand, 0);
    send(d, platform::WM_HELP, 0, 0);
    send(d, platform::WM_COMMAND, platform::IDOK, 0);
  });
  EXPECT_EQ(dialog.run_modal(WindowHandle{}, kAdvancedSettingsTemplate, 0), 1);
  EXPECT_EQ(dialog.help, 2);
  EXPECT_FALSE(dialog.window());

  driver.then([&](WindowHandle d) { send(d, platform::WM_COMMAND, platform::IDCANCEL, 0); });
  EXPECT_EQ(dialog.run_modal(WindowHandle{}, kAdvancedSettingsTemplate, 0), 2);
  const std::vector<int> heard{kHelpCommand, platform::IDOK, platform::IDCANCEL};
  EXPECT_EQ(dialog.commands, heard);
  EXPECT_EQ(dialog.run_modal(WindowHandle{}, 4242, 0), platform::kDialogFailed);  // no such template
}

TEST_F(DialogFrameworkTest, TheTitleIsDarkBlueOnTheStaticBackgroundAndBold) {
  testing::DialogDriver driver;
  CountingDialog dialog;
  driver.then([&](WindowHandle d) {
    platform::DeviceContext dc(screen_);
    const auto answer = send(d, platform::WM_CTLCOLORSTATIC, reinterpret_cast<platform::WParam>(&dc),
                             platform::dialog_item(d, kTitleControl).id);
    ASSERT_NE(answer, 0);
    EXPECT_EQ(reinterpret_cast<const platform::Brush*>(answer)->color, platform::sys_color(platform::COLOR_STATIC));
    EXPECT_EQ(dc.text_color(), kTitleTextColour);
    platform::DeviceContext other(screen_);
    EXPECT_EQ(send(d, platform::WM_CTLCOLORSTATIC, reinterpret_cast<platform::WParam>(&other),
                   platform::dialog_item(d, 1028).id),
              0);
    EXPECT_EQ(send(d, platform::WM_CTLCOLORBTN, reinterpret_cast<platform::WParam>(&other),
                   platform::dialog_item(d, kTitleControl).id),
              0);
    EXPECT_EQ(platform::child_font(platform::dialog_item(d, kTitleControl))->description().weight, 700);
    // The line under the title runs across the screen 8 pixels below it.
    paint_tree(d);
    const platform::Rect title = *system_.window_rect(platform::dialog_item(d, kTitleControl));
    for (const int x : {0, kWidth / 2, kWidth - 1}) {
      EXPECT_EQ(screen_->color_at(x, title.bottom + kTitleLineGap), platform::rgb(0, 0, 0)) << x;
    }
    send(d, platform::WM_COMMAND, platform::IDOK, 0);
  });
  EXPECT_EQ(dialog.run_modal(WindowHandle{}, kAdvancedSettingsTemplate, 0), 1);
}

TEST_F(DialogFrameworkTest, AtTwiceTheDensityTheHelpMarkIsFortyPixelsWideAndOnlyATapOnItAsksForHelp) {
  platform::set_display(screen_, 192);
  EXPECT_EQ(help_icon_square(kWidth, 2, 30), (platform::Rect{kWidth - 55, 26, kWidth - 15, 66}));
  EXPECT_EQ(help_icon_square(kWidth, 1, 30), (platform::Rect{kWidth - 35, 26, kWidth - 15, 46}));
  testing::DialogDriver driver;
  CountingDialog dialog;
  driver.then([&](WindowHandle d) {
    const auto title = *system_.window_rect(platform::dialog_item(d, kTitleControl));
    const platform::Point origin = *system_.client_to_screen(d, {0, 0});
    const int top = title.top - origin.y - 4;
    const auto tap = [&](int x, int y) {
      send(d, platform::WM_LBUTTONDOWN, platform::MK_LBUTTON, platform::make_lparam(x, y));
    };
    tap(kWidth - 56, top + 10);  // just left of it
    tap(kWidth - 35, top - 1);   // just above it
    EXPECT_EQ(dialog.help, 0);
    tap(kWidth - 55, top);
    tap(kWidth - 16, top + 39);
    EXPECT_EQ(dialog.help, 2);
    keep_picture(d, "help_mark_at_192_dpi.png");
    send(d, platform::WM_COMMAND, platform::IDOK, 0);
  });
  dialog.run_modal(WindowHandle{}, kAdvancedSettingsTemplate, 0);
}

TEST_F(DialogFrameworkTest, AMenuBarOfTheTemplatesMenuEndsTheDialogByItsKeys) {
  testing::DialogDriver driver;
  CountingDialog dialog;
  std::vector<std::u16string> keys;
  driver.then([&](WindowHandle d) {
    const WindowHandle bar = dialog.menu_bar();
    ASSERT_TRUE(bar);
    EXPECT_EQ(system_.get_window(bar, platform::GW_OWNER), d);
    const std::vector<platform::Rect> rects = platform::menu_bar_key_rects(bar);
    ASSERT_EQ(rects.size(), 2u);
    // The second key, "Отмена", tapped.
    const platform::Point at{(rects[1].left + rects[1].right) / 2, (rects[1].top + rects[1].bottom) / 2};
    const platform::Point local = *system_.screen_to_client(bar, at);
    send(bar, platform::WM_LBUTTONDOWN, platform::MK_LBUTTON, platform::make_lparam(local.x, local.y));
    send(bar, platform::WM_LBUTTONUP, 0, platform::make_lparam(local.x, local.y));
  });
  EXPECT_EQ(dialog.run_modal(WindowHandle{}, kAdvancedSettingsTemplate, kDoneCancelMenuBar), 2);
  EXPECT_EQ(dialog.commands, std::vector<int>{platform::IDCANCEL});
}

}  // namespace
}  // namespace ductra
