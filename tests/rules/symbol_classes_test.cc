#include "engine/rules/symbol_classes.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "engine/rules/symbol_penalties.h"

namespace inkrec {
namespace {

constexpr std::uint32_t bit(int i) { return std::uint32_t{1} << i; }

Variant symbol_of(std::uint32_t charset, std::uint32_t properties, std::uint16_t etalon = 0) {
  Variant v;
  v.idSet = charset;
  v.properties = properties;
  v.etalon_id = etalon;
  return v;
}

TEST(SymbolClassesTest, PartConflictByCharsetBitsAndLoops) {
  struct Case {
    std::uint32_t charset;
    std::uint32_t properties;
    int a;
    int b;
    bool conflict;
  };
  const Case cases[] = {
      {5, 0, 0, 0, true},                 // English: nothing allows it
      {5, bit(0), 0, 0, false},           // any parts
      {5, bit(2), 0, 1, false},           // bit 2 wants b = 1
      {5, bit(2), 1, 0, true},            //
      {5, bit(1), 1, 0, false},           // bit 1 (bit 2 clear) wants a = 1
      {5, bit(1) | bit(2), 1, 0, true},   // bit 2 decides first
      {5, bit(3), 0, 1, true},            // English does not read bit 3
      {4, bit(0) | bit(2), 7, 7, false},  // Russian: bit 0 allows all
      {4, bit(2), 0, 1, false},           //
      {4, bit(2) | bit(1), 1, 0, true},   //
      {4, bit(1), 1, 0, false},           //
      {4, bit(1), 0, 1, true},            //
      {4, bit(3), 1, 0, false},           // a + b = 1
      {4, bit(3), 0, 1, false},           //
      {4, bit(3), 1, 1, true},            //
      {4, 0, 1, 0, true},                 // none of bits 0..3
      {3, 0, 0, 0, false},                // other charsets never conflict
      {25, 0, 5, 5, false},               //
  };
  for (const Case& c : cases) {
    EXPECT_EQ(symbol_part_conflict(symbol_of(c.charset, c.properties), c.a, c.b), c.conflict)
        << c.charset << " " << c.properties << " " << c.a << " " << c.b;
  }
}

TEST(SymbolClassesTest, LinkAndSizeConflictsByCharsetAndBits) {
  struct Case {
    std::uint32_t charset;
    std::uint32_t properties;
    bool second_link;  // symbol_class_conflict_a
    bool first_link;   // symbol_class_conflict_b
    bool large;        // symbol_size_conflict at 40
  };
  const Case cases[] = {
      {2, bit(4) | bit(5) | bit(11), true, false, false},
      {1, 0, true, false, false},
      {1, bit(4), false, false, false},
      {38, 0, true, false, false},
      {4, 0, true, true, true},
      {4, bit(4) | bit(5) | bit(11), false, false, false},
      {5, 0, true, true, true},
      {5, bit(5), true, false, true},
      {5, bit(11), true, true, false},
      {25, 0, false, false, false},
  };
  for (const Case& c : cases) {
    const Variant v = symbol_of(c.charset, c.properties);
    EXPECT_EQ(symbol_class_conflict_a(v), c.second_link) << c.charset << " " << c.properties;
    EXPECT_EQ(symbol_class_conflict_b(v), c.first_link) << c.charset << " " << c.properties;
    EXPECT_EQ(symbol_size_conflict(v, 40), c.large) << c.charset << " " << c.properties;
    EXPECT_FALSE(symbol_size_conflict(v, 39)) << c.charset << " " << c.properties;
  }
}

TEST(SymbolClassesTest, EtalonClassesFollowTheirListsAtEveryEdgeTested) {
  using Test = bool (*)(const Variant&);
  struct Case {
    const char* name;
    Test test;
    std::uint16_t in[6];
    std::uint16_t out[6];
  };
  const Case cases[] = {
      {"a", is_etalon_class_a, {279, 281, 282, 283, 283, 279}, {278, 280, 284, 0, 1000, 65535}},
      {"b", is_etalon_class_b, {74, 77, 79, 120, 125, 11057}, {73, 78, 80, 122, 126, 11058}},
      {"f", is_etalon_class_f, {92, 102, 130, 187, 5516, 11055}, {91, 103, 131, 188, 5518, 11056}},
      {"g", is_etalon_class_g, {69, 70, 72, 283, 343, 11057}, {71, 73, 85, 284, 349, 11056}},
      {"h", is_etalon_class_h, {12, 25, 384, 390, 5506, 11055}, {11, 26, 383, 391, 5507, 11057}},
      {"j", is_etalon_class_j, {171, 172, 173, 5489, 5489, 171}, {170, 174, 5488, 5490, 0, 65535}},
  };
  for (const Case& c : cases) {
    for (const std::uint16_t id : c.in) EXPECT_TRUE(c.test(symbol_of(4, 0, id))) << c.name << id;
    for (const std::uint16_t id : c.out) EXPECT_FALSE(c.test(symbol_of(4, 0, id))) << c.name << id;
  }
  struct Cd {
    std::uint16_t id;
    int value;
  };
  const Cd cds[] = {{157, 1}, {166, 1}, {170, 1}, {5517, 1}, {61, 0},  {68, 0},  {103, 0},
                    {115, 0}, {511, 0}, {114, 2}, {60, 2},   {512, 2}, {171, 2}, {0, 2}};
  for (const Cd& c : cds) EXPECT_EQ(etalon_class_cd(symbol_of(4, 0, c.id)), c.value) << c.id;
}

TEST(SymbolClassesTest, EtalonPenaltiesChargeTheSlotsOfTheEtalonsClasses) {
  // Slot i holds 2^i, so what is taken off names the slots charged.
  PenaltyBlock block;
  for (int i = 0; i < kPenaltySlotCount; ++i) block.slots[i] = 1 << i;
  const std::uint32_t no_ends = bit(22) | bit(23);
  struct Case {
    std::uint16_t etalon;
    std::uint32_t properties;
    std::int32_t charged;
    bool class_h;
  };
  const Case cases[] = {
      {0, 0, 1 | 2, false},                 // tail and end ramp while bits 22, 23 are clear
      {0, bit(22), 2, false},               //
      {0, no_ends, 0, false},               //
      {279, no_ends, 4 | 8 | 128, false},   // classes a, b, g
      {157, no_ends, 16 | 256, true},       // c (upper side) and h
      {61, no_ends, 32 | 256, true},        // d (lower side) and h
      {166, no_ends, 16 | 64 | 256, true},  // c, f and h
      {171, no_ends, 512, false},           // j: the descending end
      {11057, no_ends, 8 | 128, false},     // b and g
  };
  for (const Case& c : cases) {
    std::int32_t score = 0;
    EXPECT_EQ(apply_etalon_penalties(symbol_of(4, c.properties, c.etalon), score, block), c.class_h)
        << c.etalon;
    EXPECT_EQ(score, -c.charged) << c.etalon;
  }
  for (const std::int32_t slot_value : {0, -5}) {
    PenaltyBlock flat;
    flat.slots.fill(slot_value);
    std::int32_t score = 77;
    apply_etalon_penalties(symbol_of(4, 0, 166), score, flat);
    EXPECT_EQ(score, 77) << slot_value;
  }
}

TEST(SymbolClassesTest, ScoreOperationsTakeOnlyPositiveValues) {
  std::int32_t score = 100;
  penalise(score, 30);
  penalise(score, 0);
  penalise(score, -50);
  EXPECT_EQ(score, 70);
  reward(score, 5);
  reward(score, -5);
  EXPECT_EQ(score, 75);
  std::int32_t limit = 10;
  lower_to(limit, 12);
  EXPECT_EQ(limit, 10);
  lower_to(limit, -3);
  EXPECT_EQ(limit, -3);
}

}  // namespace
}  // namespace inkrec
