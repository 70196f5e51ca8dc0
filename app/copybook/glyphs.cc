#include "app/copybook/glyphs.h"

#include <algorithm>
#include <map>

#include "app/copybook/shape_drawing.h"
#include "app/windows/window_paint.h"
#include "appplatform/dialog/control_constants.h"
#include "appplatform/draw/display.h"
#include "appplatform/window_system.h"

namespace ductra {
namespace {

constexpr char16_t kFillWhere[] = u"Glyphs::fill_list";
constexpr char16_t kSetUseWhere[] = u"Glyphs::set_variant_use";
constexpr char16_t kRestoreWhere[] = u"Glyphs::restore";
constexpr std::uint32_t kNoCharset = static_cast<std::uint32_t>(-127);
constexpr int kCellSide = 45;
constexpr int kCellHeight = 55;
constexpr int kStandardDots = 96;
constexpr int kPaintMargin = 2;
constexpr platform::ColorRef kMarkColour = platform::rgb(255, 0, 0);
constexpr platform::ColorRef kFocusColour = platform::rgb(0, 0, 255);
constexpr int kMarkWidth = 2;

// The painter of the list while a Glyphs lives; one at a time, UI thread.
Glyphs* g_painter = nullptr;
platform::WindowProcedure g_list_procedure = nullptr;

platform::MessageResult painted_list_procedure(platform::WindowHandle window, std::uint32_t message,
                                               platform::WParam wparam, platform::LParam lparam) {
  if (message == platform::WM_PAINT && g_painter != nullptr) {
    g_painter->paint(false);
    return 0;
  }
  return g_list_procedure != nullptr ? g_list_procedure(window, message, wparam, lparam) : 0;
}

platform::MessageResult send(platform::WindowHandle window, std::uint32_t message, platform::WParam wparam = 0,
                             platform::LParam lparam = 0) {
  return platform::WindowSystem::current().send_message(window, message, wparam, lparam).result;
}

int screen_scale() { return std::max(1, platform::display_dots_per_inch() / kStandardDots); }

// How the two kinds of records name what the list reads.
struct VariantFields {
  static crVariant none() {
    crVariant v{};
    v.idSet = kNoCharset;
    v.copybook_representative = 1;
    return v;
  }
  static std::uint32_t charset(const crVariant& v) { return v.idSet; }
  static std::uint16_t letter(const crVariant& v) { return v.menuc; }
  static std::uint8_t group(const crVariant& v) { return v.copybook_group; }
  static bool represents(const crVariant& v) { return v.copybook_representative != 0; }
  static std::uint32_t& use(crVariant& v) { return v.idUse; }
};

struct ComplexFields {
  static crComplexVariant none() {
    crComplexVariant v{};
    v.set = kNoCharset;
    v.show = 1;
    return v;
  }
  static std::uint32_t charset(const crComplexVariant& v) { return v.set; }
  static std::uint16_t letter(const crComplexVariant& v) { return v.menuc; }
  static std::uint8_t group(const crComplexVariant& v) { return v.group; }
  static bool represents(const crComplexVariant& v) { return v.show != 0; }
  static std::uint32_t& use(crComplexVariant& v) { return v.use; }
};

// The letter's records keyed in list order: a group by its number, each
// ungrouped record by 0, -1, -2, ... as found, so the last found comes
// first.
template <typename Record>
using Gathered = std::map<std::int32_t, std::vector<Record>>;

template <typename Fields, typename Record, typename Count, typename Get>
std::optional<ExceptionInfo> gather(std::uint32_t charset, std::int32_t letter, Count count, Get get,
                                    Gathered<Record>& out) {
  std::uint32_t n = 0;
  if (const int status = count(&n); status != 0) return ExceptionInfo{kFillWhere, status};
  std::int32_t next_alone = 0;
  for (std::uint32_t i = 0; i < n; ++i) {
    Record record = Fields::none();
    if (const int status = get(i, &record); status != 0) return ExceptionInfo{kFillWhere, status};
    if (Fields::charset(record) != charset || static_cast<std::int32_t>(Fields::letter(record)) != letter) continue;
    const std::int32_t key = Fields::group(record) != 0 ? Fields::group(record) : next_alone--;
    out[key].push_back(record);
  }
  return std::nullopt;
}

// The last member flagged as representative, else the first.
template <typename Fields, typename Record>
const Record& representative_of(const std::vector<Record>& members) {
  const auto flagged = std::find_if(members.rbegin(), members.rend(), Fields::represents);
  return flagged != members.rend() ? *flagged : members.front();
}

// Element 0 of shape `id`; nothing when the shape has no element.
std::optional<ExceptionInfo> first_element(Engine& engine, std::uint16_t id, std::optional<ShapeElement>& out) {
  ShapeCopy copy;
  if (const int status = engine.shape(id, copy.receive()); status != 0) return ExceptionInfo{kFillWhere, status};
  if (const crSample* element = copy.first_element()) out.emplace(*element);
  return std::nullopt;
}

// Writes `use` to every member of a group; `set` writes one record.
template <typename Fields, typename Group, typename Set>
UseChange set_group_use(Group& group, std::int32_t use, Set set) {
  const auto wanted = static_cast<std::uint32_t>(use);
  UseChange change;
  change.changed = Fields::use(group.representative) != wanted;
  Fields::use(group.representative) = wanted;
  for (auto& member : group.members) {
    if (Fields::use(member) == wanted) continue;
    Fields::use(member) = wanted;
    change.changed = true;
    if (const int status = set(member); status != 0) {
      change.failure = ExceptionInfo{kSetUseWhere, status};
      return change;
    }
  }
  return change;
}

// Sets every record of one kind back to often.
template <typename Fields, typename Count, typename Get, typename Set>
void restore_all(Count count, Get get, Set set, UseChange& change) {
  std::uint32_t n = 0;
  if (const int status = count(&n); status != 0) {
    change.failure = ExceptionInfo{kRestoreWhere, status};
    return;
  }
  for (std::uint32_t i = 0; i < n; ++i) {
    auto record = Fields::none();
    if (const int status = get(i, &record); status != 0) {
      change.failure = ExceptionInfo{kRestoreWhere, status};
      return;
    }
    if (Fields::use(record) == kUseOften) continue;
    Fields::use(record) = kUseOften;
    if (const int status = set(record); status != 0) {
      change.failure = ExceptionInfo{kRestoreWhere, status};
      return;
    }
    change.changed = true;
  }
}

}  // namespace

void draw_use_mark(platform::DeviceContext& dc, const platform::Rect& cell, std::int32_t use) {
  if (use != kUseRarely && use != kUseNever) return;
  const platform::Pen previous = dc.select_pen(platform::solid_pen(kMarkWidth, kMarkColour));
  if (use == kUseNever) {
    dc.move_to(cell.left, cell.top);
    dc.line_to(cell.right, cell.bottom);
  }
  dc.move_to(cell.right, cell.top);
  dc.line_to(cell.left, cell.bottom);
  dc.select_pen(previous);
}

Glyphs::Glyphs(const CopybookList& list, Engine& engine)
    : list_(list),
      engine_(engine),
      scale_x_(screen_scale()),
      scale_y_(screen_scale()),
      image_list_(platform::ImageList::create(kCellSide * scale_x_, kCellSide * scale_y_)),
      focus_pen_(platform::solid_pen(scale_x_, kFocusColour)),
      stroke_pen_(platform::solid_pen(2 * scale_x_, platform::rgb(0, 0, 0))),
      guide_pen_{platform::PenStyle::dash, scale_x_, platform::rgb(0, 0, 0)} {
  if (image_list_) {
    const int w = image_list_->image_width();
    const int h = image_list_->image_height();
    image_list_->add_icon(platform::Icon::create(platform::Bitmap::create_mono(w, h), platform::Bitmap::create_mono(w, h)));
  }
  g_list_procedure = platform::WindowSystem::current().set_procedure(list_.window, painted_list_procedure);
  previous_procedure_ = g_list_procedure;
  g_painter = this;
}

Glyphs::~Glyphs() {
  send(list_.window, platform::LVM_SETIMAGELIST, platform::LVSIL_NORMAL, 0);
  if (previous_procedure_ != nullptr) platform::WindowSystem::current().set_procedure(list_.window, previous_procedure_);
  if (g_painter == this) g_painter = nullptr;
}

std::optional<ExceptionInfo> Glyphs::fill_list(std::uint32_t charset, std::int32_t letter) {
  send(list_.window, platform::LVM_DELETEALLITEMS);
  variant_groups_.clear();
  complex_groups_.clear();
  send(list_.window, platform::LVM_SETIMAGELIST, platform::LVSIL_NORMAL,
       reinterpret_cast<platform::LParam>(image_list_.get()));
  send(list_.window, platform::LVM_SETICONSPACING, 0,
       platform::make_lparam(kCellSide * scale_x_, kCellHeight * scale_y_));
  if (auto failure = gather_variants(charset, letter)) return failure;
  if (auto failure = gather_complex_variants(charset, letter)) return failure;
  insert_items();
  platform::WindowSystem::current().invalidate_rect(list_.window, std::nullopt, true);
  select_item(list_, 0);
  return std::nullopt;
}

std::optional<ExceptionInfo> Glyphs::gather_variants(std::uint32_t charset, std::int32_t letter) {
  Gathered<crVariant> gathered;
  auto failure = gather<VariantFields>(
      charset, letter, [&](std::uint32_t* n) { return engine_.variant_count(n); },
      [&](std::uint32_t i, crVariant* v) { return engine_.variant_by_index(i, v); }, gathered);
  if (failure) return failure;
  for (auto& [key, members] : gathered) {
    const crVariant& representative = representative_of<VariantFields>(members);
    std::optional<ShapeElement> shape;
    if (auto shape_failure = first_element(engine_, representative.shape_id, shape)) return shape_failure;
    if (!shape) continue;
    variant_groups_.push_back({representative, std::move(*shape), std::move(members)});
  }
  return std::nullopt;
}

std::optional<ExceptionInfo> Glyphs::gather_complex_variants(std::uint32_t charset, std::int32_t letter) {
  Gathered<crComplexVariant> gathered;
  auto failure = gather<ComplexFields>(
      charset, letter, [&](std::uint32_t* n) { return engine_.complex_variant_count(n); },
      [&](std::uint32_t i, crComplexVariant* v) { return engine_.complex_variant_by_index(i, v); }, gathered);
  if (failure) return failure;
  for (auto& [key, members] : gathered) {
    const crComplexVariant& representative = representative_of<ComplexFields>(members);
    const bool whole = representative.whole_shape_id != 0;
    std::optional<ShapeElement> first;
    std::optional<ShapeElement> second;
    if (auto f = first_element(engine_, whole ? representative.whole_shape_id : representative.reference_id, first)) {
      return f;
    }
    if (!first) continue;
    if (!whole) {
      if (auto f = first_element(engine_, representative.detail_shape_id, second)) return f;
      if (!second) continue;
    }
    complex_groups_.push_back(
        {representative, std::move(*first), second ? std::move(*second) : ShapeElement{}, std::move(members)});
  }
  return std::nullopt;
}

void Glyphs::insert_items() {
  std::vector<std::int32_t> uses;
  for (const VariantGroup& g : variant_groups_) uses.push_back(static_cast<std::int32_t>(g.representative.idUse));
  for (const ComplexVariantGroup& g : complex_groups_) uses.push_back(static_cast<std::int32_t>(g.representative.use));
  for (std::size_t i = 0; i < uses.size(); ++i) {
    platform::ListViewItem item;
    item.mask = platform::LVIF_IMAGE | platform::LVIF_PARAM;
    item.item = static_cast<int>(i);
    item.image = 0;
    item.param = uses[i];
    send(list_.window, platform::LVM_INSERTITEM, 0, reinterpret_cast<platform::LParam>(&item));
  }
}

int Glyphs::focused_item() const {
  return static_cast<int>(
      send(list_.window, platform::LVM_GETNEXTITEM, static_cast<platform::WParam>(-1), platform::LVNI_FOCUSED));
}

std::optional<std::int32_t> Glyphs::focused_use() const {
  const int f = focused_item();
  if (f < 0) return std::nullopt;
  const auto n = static_cast<std::size_t>(f);
  if (n < variant_groups_.size()) return static_cast<std::int32_t>(variant_groups_[n].representative.idUse);
  const std::size_t j = n - variant_groups_.size();
  if (j < complex_groups_.size()) return static_cast<std::int32_t>(complex_groups_[j].representative.use);
  return std::nullopt;
}

std::optional<platform::Rect> Glyphs::icon_rect(int item) const {
  platform::Rect rect{platform::LVIR_ICON, 0, 0, 0};
  if (send(list_.window, platform::LVM_GETITEMRECT, static_cast<platform::WParam>(item),
           reinterpret_cast<platform::LParam>(&rect)) == 0) {
    return std::nullopt;
  }
  return rect;
}

void Glyphs::draw_item(platform::DeviceContext& dc, int item, bool animate) const {
  const std::optional<platform::Rect> cell = icon_rect(item);
  if (!cell) return;
  const auto k = static_cast<std::size_t>(item);
  std::int32_t use = kUseOften;
  if (k < variant_groups_.size()) {
    const VariantGroup& group = variant_groups_[k];
    draw_shape(dc, stroke_pen_, guide_pen_, animate, group.shape.sample(), {*cell, kCellShapeUnits}, {});
    use = static_cast<std::int32_t>(group.representative.idUse);
  } else if (k - variant_groups_.size() < complex_groups_.size()) {
    const ComplexVariantGroup& group = complex_groups_[k - variant_groups_.size()];
    const crDynArray second_list{0, 1, 1, const_cast<crSample*>(&group.second_shape.sample())};
    const bool two_parts = group.second_shape.has_strokes();
    const SecondPart second{two_parts ? &second_list : nullptr, two_parts ? group.representative.add : 0u,
                            two_parts ? group.representative.cnt : 0};
    draw_shape(dc, stroke_pen_, guide_pen_, animate, group.first_shape.sample(), {*cell, kCellShapeUnits}, second);
    use = static_cast<std::int32_t>(group.representative.use);
  } else {
    return;
  }
  draw_use_mark(dc, *cell, use);
}

void Glyphs::paint(bool animate) {
  if (paint_lock_.try_enter() != platform::TryEnter::entered) return;
  {
    WindowPaint painting(platform::WindowSystem::current(), list_.window);
    platform::DeviceContext& dc = painting.dc();
    const platform::Rect& client = painting.client();
    dc.rectangle(client.left - kPaintMargin, client.top - kPaintMargin, client.right + kPaintMargin,
                 client.bottom + kPaintMargin);
    const int focused = focused_item();
    const int items = static_cast<int>(variant_groups_.size() + complex_groups_.size());
    for (int k = 0; k < items; ++k) {
      if (!(animate && k == focused)) draw_item(dc, k, false);
    }
    if (const std::optional<platform::Rect> frame = focused >= 0 ? icon_rect(focused) : std::nullopt) {
      const platform::Pen previous = dc.select_pen(focus_pen_);
      const platform::Point corners[] = {{frame->left, frame->top},    {frame->right, frame->top},
                                         {frame->right, frame->bottom}, {frame->left, frame->bottom},
                                         {frame->left, frame->top},    {frame->right, frame->top}};
      dc.polyline(corners);
      dc.select_pen(previous);
      if (animate) draw_item(dc, focused, true);
    }
  }
  paint_lock_.leave();
}

UseChange Glyphs::set_variant_use(std::int32_t use) {
  const int f = focused_item();
  if (f < 0) return {};
  const auto k = static_cast<std::size_t>(f);
  UseChange change;
  if (k < variant_groups_.size()) {
    change = set_group_use<VariantFields>(variant_groups_[k], use,
                                          [&](const crVariant& v) { return engine_.set_variant(v); });
  } else if (k - variant_groups_.size() < complex_groups_.size()) {
    change = set_group_use<ComplexFields>(complex_groups_[k - variant_groups_.size()], use,
                                          [&](const crComplexVariant& v) { return engine_.set_complex_variant(v); });
  } else {
    return {};
  }
  paint(false);
  return change;
}

UseChange Glyphs::restore() {
  UseChange change;
  restore_all<VariantFields>([&](std::uint32_t* n) { return engine_.variant_count(n); },
                             [&](std::uint32_t i, crVariant* v) { return engine_.variant_by_index(i, v); },
                             [&](const crVariant& v) { return engine_.set_variant(v); }, change);
  if (change.failure) return change;
  restore_all<ComplexFields>(
      [&](std::uint32_t* n) { return engine_.complex_variant_count(n); },
      [&](std::uint32_t i, crComplexVariant* v) { return engine_.complex_variant_by_index(i, v); },
      [&](const crComplexVariant& v) { return engine_.set_complex_variant(v); }, change);
  return change;
}

}  // namespace ductra
