// Reading a database recipe; the format is described in recipe.h.
#include "tools/inkrec/recipe.h"

#include <charconv>
#include <filesystem>
#include <fstream>
#include <limits>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/foundation/utf.h"

namespace inkrec::tool {
namespace {

struct Fields {
  std::vector<std::string> positional;
  std::map<std::string, std::string, std::less<>> named;
};

bool parse_integer(std::string_view text, std::int64_t* value) {
  bool negative = false;
  if (text.starts_with('-')) {
    negative = true;
    text.remove_prefix(1);
  }
  int base = 10;
  if (text.starts_with("0x") || text.starts_with("0X")) {
    base = 16;
    text.remove_prefix(2);
  }
  if (text.empty()) return false;
  std::uint64_t magnitude = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), magnitude, base);
  if (error != std::errc() || end != text.data() + text.size() || magnitude > (1ull << 40)) {
    return false;
  }
  *value = negative ? -static_cast<std::int64_t>(magnitude) : static_cast<std::int64_t>(magnitude);
  return true;
}

template <typename T>
bool parse_number(std::string_view text, T* value) {
  std::int64_t wide = 0;
  if (!parse_integer(text, &wide) || wide < std::numeric_limits<T>::min() ||
      wide > std::numeric_limits<T>::max()) {
    return false;
  }
  *value = static_cast<T>(wide);
  return true;
}

// Splits "a,b,c" into exactly `count` numbers.
template <typename T>
bool parse_number_list(std::string_view text, T* values, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t comma = text.find(',');
    const bool last = i + 1 == count;
    if (last != (comma == std::string_view::npos)) return false;
    if (!parse_number(text.substr(0, comma), &values[i])) return false;
    if (!last) text.remove_prefix(comma + 1);
  }
  return true;
}

bool parse_point(std::string_view text, PackedPoint* point) {
  const std::size_t comma = text.find(',');
  return comma != std::string_view::npos && parse_number(text.substr(0, comma), &point->x) &&
         parse_number(text.substr(comma + 1), &point->y);
}

// Reads one recipe file (and the sample files it names) into the recipe.
class RecipeReader {
 public:
  RecipeReader(Recipe* recipe, std::string* error) : recipe_(*recipe), error_(*error) {}

