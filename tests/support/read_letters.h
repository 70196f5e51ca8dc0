// Stand-ins for the passes of a line's letter search, which make the
// line's letter results themselves; the rest of the recognition (line
// pass, word search, delivery) is the kernel's own.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/foundation/status.h"
#include "engine/records/fragment_state.h"
#include "engine/records/letter_result.h"
#include "engine/segmentation/line_letter_search.h"
#include "engine/segmentation/reference_heights.h"

namespace inkrec::testing {

// What a stand-in's line passes hand on: the covers its word groups hold,
// with the line's reference heights, in place of the real cover search.
inline int deliver_word_group_covers(FragmentState& state, PtrArray<FigureGroup>& fragments) {
  for (const LineGroup& group : state.line.word_groups) {
    if (const int status = state.chosen_results.push_all(group.cover); status != kOk) return status;
  }
  if (const int status = compute_reference_heights(state.chosen_results, state.line); status != kOk) {
    return status;
  }
  return fragments.push_all(state.chosen_results);
}

// A stand-in for the passes of a line's letter search: its first sweep
// (after the kernel's size estimate and candidate order) makes the line's
// letter results through read_candidates, and the word group's cover,
// which cover_group fills, stands for the line.
class StandInLetterSearch : public LineLetterSearch {
 protected:
  virtual int read_candidates(TextLine& line, LineGroup& group) = 0;
  virtual int cover_group(TextLine& line, LineGroup& group) = 0;

  // A letter result over the candidates first .. first + count - 1, its
  // glyph prepared.
  static int new_result(TextLine& line, std::uint32_t first, std::uint32_t count,
                        bool trajectory_mode, std::unique_ptr<LetterResult>* out) {
    auto result = std::make_unique<LetterResult>();
    for (std::uint32_t k = first; k < first + count; ++k) {
      FigureRecord* figure = line.candidates[k];
      if (result->figures.push_back(figure) != kOk || result->coverage.set(k) != kOk ||
          result->members.set(figure->number) != kOk) {
        return kOutOfMemory;
      }
    }
    if (const int status = group_prepare_glyph(*result, trajectory_mode); status != kOk) {
      return status;
    }
    *out = std::move(result);
    return kOk;
  }

  // Gives the result to the group's letters and to the line.
  static int keep_result(TextLine& line, LineGroup& group, std::unique_ptr<LetterResult> result) {
    if (group.letter_groups.push_back(result.get()) != kOk) return kOutOfMemory;
    return line.letter_results.push_back_owned(std::move(result));
  }

 private:
  int run_line_passes(FragmentState& state, bool first_sweep,
                      PtrArray<FigureGroup>& fragments) final {
    TextLine& line = state.line;
    if (line.word_groups.empty() && line.word_groups.push_default() == nullptr) {
      return kOutOfMemory;
    }
    LineGroup& group = line.word_groups[0];
    if (first_sweep) {
      int status = estimate_fragment_sizes(state);
      if (status == kOk) status = order_fragment_candidates(state);
      if (status == kOk) status = read_candidates(line, group);
      if (status != kOk) return status;
    }
    if (const int status = cover_group(line, group); status != kOk) return status;
    return deliver_word_group_covers(state, fragments);
  }
};

// Each candidate of a text line becomes a letter result of its own, read as
// the codes given for its stroke (best first, 9000 and then 500 less each;
// an English letter with its lower- and upper-case forms as second and
// third code, as the database gives them), and, when asked, each two
// neighbouring candidates a result of their own too (read as the codes
// given for pairs). The single letters in the line's order are its cover.
class ReadLetters final : public StandInLetterSearch {
 public:
  // readings[s]: the codes the candidate of stroke s is read as (repeating
  // past the end); pair_readings: those of two neighbours, none for no
  // pairs.
  explicit ReadLetters(std::vector<std::u16string> readings, std::u16string pair_readings = u"")
      : readings_(std::move(readings)), pair_readings_(std::move(pair_readings)) {}

 protected:
  int read_candidates(TextLine& line, LineGroup& group) override {
    const std::uint32_t n = line.candidates.size();
    int status = kOk;
    for (std::uint32_t k = 0; status == kOk && k < n; ++k) {
      const std::uint16_t stroke = line.candidates[k]->stroke_index;
      status = add_result(line, group, k, 1, readings_[stroke % readings_.size()]);
      if (status == kOk && !pair_readings_.empty() && k + 1 < n) {
        status = add_result(line, group, k, 2, pair_readings_);
      }
    }
    return status;
  }

  // The cover takes the single letters.
  int cover_group(TextLine& line, LineGroup& group) override {
    for (LetterResult* result : line.letter_results) {
      if (result->coverage.count() == 1 && group.cover.push_back(result) != kOk) {
        return kOutOfMemory;
      }
    }
    return kOk;
  }

 private:
  static int add_result(TextLine& line, LineGroup& group, std::uint32_t first,
                        std::uint32_t count, const std::u16string& codes) {
    std::unique_ptr<LetterResult> result;
    if (const int status = new_result(line, first, count, false, &result); status != kOk) {
      return status;
    }
    result->index = static_cast<std::int32_t>(line.letter_results.size());
    for (std::uint32_t r = 0; r < codes.size(); ++r) {
      Answer answer = Answer::from_code(codes[r]);
      if (codes[r] >= u'A' && codes[r] <= u'Z') answer.codes[1] = codes[r] + 0x20;
      if (codes[r] >= u'a' && codes[r] <= u'z') answer.codes[2] = codes[r] - 0x20;
      answer.key = static_cast<std::uint16_t>(1 + r);
      answer.components[Answer::kLetterScore] = 9000 - 500 * static_cast<std::int32_t>(r);
      if (result->answers->insert(answer) != kOk) return kOutOfMemory;
    }
    return keep_result(line, group, std::move(result));
  }

  std::vector<std::u16string> readings_;
  std::u16string pair_readings_;
};

}  // namespace inkrec::testing
