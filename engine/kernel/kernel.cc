// The kernel: stroke intake, the active charsets and the lists derived from
// them, the dictionary selection, the user's variant choices and the flags.
// The recognition itself is in recognition_driver.cc and the files it names.

#include "engine/kernel/kernel.h"

#include <algorithm>

#include "engine/database/data_store.h"
#include "engine/database/dictionary_set.h"
#include "engine/database/user_variant_file.h"
#include "engine/foundation/status.h"
#include "engine/records/request_switches.h"
#include "engine/segmentation/letter_case.h"

namespace inkrec {
namespace {

// A zeroed byte per value of the symbols' third code; empty when memory
// runs out.
DynArray<std::uint8_t> make_class_table(const DataStore& store) {
  std::uint32_t largest = 0;
  for (const Symb& symb : store.symb_table()) {
    largest = std::max<std::uint32_t>(largest, symb.third_code);
  }
  DynArray<std::uint8_t> table;
  table.resize(largest + 1, 0);
  return table;
}

// The answer a variant with a shape gives, its sub-key the variant's shape
// id and its reference offsets those of the shape's samples.
Answer reading_of(const CandidateVariant& candidate) {
  const Variant& symbol = *candidate.variant;
  SegmentReading reading;
  reading.key = symbol.id;
  reading.value = symbol.shape_id;
  std::copy(std::begin(candidate.codes), std::end(candidate.codes), reading.codes);
  reading.code_list[0] = symbol.menuc;
  reading.mask = symbol.properties;
  Answer answer = Answer::from_segment(reading, candidate.shape->stats);
  answer.case_kind = case_kind_of(answer);
  return answer;
}

// The variant with its shape, its etalon (when it has one that fits the
// Raf table), the codes of its reading and, with a shape, its answer.
CandidateVariant candidate_of(const DataStore& store, const Variant& variant) {
  CandidateVariant candidate;
  candidate.variant = &variant;
  const Shape* shape = store.find_shape(variant.shape_id);
  candidate.shape = shape == nullptr ? nullptr : &shape->info;
  if (!variant.is_special()) {
    const Etalon* etalon = store.find_etalon_by_id(variant.etalon_id);
    const bool fits = etalon != nullptr && store.knowledge_base().etalon_fits(*etalon);
    candidate.etalon = fits ? etalon : nullptr;
  }
  const std::uint16_t code = variant.menuc;
  const Symb* symb = code == 0 ? nullptr : store.find_symb(code);
  const auto or_code = [code](std::uint16_t other) { return other == 0 ? code : other; };
  candidate.codes[0] = code;
  candidate.codes[1] = symb == nullptr ? code : or_code(symb->third_code);
  candidate.codes[2] = symb == nullptr ? code : or_code(symb->second_code);
  if (candidate.shape != nullptr) candidate.reading = reading_of(candidate);
  return candidate;
}

}  // namespace

Kernel::Kernel(DataStore* data_store, DictionarySet* dictionaries)
    : data_store_(data_store),
      dictionaries_(dictionaries),
      class_table_(make_class_table(*data_store)),
      lists_generation_(data_store->generation()) {}

int Kernel::add_strokes(const StrokeInput* inputs, int n, std::int16_t first, std::int16_t second) {
  return pane_.add_strokes(inputs, n, first, second, false);
}

int Kernel::set_active_charsets(const std::uint32_t* ids, int n) {
  mirrored_order_ = 0;
  active_charsets_.clear();
  clear_active_lists();
  lists_generation_ = data_store_->generation();
  if (n < 0 || (ids == nullptr && n > 0)) return kBadArgument;
  const std::span<const std::uint32_t> chosen(ids, static_cast<std::size_t>(n));
  bool mirrored = false;
  for (const std::uint32_t id : chosen) {
    const CharSet* charset = data_store_->find_charset(id);
    if (charset == nullptr) return kOutOfMemory;  // the engine's answer for an unknown charset
    mirrored = mirrored || charset->direct != 0;
  }
  if (active_charsets_.append(chosen) != kOk) return kOutOfMemory;
  mirrored_order_ = mirrored ? 1 : 0;
  return reinitialize();
}

void Kernel::clear_active_lists() {
  variant_flags_ = 0;
  active_complex_variants_.remove_all();
  active_variants_.remove_all();
  candidates_.clear();
  candidate_columns_.clear();
  code_index_.clear();
  active_spec_pairs_.ss.remove_all();
  active_spec_pairs_.sc.remove_all();
  active_spec_pairs_.cs.remove_all();
  active_spec_pairs_.cc.remove_all();
  active_tuples_.remove_all();
  pair_rules_.clear();
}

int Kernel::reinitialize() {
  clear_active_lists();
  int status = collect_variants();
  if (status == kOk) status = lay_out_candidate_etalons();
  if (status == kOk) status = build_code_index();
  if (status == kOk)
    status = collect_active_spec_pairs(active_spec_pairs_, active_charsets(), *data_store_);
  if (status == kOk)
    status = collect_active_tuples(active_tuples_, active_charsets(), *data_store_);
  if (status == kOk) status = pair_rules_.rebuild(active_tuples_);
  if (status != kOk) {
    clear_active_lists();
    return status;
  }
  lists_generation_ = data_store_->generation();
  return kOk;
}

int Kernel::refresh_active_lists() {
  return lists_generation_ == data_store_->generation() ? kOk : reinitialize();
}

int Kernel::collect_variants() {
  const DataStore& store = *data_store_;
  for (std::uint32_t i = 0; i < store.complex_variant_count(); ++i) {
    const ComplexVariant* record = store.complex_variant_at(i);
    if (record->kind == 2 || !active_charsets_.contains(record->set)) continue;
    if (active_complex_variants_.push_back(record) != kOk) return kOutOfMemory;
    variant_flags_ |= record->add;
  }
  for (std::uint32_t i = 0; i < store.variant_count(); ++i) {
    const Variant* variant = store.variant_at(i);
    if (!active_charsets_.contains(variant->idSet)) continue;
    if (candidates_.push_back(candidate_of(store, *variant)) != kOk) return kOutOfMemory;
    // A normal variant whose etalon does not fit the Raf table cannot be
    // compared with a figure's features.
    if (!variant->is_special() && store.etalon_at(i) == nullptr) continue;
    if (active_variants_.push_back(variant) != kOk) return kOutOfMemory;
  }
  return cover_reading_codes();
}

int Kernel::lay_out_candidate_etalons() {
  DynArray<const Etalon*> etalons;
  if (etalons.reserve_total(candidates_.size()) != kOk) return kOutOfMemory;
  for (const CandidateVariant& candidate : candidates_) etalons.push_back(candidate.etalon);
  return candidate_columns_.assign(etalons.span());
}

// The class table holds a byte for every code the candidates' readings
// classify by.
int Kernel::cover_reading_codes() {
  std::uint32_t largest = 0;
  for (const CandidateVariant& candidate : candidates_) {
    largest = std::max<std::uint32_t>(largest, candidate.codes[1]);
  }
  if (largest < class_table_.size()) return kOk;
  return class_table_.resize(largest + 1, 0);
}

// The codes of the active charsets' symbols, each once, in ascending order;
// a code's index is its position among them.
int Kernel::build_code_index() {
  const DataStore& store = *data_store_;
  DynArray<std::uint16_t> codes;
  for (std::uint32_t i = 0; i < store.charset_symb_count(); ++i) {
    const CharSetSymb* record = store.charset_symb_at(i);
    if (!active_charsets_.contains(record->charset_id)) continue;
    if (store.find_symb(record->code) == nullptr) return kBadArgument;
    if (codes.push_back(record->code) != kOk) return kOutOfMemory;
  }
  if (codes.empty()) return kOk;
  std::sort(codes.begin(), codes.end());
  codes.resize(static_cast<std::uint32_t>(std::unique(codes.begin(), codes.end()) - codes.begin()));
  if (code_index_.resize(std::uint32_t{codes.back()} + 1, kNoCodeIndex) != kOk) return kOutOfMemory;
  for (std::uint32_t position = 0; position < codes.size(); ++position) {
    code_index_[codes[position]] = position;
  }
  return kOk;
}

const PtrArray<const Variant>& Kernel::active_variants() {
  refresh_active_lists();
  return active_variants_;
}

std::span<const CandidateVariant> Kernel::candidate_variants() {
  refresh_active_lists();
  return candidates_.span();
}

const EtalonColumns* Kernel::candidate_etalon_columns() {
  refresh_active_lists();
  return &candidate_columns_;
}

std::span<const std::uint16_t> Kernel::inked_cells() const {
  return feature_context_.vector.nonzero.span();
}

const PtrArray<const ComplexVariant>& Kernel::active_complex_variants() {
  refresh_active_lists();
  return active_complex_variants_;
}

std::span<const ComplexVariant* const> Kernel::composite_rules() {
  const PtrArray<const ComplexVariant>& rules = active_complex_variants();
  return {rules.begin(), rules.size()};
}

std::uint32_t Kernel::variant_flags() {
  refresh_active_lists();
  return variant_flags_;
}

const DynArray<std::uint32_t>& Kernel::code_index() {
  refresh_active_lists();
  return code_index_;
}

const ActiveSpecPairs& Kernel::active_spec_pairs() {
  refresh_active_lists();
  return active_spec_pairs_;
}

const PairRuleIndex& Kernel::pair_rules() {
  refresh_active_lists();
  return pair_rules_;
}

NeighbourSpacing Kernel::neighbour_spacing() const {
  NeighbourSpacing spacing;
  spacing.mean = gap_statistics_[0];
  spacing.spread = gap_statistics_[1];
  spacing.centre_mean = gap_statistics_[4];
  spacing.centre_spread = gap_statistics_[5];
  return spacing;
}

const PtrArray<const TuplesEntry>& Kernel::active_tuples() {
  refresh_active_lists();
  return active_tuples_;
}

int Kernel::dictionary_charset(bool force, std::uint32_t* charset_id) const {
  *charset_id = 0;
  if (!RequestSwitches(params_).kind() && !force) return kOk;
  for (const std::uint32_t id : active_charsets_) {
    const CharSet* charset = data_store_->find_charset(id);
    if (charset == nullptr) return kBadArgument;
    if (charset->ortho == 1) {
      *charset_id = id;
      return kOk;
    }
  }
  return kOk;
}

int Kernel::select_dictionary(bool force) {
  if (dictionaries_ == nullptr) return kBadArgument;
  std::uint32_t charset_id = 0;
  if (const int status = dictionary_charset(force, &charset_id); status != kOk) return status;
  dictionaries_->select_charset(charset_id);
  return kOk;
}

int Kernel::set_variants_and_write(std::span<const Variant> variants,
                                   std::span<const ComplexVariant> complex_variants,
                                   const UserVariantFile& file) {
  for (const Variant& variant : variants) data_store_->set_variant(variant);
  for (const ComplexVariant& variant : complex_variants) data_store_->set_complex_variant(variant);
  return file.write(*data_store_);
}

void Kernel::clear_flags() {
  stop_.store(0, std::memory_order_relaxed);
  quick_.store(0, std::memory_order_relaxed);
}

}  // namespace inkrec
