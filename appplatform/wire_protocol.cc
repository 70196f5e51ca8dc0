#include "appplatform/wire_protocol.h"

#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <mutex>
#include <set>
#include <type_traits>

namespace ductra::platform {

static_assert(std::is_trivially_copyable_v<WirePacket>);

namespace {

std::mutex& declared_mutex() {
  static std::mutex mutex;
  return mutex;
}

std::set<std::uint32_t>& declared_pointer_messages() {
  static std::set<std::uint32_t> messages;
  return messages;
}

// System messages whose arguments are plain numbers or window handles.
bool is_integer_system_message(std::uint32_t message) {
  switch (message) {
    case WM_NULL: case WM_MOVE: case WM_SIZE: case WM_ACTIVATE: case WM_SETFOCUS:
    case WM_KILLFOCUS: case WM_ENABLE: case WM_PAINT: case WM_CLOSE: case WM_QUIT:
    case WM_SHOWWINDOW: case WM_CANCELMODE: case WM_KEYDOWN: case WM_KEYUP: case WM_CHAR:
    case WM_COMMAND: case WM_HSCROLL: case WM_VSCROLL: case WM_MOUSEMOVE: case WM_LBUTTONDOWN:
    case WM_LBUTTONUP: case WM_LBUTTONDBLCLK: case WM_CAPTURECHANGED: case WM_HOTKEY:
      return true;
    default:
      return false;
  }
}

}  // namespace

void WirePacket::set_text(int slot, std::u16string_view s) {
  const std::size_t n = std::min(s.size(), kWireTextUnits);
  std::copy_n(s.begin(), n, text[slot]);
  text_size[slot] = static_cast<std::uint16_t>(n);
}

std::u16string WirePacket::get_text(int slot) const {
  return std::u16string(text[slot], std::min<std::size_t>(text_size[slot], kWireTextUnits));
}

void WirePacket::set_rect(int first, Rect r) {
  value[first] = r.left;
  value[first + 1] = r.top;
  value[first + 2] = r.right;
  value[first + 3] = r.bottom;
}

Rect WirePacket::get_rect(int first) const { return {value[first], value[first + 1], value[first + 2], value[first + 3]}; }

bool is_wire_safe(std::uint32_t message, WParam, LParam lparam) {
  // A timer's lParam may name a callback and a setting change's a text.
  if (message == WM_TIMER || message == WM_SETTINGCHANGE) return lparam == 0;
  if (message < WM_USER) return is_integer_system_message(message);
  std::lock_guard lock(declared_mutex());
  return declared_pointer_messages().count(message) == 0;
}

void declare_pointer_message(std::uint32_t message) {
  std::lock_guard lock(declared_mutex());
  declared_pointer_messages().insert(message);
}

bool write_packet(int socket, const WirePacket& packet) {
  for (;;) {
    const ssize_t sent = ::send(socket, &packet, sizeof packet, MSG_NOSIGNAL);
    if (sent == static_cast<ssize_t>(sizeof packet)) return true;
    if (sent < 0 && errno == EINTR) continue;
    return false;
  }
}

bool read_packet(int socket, WirePacket& packet) {
  for (;;) {
    const ssize_t got = ::recv(socket, &packet, sizeof packet, 0);
    if (got < 0 && errno == EINTR) continue;
    if (got != static_cast<ssize_t>(sizeof packet)) return false;
    packet.text_size[0] = std::min<std::uint16_t>(packet.text_size[0], kWireTextUnits);
    packet.text_size[1] = std::min<std::uint16_t>(packet.text_size[1], kWireTextUnits);
    packet.list_size = std::min<std::uint32_t>(packet.list_size, kWireListSize);
    return true;
  }
}

}  // namespace ductra::platform
