// Reading the design text of the composition tables: the Markdown of the
// documents that describe the constants. Pulls the small pieces the tables
// are written with out of a line: names in backticks, code sets in braces, characters as
// U+XXXX, comma-separated lists with "A to B" ranges and counted
// placeholders ("four patterns of the first unit").
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace compgen {

using Codes = std::vector<std::uint16_t>;

// The lines of `text`.
std::vector<std::string_view> lines_of(std::string_view text);
// The cells of a Markdown table row, trimmed, without the outer bars.
std::vector<std::string_view> table_cells(std::string_view row);
std::string_view trim(std::string_view text);
bool starts_with(std::string_view text, std::string_view prefix);

// Every `name` of the text, in order.
std::vector<std::string> backticked(std::string_view text);
// Every {0x.., 0x..} set of the text, in order; nullopt on a malformed code.
std::optional<std::vector<Codes>> brace_sets(std::string_view text);
// Codes written as 0x.. separated by blanks ("0x012D 0x012E").
std::optional<Codes> hex_codes(std::string_view text);
// Every U+XXXX of the text, in order.
std::u16string unicode_escapes(std::string_view text);
// The first character of UTF-8 text (Basic Multilingual Plane), or nullopt.
std::optional<char16_t> first_character(std::string_view text);
// "one" to "twenty", or a decimal number.
std::optional<int> count_word(std::string_view word);

// A list of constants: names, "`A` to `B`" ranges (expanded), and counted
// placeholders "N patterns of the first unit" (expanded to N copies of
// "<first unit>"). "none" is the empty list. nullopt when an item is not
// one of these.
std::optional<std::vector<std::string>> constant_list(std::string_view text);

// The two-digit number at the end of a name ("kCodeList07" -> 7), or -1.
int trailing_number(std::string_view name);

}  // namespace compgen