  bool read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    file_ = path;
    line_ = 0;
    if (!in) return fail("cannot be read");
    std::string text;
    while (std::getline(in, text)) {
      ++line_;
      if (!read_line(text)) return false;
    }
    return true;
  }

 private:
  bool fail(const std::string& what) {
    error_ = file_ + ":" + std::to_string(line_) + ": " + what;
    return false;
  }

  bool read_line(std::string_view text) {
    if (const std::size_t hash = text.find('#'); hash != std::string_view::npos) {
      text = text.substr(0, hash);
    }
    Fields fields;
    if (!split(text, &fields)) return false;
    if (fields.positional.empty()) return fields.named.empty() || fail("a line without keyword");
    const std::string keyword = fields.positional.front();
    fields.positional.erase(fields.positional.begin());
    if (keyword == "charset") return charset_line(fields);
    if (keyword == "symbol") return symbol_line(fields);
    if (keyword == "charsym") return charset_symb_line(fields);
    if (keyword == "raf") return raf_line(fields);
    if (keyword == "shape") return shape_line(fields);
    if (keyword == "variant") return variant_line(fields);
    if (keyword == "complex") return complex_line(fields);
    if (keyword == "sample") return sample_line(text);
    if (keyword == "samples") return samples_line(fields);
    return fail("unknown keyword \"" + keyword + "\"");
  }

  // Words, quoted texts and key=value pairs.
  bool split(std::string_view text, Fields* fields) {
    std::size_t i = 0;
    while (true) {
      while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\r')) ++i;
      if (i == text.size()) return true;
      std::string word;
      if (text[i] == '"') {
        const std::size_t close = text.find('"', i + 1);
        if (close == std::string_view::npos) return fail("a text without its closing quote");
        word = std::string(text.substr(i + 1, close - i - 1));
        i = close + 1;
        fields->positional.push_back(std::move(word));
        continue;
      }
      const std::size_t end = text.find_first_of(" \t\r", i);
      word = std::string(text.substr(i, end == std::string_view::npos ? text.size() - i : end - i));
      i = end == std::string_view::npos ? text.size() : end;
      const std::size_t equals = word.find('=');
      if (equals == std::string::npos) {
        if (!fields->named.empty()) return fail("\"" + word + "\" after the named fields");
        fields->positional.push_back(std::move(word));
      } else if (!fields->named.emplace(word.substr(0, equals), word.substr(equals + 1)).second) {
        return fail("field \"" + word.substr(0, equals) + "\" given twice");
      }
    }
  }

  bool expect_positional(const Fields& fields, std::size_t count, const char* form) {
    if (fields.positional.size() == count) return true;
    return fail(std::string("expected ") + form);
  }

  template <typename T>
  bool positional(const Fields& fields, std::size_t index, const char* what, T* value) {
    if (parse_number(fields.positional[index], value)) return true;
    return fail(std::string("bad ") + what + " \"" + fields.positional[index] + "\"");
  }

  // An optional key=value; the key is consumed.
  template <typename T>
  bool named(Fields& fields, const char* key, T* value) {
    const auto found = fields.named.find(key);
    if (found == fields.named.end()) return true;
    const bool ok = parse_number(found->second, value);
    if (!ok) fail(std::string("bad ") + key + " \"" + found->second + "\"");
    fields.named.erase(found);
    return ok;
  }

  template <typename T>
  bool required(Fields& fields, const char* key, T* value) {
    if (!fields.named.contains(key)) return fail(std::string("missing ") + key + "=");
    return named(fields, key, value);
  }

  template <typename T>
  bool named_list(Fields& fields, const char* key, T* values, std::size_t count) {
    const auto found = fields.named.find(key);
    if (found == fields.named.end()) return true;
    const bool ok = parse_number_list(found->second, values, count);
    if (!ok) fail(std::string("bad ") + key + " \"" + found->second + "\"");
    fields.named.erase(found);
    return ok;
  }

  bool all_used(const Fields& fields) {
    if (fields.named.empty()) return true;
    return fail("unknown field \"" + fields.named.begin()->first + "\"");
  }

  template <typename Key, typename Record>
  bool add(std::map<Key, RecipeEntry<Record>>& table, const Key& key, const Record& record,
           const char* what) {
    const auto [entry, added] = table.try_emplace(key);
    if (!added) {
      return fail(std::string(what) + " given twice (first on line " +
                  std::to_string(entry->second.line) + ")");
    }
    entry->second.record = record;
    entry->second.line = line_;
    return true;
  }

  bool charset_line(Fields& fields) {
    CharSet record{};
    if (!expect_positional(fields, 2, "charset ID NAME")) return false;
    if (!positional(fields, 0, "charset id", &record.id)) return false;
    const std::u16string name = utf8_to_utf16(fields.positional[1]);
    if (name.empty() || name.size() > std::size(record.name)) {
      return fail("a charset name has 1 to 30 UTF-16 units");
    }
    name.copy(record.name, std::size(record.name));
    if (const auto code = fields.named.find("wordlist"); code != fields.named.end()) {
      if (code->second.size() != 3) return fail("a word list code has three letters");
      for (std::size_t i = 0; i < 3; ++i) record.word_list_code[i] = char16_t(code->second[i]);
      fields.named.erase(code);
    }
    if (!named(fields, "ortho", &record.ortho) || !named(fields, "direct", &record.direct)) {
      return false;
    }
    return all_used(fields) && add(recipe_.charsets, record.id, record, "charset");
  }

  bool symbol_line(Fields& fields) {
    Symb record{};
    if (!expect_positional(fields, 1, "symbol CODE")) return false;
    if (!positional(fields, 0, "symbol code", &record.code) ||
        !named(fields, "second", &record.second_code) ||
        !named(fields, "third", &record.third_code) || !named(fields, "sides", &record.sides) ||
        !named(fields, "def", &record.def_num) || !named(fields, "control", &record.control)) {
      return false;
    }
    return all_used(fields) && add(recipe_.symbs, record.code, record, "symbol");
  }

  bool charset_symb_line(Fields& fields) {
    CharSetSymb record{};
    if (!expect_positional(fields, 2, "charsym CHARSET CODE")) return false;
    if (!positional(fields, 0, "charset id", &record.charset_id) ||
        !positional(fields, 1, "symbol code", &record.code) ||
        !named_list(fields, "values", record.values, 3)) {
      return false;
    }
    return all_used(fields) && add(recipe_.charset_symbs, std::pair(record.charset_id, record.code),
                                   record, "charset symbol");
  }

  bool raf_line(Fields& fields) {
    Raf record{};
    if (!expect_positional(fields, 4, "raf ID NX NY WEIGHT")) return false;
    if (!positional(fields, 0, "raf id", &record.id) || !positional(fields, 1, "nx", &record.nx) ||
        !positional(fields, 2, "ny", &record.ny) || !positional(fields, 3, "weight", &record.ves)) {
      return false;
    }
    if (record.id == 0 || record.nx == 0 || record.ny == 0) {
      return fail("a raf has an id and a grid of at least one cell");
    }
    return all_used(fields) && add(recipe_.rafs, record.id, record, "raf");
  }

  bool shape_line(Fields& fields) {
    ShapeInfo info{};
    if (!expect_positional(fields, 2, "shape ID NAME")) return false;
    if (!positional(fields, 0, "shape id", &info.id)) return false;
    const std::string& name = fields.positional[1];
    if (name.size() >= sizeof info.name) return fail("a shape name has at most 13 bytes");
    name.copy(info.name, sizeof info.name);
    if (!named(fields, "height_limit", &info.height_limit) ||
        !named(fields, "width", &info.width_factor) ||
        !named(fields, "height", &info.height_factor) ||
        !named(fields, "minima", &info.minima_limit) ||
        !named(fields, "maxima", &info.maxima_limit) ||
        !named(fields, "count", &info.count_limit) ||
        !named(fields, "segments", &info.segment_count) ||
        !named_list(fields, "masks", info.segment_masks, 2) ||
        !named(fields, "second_count", &info.min_second_count)) {
      return false;
    }
    if (info.id == 0) return fail("shape ids start at 1");
    if (!all_used(fields)) return false;
    const auto [entry, added] = recipe_.shapes.try_emplace(info.id);
    if (!added) {
      return fail("shape given twice (first on line " + std::to_string(entry->second.line) + ")");
    }
    entry->second.record.info = info;
    entry->second.line = line_;
    return true;
  }

  bool variant_line(Fields& fields) {
    Variant record;
    if (!expect_positional(fields, 1, "variant ID")) return false;
    if (!positional(fields, 0, "variant id", &record.id) ||
        !required(fields, "charset", &record.idSet) || !required(fields, "code", &record.menuc) ||
        !required(fields, "shape", &record.shape_id) || !named(fields, "use", &record.idUse) ||
        !named(fields, "group", &record.copybook_group) ||
        !named(fields, "representative", &record.copybook_representative) ||
        !named(fields, "properties", &record.properties) ||
        !named(fields, "special", &record.special_recognition) ||
        !named(fields, "height_flag", &record.height_flag) ||
        !named(fields, "second", &record.second_code) ||
        !named(fields, "cursive", &record.cursive_flag)) {
      return false;
    }
    if (record.id == 0) return fail("variant ids start at 1");
    return all_used(fields) && add(recipe_.variants, record.id, record, "variant");
  }

  bool complex_line(Fields& fields) {
    ComplexVariant record{};
    if (!expect_positional(fields, 1, "complex ID")) return false;
    if (!positional(fields, 0, "complex variant id", &record.id) ||
        !required(fields, "charset", &record.set) || !required(fields, "code", &record.menuc) ||
        !required(fields, "first", &record.reference_id) ||
        !required(fields, "second", &record.detail_shape_id) ||
        !required(fields, "symbol", &record.symbol_id) || !named(fields, "kind", &record.kind) ||
        !named(fields, "use", &record.use) || !named(fields, "sides", &record.add) ||
        !named(fields, "count", &record.cnt) || !named(fields, "group", &record.group) ||
        !named(fields, "show", &record.show) || !named(fields, "mode", &record.rec_mode) ||
        !named(fields, "whole", &record.whole_shape_id) ||
        !named(fields, "first_code", &record.first_component) ||
        !named(fields, "second_code", &record.second_component) ||
        !named(fields, "tolerance", &record.tolerance) || !named(fields, "pass", &record.pass_flag)) {
      return false;
    }
    if (record.id == 0) return fail("complex variant ids start at 1");
    return all_used(fields) && add(recipe_.complex_variants, record.id, record, "complex variant");
  }

  Shape* shape_for_samples(std::string_view id_text) {
    std::uint16_t id = 0;
    if (!parse_number(id_text, &id)) {
      fail("bad shape id \"" + std::string(id_text) + "\"");
      return nullptr;
    }
    const auto found = recipe_.shapes.find(id);
    if (found == recipe_.shapes.end()) {
      fail("samples of shape " + std::to_string(id) + " before its shape line");
      return nullptr;
    }
    return &found->second.record;
  }

  // "sample SHAPE UPPER BASE STROKES": the strokes hold blanks, so the line
  // is taken apart by hand.
  bool sample_line(std::string_view text) {
    std::string_view rest = text.substr(text.find("sample") + 6);
    std::string_view words[3];
    for (std::string_view& word : words) {
      rest.remove_prefix(std::min(rest.find_first_not_of(" \t"), rest.size()));
      const std::size_t end = std::min(rest.find_first_of(" \t"), rest.size());
      word = rest.substr(0, end);
      rest.remove_prefix(end);
    }
    Shape* shape = shape_for_samples(words[0]);
    return shape != nullptr && add_sample(shape, words[1], words[2], rest);
  }

  bool add_sample(Shape* shape, std::string_view upper, std::string_view base,
                  std::string_view strokes) {
    Sample* sample = shape->samples.push_default();
    if (sample == nullptr) return fail("out of memory");
    if (!parse_number(upper, &sample->first_guide) || !parse_number(base, &sample->second_guide) ||
        sample->second_guide <= sample->first_guide) {
      return fail("a sample needs its upper line above its baseline");
    }
    if (!parse_strokes(strokes, &sample->strokes)) return fail("malformed strokes");
    return true;
  }

  bool samples_line(const Fields& fields) {
    if (!expect_positional(fields, 2, "samples SHAPE FILE")) return false;
    Shape* shape = shape_for_samples(fields.positional[0]);
    if (shape == nullptr) return false;
    const std::filesystem::path folder = std::filesystem::path(recipe_.path).parent_path();
    const std::string path = (folder / fields.positional[1]).string();
    std::ifstream in(path, std::ios::binary);
    if (!in) return fail("cannot read " + path);
    const std::string recipe_file = std::exchange(file_, path);
    const int recipe_line = std::exchange(line_, 0);
    std::string text;
    bool ok = true;
    while (ok && std::getline(in, text)) {
      ++line_;
      const std::size_t tab = text.find('\t');
      const std::size_t blank = text.find(' ');
      if (tab == std::string::npos || blank > tab) {
        ok = fail("expected \"UPPER BASE<TAB>STROKES\"");
        break;
      }
      const std::string_view view(text);
      ok = add_sample(shape, view.substr(0, blank), view.substr(blank + 1, tab - blank - 1),
                      view.substr(tab + 1));
    }
    file_ = recipe_file;
    line_ = recipe_line;
    return ok;
  }

  Recipe& recipe_;
  std::string& error_;
  std::string file_;
  int line_ = 0;
};

}  // namespace

bool parse_strokes(std::string_view text, StrokeArray* strokes) {
  while (!text.empty() && (text.back() == '\r' || text.back() == ' ')) text.remove_suffix(1);
  while (true) {
    const std::size_t semicolon = text.find(';');
    std::string_view part = text.substr(0, semicolon);
    Stroke* stroke = strokes->push_default();
    if (stroke == nullptr) return false;
    while (true) {
      part.remove_prefix(std::min(part.find_first_not_of(' '), part.size()));
      if (part.empty()) break;
      const std::size_t end = std::min(part.find(' '), part.size());
      PackedPoint point;
      if (!parse_point(part.substr(0, end), &point) || stroke->push_back(point) != 0) return false;
      part.remove_prefix(end);
    }
    if (stroke->empty()) return false;
    if (semicolon == std::string_view::npos) return true;
    text.remove_prefix(semicolon + 1);
  }
}

bool read_recipe(const std::string& path, Recipe* recipe, std::string* error) {
  recipe->path = path;
  return RecipeReader(recipe, error).read(path);
}

}  // namespace inkrec::tool
