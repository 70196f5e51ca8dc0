// The records of the knowledge base: variants (one written form of one
// character in one charset, drawn as a shape) and etalons (the prototypes a
// written figure is compared against, one value per feature cell).
//
// A Variant is 36 bytes in the data file and in the exported record, with
// the layout below. Several variants may share one etalon, which counts its
// users in reference_count_.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/foundation/dyn_array.h"
#include "engine/foundation/tagged_records.h"

namespace inkrec {

inline constexpr std::uint16_t kNoEtalon = 0xFFFF;
// Etalon ids run from 1 to this; variant ids to 0xFFFF.
inline constexpr std::uint16_t kLastEtalonId = 0xFFFE;
inline constexpr std::uint8_t kSpecialRecognition = 1;

struct Variant {
  std::uint32_t idSet = static_cast<std::uint32_t>(-127);  // charset id
  std::uint32_t idUse = 0;                                 // 0 often, 1 rarely, other values never
  std::uint16_t id = 0;                                    // unique; the first is 1
  std::uint16_t shape_id = 0;
  std::uint16_t menuc = 0;  // character code; 0 marks a detail
  // The copybook's group of variants of one charset and code (0: the
  // variant stands alone) and whether this variant's shape stands for it.
  std::uint8_t copybook_group = 0;
  std::uint8_t copybook_representative = 1;
  std::uint16_t etalon_id = 0;           // kNoEtalon for none
  std::uint8_t special_recognition = 0;  // kSpecialRecognition: recognised by rules, no etalon
  std::uint8_t height_flag = 0;          // 2: not for letters under 7/10 of the line's height
  std::uint16_t second_code = 0;         // a further character code of the variant
  std::uint16_t aux_word2 = 0;
  std::uint32_t properties = 0;
  std::uint16_t aux_codes[3] = {};
  std::uint8_t cursive_flag = 0;  // a cursive form: only with the body-and-link switch
  std::uint8_t aux_byte5 = 0;     // not kept when the knowledge base is loaded

  bool is_special() const { return special_recognition == kSpecialRecognition; }
  friend bool operator==(const Variant&, const Variant&) = default;
};
static_assert(sizeof(Variant) == 36);
static_assert(offsetof(Variant, idUse) == 4 && offsetof(Variant, id) == 8 &&
              offsetof(Variant, shape_id) == 10 && offsetof(Variant, menuc) == 12 &&
              offsetof(Variant, copybook_group) == 14 &&
              offsetof(Variant, copybook_representative) == 15 &&
              offsetof(Variant, etalon_id) == 16 && offsetof(Variant, special_recognition) == 18 &&
              offsetof(Variant, height_flag) == 19 && offsetof(Variant, second_code) == 20 &&
              offsetof(Variant, aux_word2) == 22 && offsetof(Variant, properties) == 24 &&
              offsetof(Variant, aux_codes) == 28 && offsetof(Variant, cursive_flag) == 34 &&
              offsetof(Variant, aux_byte5) == 35);

// Summary of an etalon's cells, stored as one 16-byte block.
struct EtalonStats {
  std::uint32_t norm = 32;  // weighted square norm of the cells
  std::uint16_t positive_count = 0;
  std::uint16_t negative_count = 0;
  std::uint8_t max_level = 32;
  std::uint8_t min_level = 32;
  std::int16_t max_hits = 0;
  std::int16_t min_hits = 10000;
  std::uint16_t reserved = 0;

  friend bool operator==(const EtalonStats&, const EtalonStats&) = default;
};
static_assert(sizeof(EtalonStats) == 16);
static_assert(offsetof(EtalonStats, positive_count) == 4 && offsetof(EtalonStats, max_level) == 8 &&
              offsetof(EtalonStats, max_hits) == 10 && offsetof(EtalonStats, min_hits) == 12 &&
              offsetof(EtalonStats, reserved) == 14);

// Cell values are 32 + the accumulated level (32 is level 0).
inline constexpr std::uint8_t kCellLevelZero = 32;

struct Etalon {
  std::uint16_t id = 0;  // unique; 1..65534
  std::uint16_t reference_count_ = 1;
  EtalonStats stats;
  DynArray<std::uint8_t> cells;
  DynArray<Tag4Record> corrections;  // applied since the etalon was built

  int assign(const Etalon& other);
  friend bool operator==(const Etalon& a, const Etalon& b);
};

}  // namespace inkrec
