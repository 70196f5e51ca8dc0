// An event that processes of one device find by name ("Korvale Software
// Ductra window created Event"): set, reset and waited on from any of them
// with the platform's waits, like an event of this process.
//
// All named events of a device live in one shared segment of the runtime
// folder: a table of slots under one robust process-shared mutex, and a
// change count on which the watchers of every process sleep (a futex; its
// time-outs run on the monotonic clock). An event lives while any
// process holds it (a crashed holder counts as gone); a create by a name
// that lives gives that event and says already_exists, ignoring the
// arguments, as the device does. Names are compared exactly and hold at
// most 260 units.
//
// A thread per handle watches the segment for sets made elsewhere and
// wakes this process's waiters.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <thread>

#include "appplatform/event.h"
#include "appplatform/runtime_dir.h"
#include "appplatform/status.h"
#include "appplatform/waitable.h"

namespace ductra::platform {

struct SharedEventTable;

class SharedEvent final : public Waitable {
 public:
  ~SharedEvent() override;

  // ok when this call made the event, already_exists when it gave the
  // living event of that name; invalid_argument for an empty or too long
  // name; io_error when the device has no room for another event.
  static Status create(const RuntimeDir& dir, std::u16string_view name, EventReset reset, bool initially_signalled,
                       std::unique_ptr<SharedEvent>* out);
  // The living event of that name; not_found when there is none.
  static Status open(const RuntimeDir& dir, std::u16string_view name, std::unique_ptr<SharedEvent>* out);

  void set();
  void reset();
  bool is_signalled() const;

  Acquire try_acquire() override;

 private:
  // What create and open found; only they can make one.
  struct Found {
    int fd;
    SharedEventTable* table;
    std::size_t index;
  };

 public:
  explicit SharedEvent(Found found);

 private:
  static Status find_or_make(const RuntimeDir& dir, std::u16string_view name, bool may_create, EventReset reset,
                             bool initially_signalled, std::unique_ptr<SharedEvent>* out);
  std::uint32_t generation() const;
  void watch(std::uint32_t seen);

  const int fd_;
  SharedEventTable* const table_;
  const std::size_t slot_;
  std::atomic<bool> stopping_{false};
  std::thread watcher_;
};

}  // namespace ductra::platform
