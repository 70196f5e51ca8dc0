#include "appplatform/handed_work.h"

#include <mutex>
#include <set>

namespace ductra::platform {
namespace {

struct HandedWork {
  std::mutex mutex;
  std::multiset<LParam> waiting;
};

HandedWork& handed() {
  static HandedWork work;
  return work;
}

}  // namespace

SendOutcome send_work(WindowHandle window, std::uint32_t message, const std::function<void()>& work) {
  const auto address = reinterpret_cast<LParam>(&work);
  HandedWork& h = handed();
  {
    std::lock_guard lock(h.mutex);
    h.waiting.insert(address);
  }
  const SendOutcome outcome = WindowSystem::current().send_message(window, message, 0, address);
  {
    std::lock_guard lock(h.mutex);
    h.waiting.erase(h.waiting.find(address));
  }
  return outcome;
}

bool run_handed_work(LParam lparam) {
  {
    HandedWork& h = handed();
    std::lock_guard lock(h.mutex);
    if (h.waiting.count(lparam) == 0) return false;
  }
  (*reinterpret_cast<const std::function<void()>*>(lparam))();
  return true;
}

}  // namespace ductra::platform
