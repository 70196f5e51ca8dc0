// PtrArray: the engine's growable array of pointers, which may own what they
// point to.
//
// An owning array deletes its elements when they are removed or cleared; a
// non-owning one only frees its slot buffer. Slots grown into are null.
// Nothing here throws; growth follows the rule of DynArray, with the maximum
// slot count taken from the pointee size, floor(0xFFFFFFFF / sizeof(T)).
#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <new>
#include <utility>

#include "engine/foundation/allocation.h"
#include "engine/foundation/array_growth.h"
#include "engine/foundation/status.h"

namespace inkrec {

template <typename T>
class PtrArray {
 public:
  static constexpr std::uint32_t kMaxCount =
      static_cast<std::uint32_t>(0xFFFFFFFFull / sizeof(T));
  static constexpr std::uint32_t kDefaultCapacity = 16;

  // A slot buffer of `capacity` null slots (none when that allocation fails).
  explicit PtrArray(std::uint32_t capacity = kDefaultCapacity, bool owns = false) noexcept
      : owns_(owns) {
    if (capacity != 0 && capacity <= kMaxCount && (data_ = allocate_slots(capacity))) {
      capacity_ = capacity;
    }
  }
  ~PtrArray() { clear(); }
  PtrArray(const PtrArray&) = delete;
  PtrArray& operator=(const PtrArray&) = delete;
  PtrArray(PtrArray&& other) noexcept { swap(other); }
  PtrArray& operator=(PtrArray&& other) noexcept {
    if (this != &other) {
      clear();
      swap(other);
    }
    return *this;
  }

  bool reserve(std::uint32_t k) noexcept {
    if (k == 0) return true;
    if (kMaxCount - count_ < k) return false;
    const std::uint32_t needed = count_ + k;
    if (capacity_ >= needed) return true;
    const std::uint32_t new_capacity = grown_capacity(capacity_, needed, kMaxCount);
    T** slots = allocate_slots(new_capacity);
    if (slots == nullptr) return false;
    std::copy_n(data_, count_, slots);
    release_bytes(data_);
    data_ = slots;
    capacity_ = new_capacity;
    return true;
  }

  int push_back(T* pointer) noexcept {
    if (!reserve(1)) return kOutOfMemory;
    data_[count_++] = pointer;
    return kOk;
  }

  // Takes ownership of `element` (an owning array); on failure it is deleted.
  int push_back_owned(std::unique_ptr<T> element) noexcept {
    if (!owns_ || push_back(element.get()) != kOk) return kOutOfMemory;
    element.release();
    return kOk;
  }

  // Creates an empty element, appends it and returns it; null for a
  // non-owning array or when memory runs out.
  T* add_new() {
    if (!owns_) return nullptr;
    std::unique_ptr<T> element = make_nothrow<T>();
    if (!element) return nullptr;
    T* raw = element.get();
    return push_back_owned(std::move(element)) == kOk ? raw : nullptr;
  }

  T* item(std::uint32_t i) const noexcept { return data_[i]; }
  T* item_checked(std::uint32_t i) const noexcept { return i < count_ ? data_[i] : nullptr; }
  T* operator[](std::uint32_t i) const noexcept { return data_[i]; }
  T* front() const noexcept { return count_ == 0 ? nullptr : data_[0]; }

  // Removes slot i (deleting its element when owning); -2 when out of range.
  int remove_at(std::uint32_t i) noexcept {
    if (i >= count_) return kBadArgument;
    if (owns_) delete data_[i];
    std::copy(data_ + i + 1, data_ + count_, data_ + i);
    data_[--count_] = nullptr;
    return kOk;
  }

  // Empties the array (deleting the elements when owning); keeps the slots.
  void remove_all() noexcept {
    for (std::uint32_t i = 0; i < count_; ++i) {
      if (owns_) delete data_[i];
      data_[i] = nullptr;
    }
    count_ = 0;
  }

  // Appends every pointer of other; -2 at a null one (those before it stay).
  int push_all(const PtrArray& other) noexcept {
    for (std::uint32_t i = 0; i < other.count_; ++i) {
      if (other.data_[i] == nullptr) return kBadArgument;
      if (const int status = push_back(other.data_[i]); status != kOk) return status;
    }
    return kOk;
  }

  // Empties the array and frees the slot buffer.
  void clear() noexcept {
    if (data_ == nullptr) return;
    if (owns_) {
      for (std::uint32_t i = 0; i < count_; ++i) delete data_[i];
    }
    release_bytes(data_);
    data_ = nullptr;
    count_ = 0;
    capacity_ = 0;
  }

  void swap(PtrArray& other) noexcept {
    std::swap(count_, other.count_);
    std::swap(capacity_, other.capacity_);
    std::swap(data_, other.data_);
    std::swap(owns_, other.owns_);
  }

  // The slots themselves, for reordering in place (the sorts).
  T** data() noexcept { return data_; }
  T* const* begin() const noexcept { return data_; }
  T* const* end() const noexcept { return data_ + count_; }
  std::uint32_t size() const noexcept { return count_; }
  std::uint32_t capacity() const noexcept { return capacity_; }
  bool empty() const noexcept { return count_ == 0; }
  bool owns() const noexcept { return owns_; }

 private:
  static T** allocate_slots(std::uint32_t n) noexcept {
    auto** slots = static_cast<T**>(allocate_bytes(std::size_t{n} * sizeof(T*)));
    if (slots != nullptr) std::fill_n(slots, n, nullptr);
    return slots;
  }

  std::uint32_t count_ = 0;
  std::uint32_t capacity_ = 0;
  T** data_ = nullptr;
  bool owns_ = false;
};

// to = a copy of from with its capacity and ownership: the same pointers,
// or, when from owns its elements, new elements made by copy(element,
// original) -> status. 0, or -1 with to unchanged.
template <typename T, typename Copy>
int copy_pointer_array(const PtrArray<T>& from, PtrArray<T>& to, Copy copy) {
  PtrArray<T> result(from.capacity(), from.owns());
  for (T* original : from) {
    if (!from.owns() || original == nullptr) {
      if (result.push_back(original) != kOk) return kOutOfMemory;
      continue;
    }
    std::unique_ptr<T> element = make_nothrow<T>();
    if (!element || copy(*element, *original) != kOk ||
        result.push_back_owned(std::move(element)) != kOk) {
      return kOutOfMemory;
    }
  }
  to.swap(result);
  return kOk;
}

}  // namespace inkrec
