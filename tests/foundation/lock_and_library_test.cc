#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "engine/foundation/loaded_library.h"
#include "engine/foundation/recursive_lock.h"

namespace inkrec {
namespace {

// Whether another thread can enter the lock right now.
bool free_for_others(RecursiveLock& lock) {
  std::atomic<bool> entered{false};
  std::thread other([&] {
    lock.enter();
    entered = true;
    lock.leave_all();
  });
  other.join();
  return entered;
}

TEST(RecursiveLockTest, LeaveAllReleasesEveryEntry) {
  RecursiveLock lock;
  lock.enter();
  lock.enter();
  EXPECT_EQ(lock.entry_count(), 2);
  lock.leave_all();
  EXPECT_EQ(lock.entry_count(), 0);
  EXPECT_TRUE(free_for_others(lock));
}

TEST(RecursiveLockTest, GuardReleasesOuterEntryToo) {
  RecursiveLock lock;
  lock.enter();
  { LockGuard guard(lock); }
  EXPECT_EQ(lock.entry_count(), 0);
  EXPECT_TRUE(free_for_others(lock));
}

TEST(RecursiveLockTest, InactiveConditionalGuardLeavesOthersAlone) {
  RecursiveLock lock;
  lock.enter();
  {
    ConditionalGuard guard(lock, false);
    EXPECT_FALSE(guard.is_active());
  }
  EXPECT_EQ(lock.entry_count(), 1);
  lock.leave_all();
  {
    ConditionalGuard guard(lock, true);
    EXPECT_EQ(lock.entry_count(), 1);
  }
  EXPECT_TRUE(free_for_others(lock));
}

TEST(LoadedLibraryTest, LoadsAndReportsFailureWithItsPath) {
  const LoadedLibrary engine(INKREC_SHARED_LIBRARY);
  EXPECT_NE(engine.handle(), nullptr);
  const std::string missing(200, 'x');  // longer than any fixed buffer would hold
  try {
    LoadedLibrary library(missing);
    FAIL() << "loading should fail";
  } catch (const Utils::cant_load_library& error) {
    EXPECT_EQ(error.path(), missing);
    EXPECT_EQ(std::string(error.what()), missing);
  }
}

}  // namespace
}  // namespace inkrec
