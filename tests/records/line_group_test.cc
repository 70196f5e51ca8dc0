#include "engine/records/line_group.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "engine/records/keyed_groups.h"

namespace inkrec {
namespace {

// Four figures numbered 0..3, a one-figure element for each and the
// element {1, 2}; three empty line groups.
class LineGroupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (std::uint16_t n = 0; n < 4; ++n) {
      FigureRecord* figure = figures_.push_default();
      figure->number = n;
    }
    for (std::uint16_t n = 0; n < 4; ++n) {
      ASSERT_EQ(list_.push_back(&figures_[n]), kOk);
      singles_.push_back(make_element({n}));
      ASSERT_EQ(elements_.push_back(singles_.back().get()), kOk);
    }
    pair_ = make_element({1, 2});
    for (int g = 0; g < 3; ++g) ASSERT_NE(groups_.push_default(), nullptr);
  }

  std::unique_ptr<ElementRecord> make_element(std::vector<std::uint16_t> numbers) {
    auto element = std::make_unique<ElementRecord>();
    for (const std::uint16_t n : numbers) {
      EXPECT_EQ(element->key.set(n), kOk);
      EXPECT_EQ(element->figures.push_back(&figures_[n]), kOk);
    }
    return element;
  }

  std::vector<std::uint16_t> numbers_in(std::uint32_t g) {
    std::vector<std::uint16_t> numbers;
    for (const FigureRecord* figure : groups_[g].figures) numbers.push_back(figure->number);
    return numbers;
  }

  DynArray<FigureRecord> figures_;
  PtrArray<FigureRecord> list_;
  std::vector<std::unique_ptr<ElementRecord>> singles_;
  PtrArray<ElementRecord> elements_;
  std::unique_ptr<ElementRecord> pair_;
  DynArray<LineGroup> groups_;
};

TEST_F(LineGroupTest, AnElementBringsItsFiguresAndTheirOneFigureElements) {
  ASSERT_EQ(LineGroup::add_element(groups_, list_, elements_, *pair_, 1), kOk);
  EXPECT_EQ(numbers_in(1), (std::vector<std::uint16_t>{1, 2}));
  ASSERT_EQ(groups_[1].elements.size(), 3u);
  EXPECT_EQ(groups_[1].elements[0], pair_.get());
  EXPECT_EQ(groups_[1].elements[1], singles_[1].get());
  EXPECT_EQ(groups_[1].elements[2], singles_[2].get());
  EXPECT_EQ(line_group_of(figures_[1]), 1);
  EXPECT_EQ(line_group_of(figures_[2]), 1);
  EXPECT_EQ(line_group_of(figures_[0]), 0xFFFF);

  // Adding it again adds the element but no figure or single twice.
  ASSERT_EQ(LineGroup::add_element(groups_, list_, elements_, *pair_, 1), kOk);
  EXPECT_EQ(numbers_in(1), (std::vector<std::uint16_t>{1, 2}));
  EXPECT_EQ(groups_[1].elements.size(), 4u);
}

TEST_F(LineGroupTest, AddElementRefusals) {
  EXPECT_EQ(LineGroup::add_element(groups_, list_, elements_, *singles_[0], 7), kOk);
  EXPECT_TRUE(groups_[0].elements.empty());
  EXPECT_EQ(LineGroup::add_element(groups_, list_, elements_, *pair_, 3), kBadArgument);
  PtrArray<ElementRecord> no_singles;
  EXPECT_EQ(LineGroup::add_element(groups_, list_, no_singles, *pair_, 0), kBadArgument);
}

TEST_F(LineGroupTest, MergeMovesEverythingAndRenumbersLaterGroups) {
  ASSERT_EQ(groups_[0].figures.push_back(&figures_[0]), kOk);
  ASSERT_EQ(groups_[0].elements.push_back(singles_[0].get()), kOk);
  set_line_group(figures_[0], 0);
  ASSERT_EQ(LineGroup::add_element(groups_, list_, elements_, *pair_, 1), kOk);
  ASSERT_EQ(groups_[2].figures.push_back(&figures_[3]), kOk);
  set_line_group(figures_[3], 2);
  // Figure 1 is in group 0 already, by number.
  ASSERT_EQ(groups_[0].figures.push_back(&figures_[1]), kOk);

  PtrArray<FigureRecord> none;
  ASSERT_EQ(line_groups_merge(groups_, list_, none, 0, 1), kOk);
  ASSERT_EQ(groups_.size(), 2u);
  EXPECT_EQ(numbers_in(0), (std::vector<std::uint16_t>{0, 1, 2}));
  EXPECT_EQ(groups_[0].elements.size(), 4u);  // {0}, then {1, 2}, {1}, {2}
  for (int n = 0; n < 3; ++n) EXPECT_EQ(line_group_of(figures_[n]), 0) << n;
  EXPECT_EQ(line_group_of(figures_[3]), 1);

  EXPECT_EQ(line_groups_merge(groups_, list_, none, 1, 1), kBadArgument);
  EXPECT_EQ(line_groups_merge(groups_, list_, none, 0, 2), kBadArgument);
  EXPECT_EQ(erase_line_groups(groups_, 1, 2), kBadArgument);
  EXPECT_EQ(erase_line_groups(groups_, 0, 2), kOk);
  EXPECT_TRUE(groups_.empty());
}

