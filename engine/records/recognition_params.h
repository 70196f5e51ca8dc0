// RecognitionParams: the caller's recognition request, a plain record shared
// with the application.
//
// Its field order is part of the engine's calling convention; with 64-bit
// pointers the record takes its natural layout, checked below. The
// defaults are those a kernel starts with. Fields marked "stored only" are
// kept for the caller and read by no part of the engine. The stages read
// the switch bytes under their names through RequestSwitches
// (request_switches.h), which says which byte turns what on.
#pragma once

#include <cstddef>
#include <cstdint>

#include "inkrec/inkrec.h"

namespace inkrec {

// Asked to choose among close alternatives (a ResultChoice,
// engine/kernel/result_choice.h); a non-zero result aborts the recognition with
// that value.
using ResultCallback = crResultCallback;

struct RecognitionParams {
  ResultCallback callback = nullptr;
  std::int32_t delivery_mode = 0;  // 0: never call back; 1, 2, 3: when to ask
  std::int32_t third_word = 100;   // stored only
  void* context = nullptr;         // the callback's second argument
  // 2 turns off the word pass, the cursive split and the skew search for
  // one recognition; any non-zero mode makes the skew search take the ink
  // as one line.
  std::int32_t mode = 0;
  std::uint8_t first_switch = 1;       // stored only
  std::uint8_t second_switch = 1;      // stored only
  std::uint8_t word_pass = 0;          // the kind switch: word search, dictionary
  std::uint8_t cursive_split = 0;      // the body-and-link switch
  std::uint8_t caller_base_lines = 0;  // every stroke carries its base lines
  std::uint8_t skew_search = 1;        // straighten tilted ink before the line pass
  std::uint8_t skew_allowed = 1;       // the strokes come in writing order
  std::uint8_t layout_switch = 1;      // writing order, stroke joining, word breaks, segments
  std::uint8_t refine_trajectories = 1;
  std::uint8_t strict_switch = 0;     // fixed case, strict kinds
  char16_t* result_buffer = nullptr;  // receives the text, 0-terminated
  std::int32_t result_size = 0;       // units in result_buffer, terminator included
};

static_assert(sizeof(void*) == 8, "the request's layout below is for 64-bit pointers");
static_assert(offsetof(RecognitionParams, delivery_mode) == 8 &&
              offsetof(RecognitionParams, third_word) == 12 &&
              offsetof(RecognitionParams, context) == 16 &&
              offsetof(RecognitionParams, mode) == 24 &&
              offsetof(RecognitionParams, first_switch) == 28 &&
              offsetof(RecognitionParams, word_pass) == 30 &&
              offsetof(RecognitionParams, layout_switch) == 35 &&
              offsetof(RecognitionParams, strict_switch) == 37 &&
              offsetof(RecognitionParams, result_buffer) == 40 &&
              offsetof(RecognitionParams, result_size) == 48);
static_assert(sizeof(RecognitionParams) == 56);

}  // namespace inkrec
