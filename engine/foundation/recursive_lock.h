// RecursiveLock and its guards.
//
// A lock that its holder may enter again; it counts the entries so that
// leave_all releases every one of them at once. LockGuard enters on
// construction and, when it ends, releases every entry of the holder, not
// only its own: do not nest a guard inside an outer section of the same lock
// that must stay held after the guard ends.
#pragma once

#include <mutex>

namespace inkrec {

class RecursiveLock {
 public:
  RecursiveLock() = default;
  RecursiveLock(const RecursiveLock&) = delete;
  RecursiveLock& operator=(const RecursiveLock&) = delete;

  void enter();
  // Leaves as many times as the lock was entered; the holder only.
  void leave_all();
  // Entries of the current holder (meaningful to the holder only).
  int entry_count() const { return entries_; }

 private:
  std::recursive_mutex mutex_;
  int entries_ = 0;
};

class LockGuard {
 public:
  explicit LockGuard(RecursiveLock& lock) : lock_(lock) { lock_.enter(); }
  ~LockGuard() { lock_.leave_all(); }
  LockGuard(const LockGuard&) = delete;
  LockGuard& operator=(const LockGuard&) = delete;

 private:
  RecursiveLock& lock_;
};

// Enters the lock only when constructed active, and releases it at the end
// only in that case, so it never leaves a lock it did not enter.
class ConditionalGuard {
 public:
  ConditionalGuard(RecursiveLock& lock, bool active);
  ~ConditionalGuard();
  ConditionalGuard(const ConditionalGuard&) = delete;
  ConditionalGuard& operator=(const ConditionalGuard&) = delete;

  bool is_active() const { return active_; }

 private:
  RecursiveLock& lock_;
  bool active_;
};

}  // namespace inkrec
