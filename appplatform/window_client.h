// The window link of a process other than the device: it reaches the
// device's window server over the server's socket.
//
// Window calls wait for the server's answer (the server never blocks, so
// the wait is short). Messages for this process's windows arrive on a
// reader thread and go to the attached WindowSystem; a Send from here waits
// in the WindowSystem, which keeps answering Sends made to its own windows.
// When the server goes away every call fails and every Send comes back
// undelivered.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "appplatform/window_link.h"
#include "appplatform/wire_connection.h"

namespace ductra::platform {

class WindowClient final : public WindowLink {
 public:
  WindowClient() = default;
  ~WindowClient() override;

  // False when the server's socket cannot be reached.
  bool connect(const std::string& path);

  std::int32_t process_id() const override { return process_; }
  void attach(WindowSystem* system) override;
  WirePacket call(const WirePacket& request) override;
  bool forward_post(const Message& message) override;
  void forward_send(const Message& message, SendCompletion complete) override;

 private:
  void read_loop(WireConnection* connection);

  std::int32_t process_ = 0;
  std::unique_ptr<WireConnection> connection_;
  std::mutex system_mutex_;
  WindowSystem* system_ = nullptr;

  std::mutex calls_mutex_;
  std::condition_variable answered_;
  bool gone_ = false;
  std::uint32_t next_sequence_ = 1;
  std::map<std::uint32_t, std::optional<WirePacket>> calls_;
};

}  // namespace ductra::platform
