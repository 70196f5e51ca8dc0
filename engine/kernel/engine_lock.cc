#include "engine/kernel/engine_lock.h"

namespace inkrec {
namespace {

// Constructed when the library is loaded, destroyed when it is unloaded.
RecursiveLock lock;

}  // namespace

RecursiveLock& engine_lock() { return lock; }

}  // namespace inkrec
