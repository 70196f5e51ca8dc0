// Named memory shared between processes of one device (the pen-sample
// ring "Korvale Software tapshim.dll File Mapping" is one). The first
// process to open a name creates the block, zero-filled; the others find
// it. The block lives while any process holds it and is removed when the
// last one lets go (a holder that crashes lets go too).
//
// Its 32-bit words are reached through word(), atomically, so two
// processes can exchange indices and switches without a lock.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>

#include "appplatform/runtime_dir.h"
#include "appplatform/status.h"

namespace ductra::platform {

class SharedMemory {
 public:
  SharedMemory() = default;
  ~SharedMemory() { close(); }
  SharedMemory(SharedMemory&& other) noexcept;
  SharedMemory& operator=(SharedMemory&& other) noexcept;
  SharedMemory(const SharedMemory&) = delete;
  SharedMemory& operator=(const SharedMemory&) = delete;

  // Creates or opens the block `name` of at least `size` bytes and maps
  // `size` bytes of it for reading and writing. `created` (optional) tells
  // whether this call made the block.
  static Status open(const RuntimeDir& dir, std::u16string_view name, std::size_t size, SharedMemory* out,
                     bool* created = nullptr);

  bool is_open() const { return view_ != nullptr; }
  std::span<std::byte> bytes() const { return {static_cast<std::byte*>(view_), size_}; }

  // The 32-bit word at byte offset 4 * index; index must lie inside the view.
  std::atomic_ref<std::uint32_t> word(std::size_t index) const {
    return std::atomic_ref<std::uint32_t>(static_cast<std::uint32_t*>(view_)[index]);
  }

  // Unmaps the view and lets go of the block.
  void close();

 private:
  void* view_ = nullptr;
  std::size_t size_ = 0;
  int fd_ = -1;
  std::filesystem::path file_;
  std::filesystem::path guard_;
};

}  // namespace ductra::platform
