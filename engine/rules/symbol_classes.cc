// The symbol conflicts and the etalon class tables.

#include "engine/rules/symbol_classes.h"

#include "engine/foundation/charset_ids.h"
#include "engine/rules/id_set.h"

namespace inkrec {
namespace {

constexpr IdSet<283> kClassA = {{279, 279}, {281, 283}};
constexpr IdSet<11057> kClassB = {{74, 77},     {79, 79},     {120, 120},    {123, 125},
                                  {279, 279},   {283, 283},   {508, 508},    {5556, 5556},
                                  {5561, 5561}, {5588, 5588}, {11057, 11057}};
constexpr IdSet<11057> kClassG = {{69, 70},   {72, 72},   {74, 79},   {84, 84},   {116, 125},
                                  {271, 283}, {343, 348}, {501, 501}, {508, 508}, {11057, 11057}};
constexpr IdSet<11055> kClassH = {
    {12, 25},     {61, 68},     {92, 102},     {108, 115},   {126, 140},   {148, 170},
    {174, 202},   {219, 221},   {224, 233},    {248, 256},   {263, 278},   {315, 325},
    {330, 334},   {349, 358},   {379, 380},    {384, 390},   {481, 481},   {483, 483},
    {503, 507},   {510, 510},   {845, 846},    {871, 871},   {930, 930},   {1047, 1047},
    {1567, 1567}, {1571, 1571}, {5491, 5492},  {5495, 5495}, {5504, 5506}, {5517, 5517},
    {5521, 5521}, {5546, 5546}, {11055, 11055}};
constexpr IdSet<5517> kClassC = {{157, 158}, {162, 162},   {166, 170},  {179, 180}, {183, 183},
                                 {185, 186}, {330, 330},   {341, 342},  {379, 380}, {385, 386},
                                 {505, 505}, {1567, 1567}, {5517, 5517}};
constexpr IdSet<511> kClassD = {{61, 68},   {103, 103}, {108, 113},
                                {115, 125}, {295, 297}, {510, 511}};
constexpr IdSet<11055> kClassF = {
    {92, 102},    {130, 130},   {133, 133},    {135, 137}, {166, 170}, {183, 183}, {185, 187},
    {224, 224},   {248, 253},   {255, 256},    {319, 320}, {322, 324}, {327, 327}, {330, 334},
    {350, 351},   {353, 356},   {358, 358},    {379, 380}, {385, 386}, {481, 481}, {483, 483},
    {504, 505},   {511, 511},   {532, 532},    {574, 574}, {589, 589}, {845, 846}, {1567, 1567},
    {1571, 1571}, {5516, 5517}, {11055, 11055}};
constexpr IdSet<5489> kClassJ = {{171, 173}, {5489, 5489}};

}  // namespace

bool symbol_part_conflict(const Variant& symbol, int a, int b) {
  const PropertyFlags p = properties_of(symbol);
  if (symbol.idSet == kEnglish) {
    const bool allowed =
        p.bit0() != 0 || (p.bit2() != 0 && b == 1) || (p.bit2() == 0 && p.bit1() != 0 && a == 1);
    return !allowed;
  }
  if (symbol.idSet != kRussian) return false;
  if (p.bit0() != 0) return false;
  if (p.bit2() != 0) return b != 1;
  if (p.bit1() != 0) return a != 1;
  if (p.bit3() != 0) return a + b != 1;
  return true;
}

bool symbol_class_conflict_a(const Variant& symbol) {
  switch (symbol.idSet) {
    case 2:
      return true;
    case 1:
    case kRussian:
    case kEnglish:
    case 38:
      return properties_of(symbol).bit4() == 0;
    default:
      return false;
  }
}

bool symbol_class_conflict_b(const Variant& symbol) {
  const bool latin_or_russian = symbol.idSet == kRussian || symbol.idSet == kEnglish;
  return latin_or_russian && properties_of(symbol).bit5() == 0;
}

bool symbol_size_conflict(const Variant& symbol, std::int32_t size) {
  if (size < 40) return false;
  const bool latin_or_russian = symbol.idSet == kRussian || symbol.idSet == kEnglish;
  return latin_or_russian && properties_of(symbol).bit11() == 0;
}

bool is_etalon_class_a(const Variant& symbol) { return kClassA.contains(symbol.etalon_id); }
bool is_etalon_class_b(const Variant& symbol) { return kClassB.contains(symbol.etalon_id); }
bool is_etalon_class_f(const Variant& symbol) { return kClassF.contains(symbol.etalon_id); }
bool is_etalon_class_g(const Variant& symbol) { return kClassG.contains(symbol.etalon_id); }
bool is_etalon_class_h(const Variant& symbol) { return kClassH.contains(symbol.etalon_id); }
bool is_etalon_class_j(const Variant& symbol) { return kClassJ.contains(symbol.etalon_id); }

int etalon_class_cd(const Variant& symbol) {
  if (kClassC.contains(symbol.etalon_id)) return 1;
  if (kClassD.contains(symbol.etalon_id)) return 0;
  return 2;
}

}  // namespace inkrec
