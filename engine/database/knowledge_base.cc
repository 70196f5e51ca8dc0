#include "engine/database/knowledge_base.h"

#include <algorithm>

#include "engine/foundation/status.h"

namespace inkrec {
namespace {

template <typename Record>
const Record* lower_bound_id(const DynArray<Record>& records, std::uint16_t id) {
  return std::lower_bound(records.begin(), records.end(), id,
                          [](const Record& record, std::uint16_t key) { return record.id < key; });
}

template <typename Record>
const Record* find_id(const DynArray<Record>& records, std::uint16_t id) {
  const Record* found = lower_bound_id(records, id);
  return found != records.end() && found->id == id ? found : nullptr;
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

const Variant* KnowledgeBase::find_variant(std::uint16_t id) const {
  return find_id(variants_, id);
}

const Etalon* KnowledgeBase::etalon_at(std::uint32_t variant_position) const {
  if (variant_position >= etalon_of_variant_index_.size()) return nullptr;
  return etalons_.item_checked(
      static_cast<std::uint32_t>(etalon_of_variant_index_[variant_position]));
}

const Etalon* KnowledgeBase::find_etalon(std::uint32_t variant_id) const {
  const std::uint32_t id = variant_id & 0xFFFF;
  if (id >= etalon_of_variant_id_.size()) return nullptr;
  return etalons_.item_checked(static_cast<std::uint32_t>(etalon_of_variant_id_[id]));
}

int KnowledgeBase::locate(std::uint16_t id, Variant** variant, Etalon** etalon) {
  const Variant* found = find_variant(id);
  if (found == nullptr) return kKbVariantNotFound;
  *variant = variants_.item(static_cast<std::uint32_t>(found - variants_.begin()));
  *etalon = nullptr;
  if (found->etalon_id == kNoEtalon) return kOk;
  if (id >= etalon_of_variant_id_.size()) return kKbNoEtalon;
  Etalon* indexed = etalons_.item_checked(static_cast<std::uint32_t>(etalon_of_variant_id_[id]));
  if (indexed == nullptr) return kKbNoEtalon;
  if (indexed->id != found->etalon_id) return kKbBrokenIndex;
  *etalon = indexed;
  return kOk;
}

int KnowledgeBase::delete_variant(std::uint16_t id) {
  Variant* variant = nullptr;
  Etalon* etalon = nullptr;
  if (const int status = locate(id, &variant, &etalon); status != kOk) return status;
  if (etalon != nullptr) {
    if (etalon->reference_count_ <= 1) {
      etalons_.erase(static_cast<std::uint32_t>(etalon - etalons_.begin()), 1);
    } else {
      --etalon->reference_count_;
    }
  }
  variants_.erase(static_cast<std::uint32_t>(variant - variants_.begin()), 1);
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
  if (variant->is_special()) return kKbVariantTooDifferent;
  if (etalon->reference_count_ <= 1) {
    etalons_.erase(static_cast<std::uint32_t>(etalon - etalons_.begin()), 1);
  } else {
    --etalon->reference_count_;
  }
  *variant = record;
  variant->etalon_id = kNoEtalon;
  return reindex(false);
}

int KnowledgeBase::reindex(bool check) {
  dirty_ = 1;
  etalon_of_variant_index_.clear();
  etalon_of_variant_id_.clear();
  if (etalon_of_variant_index_.resize(variants_.size() + 1, -1) != kOk) return kOutOfMemory;
  if (!variants_.empty()) {
    std::uint32_t largest = 0;
    for (const Variant& variant : variants_) largest = std::max<std::uint32_t>(largest, variant.id);
    if (etalon_of_variant_id_.resize(largest + 1, -1) != kOk) return kOutOfMemory;
  }
  for (std::uint32_t i = 0; i < variants_.size(); ++i) {
    const Variant& variant = variants_[i];
    if (variant.is_special()) continue;
    const Etalon* etalon = find_id(etalons_, variant.etalon_id);
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
  const std::uint32_t total = rafs_.empty() ? 0 : rafs_.back().end();
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
  for (Etalon& etalon : etalons_) compute_stats(etalon);
  return kOk;
}

// norm is the sum of w[i]^2 * (c[i] - 32)^2 over the cells, divided by 1024
// and truncated; cells beyond the weights weigh 0. An etalon without cells
// has norm, highest and lowest level 32.
void KnowledgeBase::compute_stats(Etalon& etalon) const {
  EtalonStats& stats = etalon.stats;
  if (etalon.cells.empty()) {
    stats.norm = kCellLevelZero;
    stats.max_level = kCellLevelZero;
    stats.min_level = kCellLevelZero;
    return;
  }
  double sum = 0;
  std::uint8_t lowest = 255;
  std::uint8_t highest = 0;
  for (std::uint32_t i = 0; i < etalon.cells.size(); ++i) {
    const std::uint8_t cell = etalon.cells[i];
    lowest = std::min(lowest, cell);
    highest = std::max(highest, cell);
    const double weight = i < cell_weights_.size() ? cell_weights_[i] : 0;
    const double level = cell - kCellLevelZero;
    sum += weight * weight * level * level;
  }
  stats.norm = static_cast<std::uint32_t>(sum * 0.0009765625);
  stats.max_level = highest;
  stats.min_level = lowest;
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
  dirty_ = 1;
  other.dirty_ = 1;
}

}  // namespace inkrec
