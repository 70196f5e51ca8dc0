// The database exports: each forwards to one operation of the data store
// and copies records into the caller's memory. They reach the store through
// the active kernel, except crmGetAllCharsets and the Tuples and
// special-pair exports, which reach the manager's store and so work before
// any kernel exists.
#include <cstring>
#include <type_traits>

#include "engine/kernel/c_records.h"
#include "engine/kernel/export_targets.h"
#include "inkrec/inkrec.h"

using namespace inkrec;

namespace {

// Passes the caller's record to an edit of the store: -2 for a null one.
template <typename C, typename Edit>
int edit_with(const C* record, Edit edit) {
  return on_kernel_data_store([&](DataStore& store) {
    return record == nullptr ? kBadArgument : edit(store, *engine_record(record));
  });
}

template <typename Count>
int count_into(std::uint32_t* out, Count count) {
  return on_kernel_data_store([&](DataStore& store) {
    if (out == nullptr) return kBadArgument;
    *out = count(store);
    return kOk;
  });
}

// Copies the record that find returns: -2, writing nothing, when it finds
// none or out is null.
template <typename C, typename Find>
int copy_found(C* out, Find find) {
  return on_kernel_data_store([&](DataStore& store) {
    const auto* found = find(store);
    static_assert(
        std::is_same_v<std::remove_cvref_t<decltype(*found)>, typename EngineRecord<C>::type>);
    static_assert(std::is_trivially_copyable_v<C>);
    if (found == nullptr || out == nullptr) return kBadArgument;
    std::memcpy(out, found, sizeof(C));
    return kOk;
  });
}

int copy_shape_info(const Shape* shape, crShapeInfo* out) {
  if (shape == nullptr || out == nullptr) return kBadArgument;
  std::memcpy(&out->info, &shape->info, sizeof out->info);
  out->sample_count = shape->samples.size();
  return kOk;
}

// Deep-copies the shape into the caller's (its former samples released).
int assign_shape(const Shape* shape, crShape* out) {
  if (shape == nullptr || out == nullptr) return kBadArgument;
  return engine_record(out)->assign(*shape);
}

// Replaces one of the store's tables by a copy of the caller's.
template <typename Entry, typename Set>
int set_table(const crDynArray* table, Set set) {
  return on_manager_data_store([&](DataStore& store) {
    return table == nullptr ? kBadArgument : set(store, *from_c_array<Entry>(table));
  });
}

// Deep-copies one of the store's tables into the caller's.
template <typename Entry, typename Get>
int get_table(crDynArray* table, Get get) {
  return on_manager_data_store([&](DataStore& store) {
    return table == nullptr ? kBadArgument : from_c_array<Entry>(table)->assign(get(store));
  });
}

}  // namespace

