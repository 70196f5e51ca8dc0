#include "appplatform/dialog/child_record.h"

#include <map>
#include <mutex>

namespace ductra::platform {
namespace {

struct Records {
  std::mutex mutex;
  std::map<WindowHandle, ChildRecord> by_window;  // nodes never move
};

Records& records() {
  static Records all;
  return all;
}

}  // namespace

ChildRecord& child_record(WindowHandle window) {
  Records& all = records();
  std::lock_guard lock(all.mutex);
  return all.by_window[window];
}

const ChildRecord* find_child_record(WindowHandle window) {
  Records& all = records();
  std::lock_guard lock(all.mutex);
  auto it = all.by_window.find(window);
  return it == all.by_window.end() ? nullptr : &it->second;
}

void forget_child_record(WindowHandle window) {
  Records& all = records();
  std::lock_guard lock(all.mutex);
  all.by_window.erase(window);
}

int child_id(WindowHandle window) {
  const ChildRecord* record = find_child_record(window);
  return record ? record->id : 0;
}

std::shared_ptr<const Font> child_font(WindowHandle window) {
  const ChildRecord* record = find_child_record(window);
  return record && record->font ? record->font : system_font();
}

}  // namespace ductra::platform
