#include "appplatform/wait.h"

#include <algorithm>
#include <optional>
#include <thread>

#include "appplatform/clock.h"
#include "appplatform/sent_message_service.h"
#include "appplatform/thread_context.h"
#include "appplatform/waitable.h"
#include "appplatform/waiter.h"

namespace ductra::platform {

namespace {

constexpr std::uint32_t kAbandonedBase = 0x80;
constexpr std::uint32_t kTimeoutCode = 0x102;
constexpr std::uint32_t kFailedCode = 0xFFFFFFFF;

// Keeps the thread's waiter subscribed to every object for the wait's life.
class Subscription {
 public:
  Subscription(std::span<Waitable* const> objects, Waiter& waiter) : objects_(objects), waiter_(waiter) {
    for (Waitable* object : objects_) object->subscribe(waiter_);
  }
  ~Subscription() {
    for (Waitable* object : objects_) object->unsubscribe(waiter_);
  }
  Subscription(const Subscription&) = delete;
  Subscription& operator=(const Subscription&) = delete;

 private:
  std::span<Waitable* const> objects_;
  Waiter& waiter_;
};

std::optional<WaitResult> take_first(std::span<Waitable* const> objects) {
  for (std::size_t i = 0; i < objects.size(); ++i) {
    switch (objects[i]->try_acquire()) {
      case Acquire::signalled:
        return WaitResult{WaitStatus::object, i};
      case Acquire::abandoned:
        return WaitResult{WaitStatus::abandoned, i};
      case Acquire::not_signalled:
        break;
    }
  }
  return std::nullopt;
}

std::optional<Millis> earliest(std::optional<Millis> a, std::optional<Millis> b) {
  if (!a) return b;
  if (!b) return a;
  return std::min(*a, *b);
}

std::optional<Millis> block_deadline(std::span<Waitable* const> objects, std::optional<Millis> deadline) {
  for (Waitable* object : objects) deadline = earliest(deadline, object->wake_time());
  return deadline;
}

bool service_sent_messages(ThreadContext& context) {
  SentMessageService* service = context.sent_message_service();
  return service != nullptr && service->service_sent_messages();
}

// The one wait loop; `objects` may be empty (a sleep).
WaitResult wait_objects(std::span<Waitable* const> objects, std::uint32_t timeout_ms, WaitOptions options) {
  ThreadContext& context = ThreadContext::current();
  Clock& clock = process_clock();
  std::optional<Millis> deadline;
  if (timeout_ms != kInfinite) deadline = clock.now() + timeout_ms;
  Subscription subscription(objects, context.waiter());
  for (;;) {
    context.waiter().clear();
    if (options.stoppable && context.stop_requested()) return {WaitStatus::stopped};
    if (auto taken = take_first(objects)) return *taken;
    if (options.services_sent_messages && service_sent_messages(context)) continue;
    if (deadline && clock.now() >= *deadline) return {WaitStatus::timeout};
    clock.block(context.waiter(), block_deadline(objects, deadline));
  }
}

}  // namespace

std::uint32_t WaitResult::code() const {
  switch (status) {
    case WaitStatus::object:
      return static_cast<std::uint32_t>(index);
    case WaitStatus::abandoned:
      return kAbandonedBase + static_cast<std::uint32_t>(index);
    case WaitStatus::timeout:
      return kTimeoutCode;
    case WaitStatus::failed:
    case WaitStatus::stopped:
      break;
  }
  return kFailedCode;
}

WaitResult wait_for(Waitable& object, std::uint32_t timeout_ms, WaitOptions options) {
  Waitable* const objects[] = {&object};
  return wait_objects(objects, timeout_ms, options);
}

WaitResult wait_any(std::span<Waitable* const> objects, std::uint32_t timeout_ms, WaitOptions options) {
  const bool malformed = objects.empty() || objects.size() > kMaxWaitObjects ||
                         std::find(objects.begin(), objects.end(), nullptr) != objects.end();
  if (malformed) return {WaitStatus::failed};
  return wait_objects(objects, timeout_ms, options);
}

bool sleep_for(std::uint32_t ms) {
  if (ms == 0) {
    std::this_thread::yield();
    return true;
  }
  return wait_objects({}, ms, {}).status == WaitStatus::timeout;
}

}  // namespace ductra::platform
