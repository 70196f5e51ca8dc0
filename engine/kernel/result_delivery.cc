// The callback stage of a recognition: close alternatives are offered to
// the caller's callback, which may pick another reading, drop a letter or
// return a text for a word.
//
// With line records from the word search each word is offered; without
// them each output fragment. The stage works on a copy of the case state,
// so the shift codes it passes over still act when the text is built.

#include "engine/kernel/result_delivery.h"

#include <algorithm>
#include <numbers>
#include <span>

#include "engine/foundation/status.h"
#include "engine/foundation/trigonometry.h"
#include "engine/database/data_store.h"
#include "engine/kernel/c_records.h"
#include "engine/kernel/kernel.h"
#include "engine/segmentation/letter_case.h"
#include "engine/segmentation/line_records.h"

namespace inkrec {
namespace {

constexpr std::uint32_t kMaxAlternatives = 10;
constexpr std::int32_t kSureScore = 4500;

// Whether readings (n of them, the best two scoring best and second) are
// close enough to ask the caller about, in the given delivery mode.
bool should_ask(std::int32_t mode, std::uint32_t n, std::int32_t best, std::int32_t second) {
  if (mode == 3) return n >= 1;
  if (n < 2) return false;
  if (best < kSureScore) return true;
  const std::int64_t lead = std::int64_t{best} - second;
  return (mode == 2 && lead < 120) || (mode == 1 && lead < 60);
}

// Appends a candidate text made of the codes.
int add_candidate(ResultChoice& choice, std::span<const std::uint16_t> codes) {
  DynArray<char16_t>* text = choice.candidates.push_default();
  if (text == nullptr || !text->reserve(static_cast<std::uint32_t>(codes.size()))) {
    return kOutOfMemory;
  }
  for (const std::uint16_t code : codes) text->push_back(static_cast<char16_t>(code));
  return kOk;
}

// The other case form of a word of one letter whose two forms are written
// alike (the data's symbol gives them); 0 for any other word.
std::uint16_t other_form_of_lone_letter(const DataStore* store,
                                        std::span<const std::uint16_t> codes) {
  if (store == nullptr || codes.size() != 1) return 0;
  const Symb* symbol = store->find_symb(codes[0]);
  if (symbol == nullptr) return 0;
  return other_form_written_alike(codes[0], symbol->third_code, symbol->second_code);
}

// Whether the choice already offers the text of the codes.
bool offered(const ResultChoice& choice, std::span<const std::uint16_t> codes) {
  for (const DynArray<char16_t>& text : choice.candidates) {
    if (std::equal(text.begin(), text.end(), codes.begin(), codes.end())) return true;
  }
  return false;
}

// What an offered candidate stands for: the index of a reading of the
// word, or the best reading's other case form.
constexpr std::int32_t kOtherForm = -1;

// One candidate text per reading of a word: the codes along its path, each
// text offered once (readings that differ only where the text does not,
// such as the case of a letter that the text writes small, read alike). A
// best reading of one letter that a lone letter's ink cannot tell the case
// of is followed by its other case form. `stands_for` gets, per candidate,
// the reading it stands for.
int add_path_candidates(LetterSearch& search, const DataStore* store,
                        const PtrArray<WordHypothesis>& readings, ResultChoice& choice,
                        DynArray<std::int32_t>& stands_for) {
  for (std::uint32_t r = 0; r < readings.size(); ++r) {
    DynArray<std::uint16_t> codes;
    if (const int status = search.collect_path_characters(*readings[r], codes); status != kOk) {
      return status;
    }
    if (!offered(choice, codes.span())) {
      if (add_candidate(choice, codes.span()) != kOk ||
          stands_for.push_back(static_cast<std::int32_t>(r)) != kOk) {
        return kOutOfMemory;
      }
    }
    if (r != 0) continue;
    const std::uint16_t other = other_form_of_lone_letter(store, codes.span());
    if (other == 0) continue;
    if (add_candidate(choice, {&other, 1}) != kOk || stands_for.push_back(kOtherForm) != kOk) {
      return kOutOfMemory;
    }
  }
  return kOk;
}

// What the caller chose among a word's candidates: the reading a candidate
// stands for (the best reading's other case form becomes the word's text,
// unless the caller returned one). Without readings behind the candidates
// the choice is kept as given; a choice outside them changes nothing.
int take_word_choice(ResultChoice& choice, std::span<const std::int32_t> stands_for,
                     WordEntry& word) {
  word.chosen = choice.chosen;
  word.text.swap(choice.returned_text);
  if (stands_for.empty() || choice.chosen < 0) return kOk;
  const auto k = static_cast<std::size_t>(choice.chosen);
  if (k >= stands_for.size()) {
    word.chosen = ResultChoice::kKeep;
    return kOk;
  }
  if (stands_for[k] != kOtherForm) {
    word.chosen = stands_for[k];
    return kOk;
  }
  word.chosen = ResultChoice::kKeep;
  if (!word.text.empty()) return kOk;
  return word.text.assign(choice.candidates[static_cast<std::uint32_t>(k)]);
}

// The text of a word without readings, read letter by letter under the case
// state.
int add_letters_candidate(LetterSearch& search, const LineRecord& line, const WordEntry& word,
                          ShiftState& state, ResultChoice& choice) {
  DynArray<CaseCodes> letters;
  if (const int status = search.collect_element_variants(line, word, letters); status != kOk) {
    return status;
  }
  DynArray<std::uint16_t> codes;
  for (const CaseCodes& letter : letters) {
    if (apply_shift_code(state, letter.codes[0])) continue;
    static constexpr int kCodeOfChoice[3] = {0, 2, 1};
    if (codes.push_back(letter.codes[kCodeOfChoice[case_choice(state)]]) != kOk) {
      return kOutOfMemory;
    }
    state.shift = 0;
  }
  return add_candidate(choice, codes.span());
}

int ask(const RecognitionParams& request, ResultChoice& choice) {
  return request.callback(c_record<crResultChoice>(&choice), request.context);
}

}  // namespace

std::int32_t word_hypothesis_score(const WordHypothesis& hypothesis) {
  if (hypothesis.count == 0) return 0;
  std::int64_t score =
      std::int64_t{hypothesis.base_cost} + std::int64_t{hypothesis.total} / hypothesis.count;
  for (const HypothesisElement* element : hypothesis.elements) {
    if (element != nullptr) score += element->cost;
  }
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(score, INT32_MIN, INT32_MAX));
}

