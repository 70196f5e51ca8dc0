// The window calls of one process: classes, windows, their procedures and
// user data, messages within and across threads and processes, timers,
// painting, capture, focus and the screen.
//
// One WindowSystem serves a process; it reaches the window tree through its
// link (the in-process server, or a client of the device's server) and runs
// the procedures of the windows this process created, each on the thread
// that created it. A Send to a window of another thread or process blocks
// the sender until the owner answers, while the sender still answers Sends
// made to its own windows, so chains of Sends between threads cannot
// deadlock. Messages for another process must carry integers or window
// handles only; any other is refused.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "appplatform/message_queue.h"
#include "appplatform/window_link.h"
#include "appplatform/window_tree.h"
#include "appplatform/window_types.h"

namespace ductra::platform {

struct WindowClass {
  std::u16string name;
  WindowProcedure procedure = nullptr;
  std::uint32_t style = 0;
  std::uintptr_t background = 0;
};

struct CreateWindowParams {
  std::uint32_t ex_style = 0;
  std::u16string class_name;
  std::u16string title;
  std::uint32_t style = 0;
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  WindowHandle parent;  // the parent of a child window, the owner of any other
  LParam create_param = 0;
};

// What a window knows about itself, as the server sees it.
struct WindowInfo {
  WindowHandle window;
  std::u16string class_name;
  std::u16string title;
  std::uint32_t style = 0;
  std::uint32_t ex_style = 0;
  Rect window_rect;   // screen coordinates
  Rect client_rect;   // client coordinates
  Point client_origin;
  WindowHandle parent;
  WindowHandle owner;
  ThreadRef thread;
  bool visible = false;  // with every ancestor
};

enum class MessageStatus {
  delivered,
  no_window,    // the window does not exist
  refused,      // the message carries a pointer and the window is in another process
  undelivered,  // the window's thread or process ended before it answered
};

struct SendOutcome {
  MessageStatus status = MessageStatus::no_window;
  MessageResult result = 0;
};

struct PaintInfo {
  Rect update;   // client coordinates; empty when nothing was waiting
  bool erase = false;
};

// System metrics.
inline constexpr int SM_CXSCREEN = 0;
inline constexpr int SM_CYSCREEN = 1;
inline constexpr int SM_CXVSCROLL = 2;
inline constexpr int SM_CYHSCROLL = 3;

// Injected mouse input, absolute coordinates normalised to 0..65535.
inline constexpr std::uint32_t MOUSEEVENTF_MOVE = 0x0001;
inline constexpr std::uint32_t MOUSEEVENTF_LEFTDOWN = 0x0002;
inline constexpr std::uint32_t MOUSEEVENTF_LEFTUP = 0x0004;
inline constexpr std::uint32_t MOUSEEVENTF_ABSOLUTE = 0x8000;

struct ScreenState {
  int width = 0;
  int height = 0;
  int orientation = 0;  // 0, 1 (90 degrees), 2 (180) or 4 (270)
  Rect work_area;
};

class WindowSystem {
 public:
  explicit WindowSystem(WindowLink& link);
  ~WindowSystem();
  WindowSystem(const WindowSystem&) = delete;
  WindowSystem& operator=(const WindowSystem&) = delete;

  // The process's window system; there is one while it lives.
  static WindowSystem& current();
  // The same, or null while the process has none (a library loaded into a
  // process without windows).
  static WindowSystem* current_if_any();

  // Classes of this process.
  bool register_class(const WindowClass& window_class);
  bool unregister_class(std::u16string_view name);

  // Windows.
  WindowHandle create_window(const CreateWindowParams& params);
  bool destroy_window(WindowHandle window);
  bool is_window(WindowHandle window);
  std::optional<WindowInfo> describe(WindowHandle window);
  bool show_window(WindowHandle window, int command);  // true when it was visible
  bool is_window_visible(WindowHandle window);
  bool enable_window(WindowHandle window, bool enable);  // true when it was disabled
  std::optional<std::uint32_t> window_style(WindowHandle window);
  // Changes the style of an existing window (WS_VISIBLE, WS_DISABLED,
  // WS_CHILD and WS_POPUP keep their values) and redraws what it covers; a
  // change is told to the window by WM_STYLECHANGED. The previous style, or
  // none when there is no such window.
  std::optional<std::uint32_t> set_window_style(WindowHandle window, std::uint32_t style);
  bool is_window_enabled(WindowHandle window);
  bool set_window_pos(WindowHandle window, WindowHandle insert_after, int x, int y, int width, int height,
                      std::uint32_t flags);
  bool move_window(WindowHandle window, int x, int y, int width, int height, bool repaint);
  std::optional<Rect> window_rect(WindowHandle window);
  std::optional<Rect> client_rect(WindowHandle window);
  std::optional<Point> client_to_screen(WindowHandle window, Point p);
  std::optional<Point> screen_to_client(WindowHandle window, Point p);
  bool set_window_text(WindowHandle window, std::u16string_view text);
  std::u16string window_text(WindowHandle window);
  std::u16string class_name(WindowHandle window);
  WindowHandle parent(WindowHandle window);
  WindowHandle get_window(WindowHandle window, int relation);
  WindowHandle find_window(std::optional<std::u16string_view> class_name, std::optional<std::u16string_view> title);
  WindowHandle window_from_point(Point screen_point);
  WindowHandle child_window_from_point(WindowHandle parent, Point client_point);

