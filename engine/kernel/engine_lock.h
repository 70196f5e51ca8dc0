// The engine-wide lock. The recognition driver holds it around the
// dictionary word search only, so that two kernels never search the shared
// word lists at once; nothing else in the engine takes it.
#pragma once

#include "engine/foundation/recursive_lock.h"

namespace inkrec {

RecursiveLock& engine_lock();

}  // namespace inkrec
