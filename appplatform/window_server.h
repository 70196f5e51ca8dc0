// The window server of the device: the one window tree, pointer routing
// (with capture), focus, the foreground window, the screen, and the routes
// by which messages reach the process that owns a window.
//
// It runs in the device process (in tests, in the test process) and is that
// process's window link. Other processes connect to its socket (listen) and
// make the same calls through a WindowClient. A window call never blocks on
// another process: the server only posts, so no process can stall it.
#pragma once

#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "appplatform/window_link.h"
#include "appplatform/window_tree.h"

namespace ductra::platform {

enum class PointerAction { down, move, up };

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
  std::atomic<WindowSystem*> local_{nullptr};

  std::mutex connections_mutex_;
  std::map<std::int32_t, std::shared_ptr<Connection>> connections_;
  std::vector<std::shared_ptr<Connection>> all_connections_;
  int listener_ = -1;
  std::string socket_path_;
  std::thread acceptor_;
  std::atomic<bool> stopping_{false};
};

}  // namespace ductra::platform
