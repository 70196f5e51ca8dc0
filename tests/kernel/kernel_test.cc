#include "engine/kernel/kernel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "engine/database/data_store.h"
#include "engine/foundation/char_slot_map.h"
#include "engine/foundation/status.h"
#include "engine/kernel/crman.h"
#include "inkrec/inkrec.h"
#include "tests/support/data_file.h"
#include "tests/support/ink_samples.h"
#include "tests/support/temp_dir.h"

namespace inkrec {
namespace {

constexpr std::uint32_t kNone = Kernel::kNoCodeIndex;

CharSet charset(std::uint32_t id, std::uint32_t ortho = 0, std::uint8_t direct = 0) {
  CharSet record{};
  record.id = id;
  record.ortho = ortho;
  record.direct = direct;
  return record;
}

ComplexVariant complex_variant(std::uint32_t set, std::uint16_t menuc, std::uint32_t kind,
                               std::uint32_t add) {
  ComplexVariant record{};
  record.set = set;
  record.menuc = menuc;
  record.kind = kind;
  record.add = add;
  return record;
}

// A database of four charsets: 5 {a, b}, 6 (a language) {b, c}, 7 (a
// language written right to left) {d} and 8 {} with variants, complex
// variants, tuples and special pairs in 5, 6 and 7.
class KernelTest : public ::testing::Test {
 protected:
  KernelTest() {
    testing::write_empty_data_file(dir_.file("qlmain.dt"));
    store_ = std::make_unique<DataStore>(dir_.file("qlmain.dt").c_str(), 1, 0, 0);
    for (const CharSet& record : {charset(5), charset(6, 1), charset(7, 1, 1), charset(8)}) {
      EXPECT_EQ(store_->add_charset(record), kOk);
    }
    for (const char16_t code : {u'a', u'b', u'c', u'd'}) {
      Symb symb{};
      symb.code = code;
      symb.third_code = code == u'c' ? 40 : 3;
      EXPECT_EQ(store_->add_symb(symb), kOk);
    }
    for (const auto& [set, code] :
         {std::pair{5u, u'b'}, {5u, u'a'}, {6u, u'c'}, {6u, u'b'}, {7u, u'd'}}) {
      EXPECT_EQ(store_->add_charset_symb({set, code, {}, {}}), kOk);
    }
    for (const ComplexVariant& record :
         {complex_variant(5, u'a', 1, kSideTop), complex_variant(6, u'c', 2, kSideLeft),
          complex_variant(6, u'b', 0, kSideRight), complex_variant(7, u'd', 1, kSideBottom)}) {
      EXPECT_EQ(store_->add_complex_variant(record), kOk);
    }
    add_variants({{5, u'a'}, {6, u'b'}, {7, u'd'}});
    EXPECT_EQ(store_->set_tuples(entries<TuplesTable>({5, 7})), kOk);
    EXPECT_EQ(store_->set_spec_pairs_ss(entries<SpecPairsTable>({6, 7})), kOk);
  }

  // Special variants (without etalons) with the next ids.
  void add_variants(const std::vector<std::pair<std::uint32_t, char16_t>>& variants) {
    KnowledgeBase& base = store_->knowledge_base();
    for (const auto& [set, code] : variants) {
      Variant variant;
      variant.id = static_cast<std::uint16_t>(base.variants().size() + 1);
      variant.idSet = set;
      variant.menuc = code;
      variant.etalon_id = kNoEtalon;
      variant.special_recognition = kSpecialRecognition;
      ASSERT_EQ(base.variants().push_back(variant), kOk);
    }
    ASSERT_EQ(base.reindex(true), kOk);
  }

  template <typename Table>
  static Table entries(const std::vector<std::uint32_t>& charsets) {
    Table table;
    for (const std::uint32_t id : charsets) table.push_default()->charset_id = id;
    return table;
  }

  int activate(Kernel& kernel, std::vector<std::uint32_t> ids) {
    return kernel.set_active_charsets(ids.data(), static_cast<int>(ids.size()));
  }

