// A small database with records in every table, sound as the knowledge
// base's self-test sees it, for the tests of the text listing and the
// self-test.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <string>

#include "engine/database/data_store.h"
#include "engine/foundation/status.h"

namespace inkrec::testing {

// A stroke of `points` points going down and right by `step` units a point.
inline Stroke diagonal_stroke(int points, int step) {
  Stroke stroke;
  for (int i = 0; i < points; ++i) {
    stroke.push_back({static_cast<std::int16_t>(i * step), static_cast<std::int16_t>(i * step)});
  }
  return stroke;
}

inline Shape shape_of(const std::string& name, int samples) {
  Shape shape;
  for (int i = 0; i < samples; ++i) {
    Sample* sample = shape.samples.push_default();
    sample->second_guide = 40;
    sample->strokes.push_back(diagonal_stroke(25, 2));
  }
  name.copy(shape.info.name, sizeof shape.info.name);
  return shape;
}

template <std::size_t N>
void copy_units(std::u16string_view text, char16_t (&field)[N]) {
  text.copy(field, N);
}

inline CharSet charset(std::uint32_t id, std::u16string_view name, std::u16string_view code,
                       std::uint8_t direct) {
  CharSet record{};
  record.id = id;
  record.ortho = 1;
  copy_units(name, record.name);
  copy_units(code, record.word_list_code);
  record.direct = direct;
  return record;
}

inline Symb symb(char16_t code, std::uint32_t sides, std::uint8_t def_num) {
  Symb record{};
  record.code = code;
  record.sides = sides;
  record.def_num = def_num;
  return record;
}

inline ComplexVariant complex_variant(std::uint32_t set, std::uint32_t use, std::uint32_t kind,
                                      char16_t menuc, std::uint16_t reference,
                                      std::uint16_t detail) {
  ComplexVariant record{};
  record.set = set;
  record.use = use;
  record.kind = kind;
  record.menuc = menuc;
  record.reference_id = reference;
  record.detail_shape_id = detail;
  return record;
}

inline Variant variant(std::uint16_t id, std::uint32_t set, char16_t menuc, std::uint16_t shape_id,
                       std::uint16_t etalon_id, std::uint32_t use = 0) {
  Variant record;
  record.id = id;
  record.idSet = set;
  record.menuc = menuc;
  record.shape_id = shape_id;
  record.etalon_id = etalon_id;
  record.special_recognition = etalon_id == kNoEtalon ? kSpecialRecognition : 0;
  record.idUse = use;
  return record;
}

inline void add_etalon(KnowledgeBase& knowledge_base, std::uint16_t id, std::uint16_t users) {
  Etalon* etalon = knowledge_base.etalons().push_default();
  ASSERT_NE(etalon, nullptr);
  etalon->id = id;
  etalon->reference_count_ = users;
  ASSERT_EQ(etalon->cells.resize(7, kCellLevelZero), kOk);
}

inline SpecPairGroup cluster(std::uint16_t first, std::initializer_list<SpecPair> pairs) {
  SpecPairGroup group;
  group.key = first;
  for (const SpecPair& pair : pairs) group.pairs.push_back(pair);
  return group;
}

inline Tuple tuple(std::uint16_t rule, std::initializer_list<std::uint16_t> first_greedy,
                   std::initializer_list<std::uint16_t> second_greedy,
                   std::initializer_list<std::uint16_t> weak, bool complex_first = false) {
  Tuple made;
  made.rule = rule;
  for (const std::uint16_t id : first_greedy) made.lists[0].push_back(id);
  for (const std::uint16_t id : second_greedy) made.lists[1].push_back(id);
  for (const std::uint16_t id : weak) made.lists[2].push_back(id);
  made.complex[0] = complex_first ? 1 : 0;
  return made;
}

// Two charsets (5 English, 4 Russian); the symbols a, b, i and я; three
// shapes ("a", "dot", the detail of i, and "b"); two Rafs of 7 cells in
// all; five variants on three etalons (variant 3 is the detail "dot",
// variant 4 is special); two complex variants; special pairs simple-simple
// and simple-complex; two tuples.
inline void fill_small_database(DataStore& store) {
  ASSERT_EQ(store.add_charset(charset(5, u"English", u"eng", 1)), kOk);
  ASSERT_EQ(store.add_charset(charset(4, u"Русский", u"rus", 0)), kOk);
  ASSERT_EQ(store.add_symb(symb(u'a', 0, 1)), kOk);
  Symb b = symb(u'b', kSideTop | kSideRight, 2);
  b.second_code = u'B';
  b.third_code = u'6';
  b.control = 1;
  ASSERT_EQ(store.add_symb(b), kOk);
  ASSERT_EQ(store.add_symb(symb(u'i', kSideBottom | kSideLeft, 1)), kOk);
  ASSERT_EQ(store.add_symb(symb(u'я', 0, 1)), kOk);
  ASSERT_EQ(store.add_charset_symb({5, u'a', {1, 2, 3}, {}}), kOk);
  ASSERT_EQ(store.add_charset_symb({5, u'b', {}, {}}), kOk);
  ASSERT_EQ(store.add_charset_symb({5, u'i', {0, 0, 1}, {}}), kOk);
  ASSERT_EQ(store.add_charset_symb({4, u'я', {}, {}}), kOk);

  ASSERT_EQ(store.add_shape(shape_of("a", 2)), kOk);
  ASSERT_EQ(store.add_shape(shape_of("dot", 1)), kOk);
  ASSERT_EQ(store.add_shape(shape_of("b", 1)), kOk);
  ASSERT_EQ(store.add_raf(Raf{0, 0, 2, 2, 3, 0}), kOk);
  ASSERT_EQ(store.add_raf(Raf{0, 0, 3, 1, 1, 0}), kOk);

  KnowledgeBase& knowledge_base = store.knowledge_base();
  for (const Variant& record :
       {variant(1, 5, u'a', 1, 1), variant(2, 5, u'a', 1, 1, 1), variant(3, 5, 0, 2, 2),
        variant(4, 5, u'b', 3, kNoEtalon, 2), variant(5, 4, u'я', 3, 3)}) {
    ASSERT_EQ(knowledge_base.variants().push_back(record), kOk);
  }
  add_etalon(knowledge_base, 1, 2);
  add_etalon(knowledge_base, 2, 1);
  add_etalon(knowledge_base, 3, 1);
  ASSERT_EQ(knowledge_base.reindex(true), kOk);

  ComplexVariant i = complex_variant(5, 1, 0, u'i', 3, 2);
  i.add = kSideTop;
  i.cnt = 2;
  i.group = 1;
  i.show = 1;
  i.rec_mode = 3;
  ASSERT_EQ(store.add_complex_variant(i), kOk);
  ASSERT_EQ(store.add_complex_variant(complex_variant(5, 0, 1, u'b', 4, 2)), kOk);

  SpecPairsEntry* ss = store.spec_pairs_ss_mutable().push_default();
  ASSERT_NE(ss, nullptr);
  ss->charset_id = 5;
  ASSERT_EQ(ss->groups.push_back(cluster(1, {{2, -1, -1}, {4, 3, 0}})), kOk);
  ASSERT_EQ(ss->groups.push_back(cluster(2, {{1, 10, 5}})), kOk);
  SpecPairsEntry* sc = store.spec_pairs_sc_mutable().push_default();
  ASSERT_NE(sc, nullptr);
  sc->charset_id = 5;
  ASSERT_EQ(sc->groups.push_back(cluster(1, {{1, -1, -1}})), kOk);

  TuplesEntry* tuples = store.tuples_mutable().push_default();
  ASSERT_NE(tuples, nullptr);
  tuples->charset_id = 5;
  ASSERT_EQ(tuples->tuples.push_back(tuple(84, {1, 2}, {3}, {})), kOk);
  ASSERT_EQ(tuples->tuples.push_back(tuple(1, {1, 2}, {}, {5}, true)), kOk);
}

}  // namespace inkrec::testing
