#include "appplatform/dialog/keyboard_demand.h"

#include <mutex>
#include <utility>

namespace ductra::platform {
namespace {

struct Demand {
  std::mutex mutex;
  int holders = 0;
  std::function<void(bool)> listener;
};

Demand& demand() {
  static Demand d;
  return d;
}

// Changes the count by `step` and tells the listener, outside the lock,
// when the keyboard becomes wanted or free.
void change(int step) {
  Demand& d = demand();
  std::function<void(bool)> listener;
  bool wanted = false;
  {
    std::lock_guard lock(d.mutex);
    if (step < 0 && d.holders == 0) return;
    const bool before = d.holders > 0;
    d.holders += step;
    wanted = d.holders > 0;
    if (wanted == before) return;
    listener = d.listener;
  }
  if (listener) listener(wanted);
}

}  // namespace

std::function<void(bool)> set_keyboard_demand_listener(std::function<void(bool)> listener) {
  Demand& d = demand();
  std::lock_guard lock(d.mutex);
  return std::exchange(d.listener, std::move(listener));
}

bool keyboard_wanted() {
  Demand& d = demand();
  std::lock_guard lock(d.mutex);
  return d.holders > 0;
}

void hold_keyboard() { change(+1); }
void release_keyboard() { change(-1); }

}  // namespace ductra::platform
