// The window server of the device: the one window tree, pointer routing
// (with capture), focus, the foreground window, the screen, and the routes
// by which messages reach the process that owns a window.
//
// It runs in the device process (in tests, in the test process) and is that
// process's window link. Other processes connect to its socket (listen) and
// make the same calls through a WindowClient. A window call never blocks on
// another process: the server only posts, so no process can stall it.
//
// The keyboard: each process says whether one of its dialogs takes typed
// text (WindowSystem::set_keyboard_demand); the keyboard listener hears
// whether any process of the device wants it, so the device can take the
// desktop's keyboard meanwhile. The keys it then passes on (key_input) go
// to the focus window, whichever process owns it.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "appplatform/window_link.h"
#include "appplatform/window_tree.h"

namespace ductra::platform {

enum class PointerAction { down, move, up };
enum class KeyAction { down, up };

class WindowServer final : public WindowLink {
 public:
  WindowServer(int screen_width, int screen_height);
  ~WindowServer() override;

  // Accepts other processes on a Unix socket at `path` (mode 0600). False
  // when the socket cannot be made.
  bool listen(const std::string& path);

  // The device's pointer, after the touch driver passed it to the system.
  void pointer_input(PointerAction action, Point screen_point);
  // A new screen size or orientation: every top-level window is told with
  // WM_SETTINGCHANGE (SETTINGCHANGE_RESET).
  void set_screen(int width, int height, int orientation);
  void set_work_area(Rect area);

  // A key of the device's keyboard. Going down it posts WM_KEYDOWN (when it
  // has a virtual key) and a WM_CHAR for each unit of `characters`; going up,
  // WM_KEYUP. They go to the focus window, else to the foreground window;
  // with neither the key is dropped.
  void key_input(KeyAction action, std::uint32_t virtual_key, std::u16string_view characters);
  // Hears (true) when a first process wants the keyboard and (false) when
  // the last one no longer does, on the thread of the call or of the ended
  // connection that changed it; it must not block. A new listener hears at
  // once when the keyboard is wanted already. Empty: none.
  void set_keyboard_listener(std::function<void(bool)> listener);

  // WindowLink.
  std::int32_t process_id() const override { return process_; }
  void attach(WindowSystem* system) override;
  WirePacket call(const WirePacket& request) override;
  bool forward_post(const Message& message) override;
  void forward_send(const Message& message, SendCompletion complete) override;

 private:
  struct Connection;
  struct Effect {
    bool paint = false;
    Message message;
  };

  WirePacket handle(const WirePacket& request, std::vector<Effect>& effects);
  void handle_window_call(const WirePacket& request, WirePacket& reply, std::vector<Effect>& effects);
  void handle_input_call(const WirePacket& request, WirePacket& reply, std::vector<Effect>& effects);
  void route_pointer(PointerAction action, Point screen_point, std::vector<Effect>& effects);
  void expose(Rect screen_area, std::vector<Effect>& effects);
  void invalidate(WindowHandle window, std::optional<Rect> client_part, bool erase, std::vector<Effect>& effects);
  void post_to_top_level(const Message& message, std::vector<Effect>& effects);
  void forget_removed(const std::vector<WindowHandle>& removed);
  void tell_keyboard_demand();
  void deliver(const std::vector<Effect>& effects);
  std::int32_t owner_process(WindowHandle window);
  std::shared_ptr<Connection> connection_of(std::int32_t process);

  void accept_loop();
  void serve(std::shared_ptr<Connection> connection);
  void relay_send(const Message& message, SendCompletion complete);
  void drop_connection(const std::shared_ptr<Connection>& connection);

  const std::int32_t process_;
  std::mutex mutex_;
  WindowTree tree_;
  int orientation_ = 0;
  Rect work_area_;
  WindowHandle capture_;
  bool capture_implicit_ = false;
  bool button_down_ = false;
  WindowHandle focus_;
  WindowHandle foreground_;
  std::set<std::int32_t> keyboard_wanted_by_;
  std::atomic<WindowSystem*> local_{nullptr};

  std::mutex keyboard_mutex_;  // taken before mutex_
  std::function<void(bool)> keyboard_listener_;
  bool keyboard_told_ = false;

  std::mutex connections_mutex_;
  std::map<std::int32_t, std::shared_ptr<Connection>> connections_;
  std::vector<std::shared_ptr<Connection>> all_connections_;
  int listener_ = -1;
  std::string socket_path_;
  std::thread acceptor_;
  std::atomic<bool> stopping_{false};
};

}  // namespace ductra::platform
