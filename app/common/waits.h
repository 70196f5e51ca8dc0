// The two waits the application makes everywhere: an endless wait that
// tells whether the object was signalled (false for a failure, an
// abandoned object or a stop request), and the release of one count of a
// semaphore.
#pragma once

#include "appplatform/semaphore.h"
#include "appplatform/wait.h"

namespace ductra {

inline bool wait_signalled(platform::Waitable& object) {
  return platform::wait_for(object, platform::kInfinite).status == platform::WaitStatus::object;
}

inline bool release_semaphore(platform::Semaphore& semaphore) { return semaphore.release(1).has_value(); }

}  // namespace ductra
