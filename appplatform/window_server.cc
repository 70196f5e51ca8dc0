#include "appplatform/window_server.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <utility>

#include "appplatform/wire_connection.h"
#include "appplatform/window_system.h"

namespace ductra::platform {

struct WindowServer::Connection : WireConnection {
  using WireConnection::WireConnection;
};

namespace {


// Absolute injected coordinates (0..65535) to the nearest pixel.
int from_normalised(int value, int extent) {
  const long long pixel = (static_cast<long long>(value) * extent + 32768) / 65536;
  return static_cast<int>(std::clamp<long long>(pixel, 0, std::max(extent - 1, 0)));
}

bool activates(const WindowRecord& record) {
  return record.parent == kDesktopWindow && !(record.ex_style & WS_EX_NOACTIVATE);
}

}  // namespace

WindowServer::WindowServer(int screen_width, int screen_height)
    : process_(static_cast<std::int32_t>(::getpid())),
      tree_(Rect{0, 0, screen_width, screen_height}),
      work_area_{0, 0, screen_width, screen_height} {}

WindowServer::~WindowServer() {
  stopping_.store(true);
  if (listener_ >= 0) {
    ::shutdown(listener_, SHUT_RDWR);
    if (acceptor_.joinable()) acceptor_.join();
    ::close(listener_);
    ::unlink(socket_path_.c_str());
  }
  std::vector<std::shared_ptr<Connection>> connections;
  {
    std::lock_guard lock(connections_mutex_);
    connections.swap(all_connections_);
    connections_.clear();
  }
  for (auto& connection : connections) connection->shut_down();
  for (auto& connection : connections) {
    if (connection->reader.joinable()) connection->reader.join();
  }
}

void WindowServer::attach(WindowSystem* system) { local_.store(system); }

// Routes.

std::int32_t WindowServer::owner_process(WindowHandle window) {
  std::lock_guard lock(mutex_);
  const WindowRecord* record = tree_.find_record(window);
  return record ? record->thread.process : 0;
}

std::shared_ptr<WindowServer::Connection> WindowServer::connection_of(std::int32_t process) {
  std::lock_guard lock(connections_mutex_);
  auto it = connections_.find(process);
  return it == connections_.end() ? nullptr : it->second;
}

void WindowServer::deliver(const std::vector<Effect>& effects) {
  for (const Effect& effect : effects) {
    const std::int32_t process = owner_process(effect.message.window);
    if (process == process_) {
      WindowSystem* local = local_.load();
      if (!local) continue;
      if (effect.paint) {
        local->deliver_paint(effect.message.window);
      } else {
        local->deliver_post(effect.message);
      }
    } else if (auto connection = connection_of(process)) {
      connection->write(message_packet(effect.paint ? WireKind::kPaint : WireKind::kPost, effect.message));
    }
  }
}

bool WindowServer::forward_post(const Message& message) {
  if (!owner_process(message.window)) return false;
  deliver({Effect{false, message}});
  return true;
}

void WindowServer::forward_send(const Message& message, SendCompletion complete) { relay_send(message, std::move(complete)); }

void WindowServer::relay_send(const Message& message, SendCompletion complete) {
  const std::int32_t process = owner_process(message.window);
  if (process == process_) {
    if (WindowSystem* local = local_.load()) {
      local->deliver_send(message, std::move(complete));
      return;
    }
  } else if (auto connection = connection_of(process)) {
    connection->send(message, std::move(complete));
    return;
  }
  complete(std::nullopt);
}

// Calls.

WirePacket WindowServer::call(const WirePacket& request) {
  std::vector<Effect> effects;
  WirePacket reply = handle(request, effects);
  deliver(effects);
  if (request.op == WindowOp::kKeyboardDemand) tell_keyboard_demand();
  return reply;
}

WirePacket WindowServer::handle(const WirePacket& request, std::vector<Effect>& effects) {
  WirePacket reply;
  reply.kind = WireKind::kReply;
  reply.sequence = request.sequence;
  reply.op = request.op;
  std::lock_guard lock(mutex_);
  switch (request.op) {
    case WindowOp::kSetCapture:
    case WindowOp::kReleaseCapture:
    case WindowOp::kGetCapture:
    case WindowOp::kSetFocus:
    case WindowOp::kGetFocus:
    case WindowOp::kSetForeground:
    case WindowOp::kGetForeground:
    case WindowOp::kInjectMouse:
    case WindowOp::kScreen:
    case WindowOp::kBroadcast:
    case WindowOp::kKeyboardDemand:
      handle_input_call(request, reply, effects);
      break;
    default:
      handle_window_call(request, reply, effects);
      break;
  }
  return reply;
}

void WindowServer::handle_window_call(const WirePacket& request, WirePacket& reply, std::vector<Effect>& effects) {
  const WindowHandle window{request.window};
  WindowRecord* record = tree_.find_record(window);
  switch (request.op) {
    case WindowOp::kCreate: {
      WindowSpec spec{request.get_text(0), request.get_text(1), request.flags,
                      static_cast<std::uint32_t>(request.value[0]), request.get_rect(1), WindowHandle{request.other}};
      reply.window = tree_.create(spec, {request.process, request.thread}).id;
      reply.status = reply.window ? 1 : 0;
      if (reply.window && tree_.is_visible(WindowHandle{reply.window})) invalidate(WindowHandle{reply.window}, std::nullopt, true, effects);
      return;
    }
    case WindowOp::kDestroy: {
      if (!record || window == kDesktopWindow) return;
      reply.status = 1;
      if (request.flags & kDestroyRemove) {
        const Rect area = tree_.window_rect(window);
        const bool shown = tree_.is_visible(window);
        const std::vector<WindowHandle> removed = tree_.destroy(window);
        forget_removed(removed);
        for (std::size_t i = 0; i < removed.size() && i < kWireListSize; ++i) reply.list[i] = removed[i].id;
        reply.list_size = static_cast<std::uint32_t>(std::min(removed.size(), kWireListSize));
        if (shown) expose(area, effects);
      } else {
        const std::vector<WindowHandle> doomed = tree_.subtree(window);
        for (std::size_t i = 0; i < doomed.size() && i < kWireListSize; ++i) reply.list[i] = doomed[i].id;
        reply.list_size = static_cast<std::uint32_t>(std::min(doomed.size(), kWireListSize));
      }
      return;
    }
    case WindowOp::kDescribe: {
      if (!record) return;
      reply.status = 1;
      reply.set_text(0, record->class_name);
      reply.set_text(1, record->title);
      reply.flags = record->style;
      reply.value[0] = static_cast<std::int32_t>(record->ex_style);
      reply.set_rect(1, tree_.window_rect(window));
      reply.set_rect(5, tree_.client_rect(window));
      const Point origin = tree_.client_origin(window);
      reply.value[9] = origin.x;
      reply.value[10] = origin.y;
      reply.value[11] = tree_.is_visible(window) ? 1 : 0;
      reply.value[12] = static_cast<std::int32_t>(record->owner.id);
      reply.other = record->parent.id;
      reply.process = record->thread.process;
      reply.thread = record->thread.thread;
      return;
    }
    case WindowOp::kShow: {
      if (!record || window == kDesktopWindow) return;
      reply.status = 1;
      const bool was_visible = (record->style & WS_VISIBLE) != 0;
      reply.value[0] = was_visible ? 1 : 0;
      const int command = request.value[0];
      const bool show = command != SW_HIDE;
      if (show == was_visible) return;
      const Rect area = tree_.window_rect(window);
      if (show) {
        record->style |= WS_VISIBLE;
        if (tree_.is_visible(window)) invalidate(window, std::nullopt, true, effects);
        if ((command == SW_SHOW || command == SW_SHOWNORMAL) && activates(*record)) foreground_ = window;
      } else {
        const bool shown = tree_.is_visible(window);
        record->style &= ~WS_VISIBLE;
        if (shown) expose(area, effects);
        if (foreground_ == window) foreground_ = {};
      }
      return;
    }
    case WindowOp::kEnable: {
      if (!record) return;
      reply.status = 1;
      const bool was_disabled = (record->style & WS_DISABLED) != 0;
      reply.value[0] = was_disabled ? 1 : 0;
      const bool enable = request.value[0] != 0;
      reply.value[1] = (enable == was_disabled) ? 1 : 0;
      if (enable) {
        record->style &= ~WS_DISABLED;
      } else {
        record->style |= WS_DISABLED;
      }
      return;
    }
    case WindowOp::kSetPosition: {
      if (!record || window == kDesktopWindow) return;
      const std::uint32_t flags = request.flags;
      const Rect old_screen = tree_.window_rect(window);
      const bool was_visible = tree_.is_visible(window);
      Rect rect = record->rect;
      if (!(flags & SWP_NOMOVE)) rect = rect.offset(request.value[0] - rect.left, request.value[1] - rect.top);
      if (!(flags & SWP_NOSIZE)) {
        rect.right = rect.left + std::max(request.value[2], 0);
        rect.bottom = rect.top + std::max(request.value[3], 0);
      }
      if (!(flags & SWP_NOZORDER) && !tree_.set_z_order(window, WindowHandle{request.other})) return;
      const bool moved = rect.left != record->rect.left || rect.top != record->rect.top;
      const bool sized = rect.width() != record->rect.width() || rect.height() != record->rect.height();
      tree_.set_rect(window, rect);
      if (flags & SWP_SHOWWINDOW) record->style |= WS_VISIBLE;
      if (flags & SWP_HIDEWINDOW) record->style &= ~WS_VISIBLE;
      if ((flags & SWP_SHOWWINDOW) && !(flags & SWP_NOACTIVATE) && activates(*record)) foreground_ = window;
      const bool visible = tree_.is_visible(window);
      if (!(flags & SWP_NOREDRAW) && (moved || sized || visible != was_visible || !(flags & SWP_NOZORDER))) {
        if (was_visible) expose(old_screen, effects);
        if (visible) invalidate(window, std::nullopt, true, effects);
      }
      reply.status = 1;
      reply.value[0] = (moved ? kMovedBit : 0) | (sized ? kSizedBit : 0);
      const Rect client = tree_.client_rect(window);
      reply.value[1] = client.width();
      reply.value[2] = client.height();
      reply.value[3] = rect.left;
      reply.value[4] = rect.top;
      return;
    }
    case WindowOp::kSetStyle: {
      if (!record || window == kDesktopWindow) return;
      reply.status = 1;
      reply.flags = record->style;
      const std::uint32_t style = (record->style & kStyleKeptBits) | (request.flags & ~kStyleKeptBits);
      if (style == record->style) return;
      const Rect area = tree_.window_rect(window);
      record->style = style;
      if (tree_.is_visible(window)) expose(area, effects);
      return;
    }
    case WindowOp::kSetText:
      if (!record) return;
      record->title = request.get_text(0);
      reply.status = 1;
      return;
    case WindowOp::kRelation:
      reply.window = tree_.relation(window, request.value[0]).id;
      reply.status = reply.window ? 1 : 0;
      return;
    case WindowOp::kFind: {
      const std::u16string class_name = request.get_text(0);
      const std::u16string title = request.get_text(1);
      reply.window = tree_.find((request.flags & kFindClass) ? std::optional<std::u16string_view>(class_name) : std::nullopt,
                                (request.flags & kFindTitle) ? std::optional<std::u16string_view>(title) : std::nullopt)
                         .id;
      reply.status = reply.window ? 1 : 0;
      return;
    }
    case WindowOp::kWindowFromPoint:
      reply.window = tree_.window_from_point({request.value[0], request.value[1]}).id;
      reply.status = 1;
      return;
    case WindowOp::kChildFromPoint:
      reply.other = tree_.child_from_point(window, {request.value[0], request.value[1]}).id;
      reply.status = 1;
      return;
    case WindowOp::kInvalidate:
      if (!record) return;
      reply.status = 1;
      invalidate(window, (request.flags & kInvalidateHasRect) ? std::optional<Rect>(request.get_rect(0)) : std::nullopt,
                 (request.flags & kInvalidateErase) != 0, effects);
      return;
    case WindowOp::kTakeUpdate: {
      if (!record) {
        reply.status = -1;
        return;
      }
      if (request.flags & kTakeUpdatePeek) {
        reply.status = record->update.empty() ? 0 : 1;
        return;
      }
      auto update = tree_.take_update(window);
      if (!update) return;
      reply.status = 1;
      reply.set_rect(0, update->first);
      reply.value[4] = update->second ? 1 : 0;
      return;
    }
    case WindowOp::kSetScrollRange:
    case WindowOp::kGetScrollRange: {
      if (!record) return;
      ScrollRange& range = (request.flags & 1) ? record->vertical : record->horizontal;
      if (request.op == WindowOp::kSetScrollRange) {
        range = {request.value[0], request.value[1], static_cast<unsigned>(request.value[2]), true};
      } else if (!range.set) {
        return;
      }
      reply.status = 1;
      reply.value[0] = range.min;
      reply.value[1] = range.max;
      reply.value[2] = static_cast<std::int32_t>(range.page);
      return;
    }
    default:
      return;
  }
}

void WindowServer::handle_input_call(const WirePacket& request, WirePacket& reply, std::vector<Effect>& effects) {
  const WindowHandle window{request.window};
  switch (request.op) {
    case WindowOp::kSetCapture:
      reply.other = capture_.id;
      if (!tree_.exists(window) || window == kDesktopWindow) return;
      capture_ = window;
      capture_implicit_ = false;
      reply.status = 1;
      return;
    case WindowOp::kReleaseCapture:
      capture_ = {};
      capture_implicit_ = false;
      reply.status = 1;
      return;
    case WindowOp::kGetCapture:
      reply.other = capture_.id;
      reply.status = 1;
      return;
    case WindowOp::kSetFocus:
      if (window && !tree_.exists(window)) return;
      reply.other = focus_.id;
      focus_ = window;
      reply.status = 1;
      return;
    case WindowOp::kGetFocus:
      reply.other = focus_.id;
      reply.status = 1;
      return;
    case WindowOp::kSetForeground: {
      const WindowHandle top = tree_.top_level_of(window);
      if (!top) return;
      foreground_ = top;
      tree_.set_z_order(top, HWND_TOP);
      reply.status = 1;
      return;
    }
    case WindowOp::kGetForeground:
      reply.window = foreground_.id;
      reply.status = 1;
      return;
    case WindowOp::kInjectMouse: {
      const Rect screen = tree_.screen();
      Point p{request.value[0], request.value[1]};
      if (request.flags & MOUSEEVENTF_ABSOLUTE) p = {from_normalised(p.x, screen.width()), from_normalised(p.y, screen.height())};
      reply.status = 1;
      if (request.flags & MOUSEEVENTF_MOVE) route_pointer(PointerAction::move, p, effects);
      if (request.flags & MOUSEEVENTF_LEFTDOWN) route_pointer(PointerAction::down, p, effects);
      if (request.flags & MOUSEEVENTF_LEFTUP) route_pointer(PointerAction::up, p, effects);
      return;
    }
    case WindowOp::kScreen: {
      const Rect screen = tree_.screen();
      reply.status = 1;
      reply.value[0] = screen.width();
      reply.value[1] = screen.height();
      reply.value[2] = orientation_;
      reply.set_rect(3, work_area_);
      return;
    }
    case WindowOp::kBroadcast:
      post_to_top_level(packet_message(request), effects);
      reply.status = 1;
      return;
    case WindowOp::kKeyboardDemand:
      if (request.value[0] != 0) {
        keyboard_wanted_by_.insert(request.process);
      } else {
        keyboard_wanted_by_.erase(request.process);
      }
      reply.status = 1;
      return;
    default:
      return;
  }
}

void WindowServer::invalidate(WindowHandle window, std::optional<Rect> client_part, bool erase, std::vector<Effect>& effects) {
  if (tree_.invalidate(window, client_part, erase)) effects.push_back({true, Message{window, WM_PAINT, 0, 0}});
}

void WindowServer::expose(Rect screen_area, std::vector<Effect>& effects) {
  for (WindowHandle window : tree_.walk()) {
    if (!tree_.is_visible(window)) continue;
    const Rect overlap = intersect(screen_area, tree_.window_rect(window));
    if (overlap.empty()) continue;
    const Point origin = tree_.client_origin(window);
    invalidate(window, overlap.offset(-origin.x, -origin.y), true, effects);
  }
}

void WindowServer::post_to_top_level(const Message& message, std::vector<Effect>& effects) {
  for (WindowHandle window : tree_.top_level_windows()) {
    Message copy = message;
    copy.window = window;
    effects.push_back({false, copy});
  }
}

void WindowServer::forget_removed(const std::vector<WindowHandle>& removed) {
  for (WindowHandle gone : removed) {
    if (capture_ == gone) capture_ = {};
    if (focus_ == gone) focus_ = {};
    if (foreground_ == gone) foreground_ = {};
  }
}

// Pointer input.

void WindowServer::route_pointer(PointerAction action, Point screen_point, std::vector<Effect>& effects) {
  WindowHandle target = capture_;
  if (!target) {
    target = tree_.window_from_point(screen_point);
    if (action == PointerAction::down && target) {
      capture_ = target;
      capture_implicit_ = true;
    }
  }
  if (action == PointerAction::down) button_down_ = true;
  if (action == PointerAction::up) button_down_ = false;
  if (target) {
    const Point origin = tree_.client_origin(target);
    const std::uint32_t message = action == PointerAction::down ? WM_LBUTTONDOWN
                                  : action == PointerAction::up ? WM_LBUTTONUP
                                                                : WM_MOUSEMOVE;
    effects.push_back({false, Message{target, message, button_down_ ? MK_LBUTTON : 0,
                                      point_param({screen_point.x - origin.x, screen_point.y - origin.y})}});
  }
  if (action == PointerAction::up && capture_implicit_) {
    capture_ = {};
    capture_implicit_ = false;
  }
}

void WindowServer::pointer_input(PointerAction action, Point screen_point) {
  std::vector<Effect> effects;
  {
    std::lock_guard lock(mutex_);
    route_pointer(action, screen_point, effects);
  }
  deliver(effects);
}

void WindowServer::set_screen(int width, int height, int orientation) {
  std::vector<Effect> effects;
  {
    std::lock_guard lock(mutex_);
    tree_.set_screen({0, 0, width, height});
    orientation_ = orientation;
    work_area_ = {0, 0, width, height};
    post_to_top_level(Message{{}, WM_SETTINGCHANGE, SETTINGCHANGE_RESET, 0}, effects);
  }
  deliver(effects);
}

void WindowServer::set_work_area(Rect area) {
  std::lock_guard lock(mutex_);
  work_area_ = area;
}

// Keyboard input.

void WindowServer::key_input(KeyAction action, std::uint32_t virtual_key, std::u16string_view characters) {
  // The repeat count 1; a key going up also has its previous-state and
  // transition bits set.
  constexpr LParam kKeyDownBits = 1;
  constexpr LParam kKeyUpBits = 0xC0000001;
  std::vector<Effect> effects;
  {
    std::lock_guard lock(mutex_);
    const WindowHandle target = focus_ ? focus_ : foreground_;
    if (!target) return;
    if (action == KeyAction::up) {
      if (virtual_key != 0) effects.push_back({false, Message{target, WM_KEYUP, virtual_key, kKeyUpBits}});
    } else {
      if (virtual_key != 0) effects.push_back({false, Message{target, WM_KEYDOWN, virtual_key, kKeyDownBits}});
      for (const char16_t unit : characters) effects.push_back({false, Message{target, WM_CHAR, unit, kKeyDownBits}});
    }
  }
  deliver(effects);
}

void WindowServer::set_keyboard_listener(std::function<void(bool)> listener) {
  {
    std::lock_guard lock(keyboard_mutex_);
    keyboard_listener_ = std::move(listener);
    keyboard_told_ = false;
  }
  tell_keyboard_demand();
}

// Tells the listener when whether any process wants the keyboard changed
// since it was last told.
void WindowServer::tell_keyboard_demand() {
  std::lock_guard told(keyboard_mutex_);
  bool wanted = false;
  {
    std::lock_guard lock(mutex_);
    wanted = !keyboard_wanted_by_.empty();
  }
  if (wanted == keyboard_told_) return;
  keyboard_told_ = wanted;
  if (keyboard_listener_) keyboard_listener_(wanted);
}

// Other processes.

bool WindowServer::listen(const std::string& path) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (path.size() >= sizeof address.sun_path || listener_ >= 0) return false;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  const int fd = ::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  ::unlink(path.c_str());
  const mode_t previous_mask = ::umask(0177);
  const bool bound = ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
  ::umask(previous_mask);
  if (!bound || ::chmod(path.c_str(), 0600) != 0 || ::listen(fd, 16) != 0) {
    ::close(fd);
    return false;
  }
  listener_ = fd;
  socket_path_ = path;
  acceptor_ = std::thread([this] { accept_loop(); });
  return true;
}

