// Reading and answering the engine's result-callback question
// (crResultChoice): the alternatives offered, the answer, and the text a
// word may return.
//
// The engine fails the recognition when an answer names no alternative it
// offered, or when a letter is answered with "word added"; sanitise_answer
// turns such an answer into "keep the engine's choice" before the engine
// reads it. A returned text is allocated with ::operator new, as the engine
// frees it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "inkrec/inkrec.h"

namespace ductra {

// Answers besides an alternative's index.
inline constexpr std::int32_t kChoiceKeep = -1;
inline constexpr std::int32_t kChoiceWordAdded = -2;
inline constexpr std::int32_t kChoiceReject = -3;

inline constexpr std::uint32_t kChoiceLetter = 0;
inline constexpr std::uint32_t kChoiceWord = 1;

std::uint32_t alternative_count(const crResultChoice& choice);

// The text of alternative i (empty when there is none).
std::u16string alternative_text(const crResultChoice& choice, std::uint32_t i);

// Replaces the returned text by `text`; false, with the old text kept, when
// memory runs out.
bool set_returned_text(crResultChoice& choice, std::u16string_view text);

void sanitise_answer(crResultChoice& choice);

}  // namespace ductra
