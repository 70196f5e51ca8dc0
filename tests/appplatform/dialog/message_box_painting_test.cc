#include <gtest/gtest.h>

#include <atomic>

#include "appplatform/draw/color.h"
#include "appplatform/message_box.h"
#include "appplatform/pen_responder.h"
#include "appplatform/thread.h"
#include "dialog_fixture.h"

namespace ductra::platform {
namespace {

TEST_F(DialogTest, AMessageBoxIsDrawnWithItsCaptionTextAndButtonsAndAnsweredByThePen) {
  std::atomic<int> answer{0};
  auto ui = Thread::start([&]() -> std::uint32_t {
    answer.store(message_box({}, u"Delete the word?", u"Words", MB_OKCANCEL));
    return 0;
  });
  ASSERT_TRUE(ui);
  clock_.advance(0);
  const MessageBoxLayout layout =
      layout_message_box(*message_box_request({}, u"Delete the word?", u"Words", MB_OKCANCEL), {0, 0, kWidth, kHeight});
  const auto as_shown = [&](ColorRef c) { return screen_->color_of(screen_->native_of(c)); };
  EXPECT_EQ(screen_->color_at(layout.frame.left, layout.frame.top), as_shown(sys_color(COLOR_WINDOWFRAME)));
  EXPECT_EQ(screen_->color_at(layout.frame.left + 2, layout.frame.top + 2), as_shown(sys_color(COLOR_HIGHLIGHT)));
  const Rect cancel = layout.button_rects.at(1);
  EXPECT_EQ(screen_->color_at(cancel.left, cancel.top), as_shown(sys_color(COLOR_WINDOWFRAME)));
  keep(*copy_of_display(), "message_box.png");
  pen(centre_of(cancel), centre_of(cancel));
  EXPECT_TRUE(ui->has_ended());
  ui.reset();
  EXPECT_EQ(answer.load(), IDCANCEL);
}

}  // namespace
}  // namespace ductra::platform