void WindowServer::accept_loop() {
  while (!stopping_.load()) {
    const int fd = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) {
      if (errno == EINTR) continue;
      return;
    }
    auto connection = std::make_shared<Connection>(fd);
    std::lock_guard lock(connections_mutex_);
    if (stopping_.load()) return;
    all_connections_.push_back(connection);
    connection->reader = std::thread([this, connection] { serve(connection); });
  }
}

void WindowServer::serve(std::shared_ptr<Connection> connection) {
  WirePacket packet;
  while (read_packet(connection->socket(), packet)) {
    switch (packet.kind) {
      case WireKind::kHello: {
        connection->process = packet.process;
        std::lock_guard lock(connections_mutex_);
        connections_[packet.process] = connection;
        break;
      }
      case WireKind::kCall: {
        WirePacket request = packet;
        request.process = connection->process;
        connection->write(call(request));
        break;
      }
      case WireKind::kPost:
        forward_post(packet_message(packet));
        break;
      case WireKind::kSend: {
        const std::uint32_t sequence = packet.sequence;
        std::weak_ptr<Connection> weak = connection;
        relay_send(packet_message(packet), [weak, sequence](std::optional<MessageResult> result) {
          if (auto peer = weak.lock()) peer->answer_send(sequence, result);
        });
        break;
      }
      case WireKind::kSendReply:
        connection->complete_send(packet);
        break;
      default:
        break;
    }
  }
  drop_connection(connection);
}

void WindowServer::drop_connection(const std::shared_ptr<Connection>& connection) {
  connection->shut_down();
  {
    std::lock_guard lock(connections_mutex_);
    auto it = connections_.find(connection->process);
    if (it != connections_.end() && it->second == connection) connections_.erase(it);
  }
  std::vector<Effect> effects;
  {
    std::lock_guard lock(mutex_);
    keyboard_wanted_by_.erase(connection->process);
    for (WindowHandle window : tree_.windows_of_process(connection->process)) {
      if (!tree_.exists(window)) continue;
      const Rect area = tree_.window_rect(window);
      const bool shown = tree_.is_visible(window);
      forget_removed(tree_.destroy(window));
      if (shown) expose(area, effects);
    }
  }
  deliver(effects);
  tell_keyboard_demand();
}

}  // namespace ductra::platform
