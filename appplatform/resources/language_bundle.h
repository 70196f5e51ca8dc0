// Language bundles: the strings of one user-interface language, in a text
// file beside the program named "ductra_loc.LLLL.lang" (LLLL the language id
// in four lower-case hexadecimal digits, "0409" for 1033).
//
// The file is UTF-8, one string a line: the decimal id (0 to 65535), one
// space, the text to the end of the line, where "\n", "\t" and "\\" stand
// for a line break, a tab and a backslash. Blank lines and lines starting
// with '#' are comments. A file with any other line, a repeated id or bytes
// that are not UTF-8 is refused whole. A loaded bundle never changes; the
// language in use is switched by taking another bundle.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "appplatform/resources/string_table.h"

namespace ductra::platform {

inline constexpr std::uint16_t kEnglishLanguage = 1033;

// Why a bundle was refused: the line (1 = first; 0 = the file itself) and
// what is wrong with it.
struct BundleError {
  int line = 0;
  std::string message;
};

class LanguageBundle {
 public:
  // Null, with the error filled when one is given, for a malformed text.
  static std::shared_ptr<const LanguageBundle> parse(std::string_view text, std::uint16_t language,
                                                     BundleError* error = nullptr);
  // Reads the file; its language comes from its name.
  static std::shared_ptr<const LanguageBundle> load(const std::filesystem::path& file,
                                                    BundleError* error = nullptr);

  std::uint16_t language() const { return language_; }
  const StringTable& strings() const { return strings_; }

 private:
  LanguageBundle(std::uint16_t language, StringTable strings)
      : language_(language), strings_(std::move(strings)) {}

  std::uint16_t language_;
  StringTable strings_;
};

// "ductra_loc.0409.lang" for 1033.
std::string bundle_file_name(std::uint16_t language);
// The language of a bundle's file name: the hexadecimal digits between its
// last two dots; 0 when the name has no two dots or no number there.
std::uint16_t bundle_language_of(std::string_view file_name);

struct FoundBundle {
  std::shared_ptr<const LanguageBundle> bundle;  // null: none, use the program's own strings
  std::uint16_t language = 0;                    // the bundle's language; 0 when none
};

// The bundle of `language` in `directory`; when it is missing or refused,
// the English one (1033); when that is missing or refused too, none.
FoundBundle find_language_bundle(const std::filesystem::path& directory, std::uint16_t language);

}  // namespace ductra::platform