extern "C" {

int crSave(void) {
  return on_kernel_data_store([](DataStore& store) { return store.save(); });
}

int crmSaveDat(const char16_t* path) {
  return on_kernel_data_store(
      [&](DataStore& store) { return path == nullptr ? kBadArgument : store.save_as_w(path); });
}

int crmSaveTXT(const char16_t* path) {
  return on_kernel_data_store(
      [&](DataStore& store) { return path == nullptr ? kBadArgument : store.save_text_w(path); });
}

// ---- Charsets.

int crmAddCharSet(const crCharSet* record) {
  return edit_with(record, [](DataStore& store, const CharSet& r) { return store.add_charset(r); });
}

int crmDelCharSet(uint32_t id) {
  return on_kernel_data_store([&](DataStore& store) { return store.delete_charset(id); });
}

int crmEditCharSet(const crCharSet* record) {
  return edit_with(record,
                   [](DataStore& store, const CharSet& r) { return store.edit_charset(r); });
}

int crmGetCharSetCount(uint32_t* out_count) {
  return count_into(out_count, [](const DataStore& store) { return store.charset_count(); });
}

int crmGetCharSet(uint32_t id, crCharSet* out) {
  return copy_found(out, [&](const DataStore& store) { return store.find_charset(id); });
}

int crmGetCharSetByInd(uint32_t index, crCharSet* out) {
  return copy_found(out, [&](const DataStore& store) { return store.charset_at(index); });
}

int crmGetAllCharsets(crCharSet* records, const uint32_t* capacity) {
  return on_manager_data_store([&](DataStore& store) {
    const std::uint32_t n = store.charset_count();
    if (n == 0) return kOk;
    if (records == nullptr || capacity == nullptr) return kBadArgument;
    for (std::uint32_t i = 0; i < *capacity; ++i) {
      const CharSet* record = store.charset_at(i);
      if (record == nullptr) return kBadArgument;
      std::memcpy(&records[i], record, sizeof records[i]);
      if (i + 1 == n) break;
    }
    return kOk;
  });
}

// ---- Symbols.

int crmAddSymb(const crSymb* record) {
  return edit_with(record, [](DataStore& store, const Symb& r) { return store.add_symb(r); });
}

int crmDelSymb(uint16_t code) {
  return on_kernel_data_store([&](DataStore& store) { return store.delete_symb(code); });
}

int crmEditSymb(const crSymb* record) {
  return edit_with(record, [](DataStore& store, const Symb& r) { return store.edit_symb(r); });
}

int crmGetSymbCount(uint32_t* out_count) {
  return count_into(out_count, [](const DataStore& store) { return store.symb_count(); });
}

int crmGetSymb(uint16_t code, crSymb* out) {
  return copy_found(out, [&](const DataStore& store) { return store.find_symb(code); });
}

int crmGetSymbByInd(uint32_t index, crSymb* out) {
  return copy_found(out, [&](const DataStore& store) { return store.symb_at(index); });
}

// ---- Charset symbols.

int crmAddCharSetSymb(const crCharSetSymb* record) {
  return edit_with(
      record, [](DataStore& store, const CharSetSymb& r) { return store.add_charset_symb(r); });
}

int crmDelCharSetSymb(uint32_t charset_id, uint16_t code) {
  return on_kernel_data_store(
      [&](DataStore& store) { return store.delete_charset_symb(charset_id, code); });
}

int crmEditCharSetSymb(const crCharSetSymb* record) {
  return edit_with(
      record, [](DataStore& store, const CharSetSymb& r) { return store.edit_charset_symb(r); });
}

int crmGetCharSetSymbCount(uint32_t charset_id, uint32_t* out_count) {
  return count_into(out_count, [&](const DataStore& store) {
    return charset_id != 0 ? store.charset_symb_count_in(charset_id) : store.charset_symb_count();
  });
}

int crmGetCharSetSymb(uint32_t charset_id, uint16_t code, crCharSetSymb* out) {
  return copy_found(
      out, [&](const DataStore& store) { return store.find_charset_symb(charset_id, code); });
}

int crmGetCharSetSymbByInd(uint32_t index, crCharSetSymb* out) {
  return copy_found(out, [&](const DataStore& store) { return store.charset_symb_at(index); });
}

// ---- Variants.

int crmVariantAdd(const crVariant* record, uint16_t base_id) {
  return on_active_kernel([&](Kernel& kernel) {
    if (record == nullptr) return kBadArgument;
    DataStore& store = *kernel.data_store();
    const Variant& variant = *engine_record(record);
    const int status =
        base_id != 0 ? store.add_variant_with_base(variant, base_id) : store.add_variant(variant);
    return status != kOk ? status : kernel.reinitialize();
  });
}

int crmVariantDelete(uint16_t id) {
  return on_kernel_data_store([&](DataStore& store) { return store.delete_variant(id); });
}

int crmVariantSet(const crVariant* record) {
  return edit_with(record, [](DataStore& store, const Variant& r) { return store.set_variant(r); });
}

int crmVariantGetCountAll(uint32_t* out_count) {
  return count_into(out_count, [](const DataStore& store) { return store.variant_count(); });
}

int crmVariantGet(uint16_t id, crVariant* out) {
  return copy_found(out, [&](const DataStore& store) { return store.find_variant(id); });
}

int crmVariantGetByInd(uint32_t index, crVariant* out) {
  return copy_found(out, [&](const DataStore& store) { return store.variant_at(index); });
}

int crmVariantRebuildEtalons(int replay) {
  return on_kernel_data_store([&](DataStore& store) { return store.rebuild_etalons(replay); });
}

int crmVariantRebuildEtalon(uint32_t variant_id, int replay) {
  return on_kernel_data_store(
      [&](DataStore& store) { return store.rebuild_etalon(variant_id, replay); });
}

// ---- Complex variants.

int crmComplexVariantAdd(const crComplexVariant* record) {
  return edit_with(record, [](DataStore& store, const ComplexVariant& r) {
    return store.add_complex_variant(r);
  });
}

int crmComplexVariantDelete(uint16_t id) {
  return on_kernel_data_store([&](DataStore& store) { return store.delete_complex_variant(id); });
}

int crmComplexVariantSet(const crComplexVariant* record) {
  return edit_with(record, [](DataStore& store, const ComplexVariant& r) {
    return store.set_complex_variant(r);
  });
}

int crmComplexVariantGetCountAll(uint32_t* out_count) {
  return count_into(out_count,
                    [](const DataStore& store) { return store.complex_variant_count(); });
}

int crmComplexVariantGet(uint16_t id, crComplexVariant* out) {
  return copy_found(out, [&](const DataStore& store) { return store.find_complex_variant(id); });
}

int crmComplexVariantGetByInd(uint32_t index, crComplexVariant* out) {
  return copy_found(out, [&](const DataStore& store) { return store.complex_variant_at(index); });
}

// ---- Rafs.

int crmAddRaf(const crRaf* record, int replay) {
  return edit_with(record,
                   [&](DataStore& store, const Raf& r) { return store.add_raf(r, replay); });
}

int crmEditRaf(const crRaf* record) {
  return edit_with(record, [](DataStore& store, const Raf& r) { return store.edit_raf(r); });
}

int crmRafDelete(uint16_t id) {
  return on_kernel_data_store([&](DataStore& store) { return store.delete_raf(id); });
}

int crmRafCount(uint32_t* out_count) {
  return count_into(out_count, [](const DataStore& store) { return store.raf_count(); });
}

int crmRafGet(uint16_t id, crRaf* out) {
  return copy_found(out, [&](const DataStore& store) { return store.find_raf(id); });
}

int crmRafGetByInd(uint32_t index, crRaf* out) {
  return copy_found(out, [&](const DataStore& store) { return store.raf_at(index); });
}

// ---- Shapes.

int crmAddShape(const crShape* shape) {
  return edit_with(shape, [](DataStore& store, const Shape& s) { return store.add_shape(s); });
}

int crmDelShape(uint16_t id) {
  return on_kernel_data_store([&](DataStore& store) { return store.delete_shape(id); });
}

int crmEditShape(const crShape* shape, int rebuild, int force) {
  return edit_with(
      shape, [&](DataStore& store, const Shape& s) { return store.edit_shape(s, rebuild, force); });
}

int crmEditShapeDummy(const crShape* shape) {
  return edit_with(shape,
                   [](DataStore& store, const Shape& s) { return store.edit_shape_dummy(s); });
}

int crmGetShapeCount(uint32_t* out_count) {
  return count_into(out_count, [](const DataStore& store) { return store.shape_count(); });
}

int crmGetShapeInfo(uint16_t id, crShapeInfo* out) {
  return on_kernel_data_store(
      [&](DataStore& store) { return copy_shape_info(store.find_shape(id), out); });
}

int crmGetShapeInfoByInd(uint32_t index, crShapeInfo* out) {
  return on_kernel_data_store(
      [&](DataStore& store) { return copy_shape_info(store.shape_at(index), out); });
}

int crmGetShape(uint16_t id, crShape* shape) {
  return on_kernel_data_store(
      [&](DataStore& store) { return assign_shape(store.find_shape(id), shape); });
}

int crmGetShapeByInd(uint32_t index, crShape* shape) {
  return on_kernel_data_store(
      [&](DataStore& store) { return assign_shape(store.shape_at(index), shape); });
}

// ---- Tuples and special pairs.

int crmTuplesSet(const crDynArray* table) {
  return set_table<TuplesEntry>(
      table, [](DataStore& store, const TuplesTable& t) { return store.set_tuples(t); });
}

int crmTuplesGet(crDynArray* table) {
  return get_table<TuplesEntry>(
      table, [](const DataStore& store) -> auto& { return store.tuples(); });
}

int crmSpecPairsSetSS(const crDynArray* table) {
  return set_table<SpecPairsEntry>(
      table, [](DataStore& store, const SpecPairsTable& t) { return store.set_spec_pairs_ss(t); });
}

int crmSpecPairsSetSC(const crDynArray* table) {
  return set_table<SpecPairsEntry>(
      table, [](DataStore& store, const SpecPairsTable& t) { return store.set_spec_pairs_sc(t); });
}

int crmSpecPairsSetCS(const crDynArray* table) {
  return set_table<SpecPairsEntry>(
      table, [](DataStore& store, const SpecPairsTable& t) { return store.set_spec_pairs_cs(t); });
}

int crmSpecPairsSetCC(const crDynArray* table) {
  return set_table<SpecPairsEntry>(
      table, [](DataStore& store, const SpecPairsTable& t) { return store.set_spec_pairs_cc(t); });
}

int crmSpecPairsGetSS(crDynArray* table) {
  return get_table<SpecPairsEntry>(
      table, [](const DataStore& store) -> auto& { return store.spec_pairs_ss(); });
}

int crmSpecPairsGetSC(crDynArray* table) {
  return get_table<SpecPairsEntry>(
      table, [](const DataStore& store) -> auto& { return store.spec_pairs_sc(); });
}

int crmSpecPairsGetCS(crDynArray* table) {
  return get_table<SpecPairsEntry>(
      table, [](const DataStore& store) -> auto& { return store.spec_pairs_cs(); });
}

int crmSpecPairsGetCC(crDynArray* table) {
  return get_table<SpecPairsEntry>(
      table, [](const DataStore& store) -> auto& { return store.spec_pairs_cc(); });
}

}  // extern "C"
