#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <utility>

#include "appplatform/event.h"
#include "appplatform/thread.h"
#include "appplatform/wait.h"
#include "window_test_support.h"

namespace ductra::platform {
namespace {

constexpr std::uint32_t kAsk = WM_APP + 1;
constexpr std::uint32_t kInner = WM_APP + 2;
constexpr std::uint32_t kDone = WM_APP + 3;

std::atomic<std::uint32_t> worker_window{0};

// The UI window: to answer kAsk it asks the worker's window in turn, as the
// application's engine callback does.
MessageResult ui_procedure(WindowHandle window, std::uint32_t message, WParam wparam, LParam lparam) {
  WindowSystem& system = WindowSystem::current();
  if (message == kAsk) {
    const SendOutcome inner = system.send_message(WindowHandle{worker_window.load()}, kInner, wparam, 0);
    return inner.status == MessageStatus::delivered ? inner.result * 6 : -1;
  }
  if (message == kDone) {
    system.post_quit_message(0);
    return 0;
  }
  return system.default_procedure(window, message, wparam, lparam);
}

MessageResult worker_procedure(WindowHandle, std::uint32_t message, WParam wparam, LParam) {
  return message == kInner ? static_cast<MessageResult>(wparam) + 1 : 0;
}

TEST_F(WindowServerTest, ASendChainBetweenTwoThreadsReturnsTheAnswerWithoutDeadlock) {
  system_.register_class({u"UI", ui_procedure});
  system_.register_class({u"Worker", worker_procedure});
  CreateWindowParams ui_params;
  ui_params.class_name = u"UI";
  const WindowHandle ui = system_.create_window(ui_params);
  ASSERT_TRUE(ui);

  std::atomic<MessageResult> answer{0};
  auto worker = Thread::start([&]() -> std::uint32_t {
    CreateWindowParams params;
    params.class_name = u"Worker";
    const WindowHandle own = system_.create_window(params);
    worker_window.store(own.id);
    // UI thread -> worker thread while the worker waits in its own Send.
    answer.store(system_.send_message(ui, kAsk, 6, 0).result);
    system_.post_message(ui, kDone, 0, 0);
    system_.destroy_window(own);
    return 0;
  });
  ASSERT_TRUE(worker);
  Message m;
  while (system_.get_message(m) > 0) system_.dispatch_message(m);
  EXPECT_EQ(answer.load(), 42);
}

TEST_F(WindowServerTest, PostAndSendWithinOneThread) {
  MessageLog log;
  const WindowHandle w = make_window(log, {0, 0, 10, 10}, WS_POPUP);
  EXPECT_EQ(system_.post_message(w, WM_APP + 7, 1, 2), MessageStatus::delivered);
  EXPECT_TRUE(log.all().empty());  // posted: waits for the loop
  EXPECT_EQ(system_.send_message(w, WM_APP + 8, 3, 4).status, MessageStatus::delivered);
  EXPECT_EQ(log.numbers(), (std::vector<std::uint32_t>{WM_APP + 8}));  // sent: at once
  pump();
  ASSERT_EQ(log.all().size(), 2u);
  EXPECT_EQ(log.all()[1].wparam, 1u);
  EXPECT_EQ(log.all()[1].lparam, 2);

  EXPECT_EQ(system_.post_message(WindowHandle{999}, WM_APP, 0, 0), MessageStatus::no_window);
  EXPECT_EQ(system_.send_message(WindowHandle{999}, WM_APP, 0, 0).status, MessageStatus::no_window);

  system_.post_message(w, WM_QUIT, 0, 0);
  Message m;
  EXPECT_EQ(system_.get_message(m), 0);
}

TEST_F(WindowServerTest, ASendToAWindowWhoseThreadEndedComesBackUndelivered) {
  std::atomic<std::uint32_t> orphan{0};
  {
    auto owner = Thread::start([&]() -> std::uint32_t {
      CreateWindowParams params;
      params.class_name = kLoggingClass;
      orphan.store(system_.create_window(params).id);
      return 0;
    });
    ASSERT_TRUE(owner);
    wait_for(*owner, kInfinite);
  }
  EXPECT_EQ(system_.send_message(WindowHandle{orphan.load()}, WM_APP, 0, 0).status, MessageStatus::undelivered);
}

TEST_F(WindowServerTest, AButtonPressCapturesItsWindowUntilTheRelease) {
  MessageLog left_log;
  MessageLog right_log;
  make_window(left_log, {0, 0, 100, 100});
  const WindowHandle right = make_window(right_log, {100, 0, 200, 100});
  pump();
  left_log.clear();
  right_log.clear();

  server_.pointer_input(PointerAction::down, {50, 50});
  server_.pointer_input(PointerAction::move, {150, 60});
  server_.pointer_input(PointerAction::up, {160, 70});
  server_.pointer_input(PointerAction::move, {150, 50});  // capture ended with the release
  pump();
  const std::vector<Message> got = left_log.all();
  ASSERT_EQ(got.size(), 3u);
  struct Expected {
    std::uint32_t message;
    WParam buttons;
    Point point;
  };
  const Expected expected[] = {
      {WM_LBUTTONDOWN, MK_LBUTTON, {50, 50}}, {WM_MOUSEMOVE, MK_LBUTTON, {150, 60}}, {WM_LBUTTONUP, 0, {160, 70}}};
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(got[i].message, expected[i].message) << i;
    EXPECT_EQ(got[i].wparam, expected[i].buttons) << i;
    EXPECT_EQ(param_point(got[i].lparam), expected[i].point) << i;
  }
  EXPECT_EQ(right_log.numbers(), (std::vector<std::uint32_t>{WM_MOUSEMOVE}));
  EXPECT_EQ(param_point(right_log.all()[0].lparam), (Point{50, 50}));

