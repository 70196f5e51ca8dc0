#include "app/copybook/glyphs.h"

#include <gtest/gtest.h>

#include "copybook_fixture.h"
#include "appplatform/dialog/list_view.h"
#include "appplatform/dialog/standard_controls.h"

namespace ductra {
namespace {

using testing::complex_variant;
using testing::line_shape;
using testing::variant;

constexpr std::uint32_t kEnglish = 5;
constexpr platform::ColorRef kRed = platform::rgb(255, 0, 0);
constexpr platform::ColorRef kBlue = platform::rgb(0, 0, 255);

class GlyphsTest : public testing::CopybookTest {
 protected:
  GlyphsTest() {
    platform::register_standard_controls(system_);
    platform::CreateWindowParams params;
    params.class_name = platform::kListViewClass;
    params.style = platform::WS_POPUP | platform::WS_VISIBLE;
    params.x = kListLeft;
    params.y = kListTop;
    params.width = 200;
    params.height = 120;
    list_.window = system_.create_window(params);
    list_.owner = &selections_;
    list_.on_select = [](void* owner) { ++*static_cast<int*>(owner); };
  }
  ~GlyphsTest() override { system_.destroy_window(list_.window); }

  int item_count() {
    return static_cast<int>(system_.send_message(list_.window, platform::LVM_GETITEMCOUNT, 0, 0).result);
  }
  std::vector<std::int32_t> item_params() {
    std::vector<std::int32_t> params;
    for (int i = 0; i < item_count(); ++i) {
      platform::ListViewItem item;
      item.mask = platform::LVIF_PARAM;
      item.item = i;
      system_.send_message(list_.window, platform::LVM_GETITEM, 0, reinterpret_cast<platform::LParam>(&item));
      params.push_back(static_cast<std::int32_t>(item.param));
    }
    return params;
  }
  void focus(int item) { select_item(list_, item); }
  // The item's cell on the screen.
  platform::Rect cell(int item) {
    platform::Rect rect{platform::LVIR_ICON, 0, 0, 0};
    system_.send_message(list_.window, platform::LVM_GETITEMRECT, static_cast<platform::WParam>(item),
                         reinterpret_cast<platform::LParam>(&rect));
    return rect.offset(kListLeft, kListTop);
  }
  // Whether a pixel next to (x, y) is of `colour`.
  bool colour_near(int x, int y, platform::ColorRef colour) const {
    for (int dy = -1; dy <= 1; ++dy) {
      for (int dx = -1; dx <= 1; ++dx) {
        if (screen_->color_at(x + dx, y + dy) == colour) return true;
      }
    }
    return false;
  }
  void paint() {
    system_.invalidate_rect(list_.window, std::nullopt, true);
    system_.update_window(list_.window);
  }

