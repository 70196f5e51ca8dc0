#include "app/windows/word_wrap.h"

#include <algorithm>

namespace ductra {
namespace {

bool is_space(char16_t unit) { return unit == u' '; }
bool is_newline(char16_t unit) { return unit == u'\n'; }

std::size_t skip_spaces(std::u16string_view text, std::size_t i) {
  while (i < text.size() && is_space(text[i])) ++i;
  return i;
}

std::size_t word_end(std::u16string_view text, std::size_t i) {
  while (i < text.size() && !is_space(text[i]) && !is_newline(text[i])) ++i;
  return i;
}

int width_before(std::span<const int> extents, std::size_t end) { return end == 0 ? 0 : extents[end - 1]; }

}  // namespace

WrappedLine wrap_line(std::u16string_view text, std::span<const int> extents, int max_width) {
  WrappedLine line;
  std::size_t i = skip_spaces(text, 0);
  line.width = width_before(extents, i);
  bool first_word = true;
  while (i < text.size()) {
    if (is_newline(text[i])) {
      line.length = i;
      return line;
    }
    const std::size_t end = word_end(text, i);
    if (extents[end - 1] < max_width) {
      line.width = extents[end - 1];
      first_word = false;
      i = skip_spaces(text, end);
      continue;
    }
    if (first_word) {
      std::size_t fit = i;
      while (fit < end && extents[fit] < max_width) ++fit;
      fit = std::max<std::size_t>(fit, 1);
      line.length = fit;
      line.width = extents[fit - 1];
      return line;
    }
    line.length = i;
    return line;
  }
  line.length = text.size();
  return line;
}

WrappedText wrap_text(std::u16string_view text, const ExtentsOf& extents_of, int max_width, int max_height,
                      int line_height) {
  WrappedText wrapped;
  std::size_t start = 0;
  while (start < text.size() && wrapped.height + line_height <= max_height) {
    const std::u16string_view rest = text.substr(start);
    const std::vector<int> extents = extents_of(rest);
    WrappedLine line = wrap_line(rest, extents, max_width);
    const bool ends_in_newline = line.length < rest.size() && is_newline(rest[line.length]);
    line.start = start;
    start += line.length + (ends_in_newline ? 1 : 0);
    wrapped.width = std::max(wrapped.width, line.width);
    wrapped.height += line_height;
    wrapped.lines.push_back(line);
  }
  return wrapped;
}

}  // namespace ductra
