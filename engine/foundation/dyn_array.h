// DynArray: the engine's growable array of elements stored by value.
//
// Layout {tag, count, capacity, data} is part of the engine's calling
// convention: arrays of this type cross the library boundary (path lists,
// charset lists, records assigned into caller-owned arrays), so the C header
// mirrors it as crDynArray. Nothing here throws: growth that runs out of
// memory is reported by the result and leaves the array exactly as it was.
// Capacity grows by half (1, 2, 3, 4, 6, 9, 13, ...) up to the element
// type's maximum count, floor(0xFFFFFFFF / sizeof(T)).
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <span>
#include <type_traits>
#include <utility>

#include "engine/foundation/allocation.h"
#include "engine/foundation/array_growth.h"
#include "engine/foundation/status.h"

namespace inkrec {

struct DynArrayLayout;

template <typename T>
class DynArray {
 public:
  using value_type = T;
  static constexpr std::uint32_t kMaxCount =
      static_cast<std::uint32_t>(0xFFFFFFFFull / sizeof(T));

  DynArray() noexcept = default;
  ~DynArray() { release(); }
  DynArray(const DynArray&) = delete;
  DynArray& operator=(const DynArray&) = delete;
  DynArray(DynArray&& other) noexcept { swap(other); }
  DynArray& operator=(DynArray&& other) noexcept {
    if (this != &other) {
      release();
      swap(other);
    }
    return *this;
  }

  // Storage for n elements, or null when n is 0, when n elements would pass
  // 0xFFFFFFFF bytes, or when memory runs out.
  static T* allocate(std::uint64_t n) noexcept {
    if (n == 0 || n * sizeof(T) > 0xFFFFFFFFull) return nullptr;
    return static_cast<T*>(allocate_bytes(static_cast<std::size_t>(n * sizeof(T))));
  }

  // Makes room for k more elements; false when that would pass the maximum
  // count or memory runs out.
  bool reserve(std::uint32_t k) noexcept {
    if (k == 0) return true;
    if (kMaxCount - count_ < k) return false;
    const std::uint32_t needed = count_ + k;
    if (capacity_ >= needed) return true;
    return reallocate(grown_capacity(capacity_, needed, kMaxCount));
  }

  // Makes the capacity at least n: 0, or -1.
  int reserve_total(std::uint32_t n) noexcept {
    if (capacity_ >= n) return kOk;
    if (n > kMaxCount) return kOutOfMemory;
    return reallocate(n) ? kOk : kOutOfMemory;
  }

  int push_back(const T& value) { return push_back_ptr(value) ? kOk : kOutOfMemory; }
  int push_back(T&& value) {
    if (!reserve(1)) return kOutOfMemory;
    ::new (static_cast<void*>(data_ + count_)) T(std::move(value));
    ++count_;
    return kOk;
  }

  // Appends a copy and returns its address, or null when growth fails.
  T* push_back_ptr(const T& value) {
    if (!reserve(1)) return nullptr;
    T* slot = ::new (static_cast<void*>(data_ + count_)) T(value);
    ++count_;
    return slot;
  }

  // Appends a default-constructed (for plain records: zeroed) element.
  T* push_default() {
    if (!reserve(1)) return nullptr;
    T* slot = ::new (static_cast<void*>(data_ + count_)) T();
    ++count_;
    return slot;
  }

  int append_n(const T* values, std::uint32_t n) {
    if (n == 0) return kOk;
    if (values == nullptr) return kBadArgument;
    if (!reserve(n)) return kOutOfMemory;
    std::uninitialized_copy_n(values, n, data_ + count_);
    count_ += n;
    return kOk;
  }
  int append(std::span<const T> values) {
    return append_n(values.data(), static_cast<std::uint32_t>(values.size()));
  }

  // Grows with copies of fill or erases the tail.
  int resize(std::uint32_t n, const T& fill = T()) {
    if (n < count_) return erase(n, count_ - n);
    if (n == count_) return kOk;
    if (n > capacity_ && !reserve(n - count_)) return kOutOfMemory;
    std::uninitialized_fill(data_ + count_, data_ + n, fill);
    count_ = n;
    return kOk;
  }

