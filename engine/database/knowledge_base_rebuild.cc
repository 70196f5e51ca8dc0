// Building the knowledge base's etalons again from their shapes: all of
// them, one, or those of one shape, with or without replaying the
// corrections trained since; and the log of what a replaying rebuild
// changed.
//
// Every rebuild builds all its new cells first and replaces the stored ones
// only when every build succeeded.
#include <algorithm>
#include <string>

#include "engine/database/knowledge_base.h"
#include "engine/foundation/code_page_1251.h"
#include "engine/foundation/replacing_file.h"
#include "engine/foundation/status.h"

namespace inkrec {
namespace {

// The ids of the shapes of the normal variants, ascending, each once.
int shapes_of_normal_variants(const DynArray<Variant>& variants, DynArray<std::uint16_t>& out) {
  for (const Variant& variant : variants) {
    if (!variant.is_special() && out.push_back(variant.shape_id) != kOk) return kOutOfMemory;
  }
  std::sort(out.begin(), out.end());
  const auto distinct =
      static_cast<std::uint32_t>(std::unique(out.begin(), out.end()) - out.begin());
  return out.erase(distinct, out.size() - distinct);
}

// n fresh etalons to build into.
int fresh_etalons(std::uint32_t n, DynArray<Etalon>& out) {
  if (out.reserve_total(n) != kOk) return kOutOfMemory;
  while (out.size() < n) out.push_default();
  return kOk;
}

// Takes the rebuilt cells and statistics; id, references and corrections
// stay.
void take_cells(Etalon& etalon, Etalon& rebuilt) {
  etalon.cells.swap(rebuilt.cells);
  etalon.stats = rebuilt.stats;
}

// The rebuild log: one line for each etalon whose cells changed, with the
// old value less the new for every changed cell, range by range.
class RebuildLog {
 public:
  explicit RebuildLog(const std::string& path) : file_(path) {}

  void note(std::uint32_t position, const Etalon& old, const Etalon& rebuilt,
            const DynArray<Raf>& rafs) {
    if (!file_.is_open() || std::ranges::equal(old.cells.span(), rebuilt.cells.span())) return;
    FileHolder& out = file_.file();
    out.printf("%u\t%u\t\t", position, unsigned{old.id});
    if (old.cells.size() != rebuilt.cells.size()) {
      static const std::string kLengthsDiffer = to_code_page_1251(u"Ужас, ужас, ужас!");
      out.printf("%s", kLengthsDiffer.c_str());
    } else {
      for (const Raf& raf : rafs) {
        const std::uint32_t end = std::min(raf.end(), old.cells.size());
        for (std::uint32_t i = raf.offset; i < end; ++i) {
          if (old.cells[i] == rebuilt.cells[i]) {
            out.printf("   ");
          } else {
            out.printf("%3d", int{old.cells[i]} - int{rebuilt.cells[i]});
          }
        }
        out.printf(" | ");
      }
    }
    out.printf("\n");
  }

  void commit() {
    if (file_.is_open()) file_.commit();
  }

