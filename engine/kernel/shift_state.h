// ShiftState: the case state that shift codes in the recognised text set,
// and the case choice it asks of the letters after them.
//
// Code 30 toggles capitals for every following letter, code 31 capitalises
// the next letter only; neither produces a character. A reading's case
// choice picks among its codes: 0 as read, 1 its third code, 2 its second.
#pragma once

#include <cstdint>

namespace inkrec {

struct ShiftState {
  std::uint8_t caps = 0;
  std::uint8_t shift = 0;
};

inline constexpr std::uint16_t kCapsCode = 30;
inline constexpr std::uint16_t kShiftCode = 31;

// Applies a shift code to the state: true for codes 30 and 31, false (the
// state unchanged) for any other code.
inline bool apply_shift_code(ShiftState& state, std::uint16_t code) {
  if (code == kCapsCode) {
    state.caps = state.caps != 0 ? 0 : 1;
    return true;
  }
  if (code == kShiftCode) {
    state.shift = 1;
    return true;
  }
  return false;
}

// 1 when exactly one of caps and shift is set, 2 when both are, else 0.
inline std::uint32_t case_choice(ShiftState state) {
  const bool caps = state.caps != 0;
  const bool shift = state.shift != 0;
  if (caps && shift) return 2;
  return caps || shift ? 1 : 0;
}

}  // namespace inkrec
