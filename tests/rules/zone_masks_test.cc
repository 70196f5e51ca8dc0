#include "engine/rules/zone_masks.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace inkrec {
namespace {

constexpr std::uint32_t kEnd = 0xFFFFFF0E;

TEST(ZoneMasksTest, MasksByShapeAndSecondCode) {
  struct Case {
    std::uint16_t shape;
    std::uint16_t second_code;
    ZoneMasks masks;
  };
  const Case cases[] = {
      {3, 0, {0x0E0E0E0E, 0, 0, 0}},
      {11, 0, {0, 0, 0xFFFFFFFF, 0}},
      {150, 0, {0xFFF3FF00, 0xFF3FFF10, 0, kEnd}},
      {168, 0, {0xFFFFC783, 0xFFFFC783, 0xFFFFFF83, 0}},
      {205, 0, {0xFF1FFF1E, 0xFF1FFF1A, 0, kEnd}},
      {212, 0, {0xFF1FFF16, 0xFF1FFF1A, 0, kEnd}},
      {198, 1083, {0x1F1F1F07, 0x1F1F1F07, 0, 0}},  // л
      {198, 1080, {0xFF1FFF1E, 0xFF1FFF1E, 0, 0}},  // и
      {198, 1087, {}},                              // any other code: none
      {335, 1087, {0xFFFFFFF1, 0xFFF1FFF1, 0, 0}},  // п
      {335, 1080, {0xFF1FFF1E, 0xFF1FFF1E, 0, 0}},  // и
      {335, 1083, {}},                              //
      {552, 0, {0, 0, 0xF110F010, kEnd}},
      {590, 0, {0, 0, 0xFFFFFF83, 0}},
      {1633, 0, {0, 0, 0, kEnd}},
      {5491, 0, {0, 0, 0, kEnd}},
      {0, 0, {}},
      {591, 0, {}},
      {1631, 0, {}},
      {5492, 0, {}},
      {65535, 0, {}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(zone_masks_of(c.shape, c.second_code), c.masks) << c.shape << " " << c.second_code;
  }
}

TEST(ZoneMasksTest, StrictModeTestsEveryWordLenientOnlyTheFirstTwoTogether) {
  struct Case {
    const char* what;
    std::uint16_t shape;
    ZoneWords zones;
    bool strict;
    bool lenient;
  };
  const Case cases[] = {
      {"no zone bits", 150, {}, false, false},
      {"shape 3: only M1 is set", 3, {0x02, 0x02, 0, 0}, true, false},
      {"shape 12: only M4", 12, {~0u, ~0u, ~0u, 0x02}, true, false},
      {"shape 12: an end bit its mask allows", 12, {0, 0, 0, 0x01}, false, false},
      {"shape 38: M3 is 0, Z3 never conflicts", 38, {0, 0, ~0u, 0}, false, false},
      {"shape 52: Z1 and Z2 apart", 52, {0x100, 0x200, 0, 0}, true, false},
      {"shape 52: Z1 and Z2 share a bit", 52, {0x100, 0x100, 0, 0}, true, true},
      {"shape 52: the shared bit is allowed", 52, {0x01, 0x01, 0, 0}, false, false},
      {"a shape without masks", 591, {~0u, ~0u, ~0u, ~0u}, false, false},
  };
  for (const Case& c : cases) {
    Variant symbol;
    symbol.shape_id = c.shape;
    EXPECT_EQ(zone_mask_conflict(symbol, c.zones, true), c.strict) << c.what;
    EXPECT_EQ(zone_mask_conflict(symbol, c.zones, false), c.lenient) << c.what;
  }
}

}  // namespace
}  // namespace inkrec
