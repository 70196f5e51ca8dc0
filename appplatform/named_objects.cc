#include "appplatform/named_objects.h"

#include <map>
#include <mutex>
#include <string>

namespace ductra::platform {

namespace {

class NameTable {
 public:
  static NameTable& instance() {
    static NameTable table;
    return table;
  }

  // Finds the live object of `name`, else makes one with `make` and names it.
  template <typename T, typename Make>
  Created<T> find_or_create(std::u16string_view name, Make make) {
    if (name.empty()) return from_new(make());
    std::lock_guard lock(mutex_);
    forget_dead();
    if (auto found = objects_.find(std::u16string(name)); found != objects_.end()) {
      auto existing = std::dynamic_pointer_cast<T>(found->second.lock());
      if (!existing) return {nullptr, CreateStatus::name_used_by_another_kind};
      return {std::move(existing), CreateStatus::already_exists};
    }
    Created<T> made = from_new(make());
    if (made.object) objects_.emplace(std::u16string(name), made.object);
    return made;
  }

 private:
  template <typename T>
  static Created<T> from_new(std::shared_ptr<T> object) {
    const CreateStatus status = object ? CreateStatus::created : CreateStatus::invalid_arguments;
    return {std::move(object), status};
  }

  void forget_dead() {
    std::erase_if(objects_, [](const auto& entry) { return entry.second.expired(); });
  }

  std::mutex mutex_;
  std::map<std::u16string, std::weak_ptr<Waitable>, std::less<>> objects_;
};

}  // namespace

Created<Event> create_event(std::u16string_view name, EventReset reset, bool initially_signalled) {
  return NameTable::instance().find_or_create<Event>(
      name, [&] { return std::make_shared<Event>(reset, initially_signalled); });
}

Created<Semaphore> create_semaphore(std::u16string_view name, std::int32_t initial, std::int32_t maximum) {
  if (!Semaphore::arguments_valid(initial, maximum)) return {nullptr, CreateStatus::invalid_arguments};
  return NameTable::instance().find_or_create<Semaphore>(name,
                                                         [&] { return Semaphore::create(initial, maximum); });
}

}  // namespace ductra::platform
