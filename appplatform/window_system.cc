#include "appplatform/window_system.h"

#include <algorithm>
#include <atomic>
#include <utility>

#include "appplatform/event.h"
#include "appplatform/wait.h"

namespace ductra::platform {

namespace {

std::atomic<WindowSystem*> current_system{nullptr};

std::u16string folded(std::u16string_view name) {
  std::u16string out(name);
  for (char16_t& c : out) {
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  }
  return out;
}

// Closes the thread's queue when the thread ends, so Sends to its windows
// come back undelivered instead of waiting for ever.
struct QueueCloser {
  std::vector<std::shared_ptr<MessageQueue>> queues;
  ~QueueCloser() {
    for (auto& queue : queues) queue->close();
  }
};

thread_local QueueCloser queue_closer;


}  // namespace

WindowSystem::WindowSystem(WindowLink& link) : link_(link) {
  current_system.store(this);
  link_.attach(this);
}

WindowSystem::~WindowSystem() {
  link_.attach(nullptr);
  std::lock_guard lock(mutex_);
  for (auto& [context, queue] : queues_) queue->close();
  WindowSystem* self = this;
  current_system.compare_exchange_strong(self, nullptr);
}

WindowSystem& WindowSystem::current() { return *current_system.load(); }

WindowSystem* WindowSystem::current_if_any() { return current_system.load(); }

std::uint32_t WindowSystem::thread_number() {
  const ThreadContext* context = &ThreadContext::current();
  std::lock_guard lock(mutex_);
  auto [it, added] = thread_numbers_.emplace(context, static_cast<std::uint32_t>(thread_numbers_.size() + 1));
  return it->second;
}

std::shared_ptr<MessageQueue> WindowSystem::current_queue() {
  std::shared_ptr<ThreadContext> context = ThreadContext::current_shared();
  {
    std::lock_guard lock(mutex_);
    auto it = queues_.find(context.get());
    if (it != queues_.end()) return it->second;
  }
  auto queue = std::make_shared<MessageQueue>(context, [this](const Message& m) { return call_procedure(m); });
  {
    std::lock_guard lock(mutex_);
    queues_.emplace(context.get(), queue);
  }
  context->set_sent_message_service(queue.get());
  queue_closer.queues.push_back(queue);
  return queue;
}

std::shared_ptr<MessageQueue> WindowSystem::queue_of(WindowHandle window) {
  std::lock_guard lock(mutex_);
  auto it = windows_.find(window.id);
  return it == windows_.end() ? nullptr : it->second.queue;
}

WirePacket WindowSystem::call(WirePacket request) {
  request.kind = WireKind::kCall;
  request.process = link_.process_id();
  request.thread = thread_number();
  return link_.call(request);
}

WirePacket WindowSystem::call(WindowOp op, WindowHandle window) {
  WirePacket request;
  request.op = op;
  request.window = window.id;
  return call(request);
}

// Classes.

bool WindowSystem::register_class(const WindowClass& window_class) {
  if (window_class.name.empty() || !window_class.procedure) return false;
  std::lock_guard lock(mutex_);
  return classes_.emplace(folded(window_class.name), window_class).second;
}

bool WindowSystem::unregister_class(std::u16string_view name) {
  std::lock_guard lock(mutex_);
  return classes_.erase(folded(name)) != 0;
}

// Windows.

WindowHandle WindowSystem::create_window(const CreateWindowParams& params) {
  WindowProcedure procedure = nullptr;
  std::u16string class_name;
  {
    std::lock_guard lock(mutex_);
    auto it = classes_.find(folded(params.class_name));
    if (it == classes_.end()) return {};
    procedure = it->second.procedure;
    class_name = it->second.name;
  }
  const ScreenState screen_state = screen();
  const bool default_position = params.x == CW_USEDEFAULT;
  const bool default_size = params.width == CW_USEDEFAULT;
  const int x = default_position ? 0 : params.x;
  const int y = default_position ? 0 : params.y;
  const int width = default_size ? screen_state.width : params.width;
  const int height = default_size ? screen_state.height : params.height;

  WirePacket request;
  request.op = WindowOp::kCreate;
  request.set_text(0, class_name);
  request.set_text(1, params.title);
  request.flags = params.style;
  request.value[0] = static_cast<std::int32_t>(params.ex_style);
  request.set_rect(1, {x, y, x + width, y + height});
  request.other = params.parent.id;
  auto queue = current_queue();
  const WindowHandle window{call(request).window};
  if (!window) return {};
  {
    std::lock_guard lock(mutex_);
    windows_[window.id] = LocalWindow{procedure, 0, queue};
  }
  // The server asked for its first paint before the window was known here.
  if (params.style & WS_VISIBLE) queue->mark_paint(window);
  if (call_procedure({window, WM_CREATE, 0, reinterpret_cast<LParam>(&params)}) == -1) {
    destroy_window(window);
    return {};
  }
  return window;
}

bool WindowSystem::destroy_window(WindowHandle window) {
  WirePacket listing = call(WindowOp::kDestroy, window);
  if (listing.status <= 0) return false;
  // Parents hear of their end before their children, while all still exist.
  for (std::uint32_t i = listing.list_size; i-- > 0;) {
    const WindowHandle gone{listing.list[i]};
    if (queue_of(gone)) send_message(gone, WM_DESTROY, 0, 0);
  }
  WirePacket request;
  request.op = WindowOp::kDestroy;
  request.window = window.id;
  request.flags = kDestroyRemove;
  const WirePacket removed = call(request);
  for (std::uint32_t i = 0; i < removed.list_size; ++i) {
    const WindowHandle gone{removed.list[i]};
    std::shared_ptr<MessageQueue> queue;
    {
      std::lock_guard lock(mutex_);
      auto it = windows_.find(gone.id);
      if (it == windows_.end()) continue;
      queue = it->second.queue;
      windows_.erase(it);
    }
    queue->forget_window(gone);
  }
  return removed.status > 0;
}

bool WindowSystem::is_window(WindowHandle window) { return window && call(WindowOp::kDescribe, window).status > 0; }

std::optional<WindowInfo> WindowSystem::describe(WindowHandle window) {
  const WirePacket reply = call(WindowOp::kDescribe, window);
  if (reply.status <= 0) return std::nullopt;
  WindowInfo info;
  info.window = window;
  info.class_name = reply.get_text(0);
  info.title = reply.get_text(1);
  info.style = reply.flags;
  info.ex_style = static_cast<std::uint32_t>(reply.value[0]);
  info.window_rect = reply.get_rect(1);
  info.client_rect = reply.get_rect(5);
  info.client_origin = {reply.value[9], reply.value[10]};
  info.visible = reply.value[11] != 0;
  info.owner = WindowHandle{static_cast<std::uint32_t>(reply.value[12])};
  info.parent = WindowHandle{reply.other};
  info.thread = {reply.process, reply.thread};
  return info;
}

bool WindowSystem::show_window(WindowHandle window, int command) {
  WirePacket request;
  request.op = WindowOp::kShow;
  request.window = window.id;
  request.value[0] = command;
  return call(request).value[0] != 0;
}

bool WindowSystem::is_window_visible(WindowHandle window) {
  auto info = describe(window);
  return info && info->visible;
}

bool WindowSystem::enable_window(WindowHandle window, bool enable) {
  WirePacket request;
  request.op = WindowOp::kEnable;
  request.window = window.id;
  request.value[0] = enable ? 1 : 0;
  const WirePacket reply = call(request);
  if (reply.status > 0 && reply.value[1] != 0) send_message(window, WM_ENABLE, enable ? 1 : 0, 0);
  return reply.value[0] != 0;
}

std::optional<std::uint32_t> WindowSystem::window_style(WindowHandle window) {
  const auto info = describe(window);
  if (!info) return std::nullopt;
  return info->style;
}

std::optional<std::uint32_t> WindowSystem::set_window_style(WindowHandle window, std::uint32_t style) {
  WirePacket request;
  request.op = WindowOp::kSetStyle;
  request.window = window.id;
  request.flags = style;
  const WirePacket reply = call(request);
  if (reply.status <= 0) return std::nullopt;
  const StyleChange change{reply.flags, (reply.flags & kStyleKeptBits) | (style & ~kStyleKeptBits)};
  if (change.new_style != change.old_style)
    send_message(window, WM_STYLECHANGED, GWL_STYLE, reinterpret_cast<LParam>(&change));
  return reply.flags;
}

bool WindowSystem::is_window_enabled(WindowHandle window) {
  auto info = describe(window);
  return info && !(info->style & WS_DISABLED);
}

bool WindowSystem::set_window_pos(WindowHandle window, WindowHandle insert_after, int x, int y, int width, int height,
                                  std::uint32_t flags) {
  WirePacket request;
  request.op = WindowOp::kSetPosition;
  request.window = window.id;
  request.other = insert_after.id;
  request.value[0] = x;
  request.value[1] = y;
  request.value[2] = width;
  request.value[3] = height;
  request.flags = flags;
  const WirePacket reply = call(request);
  if (reply.status <= 0) return false;
  if (reply.value[0] & kSizedBit) {
    send_message(window, WM_SIZE, 0, point_param({reply.value[1], reply.value[2]}));
  }
  if (reply.value[0] & kMovedBit) {
    send_message(window, WM_MOVE, 0, point_param({reply.value[3], reply.value[4]}));
  }
  return true;
}

bool WindowSystem::move_window(WindowHandle window, int x, int y, int width, int height, bool repaint) {
  return set_window_pos(window, HWND_TOP, x, y, width, height,
                        SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0u : SWP_NOREDRAW));
}

