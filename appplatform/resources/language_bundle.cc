#include "appplatform/resources/language_bundle.h"

#include <cstdio>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>

namespace ductra::platform {

namespace {

// Appends the UTF-16 form of UTF-8 bytes; false at the first malformed
// sequence (overlong forms, surrogates and values past U+10FFFF included).
bool append_utf8(std::string_view bytes, std::u16string& out) {
  for (std::size_t i = 0; i < bytes.size();) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    int length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
    if (length == 0 || i + static_cast<std::size_t>(length) > bytes.size()) return false;
    char32_t code = length == 1 ? lead : lead & (0xFF >> (length + 1));
    for (int k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(bytes[i + static_cast<std::size_t>(k)]);
      if ((next & 0xC0) != 0x80) return false;
      code = (code << 6) | (next & 0x3F);
    }
    static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < kSmallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
    if (code >= 0x10000) {
      out.push_back(static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(code));
    }
    i += static_cast<std::size_t>(length);
  }
  return true;
}

// The text of a line with its escapes replaced; nothing for a bad escape.
std::optional<std::string> unescape(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      out.push_back(text[i]);
      continue;
    }
    if (++i == text.size()) return std::nullopt;
    switch (text[i]) {
      case 'n': out.push_back('\n'); break;
      case 't': out.push_back('\t'); break;
      case '\\': out.push_back('\\'); break;
      default: return std::nullopt;
    }
  }
  return out;
}

std::optional<std::uint16_t> parse_id(std::string_view digits) {
  if (digits.empty() || digits.size() > 5) return std::nullopt;
  std::uint32_t value = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<std::uint32_t>(c - '0');
  }
  if (value > 0xFFFF) return std::nullopt;
  return static_cast<std::uint16_t>(value);
}

std::shared_ptr<const LanguageBundle> refuse(BundleError* error, int line, std::string message) {
  if (error) *error = {line, std::move(message)};
  return nullptr;
}

}  // namespace

std::shared_ptr<const LanguageBundle> LanguageBundle::parse(std::string_view text, std::uint16_t language,
                                                            BundleError* error) {
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  std::map<std::uint16_t, std::u16string> strings;
  int number = 0;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    ++number;
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (line.empty() || line.front() == '#') continue;
    const std::size_t space = line.find(' ');
    const auto id = parse_id(line.substr(0, space));
    if (!id) return refuse(error, number, "a line must start with a string id from 0 to 65535");
    const auto unescaped = unescape(space == std::string_view::npos ? std::string_view{} : line.substr(space + 1));
    if (!unescaped) return refuse(error, number, "unknown escape; use \\n, \\t or \\\\");
    std::u16string units;
    if (!append_utf8(*unescaped, units)) return refuse(error, number, "the text is not UTF-8");
    if (!strings.emplace(*id, std::move(units)).second) return refuse(error, number, "the id is given twice");
  }
  return std::shared_ptr<const LanguageBundle>(new LanguageBundle(language, StringTable(std::move(strings))));
}

std::shared_ptr<const LanguageBundle> LanguageBundle::load(const std::filesystem::path& file, BundleError* error) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return refuse(error, 0, "cannot open " + file.string());
  std::ostringstream content;
  content << in.rdbuf();
  if (in.bad()) return refuse(error, 0, "cannot read " + file.string());
  return parse(content.str(), bundle_language_of(file.filename().string()), error);
}

std::string bundle_file_name(std::uint16_t language) {
  char name[32];
  std::snprintf(name, sizeof name, "ductra_loc.%04x.lang", static_cast<unsigned>(language));
  return name;
}

std::uint16_t bundle_language_of(std::string_view file_name) {
  const std::size_t last = file_name.rfind('.');
  if (last == std::string_view::npos || last == 0) return 0;
  const std::size_t before = file_name.rfind('.', last - 1);
  if (before == std::string_view::npos) return 0;
  const std::string_view digits = file_name.substr(before + 1, last - before - 1);
  std::uint32_t value = 0;
  for (char c : digits) {
    const int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
    if (digit < 0 || value > 0xFFF) return 0;
    value = value * 16 + static_cast<std::uint32_t>(digit);
  }
  return static_cast<std::uint16_t>(value);
}

FoundBundle find_language_bundle(const std::filesystem::path& directory, std::uint16_t language) {
  for (std::uint16_t wanted : {language, kEnglishLanguage}) {
    if (auto bundle = LanguageBundle::load(directory / bundle_file_name(wanted))) return {bundle, wanted};
  }
  return {};
}

}  // namespace ductra::platform