  // An explicit capture holds across a release until it is released.
  right_log.clear();
  left_log.clear();
  EXPECT_EQ(system_.set_capture(right), WindowHandle{});
  server_.pointer_input(PointerAction::down, {10, 10});
  server_.pointer_input(PointerAction::up, {10, 10});
  server_.pointer_input(PointerAction::move, {20, 20});
  EXPECT_EQ(system_.capture(), right);
  EXPECT_TRUE(system_.release_capture());
  server_.pointer_input(PointerAction::move, {20, 20});
  pump();
  EXPECT_EQ(right_log.numbers(), (std::vector<std::uint32_t>{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_MOUSEMOVE}));
  EXPECT_EQ(param_point(right_log.all()[0].lparam), (Point{-90, 10}));
  EXPECT_EQ(left_log.numbers(), (std::vector<std::uint32_t>{WM_MOUSEMOVE}));
}

TEST_F(WindowServerTest, InjectedMouseInputReplaysATapAtTheNormalisedPoint) {
  MessageLog log;
  const WindowHandle w = make_window(log, {100, 200, 240, 320});
  pump();
  log.clear();
  // The ink layer's replay: ((x / 4) * 65536) / W for a point at pixel (150, 250).
  const int dx = (150 * 65536) / 240;
  const int dy = (250 * 65536) / 320;
  EXPECT_TRUE(system_.inject_mouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, dx, dy));
  EXPECT_TRUE(system_.inject_mouse(MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE, dx, dy));
  EXPECT_TRUE(system_.inject_mouse(MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE, 65535, 65535));
  pump();
  EXPECT_EQ(log.numbers(), (std::vector<std::uint32_t>{WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP}));
  EXPECT_EQ(param_point(log.all()[1].lparam), (Point{50, 50}));
  EXPECT_EQ(param_point(log.all()[2].lparam), (Point{139, 119}));  // clamped to the last pixel
  (void)w;
}

