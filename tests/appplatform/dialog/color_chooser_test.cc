#include "appplatform/dialog/color_chooser.h"

#include <gtest/gtest.h>

#include <atomic>

#include "appplatform/message_box.h"
#include "appplatform/scripted_responder.h"
#include "appplatform/thread.h"
#include "dialog_fixture.h"

namespace ductra::platform {
namespace {

TEST_F(DialogTest, TheColourChooserGivesTheTappedSwatchOnOkAndNothingOnCancel) {
  std::array<ColorRef, 16> custom{};
  custom[2] = rgb(10, 20, 30);
  ChooseColorRequest request;
  request.color = rgb(1, 2, 3);
  request.flags = CC_RGBINIT;
  request.custom_colors = &custom;

  std::atomic<bool> accepted{false};
  auto ui = Thread::start([&]() -> std::uint32_t {
    accepted.store(choose_color(request));
    return 0;
  });
  ASSERT_TRUE(ui);
  clock_.advance(0);
  const WindowHandle chooser = system_.find_window(kDialogClass, kColorChooserTitle);
  ASSERT_TRUE(chooser);
  const Rect sample = *system_.window_rect(dialog_item(chooser, kColorSample));
  EXPECT_EQ(screen_->color_at(sample.left + 3, sample.top + 3), screen_->color_of(screen_->native_of(rgb(1, 2, 3))));
  tap_item(chooser, kFirstSwatch + 5);
  EXPECT_EQ(screen_->color_at(sample.left + 3, sample.top + 3), rgb(255, 255, 0));
  tap_item(chooser, IDOK);
  EXPECT_TRUE(ui->has_ended());
  ui.reset();
  EXPECT_TRUE(accepted.load());
  EXPECT_EQ(request.color, rgb(255, 255, 0));

  ScriptedResponder script;
  script.script_dialog({DialogAction::click(kFirstSwatch + 16 + 2), DialogAction::click(IDOK)});
  script.script_dialog({DialogAction::click(kFirstSwatch + 3), DialogAction::click(IDCANCEL)});
  EXPECT_TRUE(choose_color(request));
  EXPECT_EQ(request.color, rgb(10, 20, 30));  // a custom colour
  EXPECT_FALSE(choose_color(request));
  EXPECT_EQ(request.color, rgb(10, 20, 30));  // cancelled: unchanged
  EXPECT_EQ(script.unscripted(), 0);
}

}  // namespace
}  // namespace ductra::platform
