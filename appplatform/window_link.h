// How a process reaches the window server: in the device process the server
// itself, in any other process a client over the server's socket.
//
// call() runs one window call and returns its answer. Messages for windows
// of other processes leave through forward_post and forward_send; messages
// for this process's windows arrive through the WindowSystem attached with
// attach().
#pragma once

#include <cstdint>

#include "appplatform/message_queue.h"
#include "appplatform/wire_protocol.h"

namespace ductra::platform {

class WindowSystem;

class WindowLink {
 public:
  virtual ~WindowLink() = default;

  virtual std::int32_t process_id() const = 0;
  virtual void attach(WindowSystem* system) = 0;
  virtual WirePacket call(const WirePacket& request) = 0;
  // False when the window's process cannot be reached.
  virtual bool forward_post(const Message& message) = 0;
  virtual void forward_send(const Message& message, SendCompletion complete) = 0;
};

}  // namespace ductra::platform
