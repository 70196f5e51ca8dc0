// The pop-up menu of alternatives the engine offers during a recognition:
// its items and how the item chosen becomes the engine's answer.
//
// The menu lists the first kMostAlternatives alternatives (ids 1000 + i),
// each with its control units spelled out, then a separator and the default
// entry (id -1), and, when adding the word to a user dictionary is offered,
// the add entry (id 1). An alternative's index is its answer, the default
// entry answers "keep the engine's choice" (-1), and anything else, a
// dismissed menu (id 0) included, answers "none" (-3), which makes the
// engine drop a letter from the text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "app/common/localizer.h"
#include "appplatform/popup_menu.h"
#include "inkrec/inkrec.h"

namespace ductra {

inline constexpr int kMenuAddWordItem = 1;
inline constexpr int kMenuDefaultItem = -1;
inline constexpr int kMenuFirstAlternative = 1000;
inline constexpr std::uint32_t kMostAlternatives = 128;

// The strings of the default and the add entries.
inline constexpr std::uint32_t kStringDefaultEntry = 85;
inline constexpr std::uint32_t kStringAddToDictionary = 260;

// The alternative as an item shows it: backspace, tab, enter, the context,
// caps-lock and shift keys and spaces by name ("<space>"), "&" doubled.
std::u16string spelled_out(std::u16string_view alternative);

// Fills `menu` for the choice; false when an item could not be added.
bool fill_alternatives_menu(const crResultChoice& choice, bool offer_add_word, const Localizer& strings,
                            platform::PopupMenu* menu);

// The engine's answer for the item `id` the menu returned (0: dismissed);
// the add entry is not answered here.
std::int32_t answer_for_item(int id, const crResultChoice& choice);

}  // namespace ductra
