#include "engine/foundation/dyn_array.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace inkrec {
namespace {

struct Record508 {
  std::uint8_t bytes[508];
};

TEST(DynArrayTest, GrowsByHalfFromOne) {
  DynArray<int> array;
  std::vector<std::uint32_t> capacities;
  for (int i = 0; i < 28; ++i) {
    ASSERT_EQ(array.push_back(i), kOk);
    if (capacities.empty() || capacities.back() != array.capacity()) {
      capacities.push_back(array.capacity());
    }
  }
  EXPECT_EQ(capacities, (std::vector<std::uint32_t>{1, 2, 3, 4, 6, 9, 13, 19, 28}));
  for (int i = 0; i < 28; ++i) EXPECT_EQ(array[i], i);
}

TEST(DynArrayTest, MaximumCountFollowsElementSize) {
  EXPECT_EQ(DynArray<std::uint8_t>::kMaxCount, 4294967295u);
  EXPECT_EQ(DynArray<std::uint16_t>::kMaxCount, 0x7fffffffu);
  EXPECT_EQ(DynArray<std::uint32_t>::kMaxCount, 0x3fffffffu);
  EXPECT_EQ(DynArray<Record508>::kMaxCount, 8454660u);

  DynArray<Record508> array;
  ASSERT_NE(array.push_default(), nullptr);
  EXPECT_FALSE(array.reserve(8454660u));  // one live element + the maximum
  EXPECT_EQ(array.size(), 1u);
  EXPECT_EQ(array.capacity(), 1u);
  EXPECT_TRUE(array.reserve(0));
}

TEST(DynArrayTest, AllocateRefusesZeroAndOversizedRequests) {
  EXPECT_EQ(DynArray<int>::allocate(0), nullptr);
  EXPECT_EQ(DynArray<int>::allocate(0x40000000u), nullptr);
}

TEST(DynArrayTest, FailedGrowthLeavesArrayUnchanged) {
  DynArray<int> array;
  ASSERT_EQ(array.push_back(7), kOk);
  {
    AllocationFailureScope fail;
    EXPECT_EQ(array.push_back(8), kOutOfMemory);
    EXPECT_EQ(array.push_default(), nullptr);
    EXPECT_EQ(array.reserve_total(100), kOutOfMemory);
    EXPECT_EQ(array.resize(50, 1), kOutOfMemory);
    const int values[] = {1, 2, 3};
    EXPECT_EQ(array.append_n(values, 3), kOutOfMemory);
  }
  EXPECT_EQ(array.size(), 1u);
  EXPECT_EQ(array.capacity(), 1u);
  EXPECT_EQ(array[0], 7);
}

TEST(DynArrayTest, ResizeAndErase) {
  DynArray<int> array;
  ASSERT_EQ(array.resize(5, 3), kOk);
  EXPECT_EQ(array.size(), 5u);
  const std::uint32_t capacity = array.capacity();
  EXPECT_EQ(array.resize(5, 9), kOk);
  EXPECT_EQ(array[4], 3);
  EXPECT_EQ(array.resize(2), kOk);
  EXPECT_EQ(array.capacity(), capacity);

  DynArray<int> tail;
  for (int i = 0; i < 5; ++i) tail.push_back(i);
  EXPECT_EQ(tail.erase(3, 3), kBadArgument);
  EXPECT_EQ(tail.size(), 5u);
  EXPECT_EQ(tail.erase(1, 2), kOk);
  EXPECT_EQ(std::vector<int>(tail.begin(), tail.end()), (std::vector<int>{0, 3, 4}));
  EXPECT_EQ(tail.erase(1, 2), kOk);  // first + n == count removes the tail
  EXPECT_EQ(tail.pop_back(), kOk);
  EXPECT_EQ(tail.pop_back(), kBadArgument);
}

TEST(DynArrayTest, AssignCopiesExactlyAndSwapKeepsTags) {
  DynArray<int> empty;
  DynArray<int> copy;
  ASSERT_EQ(copy.assign(empty), kOk);
  EXPECT_EQ(copy.data(), nullptr);
  EXPECT_EQ(copy.capacity(), 0u);

  DynArray<int> source;
  source.set_tag(11);
  for (int i = 0; i < 5; ++i) source.push_back(i);
  copy.set_tag(22);
  ASSERT_EQ(copy.assign(source), kOk);
  EXPECT_EQ(copy.size(), 5u);
  EXPECT_EQ(copy.capacity(), 5u);
  EXPECT_EQ(copy.tag(), 22u);
  copy.swap(empty);
  EXPECT_EQ(copy.tag(), 22u);
  EXPECT_EQ(empty.tag(), 0u);
  EXPECT_EQ(empty.size(), 5u);
  copy.clear();
  EXPECT_EQ(copy.tag(), 22u);
}

TEST(DynArrayTest, NestedArraysCopyDeeplyAndRelease) {
  DynArray<DynArray<char16_t>> paths;
  for (const char16_t* text : {u"ab", u"cde"}) {
    DynArray<char16_t>* path = paths.push_default();
    ASSERT_NE(path, nullptr);
    path->append_n(text, static_cast<std::uint32_t>(std::u16string_view(text).size()));
  }
  DynArray<DynArray<char16_t>> copy;
  ASSERT_EQ(copy.assign(paths), kOk);
  paths.clear_nested();
  ASSERT_EQ(copy.size(), 2u);
  EXPECT_EQ(std::u16string_view(copy[1].data(), copy[1].size()), u"cde");
}

TEST(DynArrayTest, ContainsAndCheckedAccess) {
  DynArray<std::uint16_t> codes;
  codes.push_back(65);
  codes.push_back(1040);
  EXPECT_TRUE(codes.contains(1040));
  EXPECT_FALSE(codes.contains(66));
  EXPECT_EQ(codes.item_checked(2), nullptr);
  EXPECT_EQ(*codes.item_checked(1), 1040);
}

}  // namespace
}  // namespace inkrec
