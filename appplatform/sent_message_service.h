// The hook by which the waits of a thread that owns windows answer messages
// that other threads send to it.
//
// The window server installs one on each thread that owns windows
// (ThreadContext::set_sent_message_service). A sender queues its message for
// the owner thread and calls ThreadContext::wake on it; every wait of that
// thread then calls service_sent_messages before it blocks again, so a thread
// blocked in a wait (or in its own Send) still answers, and chains of Sends
// between threads cannot deadlock.
#pragma once

namespace ductra::platform {

class SentMessageService {
 public:
  virtual ~SentMessageService() = default;

  // Runs on the owner thread: handles every message sent to it that is
  // waiting. True when it handled any.
  virtual bool service_sent_messages() = 0;
};

}  // namespace ductra::platform
