// What the programs ask of the system about itself: the platform's major
// version, the user's language and decimal separator, and the screen's
// pixels per inch.
//
// The language follows the host's locale variables in their usual order
// (LC_ALL, then LC_MESSAGES, then LANG; for the decimal separator LC_ALL,
// LC_NUMERIC, LANG); a locale this table does not know, "C" or "POSIX",
// gives English (1033) and '.'. The platform version is 5 and the screen
// has 96 pixels per inch unless DUCTRA_OS_VERSION or DUCTRA_SCREEN_PPI
// (whole numbers) say otherwise, so a device can play an older handheld or
// a denser screen.
#pragma once

#include <cstdint>
#include <string_view>

namespace ductra::platform {

struct SystemFacts {
  int os_major_version = 5;
  std::uint16_t language_id = 1033;
  char16_t decimal_separator = u'.';
  int pixels_per_inch = 96;

  static SystemFacts from_environment();
};

// The language id of a locale name such as "ru_RU.UTF-8" or "de"; 1033
// when the language is not known.
std::uint16_t language_id_of_locale(std::string_view locale);
// The decimal separator written in that locale's language.
char16_t decimal_separator_of_locale(std::string_view locale);

}  // namespace ductra::platform
