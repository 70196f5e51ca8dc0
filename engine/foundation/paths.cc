#include "engine/foundation/paths.h"

#include <algorithm>
#include <cstring>

namespace inkrec {
namespace {

template <typename Char>
bool is_separator(Char c) {
  return c == Char('\\') || c == Char('/');
}

template <typename Char>
std::size_t kept_length(std::basic_string_view<Char> path) {
  for (std::size_t i = path.size(); i > 0; --i) {
    if (is_separator(path[i - 1])) return i;
  }
  return path.size();
}

template <typename Char>
void replace_name(Char* path, const Char* name) {
  const std::basic_string_view<Char> whole(path);
  Char* out = path + kept_length(whole);
  if (name != nullptr) {
    if (is_separator(*name)) ++name;
    std::basic_string_view<Char> appended(name);
    appended = appended.substr(0, kMaxAppendedName);
    out = std::copy(appended.begin(), appended.end(), out);
  }
  *out = Char(0);
}

}  // namespace

void replace_file_name(char16_t* path, const char16_t* name) { replace_name(path, name); }

void replace_file_name_narrow(char* path, const char* name) { replace_name(path, name); }

std::u16string directory_of(std::u16string_view path) {
  return std::u16string(path.substr(0, kept_length(path)));
}

std::u16string with_file_name(std::u16string_view path, std::u16string_view name) {
  if (!name.empty() && is_separator(name.front())) name.remove_prefix(1);
  return directory_of(path) + std::u16string(name.substr(0, kMaxAppendedName));
}

void copy_wide_string(char16_t* destination, const char16_t* source, std::size_t n, bool no_fill) {
  std::size_t i = 0;
  for (; i < n; ++i) {
    destination[i] = source[i];
    if (source[i] == u'\0') {
      ++i;
      break;
    }
  }
  if (!no_fill) std::fill(destination + i, destination + n, u'\0');
}

std::size_t wide_length(const char16_t* text) { return std::u16string_view(text).size(); }

void bounded_append(char* destination, const char* source, std::size_t n) {
  const std::size_t start = std::strlen(destination);
  const std::size_t count = std::min(std::strlen(source), n);
  std::memcpy(destination + start, source, count);
  destination[start + count] = '\0';
}

}  // namespace inkrec
