// The engine gate: the one lock every engine call of the application takes.
//
// The engine is not re-entrant, so one thread at a time calls it. The gate
// is recursive for its holder. The engine thread holds it across a whole
// recognition; while the engine's result callback waits for the UI thread to
// answer (a Send to the shell window), the engine thread lends the gate to
// the UI thread, which may then call the engine from its message handler.
//
// A loan admits only the engine calls the borrower begins while the loan
// stands (those of the handler). A call the borrower was already waiting to
// make when the Send arrived keeps waiting until the holder lets go, so it
// never runs in the middle of a recognition. Waits for the gate answer
// messages sent to the waiting thread and do not end on a stop request.
#pragma once

#include <mutex>
#include <thread>

#include "appplatform/waitable.h"

namespace ductra {

class EngineGate {
 public:
  EngineGate() = default;
  EngineGate(const EngineGate&) = delete;
  EngineGate& operator=(const EngineGate&) = delete;

  // Holds the gate for the calling thread for the guard's life.
  class Hold {
   public:
    explicit Hold(EngineGate& gate) : gate_(gate), borrowed_(gate.enter()) {}
    ~Hold() { gate_.leave(borrowed_); }
    Hold(const Hold&) = delete;
    Hold& operator=(const Hold&) = delete;

   private:
    EngineGate& gate_;
    bool borrowed_;
  };

  // Lends the gate, which the calling thread holds, to `borrower` for the
  // guard's life. The end of the loan waits until the borrower has left.
  class Loan {
   public:
    Loan(EngineGate& gate, std::thread::id borrower) : gate_(gate) { gate_.lend(borrower); }
    ~Loan() { gate_.take_back(); }
    Loan(const Loan&) = delete;
    Loan& operator=(const Loan&) = delete;

   private:
    EngineGate& gate_;
  };

  // Whether the calling thread may call the engine now: it holds the gate,
  // or is inside a call it made as the borrower.
  bool held_by_current_thread() const;

 private:
  // Signalled while `taken` says the calling thread got what it waits for.
  class Condition final : public platform::Waitable {
   public:
    Condition(EngineGate& gate, bool (EngineGate::*take)()) : gate_(gate), take_(take) {}
    platform::Acquire try_acquire() override;
    void changed() { notify_waiters(); }

   private:
    EngineGate& gate_;
    bool (EngineGate::*take_)();
  };

  // True when the entry is a borrowed one.
  bool enter();
  void leave(bool borrowed);
  void lend(std::thread::id borrower);
  void take_back();

  bool take_if_free();
  bool loan_returned();

  mutable std::mutex mutex_;
  std::thread::id owner_;
  int depth_ = 0;
  std::thread::id borrower_;
  int borrowed_depth_ = 0;
  Condition free_{*this, &EngineGate::take_if_free};
  Condition returned_{*this, &EngineGate::loan_returned};
};

}  // namespace ductra
