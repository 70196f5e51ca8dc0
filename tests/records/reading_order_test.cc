#include "engine/records/reading_order.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace inkrec {
namespace {

struct Item {
  PackedPoint point;
  std::uint16_t line = 0;
  int id = 0;
};
PackedPoint reading_point(const Item& item) { return item.point; }
std::uint16_t line_index_of(const Item& item) { return item.line; }

struct Piece {
  std::uint16_t stroke;
  std::int16_t first_point;
};
std::uint16_t stroke_number_of(const Piece& piece) { return piece.stroke; }
std::int16_t first_point_of(const Piece& piece) { return piece.first_point; }

using Sorter = int (*)(Item**, std::int32_t, std::int32_t, bool);

std::vector<int> sorted_ids(std::vector<Item>& items, std::int32_t tolerance, bool right_to_left,
                            Sorter sort = sort_pointers_by_flag<Item>) {
  std::vector<Item*> pointers;
  for (Item& item : items) pointers.push_back(&item);
  EXPECT_EQ(
      sort(pointers.data(), static_cast<std::int32_t>(pointers.size()), tolerance, right_to_left),
      kOk);
  std::vector<int> ids;
  for (const Item* item : pointers) ids.push_back(item->id);
  return ids;
}

TEST(ReadingOrderTest, CloseItemsGoTopToBottomInBothDirections) {
  std::vector<Item> close = {{{100, 50}, 0, 1}, {{103, 10}, 0, 2}};
  EXPECT_EQ(sorted_ids(close, 5, false), (std::vector<int>{2, 1}));
  EXPECT_EQ(sorted_ids(close, 5, true), (std::vector<int>{2, 1}));
  std::vector<Item> apart = {{{120, 10}, 0, 1}, {{100, 50}, 0, 2}};
  EXPECT_EQ(sorted_ids(apart, 5, false), (std::vector<int>{2, 1}));
  EXPECT_EQ(sorted_ids(apart, 5, true), (std::vector<int>{1, 2}));
}

TEST(ReadingOrderTest, LineIndexComesFirst) {
  std::vector<Item> items = {
      {{0, 0}, 1, 1}, {{500, 0}, 0, 2}, {{400, 0}, 0xFFFF, 3}, {{300, 0}, 1, 4}};
  // 0xFFFF reads as -1 and so comes first; equal lines fall back to x.
  EXPECT_EQ(sorted_ids(items, 5, false, sort_pointers<Item>), (std::vector<int>{3, 2, 1, 4}));
  EXPECT_EQ(sorted_ids(items, 5, true, sort_pointers<Item>), (std::vector<int>{3, 2, 4, 1}));
}

TEST(ReadingOrderTest, ArgumentsAreChecked) {
  Item item{{1, 2}, 0, 7};
  Item* one[] = {&item};
  EXPECT_EQ(sort_pointers(one, 1, 5, false), kOk);
  EXPECT_EQ(one[0], &item);
  EXPECT_EQ(sort_pointers(one, -1, 5, false), kBadArgument);
  EXPECT_EQ(sort_pointers<Item>(nullptr, 0, 5, false), kBadArgument);
  EXPECT_EQ(sort_pointers(one, 0, 5, false), kOk);
  Item* with_null[] = {&item, nullptr};
  EXPECT_EQ(sort_pointers_by_flag(with_null, 2, 5, false), kBadArgument);
}

std::vector<Item> random_items(std::mt19937& random, int n, int spread) {
  std::uniform_int_distribution<int> coordinate(0, spread);
  std::vector<Item> items;
  for (int i = 0; i < n; ++i) {
    items.push_back({{static_cast<std::int16_t>(coordinate(random)),
                      static_cast<std::int16_t>(coordinate(random))},
                     0,
                     i});
  }
  return items;
}

TEST(ReadingOrderTest, ToleranceBelowOneActsAsOne) {
  std::mt19937 random(99);
  for (int round = 0; round < 50; ++round) {
    std::vector<Item> items = random_items(random, 200, 40);
    for (bool right_to_left : {false, true}) {
      std::vector<Item> copy = items;
      const std::vector<int> with_one = sorted_ids(copy, 1, right_to_left);
      ASSERT_EQ(sorted_ids(copy = items, 0, right_to_left), with_one);
      ASSERT_EQ(sorted_ids(copy = items, -7, right_to_left), with_one);
      std::vector<int> ids = with_one;
      std::sort(ids.begin(), ids.end());
      for (int i = 0; i < 200; ++i) ASSERT_EQ(ids[static_cast<std::size_t>(i)], i);
    }
  }
}

TEST(ReadingOrderTest, ItemsFarApartEndInColumnOrder) {
  std::mt19937 random(5);
  std::vector<Item> items;
  for (int i = 0; i < 500; ++i) {
    items.push_back(
        {{static_cast<std::int16_t>(i * 20), static_cast<std::int16_t>(random() % 100)}, 0, i});
  }
  std::shuffle(items.begin(), items.end(), random);
  std::vector<int> ascending(500);
  for (int i = 0; i < 500; ++i) ascending[static_cast<std::size_t>(i)] = i;
  std::vector<Item> copy = items;
  EXPECT_EQ(sorted_ids(copy, 10, false), ascending);
  std::reverse(ascending.begin(), ascending.end());
  EXPECT_EQ(sorted_ids(copy = items, 10, true), ascending);
}

TEST(ReadingOrderTest, PointerQuicksortSortsIntegers) {
  std::mt19937 random(11);
  for (int n : {0, 1, 2, 3, 17, 1000}) {
    std::vector<int> values(static_cast<std::size_t>(n));
    for (int& v : values) v = static_cast<int>(random() % 50);
    std::vector<int*> pointers;
    for (int& v : values) pointers.push_back(&v);
    sort_pointer_array(pointers.data(), n, [](const int* a, const int* b) { return *a > *b; });
    ASSERT_TRUE(std::is_sorted(pointers.begin(), pointers.end(),
                               [](const int* a, const int* b) { return *a < *b; }));
  }
}

TEST(ReadingOrderTest, ScansStayInRangeForAnyRelation) {
  std::vector<int> values(100);
  std::vector<int*> pointers;
  for (int& v : values) pointers.push_back(&v);
  for (auto relation : {+[](const int*, const int*) { return true; },
                        +[](const int*a, const int*b) { return a != b; }}) {
    sort_pointer_array(pointers.data(), 100, relation);
    std::vector<int*> sorted = pointers;
    std::sort(sorted.begin(), sorted.end());
    ASSERT_EQ(std::unique(sorted.begin(), sorted.end()), sorted.end());
  }
}

class GroupOrderTest : public ::testing::Test {
 protected:
  using Group = PtrArray<Piece>;

