#include "app/shell/engine_gate.h"

#include "appplatform/wait.h"

namespace ductra {
namespace {

// A gate wait answers Sends (a holder may be waiting on this thread) and is
// not cut short by a stop: the call behind it has no way to fail.
constexpr platform::WaitOptions kGateWait{.stoppable = false, .services_sent_messages = true};

}  // namespace

platform::Acquire EngineGate::Condition::try_acquire() {
  return (gate_.*take_)() ? platform::Acquire::signalled : platform::Acquire::not_signalled;
}

bool EngineGate::held_by_current_thread() const {
  const std::thread::id me = std::this_thread::get_id();
  std::lock_guard lock(mutex_);
  return owner_ == me || (borrower_ == me && borrowed_depth_ > 0);
}

bool EngineGate::enter() {
  const std::thread::id me = std::this_thread::get_id();
  {
    std::lock_guard lock(mutex_);
    if (owner_ == me) {
      ++depth_;
      return false;
    }
    if (borrower_ == me) {
      ++borrowed_depth_;
      return true;
    }
  }
  platform::wait_for(free_, platform::kInfinite, kGateWait);
  return false;
}

void EngineGate::leave(bool borrowed) {
  {
    std::lock_guard lock(mutex_);
    if (borrowed) {
      --borrowed_depth_;
    } else if (--depth_ == 0) {
      owner_ = {};
    }
  }
  if (borrowed) {
    returned_.changed();
  } else {
    free_.changed();
  }
}

void EngineGate::lend(std::thread::id borrower) {
  std::lock_guard lock(mutex_);
  borrower_ = borrower;
}

void EngineGate::take_back() {
  platform::wait_for(returned_, platform::kInfinite, kGateWait);
}

bool EngineGate::take_if_free() {
  std::lock_guard lock(mutex_);
  if (owner_ != std::thread::id{}) return false;
  owner_ = std::this_thread::get_id();
  depth_ = 1;
  return true;
}

// Ends the loan once the borrower is out of every call it made under it.
bool EngineGate::loan_returned() {
  std::lock_guard lock(mutex_);
  if (borrowed_depth_ > 0) return false;
  borrower_ = {};
  return true;
}

}  // namespace ductra