std::optional<Rect> WindowSystem::window_rect(WindowHandle window) {
  auto info = describe(window);
  if (!info) return std::nullopt;
  return info->window_rect;
}

std::optional<Rect> WindowSystem::client_rect(WindowHandle window) {
  auto info = describe(window);
  if (!info) return std::nullopt;
  return info->client_rect;
}

std::optional<Point> WindowSystem::client_to_screen(WindowHandle window, Point p) {
  auto info = describe(window);
  if (!info) return std::nullopt;
  return Point{p.x + info->client_origin.x, p.y + info->client_origin.y};
}

std::optional<Point> WindowSystem::screen_to_client(WindowHandle window, Point p) {
  auto info = describe(window);
  if (!info) return std::nullopt;
  return Point{p.x - info->client_origin.x, p.y - info->client_origin.y};
}

bool WindowSystem::set_window_text(WindowHandle window, std::u16string_view text) {
  WirePacket request;
  request.op = WindowOp::kSetText;
  request.window = window.id;
  request.set_text(0, text);
  return call(request).status > 0;
}

std::u16string WindowSystem::window_text(WindowHandle window) {
  auto info = describe(window);
  return info ? info->title : std::u16string();
}

std::u16string WindowSystem::class_name(WindowHandle window) {
  auto info = describe(window);
  return info ? info->class_name : std::u16string();
}

