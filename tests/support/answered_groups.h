// Figure groups with made-up coverage and answers, for tests of the group
// order, the look-ups and the chain comparison.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "engine/foundation/status.h"
#include "engine/records/answer_list.h"
#include "engine/records/figure_group.h"

namespace inkrec::test {

// Groups covering units from `lowest` on, with a best answer of `total`
// (none for a negative total).
class AnsweredGroupsTest : public ::testing::Test {
 protected:
  FigureGroup* add(std::int32_t lowest, std::int32_t total) {
    auto answers = std::make_unique<AnswerList>();
    if (total >= 0) {
      Answer answer;
      answer.components[Answer::kLetterScore] = total;
      EXPECT_EQ(answers->insert(answer), kOk);
    }
    auto group = std::make_unique<FigureGroup>(answers.get());
    if (lowest >= 0) {
      EXPECT_EQ(group->coverage.set(static_cast<std::uint32_t>(lowest)), kOk);
      EXPECT_EQ(group->coverage.set(static_cast<std::uint32_t>(lowest) + 1), kOk);
    }
    group->index = static_cast<std::int32_t>(groups_.size());
    answers_.push_back(std::move(answers));
    groups_.push_back(std::move(group));
    return groups_.back().get();
  }

  std::vector<std::unique_ptr<AnswerList>> answers_;
  std::vector<std::unique_ptr<FigureGroup>> groups_;
};

}  // namespace inkrec::test