 private:
  ReplacingFile file_;
};

}  // namespace

int KnowledgeBase::rebuild_etalons(bool replay, const std::string& log_path) {
  if (replay) return rebuild_etalons_with_replay(log_path);

  DynArray<std::uint16_t> shape_ids;
  if (const int status = shapes_of_normal_variants(variants_, shape_ids); status != kOk) {
    return status;
  }
  if (shape_ids.size() > kLastEtalonId) return kOutOfMemory;
  DynArray<Etalon> built;
  if (fresh_etalons(shape_ids.size(), built) != kOk) return kOutOfMemory;
  for (std::uint32_t i = 0; i < shape_ids.size(); ++i) {
    const Shape* shape = shapes_.find_by_id(shape_ids[i]);
    if (shape == nullptr) return kKbNoShape;
    if (const int status = build_etalon(*shape, nullptr, built[i]); status != kOk) return status;
    built[i].id = static_cast<std::uint16_t>(i + 1);
    built[i].reference_count_ = 0;
  }
  etalons_.swap(built);
  for (Variant& variant : variants_) {
    if (variant.is_special()) {
      variant.etalon_id = kNoEtalon;
      continue;
    }
    const auto position = static_cast<std::uint32_t>(
        std::lower_bound(shape_ids.begin(), shape_ids.end(), variant.shape_id) - shape_ids.begin());
    variant.etalon_id = etalons_[position].id;
    ++etalons_[position].reference_count_;
  }
  return reindex(true);
}

int KnowledgeBase::rebuild_etalons_with_replay(const std::string& log_path) {
  DynArray<const Shape*> shape_of_etalon;
  if (shape_of_etalon.resize(etalons_.size(), nullptr) != kOk) return kOutOfMemory;
  for (const Variant& variant : variants_) {
    if (variant.is_special()) continue;
    const std::int32_t position = position_of_etalon(variant.etalon_id);
    const Shape* shape = shapes_.find_by_id(variant.shape_id);
    if (position < 0 || shape == nullptr) return kKbNoShape;
    const Shape*& known = shape_of_etalon[static_cast<std::uint32_t>(position)];
    if (known != nullptr && known != shape) return kKbNoShape;
    known = shape;
  }
  if (shape_of_etalon.contains(nullptr)) return kKbNoShape;

  RebuildLog log(log_path);
  DynArray<Etalon> rebuilt;
  if (fresh_etalons(etalons_.size(), rebuilt) != kOk) return kOutOfMemory;
  for (std::uint32_t i = 0; i < etalons_.size(); ++i) {
    if (const int status = build_etalon(*shape_of_etalon[i], &etalons_[i].corrections, rebuilt[i]);
        status != kOk) {
      return status;
    }
    log.note(i, etalons_[i], rebuilt[i], rafs_);
  }
  for (std::uint32_t i = 0; i < etalons_.size(); ++i) take_cells(etalons_[i], rebuilt[i]);
  log.commit();
  return kOk;
}

int KnowledgeBase::rebuild_etalon(std::uint32_t variant_id, bool replay) {
  if (variant_id >= etalon_of_variant_id_.size()) return kKbNoEtalon;
  Etalon* etalon =
      etalons_.item_checked(static_cast<std::uint32_t>(etalon_of_variant_id_[variant_id]));
  if (etalon == nullptr) return kKbNoEtalon;
  const Variant* variant = find_variant(static_cast<std::uint16_t>(variant_id));
  const Shape* shape = variant == nullptr ? nullptr : shapes_.find_by_id(variant->shape_id);
  if (shape == nullptr) return kKbNoShape;
  Etalon rebuilt;
  if (const int status = build_etalon(*shape, replay ? &etalon->corrections : nullptr, rebuilt);
      status != kOk) {
    return status;
  }
  take_cells(*etalon, rebuilt);
  if (!replay) etalon->corrections.clear();
  return kOk;
}

int KnowledgeBase::rebuild_shape_etalons(std::uint16_t shape_id) {
  const Shape* shape = shapes_.find_by_id(shape_id);
  if (shape == nullptr) return kKbNoShape;
  DynArray<Etalon> rebuilt;
  if (fresh_etalons(etalons_.size(), rebuilt) != kOk) return kOutOfMemory;
  DynArray<std::uint8_t> rebuilt_flags;
  if (rebuilt_flags.resize(etalons_.size(), 0) != kOk) return kOutOfMemory;
  for (const Variant& variant : variants_) {
    if (variant.is_special() || variant.shape_id != shape_id) continue;
    const std::int32_t position = position_of_etalon(variant.etalon_id);
    if (position < 0) return kKbIndexBuild;
    const auto i = static_cast<std::uint32_t>(position);
    if (rebuilt_flags[i] != 0) continue;
    if (const int status = build_etalon(*shape, &etalons_[i].corrections, rebuilt[i]);
        status != kOk) {
      return status;
    }
    rebuilt_flags[i] = 1;
  }
  for (std::uint32_t i = 0; i < etalons_.size(); ++i) {
    if (rebuilt_flags[i] != 0) take_cells(etalons_[i], rebuilt[i]);
  }
  return reindex(true);
}

// The etalons to merge must serve no variant of another shape. The new
// etalon's id is settled before anything is erased, and it fits in the
// room the erased ones leave, so nothing can fail once the erasing starts.
int KnowledgeBase::merge_shape_etalons(std::uint16_t shape_id) {
  const Shape* shape = shapes_.find_by_id(shape_id);
  if (shape == nullptr) return kKbNoShape;
  DynArray<std::uint8_t> merged;
  if (merged.resize(etalons_.size(), 0) != kOk) return kOutOfMemory;
  std::uint32_t users = 0;
  for (const Variant& variant : variants_) {
    if (variant.is_special() || variant.shape_id != shape_id) continue;
    const std::int32_t position = position_of_etalon(variant.etalon_id);
    if (position < 0) return kKbIndexBuild;
    merged[static_cast<std::uint32_t>(position)] = 1;
    ++users;
  }
  if (users == 0) return kOk;
  for (const Variant& variant : variants_) {
    if (variant.is_special() || variant.shape_id == shape_id) continue;
    const std::int32_t position = position_of_etalon(variant.etalon_id);
    if (position >= 0 && merged[static_cast<std::uint32_t>(position)] != 0) return kKbNoShape;
  }
  std::uint16_t last_kept = 0;
  for (std::uint32_t i = 0; i < etalons_.size(); ++i) {
    if (merged[i] == 0) last_kept = etalons_[i].id;
  }
  if (last_kept >= kLastEtalonId) return kOutOfMemory;

  Etalon built;
  if (const int status = build_etalon(*shape, nullptr, built); status != kOk) return status;
  built.reference_count_ = static_cast<std::uint16_t>(users);  // variant ids are 16-bit
  for (std::uint32_t i = etalons_.size(); i-- > 0;) {
    if (merged[i] != 0) etalons_.erase(i, 1);
  }
  std::uint16_t id = 0;
  if (const int status = append_etalon(std::move(built), 0, &id); status != kOk) return status;
  for (Variant& variant : variants_) {
    if (!variant.is_special() && variant.shape_id == shape_id) variant.etalon_id = id;
  }
  return reindex(true);
}

}  // namespace inkrec