TEST_F(WindowServerTest, PaintMessagesDeliverWhatWasInvalidatedAndWhatAHiddenWindowUncovered) {
  MessageLog below_log;
  MessageLog above_log;
  const WindowHandle below = make_window(below_log, {0, 0, 200, 200});
  const WindowHandle above = make_window(above_log, {50, 50, 100, 100}, WS_POPUP | WS_VISIBLE | WS_BORDER);
  pump();  // both paint once as they appear
  EXPECT_EQ(below_log.numbers(), (std::vector<std::uint32_t>{WM_PAINT}));
  EXPECT_EQ(above_log.numbers(), (std::vector<std::uint32_t>{WM_PAINT}));
  below_log.clear();

  EXPECT_FALSE(system_.show_window(above, SW_HIDE) == false);
  Message m;
  ASSERT_TRUE(system_.peek_message(m, false));
  EXPECT_EQ(m.window, below);
  EXPECT_EQ(m.message, WM_PAINT);
  const PaintInfo paint = system_.begin_paint(below);
  EXPECT_EQ(paint.update, (Rect{50, 50, 100, 100}));
  EXPECT_TRUE(paint.erase);
  system_.end_paint(below, paint);
  EXPECT_FALSE(system_.peek_message(m, true));  // painted: nothing left

  // Any thread may invalidate; update_window paints at once.
  EXPECT_TRUE(system_.invalidate_rect(below, Rect{1, 2, 3, 4}, false));
  EXPECT_TRUE(system_.update_window(below));
  EXPECT_EQ(below_log.numbers(), (std::vector<std::uint32_t>{WM_PAINT}));
  EXPECT_FALSE(system_.peek_message(m, true));
}

TEST_F(WindowServerTest, ARotationTellsEveryTopLevelWindowAndChangesTheMetrics) {
  MessageLog a_log;
  MessageLog b_log;
  make_window(a_log, {0, 0, 10, 10}, WS_POPUP);
  make_window(b_log, {0, 0, 10, 10}, WS_POPUP);
  EXPECT_EQ(system_.system_metric(SM_CXSCREEN), 240);
  EXPECT_EQ(system_.system_metric(SM_CYSCREEN), 320);
  server_.set_screen(320, 240, 1);
  pump();
  for (const MessageLog* log : {&a_log, &b_log}) {
    ASSERT_EQ(log->all().size(), 1u);
    EXPECT_EQ(log->all()[0].message, WM_SETTINGCHANGE);
    EXPECT_EQ(log->all()[0].wparam, SETTINGCHANGE_RESET);
  }
  EXPECT_EQ(system_.system_metric(SM_CXSCREEN), 320);
  EXPECT_EQ(system_.system_metric(SM_CYSCREEN), 240);
  EXPECT_EQ(system_.screen().orientation, 1);
  EXPECT_EQ(system_.broadcast(WM_SETTINGCHANGE, 0, 0), MessageStatus::delivered);
  pump();
  EXPECT_EQ(a_log.all().size(), 2u);
}

TEST_F(WindowServerTest, DestroyingAWindowTellsParentsFirstAndForgetsItsTimersAndMessages) {
  MessageLog parent_log;
  MessageLog child_log;
  const WindowHandle parent = make_window(parent_log, {0, 0, 50, 50}, WS_POPUP);
  const WindowHandle child = make_window(child_log, {0, 0, 5, 5}, WS_CHILD, 0, parent);
  ASSERT_TRUE(child);
  EXPECT_EQ(system_.parent(child), parent);
  system_.set_timer(child, 5, 10);
  system_.post_message(child, WM_APP, 0, 0);
  EXPECT_TRUE(system_.destroy_window(parent));
  EXPECT_EQ(parent_log.numbers(), (std::vector<std::uint32_t>{WM_DESTROY}));
  EXPECT_EQ(child_log.numbers(), (std::vector<std::uint32_t>{WM_DESTROY}));
  EXPECT_FALSE(system_.is_window(child));
  Message m;
  EXPECT_FALSE(system_.peek_message(m, true));
  EXPECT_FALSE(system_.kill_timer(child, 5));
  EXPECT_FALSE(system_.destroy_window(parent));
}