  static constexpr int kListLeft = 20;
  static constexpr int kListTop = 40;
  CopybookList list_;
  int selections_ = 0;
};

// Three ungrouped variants, a group without a flagged representative, a
// group with two flagged ones, a variant without a shape, others of another
// letter and charset; complex variants drawn whole, from two parts, and
// one whose second part has no shape element.
fake_engine::Copybook letter_a() {
  fake_engine::Copybook c;
  c.variants = {variant(1, kEnglish, u'a', 101),
                variant(2, kEnglish, u'a', 102, 1),
                variant(3, kEnglish, u'a', 103),
                variant(4, kEnglish, u'b', 104),
                variant(5, kEnglish, u'a', 105, 1),
                variant(6, 4, u'a', 106),
                variant(7, kEnglish, u'a', 107),
                variant(8, kEnglish, u'a', 108, 2, true),
                variant(9, kEnglish, u'a', 109, 2, true, 1),
                variant(10, kEnglish, u'a', 110, 3)};
  c.complex_variants = {complex_variant(20, kEnglish, u'a', 120, 0, 0),
                        complex_variant(21, kEnglish, u'a', 0, 121, 122, 0, 2),
                        complex_variant(22, kEnglish, u'a', 0, 121, 123)};
  for (const std::uint16_t id : {101, 102, 103, 104, 105, 106, 107, 108, 109, 120, 121, 122}) {
    c.shapes[id] = line_shape(static_cast<std::int16_t>(id));
  }
  c.shapes[110] = {};
  c.shapes[123] = {};
  return c;
}

TEST_F(GlyphsTest, TheLettersVariantsAreGroupedAndOrderedUngroupedLastFoundFirst) {
  start(letter_a());
  Glyphs glyphs(list_, *engine_);
  EXPECT_EQ(glyphs.fill_list(kEnglish, u'a'), std::nullopt);
  std::vector<std::uint16_t> shown;
  std::vector<std::vector<std::uint16_t>> members;
  for (const VariantGroup& g : glyphs.variant_groups()) {
    shown.push_back(g.representative.shape_id);
    members.emplace_back();
    for (const crVariant& m : g.members) members.back().push_back(m.id);
  }
  EXPECT_EQ(shown, (std::vector<std::uint16_t>{107, 103, 101, 102, 109}))
      << "V3, V2, V1, then group 1 shown by its first member, group 2 by its last flagged one; "
         "group 3 has a shape without elements and is left out";
  EXPECT_EQ(members, (std::vector<std::vector<std::uint16_t>>{{7}, {3}, {1}, {2, 5}, {8, 9}}));
  ASSERT_EQ(glyphs.complex_groups().size(), 2u) << "the one whose second part has no shape is left out";
  EXPECT_EQ(glyphs.complex_groups()[0].representative.id, 21) << "ungrouped: the last found first";
  EXPECT_TRUE(glyphs.complex_groups()[0].second_shape.has_strokes());
  EXPECT_FALSE(glyphs.complex_groups()[1].second_shape.has_strokes()) << "drawn from one whole shape";
  EXPECT_EQ(item_params(), (std::vector<std::int32_t>{0, 0, 0, 0, 1, 2, 0})) << "each item holds its group's use";
  EXPECT_EQ(glyphs.focused_use(), 0) << "item 0 selected";
  EXPECT_GE(selections_, 1) << "the owner heard of the selection";
  EXPECT_EQ(observed().shapes_given, 11) << "every shape asked for was handed out (and released)";
}

TEST_F(GlyphsTest, ANewUseIsWrittenToEveryMemberThatDiffersAndOnlyOnce) {
  fake_engine::Copybook c;
  c.variants = {variant(1, kEnglish, u'e', 101, 4), variant(2, kEnglish, u'e', 101, 4, false, 1),
                variant(3, kEnglish, u'e', 101, 4)};
  c.complex_variants = {complex_variant(20, kEnglish, u'e', 120, 0, 0)};
  c.shapes[101] = line_shape(100);
  c.shapes[120] = line_shape(200);
  start(c);
  Glyphs glyphs(list_, *engine_);
  ASSERT_EQ(glyphs.fill_list(kEnglish, u'e'), std::nullopt);

  UseChange change = glyphs.set_variant_use(kUseRarely);
  EXPECT_TRUE(change.changed);
  EXPECT_EQ(change.failure, std::nullopt);
  std::vector<std::uint16_t> written;
  for (const crVariant& v : observed().variants_set) {
    written.push_back(v.id);
    EXPECT_EQ(v.idUse, 1u);
  }
  EXPECT_EQ(written, (std::vector<std::uint16_t>{1, 3})) << "the member already rarely used is not written";
  EXPECT_EQ(glyphs.focused_use(), kUseRarely);
  change = glyphs.set_variant_use(kUseRarely);
  EXPECT_FALSE(change.changed);
  EXPECT_EQ(observed().variants_set.size(), 2u) << "nothing written again";

  focus(1);
  change = glyphs.set_variant_use(kUseNever);
  EXPECT_TRUE(change.changed);
  ASSERT_EQ(observed().complex_variants_set.size(), 1u);
  EXPECT_EQ(observed().complex_variants_set[0].use, 2u);
  EXPECT_EQ(glyphs.focused_use(), kUseNever);
}

TEST_F(GlyphsTest, WithoutAFocusedVariantAUseChangeChangesNothing) {
  fake_engine::Copybook c;
  c.variants = {variant(1, kEnglish, u'e', 101)};
  c.shapes[101] = line_shape(100);
  start(c);
  Glyphs glyphs(list_, *engine_);
  ASSERT_EQ(glyphs.fill_list(kEnglish, u'z'), std::nullopt);
  EXPECT_EQ(item_count(), 0);
  const UseChange change = glyphs.set_variant_use(kUseNever);
  EXPECT_FALSE(change.changed);
  EXPECT_EQ(change.failure, std::nullopt);
  EXPECT_EQ(glyphs.focused_use(), std::nullopt);
  EXPECT_TRUE(observed().variants_set.empty());
}

TEST_F(GlyphsTest, RestoreSetsEveryVariantOfEveryCharsetBackToOften) {
  fake_engine::Copybook c;
  c.variants = {variant(1, kEnglish, u'e', 101, 0, false, 2), variant(2, 4, u'ж', 101),
                variant(3, 4, u'ж', 101, 0, false, 1)};
  c.complex_variants = {complex_variant(20, 7, u'ä', 120, 0, 0, 0, 2)};
  start(c);
  Glyphs glyphs(list_, *engine_);
  UseChange change = glyphs.restore();
  EXPECT_TRUE(change.changed);
  std::vector<std::uint16_t> written;
  for (const crVariant& v : observed().variants_set) written.push_back(v.id);
  EXPECT_EQ(written, (std::vector<std::uint16_t>{1, 3}));
  ASSERT_EQ(observed().complex_variants_set.size(), 1u);
  EXPECT_EQ(observed().complex_variants_set[0].use, 0u);
  change = glyphs.restore();
  EXPECT_FALSE(change.changed) << "every use is often already";
  EXPECT_EQ(observed().variants_set.size(), 2u);
}

TEST_F(GlyphsTest, EngineRefusalsNameTheOperationAndKeepWhatWasWritten) {
  fake_engine::Copybook c;
  c.variants = {variant(1, kEnglish, u'e', 101, 4), variant(2, kEnglish, u'e', 101, 4)};
  c.complex_variants = {complex_variant(20, kEnglish, u'e', 120, 0, 0, 0, 1)};
  c.shapes[101] = line_shape(100);
  c.shapes[120] = line_shape(200);
  start(c);
  Glyphs glyphs(list_, *engine_);

  control_.script_failure("crmGetShape", 14008, 1);
  std::optional<ExceptionInfo> failure = glyphs.fill_list(kEnglish, u'e');
  ASSERT_TRUE(failure.has_value());
  EXPECT_EQ(std::u16string(failure->where), u"Glyphs::fill_list");
  EXPECT_EQ(failure->code, 14008);
  EXPECT_EQ(item_count(), 0) << "a failed fill lists nothing";
  EXPECT_EQ(glyphs.variant_groups().size(), 1u) << "the groups read before the failure stay";

  control_.script_failure("crmVariantSet", 13001, 1);
  ASSERT_EQ(glyphs.fill_list(kEnglish, u'e'), std::nullopt);
  UseChange change = glyphs.set_variant_use(kUseNever);
  EXPECT_TRUE(change.changed) << "the first member was written";
  ASSERT_TRUE(change.failure.has_value());
  EXPECT_EQ(std::u16string(change.failure->where), u"Glyphs::set_variant_use");
  EXPECT_EQ(observed().variants_set.size(), 1u);

  control_.script_failure("crmComplexVariantGetByInd", 4001, 0);
  change = glyphs.restore();
  ASSERT_TRUE(change.failure.has_value());
  EXPECT_EQ(std::u16string(change.failure->where), u"Glyphs::restore");
  EXPECT_EQ(change.failure->code, 4001);
  EXPECT_TRUE(change.changed) << "the variants were set back before the complex ones failed";
}

TEST_F(GlyphsTest, EachItemShowsItsShapeAndUseMarkAndTheFocusedOneAFrame) {
  fake_engine::Copybook c;
  c.variants = {variant(1, kEnglish, u'e', 101, 0, false, 1), variant(2, kEnglish, u'e', 101, 0, false, 2),
                variant(3, kEnglish, u'e', 101)};
  c.shapes[101] = line_shape(160);
  start(c);
  Glyphs glyphs(list_, *engine_);
  ASSERT_EQ(glyphs.fill_list(kEnglish, u'e'), std::nullopt);
  paint();
  keep_screen("glyph_marks.png");
  // Items: variant 3 (often, focused), 2 (never), 1 (rarely).
  const platform::Rect often = cell(0), never = cell(1), rarely = cell(2);
  const auto red_at = [&](const platform::Rect& r, int fx, int fy) {
    return colour_near(r.left + r.width() * fx / 4, r.top + r.height() * fy / 4, kRed);
  };
  EXPECT_TRUE(red_at(never, 1, 1) && red_at(never, 3, 1)) << "a cross over a variant never used";
  EXPECT_FALSE(red_at(rarely, 1, 1));
  EXPECT_TRUE(red_at(rarely, 3, 1)) << "one stroke from the top right over a variant rarely used";
  EXPECT_FALSE(red_at(often, 1, 1) || red_at(often, 3, 1)) << "no mark over a variant often used";
  EXPECT_EQ(screen_->color_at(often.left + 5, often.top), kBlue) << "the focused item's frame";
  EXPECT_NE(screen_->color_at(never.left + 5, never.top), kBlue);
  const int line_y = often.top + 10 + 160 * often.width() / kCellShapeUnits;
  EXPECT_TRUE(colour_near(often.left + often.width() / 2, line_y, platform::rgb(0, 0, 0))) << "the shape's stroke";
}

TEST_F(GlyphsTest, TheListPaintsItselfAgainOnceGlyphsIsGone) {
  start({});
  const platform::WindowProcedure own = system_.procedure(list_.window);
  {
    Glyphs glyphs(list_, *engine_);
    EXPECT_NE(system_.procedure(list_.window), own);
  }
  EXPECT_EQ(system_.procedure(list_.window), own);
  system_.invalidate_rect(list_.window, std::nullopt, true);
  system_.update_window(list_.window);  // no image list of the gone Glyphs is drawn
}

}  // namespace
}  // namespace ductra
