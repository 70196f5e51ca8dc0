// The four stages of the geometry pre-check.

#include "engine/rules/symbol_geometry_check.h"

#include "engine/foundation/status.h"
#include "engine/records/letter_fields.h"
#include "engine/rules/id_set.h"
#include "engine/rules/symbol_classes.h"

namespace inkrec {
namespace {

// Marks matched on small ink: the low point count does not pass them.
constexpr IdSet<1665> kSmallInkMarks = {{828, 828},   {832, 832},   {836, 836},   {840, 840},
                                        {849, 849},   {853, 853},   {864, 864},   {873, 874},
                                        {878, 879},   {883, 883},   {885, 885},   {893, 894},
                                        {1002, 1003}, {1022, 1022}, {1032, 1032}, {1665, 1665}};
// Shapes that may stand above a following piece of their stroke.
constexpr IdSet<808> kOverFollowingPiece = {
    {41, 47},   {215, 215}, {299, 299}, {301, 318}, {329, 329}, {354, 357},
    {361, 361}, {364, 364}, {384, 385}, {388, 390}, {403, 404}, {436, 440},
    {747, 755}, {762, 762}, {780, 782}, {788, 790}, {792, 794}, {800, 808}};
// Etalons of cursive variants that have no part as tall as the letter.
constexpr IdSet<10598> kWithoutTallPart = {{2418, 2418}, {5050, 5050},  {5553, 5553}, {5560, 5564},
                                           {5568, 5568}, {5570, 5571},  {5574, 5574}, {5578, 5579},
                                           {5583, 5583}, {10598, 10598}};

constexpr std::uint32_t kSecondLinkOption = 1;
constexpr std::uint32_t kFirstLinkOption = 2;

std::int32_t figure_count(const FigureGroup& group) {
  return static_cast<std::int32_t>(group.figures.size());
}

// Stage 2: the conflicts of the symbol with the group's facts.
bool has_conflict(const SymbolGeometryFacts& f, const FigureGroup& group, const Variant& symbol) {
  const PropertyFlags p = properties_of(symbol);
  const std::int32_t n = figure_count(group);
  const std::int32_t w = f.box.width();
  const std::int32_t h = f.box.height();
  if (f.loops_a + f.loops_b <= 1 && n == 1 && symbol_part_conflict(symbol, f.loops_a, f.loops_b))
    return true;
  if ((f.option_word & kSecondLinkOption) != 0 && symbol_class_conflict_a(symbol)) return true;
  if ((f.option_word & kFirstLinkOption) != 0 && symbol_class_conflict_b(symbol)) return true;
  if (n == 1 && p.bit6() != 0) return true;
  if (f.segment_switch && n >= 2 && f.stroke_gap > (w + h) / 5 && p.bit7() != 0) return true;
  if (f.first_piece_start < 1 ? p.bit9() != 0 : p.bit8() != 0) return true;
  if (f.element_flag == 0 && p.bit10() != 0) return true;
  if (symbol_size_conflict(symbol, f.bridge_percent)) return true;
  return zone_mask_conflict(symbol, f.zones, f.segment_switch);
}

// Stage 3: the group lies at or below the bottom of the stroke's
// following piece.
bool above_following_piece(const SymbolGeometryFacts& f, const Variant& symbol) {
  if (f.following_piece_box == nullptr || f.box.top < f.following_piece_box->bottom) return false;
  return !kOverFollowingPiece.contains(symbol.shape_id);
}

// Stage 4: kOk with *ruled_out, or kBadArgument at a null figure.
int check_tall_part(const SymbolGeometryFacts& f, const FigureGroup& group, const Variant& symbol,
                    bool* ruled_out) {
  if (symbol.cursive_flag < 2 || figure_count(group) < 2) return kOk;
  const std::int32_t tall = 9 * f.box.height() / 10;
  for (const FigureRecord* figure : group.figures) {
    if (figure == nullptr) return kBadArgument;
    if (figure->geometry.bounding_box().height() >= tall) return kOk;
  }
  *ruled_out = !kWithoutTallPart.contains(symbol.etalon_id);
  return kOk;
}

}  // namespace

int symbol_geometry_facts(FigureGroup& group, SymbolGeometryFacts* facts) {
  if (group.geometry == nullptr || group.figures.empty() || group.figures[0] == nullptr)
    return kBadArgument;
  int status = kOk;
  const MarkBlock& marks = element_mark_block(group, &status);
  if (status != kOk) return status;
  facts->point_count = count_field(marks);
  facts->loops_a = geometry_check_a(marks);
  facts->loops_b = geometry_check_b(marks);
  facts->element_flag = element_flag(group);
  facts->option_word = option_word(group);
  facts->first_piece_start = piece_start_selector(*group.figures[0]);
  facts->zones = zone_words_of(*group.geometry);
  facts->box = group.geometry->bounding_box();
  return kOk;
}

int check_symbol_geometry(const SymbolGeometryFacts& facts, const FigureGroup& group,
                          const Variant& symbol, bool* ruled_out) {
  *ruled_out = false;
  if (facts.point_count < 20 && !kSmallInkMarks.contains(symbol.shape_id)) return kOk;
  if (has_conflict(facts, group, symbol) || above_following_piece(facts, symbol)) {
    *ruled_out = true;
    return kOk;
  }
  return check_tall_part(facts, group, symbol, ruled_out);
}

}  // namespace inkrec