MessageResult replacement_procedure(WindowHandle window, std::uint32_t message, WParam wparam, LParam lparam) {
  if (message == WM_APP) return 99;
  return logging_procedure(window, message, wparam, lparam);
}

TEST_F(WindowServerTest, SubclassingReplacesTheProcedureAndUserDataIsPointerSized) {
  MessageLog log;
  const WindowHandle w = make_window(log, {0, 0, 5, 5}, WS_POPUP);
  EXPECT_EQ(system_.set_procedure(w, replacement_procedure), &logging_procedure);
  EXPECT_EQ(system_.send_message(w, WM_APP, 0, 0).result, 99);
  EXPECT_EQ(system_.send_message(w, WM_APP + 1, 0, 0).result, 0);
  EXPECT_EQ(log.numbers(), (std::vector<std::uint32_t>{WM_APP + 1}));
  EXPECT_EQ(system_.set_procedure(w, logging_procedure), &replacement_procedure);

  const std::uintptr_t big = static_cast<std::uintptr_t>(-1) - 5;
  EXPECT_EQ(system_.set_user_data(w, big), reinterpret_cast<std::uintptr_t>(&log));
  EXPECT_EQ(system_.user_data(w), big);
  system_.set_user_data(w, 0);
}

TEST_F(WindowServerTest, FocusForegroundVisibilityAndPosition) {
  MessageLog a_log;
  MessageLog b_log;
  MessageLog quiet_log;
  const WindowHandle a = make_window(a_log, {0, 0, 50, 50}, WS_POPUP);
  const WindowHandle b = make_window(b_log, {0, 0, 50, 50}, WS_POPUP);
  const WindowHandle quiet = make_window(quiet_log, {0, 0, 50, 50}, WS_POPUP, WS_EX_NOACTIVATE | WS_EX_TOPMOST);

  EXPECT_FALSE(system_.show_window(a, SW_SHOW));
  EXPECT_EQ(system_.foreground_window(), a);
  EXPECT_FALSE(system_.show_window(quiet, SW_SHOW));  // never activates
  EXPECT_EQ(system_.foreground_window(), a);
  EXPECT_TRUE(system_.set_foreground_window(b));
  EXPECT_EQ(system_.foreground_window(), b);
  EXPECT_EQ(system_.get_window(kDesktopWindow, GW_CHILD), quiet);  // still above: topmost
  EXPECT_EQ(system_.get_window(quiet, GW_HWNDNEXT), b);

  pump();
  EXPECT_EQ(system_.set_focus(a), WindowHandle{});
  EXPECT_EQ(system_.set_focus(b), a);
  EXPECT_EQ(a_log.all().back().message, WM_KILLFOCUS);
  EXPECT_EQ(a_log.all().back().wparam, b.id);
  EXPECT_EQ(b_log.all().back().message, WM_SETFOCUS);
  EXPECT_EQ(b_log.all().back().wparam, a.id);
  EXPECT_EQ(system_.focus(), b);

  b_log.clear();
  EXPECT_TRUE(system_.set_window_pos(b, HWND_TOP, 5, 6, 20, 30, SWP_NOZORDER | SWP_NOACTIVATE));
  EXPECT_EQ(b_log.numbers(), (std::vector<std::uint32_t>{WM_SIZE, WM_MOVE}));
  EXPECT_EQ(param_point(b_log.all()[0].lparam), (Point{20, 30}));
  EXPECT_EQ(system_.window_rect(b), (Rect{5, 6, 25, 36}));
  EXPECT_TRUE(system_.set_window_pos(b, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE));
  EXPECT_EQ(system_.get_window(kDesktopWindow, GW_CHILD), b);
  EXPECT_EQ(system_.client_to_screen(b, {1, 1}), (Point{6, 7}));
  EXPECT_EQ(system_.screen_to_client(b, {6, 7}), (Point{1, 1}));

  EXPECT_FALSE(system_.enable_window(a, false));
  EXPECT_FALSE(system_.is_window_enabled(a));
  EXPECT_TRUE(system_.enable_window(a, true));
  EXPECT_FALSE(system_.is_window_visible(WindowHandle{999}));
}

