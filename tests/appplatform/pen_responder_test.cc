#include <gtest/gtest.h>

#include <atomic>

#include "appplatform/hold_gesture.h"
#include "appplatform/message_box.h"
#include "appplatform/pen_responder.h"
#include "appplatform/popup_menu.h"
#include "appplatform/thread.h"
#include "appplatform/window_server.h"
#include "appplatform/window_system.h"
#include "virtual_time.h"

namespace ductra::platform {
namespace {

Point centre(Rect r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

class PenUiTest : public VirtualTimeTest {
 protected:
  void tap(Point from, Point to) {
    server_.pointer_input(PointerAction::down, from);
    server_.pointer_input(PointerAction::move, to);
    server_.pointer_input(PointerAction::up, to);
    clock_.advance(0);
  }

  WindowServer server_{240, 320};
  WindowSystem system_{server_};
};

TEST_F(PenUiTest, AMenuTakesTheItemThePenIsLiftedOnAndATapOutsideDismissesIt) {
  std::atomic<int> first{-5};
  std::atomic<int> second{-5};
  PopupMenu menu;
  menu.append(MF_STRING, -100, u"Опции");
  menu.append(MF_SEPARATOR, 0, u"");
  menu.append(MF_STRING, 1005, u"English");
  auto ui = Thread::start([&]() -> std::uint32_t {
    first.store(track_popup_menu(menu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_BOTTOMALIGN, 20, 200, {}));
    second.store(track_popup_menu(menu, TPM_RETURNCMD, 20, 200, {}));
    return 0;
  });
  ASSERT_TRUE(ui);
  clock_.advance(0);
  const WindowHandle shown = system_.find_window(u"Ductra Menu", std::nullopt);
  ASSERT_TRUE(shown);
  const MenuLayout layout = layout_menu(menu, {20, 200}, TPM_BOTTOMALIGN, {0, 0, 240, 320});
  EXPECT_EQ(system_.window_rect(shown), layout.frame);
  EXPECT_EQ(system_.get_window(kDesktopWindow, GW_CHILD), shown);  // topmost

  // Pressed on one item, lifted on another: the second is chosen.
  tap(centre(layout.item_rects[0]), centre(layout.item_rects[2]));
  EXPECT_EQ(first.load(), 1005);
  EXPECT_EQ(second.load(), -5);
  tap({200, 20}, {200, 20});
  EXPECT_EQ(second.load(), 0);
  EXPECT_FALSE(system_.find_window(u"Ductra Menu", std::nullopt));
  EXPECT_EQ(system_.capture(), WindowHandle{});
}

TEST_F(PenUiTest, AMessageBoxIsAnsweredByTappingAButton) {
  std::atomic<int> answer{-5};
  auto ui = Thread::start([&]() -> std::uint32_t {
    answer.store(message_box({}, u"Удалить конфигурацию?", u"Ductra", MB_YESNO | MB_ICONQUESTION));
    return 0;
  });
  ASSERT_TRUE(ui);
  clock_.advance(0);
  const MessageBoxLayout layout =
      layout_message_box(*message_box_request({}, u"Удалить конфигурацию?", u"Ductra", MB_YESNO), {0, 0, 240, 320});
  ASSERT_EQ(layout.button_rects.size(), 2u);
  EXPECT_EQ(system_.window_rect(system_.find_window(u"Ductra Message Box", std::nullopt)), layout.frame);
  tap({layout.frame.left + 1, layout.frame.top + 1}, {layout.frame.left + 1, layout.frame.top + 1});  // not a button
  EXPECT_EQ(answer.load(), -5);
  tap(centre(layout.button_rects[1]), centre(layout.button_rects[1]));
  EXPECT_EQ(answer.load(), IDNO);
}

std::atomic<int> gesture{-1};
std::atomic<int> later_pointer_messages{0};

MessageResult hold_procedure(WindowHandle window, std::uint32_t message, WParam wparam, LParam lparam) {
  WindowSystem& system = WindowSystem::current();
  if (message == WM_LBUTTONDOWN) {
    gesture.store(recognize_gesture(window, param_point(lparam), SHRG_RETURNCMD));
    return 0;
  }
  if (message == WM_MOUSEMOVE || message == WM_LBUTTONUP) ++later_pointer_messages;
  if (message == WM_CLOSE) system.post_quit_message(0);
  return system.default_procedure(window, message, wparam, lparam);
}

TEST_F(PenUiTest, TheHoldGestureNeedsThePenStillForItsWholeTime) {
  std::atomic<std::uint32_t> window_id{0};
  system_.register_class({u"Hold Window", hold_procedure});
  auto ui = Thread::start([&]() -> std::uint32_t {
    CreateWindowParams params;
    params.class_name = u"Hold Window";
    params.style = WS_POPUP | WS_VISIBLE;
    params.width = 240;
    params.height = 320;
    window_id.store(system_.create_window(params).id);
    Message m;
    while (system_.get_message(m) > 0) system_.dispatch_message(m);
    return 0;
  });
  ASSERT_TRUE(ui);
  clock_.advance(0);

  struct Case {
    const char* name;
    Millis before_move;
    Point move_to;  // no move when equal to the press
    Millis after;
    bool release;
    int expected;
    int pointer_messages_left;  // what the window still gets of the stroke
  };
  const Point press{100, 100};
  const Case cases[] = {
      {"held", 0, press, kHoldTimeMs, false, GN_CONTEXTMENU, 0},
      {"small move", 100, {103, 96}, kHoldTimeMs - 100, false, GN_CONTEXTMENU, 0},
      {"moved away", 100, {106, 100}, 0, false, 0, 1},
      {"lifted early", 200, press, 0, true, 0, 1},
  };
  for (const Case& c : cases) {
    gesture = -1;
    later_pointer_messages = 0;
    server_.pointer_input(PointerAction::down, press);
    clock_.advance(c.before_move);
    if (c.move_to != press) server_.pointer_input(PointerAction::move, c.move_to);
    if (c.release) server_.pointer_input(PointerAction::up, press);
    clock_.advance(c.after > 0 ? c.after - 1 : 0);
    if (c.expected == GN_CONTEXTMENU) {
      EXPECT_EQ(gesture.load(), -1) << c.name << ": one millisecond early";
      clock_.advance(1);
    }
    EXPECT_EQ(gesture.load(), c.expected) << c.name;
    EXPECT_EQ(later_pointer_messages.load(), c.pointer_messages_left) << c.name;
    if (!c.release) server_.pointer_input(PointerAction::up, press);
    clock_.advance(0);
  }
  system_.post_message(WindowHandle{window_id.load()}, WM_CLOSE, 0, 0);
  clock_.advance(0);
  EXPECT_TRUE(ui->has_ended());
}

}  // namespace
}  // namespace ductra::platform