WindowHandle WindowSystem::parent(WindowHandle window) {
  auto info = describe(window);
  if (!info || !(info->style & WS_CHILD)) return {};
  return info->parent;
}

WindowHandle WindowSystem::get_window(WindowHandle window, int relation) {
  WirePacket request;
  request.op = WindowOp::kRelation;
  request.window = window.id;
  request.value[0] = relation;
  return WindowHandle{call(request).window};
}

WindowHandle WindowSystem::find_window(std::optional<std::u16string_view> class_name,
                                       std::optional<std::u16string_view> title) {
  WirePacket request;
  request.op = WindowOp::kFind;
  if (class_name) {
    request.flags |= kFindClass;
    request.set_text(0, *class_name);
  }
  if (title) {
    request.flags |= kFindTitle;
    request.set_text(1, *title);
  }
  return WindowHandle{call(request).window};
}

WindowHandle WindowSystem::window_from_point(Point screen_point) {
  WirePacket request;
  request.op = WindowOp::kWindowFromPoint;
  request.value[0] = screen_point.x;
  request.value[1] = screen_point.y;
  return WindowHandle{call(request).window};
}

WindowHandle WindowSystem::child_window_from_point(WindowHandle parent, Point client_point) {
  WirePacket request;
  request.op = WindowOp::kChildFromPoint;
  request.window = parent.id;
  request.value[0] = client_point.x;
  request.value[1] = client_point.y;
  return WindowHandle{call(request).other};
}

