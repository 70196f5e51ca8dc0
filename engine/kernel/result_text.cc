// The text of a recognition: the readings of the output fragments in order,
// with the case state of the shift codes applied, then written out.
#include "engine/kernel/result_text.h"

#include "engine/foundation/status.h"
#include "engine/kernel/kernel.h"
#include "engine/records/request_switches.h"

namespace inkrec {
namespace {

constexpr char16_t kNoBreakSpace = 0x00A0;

bool is_final_letter_form(std::uint16_t code) {
  return code == 0x05DA || code == 0x05DD || code == 0x05DF || code == 0x05E3 || code == 0x05E5;
}

}  // namespace

void write_result_text(std::span<const std::uint16_t> text, char16_t* buffer, std::int32_t size) {
  if (size < 1) return;
  const std::int64_t room = std::int64_t{size} - 1;
  std::int64_t written = 0;
  for (std::size_t i = 0; i < text.size() && written < room; ++i) {
    buffer[written++] = static_cast<char16_t>(text[i]);
    if (is_final_letter_form(text[i]) && i + 1 < text.size() && written < room) {
      buffer[written++] = kNoBreakSpace;
    }
  }
  buffer[written] = 0;
}

// A fragment whose reading is a shift code changes the case state and adds
// nothing. Any other takes the case choice of the state (with the word pass
// on, a letter inside a word is lower case unless the state says
// otherwise, the word list gives the word that capital or the word is
// written in capitals), and a space follows it when the fragment asks for
// one and is not the last.
int Kernel::build_text() {
  text_.clear();
  const std::uint32_t n = search_->output_count();
  for (std::uint32_t i = 0; i < n; ++i) {
    std::uint32_t answers = 0;
    if (const int status = search_->answer_count(i, &answers); status != kOk) return status;
    if (answers == 0 || apply_shift_code(shift_state_, search_->first_code(i))) continue;
    std::uint32_t choice = case_choice(shift_state_);
    const bool inside_word = !text_.empty() && text_.back() != u' ';
    if (choice == 0 && RequestSwitches(params_).kind() && inside_word &&
        !search_->listed_capital(i)) {
      choice = 2;
    }
    if (choice != 0) {
      if (const int status = search_->set_code_choice(i, 0, choice); status != kOk) return status;
    }
    shift_state_.shift = 0;
    if (const int status = search_->append_output_codes(i, text_); status != kOk) return status;
    if (i + 1 < n && search_->space_after(i) && text_.push_back(u' ') != kOk) return kOutOfMemory;
  }
  return kOk;
}

}  // namespace inkrec
