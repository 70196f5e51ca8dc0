#include "engine/database/knowledge_base.h"

#include <algorithm>

#include "engine/foundation/status.h"

namespace inkrec {
namespace {

template <typename Record>
bool ids_ascend(const DynArray<Record>& records) {
  return std::adjacent_find(records.begin(), records.end(), [](const Record& a, const Record& b) {
           return a.id >= b.id;
         }) == records.end();
}

// The record with that id, or null: by binary search while the ids ascend,
// else the first in order.
template <typename Records>
auto find_id(Records& records, std::uint16_t id, bool ascending) -> decltype(records.begin()) {
  if (!ascending) {
    const auto found = std::find_if(records.begin(), records.end(),
                                    [id](const auto& record) { return record.id == id; });
    return found != records.end() ? found : nullptr;
  }
  const auto found =
      std::lower_bound(records.begin(), records.end(), id,
                       [](const auto& record, std::uint16_t key) { return record.id < key; });
  return found != records.end() && found->id == id ? found : nullptr;
}

template <typename Record>
std::uint32_t largest_id(const DynArray<Record>& records) {
  std::uint32_t largest = 0;
  for (const Record& record : records) largest = std::max<std::uint32_t>(largest, record.id);
  return largest;
}

// The id after the largest (1 for none), unless it passes `last_id`. For
// ascending ids that is the last id + 1; a list read in another order gets
// no second record of an id it holds.
template <typename Record>
bool next_id(const DynArray<Record>& records, std::uint16_t last_id, std::uint16_t* id) {
  const std::uint32_t next = largest_id(records) + 1;
  if (next > last_id) return false;
  *id = static_cast<std::uint16_t>(next);
  return true;
}

}  // namespace

int Etalon::assign(const Etalon& other) {
  if (this == &other) return kOk;
  DynArray<std::uint8_t> cell_copy;
  DynArray<Tag4Record> correction_copy;
  if (cell_copy.assign(other.cells) != kOk || correction_copy.assign(other.corrections) != kOk) {
    return kOutOfMemory;
  }
  cells.swap(cell_copy);
  corrections.swap(correction_copy);
  id = other.id;
  reference_count_ = other.reference_count_;
  stats = other.stats;
  return kOk;
}

bool operator==(const Etalon& a, const Etalon& b) {
  return a.id == b.id && a.reference_count_ == b.reference_count_ && a.stats == b.stats &&
         std::equal(a.cells.begin(), a.cells.end(), b.cells.begin(), b.cells.end()) &&
         std::equal(a.corrections.begin(), a.corrections.end(), b.corrections.begin(),
                    b.corrections.end());
}

KnowledgeBase::KnowledgeBase(ShapeTable& shapes, DynArray<Raf>& rafs)
    : shapes_(shapes), rafs_(rafs) {}

std::uint32_t KnowledgeBase::total_cells() const { return rafs_.empty() ? 0 : rafs_.back().end(); }

const Variant* KnowledgeBase::find_variant(std::uint16_t id) const {
  return find_id(variants_, id, ids_ascend_);
}

Variant* KnowledgeBase::variant_with_id(std::uint16_t id) {
  return find_id(variants_, id, ids_ascend_);
}

std::int32_t KnowledgeBase::position_of_etalon(std::uint16_t id) const {
  const Etalon* etalon = find_id(etalons_, id, ids_ascend_);
  return etalon == nullptr ? -1 : static_cast<std::int32_t>(etalon - etalons_.begin());
}

const Etalon* KnowledgeBase::etalon_at(std::uint32_t variant_position) const {
  if (variant_position >= etalon_of_variant_index_.size()) return nullptr;
  const Etalon* etalon =
      etalons_.item_checked(static_cast<std::uint32_t>(etalon_of_variant_index_[variant_position]));
  return etalon != nullptr && etalon_fits(*etalon) ? etalon : nullptr;
}

const Etalon* KnowledgeBase::find_etalon_by_variant(std::uint32_t variant_id) const {
  const std::uint32_t id = variant_id & 0xFFFF;
  if (id >= etalon_of_variant_id_.size()) return nullptr;
  return etalons_.item_checked(static_cast<std::uint32_t>(etalon_of_variant_id_[id]));
}

const Etalon* KnowledgeBase::find_etalon_by_id(std::uint16_t etalon_id) const {
  return find_id(etalons_, etalon_id, ids_ascend_);
}

int KnowledgeBase::locate(std::uint16_t id, Variant** variant, Etalon** etalon) {
  Variant* found = variant_with_id(id);
  if (found == nullptr) return kKbVariantNotFound;
  *variant = found;
  *etalon = nullptr;
  if (found->etalon_id == kNoEtalon) return kOk;
  if (id >= etalon_of_variant_id_.size()) return kKbNoEtalon;
  Etalon* indexed = etalons_.item_checked(static_cast<std::uint32_t>(etalon_of_variant_id_[id]));
  if (indexed == nullptr) return kKbNoEtalon;
  if (indexed->id != found->etalon_id) return kKbBrokenIndex;
  *etalon = indexed;
  return kOk;
}

int KnowledgeBase::add_built_etalon(std::uint16_t shape_id, std::uint16_t wanted_id,
                                    std::uint16_t* etalon_id) {
  const Shape* shape = shapes_.find_by_id(shape_id);
  if (shape == nullptr) return kKbNoShape;
  if (shape->samples.empty()) return kKbShapeWithoutSamples;
  Etalon etalon;
  if (const int status = build_etalon(*shape, nullptr, etalon); status != kOk) return status;
  return append_etalon(std::move(etalon), wanted_id, etalon_id);
}

int KnowledgeBase::append_etalon(Etalon&& etalon, std::uint16_t wanted_id, std::uint16_t* id) {
  if (wanted_id > largest_id(etalons_) && wanted_id <= kLastEtalonId) {
    etalon.id = wanted_id;
  } else if (!next_id(etalons_, kLastEtalonId, &etalon.id)) {
    return kOutOfMemory;
  }
  *id = etalon.id;
  return etalons_.push_back(std::move(etalon));
}

int KnowledgeBase::append_variant(const Variant& record, std::uint16_t wanted_id) {
  Variant added = record;
  if (wanted_id == 0) {
    if (!next_id(variants_, 0xFFFF, &added.id)) return kOutOfMemory;
  } else {
    if (wanted_id <= largest_id(variants_)) return kBadArgument;
    added.id = wanted_id;
  }
  return variants_.push_back(added);
}

void KnowledgeBase::release_etalon(Etalon* etalon) {
  if (etalon->reference_count_ <= 1) {
    etalons_.erase(static_cast<std::uint32_t>(etalon - etalons_.begin()), 1);
  } else {
    --etalon->reference_count_;
  }
}

// A new etalon is appended before the variant; when the variant cannot be
// appended, the etalon goes again.
int KnowledgeBase::add_variant(const Variant& record) { return insert_variant(record, 0); }

int KnowledgeBase::place_variant(const Variant& record) {
  return record.id == 0 ? kBadArgument : insert_variant(record, record.id);
}

int KnowledgeBase::insert_variant(const Variant& record, std::uint16_t wanted_id) {
  Variant added = record;
  added.etalon_id = kNoEtalon;
  if (shapes_.find_by_id(added.shape_id) == nullptr) return kKbNoShape;
  if (!added.is_special()) {
    if (const int status = add_built_etalon(added.shape_id, wanted_id, &added.etalon_id);
        status != kOk) {
      return status;
    }
  }
  if (const int status = append_variant(added, wanted_id); status != kOk) {
    if (!added.is_special()) etalons_.pop_back();
    return status;
  }
  return reindex(false);
}

int KnowledgeBase::add_variant_with_base(const Variant& record, std::uint16_t base_id) {
  Variant* base = nullptr;
  Etalon* etalon = nullptr;
  if (const int status = locate(base_id, &base, &etalon); status != kOk) return status;
  if (record.shape_id != base->shape_id || record.is_special() != base->is_special()) {
    return kKbVariantTooDifferent;
  }
  Variant added = record;
  added.etalon_id = etalon == nullptr ? kNoEtalon : etalon->id;
  if (const int status = append_variant(added, 0); status != kOk) return status;
  if (etalon != nullptr) ++etalon->reference_count_;
  return reindex(false);
}

int KnowledgeBase::set_variant(const Variant& record) {
  Variant* variant = nullptr;
  Etalon* etalon = nullptr;
  if (const int status = locate(record.id, &variant, &etalon); status != kOk) return status;
  if (record.shape_id != variant->shape_id || record.etalon_id != variant->etalon_id) {
    return kKbVariantTooDifferent;
  }
  if (record.is_special() == variant->is_special()) {
    *variant = record;
    return kOk;
  }
  std::uint16_t etalon_id = kNoEtalon;
  if (variant->is_special()) {
    if (const int status = add_built_etalon(record.shape_id, 0, &etalon_id); status != kOk) {
      return status;
    }
  } else {
    release_etalon(etalon);
  }
  *variant = record;
  variant->etalon_id = etalon_id;
  return reindex(false);
}

int KnowledgeBase::delete_variant(std::uint16_t id) {
  Variant* variant = nullptr;
  Etalon* etalon = nullptr;
  if (const int status = locate(id, &variant, &etalon); status != kOk) return status;
  if (etalon != nullptr) release_etalon(etalon);
  variants_.erase(static_cast<std::uint32_t>(variant - variants_.begin()), 1);
  return reindex(false);
}

int KnowledgeBase::reindex(bool check) {
  dirty_ = 1;
  ids_ascend_ = ids_ascend(variants_) && ids_ascend(etalons_);
  etalon_of_variant_index_.clear();
  etalon_of_variant_id_.clear();
  if (etalon_of_variant_index_.resize(variants_.size() + 1, -1) != kOk) return kOutOfMemory;
  if (!variants_.empty()) {
    if (etalon_of_variant_id_.resize(largest_id(variants_) + 1, -1) != kOk) return kOutOfMemory;
  }
  for (std::uint32_t i = 0; i < variants_.size(); ++i) {
    const Variant& variant = variants_[i];
    if (variant.is_special()) continue;
    const Etalon* etalon = find_id(etalons_, variant.etalon_id, ids_ascend_);
    if (etalon == nullptr) return kKbIndexBuild;
    const auto position = static_cast<std::int32_t>(etalon - etalons_.begin());
    etalon_of_variant_index_[i] = position;
    etalon_of_variant_id_[variant.id] = position;
  }
  if (check && etalons_.size() >= 2) {
    const std::uint32_t cells = etalons_[0].cells.size();
    for (const Etalon& etalon : etalons_) {
      if (etalon.cells.size() != cells) return kKbIndexBuild;
    }
  }
  return kOk;
}

int KnowledgeBase::refresh() {
  if (dirty_ == 0) return kOk;
  const std::uint32_t total = total_cells();
  cell_weights_.clear();
  if (cell_weights_.resize(total, 0) != kOk) return kOutOfMemory;
  for (const Raf& raf : rafs_) {
    const std::uint32_t end = std::min(raf.end(), total);
    for (std::uint32_t cell = raf.offset; cell < end; ++cell) cell_weights_[cell] = raf.ves;
  }
  dirty_ = 0;
  return kOk;
}

int KnowledgeBase::recompute_statistics() {
  if (const int status = refresh(); status != kOk) return status;
  for (Etalon& etalon : etalons_) compute_etalon_stats(etalon, cell_weights_.span());
  return kOk;
}

int KnowledgeBase::remove_raf_cells(const Raf& raf) {
  dirty_ = 1;
  for (const Etalon& etalon : etalons_) {
    if (etalon.cells.size() < raf.end()) return kKbBadRaf;
  }
  for (Etalon& etalon : etalons_) etalon.cells.erase(raf.offset, raf.cell_count());
  return kOk;
}

void KnowledgeBase::swap_records(KnowledgeBase& other) noexcept {
  variants_.swap(other.variants_);
  etalons_.swap(other.etalons_);
  etalon_of_variant_index_.swap(other.etalon_of_variant_index_);
  etalon_of_variant_id_.swap(other.etalon_of_variant_id_);
  std::swap(ids_ascend_, other.ids_ascend_);
  dirty_ = 1;
  other.dirty_ = 1;
}

}  // namespace inkrec
