// Records of type T kept per window by the dialog layer, from any thread.
// A record's address stays valid until it is forgotten; each record is
// touched only on the thread that owns its window.
#pragma once

#include <map>
#include <mutex>

#include "appplatform/window_types.h"

namespace ductra::platform {

template <typename T>
class WindowRecords {
 public:
  // The window's record, made on first use.
  T& at(WindowHandle window) {
    std::lock_guard lock(mutex_);
    return by_window_[window];
  }
  T* find(WindowHandle window) {
    std::lock_guard lock(mutex_);
    auto it = by_window_.find(window);
    return it == by_window_.end() ? nullptr : &it->second;
  }
  void put(WindowHandle window, T record) {
    std::lock_guard lock(mutex_);
    by_window_[window] = std::move(record);
  }
  void forget(WindowHandle window) {
    std::lock_guard lock(mutex_);
    by_window_.erase(window);
  }

 private:
  std::mutex mutex_;
  std::map<WindowHandle, T> by_window_;  // nodes never move
};

}  // namespace ductra::platform
