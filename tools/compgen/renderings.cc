#include "tools/compgen/renderings.h"

#include <charconv>
#include <utility>

namespace compgen {

namespace {

// The named rendering's names of the third and fourth units, and their
// names in the literal rendering.
constexpr std::pair<std::string_view, std::string_view> kUnitNames[] = {
    {"kThirdUnitPattern", "kPatternU3_"},
    {"kThirdUnitComposition", "kCompositionU3_"},
    {"kFourthUnitPattern", "kPatternU4_"},
    {"kFourthUnitComposition", "kCompositionU4_"},
};

std::string renamed(std::string name) {
  for (auto [from, to] : kUnitNames) {
    if (starts_with(name, from)) return std::string(to) + name.substr(from.size());
  }
  return name;
}

void rename_all(std::vector<std::string>* names) {
  for (std::string& name : *names) name = renamed(std::move(name));
}

bool is_code_list_name(std::string_view name) {
  return name == "kAnyCode" || starts_with(name, "kCodeList");
}

std::vector<std::string> code_list_names(std::string_view text) {
  std::vector<std::string> lists;
  for (std::string& name : backticked(text)) {
    if (is_code_list_name(name)) lists.push_back(std::move(name));
  }
  return lists;
}

std::optional<int> leading_number(std::string_view text) {
  int value = 0;
  auto [ptr, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || ptr == text.data()) return std::nullopt;
  return value;
}

// The number inside the first parentheses of `text`.
std::optional<int> parenthesised_number(std::string_view text) {
  const std::size_t open = text.find('(');
  if (open == std::string_view::npos) return std::nullopt;
  return leading_number(text.substr(open + 1));
}

std::string_view after(std::string_view text, std::string_view marker) {
  const std::size_t at = text.find(marker);
  return at == std::string_view::npos ? std::string_view() : text.substr(at + marker.size());
}

std::string_view before(std::string_view text, std::string_view marker) {
  return text.substr(0, text.find(marker));
}

std::vector<std::string_view> split(std::string_view text, std::string_view separator) {
  std::vector<std::string_view> parts;
  while (true) {
    const std::size_t at = text.find(separator);
    parts.push_back(trim(text.substr(0, at)));
    if (at == std::string_view::npos) break;
    text.remove_prefix(at + separator.size());
  }
  return parts;
}

class Reader {
 public:
  explicit Reader(std::vector<std::string>* errors) : errors_(errors) {}
  void fail(std::string_view what, std::string_view line) {
    errors_->push_back(std::string(what) + ": " + std::string(line));
  }
  template <class T>
  bool got(const std::optional<T>& value, std::string_view what, std::string_view line) {
    if (!value) fail(what, line);
    return value.has_value();
  }

