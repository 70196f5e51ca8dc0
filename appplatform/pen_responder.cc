#include "appplatform/pen_responder.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>

#include "appplatform/dialog/display_ui_painter.h"
#include "appplatform/hold_gesture.h"
#include "appplatform/window_system.h"

namespace ductra::platform {

namespace {

constexpr char16_t kMenuClass[] = u"Ductra Menu";
constexpr char16_t kMessageBoxClass[] = u"Ductra Message Box";
constexpr int kBoxMargin = 10;
constexpr int kBoxCaptionHeight = 24;
constexpr int kBoxLineHeight = 16;
constexpr int kBoxCharsPerLine = 28;
constexpr int kButtonWidth = 60;
constexpr int kButtonHeight = 24;
constexpr int kButtonGap = 8;

std::atomic<UiPainter*> painter{&display_ui_painter()};

// What a nested loop waits for, reached through the window's user data.
struct MenuSession {
  const MenuRequest* request = nullptr;
  std::optional<std::size_t> highlighted;
  std::optional<int> chosen;
  bool done = false;
};

struct BoxSession {
  const MessageBoxRequest* request = nullptr;
  MessageBoxLayout layout;
  int answer = 0;
  bool done = false;
};

template <typename Session>
Session* session_of(WindowHandle window) {
  return reinterpret_cast<Session*>(WindowSystem::current().user_data(window));
}

Point to_screen(WindowHandle window, LParam lparam) {
  const Point client = param_point(lparam);
  return WindowSystem::current().client_to_screen(window, client).value_or(client);
}

MessageResult menu_procedure(WindowHandle window, std::uint32_t message, WParam wparam, LParam lparam) {
  WindowSystem& system = WindowSystem::current();
  MenuSession* session = session_of<MenuSession>(window);
  if (!session) return system.default_procedure(window, message, wparam, lparam);
  const MenuRequest& request = *session->request;
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_MOUSEMOVE: {
      auto item = menu_item_at(*request.menu, request.layout, to_screen(window, lparam));
      if (item != session->highlighted) {
        session->highlighted = item;
        system.invalidate_rect(window, std::nullopt, false);
      }
      return 0;
    }
    case WM_LBUTTONUP: {
      // A release on an item chooses it; anywhere else dismisses the menu.
      auto item = menu_item_at(*request.menu, request.layout, to_screen(window, lparam));
      if (item) session->chosen = request.menu->items()[*item].id;
      session->done = true;
      return 0;
    }
    case WM_PAINT: {
      const PaintInfo paint = system.begin_paint(window);
      if (UiPainter* p = painter.load()) p->paint_menu(window, request, session->highlighted);
      system.end_paint(window, paint);
      return 0;
    }
    default:
      return system.default_procedure(window, message, wparam, lparam);
  }
}

MessageResult box_procedure(WindowHandle window, std::uint32_t message, WParam wparam, LParam lparam) {
  WindowSystem& system = WindowSystem::current();
  BoxSession* session = session_of<BoxSession>(window);
  if (!session) return system.default_procedure(window, message, wparam, lparam);
  switch (message) {
    case WM_LBUTTONUP: {
      const Point at = to_screen(window, lparam);
      const auto& rects = session->layout.button_rects;
      for (std::size_t i = 0; i < rects.size(); ++i) {
        if (rects[i].contains(at)) {
          session->answer = session->request->buttons[i];
          session->done = true;
        }
      }
      return 0;
    }
    case WM_PAINT: {
      const PaintInfo paint = system.begin_paint(window);
      if (UiPainter* p = painter.load()) p->paint_message_box(window, *session->request, session->layout);
      system.end_paint(window, paint);
      return 0;
    }
    default:
      return system.default_procedure(window, message, wparam, lparam);
  }
}

// Shows a topmost window that takes the pointer and runs the thread's
// messages until `done`. A quit request met on the way is kept for the
// thread's own loop.
template <typename Session>
void run_modal(const char16_t* class_name, WindowProcedure procedure, Rect frame, WindowHandle owner, Session& session) {
  WindowSystem& system = WindowSystem::current();
  system.register_class({class_name, procedure});
  CreateWindowParams params;
  params.class_name = class_name;
  params.style = WS_POPUP | WS_VISIBLE;
  params.ex_style = WS_EX_TOPMOST | WS_EX_NOACTIVATE;
  params.x = frame.left;
  params.y = frame.top;
  params.width = frame.width();
  params.height = frame.height();
  params.parent = owner;
  const WindowHandle window = system.create_window(params);
  if (!window) return;
  system.set_user_data(window, reinterpret_cast<std::uintptr_t>(&session));
  const WindowHandle previous_capture = system.set_capture(window);
  Message m;
  while (!session.done) {
    const int got = system.get_message(m);
    if (got == 0) system.post_quit_message(static_cast<int>(m.wparam));
    if (got <= 0) break;
    system.dispatch_message(m);
  }
  system.set_user_data(window, 0);
  system.destroy_window(window);
  if (previous_capture && system.is_window(previous_capture)) {
    system.set_capture(previous_capture);
  } else {
    system.release_capture();
  }
}

bool is_pointer_message(std::uint32_t message) {
  return message == WM_MOUSEMOVE || message == WM_LBUTTONDOWN || message == WM_LBUTTONUP;
}

}  // namespace