  // Procedures and user data of this process's windows.
  std::uintptr_t set_user_data(WindowHandle window, std::uintptr_t value);  // the previous value
  std::uintptr_t user_data(WindowHandle window);
  WindowProcedure set_procedure(WindowHandle window, WindowProcedure procedure);  // the previous one
  WindowProcedure procedure(WindowHandle window);
  MessageResult default_procedure(WindowHandle window, std::uint32_t message, WParam wparam, LParam lparam);

  // Messages.
  MessageStatus post_message(WindowHandle window, std::uint32_t message, WParam wparam, LParam lparam);
  SendOutcome send_message(WindowHandle window, std::uint32_t message, WParam wparam, LParam lparam);
  void post_quit_message(int exit_code);
  // 1 with a message, 0 at WM_QUIT, -1 when the thread was asked to stop.
  int get_message(Message& message);
  bool peek_message(Message& message, bool remove);
  // Blocks until the thread has input (answering Sends meanwhile); false
  // when the thread was asked to stop.
  bool wait_message();
  // Puts a message just taken back at the head of the thread's queue.
  void unget_message(const Message& message);
  MessageResult dispatch_message(const Message& message);
  // Posts to every top-level window of the device.
  MessageStatus broadcast(std::uint32_t message, WParam wparam, LParam lparam);

  // Timers of the calling thread's windows; a null window gets a new id.
  std::uintptr_t set_timer(WindowHandle window, std::uintptr_t id, std::uint32_t interval_ms);
  bool kill_timer(WindowHandle window, std::uintptr_t id);

  // Painting.
  bool invalidate_rect(WindowHandle window, std::optional<Rect> client_part, bool erase);
  bool validate_rect(WindowHandle window);
  bool update_window(WindowHandle window);  // sends WM_PAINT now when anything waits
  PaintInfo begin_paint(WindowHandle window);
  void end_paint(WindowHandle window, const PaintInfo& paint);

  // Input.
  WindowHandle set_capture(WindowHandle window);  // the previous capture
  bool release_capture();
  WindowHandle capture();
  WindowHandle set_focus(WindowHandle window);  // the previous focus
  WindowHandle focus();
  bool set_foreground_window(WindowHandle window);
  WindowHandle foreground_window();
  // A mouse event as the platform's input injection takes it: it goes to
  // the windows directly and never through the touch driver.
  bool inject_mouse(std::uint32_t flags, int dx, int dy);
  // Tells the device whether this process has a dialog open that takes
  // typed text; the device takes the desktop's keyboard while any of its
  // processes wants it (an ended process wants it no more).
  void set_keyboard_demand(bool wanted);

  // Screen.
  ScreenState screen();
  int system_metric(int index);
  bool set_scroll_range(WindowHandle window, bool vertical, ScrollRange range);
  std::optional<ScrollRange> scroll_range(WindowHandle window, bool vertical);

  // From the link: messages for this process's windows. Any thread.
  void deliver_post(const Message& message);
  void deliver_send(const Message& message, SendCompletion complete);
  void deliver_paint(WindowHandle window);

 private:
  struct LocalWindow {
    WindowProcedure procedure = nullptr;
    std::uintptr_t user_data = 0;
    std::shared_ptr<MessageQueue> queue;
  };

  std::shared_ptr<MessageQueue> current_queue();
  std::shared_ptr<MessageQueue> queue_of(WindowHandle window);
  MessageResult call_procedure(const Message& message);
  bool has_update(WindowHandle window);
  SendOutcome wait_for_answer(const std::function<void(SendCompletion)>& start);
  WirePacket call(WindowOp op, WindowHandle window);
  WirePacket call(WirePacket request);
  std::uint32_t thread_number();

  WindowLink& link_;
  std::mutex mutex_;
  std::map<std::u16string, WindowClass> classes_;
  std::map<std::uint32_t, LocalWindow> windows_;
  std::map<const ThreadContext*, std::shared_ptr<MessageQueue>> queues_;
  std::map<const ThreadContext*, std::uint32_t> thread_numbers_;
  std::uintptr_t next_thread_timer_ = 0x7F00;
};

}  // namespace ductra::platform
