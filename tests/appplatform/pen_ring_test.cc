#include "appplatform/pen_ring.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <vector>

namespace ductra::platform {
namespace {

// A block in ordinary memory, aligned as a mapping is.
struct Block {
  alignas(8) std::array<std::byte, kPenRingBytes> bytes{};
  PenRing ring() { return PenRing(bytes); }
  PenRingBlock& raw() { return *reinterpret_cast<PenRingBlock*>(bytes.data()); }
};

TEST(PenSampleTest, PacksTwelveBitCoordinatesAndSevenBitFlags) {
  struct Case {
    std::uint32_t flags, x, y;
    std::uint32_t packed, read_x, read_y, read_flags;
  };
  const Case cases[] = {
      {7, 100, 200, 0x070C8064, 100, 200, 7},
      {15, 4095, 4095, 0x0FFFFFFF, 4095, 4095, 15},
      {13, 4100, 8192 + 3, 0x0D003004, 4, 3, 13},  // only the low 12 bits stay
      {0xFF, 0, 0, 0x7F000000, 0, 0, 0x7F},         // bit 31 stays clear
  };
  for (const Case& c : cases) {
    const PenSample sample = PenSample::make(c.flags, c.x, c.y, 1234);
    EXPECT_EQ(sample.packed, c.packed) << c.x << "," << c.y;
    EXPECT_EQ(sample.x(), c.read_x);
    EXPECT_EQ(sample.y(), c.read_y);
    EXPECT_EQ(sample.flags(), c.read_flags);
    EXPECT_EQ(sample.tick, 1234u);
  }
}

TEST(PenRingTest, InitializeZeroesTheBlockAndWritesTheWritersWords) {
  Block block;
  block.bytes.fill(std::byte{0xAB});
  block.ring().initialize();
  const PenRingHeader& header = block.raw().header;
  EXPECT_EQ(header.capacity_, 800u);
  EXPECT_EQ(header.ring_, 44u);
  EXPECT_EQ(header.write_index_, 0u);
  EXPECT_EQ(header.read_index_, 0u);
  EXPECT_EQ(header.hold_time_ms_, 300u);
  EXPECT_EQ(header.move_tolerance_, 40u);
  EXPECT_EQ(header.capture_on_, 0u);
  EXPECT_EQ(header.always_capture_, 0u);
  EXPECT_EQ(header.prompt_stroke_, 0u);
  EXPECT_EQ(header.display_width_, 0u);
  EXPECT_EQ(block.raw().ring[799].packed, 0u);
  EXPECT_EQ(block.raw().ring[799].tick, 0u);
}

TEST(PenRingTest, EqualIndicesMeanEmptyAndSamplesComeOutInOrder) {
  Block block;
  const PenRing ring = block.ring();
  ring.initialize();
  EXPECT_FALSE(ring.take());
  ASSERT_TRUE(ring.append(PenSample::make(7, 1, 2, 10)));
  ASSERT_TRUE(ring.append(PenSample::make(15, 3, 4, 11)));
  EXPECT_EQ(block.raw().ring[0].packed, PenSample::make(7, 1, 2, 10).packed);
  EXPECT_EQ(block.raw().header.write_index_, 2u);
  EXPECT_EQ(ring.take()->tick, 10u);
  EXPECT_EQ(ring.take()->tick, 11u);
  EXPECT_EQ(block.raw().header.read_index_, 2u);
  EXPECT_FALSE(ring.take());
}

TEST(PenRingTest, HoldsAtMost799AndDropsTheSampleThatWouldFillIt) {
  Block block;
  const PenRing ring = block.ring();
  ring.initialize();
  for (std::uint32_t i = 0; i < 799; ++i) ASSERT_TRUE(ring.append(PenSample::make(15, i, 0, i))) << i;
  EXPECT_FALSE(ring.append(PenSample::make(15, 0, 0, 799)));
  EXPECT_EQ(block.raw().header.write_index_, 799u);
  EXPECT_EQ(ring.take()->tick, 0u);  // one taken frees one entry
  EXPECT_TRUE(ring.append(PenSample::make(15, 0, 0, 800)));
  EXPECT_EQ(block.raw().header.write_index_, 0u);  // wrapped from 799
}

TEST(PenRingTest, BothIndicesWrapFrom799To0) {
  Block block;
  const PenRing ring = block.ring();
  ring.initialize();
  block.raw().header.write_index_ = 799;
  block.raw().header.read_index_ = 799;
  ASSERT_TRUE(ring.append(PenSample::make(15, 5, 6, 42)));
  EXPECT_EQ(block.raw().header.write_index_, 0u);
  EXPECT_EQ(ring.take()->tick, 42u);
  EXPECT_EQ(block.raw().header.read_index_, 0u);
}

// Indices from another process are reduced before they address an entry.
TEST(PenRingTest, DamagedIndicesNeverReachOutsideTheBlock) {
  struct Case {
    std::uint32_t write_index, read_index;
    std::uint32_t entry_written;  // where an append lands
    bool empty;
  };
  const Case cases[] = {
      {900, 900, 100, true},
      {905, 900, 105, false},
      {0xFFFFFFFF, 0, 0xFFFFFFFFu % 800, false},
      {800, 0, 0, true},
  };
  for (const Case& c : cases) {
    Block block;
    const PenRing ring = block.ring();
    ring.initialize();
    block.raw().header.write_index_ = c.write_index;
    block.raw().header.read_index_ = c.read_index;
    EXPECT_EQ(!ring.take(), c.empty) << c.write_index;
    block.raw().header.read_index_ = c.read_index;
    ASSERT_TRUE(ring.append(PenSample::make(15, 1, 1, 77)));
    EXPECT_EQ(block.raw().ring[c.entry_written].tick, 77u) << c.write_index;
    EXPECT_EQ(block.raw().header.write_index_, (c.entry_written + 1) % 800);
  }
}

TEST(PenRingTest, TheTailLiesPastTheShimsBlockAndOnlyAWideViewReachesIt) {
  alignas(8) std::array<std::byte, kPenRingWithTailBytes> bytes{};
  const PenRing wide(bytes);
  const PenRing shims(std::span<std::byte>(bytes).first(kPenRingBytes));
  ASSERT_TRUE(wide.has_tail());
  EXPECT_FALSE(shims.has_tail());
  wide.add(&PenRingTail::pen_awaited_, 1);
  wide.add(&PenRingTail::pen_awaited_, 1);
  shims.add(&PenRingTail::pen_awaited_, 1);
  shims.initialize();  // the shim's opening zeroes its 6444 bytes only
  EXPECT_EQ(wide.load(&PenRingTail::pen_awaited_), 2u);
  EXPECT_EQ(shims.load(&PenRingTail::pen_awaited_), 0u);
  std::uint32_t word = 0;
  std::memcpy(&word, bytes.data() + 6444, sizeof word);
  EXPECT_EQ(word, 2u);
  EXPECT_EQ(wide.load(&PenRingHeader::capacity_), 800u);
}

TEST(PenRingTest, AClosedRingDoesNothing) {
  Block block;
  alignas(8) std::array<std::byte, kPenRingBytes + 8> wide{};
  const std::vector<PenRing> closed = {PenRing(), PenRing(std::span(block.bytes).first(kPenRingBytes - 1)),
                                       PenRing(std::span(wide).subspan(2))};
  for (const PenRing& ring : closed) {
    EXPECT_FALSE(ring.is_open());
    ring.initialize();
    EXPECT_FALSE(ring.append(PenSample::make(7, 1, 1, 1)));
    EXPECT_FALSE(ring.take());
    EXPECT_EQ(ring.load(&PenRingHeader::capacity_), 0u);
    ring.exchange(&PenRingHeader::capture_on_, 1);
  }
  EXPECT_EQ(block.raw().header.capacity_, 0u);
  EXPECT_EQ(block.raw().header.capture_on_, 0u);
}

}  // namespace
}  // namespace ductra::platform
