#include "appplatform/pen_ring.h"

namespace ductra::platform {

namespace {

// Where entry 0 lies, as the header's `ring_` word tells it. The word is
// 32 bits wide and cannot hold an address of this machine; every process
// maps the block at an address of its own anyway, so the word carries the
// entries' offset from the start of the block, which holds in every view.
constexpr std::uint32_t kRingOffset = offsetof(PenRingBlock, ring);

std::atomic_ref<std::uint32_t> shared(std::uint32_t& word) { return std::atomic_ref<std::uint32_t>(word); }

}  // namespace

PenSample PenSample::make(std::uint32_t flags, std::uint32_t x, std::uint32_t y, std::uint32_t tick) {
  return {(x & 0xFFF) | ((y & 0xFFF) << 12) | ((flags & 0x7F) << 24), tick};
}

PenRing::PenRing(std::span<std::byte> bytes) {
  const bool aligned = reinterpret_cast<std::uintptr_t>(bytes.data()) % alignof(PenRingBlock) == 0;
  if (bytes.size() >= kPenRingBytes && aligned) {
    block_ = reinterpret_cast<PenRingBlock*>(bytes.data());
  }
  if (bytes.size() >= kPenRingWithTailBytes && aligned) {
    tail_ = &reinterpret_cast<PenRingBlockWithTail*>(bytes.data())->tail;
  }
}

void PenRing::initialize() const {
  if (!is_open()) return;
  std::uint32_t* words = reinterpret_cast<std::uint32_t*>(block_);
  for (std::size_t i = 0; i < kPenRingBytes / sizeof(std::uint32_t); ++i) shared(words[i]).store(0);
  word(&PenRingHeader::capacity_).store(kPenRingCapacity);
  word(&PenRingHeader::ring_).store(kRingOffset);
  word(&PenRingHeader::write_index_).store(0);
  word(&PenRingHeader::read_index_).store(0);
  word(&PenRingHeader::hold_time_ms_).store(kDefaultHoldTimeMs);
  word(&PenRingHeader::move_tolerance_).store(kDefaultMoveTolerance);
}

std::uint32_t PenRing::load(std::uint32_t PenRingHeader::*field) const {
  return is_open() ? word(field).load() : 0;
}

void PenRing::exchange(std::uint32_t PenRingHeader::*field, std::uint32_t value) const {
  if (is_open()) word(field).exchange(value);
}

std::uint32_t PenRing::load(std::uint32_t PenRingTail::*field) const {
  return has_tail() ? shared(tail_->*field).load() : 0;
}

void PenRing::add(std::uint32_t PenRingTail::*field, std::uint32_t amount) const {
  if (has_tail()) shared(tail_->*field).fetch_add(amount);
}

bool PenRing::append(PenSample sample) const {
  if (!is_open()) return false;
  const std::uint32_t index = reduced(word(&PenRingHeader::write_index_).load());
  const std::uint32_t next = (index + 1) % kPenRingCapacity;
  if (next == reduced(word(&PenRingHeader::read_index_).load())) return false;
  write_entry(index, sample);
  word(&PenRingHeader::write_index_).exchange(next);
  return true;
}

std::optional<PenSample> PenRing::take() const {
  if (!is_open()) return std::nullopt;
  const std::uint32_t index = reduced(word(&PenRingHeader::read_index_).load());
  if (index == reduced(word(&PenRingHeader::write_index_).load())) return std::nullopt;
  const PenSample sample = read_entry(index);
  word(&PenRingHeader::read_index_).exchange((index + 1) % kPenRingCapacity);
  return sample;
}

void PenRing::write_entry(std::uint32_t index, PenSample sample) const {
  PenSample& entry = block_->ring[index];
  shared(entry.packed).store(sample.packed, std::memory_order_relaxed);
  shared(entry.tick).store(sample.tick, std::memory_order_relaxed);
}

PenSample PenRing::read_entry(std::uint32_t index) const {
  PenSample& entry = block_->ring[index];
  return {shared(entry.packed).load(std::memory_order_relaxed), shared(entry.tick).load(std::memory_order_relaxed)};
}

}  // namespace ductra::platform