  testing::TempDir dir_;
  std::unique_ptr<DataStore> store_;
};

// Everything a kernel derives from its active charsets, read through the
// record pointers it keeps.
struct Derived {
  std::vector<std::uint16_t> variants;          // ids
  std::vector<std::uint16_t> complex_variants;  // menuc codes
  std::uint32_t variant_flags;
  std::vector<std::uint32_t> tuples;  // charset ids
  std::vector<std::uint32_t> spec_pairs;
  std::vector<std::uint32_t> code_index;
};

Derived derived(Kernel& kernel) {
  Derived d;
  for (const Variant* variant : kernel.active_variants()) d.variants.push_back(variant->id);
  for (const ComplexVariant* record : kernel.active_complex_variants()) {
    d.complex_variants.push_back(record->menuc);
  }
  d.variant_flags = kernel.variant_flags();
  for (const TuplesEntry* entry : kernel.active_tuples()) d.tuples.push_back(entry->charset_id);
  const ActiveSpecPairs& pairs = kernel.active_spec_pairs();
  for (const PtrArray<const SpecPairsEntry>* list : {&pairs.ss, &pairs.sc, &pairs.cs, &pairs.cc}) {
    for (const SpecPairsEntry* entry : *list) d.spec_pairs.push_back(entry->charset_id);
  }
  const DynArray<std::uint32_t>& index = kernel.code_index();
  d.code_index.assign(index.begin(), index.end());
  return d;
}

// The code index that maps the given codes, ascending, to 0, 1, ...
std::vector<std::uint32_t> code_index_of(std::vector<char16_t> codes) {
  std::sort(codes.begin(), codes.end());
  std::vector<std::uint32_t> index(codes.back() + 1u, kNone);
  for (std::uint32_t i = 0; i < codes.size(); ++i) index[codes[i]] = i;
  return index;
}

TEST_F(KernelTest, StartsWithTheRequestDefaultsAndNothingActive) {
  Kernel kernel(store_.get(), nullptr);
  const RecognitionParams& params = kernel.params();
  EXPECT_EQ(params.callback, nullptr);
  EXPECT_EQ(params.third_word, 100);
  EXPECT_EQ(params.mode, 0);
  // The switch bytes 20..29 as the application sends them (byte 27, the
  // layout switch, on).
  const std::uint8_t* switches = &params.first_switch;
  EXPECT_EQ(std::vector<int>(switches, switches + 10),
            (std::vector<int>{1, 1, 0, 0, 0, 1, 1, 1, 1, 0}));
  EXPECT_EQ(params.result_buffer, nullptr);
  EXPECT_EQ(params.result_size, 0);
  EXPECT_EQ(kernel.shift_state().caps, 0);
  EXPECT_EQ(kernel.shift_state().shift, 0);
  EXPECT_TRUE(kernel.active_charsets().empty());
  EXPECT_TRUE(kernel.active_variants().empty());
  EXPECT_TRUE(kernel.code_index().empty());
  EXPECT_FALSE(kernel.stop_flag());
  EXPECT_FALSE(kernel.quick_flag());
  // One zero byte per value of the symbols' third code, up to 40.
  EXPECT_EQ(kernel.class_table().size(), 41u);
  EXPECT_EQ(std::count(kernel.class_table().begin(), kernel.class_table().end(), 0), 41);
}

TEST_F(KernelTest, ActiveCharsetsGiveTheirVariantsAndCodes) {
  Kernel kernel(store_.get(), nullptr);
  ASSERT_EQ(activate(kernel, {6, 5}), kOk);
  EXPECT_EQ(
      std::vector<std::uint32_t>(kernel.active_charsets().begin(), kernel.active_charsets().end()),
      (std::vector<std::uint32_t>{6, 5}));
  EXPECT_FALSE(kernel.mirrored_order());
  const Derived d = derived(kernel);
  EXPECT_EQ(d.variants, (std::vector<std::uint16_t>{1, 2}));
  // The complex variant of kind 2 takes no part, nor do its flags.
  EXPECT_EQ(d.complex_variants, (std::vector<std::uint16_t>{u'a', u'b'}));
  EXPECT_EQ(d.variant_flags, kSideTop | kSideRight);
  EXPECT_EQ(d.tuples, std::vector<std::uint32_t>{5});
  EXPECT_EQ(d.spec_pairs, std::vector<std::uint32_t>{6});
  // b belongs to both charsets and has one entry.
  EXPECT_EQ(d.code_index, code_index_of({u'a', u'b', u'c'}));

  ASSERT_EQ(activate(kernel, {8, 7}), kOk);
  EXPECT_TRUE(kernel.mirrored_order());
  EXPECT_EQ(derived(kernel).code_index, code_index_of({u'd'}));
  ASSERT_EQ(activate(kernel, {8}), kOk);
  EXPECT_FALSE(kernel.mirrored_order());
  EXPECT_TRUE(kernel.code_index().empty());
}

TEST_F(KernelTest, AnUnknownCharsetLeavesNoneActive) {
  Kernel kernel(store_.get(), nullptr);
  // Also after a right-to-left charset, which ends the direction test.
  for (const std::vector<std::uint32_t>& ids :
       {std::vector<std::uint32_t>{5, 99, 6}, std::vector<std::uint32_t>{7, 99}}) {
    ASSERT_EQ(activate(kernel, {5}), kOk);
    EXPECT_EQ(activate(kernel, ids), kOutOfMemory);
    EXPECT_TRUE(kernel.active_charsets().empty());
    EXPECT_FALSE(kernel.mirrored_order());
    EXPECT_TRUE(kernel.active_variants().empty());
    EXPECT_TRUE(kernel.code_index().empty());
  }
  EXPECT_EQ(kernel.set_active_charsets(nullptr, 2), kBadArgument);
  EXPECT_EQ(kernel.set_active_charsets(nullptr, -1), kBadArgument);
  EXPECT_EQ(kernel.set_active_charsets(nullptr, 0), kOk);
  EXPECT_TRUE(kernel.active_charsets().empty());
}

TEST_F(KernelTest, ALetterMapOverManyActiveCodesStaysInItsSlots) {
  ASSERT_EQ(store_->add_charset(charset(9)), kOk);
  for (char16_t code = 0x400; code < 0x400 + 200; ++code) {
    Symb symb{};
    symb.code = code;
    ASSERT_EQ(store_->add_symb(symb), kOk);
    ASSERT_EQ(store_->add_charset_symb({9, code, {}, {}}), kOk);
  }
  Kernel kernel(store_.get(), nullptr);
  ASSERT_EQ(activate(kernel, {9}), kOk);
  ASSERT_EQ(kernel.code_index()[0x400 + 199], 199u);

  CharSlotMap letters;
  letters.init(&kernel.code_index());
  for (char16_t code = 0x400; code < 0x400 + 200; ++code) letters.slot_ref(code) = 2;
  for (std::uint32_t slot = 0; slot < CharSlotMap::kSlotCount; ++slot) {
    EXPECT_EQ(letters.slot(slot), 2u);
  }
  // Positions from 128 on answer through the spare slot.
  EXPECT_EQ(letters.slot_value(0x400 + 128), CharSlotMap::kEmpty);
  EXPECT_EQ(letters.slot_value(0x400 + 127), 2u);
}

TEST_F(KernelTest, TheFirstActiveLanguageGetsTheWordList) {
  Kernel kernel(store_.get(), nullptr);
  std::uint32_t chosen = 99;
  ASSERT_EQ(activate(kernel, {5, 7, 6}), kOk);
  EXPECT_EQ(kernel.dictionary_charset(false, &chosen), kOk);
  EXPECT_EQ(chosen, 0u);  // the request's word pass is off
  EXPECT_EQ(kernel.dictionary_charset(true, &chosen), kOk);
  EXPECT_EQ(chosen, 7u);

  RecognitionParams params;
  params.word_pass = 1;
  kernel.set_params(params);
  ASSERT_EQ(activate(kernel, {6, 7}), kOk);
  EXPECT_EQ(kernel.dictionary_charset(false, &chosen), kOk);
  EXPECT_EQ(chosen, 6u);
  ASSERT_EQ(activate(kernel, {5, 8}), kOk);
  EXPECT_EQ(kernel.dictionary_charset(false, &chosen), kOk);
  EXPECT_EQ(chosen, 0u);  // no language active

  EXPECT_EQ(kernel.select_dictionary(false), kBadArgument);  // no dictionaries
}

TEST_F(KernelTest, FlagsSetFromAnotherThreadAreSeen) {
  Kernel kernel(store_.get(), nullptr);
  std::thread watchdog([&kernel] {
    kernel.set_quick_flag();
    kernel.set_stop_flag();
  });
  while (!kernel.stop_flag()) std::this_thread::yield();
  watchdog.join();
  EXPECT_TRUE(kernel.quick_flag());
  kernel.clear_flags();
  EXPECT_FALSE(kernel.stop_flag());
  EXPECT_FALSE(kernel.quick_flag());
}

// Every kernel on the store sees each edit: the lists it reads after the
// edit are those of the edited database, never records that the edit
// freed or moved (the asan build reads through every kept pointer).
TEST_F(KernelTest, EditsOfTheDatabaseReachEveryKernel) {
  Kernel latin(store_.get(), nullptr);
  Kernel mixed(store_.get(), nullptr);
  ASSERT_EQ(activate(latin, {5, 6}), kOk);
  ASSERT_EQ(activate(mixed, {6, 7}), kOk);
  derived(latin);
  derived(mixed);

  // Additions that move both variant tables to larger buffers, and a new
  // code.
  for (int i = 0; i < 40; ++i) {
    ASSERT_EQ(store_->add_complex_variant(complex_variant(5, u'b', 1, kSideLeft)), kOk);
  }
  add_variants(std::vector<std::pair<std::uint32_t, char16_t>>(40, {7, u'd'}));
  ASSERT_EQ(store_->add_symb(Symb{0, u'e', 0, 0, 0, 0, {}}), kOk);
  ASSERT_EQ(store_->add_charset_symb({7, u'e', {}, {}}), kOk);
  EXPECT_EQ(derived(latin).complex_variants.size(), 42u);
  EXPECT_EQ(derived(latin).variant_flags, kSideTop | kSideRight | kSideLeft);
  EXPECT_EQ(derived(mixed).variants.size(), 42u);
  EXPECT_EQ(derived(mixed).code_index, code_index_of({u'b', u'c', u'd', u'e'}));

  // The cascade of a charset symbol: its variants and complex variants go.
  ASSERT_EQ(store_->delete_charset_symb(6, u'b'), kOk);
  EXPECT_EQ(derived(latin).variants, std::vector<std::uint16_t>{1});
  EXPECT_EQ(derived(latin).complex_variants.size(), 41u);
  EXPECT_EQ(derived(latin).variant_flags, kSideTop | kSideLeft);
  EXPECT_EQ(derived(mixed).variants.size(), 41u);
  EXPECT_EQ(derived(mixed).complex_variants, std::vector<std::uint16_t>{u'd'});
  EXPECT_EQ(derived(latin).code_index, code_index_of({u'a', u'b', u'c'}));  // b is still in 5
  EXPECT_EQ(derived(mixed).code_index, code_index_of({u'c', u'd', u'e'}));

  // Tables replaced whole.
  ASSERT_EQ(store_->set_tuples(entries<TuplesTable>({7, 6, 5})), kOk);
  ASSERT_EQ(store_->set_spec_pairs_cc(entries<SpecPairsTable>({5, 8})), kOk);
  EXPECT_EQ(derived(latin).tuples, (std::vector<std::uint32_t>{6, 5}));
  EXPECT_EQ(derived(latin).spec_pairs, (std::vector<std::uint32_t>{6, 5}));

  // The whole database read again from its file.
  ASSERT_EQ(store_->save(), kOk);
  ASSERT_EQ(store_->delete_charset(5), kOk);
  EXPECT_TRUE(derived(latin).complex_variants.empty());
  ASSERT_EQ(store_->reload(), kOk);
  EXPECT_EQ(derived(latin).complex_variants.size(), 41u);
  EXPECT_EQ(derived(latin).tuples, (std::vector<std::uint32_t>{6, 5}));

  // And a recognition's first steps on both kernels, on a tilted line
  // written in each kernel's direction (the mirrored line rises to the right).
  testing::WrittenLine line;
  line.tilt = 30;
  const testing::Ink left_to_right = testing::write_line(line);
  testing::Ink right_to_left = left_to_right;
  for (testing::InkStroke& stroke : right_to_left) {
    for (PackedPoint& p : stroke) p.x = static_cast<std::int16_t>(4000 - p.x);
  }
  for (Kernel* kernel : {&latin, &mixed}) {
    const std::vector<StrokeView> views =
        testing::views_of(kernel->mirrored_order() ? right_to_left : left_to_right);
    ASSERT_EQ(kernel->add_strokes(views.data(), static_cast<int>(views.size()), -1, -1), kOk);
    ASSERT_EQ(kernel->refresh_active_lists(), kOk);
    int correction = 0;
    ASSERT_EQ(kernel->pane().correct_skew(&correction, kernel->params(), kernel->mirrored_order()),
              kOk);
    EXPECT_NEAR(correction, kernel->mirrored_order() ? 30 : -30, 2);
    CharSlotMap letters;
    letters.init(&kernel->code_index());
    letters.slot_ref(u'c') = 1;
    EXPECT_EQ(letters.slot_value(u'c'), 1u);
    derived(*kernel);
  }
}

// The pair rules' index follows the tuples table and the active charsets.
TEST_F(KernelTest, ThePairRulesFollowTheTuplesAndTheActiveCharsets) {
  const auto table = [](std::uint32_t charset, std::int16_t kind) {
    TuplesTable tuples;
    TuplesEntry* entry = tuples.push_default();
    entry->charset_id = charset;
    Tuple* rule = entry->tuples.push_default();
    EXPECT_EQ(rule->lists[0].push_back(10), kOk);
    EXPECT_EQ(rule->lists[1].push_back(20), kOk);
    rule->rule = static_cast<std::uint16_t>(kind);
    return tuples;
  };
  const auto kinds = [](Kernel& kernel) {
    DynArray<PairRuleHit> hits;
    EXPECT_EQ(find_pair_rules(10, false, 20, false, hits, kernel.pair_rules()), kOk);
    std::vector<std::int32_t> out;
    for (const PairRuleHit& hit : hits) out.push_back(hit.kind);
    return out;
  };
  Kernel kernel(store_.get(), nullptr);
  ASSERT_EQ(store_->set_tuples(table(5, 33)), kOk);
  ASSERT_EQ(activate(kernel, {5}), kOk);
  EXPECT_EQ(kinds(kernel), std::vector<std::int32_t>{33});
  ASSERT_EQ(store_->set_tuples(table(5, 34)), kOk);
  EXPECT_EQ(kinds(kernel), std::vector<std::int32_t>{34});
  ASSERT_EQ(activate(kernel, {6}), kOk);
  EXPECT_TRUE(kinds(kernel).empty());
}

TEST_F(KernelTest, SetActiveCharSetsNeedsAnActiveKernel) {
  crFreeCrMan();
  const std::uint32_t ids[] = {5};
  EXPECT_EQ(crSetActiveCharSets(ids, 1), kNoKernel);
  EXPECT_EQ(crman_if_exists(), nullptr);  // not created by the call

  ASSERT_EQ(store_->save(), kOk);
  const std::u16string path = dir_.wide_file("qlmain.dt");
  ASSERT_EQ(crInitCrMan(path.c_str(), 0, nullptr, nullptr, nullptr, nullptr, nullptr), kOk);
  EXPECT_EQ(crSetActiveCharSets(ids, 1), kOk);
  Kernel& kernel = *crman_instance()->active_kernel();
  EXPECT_EQ(kernel.active_charsets().size(), 1u);
  const std::uint32_t unknown[] = {6, 42};
  EXPECT_EQ(crSetActiveCharSets(unknown, 2), kOutOfMemory);
  EXPECT_TRUE(kernel.active_charsets().empty());

  // The word list of the first language is selected; a word list that
  // cannot be had is no error of the selection.
  const std::uint32_t languages[] = {5, 6};
  EXPECT_EQ(crSetActiveCharSets(languages, 2), kOk);
  EXPECT_EQ(kernel.select_dictionary(true), kOk);
  ASSERT_EQ(crman_instance()->data_store()->delete_charset(6), kOk);
  EXPECT_EQ(kernel.select_dictionary(true), kBadArgument);
  crFreeCrMan();
}

}  // namespace
}  // namespace inkrec
