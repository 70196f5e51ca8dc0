#include "appplatform/message_queue.h"

#include <algorithm>
#include <utility>

#include "appplatform/clock.h"

namespace ductra::platform {

MessageQueue::MessageQueue(std::shared_ptr<ThreadContext> owner, std::function<MessageResult(const Message&)> dispatch)
    : owner_(std::move(owner)), dispatch_(std::move(dispatch)) {}

void MessageQueue::wake() {
  notify_waiters();
  owner_->wake();
}

bool MessageQueue::post(const Message& message) {
  {
    std::lock_guard lock(mutex_);
    if (closed_) return false;
    posted_.push_back(message);
    posted_.back().time = tick_count();
  }
  wake();
  return true;
}

bool MessageQueue::queue_sent(std::shared_ptr<SentCall> call) {
  {
    std::lock_guard lock(mutex_);
    if (!closed_) {
      sent_.push_back(std::move(call));
      call = nullptr;
    }
  }
  if (call) {
    call->complete(std::nullopt);
    return false;
  }
  wake();
  return true;
}

void MessageQueue::mark_paint(WindowHandle window) {
  {
    std::lock_guard lock(mutex_);
    if (closed_ || !paint_.insert(window).second) return;
  }
  wake();
}

void MessageQueue::post_quit(int exit_code) {
  {
    std::lock_guard lock(mutex_);
    quit_code_ = exit_code;
  }
  wake();
}

void MessageQueue::close() {
  std::deque<std::shared_ptr<SentCall>> abandoned;
  {
    std::lock_guard lock(mutex_);
    closed_ = true;
    abandoned.swap(sent_);
    posted_.clear();
  }
  for (auto& call : abandoned) call->complete(std::nullopt);
}

void MessageQueue::unmark_paint(WindowHandle window) {
  std::lock_guard lock(mutex_);
  paint_.erase(window);
}

bool MessageQueue::set_timer(WindowHandle window, std::uintptr_t id, std::uint32_t interval_ms) {
  {
    std::lock_guard lock(mutex_);
    const Millis due = process_clock().now() + interval_ms;
    auto it = std::find_if(timers_.begin(), timers_.end(), [&](const Timer& t) { return t.window == window && t.id == id; });
    if (it != timers_.end()) {
      it->interval = interval_ms;
      it->due = due;
    } else {
      timers_.push_back({window, id, interval_ms, due});
    }
  }
  wake();
  return true;
}

bool MessageQueue::kill_timer(WindowHandle window, std::uintptr_t id) {
  std::lock_guard lock(mutex_);
  auto it = std::find_if(timers_.begin(), timers_.end(), [&](const Timer& t) { return t.window == window && t.id == id; });
  if (it == timers_.end()) return false;
  timers_.erase(it);
  return true;
}

void MessageQueue::unget(const Message& message) {
  {
    std::lock_guard lock(mutex_);
    if (closed_) return;
    posted_.push_front(message);
  }
  wake();
}

void MessageQueue::forget_window(WindowHandle window) {
  std::lock_guard lock(mutex_);
  std::erase_if(posted_, [&](const Message& m) { return m.window == window; });
  std::erase_if(timers_, [&](const Timer& t) { return t.window == window; });
  paint_.erase(window);
}

bool MessageQueue::has_input_locked(Millis now) const {
  return !posted_.empty() || quit_code_ || !paint_.empty() ||
         std::any_of(timers_.begin(), timers_.end(), [&](const Timer& t) { return t.due <= now; });
}

std::optional<Message> MessageQueue::take_input(bool remove) {
  std::lock_guard lock(mutex_);
  if (!posted_.empty()) {
    Message m = posted_.front();
    if (remove) posted_.pop_front();
    return m;
  }
  if (quit_code_) {
    Message m{WindowHandle{}, WM_QUIT, static_cast<WParam>(*quit_code_), 0, tick_count()};
    if (remove) quit_code_.reset();
    return m;
  }
  if (!paint_.empty()) {
    Message m{*paint_.begin(), WM_PAINT, 0, 0, tick_count()};
    if (remove) paint_.erase(paint_.begin());
    return m;
  }
  const Millis now = process_clock().now();
  auto due = std::min_element(timers_.begin(), timers_.end(), [](const Timer& a, const Timer& b) { return a.due < b.due; });
  if (due == timers_.end() || due->due > now) return std::nullopt;
  Message m{due->window, WM_TIMER, due->id, 0, static_cast<std::uint32_t>(now)};
  if (remove) due->due = now + std::max<std::uint32_t>(due->interval, 1);
  return m;
}

bool MessageQueue::service_sent_messages() {
  bool any = false;
  for (;;) {
    std::shared_ptr<SentCall> call;
    {
      std::lock_guard lock(mutex_);
      if (sent_.empty()) return any;
      call = std::move(sent_.front());
      sent_.pop_front();
    }
    any = true;
    call->complete(dispatch_(call->message));
  }
}

Acquire MessageQueue::try_acquire() {
  std::lock_guard lock(mutex_);
  return has_input_locked(process_clock().now()) ? Acquire::signalled : Acquire::not_signalled;
}

std::optional<Millis> MessageQueue::wake_time() const {
  std::lock_guard lock(mutex_);
  std::optional<Millis> earliest;
  for (const Timer& t : timers_) {
    if (!earliest || t.due < *earliest) earliest = t.due;
  }
  return earliest;
}

}  // namespace ductra::platform