 private:
  std::vector<std::string>* errors_;
};

void read_code_lists(std::string_view text, NamedRendering* out, Reader* reader) {
  for (std::string_view line : lines_of(text)) {
    if (!starts_with(line, "| `kCodeList") && !starts_with(line, "| `kAnyCode`")) continue;
    const std::vector<std::string_view> cells = table_cells(line);
    const std::vector<std::string> names = backticked(line);
    if (cells.size() != 3 || names.empty()) {
      reader->fail("a code-list row of three cells", line);
      continue;
    }
    const std::optional<Codes> codes = hex_codes(cells[1]);
    if (!reader->got(codes, "codes", line)) continue;
    if (leading_number(cells[2]) != static_cast<int>(codes->size())) {
      reader->fail("the stated count", line);
    }
    out->code_list_order.push_back(names[0]);
    out->code_lists[names[0]] = *codes;
  }
}

void read_first_unit_patterns(std::string_view text, NamedRendering* out, Reader* reader) {
  for (std::string_view line : lines_of(text)) {
    if (!starts_with(line, "| `kCommonPattern") && !starts_with(line, "| `kEnglishPattern")) {
      continue;
    }
    const std::vector<std::string_view> cells = table_cells(line);
    if (cells.size() != 3 || backticked(cells[0]).empty()) {
      reader->fail("a pattern row of three cells", line);
      continue;
    }
    NamedPattern pattern;
    pattern.lists = code_list_names(cells[1]);
    pattern.stated_length = leading_number(cells[2]).value_or(-1);
    out->patterns[backticked(cells[0]).at(0)] = std::move(pattern);
  }
}

void read_unit_constants(std::string_view text, NamedRendering* out, Reader* reader) {
  for (std::string_view line : lines_of(text)) {
    if (!(starts_with(line, "- `kThirdUnit") || starts_with(line, "- `kFourthUnit")) ||
        line.find("`: `") == std::string_view::npos) {
      continue;
    }
    const std::string name = renamed(backticked(line).at(0));
    if (line.find("`CodePattern` of ") != std::string_view::npos) {
      NamedPattern pattern;
      pattern.lists = code_list_names(before(line, "(output characters"));
      pattern.characters = unicode_escapes(after(line, "(output characters"));
      out->patterns[name] = std::move(pattern);
    } else if (line.find("`Composition` of the letters ") != std::string_view::npos) {
      NamedComposition composition;
      composition.letters = unicode_escapes(before(after(line, "the letters "), " and the positions"));
      composition.lists = code_list_names(after(line, " and the positions"));
      out->compositions[name] = std::move(composition);
    } else {
      reader->fail("a pattern or a composition", line);
    }
  }
}

// One "- 4 Russian: starts with ...; then 54 patterns: ...; ..." line.
void read_named_fill(std::string_view line, NamedRendering* out, Reader* reader) {
  Fill fill;
  std::string_view text = line.substr(2);
  fill.charset = leading_number(text).value_or(-1);
  const std::size_t colon = text.find(':');
  fill.name = std::string(trim(text.substr(text.find(' ') + 1, colon - text.find(' ') - 1)));
  for (std::string_view part : split(text.substr(colon + 1), "; ")) {
    std::optional<std::vector<std::string>> names;
    if (starts_with(part, "starts with a copy of the common list")) {
      fill.start = Start::kCommonSet;
      fill.stated_start = parenthesised_number(part).value_or(-1);
    } else if (starts_with(part, "starts with a copy of slot ")) {
      fill.start = Start::kCopyOfSlot;
      fill.source_slot = leading_number(after(part, "slot ")).value_or(-1);
      fill.stated_start = parenthesised_number(part).value_or(-1);
    } else if (part == "starts empty") {
      fill.start = Start::kEmpty;
      fill.stated_start = 0;
    } else if (starts_with(part, "then ")) {
      fill.stated_own = leading_number(after(part, "then ")).value_or(-1);
      names = constant_list(after(part, ": "));
      if (reader->got(names, "a list of patterns", line)) fill.patterns = *names;
    } else if (part == "no own patterns") {
      fill.stated_own = 0;
    } else if (starts_with(part, "compositions (")) {
      names = constant_list(after(part, ": "));
      if (reader->got(names, "a list of compositions", line)) fill.compositions = *names;
    } else if (part == "no compositions") {
    } else if (starts_with(part, "patterns: ")) {
      fill.prefixed = true;
      fill.stated_after_step = leading_number(after(part, ": ")).value_or(-1);
      fill.stated_at_end = leading_number(after(part, ", ")).value_or(-1);
    } else if (starts_with(part, "patterns at the end: ")) {
      fill.stated_at_end = leading_number(after(part, ": ")).value_or(-1);
    } else {
      reader->fail("a part of a slot's fill", part);
    }
  }
  rename_all(&fill.patterns);
  rename_all(&fill.compositions);
  out->fills.push_back(std::move(fill));
}

void read_named_fills(std::string_view text, NamedRendering* out, Reader* reader) {
  for (std::string_view line : lines_of(text)) {
    if (line.find("The common list has ") != std::string_view::npos) {
      const std::optional<std::vector<std::string>> names =
          constant_list(after(line, "in this order: "));
      if (reader->got(names, "the common list", line)) {
        out->common_set = *names;
        rename_all(&out->common_set);
      }
    } else if (starts_with(line, "- ") && line.size() > 2 && line[2] >= '0' && line[2] <= '9' &&
               line.find(": starts ") != std::string_view::npos) {
      read_named_fill(line, out, reader);
    }
  }
}

// The cell without its remarks in parentheses ("(14 letters, full)"); a
// parenthesised U+XXXX stays.
std::string without_remarks(std::string_view cell) {
  std::string out;
  while (true) {
    const std::size_t open = cell.find('(');
    const std::size_t close = cell.find(')', open);
    if (open == std::string_view::npos || close == std::string_view::npos) break;
    const std::string_view inside = cell.substr(open, close + 1 - open);
    out += cell.substr(0, open);
    if (inside.find("U+") != std::string_view::npos) out += inside;
    cell.remove_prefix(close + 1);
  }
  return out + std::string(cell);
}

std::u16string letters_of(std::string_view cell) {
  if (starts_with(cell, "one letter: ")) cell.remove_prefix(12);
  const std::string text = without_remarks(cell);
  std::u16string letters;
  for (std::string_view item : split(text, ", ")) {
    const std::u16string escaped = unicode_escapes(item);
    if (!escaped.empty()) {
      letters += escaped;
    } else if (std::optional<char16_t> letter = first_character(trim(before(item, " (")))) {
      letters.push_back(*letter);
    }
  }
  return letters;
}

void read_literal_row(std::string_view line, LiteralRendering* out, Reader* reader) {
  if (backticked(line).empty()) return reader->fail("a named row", line);
  const std::string name = backticked(line).front();
  const std::optional<std::vector<Codes>> sets = brace_sets(line);
  if (!reader->got(sets, "code sets", line)) return;
  if (starts_with(name, "kPatternU")) {
    out->patterns[name] = LiteralPattern{*sets, unicode_escapes(line)};
  } else if (starts_with(name, "kLettersU")) {
    const std::vector<std::string_view> cells = table_cells(line);
    if (cells.size() < 3) return reader->fail("a letter-list row", line);
    out->letter_lists[name] = letters_of(cells[1] == "letter list" ? cells[2] : cells[1]);
  } else if (starts_with(name, "kCompositionU")) {
    std::string letter_list;
    for (std::string& quoted : backticked(line)) {
      if (starts_with(quoted, "kLettersU") && letter_list.empty()) letter_list = quoted;
    }
    if (letter_list.empty()) return reader->fail("the letter list of a composition", line);
    out->compositions[name] = LiteralComposition{letter_list, *sets};
  }
}

int charset_named(const std::vector<Fill>& fills, std::string_view name) {
  for (const Fill& fill : fills) {
    if (fill.name == name) return fill.charset;
  }
  return -1;
}

void read_literal_fill(std::string_view line, LiteralRendering* out, Reader* reader) {
  const std::vector<std::string_view> cells = table_cells(line);
  if (cells.size() != 5) return reader->fail("a fill row of five cells", line);
  Fill fill;
  fill.charset = leading_number(cells[1]).value_or(-1);
  fill.name = std::string(trim(after(cells[1], " ")));
  if (cells[2] == "the common set") {
    fill.start = Start::kCommonSet;
  } else if (cells[2] == "nothing") {
    fill.start = Start::kEmpty;
  } else {
    fill.start = Start::kCopyOfSlot;
    fill.source_slot = charset_named(out->fills, cells[2]);
    if (fill.source_slot < 0) reader->fail("a slot filled before", line);
  }
  const std::optional<std::vector<std::string>> patterns = constant_list(cells[3]);
  const std::optional<std::vector<std::string>> compositions = constant_list(cells[4]);
  if (reader->got(patterns, "a list of patterns", line)) fill.patterns = *patterns;
  if (reader->got(compositions, "a list of compositions", line)) fill.compositions = *compositions;
  out->fills.push_back(std::move(fill));
}

void read_literal_fills(std::string_view text, LiteralRendering* out, Reader* reader) {
  for (std::string_view line : lines_of(text)) {
    if (line.find("builds the common pattern set, in this order: ") != std::string_view::npos) {
      const std::optional<std::vector<std::string>> names =
          constant_list(before(after(line, "in this order: "), " ("));
      if (reader->got(names, "the common set", line)) out->common_set = *names;
    } else if (starts_with(line, "| `fill_")) {
      read_literal_fill(line, out, reader);
    }
  }
}

}  // namespace

NamedRendering parse_named(std::string_view text, std::vector<std::string>* errors) {
  NamedRendering out;
  Reader reader(errors);
  read_code_lists(text, &out, &reader);
  read_first_unit_patterns(text, &out, &reader);
  read_unit_constants(text, &out, &reader);
  read_named_fills(text, &out, &reader);
  return out;
}

LiteralRendering parse_literal(std::string_view text, std::vector<std::string>* errors) {
  LiteralRendering out;
  Reader reader(errors);
  read_literal_fills(text, &out, &reader);
  for (std::string_view line : lines_of(text)) {
    if (starts_with(line, "| `kPatternU") || starts_with(line, "| `kLettersU") ||
        starts_with(line, "| `kCompositionU")) {
      read_literal_row(line, &out, &reader);
    }
  }
  return out;
}

}  // namespace compgen
