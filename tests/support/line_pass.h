// Runs the line pass (crGetLine) over test ink with the kernel's own
// letter search and reads back the text line of every stroke, after
// checking that the strokes' line indices and the lines' stroke lists
// agree.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "engine/foundation/status.h"
#include "engine/kernel/kernel.h"
#include "engine/records/letter_fields.h"
#include "engine/segmentation/line_letter_search.h"
#include "inkrec/inkrec.h"
#include "tests/support/data_file.h"
#include "tests/support/ink_samples.h"
#include "tests/support/temp_dir.h"

namespace inkrec::testing {

struct LinePassResult {
  int status = 0;
  std::vector<int> line_of;  // of every stroke, -1 for none
  int lines = 0;
};

// Whether every stroke is on exactly the line its index names, every line
// holds sorted strokes, a box uniting theirs and ascending ids, and every
// stroke pair names the line its strokes share (unless the lines were
// changed after the line analysis).
inline ::testing::AssertionResult lines_agree(LineWork& work, bool with_pairs = true) {
  std::set<int> seen;
  std::int16_t last_id = -32768;
  for (std::uint32_t k = 0; k < work.text_lines.size(); ++k) {
    const TextLine& line = work.text_lines[k];
    if (line.strokes.empty()) return ::testing::AssertionFailure() << "line " << k << " is empty";
    if (line.id <= last_id) return ::testing::AssertionFailure() << "ids out of order at " << k;
    last_id = line.id;
    Box16 united;
    for (std::uint32_t i = 0; i < line.strokes.size(); ++i) {
      const std::uint16_t s = line.strokes[i];
      if (i > 0 && s <= line.strokes[i - 1]) return ::testing::AssertionFailure() << "unsorted";
      if (s >= work.strokes.size() || work.strokes[s].line_index != k || !seen.insert(s).second) {
        return ::testing::AssertionFailure() << "stroke " << s << " misplaced on line " << k;
      }
      const Box16 b = work.strokes[s].geometry.bounding_box();
      united = i == 0 ? b : Box16::united(united, b);
    }
    if (!(united == line.box)) return ::testing::AssertionFailure() << "box of line " << k;
  }
  if (seen.size() != work.strokes.size()) {
    return ::testing::AssertionFailure() << seen.size() << " of " << work.strokes.size()
                                         << " strokes on lines";
  }
  for (std::uint32_t i = 1; with_pairs && i < work.strokes.size(); ++i) {
    for (std::uint32_t j = 0; j < i; ++j) {
      const PairMetrics* pair = work.stroke_pairs.at(i, j);
      const std::uint16_t k = work.strokes[i].line_index;
      const int shared = k == work.strokes[j].line_index ? k : -1;
      if (pair == nullptr || shared_line(*pair) != shared) {
        return ::testing::AssertionFailure() << "shared line of strokes " << j << " and " << i;
      }
    }
  }
  return ::testing::AssertionSuccess();
}

class LinePass {
 public:
  LinePass() {
    write_empty_data_file(dir_.file("qlmain.dt"));
    const std::u16string data = dir_.wide_file("qlmain.dt");
    EXPECT_EQ(crInitCrMan(data.c_str(), 0, nullptr, nullptr, nullptr, nullptr, nullptr), kOk);
    void* core = nullptr;
    EXPECT_EQ(crmGetCore(&core), kOk);
    kernel_ = static_cast<Kernel*>(core);
    auto search = std::make_unique<LineLetterSearch>();
    search_ = search.get();
    kernel_->set_letter_search(std::move(search));
    params.third_word = 100;
    params.first_switch = 1;
    params.second_switch = 1;
    params.skew_allowed = 1;
    params.layout_switch = 1;
    params.refine_trajectories = 1;
  }
  ~LinePass() { crFreeCrMan(); }
  LinePass(const LinePass&) = delete;
  LinePass& operator=(const LinePass&) = delete;

  LinePassResult run(const Ink& ink) {
    kernel_->clear_pane();
    for (const InkStroke& stroke : ink) {
      std::vector<crPoint> points;
      for (const PackedPoint p : stroke) points.push_back({p.x, p.y});
      const crStrokeInput input{points.data(), static_cast<int32_t>(points.size())};
      EXPECT_EQ(crAddStroke(&input, 1, -1, -1), kOk);
    }
    LinePassResult result;
    result.status = crGetLine(&params);
    LineWork& work = search_->work();
    EXPECT_TRUE(lines_agree(work));
    for (const StrokeRecord& stroke : work.strokes) {
      result.line_of.push_back(stroke.line_index == 0xFFFF ? -1 : stroke.line_index);
    }
    result.lines = static_cast<int>(work.text_lines.size());
    return result;
  }

  LineWork& work() { return search_->work(); }

  // The request's defaults, the skew search off.
  crRecognitionParams params{};

 private:
  TempDir dir_;
  Kernel* kernel_ = nullptr;
  LineLetterSearch* search_ = nullptr;
};

}  // namespace inkrec::testing
