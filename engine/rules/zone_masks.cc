// The zone-mask table.

#include "engine/rules/zone_masks.h"

#include <array>
#include <initializer_list>

#include "engine/records/letter_fields.h"
#include "engine/rules/id_set.h"

namespace inkrec {
namespace {

constexpr std::uint16_t kLargestShape = 5491;
constexpr std::uint32_t kEnd = 0xFFFFFF0E;  // the end mask most shapes share
constexpr std::uint32_t kAll = 0xFFFFFFFF;

struct MaskRow {
  ZoneMasks masks;
  std::initializer_list<IdRange> shapes;
};

// Shapes 198 and 335 are left out: their masks depend on the second code.
constexpr MaskRow kRows[] = {
    {{0x0E0E0E0E, 0, 0, 0}, {{3, 3}}},
    {{0, 0, kAll, 0}, {{11, 11}}},
    {{0, 0, 0, kEnd},
     {{12, 12},     {14, 14},     {24, 24},     {47, 47},     {71, 72},    {95, 95},
      {194, 194},   {197, 197},   {278, 278},   {317, 317},   {359, 359},  {403, 403},
      {541, 541},   {546, 547},   {549, 550},   {555, 555},   {560, 560},  {574, 574},
      {577, 577},   {605, 605},   {614, 614},   {617, 617},   {621, 621},  {1594, 1599},
      {1602, 1602}, {1609, 1610}, {1630, 1630}, {1632, 1633}, {5491, 5491}}},
    {{0xFF1FFF00, 0xFF1FFF00, 0, 0}, {{38, 38}, {491, 491}, {494, 496}, {522, 522}}},
    {{0xFFFFFF00, 0xFFFFFF00, 0, 0}, {{52, 52}, {358, 358}, {366, 366}, {380, 381}, {481, 482}}},
    {{0xF1F1FFF1, 0xF1F1FFF1, 0, 0}, {{78, 78}}},
    {{0xF1FF7C7C, 0xF1FF7C7C, 0, 0}, {{79, 79}}},
    {{0xFFFFFFE0, kAll, 0, 0}, {{80, 81}}},
    {{0xFFFFFF1F, 0xFFFFFF1F, 0, 0}, {{82, 82}, {90, 93}, {96, 97}, {676, 676}}},
    {{0xFFF1FFF1, 0xFFF1FFF1, 0, 0}, {{126, 128}, {130, 130}, {319, 319}, {321, 321}}},
    {{0xFFFF1C00, 0xFFFF1C00, 0, 0}, {{129, 129}, {131, 133}}},
    {{0x08000000, 0x08000000, 0, 0}, {{138, 148}}},
    {{0xFFF3FF00, 0xFF3FFF10, 0, kEnd}, {{150, 150}}},
    {{0xFF000000, 0xFF000000, 0, 0}, {{151, 151}, {153, 154}}},
    {{0xFF7C7C7C, 0xFF7C7C7C, 0, 0}, {{155, 155}}},
    {{0xFF11FF00, 0xFF11FF00, 0, 0},
     {{158, 158},
      {214, 220},
      {237, 237},
      {241, 243},
      {258, 258},
      {260, 260},
      {264, 264},
      {322, 323},
      {530, 533}}},
    {{0xFF00FF00, 0xFF00FF00, kAll, kEnd}, {{159, 164}, {166, 167}}},
    {{0xFFFF1C1C, 0xFFFF1C1C, 0, 0}, {{165, 165}, {171, 171}, {232, 233}}},
    {{0xFFFFC783, 0xFFFFC783, 0xFFFFFF83, 0}, {{168, 170}}},
    {{0xF1F1F101, 0xF1F1F101, 0, 0}, {{180, 180}, {183, 186}, {416, 419}}},
    {{0xFFFFC7C7, 0xFFFFC7C7, 0xFFFFFF83, 0}, {{181, 182}}},
    {{0xFF1FFF1F, 0xFF1FFF1F, 0, 0}, {{189, 190}}},
    {{0xFF1FFF1F, 0xFF1FFF1F, 0, kEnd}, {{191, 192}}},
    {{0xFF1FFF16, 0xFF1FFF1A, 0, kEnd}, {{199, 204}, {206, 212}}},
    {{0xFF1FFF1E, 0xFF1FFF1A, 0, kEnd}, {{205, 205}}},
    {{0x0C101800, 0x0C101800, 0, kEnd}, {{223, 223}, {226, 226}, {228, 229}}},
    {{0xFF1FFF10, 0xFF1FFF10, 0, 0}, {{225, 225}, {227, 227}, {230, 231}, {696, 696}}},
    {{0x1F1F1F07, 0x1F1F1F07, 0, kEnd}, {{235, 236}, {238, 238}}},
    {{kAll, kAll, 0, 0},
     {{239, 239},
      {251, 251},
      {277, 277},
      {320, 320},
      {324, 324},
      {387, 387},
      {390, 390},
      {404, 404},
      {407, 407},
      {409, 409},
      {445, 447},
      {459, 459},
      {465, 467},
      {503, 503},
      {505, 506}}},
    {{0xFFFFFF00, 0xFFFFFF00, 0, kEnd}, {{240, 240}, {492, 493}, {497, 497}}},
    {{0x1F1F1F07, 0x1F1F1F06, 0, kEnd}, {{244, 248}}},
    {{0x1F1F1F00, 0x1F1F1F00, 0, kEnd}, {{249, 249}}},
    {{0xFF1FFF04, 0xFF1FFF04, 0, kEnd}, {{256, 257}, {259, 259}, {261, 263}}},
    {{0xFF1FFF14, 0xFF1FFF14, 0, kEnd}, {{265, 268}, {271, 271}}},
    {{0xFF00FF00, 0xFF00FF00, 0, kEnd}, {{269, 270}, {272, 272}, {289, 298}}},
    {{0xFFFFFF11, 0xFF11FF11, 0, kEnd}, {{279, 279}}},
    {{0xFFF1FF00, 0xFF1FFF00, 0, kEnd}, {{280, 280}}},
    {{0xFFFF4400, 0xFF114400, 0, kEnd}, {{281, 281}}},
    {{0xFFF1FFF1, 0xFF11FF01, 0, kEnd}, {{331, 334}, {336, 338}, {340, 341}}},
    {{0xF810F811, 0xF810F811, 0, kEnd}, {{339, 339}}},
    {{0x1C1C1C00, 0x1C1C1C00, 0, kEnd}, {{367, 367}, {375, 379}}},
    {{0xFFFFFF44, 0xFFFFFF44, 0, 0}, {{384, 385}}},
    {{0xFFFFFFE0, 0xFFFFFFE0, 0, 0}, {{386, 386}, {521, 521}, {523, 524}}},
    {{0xC1C1C1C1, 0xC1C1C1C1, 0, 0}, {{388, 389}}},
    {{0xFF00FF00, 0xFFF1FF00, 0, 0}, {{393, 393}}},
    {{0xFFF1FF10, 0xFFF1FF10, 0, kEnd}, {{394, 400}}},
    {{0xFFF1FF11, 0xFFF1FF11, 0, 0}, {{401, 401}}},
    {{0xFFFFFF01, 0xFFFFFF01, 0, 0}, {{405, 405}, {408, 408}, {410, 410}, {412, 413}}},
    {{0x60606000, 0x60606000, 0, 0}, {{406, 406}}},
    {{0xF0F0F000, 0xF0F0F000, 0, 0}, {{415, 415}}},
    {{0xFF111111, 0xFF111111, 0, 0}, {{448, 448}, {454, 456}, {460, 461}}},
    {{0xFF001100, 0xFF001100, 0, 0}, {{462, 462}}},
    {{0xFF1F7100, 0xFF1F7100, 0, 0}, {{463, 464}, {468, 468}}},
    {{0xF1117100, 0xF1117100, 0, 0}, {{472, 477}}},
    {{0xFF1FFF00, 0xFF1FFF00, 0, kEnd}, {{483, 484}}},
    {{0xFF1FFF0E, 0xFF1FFF0E, 0, kEnd}, {{504, 504}, {512, 516}}},
    {{0, 0, 0xF110F010, kEnd}, {{552, 552}}},
    {{0xFFFF3800, 0xFFFF3800, 0, 0}, {{581, 583}, {587, 589}}},
    {{0, 0, 0xFFFFFF83, 0}, {{590, 590}}},
};
constexpr std::size_t kRowCount = sizeof(kRows) / sizeof(kRows[0]);
static_assert(kRowCount < 255);

// Row number + 1 per shape id; 0 for a shape without masks. Building it
// fails to compile when a shape is listed twice.
struct RowIndex {
  consteval RowIndex() {
    for (std::size_t row = 0; row < kRowCount; ++row) {
      for (const IdRange& range : kRows[row].shapes) {
        if (range.first > range.last || range.last > kLargestShape) throw "shape outside";
        for (std::uint32_t id = range.first; id <= range.last; ++id) {
          if (rows[id] != 0) throw "shape listed twice";
          rows[id] = static_cast<std::uint8_t>(row + 1);
        }
      }
    }
  }
  std::array<std::uint8_t, kLargestShape + 1> rows{};
};
constexpr RowIndex kIndex;

constexpr std::uint16_t kCodeEl = 1083;  // л
constexpr std::uint16_t kCodeI = 1080;   // и
constexpr std::uint16_t kCodePe = 1087;  // п

ZoneMasks masks_by_second_code(std::uint16_t shape_id, std::uint16_t second_code) {
  if (second_code == kCodeI) return {0xFF1FFF1E, 0xFF1FFF1E, 0, 0};
  if (shape_id == 198 && second_code == kCodeEl) return {0x1F1F1F07, 0x1F1F1F07, 0, 0};
  if (shape_id == 335 && second_code == kCodePe) return {0xFFFFFFF1, 0xFFF1FFF1, 0, 0};
  return {};
}

}  // namespace

ZoneMasks zone_masks_of(std::uint16_t shape_id, std::uint16_t second_code) {
  if (shape_id == 198 || shape_id == 335) return masks_by_second_code(shape_id, second_code);
  if (shape_id > kLargestShape) return {};
  const std::uint8_t row = kIndex.rows[shape_id];
  return row == 0 ? ZoneMasks{} : kRows[row - 1].masks;
}

ZoneWords zone_words_of(const GlyphGeometry& group_geometry) {
  return {zone_z1(group_geometry), zone_z2(group_geometry), zone_z3(group_geometry),
          zone_z4(group_geometry)};
}

bool zone_mask_conflict(const Variant& symbol, const ZoneWords& zones, bool strict) {
  const ZoneMasks m = zone_masks_of(symbol.shape_id, symbol.second_code);
  if (strict) {
    return (zones.z1 & m.m1) != 0 || (zones.z2 & m.m2) != 0 || (zones.z3 & m.m3) != 0 ||
           (zones.z4 & m.m4) != 0;
  }
  return (zones.z1 & zones.z2 & m.m1 & m.m2) != 0;
}

}  // namespace inkrec
