// The switch bytes of a request reach the stages that read them, and the
// skew correction the pane applies is the one the run keeps.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "engine/foundation/status.h"
#include "engine/kernel/kernel.h"
#include "engine/records/request_switches.h"
#include "inkrec/inkrec.h"
#include "tests/support/data_file.h"
#include "tests/support/fake_letter_search.h"
#include "tests/support/ink_samples.h"
#include "tests/support/split_ink.h"
#include "tests/support/temp_dir.h"

namespace inkrec {
namespace {

class SwitchStagesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(testing::start_engine_with_fake_search(dir_, &kernel_, &fake_), kOk);
    buffer_.assign(16, u'#');
    params_.result_buffer = buffer_.data();
    params_.result_size = static_cast<std::int32_t>(buffer_.size());
  }
  void TearDown() override { crFreeCrMan(); }

  // A line of three words descending by 20 degrees.
  void add_tilted_line() {
    testing::WrittenLine line;
    line.tilt = 20;
    for (const testing::InkStroke& stroke : testing::write_line(line)) {
      std::vector<crPoint> points;
      for (const PackedPoint p : stroke) points.push_back({p.x, p.y});
      const crStrokeInput input{points.data(), static_cast<std::int32_t>(points.size())};
      ASSERT_EQ(crAddStroke(&input, 1, -1, -1), kOk);
    }
  }

  testing::TempDir dir_;
  Kernel* kernel_ = nullptr;
  testing::FakeLetterSearch* fake_ = nullptr;
  std::u16string buffer_;
  RecognitionParams params_;
};

// Byte 25 (skew correction) runs the pane's skew search and byte 26 (the
// strokes come in writing order) lets it turn the ink; the angle it turns
// by becomes the run's one skew correction.
TEST_F(SwitchStagesTest, SkewBytesReachThePanesSkewSearch) {
  struct Case {
    const char* name;
    std::uint8_t skew_correction;
    std::uint8_t stroke_order;
    bool turned;
  };
  const Case cases[] = {
      {"both on", 1, 1, true},
      {"byte 25 off", 0, 1, false},
      {"byte 26 off", 1, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    add_tilted_line();
    params_.skew_search = c.skew_correction;
    params_.skew_allowed = c.stroke_order;
    kernel_->set_debug_mode(1);
    ASSERT_EQ(kernel_->recognize(params_), kOk);
    if (c.turned) {
      EXPECT_LT(std::abs(fake_->skew + 20), 6) << fake_->skew;
    } else {
      EXPECT_EQ(fake_->skew, 0);
    }
    kernel_->clear_pane();
  }
}

// Byte 28 asks for refined trajectories: a looping word is traced again
// with a finer step, so each stroke's trajectory gains vertices.
TEST_F(SwitchStagesTest, RefinementByteReachesTheStrokeFeaturePass) {
  const testing::InkStroke word = testing::trochoid_word(4, 2.2, 60, 100, 200);
  const std::vector<crPoint> points = [&] {
    std::vector<crPoint> out;
    for (const PackedPoint p : word) out.push_back({p.x, p.y});
    return out;
  }();
  const crStrokeInput input{points.data(), static_cast<std::int32_t>(points.size())};
  std::vector<std::uint32_t> sizes;
  for (const std::uint8_t refine : {0, 1}) {
    ASSERT_EQ(crAddStroke(&input, 1, -1, -1), kOk);
    params_.refine_trajectories = refine;
    fake_->trajectory_sizes.clear();
    ASSERT_EQ(kernel_->recognize(params_), kOk);
    ASSERT_EQ(fake_->trajectory_sizes.size(), 1u);
    sizes.push_back(fake_->trajectory_sizes[0]);
    kernel_->clear_pane();
  }
  EXPECT_LT(sizes[0], sizes[1]);
}

// The kernel's hook answers the letter evaluation's two questions through
// the run's view of the kernel; without a hook both answers are no.
class AnsweringHook final : public KernelObserver {
 public:
  void before_word_search(Kernel&) override {}
  void after_segments(Kernel&) override {}
  int extended_output(Kernel&, int size, int line_angle) override {
    asked = {size, line_angle};
    return 1;
  }
  int full_debug_output(Kernel&) override { return 2; }

  std::vector<int> asked;
};

TEST_F(SwitchStagesTest, HookAnswersExtendedAndFullOutput) {
  RunKernel& run = *kernel_;
  EXPECT_EQ(run.extended_output(40, 90), 0);
  EXPECT_EQ(run.full_debug_output(), 0);
  AnsweringHook hook;
  kernel_->set_observer(&hook);
  EXPECT_EQ(run.extended_output(40, 87), 1);
  EXPECT_EQ(hook.asked, (std::vector<int>{40, 87}));
  EXPECT_EQ(run.full_debug_output(), 2);
  kernel_->set_observer(nullptr);
}

}  // namespace
}  // namespace inkrec