// Procedures and user data.

std::uintptr_t WindowSystem::set_user_data(WindowHandle window, std::uintptr_t value) {
  std::lock_guard lock(mutex_);
  auto it = windows_.find(window.id);
  if (it == windows_.end()) return 0;
  return std::exchange(it->second.user_data, value);
}

std::uintptr_t WindowSystem::user_data(WindowHandle window) {
  std::lock_guard lock(mutex_);
  auto it = windows_.find(window.id);
  return it == windows_.end() ? 0 : it->second.user_data;
}

WindowProcedure WindowSystem::set_procedure(WindowHandle window, WindowProcedure procedure) {
  std::lock_guard lock(mutex_);
  auto it = windows_.find(window.id);
  if (it == windows_.end() || !procedure) return nullptr;
  return std::exchange(it->second.procedure, procedure);
}

WindowProcedure WindowSystem::procedure(WindowHandle window) {
  std::lock_guard lock(mutex_);
  auto it = windows_.find(window.id);
  return it == windows_.end() ? nullptr : it->second.procedure;
}

MessageResult WindowSystem::default_procedure(WindowHandle window, std::uint32_t message, WParam, LParam) {
  switch (message) {
    case WM_PAINT:
      end_paint(window, begin_paint(window));
      return 0;
    case WM_CLOSE:
      destroy_window(window);
      return 0;
    default:
      return 0;
  }
}

MessageResult WindowSystem::call_procedure(const Message& message) {
  WindowProcedure procedure = this->procedure(message.window);
  if (!procedure) return 0;
  // Another thread may have painted the window since this paint was asked
  // for: a procedure sees WM_PAINT only while something waits to be painted.
  if (message.message == WM_PAINT && !has_update(message.window)) return 0;
  return procedure(message.window, message.message, message.wparam, message.lparam);
}

// Messages.

MessageStatus WindowSystem::post_message(WindowHandle window, std::uint32_t message, WParam wparam, LParam lparam) {
  const Message m{window, message, wparam, lparam};
  if (auto queue = queue_of(window)) return queue->post(m) ? MessageStatus::delivered : MessageStatus::undelivered;
  if (!is_window(window)) return MessageStatus::no_window;
  if (!is_wire_safe(message, wparam, lparam)) return MessageStatus::refused;
  return link_.forward_post(m) ? MessageStatus::delivered : MessageStatus::undelivered;
}

SendOutcome WindowSystem::wait_for_answer(const std::function<void(SendCompletion)>& start) {
  struct Answer {
    Event done{EventReset::manual, false};
    std::optional<MessageResult> result;
  };
  auto answer = std::make_shared<Answer>();
  current_queue();  // this thread answers Sends to its own windows while it waits
  start([answer](std::optional<MessageResult> result) {
    answer->result = result;
    answer->done.set();
  });
  if (!wait_for(answer->done, kInfinite).signalled() || !answer->result) return {MessageStatus::undelivered, 0};
  return {MessageStatus::delivered, *answer->result};
}

