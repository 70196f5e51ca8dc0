// The letter-shape classes.

#include "engine/records/letter_classes.h"

namespace inkrec {
namespace {

// The classes an ASCII letter has or lacks whatever its property word says:
// the pair score asks these classes millions of times a word.
struct ForcedClasses {
  std::uint8_t on = 0;
  std::uint8_t off = 0;
};

struct ForcedClassTable {
  ForcedClasses of[128];
};

consteval ForcedClassTable forced_class_table() {
  ForcedClassTable table{};
  const auto force = [&table](const char* letters, std::uint8_t bit, bool on) {
    for (; *letters != '\0'; ++letters) {
      ForcedClasses& forced = table.of[static_cast<unsigned char>(*letters)];
      (on ? forced.on : forced.off) |= bit;
    }
  };
  using Set = LetterClassSet;
  force("Ll", Set::k16, true);
  force("NSens", Set::k16, false);
  force("en", Set::k17, true);
  force("fhlFHL", Set::k17, false);
  force("Sst", Set::k18, true);
  force("FGfg", Set::k18, false);
  force("HLhl", Set::k19, true);
  force("EeNn", Set::k19, false);
  force("Ss", Set::k20, false);
  force("g", Set::k20Always, true);
  return table;
}

constexpr ForcedClassTable kForcedClasses = forced_class_table();

// The classes of a code: those of the property word but where its letter
// forces them.
std::uint8_t classes_of(std::uint32_t code, std::uint8_t from_properties) {
  if (code >= 128) return from_properties;
  const ForcedClasses& forced = kForcedClasses.of[code];
  return static_cast<std::uint8_t>((from_properties & ~forced.off) | forced.on);
}

}  // namespace

LetterClassSet::LetterClassSet(std::uint32_t code16, std::uint32_t code,
                               PropertyFlags properties) {
  // Bits 16 to 20 of the word, 17 and 18 turned over: set where the class is.
  const auto from_properties = static_cast<std::uint8_t>(((properties.value() >> 16) & 0x1F) ^
                                                         (k17 | k18));
  bits_ = static_cast<std::uint8_t>((classes_of(code16, from_properties) & k16) |
                                    (classes_of(code, from_properties) & ~k16));
}

bool letter_class_16(std::uint32_t code, PropertyFlags properties) {
  return LetterClassSet(code, code, properties).c16();
}

bool letter_class_17(std::uint32_t code, PropertyFlags properties, int item_count) {
  return LetterClassSet(code, code, properties).c17(item_count);
}

bool letter_class_18(std::uint32_t code, PropertyFlags properties) {
  return LetterClassSet(code, code, properties).c18();
}

bool letter_class_19(std::uint32_t code, PropertyFlags properties) {
  return LetterClassSet(code, code, properties).c19();
}

bool letter_class_20(std::uint32_t code, PropertyFlags properties, int item_count) {
  return LetterClassSet(code, code, properties).c20(item_count);
}

}  // namespace inkrec
