// One end of a socket between two processes of the device: whole-packet
// writes from any thread, and the Sends it carries that still wait for
// their answers.
//
// When the peer goes away every waiting Send completes with nothing, so no
// sender waits for a process that has ended.
#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <thread>

#include "appplatform/message_queue.h"
#include "appplatform/wire_protocol.h"

namespace ductra::platform {

WirePacket message_packet(WireKind kind, const Message& message);
Message packet_message(const WirePacket& packet);

class WireConnection {
 public:
  explicit WireConnection(int socket) : socket_(socket) {}
  ~WireConnection();
  WireConnection(const WireConnection&) = delete;
  WireConnection& operator=(const WireConnection&) = delete;

  int socket() const { return socket_; }
  bool write(const WirePacket& packet);
  // Writes a kSend packet; `complete` runs when its kSendReply comes back,
  // or with nothing when the peer is gone.
  void send(const Message& message, SendCompletion complete);
  void complete_send(const WirePacket& reply);
  // Answers a kSend that came from the peer.
  void answer_send(std::uint32_t sequence, std::optional<MessageResult> result);
  // Unblocks the reader and fails every waiting Send.
  void shut_down();

  std::int32_t process = 0;
  std::thread reader;

 private:
  const int socket_;
  std::mutex write_mutex_;
  std::mutex pending_mutex_;
  bool closed_ = false;
  std::uint32_t next_sequence_ = 1;
  std::map<std::uint32_t, SendCompletion> pending_;
};

}  // namespace ductra::platform