SendOutcome WindowSystem::send_message(WindowHandle window, std::uint32_t message, WParam wparam, LParam lparam) {
  const Message m{window, message, wparam, lparam};
  if (auto queue = queue_of(window)) {
    if (queue == current_queue()) return {MessageStatus::delivered, call_procedure(m)};
    return wait_for_answer([&](SendCompletion complete) {
      queue->queue_sent(std::make_shared<SentCall>(SentCall{m, std::move(complete)}));
    });
  }
  if (!is_window(window)) return {MessageStatus::no_window, 0};
  if (!is_wire_safe(message, wparam, lparam)) return {MessageStatus::refused, 0};
  return wait_for_answer([&](SendCompletion complete) { link_.forward_send(m, std::move(complete)); });
}

void WindowSystem::post_quit_message(int exit_code) { current_queue()->post_quit(exit_code); }

int WindowSystem::get_message(Message& message) {
  auto queue = current_queue();
  for (;;) {
    queue->service_sent_messages();
    if (auto input = queue->take_input(true)) {
      message = *input;
      return message.message == WM_QUIT ? 0 : 1;
    }
    if (!wait_message()) return -1;
  }
}

bool WindowSystem::peek_message(Message& message, bool remove) {
  auto queue = current_queue();
  queue->service_sent_messages();
  auto input = queue->take_input(remove);
  if (!input) return false;
  message = *input;
  return true;
}

bool WindowSystem::wait_message() {
  auto queue = current_queue();
  queue->service_sent_messages();
  const WaitResult waited = wait_for(*queue, kInfinite);
  return waited.status != WaitStatus::stopped && waited.status != WaitStatus::failed;
}

void WindowSystem::unget_message(const Message& message) { current_queue()->unget(message); }

MessageResult WindowSystem::dispatch_message(const Message& message) {
  if (!message.window) return 0;
  return call_procedure(message);
}

MessageStatus WindowSystem::broadcast(std::uint32_t message, WParam wparam, LParam lparam) {
  if (!is_wire_safe(message, wparam, lparam)) return MessageStatus::refused;
  WirePacket request;
  request.op = WindowOp::kBroadcast;
  request.message = message;
  request.wparam = wparam;
  request.lparam = lparam;
  call(request);
  return MessageStatus::delivered;
}

// Timers.

std::uintptr_t WindowSystem::set_timer(WindowHandle window, std::uintptr_t id, std::uint32_t interval_ms) {
  std::shared_ptr<MessageQueue> queue = window ? queue_of(window) : current_queue();
  if (!queue) return 0;
  if (!window) {
    std::lock_guard lock(mutex_);
    id = ++next_thread_timer_;
  }
  queue->set_timer(window, id, interval_ms);
  return id == 0 ? 1 : id;
}

bool WindowSystem::kill_timer(WindowHandle window, std::uintptr_t id) {
  std::shared_ptr<MessageQueue> queue = window ? queue_of(window) : current_queue();
  return queue && queue->kill_timer(window, id);
}

// Painting.

bool WindowSystem::invalidate_rect(WindowHandle window, std::optional<Rect> client_part, bool erase) {
  WirePacket request;
  request.op = WindowOp::kInvalidate;
  request.window = window.id;
  if (client_part) {
    request.flags |= kInvalidateHasRect;
    request.set_rect(0, *client_part);
  }
  if (erase) request.flags |= kInvalidateErase;
  return call(request).status > 0;
}

bool WindowSystem::validate_rect(WindowHandle window) {
  const bool known = call(WindowOp::kTakeUpdate, window).status >= 0;
  if (auto queue = queue_of(window)) queue->unmark_paint(window);
  return known;
}

bool WindowSystem::has_update(WindowHandle window) {
  WirePacket request;
  request.op = WindowOp::kTakeUpdate;
  request.window = window.id;
  request.flags = kTakeUpdatePeek;
  return call(request).status > 0;
}

bool WindowSystem::update_window(WindowHandle window) {
  if (!has_update(window)) return is_window(window);
  if (auto queue = queue_of(window)) queue->unmark_paint(window);
  send_message(window, WM_PAINT, 0, 0);
  return true;
}

PaintInfo WindowSystem::begin_paint(WindowHandle window) {
  const WirePacket reply = call(WindowOp::kTakeUpdate, window);
  if (auto queue = queue_of(window)) queue->unmark_paint(window);
  if (reply.status <= 0) return {};
  return {reply.get_rect(0), reply.value[4] != 0};
}