TEST_F(WindowServerTest, ClassesAreNeededToCreateAndKnownByName) {
  CreateWindowParams params;
  params.class_name = u"Unregistered";
  EXPECT_FALSE(system_.create_window(params));
  EXPECT_FALSE(system_.register_class({kLoggingClass, logging_procedure}));  // already there
  EXPECT_FALSE(system_.register_class({u"No procedure", nullptr}));
  MessageLog log;
  const WindowHandle w = make_window(log, {0, 0, 5, 5}, WS_POPUP, 0, {}, u"Title");
  EXPECT_EQ(system_.class_name(w), kLoggingClass);
  EXPECT_EQ(system_.window_text(w), u"Title");
  EXPECT_TRUE(system_.set_window_text(w, u"Другой"));
  EXPECT_EQ(system_.find_window(std::nullopt, u"Другой"), w);
  EXPECT_TRUE(system_.unregister_class(kLoggingClass));
  EXPECT_FALSE(system_.unregister_class(kLoggingClass));
}

std::mutex painted_mutex;
std::vector<std::pair<std::uint32_t, Rect>> painted;

MessageResult painting_procedure(WindowHandle window, std::uint32_t message, WParam wparam, LParam lparam) {
  WindowSystem& system = WindowSystem::current();
  if (message == WM_PAINT) {
    const PaintInfo paint = system.begin_paint(window);
    std::lock_guard lock(painted_mutex);
    painted.push_back({window.id, paint.update});
    system.end_paint(window, paint);
    return 0;
  }
  if (message == kDone) system.post_quit_message(0);
  return system.default_procedure(window, message, wparam, lparam);
}

// The ink layer's erase: every visible window of the device under the box
// repaints the part the box covers, at once.
void repaint_under(WindowSystem& system, Rect box) {
  WindowHandle window = system.get_window(kDesktopWindow, GW_CHILD);
  while (window) {
    const auto info = system.describe(window);
    const Rect overlap = intersect(box, info->window_rect);
    if (info->visible && !overlap.empty()) {
      system.invalidate_rect(window, overlap.offset(-info->client_origin.x, -info->client_origin.y), true);
      system.update_window(window);
    }
    WindowHandle next = system.get_window(window, GW_CHILD);
    while (!next && window) {
      next = system.get_window(window, GW_HWNDNEXT);
      if (!next) window = system.parent(window);
    }
    window = next;
  }
}

TEST_F(WindowServerTest, AnEraseRepaintsEveryWindowUnderTheBoxWhicheverThreadOwnsIt) {
  system_.register_class({u"Painting", painting_procedure});
  auto make = [&](Rect r, std::uint32_t style, WindowHandle parent) {
    CreateWindowParams params;
    params.class_name = u"Painting";
    params.style = style;
    params.x = r.left;
    params.y = r.top;
    params.width = r.width();
    params.height = r.height();
    params.parent = parent;
    return system_.create_window(params);
  };
  const WindowHandle mine = make({0, 0, 120, 100}, WS_POPUP | WS_VISIBLE, {});
  std::atomic<std::uint32_t> theirs{0};
  std::atomic<std::uint32_t> their_child{0};
  Event created(EventReset::manual, false);
  auto other = Thread::start([&]() -> std::uint32_t {
    const WindowHandle top = make({100, 50, 200, 150}, WS_POPUP | WS_VISIBLE | WS_BORDER, {});
    theirs.store(top.id);
    their_child.store(make({0, 0, 20, 20}, WS_CHILD | WS_VISIBLE, top).id);
    make({0, 0, 240, 320}, WS_POPUP, {});  // hidden: never painted
    Message m;
    while (system_.peek_message(m, true)) system_.dispatch_message(m);  // the first paints
    created.set();
    while (system_.get_message(m) > 0) system_.dispatch_message(m);
    return 0;
  });
  ASSERT_TRUE(other);
  wait_for(created, kInfinite);
  pump();
  {
    std::lock_guard lock(painted_mutex);
    painted.clear();
  }

  repaint_under(system_, {90, 40, 130, 80});
  std::vector<std::pair<std::uint32_t, Rect>> got;
  {
    std::lock_guard lock(painted_mutex);
    got = painted;
  }
  // The other thread's windows sit above mine; the child's client area
  // starts inside its parent's border at (101, 51).
  const std::vector<std::pair<std::uint32_t, Rect>> expected = {
      {theirs.load(), {0, 0, 29, 29}},
      {their_child.load(), {0, 0, 20, 20}},
      {mine.id, {90, 40, 120, 80}},
  };
  EXPECT_EQ(got, expected);
  system_.post_message(WindowHandle{theirs.load()}, kDone, 0, 0);
}