TEST_F(LineGroupTest, MergeKeepsTheLetterResultsOfBothGroups) {
  FigureGroup first;
  FigureGroup second;
  FigureGroup shared;
  ASSERT_EQ(groups_[0].letter_groups.push_back(&first), kOk);
  ASSERT_EQ(groups_[0].letter_groups.push_back(&shared), kOk);
  ASSERT_EQ(groups_[2].letter_groups.push_back(&second), kOk);
  ASSERT_EQ(groups_[2].letter_groups.push_back(&shared), kOk);
  PtrArray<FigureRecord> none;
  ASSERT_EQ(line_groups_merge(groups_, list_, none, 0, 2), kOk);
  const PtrArray<FigureGroup>& results = groups_[0].letter_groups;
  ASSERT_EQ(results.size(), 3u);
  EXPECT_EQ(results[0], &first);
  EXPECT_EQ(results[1], &shared);
  EXPECT_EQ(results[2], &second);
}

TEST(KeyedGroupsTest, OwnedGroupsAreCopiedAndBorrowedOnesShared) {
  FigureGroup shared;
  shared.index = 4;
  KeyedGroups borrowed;
  ASSERT_EQ(borrowed.groups.push_back(&shared), kOk);
  PtrArray<FigureGroup> owned_list(16, true);
  FigureGroup* owned = owned_list.add_new();
  ASSERT_NE(owned, nullptr);
  owned->index = 9;
  ASSERT_EQ(owned->coverage.set(3), kOk);

  KeyedGroupsList list;
  ASSERT_EQ(list.records.push_back(std::move(borrowed)), kOk);
  ASSERT_EQ(list.records.push_default()->set(7, owned_list), kOk);
  KeyedGroupsSet set;
  ASSERT_EQ(set.key.set(2), kOk);
  set.words[1] = 5;
  ASSERT_EQ(set.list.assign(list), kOk);

  KeyedLineEntry entry;
  ASSERT_EQ(entry.set(1, 2, 3, set, 1), kOk);
  const KeyedGroupsList& copied = entry.groups.list;
  ASSERT_EQ(copied.records.size(), 2u);
  EXPECT_EQ(copied.records[0].groups[0], &shared);
  EXPECT_EQ(copied.records[1].key, 7u);
  const FigureGroup* copy = copied.records[1].groups[0];
  EXPECT_NE(copy, owned);
  EXPECT_EQ(copy->index, 9);
  EXPECT_TRUE(copy->coverage.test(3));
  EXPECT_EQ(entry.groups.words[1], 5u);
  EXPECT_TRUE(entry.groups.key.test(2));

  KeyedGroups::clear_array(set.list.records);
  EXPECT_TRUE(set.list.records.empty());
  EXPECT_EQ(KeyedGroups::copy_into(nullptr, copied.records[0]), kOk);
}

TEST(KeyedGroupsTest, SetsAreFoundByTheirKey) {
  KeyedSetMap map;
  for (const std::uint32_t member : {5u, 1u, 40u}) {
    BitSet key;
    ASSERT_EQ(key.set(member), kOk);
    KeyedGroupsSet set;
    ASSERT_EQ(set.key.assign(key), kOk);
    set.words[0] = member;
    map.emplace(std::move(key), std::move(set));
  }
  BitSet wanted;
  ASSERT_EQ(wanted.set(40), kOk);
  const auto found = find_keyed_set(map, wanted);
  ASSERT_NE(found, map.end());
  EXPECT_EQ(found->second.words[0], 40u);
  ASSERT_EQ(wanted.set(1), kOk);
  EXPECT_EQ(find_keyed_set(map, wanted), map.end());
}

}  // namespace
}  // namespace inkrec
