#include "appplatform/window_client.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

#include "appplatform/window_system.h"

namespace ductra::platform {

WindowClient::~WindowClient() {
  if (connection_) connection_->shut_down();
  connection_.reset();  // joins the reader
}

bool WindowClient::connect(const std::string& path) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (connection_ || path.size() >= sizeof address.sun_path) return false;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  const int fd = ::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    ::close(fd);
    return false;
  }
  process_ = static_cast<std::int32_t>(::getpid());
  connection_ = std::make_unique<WireConnection>(fd);
  WirePacket hello;
  hello.kind = WireKind::kHello;
  hello.process = process_;
  if (!connection_->write(hello)) {
    connection_.reset();
    return false;
  }
  connection_->reader = std::thread([this, connection = connection_.get()] { read_loop(connection); });
  return true;
}

void WindowClient::attach(WindowSystem* system) {
  std::lock_guard lock(system_mutex_);
  system_ = system;
}

WirePacket WindowClient::call(const WirePacket& request) {
  WirePacket failed;
  failed.kind = WireKind::kReply;
  failed.status = 0;
  if (!connection_) return failed;
  WirePacket packet = request;
  {
    std::lock_guard lock(calls_mutex_);
    if (gone_) return failed;
    packet.sequence = next_sequence_++;
    calls_.emplace(packet.sequence, std::nullopt);
  }
  const bool written = connection_->write(packet);
  std::unique_lock lock(calls_mutex_);
  if (written) answered_.wait(lock, [&] { return gone_ || calls_.at(packet.sequence).has_value(); });
  std::optional<WirePacket> reply = std::move(calls_.at(packet.sequence));
  calls_.erase(packet.sequence);
  return reply.value_or(failed);
}

bool WindowClient::forward_post(const Message& message) {
  return connection_ && connection_->write(message_packet(WireKind::kPost, message));
}

void WindowClient::forward_send(const Message& message, SendCompletion complete) {
  if (!connection_) {
    complete(std::nullopt);
    return;
  }
  connection_->send(message, std::move(complete));
}

// The connection comes with the thread: connection_ itself is cleared while
// the destructor waits for this thread, which may not have begun by then.
void WindowClient::read_loop(WireConnection* connection) {
  WirePacket packet;
  while (read_packet(connection->socket(), packet)) {
    switch (packet.kind) {
      case WireKind::kReply: {
        std::lock_guard lock(calls_mutex_);
        auto it = calls_.find(packet.sequence);
        if (it != calls_.end()) it->second = packet;
        answered_.notify_all();
        break;
      }
      case WireKind::kSendReply:
        connection->complete_send(packet);
        break;
      case WireKind::kPost:
      case WireKind::kPaint:
      case WireKind::kSend: {
        std::lock_guard lock(system_mutex_);
        if (!system_) {
          if (packet.kind == WireKind::kSend) connection->answer_send(packet.sequence, std::nullopt);
          break;
        }
        if (packet.kind == WireKind::kPost) {
          system_->deliver_post(packet_message(packet));
        } else if (packet.kind == WireKind::kPaint) {
          system_->deliver_paint(WindowHandle{packet.window});
        } else {
          const std::uint32_t sequence = packet.sequence;
          system_->deliver_send(packet_message(packet), [connection, sequence](std::optional<MessageResult> result) {
            connection->answer_send(sequence, result);
          });
        }
        break;
      }
      default:
        break;
    }
  }
  {
    std::lock_guard lock(calls_mutex_);
    gone_ = true;
  }
  answered_.notify_all();
  connection->shut_down();
}

}  // namespace ductra::platform
