#include "appplatform/system_facts.h"

#include <charconv>
#include <cstdlib>

namespace ductra::platform {
namespace {

struct Language {
  std::string_view code;     // ISO 639-1
  std::uint16_t primary_id;  // the platform's primary language number
  bool decimal_comma;
};

// The languages of the recogniser's charsets and a few neighbours.
constexpr Language kLanguages[] = {
    {"ar", 0x01, false}, {"bg", 0x02, true},  {"ca", 0x03, true},  {"cs", 0x05, true},  {"da", 0x06, true},
    {"de", 0x07, true},  {"el", 0x08, true},  {"en", 0x09, false}, {"es", 0x0A, true},  {"fi", 0x0B, true},
    {"fr", 0x0C, true},  {"he", 0x0D, false}, {"hu", 0x0E, true},  {"is", 0x0F, true},  {"it", 0x10, true},
    {"nl", 0x13, true},  {"nb", 0x14, true},  {"no", 0x14, true},  {"pl", 0x15, true},  {"pt", 0x16, true},
    {"ro", 0x18, true},  {"ru", 0x19, true},  {"hr", 0x1A, true},  {"sk", 0x1B, true},  {"sq", 0x1C, true},
    {"sv", 0x1D, true},  {"tr", 0x1F, true},  {"id", 0x21, true},  {"uk", 0x22, true},  {"be", 0x23, true},
    {"sl", 0x24, true},  {"et", 0x25, true},  {"lv", 0x26, true},  {"lt", 0x27, true},  {"mk", 0x2F, true},
    {"af", 0x36, true},  {"ms", 0x3E, false}, {"kk", 0x3F, true},
};

constexpr std::uint16_t kDefaultSublanguage = 1 << 10;

const Language* language_of(std::string_view locale) {
  const std::string_view code = locale.substr(0, locale.find_first_of("_.@"));
  for (const Language& language : kLanguages) {
    if (language.code == code) return &language;
  }
  return nullptr;
}

// The first of the variables that is set and not empty.
std::string_view first_set(std::initializer_list<const char*> names) {
  for (const char* name : names) {
    if (const char* value = std::getenv(name); value != nullptr && value[0] != '\0') return value;
  }
  return {};
}

int whole_number(const char* name, int fallback) {
  const std::string_view text = first_set({name});
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() && value > 0 ? value : fallback;
}

}  // namespace

std::uint16_t language_id_of_locale(std::string_view locale) {
  const Language* language = language_of(locale);
  return language == nullptr ? 1033 : static_cast<std::uint16_t>(kDefaultSublanguage | language->primary_id);
}

char16_t decimal_separator_of_locale(std::string_view locale) {
  const Language* language = language_of(locale);
  return language != nullptr && language->decimal_comma ? u',' : u'.';
}

SystemFacts SystemFacts::from_environment() {
  SystemFacts facts;
  facts.os_major_version = whole_number("DUCTRA_OS_VERSION", facts.os_major_version);
  facts.pixels_per_inch = whole_number("DUCTRA_SCREEN_PPI", facts.pixels_per_inch);
  facts.language_id = language_id_of_locale(first_set({"LC_ALL", "LC_MESSAGES", "LANG"}));
  facts.decimal_separator = decimal_separator_of_locale(first_set({"LC_ALL", "LC_NUMERIC", "LANG"}));
  return facts;
}

}  // namespace ductra::platform