UiPainter* set_ui_painter(UiPainter* new_painter) { return painter.exchange(new_painter); }

MessageBoxLayout layout_message_box(const MessageBoxRequest& request, Rect screen) {
  const int buttons = static_cast<int>(request.buttons.size());
  const int buttons_width = buttons * kButtonWidth + (buttons - 1) * kButtonGap;
  const int width = std::min(screen.width(), std::max(buttons_width + 2 * kBoxMargin, screen.width() * 5 / 6));
  const int lines = std::max<int>(1, static_cast<int>((request.text.size() + kBoxCharsPerLine - 1) / kBoxCharsPerLine));
  const int height = std::min(screen.height(), kBoxCaptionHeight + lines * kBoxLineHeight + kButtonHeight + 3 * kBoxMargin);
  MessageBoxLayout layout;
  layout.frame = Rect{0, 0, width, height}.offset(screen.left + (screen.width() - width) / 2,
                                                  screen.top + (screen.height() - height) / 2);
  int x = layout.frame.left + (width - buttons_width) / 2;
  const int y = layout.frame.bottom - kBoxMargin - kButtonHeight;
  for (int i = 0; i < buttons; ++i) {
    layout.button_rects.push_back({x, y, x + kButtonWidth, y + kButtonHeight});
    x += kButtonWidth + kButtonGap;
  }
  return layout;
}

std::optional<int> PenResponder::choose_menu_item(const MenuRequest& request) {
  MenuSession session;
  session.request = &request;
  run_modal(kMenuClass, menu_procedure, request.layout.frame, request.owner, session);
  return session.chosen;
}

int PenResponder::answer_message_box(const MessageBoxRequest& request) {
  WindowSystem& system = WindowSystem::current();
  const ScreenState screen = system.screen();
  BoxSession session;
  session.request = &request;
  session.layout = layout_message_box(request, {0, 0, screen.width, screen.height});
  run_modal(kMessageBoxClass, box_procedure, session.layout.frame, request.owner, session);
  return session.answer;
}

bool PenResponder::recognize_hold(const HoldRequest& request) {
  WindowSystem& system = WindowSystem::current();
  const std::uintptr_t timer = system.set_timer({}, 0, kHoldTimeMs);
  bool held = false;
  Message m;
  for (;;) {
    if (!system.peek_message(m, true)) {
      if (!system.wait_message()) break;
      continue;
    }
    if (!m.window && m.message == WM_TIMER && m.wparam == timer) {
      held = true;
      break;
    }
    if (m.window == request.window && is_pointer_message(m.message)) {
      const Point at = param_point(m.lparam);
      const bool still = std::abs(at.x - request.point.x) <= kHoldTolerance &&
                         std::abs(at.y - request.point.y) <= kHoldTolerance;
      if (m.message != WM_LBUTTONUP && still) continue;
      system.unget_message(m);  // the window still gets the move or the release
      break;
    }
    if (m.message == WM_QUIT) {
      system.post_quit_message(static_cast<int>(m.wparam));
      break;
    }
    system.dispatch_message(m);
  }
  system.kill_timer({}, timer);
  return held;
}

}  // namespace ductra::platform