void turn_back_box(std::span<const PackedPoint> points, int correction, ResultChoice& choice) {
  const double radians = -correction * std::numbers::pi / 180.0;
  const double sine = math_sin(radians);
  const double cosine = math_cos(radians);
  for (const PackedPoint p : points) {
    const auto x = static_cast<std::int32_t>(p.x * cosine - p.y * sine);
    const auto y = static_cast<std::int32_t>(p.y * cosine + p.x * sine);
    choice.left = std::min(choice.left, x);
    choice.top = std::min(choice.top, y);
    choice.right = std::max(choice.right, x);
    choice.bottom = std::max(choice.bottom, y);
  }
}

int Kernel::deliver_results() {
  if (params_.delivery_mode == 0 || params_.callback == nullptr) return kOk;
  ShiftState state = shift_state_;
  return search_->line_records().empty() ? deliver_letters(state) : deliver_words(state);
}

int Kernel::deliver_letters(ShiftState& state) {
  for (std::uint32_t i = 0; i < search_->output_count();) {
    std::uint32_t answers = 0;
    int status = search_->answer_count(i, &answers);
    const std::uint32_t choice = case_choice(state);
    for (std::uint32_t a = 0; status == kOk && a < answers; ++a) {
      status = search_->set_code_choice(i, a, choice);
    }
    if (status != kOk) return status;
    state.shift = 0;
    bool dropped = false;
    if ((status = offer_letter(i, &dropped)) != kOk) return status;
    if (dropped) continue;
    apply_shift_code(state, search_->first_code(i));
    ++i;
  }
  return kOk;
}

