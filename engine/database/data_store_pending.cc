// The data store operations whose work is not built yet. The knowledge base
// cannot build etalons from shapes so far, so every operation that needs
// one is refused, as the knowledge base refuses to make a special variant
// normal (14002), and changes nothing; the text listing of the tables is not
// written yet (-3).
#include "engine/database/data_store.h"

namespace inkrec {
namespace {

constexpr int kEtalonBuildingRefused = kKbVariantTooDifferent;

}  // namespace

int DataStore::save_text_w(const char16_t*) { return kUndocumented; }

int DataStore::add_variant(const Variant&) { return kEtalonBuildingRefused; }

int DataStore::add_variant_with_base(const Variant&, std::uint16_t) {
  return kEtalonBuildingRefused;
}

int DataStore::rebuild_etalons(int) { return kEtalonBuildingRefused; }

int DataStore::rebuild_etalon(std::uint32_t, int) { return kEtalonBuildingRefused; }

int DataStore::edit_shape(const Shape&, int, int) { return kEtalonBuildingRefused; }

}  // namespace inkrec
