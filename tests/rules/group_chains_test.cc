#include "engine/rules/group_chains.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "engine/foundation/status.h"
#include "tests/support/answered_groups.h"

namespace inkrec {
namespace {

class GroupChainTest : public test::AnsweredGroupsTest {};

TEST_F(GroupChainTest, ChainComparison) {
  ChainContext context;
  Chain empty;
  Chain strong;
  ASSERT_EQ(strong.push_back(add(0, 9000)), kOk);
  ASSERT_EQ(strong.push_back(add(2, 8000)), kOk);
  Chain weak;
  ASSERT_EQ(weak.push_back(add(0, 7000)), kOk);
  ASSERT_EQ(weak.push_back(add(2, -1)), kOk);
  Chain unanswered;
  ASSERT_EQ(unanswered.push_back(add(0, -1)), kOk);

  EXPECT_EQ(chain_units(false, strong), 4);
  EXPECT_EQ(chain_units(true, strong), 2);
  std::int64_t weight = 0;
  EXPECT_EQ(chain_weighted_total(context, strong, &weight), 2 * 9000 + 2 * 8000);
  EXPECT_EQ(weight, 4);
  context.count_groups = true;
  // A group without answers weighs as much as any other and adds nothing:
  // a letter left unread costs the chain instead of being passed over.
  EXPECT_EQ(chain_weighted_total(context, weak, &weight), 7000);
  EXPECT_EQ(weight, 2);
  EXPECT_EQ(chain_pair_cost(context, strong), 0);
  EXPECT_EQ(chain_pair_cost(context, unanswered), 0);

  EXPECT_TRUE(chain_better(context, empty, unanswered));
  EXPECT_TRUE(chain_better(context, weak, strong));
  EXPECT_FALSE(chain_better(context, strong, weak));
  // A chain without answers reads worst.
  EXPECT_TRUE(chain_better(context, unanswered, weak));
  EXPECT_FALSE(chain_better(context, weak, unanswered));
  EXPECT_FALSE(chain_better(context, unanswered, unanswered));

  Chain joined;
  ASSERT_EQ(chain_concat(strong, weak, joined), kOk);
  ASSERT_EQ(joined.size(), 4u);
  EXPECT_EQ(joined[2], weak[0]);
  EXPECT_FALSE(joined.owns());
  ASSERT_EQ(joined.push_back(nullptr), kOk);
  EXPECT_EQ(chain_pair_cost(context, joined), -10000);
}

}  // namespace
}  // namespace inkrec