  // Removes n elements from index first; -2 when the range passes the end.
  int erase(std::uint32_t first, std::uint32_t n) {
    if (std::uint64_t{first} + n > count_) return kBadArgument;
    std::move(data_ + first + n, data_ + count_, data_ + first);
    std::destroy(data_ + count_ - n, data_ + count_);
    count_ -= n;
    return kOk;
  }
  int pop_back() { return count_ == 0 ? kBadArgument : erase(count_ - 1, 1); }

  // Removes every element (releasing what each one owns); keeps the buffer.
  void clear() noexcept {
    std::destroy(data_, data_ + count_);
    count_ = 0;
  }
  // The same as clear(): elements that own arrays release them as they go.
  void clear_nested() noexcept { clear(); }

  // Frees the buffer.
  void release() noexcept {
    clear();
    release_bytes(data_);
    data_ = nullptr;
    capacity_ = 0;
  }

  // Makes this a copy of other (a buffer of exactly other.size() elements);
  // 0, or -1 with this array unchanged.
  int assign(const DynArray& other) {
    if (this == &other) return kOk;
    DynArray copy;
    if (other.count_ != 0) {
      if (!copy.reallocate(other.count_)) return kOutOfMemory;
      for (std::uint32_t i = 0; i < other.count_; ++i) {
        if (copy.append_copy_of(other.data_[i]) != kOk) return kOutOfMemory;
      }
    }
    swap(copy);
    return kOk;
  }

  // Exchanges contents; the tag stays with each array.
  void swap(DynArray& other) noexcept {
    std::swap(count_, other.count_);
    std::swap(capacity_, other.capacity_);
    std::swap(data_, other.data_);
  }

  T* item(std::uint32_t i) noexcept { return data_ + i; }
  const T* item(std::uint32_t i) const noexcept { return data_ + i; }
  T* item_checked(std::uint32_t i) noexcept { return i < count_ ? data_ + i : nullptr; }
  const T* item_checked(std::uint32_t i) const noexcept { return i < count_ ? data_ + i : nullptr; }
  T& operator[](std::uint32_t i) noexcept { return data_[i]; }
  const T& operator[](std::uint32_t i) const noexcept { return data_[i]; }
  T& back() noexcept { return data_[count_ - 1]; }
  const T& back() const noexcept { return data_[count_ - 1]; }

  T* begin() noexcept { return data_; }
  T* end() noexcept { return data_ + count_; }
  const T* begin() const noexcept { return data_; }
  const T* end() const noexcept { return data_ + count_; }
  T* data() noexcept { return data_; }
  const T* data() const noexcept { return data_; }
  std::span<T> span() noexcept { return {data_, count_}; }
  std::span<const T> span() const noexcept { return {data_, count_}; }

  // A word that belongs to the owner; no other member touches it.
  std::uint32_t tag() const noexcept { return tag_; }
  void set_tag(std::uint32_t tag) noexcept { tag_ = tag; }

  std::uint32_t size() const noexcept { return count_; }
  std::uint32_t capacity() const noexcept { return capacity_; }
  bool empty() const noexcept { return count_ == 0; }

  bool contains(const T& value) const {
    return std::find(begin(), end(), value) != end();
  }

 private:
  friend struct DynArrayLayout;

  // Appends a copy of an element; elements that cannot be copy-constructed
  // (nested arrays) are default-constructed and then assigned.
  int append_copy_of(const T& value) {
    if constexpr (std::is_copy_constructible_v<T>) {
      return push_back_ptr(value) ? kOk : kOutOfMemory;
    } else {
      T* slot = push_default();
      return slot == nullptr ? kOutOfMemory : slot->assign(value);
    }
  }

  // Moves the live elements into a buffer of new_capacity >= count_.
  bool reallocate(std::uint32_t new_capacity) noexcept {
    T* buffer = allocate(new_capacity);
    if (buffer == nullptr) return false;
    if (count_ != 0) {
      if constexpr (std::is_trivially_copyable_v<T>) {
        std::memcpy(static_cast<void*>(buffer), data_, std::size_t{count_} * sizeof(T));
      } else {
        std::uninitialized_move(data_, data_ + count_, buffer);
        std::destroy(data_, data_ + count_);
      }
    }
    release_bytes(data_);
    data_ = buffer;
    capacity_ = new_capacity;
    return true;
  }

  std::uint32_t tag_ = 0;
  std::uint32_t count_ = 0;
  std::uint32_t capacity_ = 0;
  T* data_ = nullptr;
};

}  // namespace inkrec
