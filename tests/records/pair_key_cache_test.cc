#include "engine/records/pair_key_cache.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "engine/foundation/allocation.h"

namespace inkrec {
namespace {

// Neighbours 0..n-1, keys packing two answer indices: the kinds of pairs a
// word search meets, enough of them to make the table grow several times.
constexpr std::uint32_t kNeighbours = 40;
constexpr std::uint32_t kKeys = 30;
std::uint32_t key_of(std::uint32_t i) { return (i % 6) | (i / 6) << 15; }
std::uint32_t value_of(std::uint32_t n, std::uint32_t i) { return 1000 * n + i + 1; }

TEST(PairKeyCacheTest, EveryValueStaysFoundAsTheTableGrows) {
  PairKeyCache<std::uint32_t> cache;
  EXPECT_TRUE(cache.empty());
  EXPECT_EQ(cache.find(0, 0), nullptr);
  for (std::uint32_t n = 0; n < kNeighbours; ++n) {
    for (std::uint32_t i = 0; i < kKeys; ++i) {
      std::uint32_t* value = cache.find_or_add(n, key_of(i));
      ASSERT_NE(value, nullptr);
      EXPECT_EQ(*value, 0u);  // new values start at zero
      *value = value_of(n, i);
    }
  }
  EXPECT_EQ(cache.size(), kNeighbours * kKeys);
  for (std::uint32_t n = 0; n < kNeighbours; ++n) {
    for (std::uint32_t i = 0; i < kKeys; ++i) {
      ASSERT_NE(cache.find(n, key_of(i)), nullptr);
      EXPECT_EQ(*cache.find(n, key_of(i)), value_of(n, i));
      EXPECT_EQ(*cache.find_or_add(n, key_of(i)), value_of(n, i));
    }
  }
  EXPECT_EQ(cache.size(), kNeighbours * kKeys);  // asking again added nothing
  // The neighbour and the key are told apart, not mixed.
  EXPECT_EQ(cache.find(kNeighbours, key_of(0)), nullptr);
  EXPECT_EQ(cache.find(key_of(7), 7), nullptr);
  EXPECT_EQ(cache.find(0xFFFFFFFF, 0), nullptr);
}

// The top bit of a key is the cache's own: a key that has it is refused,
// never taken for the key without it, and the table stays as it was.
TEST(PairKeyCacheTest, AKeyWithTheTopBitIsRefusedAndNotTakenForAnother) {
  using Cache = PairKeyCache<std::uint32_t>;
  Cache cache;
  const std::uint32_t highest = Cache::kKeyLimit - 1;
  *cache.find_or_add(5, highest) = 11;
  *cache.find_or_add(5, 0) = 12;
  for (const std::uint32_t refused : {Cache::kKeyLimit, Cache::kKeyLimit | highest, 0xFFFFFFFFu}) {
    SCOPED_TRACE(refused);
    EXPECT_EQ(cache.find_or_add(5, refused), nullptr);
    EXPECT_EQ(cache.find(5, refused), nullptr);
  }
  EXPECT_EQ(cache.size(), 2u);
  EXPECT_EQ(*cache.find(5, highest), 11u);
  EXPECT_EQ(*cache.find(5, 0), 12u);
}

TEST(PairKeyCacheTest, ClearForgetsCopiesAreWholeAndAFullTableStaysAsItWas) {
  PairKeyCache<std::uint32_t> cache;
  for (std::uint32_t i = 0; i < kKeys; ++i) *cache.find_or_add(3, key_of(i)) = value_of(3, i);

  PairKeyCache<std::uint32_t> copy;
  ASSERT_EQ(copy.assign(cache), kOk);
  cache.clear();
  EXPECT_TRUE(cache.empty());
  EXPECT_EQ(cache.find(3, key_of(0)), nullptr);
  EXPECT_EQ(*cache.find_or_add(3, key_of(0)), 0u);
  EXPECT_EQ(copy.size(), kKeys);
  for (std::uint32_t i = 0; i < kKeys; ++i) EXPECT_EQ(*copy.find(3, key_of(i)), value_of(3, i));

  // Without memory, values go in while the table has room; the first that
  // needs more is refused and the table stays as it was.
  std::uint32_t added = 0;
  {
    AllocationFailureScope no_memory;
    while (std::uint32_t* value = copy.find_or_add(4, added)) *value = 7 + added++;
    PairKeyCache<std::uint32_t> other;
    EXPECT_EQ(other.assign(copy), kOutOfMemory);
    EXPECT_TRUE(other.empty());
  }
  EXPECT_EQ(copy.size(), kKeys + added);
  EXPECT_EQ(copy.find(4, added), nullptr);
  for (std::uint32_t i = 0; i < added; ++i) EXPECT_EQ(*copy.find(4, i), i + 7);
  for (std::uint32_t i = 0; i < kKeys; ++i) EXPECT_EQ(*copy.find(3, key_of(i)), value_of(3, i));
  copy.release();
  EXPECT_TRUE(copy.empty());
  EXPECT_EQ(copy.find(4, 0), nullptr);
}

}  // namespace
}  // namespace inkrec
