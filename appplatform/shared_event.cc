#include "appplatform/shared_event.h"

#include <fcntl.h>
#include <linux/futex.h>
#include <pthread.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdint>

#include "appplatform/file_lock.h"

namespace ductra::platform {

namespace {

constexpr std::uint32_t kTableMagic = 0x44455632;
constexpr std::size_t kSlots = 64;
constexpr std::size_t kLongestName = 260;
// How long a watcher sleeps at most before it looks again by itself.
constexpr long kWatchNanoseconds = 250'000'000;

struct Slot {
  std::uint32_t in_use;
  std::uint32_t manual_reset;
  std::uint32_t signalled;
  std::uint32_t generation;  // counts the sets, so a watcher sees each one
  std::uint32_t name_length;
  char16_t name[kLongestName];
};

}  // namespace

struct SharedEventTable {
  std::uint32_t magic;
  // Counts every set of any event; watchers sleep on it as a futex. (A
  // process-shared condition variable would hang its next broadcast for
  // good if a process were killed while waiting on it.)
  std::uint32_t changes;
  pthread_mutex_t mutex;
  Slot slots[kSlots];
};

namespace {

// The table's mutex, made consistent again when its holder died.
class TableLock {
 public:
  explicit TableLock(SharedEventTable* table) : table_(table) {
    if (::pthread_mutex_lock(&table_->mutex) == EOWNERDEAD) ::pthread_mutex_consistent(&table_->mutex);
  }
  ~TableLock() { ::pthread_mutex_unlock(&table_->mutex); }
  TableLock(const TableLock&) = delete;
  TableLock& operator=(const TableLock&) = delete;

