// StablePool: room for runs of values that stay where they are until the
// pool is cleared, for the word search's per-box tables that hand out
// spans while they go on growing.
//
// take(n) hands out n contiguous values (default-made the first time the
// room is used, else as the run before clear() left them) that neither
// move nor change while more runs are taken. clear() forgets every run and
// keeps the room: once the pool has grown to what a box needs, taking a
// run allocates nothing. The standard containers' allocation failure is
// the only way the pool can fail.
#pragma once

#include <algorithm>
#include <cstddef>
#include <memory>
#include <span>
#include <vector>

namespace inkrec {

template <typename T>
class StablePool {
 public:
  static constexpr std::size_t kChunk = 4096;

  // n values that stay where they are until clear(); empty for n = 0.
  std::span<T> take(std::size_t n) {
    if (n == 0) return {};
    while (chunk_ < chunks_.size() && used_ + n > chunks_[chunk_].size) {
      ++chunk_;
      used_ = 0;
    }
    if (chunk_ == chunks_.size()) {
      const std::size_t size = std::max(n, kChunk);
      chunks_.push_back({std::make_unique<T[]>(size), size});
    }
    const std::span<T> run{chunks_[chunk_].values.get() + used_, n};
    used_ += n;
    return run;
  }

  // Forgets every run; keeps the room.
  void clear() {
    chunk_ = 0;
    used_ = 0;
  }

 private:
  struct Chunk {
    std::unique_ptr<T[]> values;
    std::size_t size = 0;
  };

  std::vector<Chunk> chunks_;
  std::size_t chunk_ = 0;  // the chunk runs are taken from
  std::size_t used_ = 0;   // of it
};

}  // namespace inkrec