std::vector<StyleChange> style_changes;

MessageResult style_recording_procedure(WindowHandle window, std::uint32_t message, WParam wparam, LParam lparam) {
  if (message == WM_STYLECHANGED && wparam == GWL_STYLE)
    style_changes.push_back(*reinterpret_cast<const StyleChange*>(lparam));
  return logging_procedure(window, message, wparam, lparam);
}

TEST_F(WindowServerTest, AStyleChangedAfterCreationReshapesTheClientAreaTellsTheWindowAndRedrawsIt) {
  MessageLog parent_log;
  MessageLog log;
  const WindowHandle parent = make_window(parent_log, {0, 0, 200, 200});
  const std::uint32_t made = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_HSCROLL;
  const WindowHandle list = make_window(log, {10, 10, 110, 90}, made, 0, parent);
  system_.set_procedure(list, style_recording_procedure);
  pump();
  log.clear();
  style_changes.clear();
  EXPECT_EQ(system_.client_rect(list)->height(), 80 - 2 - kScrollBarWidth);

  // Without its scroll bar; WS_VISIBLE and WS_CHILD, missing from the new
  // style, stay as they were.
  EXPECT_EQ(system_.set_window_style(list, WS_BORDER), made);
  EXPECT_EQ(system_.window_style(list), WS_CHILD | WS_VISIBLE | WS_BORDER);
  EXPECT_EQ(system_.client_rect(list)->height(), 80 - 2);
  ASSERT_EQ(style_changes.size(), 1u);
  EXPECT_EQ(style_changes[0].old_style, made);
  EXPECT_EQ(style_changes[0].new_style, WS_CHILD | WS_VISIBLE | WS_BORDER);
  pump();
  EXPECT_EQ(log.numbers(), (std::vector<std::uint32_t>{WM_STYLECHANGED, WM_PAINT}));

  // The same style again tells nothing; a control's own bit (a tab control's
  // tabs at the bottom) is kept like any other.
  style_changes.clear();
  EXPECT_EQ(system_.set_window_style(list, WS_BORDER), WS_CHILD | WS_VISIBLE | WS_BORDER);
  EXPECT_TRUE(style_changes.empty());
  system_.set_window_style(list, *system_.window_style(list) | 0x0002);
  EXPECT_EQ(system_.window_style(list), WS_CHILD | WS_VISIBLE | WS_BORDER | 0x0002);
  EXPECT_TRUE(system_.is_window_visible(list));

  EXPECT_EQ(system_.set_window_style(WindowHandle{0x7FFFFFF0}, WS_BORDER), std::nullopt);
  EXPECT_EQ(system_.window_style(WindowHandle{0x7FFFFFF0}), std::nullopt);
  system_.destroy_window(parent);
}

}  // namespace
}  // namespace ductra::platform
