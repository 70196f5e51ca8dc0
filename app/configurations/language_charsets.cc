#include "app/configurations/language_charsets.h"

#include <algorithm>
#include <array>
#include <utility>

namespace ductra {
namespace {

// Primary language -> charset. Serbian and Croatian share the primary
// language 26; it stands for Serbian.
constexpr std::array<std::pair<std::uint8_t, CharsetId>, 32> kLanguageCharsets = {{
    {1, 39},  {2, 33},  {3, 30},  {5, 10},  {6, 42},  {7, 6},   {8, 25},  {9, 5},   {10, 8},  {11, 19},
    {12, 7},  {13, 26}, {14, 12}, {15, 29}, {16, 20}, {19, 17}, {20, 9},  {21, 11}, {22, 23}, {24, 27},
    {25, 4},  {26, 34}, {27, 14}, {28, 28}, {29, 24}, {31, 15}, {34, 32}, {35, 35}, {36, 13}, {37, 18},
    {38, 21}, {39, 22},
}};

}  // namespace

CharsetId main_charset_of_language(std::uint16_t language_id) {
  const auto primary = static_cast<std::uint8_t>(language_id & 0xFF);
  const auto found = std::ranges::find(kLanguageCharsets, primary, &std::pair<std::uint8_t, CharsetId>::first);
  return found != kLanguageCharsets.end() ? found->second : kEnglishCharset;
}

}  // namespace ductra