void WindowSystem::end_paint(WindowHandle, const PaintInfo&) {}

// Input.

WindowHandle WindowSystem::set_capture(WindowHandle window) { return WindowHandle{call(WindowOp::kSetCapture, window).other}; }

bool WindowSystem::release_capture() { return call(WindowOp::kReleaseCapture, {}).status > 0; }

WindowHandle WindowSystem::capture() { return WindowHandle{call(WindowOp::kGetCapture, {}).other}; }

WindowHandle WindowSystem::set_focus(WindowHandle window) {
  const WirePacket reply = call(WindowOp::kSetFocus, window);
  if (reply.status <= 0) return {};
  const WindowHandle previous{reply.other};
  if (previous != window) {
    if (previous) send_message(previous, WM_KILLFOCUS, window.id, 0);
    if (window) send_message(window, WM_SETFOCUS, previous.id, 0);
  }
  return previous;
}

WindowHandle WindowSystem::focus() { return WindowHandle{call(WindowOp::kGetFocus, {}).other}; }

bool WindowSystem::set_foreground_window(WindowHandle window) { return call(WindowOp::kSetForeground, window).status > 0; }

WindowHandle WindowSystem::foreground_window() { return WindowHandle{call(WindowOp::kGetForeground, {}).window}; }

bool WindowSystem::inject_mouse(std::uint32_t flags, int dx, int dy) {
  WirePacket request;
  request.op = WindowOp::kInjectMouse;
  request.flags = flags;
  request.value[0] = dx;
  request.value[1] = dy;
  return call(request).status > 0;
}

void WindowSystem::set_keyboard_demand(bool wanted) {
  WirePacket request;
  request.op = WindowOp::kKeyboardDemand;
  request.value[0] = wanted ? 1 : 0;
  call(request);
}

// Screen.

ScreenState WindowSystem::screen() {
  WirePacket request;
  request.op = WindowOp::kScreen;
  const WirePacket reply = call(request);
  return {reply.value[0], reply.value[1], reply.value[2], reply.get_rect(3)};
}

int WindowSystem::system_metric(int index) {
  switch (index) {
    case SM_CXSCREEN: return screen().width;
    case SM_CYSCREEN: return screen().height;
    case SM_CXVSCROLL:
    case SM_CYHSCROLL: return kScrollBarWidth;
    default: return 0;
  }
}

bool WindowSystem::set_scroll_range(WindowHandle window, bool vertical, ScrollRange range) {
  WirePacket request;
  request.op = WindowOp::kSetScrollRange;
  request.window = window.id;
  request.flags = vertical ? 1 : 0;
  request.value[0] = range.min;
  request.value[1] = range.max;
  request.value[2] = static_cast<std::int32_t>(range.page);
  return call(request).status > 0;
}

std::optional<ScrollRange> WindowSystem::scroll_range(WindowHandle window, bool vertical) {
  WirePacket request;
  request.op = WindowOp::kGetScrollRange;
  request.window = window.id;
  request.flags = vertical ? 1 : 0;
  const WirePacket reply = call(request);
  if (reply.status <= 0) return std::nullopt;
  return ScrollRange{reply.value[0], reply.value[1], static_cast<unsigned>(reply.value[2]), true};
}

// Arrivals from the link.

void WindowSystem::deliver_post(const Message& message) {
  if (auto queue = queue_of(message.window)) queue->post(message);
}

void WindowSystem::deliver_send(const Message& message, SendCompletion complete) {
  auto queue = queue_of(message.window);
  if (!queue) {
    complete(std::nullopt);
    return;
  }
  queue->queue_sent(std::make_shared<SentCall>(SentCall{message, std::move(complete)}));
}

void WindowSystem::deliver_paint(WindowHandle window) {
  if (auto queue = queue_of(window)) queue->mark_paint(window);
}

}  // namespace ductra::platform