 private:
  SharedEventTable* table_;
};

void initialise(SharedEventTable* table) {
  pthread_mutexattr_t mutex_attributes;
  ::pthread_mutexattr_init(&mutex_attributes);
  ::pthread_mutexattr_setpshared(&mutex_attributes, PTHREAD_PROCESS_SHARED);
  ::pthread_mutexattr_setrobust(&mutex_attributes, PTHREAD_MUTEX_ROBUST);
  ::pthread_mutex_init(&table->mutex, &mutex_attributes);
  ::pthread_mutexattr_destroy(&mutex_attributes);
  table->magic = kTableMagic;
}

// Maps the device's table (made and initialised by the first process that
// needs it) through a descriptor of its own, which carries this handle's
// holder lock.
SharedEventTable* map_table(const RuntimeDir& dir, int* fd) {
  const FileLock guard(dir.path() / "objects.lock");
  if (!guard.locked()) return nullptr;
  bool created = false;
  *fd = open_runtime_file(dir.path() / "events", &created);
  if (*fd < 0) return nullptr;
  struct stat info {};
  void* view = MAP_FAILED;
  if (::fstat(*fd, &info) == 0 &&
      (static_cast<std::size_t>(info.st_size) >= sizeof(SharedEventTable) ||
       ::ftruncate(*fd, sizeof(SharedEventTable)) == 0)) {
    view = ::mmap(nullptr, sizeof(SharedEventTable), PROT_READ | PROT_WRITE, MAP_SHARED, *fd, 0);
  }
  if (view == MAP_FAILED) {
    ::close(*fd);
    return nullptr;
  }
  auto* table = static_cast<SharedEventTable*>(view);
  if (table->magic != kTableMagic) initialise(table);
  return table;
}

void unmap_table(int fd, SharedEventTable* table) {
  ::munmap(table, sizeof(SharedEventTable));
  ::close(fd);
}

// Holder locks: every handle holds a read lock on the byte of its slot.
bool lock_slot_byte(int fd, std::size_t slot, short type, int command) {
  struct flock lock {};
  lock.l_type = type;
  lock.l_whence = SEEK_SET;
  lock.l_start = static_cast<off_t>(slot);
  lock.l_len = 1;
  return ::fcntl(fd, command, &lock) == 0 && (command != F_OFD_GETLK || lock.l_type == F_UNLCK);
}

bool has_holders(int fd, std::size_t slot) { return !lock_slot_byte(fd, slot, F_WRLCK, F_OFD_GETLK); }

std::atomic_ref<std::uint32_t> changes_of(SharedEventTable* table) {
  return std::atomic_ref<std::uint32_t>(table->changes);
}

// Wakes every watcher of the device, in every process.
void announce_change(SharedEventTable* table) {
  changes_of(table).fetch_add(1);
  ::syscall(SYS_futex, &table->changes, FUTEX_WAKE, INT32_MAX, nullptr, nullptr, 0);
}

// Sleeps until the change count moves from `seen`, or a while has passed
// (a setter that died between its set and its wake-up is not waited for).
void await_change(SharedEventTable* table, std::uint32_t seen) {
  const timespec a_while{0, kWatchNanoseconds};
  ::syscall(SYS_futex, &table->changes, FUTEX_WAIT, seen, &a_while, nullptr, 0);
}

bool named(const Slot& slot, std::u16string_view name) {
  const std::size_t length = std::min<std::size_t>(slot.name_length, kLongestName);
  return slot.in_use != 0 && std::u16string_view(slot.name, length) == name;
}

}  // namespace

SharedEvent::SharedEvent(Found found) : fd_(found.fd), table_(found.table), slot_(found.index) {
  // The generation is taken here, not on the watcher's first turn, so a set
  // made before the watcher runs still wakes this process's waiters.
  watcher_ = std::thread([this, seen = generation()] { watch(seen); });
}

SharedEvent::~SharedEvent() {
  stopping_ = true;
  announce_change(table_);
  watcher_.join();
  {
    const TableLock lock(table_);
    lock_slot_byte(fd_, slot_, F_UNLCK, F_OFD_SETLK);
    if (!has_holders(fd_, slot_)) table_->slots[slot_].in_use = 0;
  }
  unmap_table(fd_, table_);
}

Status SharedEvent::create(const RuntimeDir& dir, std::u16string_view name, EventReset reset,
                           bool initially_signalled, std::unique_ptr<SharedEvent>* out) {
  return find_or_make(dir, name, true, reset, initially_signalled, out);
}

Status SharedEvent::open(const RuntimeDir& dir, std::u16string_view name, std::unique_ptr<SharedEvent>* out) {
  return find_or_make(dir, name, false, EventReset::automatic, false, out);
}

Status SharedEvent::find_or_make(const RuntimeDir& dir, std::u16string_view name, bool may_create,
                                 EventReset reset, bool initially_signalled, std::unique_ptr<SharedEvent>* out) {
  if (name.empty() || name.size() > kLongestName) return Status::invalid_argument;
  int fd = -1;
  SharedEventTable* table = map_table(dir, &fd);
  if (table == nullptr) return Status::access_denied;
  std::size_t chosen = kSlots;
  Status status = Status::not_found;
  {
    const TableLock lock(table);
    // A slot whose holders all died is free again.
    for (std::size_t i = 0; i < kSlots; ++i) {
      if (table->slots[i].in_use != 0 && !has_holders(fd, i)) table->slots[i].in_use = 0;
    }
    const auto living = std::find_if(std::begin(table->slots), std::end(table->slots),
                                     [name](const Slot& slot) { return named(slot, name); });
    const auto free = std::find_if(std::begin(table->slots), std::end(table->slots),
                                   [](const Slot& slot) { return slot.in_use == 0; });
    if (living != std::end(table->slots)) {
      chosen = static_cast<std::size_t>(living - std::begin(table->slots));
      status = may_create ? Status::already_exists : Status::ok;
    } else if (may_create && free != std::end(table->slots)) {
      chosen = static_cast<std::size_t>(free - std::begin(table->slots));
      Slot& slot = *free;
      slot.in_use = 1;
      slot.manual_reset = reset == EventReset::manual ? 1 : 0;
      slot.signalled = initially_signalled ? 1 : 0;
      slot.name_length = static_cast<std::uint32_t>(name.size());
      std::copy(name.begin(), name.end(), slot.name);
      status = Status::ok;
    } else if (may_create) {
      status = Status::io_error;
    }
    if (chosen < kSlots) lock_slot_byte(fd, chosen, F_RDLCK, F_OFD_SETLK);
  }
  if (chosen == kSlots) {
    unmap_table(fd, table);
    return status;
  }
  *out = std::make_unique<SharedEvent>(SharedEvent::Found{fd, table, chosen});
  return status;
}

// The change is announced, and this process's waiters told, under the
// table's lock: a waiter here that takes the signal may free the event at
// once, so set() must be done with it before any waiter can pass.
void SharedEvent::set() {
  const TableLock lock(table_);
  Slot& slot = table_->slots[slot_];
  slot.signalled = 1;
  ++slot.generation;
  announce_change(table_);
  notify_waiters();
}

void SharedEvent::reset() {
  const TableLock lock(table_);
  table_->slots[slot_].signalled = 0;
}

bool SharedEvent::is_signalled() const {
  const TableLock lock(table_);
  return table_->slots[slot_].signalled != 0;
}

Acquire SharedEvent::try_acquire() {
  const TableLock lock(table_);
  Slot& slot = table_->slots[slot_];
  if (slot.signalled == 0) return Acquire::not_signalled;
  if (slot.manual_reset == 0) slot.signalled = 0;
  return Acquire::signalled;
}

std::uint32_t SharedEvent::generation() const {
  const TableLock lock(table_);
  return table_->slots[slot_].generation;
}

void SharedEvent::watch(std::uint32_t seen) {
  while (!stopping_) {
    // The count is read before the generation, so a set between the two
    // makes the sleep below return at once.
    const std::uint32_t changes = changes_of(table_).load();
    const std::uint32_t now = generation();
    if (now != seen) {
      seen = now;
      notify_waiters();
    } else if (!stopping_) {
      await_change(table_, changes);
    }
  }
}

}  // namespace ductra::platform
