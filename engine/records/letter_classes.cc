// The letter-shape classes.

#include "engine/records/letter_classes.h"

namespace inkrec {
namespace {

// A set of ASCII letters as a 128-bit mask, made from a literal when
// compiling: the pair score asks these classes millions of times a word.
class AsciiLetters {
 public:
  consteval AsciiLetters(const char* letters) {  // implicit: each literal below
    for (; *letters != '\0'; ++letters) {
      const auto c = static_cast<unsigned char>(*letters);
      bits_[c >> 6] |= std::uint64_t{1} << (c & 63);
    }
  }
  bool has(std::uint32_t code) const {
    return code < 128 && (bits_[code >> 6] >> (code & 63) & 1) != 0;
  }

 private:
  std::uint64_t bits_[2] = {0, 0};
};

bool is_one_of(std::uint32_t code, AsciiLetters letters) { return letters.has(code); }

}  // namespace

bool letter_class_16(std::uint32_t code, PropertyFlags properties) {
  if (is_one_of(code, "Ll")) return true;
  if (is_one_of(code, "NSens")) return false;
  return properties.bit16() != 0;
}

bool letter_class_17(std::uint32_t code, PropertyFlags properties, int item_count) {
  if (item_count < 2) return false;
  if (is_one_of(code, "fhlFHL")) return false;
  if (is_one_of(code, "en")) return true;
  return properties.bit17() == 0;
}

bool letter_class_18(std::uint32_t code, PropertyFlags properties) {
  if (is_one_of(code, "Sst")) return true;
  if (is_one_of(code, "FGfg")) return false;
  return properties.bit18() == 0;
}

bool letter_class_19(std::uint32_t code, PropertyFlags properties) {
  if (is_one_of(code, "HLhl")) return true;
  if (is_one_of(code, "EeNn")) return false;
  return properties.bit19() != 0;
}

bool letter_class_20(std::uint32_t code, PropertyFlags properties, int item_count) {
  if (code == 'S') return false;
  if (code == 'g') return true;
  if (code == 's' || item_count < 2) return false;
  return properties.bit20() != 0;
}

}  // namespace inkrec
