// A small database for the dictionary tests: charset 2 holds the separator
// '-'; charsets 5 ("eng") and 6 ("deu") hold the letters a..z in order, and
// 6 also 'ä', which folds to 'a' and sorts after it on the second level;
// charsets 7 ("xyz") and 8 ("bad") hold nothing.
#pragma once

#include <cstdint>
#include <string>

#include "engine/database/data_store.h"

namespace inkrec::testing {

inline CharSet charset_record(std::uint32_t id, const char16_t* code) {
  CharSet record{};
  record.id = id;
  record.ortho = 1;
  std::u16string(code).copy(record.word_list_code, 3);
  return record;
}

inline Symb symb_record(char16_t code, char16_t folded) {
  Symb record{};
  record.code = code;
  record.third_code = folded;
  return record;
}

inline void add_dictionary_charsets(DataStore& store) {
  store.add_charset(charset_record(2, u""));
  store.add_charset(charset_record(5, u"eng"));
  store.add_charset(charset_record(6, u"deu"));
  store.add_charset(charset_record(7, u"xyz"));
  store.add_charset(charset_record(8, u"bad"));
  store.add_symb(symb_record(u'-', u'-'));
  store.add_charset_symb({2, u'-', {1, 0, 0}, {}});
  store.add_symb(symb_record(u'ä', u'a'));
  for (char16_t c = u'a'; c <= u'z'; ++c) {
    store.add_symb(symb_record(c, c));
    const auto order = static_cast<std::uint8_t>(c - u'a' + 1);
    store.add_charset_symb({5, c, {order, 0, 0}, {}});
    store.add_charset_symb({6, c, {order, 0, 0}, {}});
  }
  store.add_charset_symb({6, u'ä', {1, 1, 0}, {}});
}

}  // namespace inkrec::testing
