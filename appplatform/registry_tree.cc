#include "appplatform/registry_tree.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

#include "appplatform/text.h"

namespace ductra::platform {
namespace {

constexpr std::string_view kHeader = "ductra registry 1";
constexpr std::size_t kLongestComponent = 255;

bool is_high(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool is_low(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

std::string quote(std::u16string_view text) {
  std::string out = "\"";
  char spelled[8];
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t unit = text[i];
    if (is_high(unit) && i + 1 < text.size() && is_low(text[i + 1])) {
      out += to_utf8(text.substr(i++, 2));
    } else if (is_high(unit) || is_low(unit)) {
      std::snprintf(spelled, sizeof spelled, "%%u%04X", static_cast<unsigned>(unit));
      out += spelled;
    } else if (unit < 0x20 || unit == 0x7F || unit == u'%' || unit == u'"') {
      std::snprintf(spelled, sizeof spelled, "%%%02X", static_cast<unsigned>(unit));
      out += spelled;
    } else {
      out += to_utf8(text.substr(i, 1));
    }
  }
  return out + "\"";
}

bool read_hex(std::string_view digits, unsigned* value) {
  const auto end = digits.data() + digits.size();
  const auto [stop, error] = std::from_chars(digits.data(), end, *value, 16);
  return error == std::errc() && stop == end;
}

// Reads a quoted name at the front of `text`, leaving the rest in `text`.
bool unquote(std::string_view& text, std::u16string* name) {
  if (text.empty() || text.front() != '"') return false;
  std::size_t at = 1;
  std::size_t run = at;  // start of the plain UTF-8 run being gathered
  name->clear();
  while (at < text.size() && text[at] != '"') {
    if (text[at] != '%') {
      ++at;
      continue;
    }
    *name += to_utf16(text.substr(run, at - run));
    const bool wide = at + 1 < text.size() && text[at + 1] == 'u';
    const std::size_t digits = wide ? 4 : 2;
    const std::size_t from = at + (wide ? 2 : 1);
    unsigned unit = 0;
    if (from + digits > text.size() || !read_hex(text.substr(from, digits), &unit)) return false;
    name->push_back(static_cast<char16_t>(unit));
    at = run = from + digits;
  }
  if (at >= text.size()) return false;
  *name += to_utf16(text.substr(run, at - run));
  text.remove_prefix(at + 1);
  return true;
}

bool take_word(std::string_view& text, std::string_view word) {
  if (!text.starts_with(word)) return false;
  text.remove_prefix(word.size());
  return true;
}

bool parse_data(std::string_view hex, std::vector<std::byte>* data) {
  if (!take_word(hex, "hex:") || hex.size() % 2 != 0) return false;
  data->clear();
  for (std::size_t i = 0; i < hex.size(); i += 2) {
    unsigned byte = 0;
    if (!read_hex(hex.substr(i, 2), &byte)) return false;
    data->push_back(static_cast<std::byte>(byte));
  }
  return true;
}

std::string format_data(const std::vector<std::byte>& data) {
  std::string out = "hex:";
  char pair[3];
  for (const std::byte b : data) {
    std::snprintf(pair, sizeof pair, "%02x", static_cast<unsigned>(b));
    out += pair;
  }
  return out;
}

bool same_name(std::u16string_view a, std::u16string_view b) { return equal_ignoring_case(a, b); }

}  // namespace

bool RegistryTree::normalise_path(std::u16string_view path, std::u16string* normal) {
  if (path.starts_with(u'\\')) path.remove_prefix(1);
  if (path.ends_with(u'\\')) path.remove_suffix(1);
  normal->assign(path);
  if (path.empty()) return true;
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find(u'\\', start);
    if (end == path.npos) end = path.size();
    const std::u16string_view part = path.substr(start, end - start);
    if (part.empty() || part.size() > kLongestComponent || part.find(u'\0') != part.npos) return false;
    start = end + 1;
  }
  return true;
}

bool RegistryTree::parse_line(std::string_view line) {
  if (take_word(line, "key ")) {
    Key key;
    if (take_word(line, "HKCU ")) {
      key.hive = Hive::current_user;
    } else if (!take_word(line, "HKLM ")) {
      return false;
    }
    std::u16string path;
    if (!unquote(line, &path) || !line.empty() || !normalise_path(path, &key.path)) return false;
    keys_.push_back(std::move(key));
    return true;
  }
  if (!take_word(line, "value ") || keys_.empty()) return false;
  Value value;
  const auto space = line.find(' ');
  if (space == line.npos) return false;
  const auto [stop, error] = std::from_chars(line.data(), line.data() + space, value.type);
  if (error != std::errc() || stop != line.data() + space) return false;
  line.remove_prefix(space + 1);
  if (!unquote(line, &value.name) || !take_word(line, " ") || !parse_data(line, &value.data)) return false;
  keys_.back().values.push_back(std::move(value));
  return true;
}

bool RegistryTree::parse(std::string_view text) {
  keys_.clear();
  bool header_seen = false;
  while (!text.empty()) {
    std::size_t end = text.find('\n');
    if (end == text.npos) end = text.size();
    const std::string_view line = text.substr(0, end);
    text.remove_prefix(std::min(end + 1, text.size()));
    if (line.empty()) continue;
    const bool understood = header_seen ? parse_line(line) : line == kHeader;
    if (!understood) {
      keys_.clear();
      return false;
    }
    header_seen = true;
  }
  return true;
}

std::string RegistryTree::format() const {
  std::string out(kHeader);
  out += '\n';
  for (const Key& key : keys_) {
    out += key.hive == Hive::current_user ? "key HKCU " : "key HKLM ";
    out += quote(key.path) + '\n';
    for (const Value& value : key.values) {
      out += "value " + std::to_string(value.type) + ' ' + quote(value.name) + ' ' + format_data(value.data) + '\n';
    }
  }
  return out;
}

RegistryTree::Key* RegistryTree::stored_key(Hive hive, std::u16string_view path) {
  for (Key& key : keys_) {
    if (key.hive == hive && same_name(key.path, path)) return &key;
  }
  return nullptr;
}

const RegistryTree::Key* RegistryTree::find_key(Hive hive, std::u16string_view path) const {
  std::u16string normal;
  if (!normalise_path(path, &normal)) return nullptr;
  const Key* key = const_cast<RegistryTree*>(this)->stored_key(hive, normal);
  static const Key kEmptyRoot;
  return key == nullptr && normal.empty() ? &kEmptyRoot : key;
}

RegistryTree::Key* RegistryTree::make_key(Hive hive, std::u16string_view path) {
  std::u16string normal;
  if (!normalise_path(path, &normal)) return nullptr;
  Key* key = nullptr;
  std::size_t end = 0;
  do {
    end = normal.find(u'\\', end);
    const std::u16string prefix = normal.substr(0, end);
    key = stored_key(hive, prefix);
    if (key == nullptr) key = &keys_.emplace_back(Key{hive, prefix, {}});
    if (end != normal.npos) ++end;
  } while (end != normal.npos);
  return key;
}

const RegistryTree::Value* RegistryTree::find_value(const Key& key, std::u16string_view name) {
  for (const Value& value : key.values) {
    if (same_name(value.name, name)) return &value;
  }
  return nullptr;
}

void RegistryTree::set_value(Key& key, std::u16string_view name, std::uint32_t type, std::vector<std::byte> data) {
  for (Value& value : key.values) {
    if (same_name(value.name, name)) {
      value.type = type;
      value.data = std::move(data);
      return;
    }
  }
  key.values.push_back(Value{std::u16string(name), type, std::move(data)});
}

}  // namespace ductra::platform
