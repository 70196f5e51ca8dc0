// The fixed-size records of the data file: charsets, symbols, charset
// symbols, RAF feature records and complex variants.
//
// Each is stored as its raw bytes, so its in-memory layout below is also its
// layout in the file and in the records the database entry points copy in
// and out; sizes and offsets are checked here. Fields named "carried" or
// "reserved" are kept unchanged.
#pragma once

#include <cstddef>
#include <cstdint>

namespace inkrec {

// Side flags of symbols and complex variants.
inline constexpr std::uint32_t kSideTop = 1u << 0;
inline constexpr std::uint32_t kSideBottom = 1u << 1;
inline constexpr std::uint32_t kSideLeft = 1u << 2;
inline constexpr std::uint32_t kSideRight = 1u << 3;

struct CharSet {
  std::uint32_t id;            // the key
  std::uint32_t ortho;         // 1 marks a language charset
  char16_t name[30];           // NUL-padded
  char16_t word_list_code[3];  // the word list is "<code>.wlb"
  std::uint8_t direct;
  std::uint8_t reserved[13];
};
static_assert(sizeof(CharSet) == 88);
static_assert(offsetof(CharSet, ortho) == 4 && offsetof(CharSet, name) == 8 &&
              offsetof(CharSet, word_list_code) == 68 && offsetof(CharSet, direct) == 74 &&
              offsetof(CharSet, reserved) == 75);

struct Symb {
  std::uint32_t sides;
  std::uint16_t code;  // the key
  std::uint16_t second_code;
  std::uint16_t third_code;
  std::uint8_t def_num;
  std::uint8_t control;
  std::uint8_t reserved[4];
};
static_assert(sizeof(Symb) == 16);
static_assert(offsetof(Symb, code) == 4 && offsetof(Symb, second_code) == 6 &&
              offsetof(Symb, third_code) == 8 && offsetof(Symb, def_num) == 10 &&
              offsetof(Symb, control) == 11 && offsetof(Symb, reserved) == 12);

// A symbol of a charset; (charset_id, code) is the key.
struct CharSetSymb {
  std::uint32_t charset_id;
  std::uint16_t code;
  std::uint8_t values[3];
  std::uint8_t reserved[7];
};
static_assert(sizeof(CharSetSymb) == 16);
static_assert(offsetof(CharSetSymb, code) == 4 && offsetof(CharSetSymb, values) == 6 &&
              offsetof(CharSetSymb, reserved) == 9);

// A range of nx * ny feature cells starting at `offset`; the offsets of
// consecutive records are running sums.
struct Raf {
  std::uint16_t offset;
  std::uint16_t id;  // the key
  std::uint8_t nx;
  std::uint8_t ny;
  std::uint8_t ves;  // the weight of the range's cells
  std::uint8_t carried;

  std::uint32_t cell_count() const { return std::uint32_t{nx} * ny; }
  std::uint32_t end() const { return offset + cell_count(); }
};
static_assert(sizeof(Raf) == 8);
static_assert(offsetof(Raf, id) == 2 && offsetof(Raf, nx) == 4 && offsetof(Raf, ny) == 5 &&
              offsetof(Raf, ves) == 6 && offsetof(Raf, carried) == 7);

// A letter built of parts; it refers to a variant (kind nonzero) or a shape.
// As a composite-letter rule of the letter search it joins a result read as
// the first component with one read as the second (cnt copies of it, placed
// as the side flags say) into the symbol's reading.
struct ComplexVariant {
  std::uint32_t set;  // charset id
  std::uint32_t use;  // use class, as a variant's idUse: 0 often, 1 rarely,
                      // other values never
  std::uint32_t add;  // side flags: where the second part stands (1, 2, 4, 8)
  std::uint32_t kind;
  std::uint16_t id;               // the key
  std::uint16_t menuc;            // symbol code of its charset symbol
  std::uint16_t reference_id;     // the first part's shape
  std::uint16_t detail_shape_id;  // the second part's shape
  std::uint8_t cnt;               // copies of the second part
  std::uint8_t group;             // the copybook's group
  std::uint8_t show;              // the copybook's representative flag
  std::uint8_t rec_mode;          // the rule's mode, 0 or 1
  std::uint16_t symbol_id;        // the symbol of the composite reading
  std::uint16_t whole_shape_id;   // the copybook draws it whole; 0: from its parts
  std::uint16_t first_component;  // character codes of the two parts
  std::uint16_t second_component;
  std::int16_t tolerance;
  std::uint8_t pass_flag;  // a rule only with the body-and-link switch
  std::uint8_t carried[9];

  bool refers_to_shape(std::uint16_t shape_id) const {
    return (kind == 0 && reference_id == shape_id) || detail_shape_id == shape_id;
  }
};
static_assert(sizeof(ComplexVariant) == 48);
static_assert(offsetof(ComplexVariant, use) == 4 && offsetof(ComplexVariant, add) == 8 &&
              offsetof(ComplexVariant, kind) == 12 && offsetof(ComplexVariant, id) == 16 &&
              offsetof(ComplexVariant, menuc) == 18 &&
              offsetof(ComplexVariant, reference_id) == 20 &&
              offsetof(ComplexVariant, detail_shape_id) == 22 &&
              offsetof(ComplexVariant, cnt) == 24 && offsetof(ComplexVariant, rec_mode) == 27 &&
              offsetof(ComplexVariant, symbol_id) == 28 &&
              offsetof(ComplexVariant, whole_shape_id) == 30 &&
              offsetof(ComplexVariant, first_component) == 32 &&
              offsetof(ComplexVariant, second_component) == 34 &&
              offsetof(ComplexVariant, tolerance) == 36 &&
              offsetof(ComplexVariant, pass_flag) == 38 && offsetof(ComplexVariant, carried) == 39);

}  // namespace inkrec
