// Answer: one candidate reading of a figure or group of strokes, with its
// score components; AnswerList: the readings found for one figure.
//
// Scores are points, higher is better, 10000 a perfect letter candidate. The
// total of an answer is the sum of its components except the rules' penalty,
// which starts at -1 and collects what the letter and pair rules charge. A
// list holds at most `limit` answers unless it is unlimited; it is kept best
// first by the code that fills it.
#pragma once

#include <cstdint>

#include "engine/foundation/dyn_array.h"

namespace inkrec {

struct Answer {
  static constexpr int kComponentCount = 8;
  static constexpr int kPenaltyComponent = 5;
  static constexpr std::uint32_t kStateRejected = 3;

  // The sum of every component but the penalty, saturated to 32 bits.
  std::int32_t total() const;

  // 0 letter score, 1 the maker's score, 4 and 7 adjustments, 5 the penalty.
  std::int32_t components[kComponentCount] = {0, 0, 0, 0, 0, -1, 0, 0};
  std::uint8_t kind = 0;        // 1 made from a letter candidate, 0 from a segment
  std::uint8_t flag = 0;        // from the source record
  std::uint8_t code_count = 0;  // codes of the reading
  std::uint16_t code_list[3] = {0, 0, 0};
  std::uint16_t saved_list[3] = {0, 0, 0};
  std::uint16_t key = 0;  // the source variant; one answer per key in a list
  std::uint16_t source_word = 0;
  std::uint32_t rule_word = 0;
  std::uint32_t state = kStateRejected;  // 1 first for its code, 2 another, 3 rejected
  std::uint16_t source_box[4] = {0, 0, 0, 0};
  std::uint32_t code_choice = 0;
  std::uint32_t source_dword = 0;
  std::uint32_t mask = 0;  // the property word
  std::uint16_t codes[3] = {0, 0, 0};
  std::uint16_t saved_codes[3] = {0, 0, 0};
  std::uint8_t saved_count = 0;
};

class AnswerList {
 public:
  static constexpr std::uint32_t kDefaultLimit = 20;
  static constexpr std::uint32_t kUnlimited = 0x7fffffff;

  // An empty list holding at most 20 answers, or any number when unlimited.
  explicit AnswerList(bool unlimited = false)
      : limit_(unlimited ? kUnlimited : kDefaultLimit), unlimited_(unlimited ? 1 : 0) {}

  // Becomes a copy of other (answers, limit, unlimited flag and the shared
  // table of seen codes): 0, or -1 with this list unchanged.
  int assign(const AnswerList& other);

  DynArray<Answer>& answers() { return answers_; }
  const DynArray<Answer>& answers() const { return answers_; }
  std::uint32_t limit() const { return limit_; }
  bool unlimited() const { return unlimited_ != 0; }
  // Bytes indexed by 16-bit code, owned by the kernel; null until set.
  DynArray<std::uint8_t>* seen_codes() const { return seen_codes_; }
  void set_seen_codes(DynArray<std::uint8_t>* table) { seen_codes_ = table; }

 private:
  DynArray<Answer> answers_;
  std::uint32_t limit_;
  std::uint32_t unlimited_;
  DynArray<std::uint8_t>* seen_codes_ = nullptr;
};

}  // namespace inkrec