// Offers the readings of output entry i when they are close; *dropped tells
// that the caller removed the entry.
int Kernel::offer_letter(std::uint32_t i, bool* dropped) {
  DynArray<Alternative> alternatives;
  int status = search_->alternatives(i, kMaxAlternatives, alternatives);
  if (status != kOk || alternatives.empty()) return status;
  const std::int32_t second = alternatives.size() > 1 ? alternatives[1].score : 0;
  if (!should_ask(params_.delivery_mode, alternatives.size(), alternatives[0].score, second)) {
    return kOk;
  }
  ResultChoice choice;
  choice.kind = ResultChoice::kLetter;
  for (const Alternative& alternative : alternatives) {
    if ((status = add_candidate(choice, {&alternative.code, 1})) != kOk) return status;
  }
  DynArray<PackedPoint> points;
  if ((status = search_->collect_output_points(i, points)) != kOk) return status;
  turn_back_box(points.span(), search_->skew_correction(), choice);
  if (const int answer = ask(params_, choice); answer != 0) return answer;
  if (choice.chosen == ResultChoice::kDrop) {
    *dropped = true;
    return search_->remove_output(i);
  }
  if (choice.chosen == ResultChoice::kKeep || choice.chosen == 0) return kOk;
  if (choice.chosen < 0 || static_cast<std::uint32_t>(choice.chosen) >= alternatives.size()) {
    return kBadArgument;
  }
  const Alternative& chosen = alternatives[choice.chosen];
  return search_->promote_alternative(i, chosen.answer, chosen.choice);
}

int Kernel::deliver_words(ShiftState& state) {
  for (LineRecord* line : search_->line_records()) {
    if (line == nullptr) return kBadArgument;
    for (WordEntry& word : line->words) {
      if (const int status = offer_word(*line, word, state); status != kOk) return status;
    }
  }
  return kOk;
}

// Offers the readings of a word of a line record when they are close, and
// keeps the caller's choice and text with the word. A word whose reading
// ends elsewhere than the word is passed over.
int Kernel::offer_word(const LineRecord& line, WordEntry& word, ShiftState& state) {
  const WordPosition* start = line.positions.item_checked(word.start);
  if (start == nullptr) return kBadArgument;
  const bool with_hypotheses = word.hypothesis >= 0;
  if (with_hypotheses) {
    const WordHypothesis* reading = start->hypotheses.item_checked(word.hypothesis);
    if (reading == nullptr) return kBadArgument;
    if (reading->end_position != word.end) return kOk;
  }
  FigurePlace last{static_cast<std::uint16_t>(line.end_line), line.end_figure};
  if (word.end != -1) {
    if (word.end < 0) return kBadArgument;
    const WordPosition* end = line.positions.item_checked(static_cast<std::uint32_t>(word.end));
    if (end == nullptr) return kBadArgument;
    last = {end->line, std::int32_t{end->figure} - 1};
  }
  const PtrArray<WordHypothesis>& readings = start->hypotheses;
  if (with_hypotheses) {
    for (const WordHypothesis* reading : readings) {
      if (reading == nullptr) return kBadArgument;
    }
    const std::int32_t best = word_hypothesis_score(*readings[0]);
    const std::int32_t second = readings.size() > 1 ? word_hypothesis_score(*readings[1]) : 0;
    if (!should_ask(params_.delivery_mode, readings.size(), best, second)) return kOk;
  } else if (params_.delivery_mode != 3) {
    return kOk;
  }
  ResultChoice choice;
  choice.kind = ResultChoice::kWord;
  DynArray<std::int32_t> stands_for;
  int status = with_hypotheses
                   ? add_path_candidates(*search_, data_store_, readings, choice, stands_for)
                   : add_letters_candidate(*search_, line, word, state, choice);
  DynArray<PackedPoint> points;
  if (status == kOk) {
    status = search_->collect_figure_points({start->line, start->figure}, last, points);
  }
  if (status != kOk) return status;
  turn_back_box(points.span(), search_->skew_correction(), choice);
  if (const int answer = ask(params_, choice); answer != 0) return answer;
  return take_word_choice(choice, stands_for.span(), word);
}

}  // namespace inkrec
