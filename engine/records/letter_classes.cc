// The letter-shape classes.

#include "engine/records/letter_classes.h"

#include <string_view>

namespace inkrec {
namespace {

bool is_one_of(std::uint32_t code, std::string_view letters) {
  return code < 128 && letters.find(static_cast<char>(code)) != std::string_view::npos;
}

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
