// The message queue of one thread that owns windows.
//
// It holds what other threads and processes post to the thread's windows,
// the messages they send (which the owner answers from any of its waits,
// through the sent-message hook), the windows waiting to be painted, the
// thread's timers and its quit request. As a waitable object it is
// signalled while it holds input for get_message, and its wake time is the
// next timer's, so timers follow the process clock (virtual in tests).
// Posting, sending and marking work from any thread; taking input and
// answering sent messages happen on the owner thread.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <vector>

#include "appplatform/sent_message_service.h"
#include "appplatform/thread_context.h"
#include "appplatform/waitable.h"
#include "appplatform/window_types.h"

namespace ductra::platform {

// Called exactly once with the answer, or with nothing when the message
// could not be handled (its window or thread is gone).
using SendCompletion = std::function<void(std::optional<MessageResult>)>;

struct SentCall {
  Message message;
  SendCompletion complete;
};

class MessageQueue final : public Waitable, public SentMessageService {
 public:
  // `dispatch` runs a sent message's window procedure on the owner thread.
  MessageQueue(std::shared_ptr<ThreadContext> owner, std::function<MessageResult(const Message&)> dispatch);

  // Any thread. False when the queue is closed.
  bool post(const Message& message);
  bool queue_sent(std::shared_ptr<SentCall> call);
  void mark_paint(WindowHandle window);
  void post_quit(int exit_code);
  // The owner thread ended: pending and later sends complete with nothing.
  void close();

  // Owner thread.
  void unmark_paint(WindowHandle window);
  bool set_timer(WindowHandle window, std::uintptr_t id, std::uint32_t interval_ms);
  bool kill_timer(WindowHandle window, std::uintptr_t id);
  // Puts a message taken by take_input back in front of the others.
  void unget(const Message& message);
  // Drops what is queued for a destroyed window.
  void forget_window(WindowHandle window);
  // The next input in order: posted messages, then the quit request (as
  // WM_QUIT), then paint, then a due timer. `remove` false only looks.
  std::optional<Message> take_input(bool remove);

  bool service_sent_messages() override;
  Acquire try_acquire() override;
  std::optional<Millis> wake_time() const override;

  ThreadContext& owner() const { return *owner_; }

 private:
  struct Timer {
    WindowHandle window;
    std::uintptr_t id = 0;
    std::uint32_t interval = 0;
    Millis due = 0;
  };

  bool has_input_locked(Millis now) const;
  void wake();

  std::shared_ptr<ThreadContext> owner_;
  std::function<MessageResult(const Message&)> dispatch_;
  mutable std::mutex mutex_;
  bool closed_ = false;
  std::deque<Message> posted_;
  std::deque<std::shared_ptr<SentCall>> sent_;
  std::set<WindowHandle> paint_;
  std::vector<Timer> timers_;
  std::optional<int> quit_code_;
};

}  // namespace ductra::platform
