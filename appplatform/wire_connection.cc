#include "appplatform/wire_connection.h"

#include <sys/socket.h>
#include <unistd.h>

#include <utility>
#include <vector>

namespace ductra::platform {

WirePacket message_packet(WireKind kind, const Message& message) {
  WirePacket packet;
  packet.kind = kind;
  packet.window = message.window.id;
  packet.message = message.message;
  packet.wparam = message.wparam;
  packet.lparam = message.lparam;
  return packet;
}

Message packet_message(const WirePacket& packet) {
  return {WindowHandle{packet.window}, packet.message, static_cast<WParam>(packet.wparam),
          static_cast<LParam>(packet.lparam)};
}

WireConnection::~WireConnection() {
  shut_down();
  if (reader.joinable()) {
    // The reader may itself drop the last reference as it ends.
    if (reader.get_id() == std::this_thread::get_id()) {
      reader.detach();
    } else {
      reader.join();
    }
  }
  ::close(socket_);
}

bool WireConnection::write(const WirePacket& packet) {
  std::lock_guard lock(write_mutex_);
  return write_packet(socket_, packet);
}

void WireConnection::send(const Message& message, SendCompletion complete) {
  WirePacket packet = message_packet(WireKind::kSend, message);
  {
    std::lock_guard lock(pending_mutex_);
    if (!closed_) {
      packet.sequence = next_sequence_++;
      pending_.emplace(packet.sequence, std::move(complete));
      complete = nullptr;
    }
  }
  if (complete) {
    complete(std::nullopt);
    return;
  }
  if (!write(packet)) {
    WirePacket failed;
    failed.sequence = packet.sequence;
    failed.status = 0;
    complete_send(failed);
  }
}

void WireConnection::complete_send(const WirePacket& reply) {
  SendCompletion complete;
  {
    std::lock_guard lock(pending_mutex_);
    auto it = pending_.find(reply.sequence);
    if (it == pending_.end()) return;
    complete = std::move(it->second);
    pending_.erase(it);
  }
  if (reply.status > 0) {
    complete(static_cast<MessageResult>(reply.lparam));
  } else {
    complete(std::nullopt);
  }
}

void WireConnection::answer_send(std::uint32_t sequence, std::optional<MessageResult> result) {
  WirePacket reply;
  reply.kind = WireKind::kSendReply;
  reply.sequence = sequence;
  reply.status = result ? 1 : 0;
  reply.lparam = result.value_or(0);
  write(reply);
}

void WireConnection::shut_down() {
  std::map<std::uint32_t, SendCompletion> abandoned;
  {
    std::lock_guard lock(pending_mutex_);
    if (closed_) return;
    closed_ = true;
    abandoned.swap(pending_);
  }
  ::shutdown(socket_, SHUT_RDWR);
  for (auto& [sequence, complete] : abandoned) complete(std::nullopt);
}

}  // namespace ductra::platform
