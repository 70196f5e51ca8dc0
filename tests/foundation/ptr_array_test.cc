#include "engine/foundation/ptr_array.h"

#include <gtest/gtest.h>

namespace inkrec {
namespace {

// Counts live instances so tests can see what an array deletes.
struct Tracked {
  static inline int live = 0;
  Tracked() { ++live; }
  ~Tracked() { --live; }
};

TEST(PtrArrayTest, OwningArrayDeletesWhatItRemoves) {
  {
    PtrArray<Tracked> array(2, true);
    for (int i = 0; i < 5; ++i) ASSERT_NE(array.add_new(), nullptr);
    EXPECT_EQ(Tracked::live, 5);
    EXPECT_EQ(array.capacity(), 6u);
    EXPECT_EQ(array.remove_at(1), kOk);
    EXPECT_EQ(array.remove_at(4), kBadArgument);
    EXPECT_EQ(Tracked::live, 4);
    EXPECT_EQ(array.size(), 4u);
    array.remove_all();
    EXPECT_EQ(Tracked::live, 0);
    EXPECT_EQ(array.capacity(), 6u);
    ASSERT_NE(array.add_new(), nullptr);
  }
  EXPECT_EQ(Tracked::live, 0);
}

TEST(PtrArrayTest, NonOwningArrayLeavesElementsAlive) {
  Tracked a, b;
  {
    PtrArray<Tracked> array;
    EXPECT_EQ(array.add_new(), nullptr);
    EXPECT_EQ(array.size(), 0u);
    array.push_back(&a);
    array.push_back(&b);
    EXPECT_EQ(array.front(), &a);
    EXPECT_EQ(array.item_checked(2), nullptr);
    array.clear();
    EXPECT_EQ(array.capacity(), 0u);
  }
  EXPECT_EQ(Tracked::live, 2);
}

TEST(PtrArrayTest, PushAllStopsAtNull) {
  Tracked a, b;
  PtrArray<Tracked> source;
  source.push_back(&a);
  source.push_back(nullptr);
  source.push_back(&b);
  PtrArray<Tracked> target;
  EXPECT_EQ(target.push_all(source), kBadArgument);
  EXPECT_EQ(target.size(), 1u);
  EXPECT_EQ(target[0], &a);
}

TEST(PtrArrayTest, FailedGrowthKeepsSlots) {
  PtrArray<Tracked> array(1, true);
  ASSERT_NE(array.add_new(), nullptr);
  AllocationFailureScope fail;
  EXPECT_EQ(array.add_new(), nullptr);
  EXPECT_EQ(array.size(), 1u);
  EXPECT_EQ(Tracked::live, 1);
}

}  // namespace
}  // namespace inkrec