  Group* group(std::initializer_list<Piece*> pieces) {
    groups_.push_back(std::make_unique<Group>());
    for (Piece* piece : pieces) EXPECT_EQ(groups_.back()->push_back(piece), kOk);
    return groups_.back().get();
  }

  std::vector<Group*> sorted(std::vector<Group*> groups, bool right_to_left) {
    EXPECT_EQ(sort_pointers_ctx(groups.data(), static_cast<std::int32_t>(groups.size()), 5,
                                strokes_, right_to_left),
              kOk);
    return groups;
  }

  void add_stroke(std::int16_t x, std::int16_t y) {
    ASSERT_EQ(strokes_.push_back(Item{{x, y}, 0, static_cast<int>(strokes_.size())}), kOk);
  }

  DynArray<Item> strokes_;
  std::vector<std::unique_ptr<Group>> groups_;
};

TEST_F(GroupOrderTest, GroupsOnOneStrokeFollowTheirFirstPoints) {
  add_stroke(0, 0);
  Piece tail{0, 5};
  Piece head{0, 0};
  Group* a = group({&tail});
  Group* b = group({&head});
  EXPECT_EQ(sorted({a, b}, false), (std::vector<Group*>{b, a}));
  EXPECT_EQ(sorted({a, b}, true), (std::vector<Group*>{b, a}));
}

TEST_F(GroupOrderTest, OtherGroupsFollowTheirEarliestStroke) {
  add_stroke(300, 0);  // stroke 0
  add_stroke(10, 0);   // stroke 1
  add_stroke(50, 0);   // stroke 2
  add_stroke(400, 0);  // stroke 3
  Piece on0{0, 0};
  Piece on1{1, 0};
  Piece on2{2, 0};
  Piece on3{3, 0};
  Group* right = group({&on0});
  Group* left = group({&on1});
  Group* middle_and_right = group({&on3, &on2});  // earliest stroke: 2
  EXPECT_EQ(sorted({right, middle_and_right, left}, false),
            (std::vector<Group*>{left, middle_and_right, right}));
  Group* shares0 = group({&on2, &on0});
  Piece later_on0{0, 9};
  Group* late = group({&later_on0});
  // shares0 and late meet on stroke 0 where shares0 starts earlier.
  EXPECT_EQ(sorted({late, shares0}, false), (std::vector<Group*>{shares0, late}));
}

TEST_F(GroupOrderTest, StrokesWithoutRecordsArePassedOver) {
  add_stroke(100, 0);
  Piece known{0, 0};
  Piece unknown{40, 0};
  Group* a = group({&unknown});
  Group* b = group({&unknown, &known});
  Group* c = group({&known});
  std::vector<Group*> all = sorted({a, b, c}, false);
  std::sort(all.begin(), all.end());
  std::vector<Group*> expected = {a, b, c};
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(all, expected);
}

TEST_F(GroupOrderTest, StrokeNumbersInOrderOfFirstAppearance) {
  Piece p3{3, 0};
  Piece p1{1, 0};
  Piece p2{2, 0};
  Group* g = group({&p3, &p1, &p3, &p2, &p1});
  DynArray<std::uint16_t> numbers;
  ASSERT_EQ(numbers.push_back(77), kOk);
  ASSERT_EQ(stroke_numbers_of_group(*g, numbers), kOk);
  EXPECT_EQ(std::vector<std::uint16_t>(numbers.begin(), numbers.end()),
            (std::vector<std::uint16_t>{3, 1, 2}));
}

}  // namespace
}  // namespace inkrec
