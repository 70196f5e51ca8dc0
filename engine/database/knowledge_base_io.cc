#include "engine/database/knowledge_base_io.h"

#include "engine/foundation/code_page_1251.h"
#include "engine/foundation/status.h"
#include "engine/foundation/stream_items.h"
#include "engine/foundation/tagged_records.h"

namespace inkrec {
namespace {

constexpr std::uint32_t kVariantListTag = 0;
constexpr std::uint32_t kEtalonListTag = 2;
constexpr std::uint32_t kCellListTag = 1;
// An etalon without cells or corrections: 20 fixed bytes, the cell list
// header and an empty Tag4Record list.
constexpr std::uint64_t kLeastEtalonBytes = 20 + 8 + 8;

bool write_etalon(BinaryStream& stream, const Etalon& etalon) {
  return write_u16(stream, etalon.id) && write_u16(stream, etalon.reference_count_) &&
         stream.write_exact(&etalon.stats, sizeof etalon.stats) &&
         write_u32(stream, kCellListTag) && write_u32(stream, etalon.cells.size()) &&
         write_raw_array(stream, etalon.cells) &&
         write_tag4_record_list(stream, etalon.corrections);
}

bool read_variant(BinaryStream& stream, Variant& variant) {
  if (!stream.read_exact(&variant, sizeof variant)) return false;
  variant.aux_byte5 = 0;
  return true;
}

bool read_cells(BinaryStream& stream, DynArray<std::uint8_t>& cells) {
  std::uint32_t count = 0;
  if (!read_record_header(stream, kCellListTag, &count) || !can_hold(stream, count, 1))
    return false;
  cells.clear();
  if (cells.resize(count, kCellLevelZero) != kOk) {
    stream.set_error();
    return false;
  }
  return stream.read_exact(cells.data(), count);
}

bool read_etalon(BinaryStream& stream, Etalon& etalon) {
  if (!read_u16(stream, &etalon.id) || !read_u16(stream, &etalon.reference_count_) ||
      !stream.read_exact(&etalon.stats, sizeof etalon.stats)) {
    return false;
  }
  if (!read_cells(stream, etalon.cells)) {
    etalon.cells.release();
    return false;
  }
  if (!read_tag4_record_list(stream, etalon.corrections)) {
    etalon.corrections.release();
    return false;
  }
  return true;
}

template <typename Record, typename ReadOne>
bool read_records(BinaryStream& stream, std::uint32_t tag, std::uint64_t least_bytes,
                  DynArray<Record>& records, ReadOne read_one) {
  std::uint32_t count = 0;
  return read_record_header(stream, tag, &count) && can_hold(stream, count, least_bytes) &&
         read_list(stream, records, count, read_one);
}

const char* use_class_name(std::uint32_t use) {
  switch (use) {
    case 0:
      return "Often";
    case 1:
      return "Rarely";
    default:
      return "Never";
  }
}

}  // namespace

bool write_knowledge_base(BinaryStream& stream, const KnowledgeBase& knowledge_base) {
  const DynArray<Variant>& variants = knowledge_base.variants();
  const DynArray<Etalon>& etalons = knowledge_base.etalons();
  if (!write_u32(stream, kVariantListTag) || !write_u32(stream, variants.size()) ||
      !stream.write_exact(variants.data(), std::size_t{variants.size()} * sizeof(Variant)) ||
      !write_u32(stream, kEtalonListTag) || !write_u32(stream, etalons.size())) {
    return false;
  }
  for (const Etalon& etalon : etalons) {
    if (!write_etalon(stream, etalon)) return false;
  }
  return true;
}

bool read_knowledge_base(BinaryStream& stream, KnowledgeBase& knowledge_base) {
  knowledge_base.variants().clear();
  knowledge_base.etalons().clear();
  if (!read_records(stream, kVariantListTag, sizeof(Variant), knowledge_base.variants(),
                    read_variant) ||
      !read_records(stream, kEtalonListTag, kLeastEtalonBytes, knowledge_base.etalons(),
                    read_etalon)) {
    return false;
  }
  if (knowledge_base.reindex(true) != kOk) stream.set_error();
  return stream.good();
}

void dump_variants(FileHolder& out, const KnowledgeBase& knowledge_base) {
  static const std::string kHeading = to_code_page_1251(u"\nВарианты.\n  Количество: ");
  const DynArray<Variant>& variants = knowledge_base.variants();
  out.printf("%s%u\n", kHeading.c_str(), variants.size());
  for (std::uint32_t i = 0; i < variants.size(); ++i) {
    const Variant& variant = variants[i];
    out.printf("%u\tid: %u\tidSet: %u\tmenuc: %u\tidShape: %u\tidUse: %s\n", i,
               unsigned{variant.id}, variant.idSet, unsigned{variant.menuc},
               unsigned{variant.shape_id}, use_class_name(variant.idUse));
  }
}

}  // namespace inkrec
