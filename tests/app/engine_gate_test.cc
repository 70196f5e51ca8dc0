#include "app/shell/engine_gate.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>

#include "appplatform/event.h"
#include "appplatform/sent_message_service.h"
#include "appplatform/thread_context.h"
#include "appplatform/thread.h"
#include "appplatform/wait.h"
#include "tests/appplatform/virtual_time.h"

namespace ductra {
namespace {

using platform::Event;
using platform::EventReset;
using platform::Thread;

class EngineGateTest : public platform::VirtualTimeTest {
 protected:
  // A thread that holds the gate from `take` until `give_back` is set.
  std::unique_ptr<Thread> holder(Event& taken, Event& give_back) {
    return Thread::start([&] {
      EngineGate::Hold hold(gate_);
      taken.set();
      platform::wait_for(give_back, platform::kInfinite);
      return 0u;
    });
  }

  EngineGate gate_;
};

TEST_F(EngineGateTest, IsRecursiveForItsHolderAndKeepsOthersOutUntilItLetsGo) {
  Event taken(EventReset::manual, false);
  Event give_back(EventReset::manual, false);
  auto first = holder(taken, give_back);
  platform::wait_for(taken, platform::kInfinite);
  std::atomic<bool> entered{false};
  auto second = Thread::start([&] {
    EngineGate::Hold hold(gate_);
    EngineGate::Hold again(gate_);
    entered = gate_.held_by_current_thread();
    return 0u;
  });
  clock_.advance(1000);
  EXPECT_FALSE(entered);
  EXPECT_FALSE(gate_.held_by_current_thread());
  give_back.set();
  first.reset();
  second.reset();
  EXPECT_TRUE(entered);
}

TEST_F(EngineGateTest, ALoanAdmitsCallsTheBorrowerBeginsDuringItButNotAWaitBegunBefore) {
  // The holder lends the gate to the borrower while it waits for an answer;
  // the borrower, already waiting for the gate, answers from its wait and
  // enters the gate to do so.
  Event lend(EventReset::manual, false);
  Event answered(EventReset::manual, false);
  Event finish(EventReset::manual, false);
  std::atomic<bool> answer_held_gate{false};
  std::atomic<bool> outer_entered{false};
  std::atomic<bool> outer_entered_during_loan{false};
  std::atomic<bool> loaning{false};
  std::atomic<Thread*> borrower_thread{nullptr};
  std::thread::id borrower_id;
  Event borrower_ready(EventReset::manual, false);

  struct Answering final : platform::SentMessageService {
    std::function<bool()> serve;
    bool service_sent_messages() override { return serve(); }
  } answering;
  std::atomic<bool> question{false};
  answering.serve = [&] {
    if (!question.exchange(false)) return false;
    EngineGate::Hold hold(gate_);  // begins during the loan
    answer_held_gate = gate_.held_by_current_thread();
    answered.set();
    return true;
  };

  Event holding(EventReset::manual, false);
  auto holder_thread = Thread::start([&] {
    EngineGate::Hold hold(gate_);
    holding.set();
    platform::wait_for(lend, platform::kInfinite);
    {
      EngineGate::Loan loan(gate_, borrower_id);
      loaning = true;
      question = true;
      borrower_thread.load()->context()->wake();
      platform::wait_for(answered, platform::kInfinite);
      loaning = false;
    }
    platform::wait_for(finish, platform::kInfinite);
    return 0u;
  });
  platform::wait_for(holding, platform::kInfinite);
  auto borrower = Thread::start([&] {
    borrower_id = std::this_thread::get_id();
    platform::ThreadContext::current().set_sent_message_service(&answering);
    borrower_ready.set();
    EngineGate::Hold outer(gate_);  // begun before the loan
    outer_entered = true;
    outer_entered_during_loan = loaning.load();
    platform::ThreadContext::current().set_sent_message_service(nullptr);
    return 0u;
  });
  borrower_thread = borrower.get();
  platform::wait_for(borrower_ready, platform::kInfinite);
  clock_.advance(0);
  lend.set();
  clock_.advance(1000);
  EXPECT_TRUE(answer_held_gate);
  EXPECT_FALSE(outer_entered) << "a wait begun before the loan must wait for the holder";
  finish.set();
  holder_thread.reset();
  borrower.reset();
  EXPECT_TRUE(outer_entered);
  EXPECT_FALSE(outer_entered_during_loan);
}

}  // namespace
}  // namespace ductra
