// Lists in the settings dialogs: a list box of charsets, whose items show
// the charsets' names and carry their ids, and a combo box of strings.
#pragma once

#include <cstdint>
#include <span>

#include "app/common/charset_names.h"
#include "app/configurations/configuration.h"
#include "app/settings/dialog.h"

namespace ductra {

// The forms of a charset's name: "Русский", "Русская", "русских букв".
inline constexpr int kCharsetNoun = 0;
inline constexpr int kCharsetAdjective = 1;
inline constexpr int kCharsetGenitive = 2;
// A question box with Yes and No.
inline constexpr std::uint32_t kYesNoQuestion = 36;

// Empties list box `list` of `dialog` and adds the names (of `kind`) of
// `ids` in their order, each with its id as item data; selects the first.
void fill_charset_list(const Dialog& dialog, int list, std::span<const CharsetId> ids, int kind,
                       const CharsetLookup& charsets);

// Adds the strings `ids` (each cut to `max_units` - 1 units) to combo box
// `combo` of `dialog`, in their order.
void add_string_items(const Dialog& dialog, int combo, std::span<const std::uint32_t> ids, std::size_t max_units);

}  // namespace ductra
