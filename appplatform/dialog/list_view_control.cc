// The list view's procedure, its items' layout in both modes, state changes
// and their notifications, and scrolling.
#include <algorithm>
#include <string>
#include <vector>

#include "appplatform/dialog/child_record.h"
#include "appplatform/dialog/control_constants.h"
#include "appplatform/dialog/control_painting.h"
#include "appplatform/dialog/list_view.h"
#include "appplatform/dialog/window_records.h"
#include "appplatform/draw/color.h"
#include "appplatform/draw/image_list.h"
#include "appplatform/window_system.h"

namespace ductra::platform {
namespace {

constexpr int kDefaultSpacing = 43;
constexpr int kLabelGap = 2;

struct Item {
  std::u16string text;
  LParam param = 0;
  int image = 0;
  std::uint32_t state = 0;
};

struct Column {
  std::u16string title;
  int width = 0;
};

struct ListView {
  std::vector<Item> items;
  const ImageList* images = nullptr;
  int spacing_x = kDefaultSpacing;
  int spacing_y = kDefaultSpacing;
  std::vector<Column> columns;  // report mode; none: one column as wide as the client
  int scroll_x = 0;
  int scroll_y = 0;
  int mark = -1;

  bool valid(int index) const { return index >= 0 && index < static_cast<int>(items.size()); }
};

WindowRecords<ListView>& list_views() {
  static WindowRecords<ListView> all;
  return all;
}

WindowSystem& system() { return WindowSystem::current(); }

std::uint32_t style_of(WindowHandle window) {
  const auto info = system().describe(window);
  return info ? info->style : 0;
}

bool is_report(WindowHandle window) { return (style_of(window) & LVS_TYPEMASK) == LVS_REPORT; }

Rect client_of(WindowHandle window) { return system().client_rect(window).value_or(Rect{}); }

int row_height(WindowHandle window) { return child_font(window)->metrics().height + 2; }

int columns(WindowHandle window, const ListView& view) {
  return std::max(1, client_of(window).width() / std::max(1, view.spacing_x));
}

// The report's width: its columns', or the client's without columns.
int row_width(WindowHandle window, const ListView& view) {
  if (view.columns.empty()) return client_of(window).width();
  int width = 0;
  for (const Column& column : view.columns) width += column.width;
  return width;
}

// The width of the column an item's text stands in.
int first_column_width(WindowHandle window, const ListView& view) {
  return view.columns.empty() ? client_of(window).width() : view.columns.front().width;
}

// The height of the column header; 0 when none is shown.
int header_height(WindowHandle window, const ListView& view) {
  const bool shown = is_report(window) && !view.columns.empty() && !(style_of(window) & LVS_NOCOLUMNHEADER);
  return shown ? row_height(window) : 0;
}

// The part of the client area the items scroll in.
Rect item_area(WindowHandle window, const ListView& view) {
  Rect area = client_of(window);
  area.top = std::min(area.bottom, area.top + header_height(window, view));
  return area;
}

// The item's cell in client coordinates, scrolled.
Rect bounds_of(WindowHandle window, const ListView& view, int index) {
  if (is_report(window)) {
    const int h = row_height(window);
    const int top = header_height(window, view) + index * h;
    return Rect{0, top, row_width(window, view), top + h}.offset(-view.scroll_x, -view.scroll_y);
  }
  const int n = columns(window, view);
  const int x = (index % n) * view.spacing_x;
  const int y = (index / n) * view.spacing_y;
  return Rect{x, y, x + view.spacing_x, y + view.spacing_y}.offset(-view.scroll_x, -view.scroll_y);
}

Rect icon_of(WindowHandle window, const ListView& view, int index) {
  const Rect cell = bounds_of(window, view, index);
  const int w = view.images ? view.images->image_width() : 0;
  const int h = view.images ? view.images->image_height() : 0;
  if (is_report(window)) return {cell.left, cell.top, cell.left + w, cell.top + std::min(h, cell.height())};
  const int left = cell.left + (cell.width() - w) / 2;
  return {left, cell.top + kLabelGap, left + w, cell.top + kLabelGap + h};
}

Rect label_of(WindowHandle window, const ListView& view, int index) {
  const Rect cell = bounds_of(window, view, index);
  const Rect icon = icon_of(window, view, index);
  if (is_report(window))
    return {icon.right + kLabelGap, cell.top, cell.left + first_column_width(window, view), cell.bottom};
  return {cell.left, icon.bottom + kLabelGap, cell.right, cell.bottom};
}

// The height of everything, unscrolled.
int content_height(WindowHandle window, const ListView& view) {
  const int count = static_cast<int>(view.items.size());
  if (is_report(window)) return count * row_height(window);
  const int n = columns(window, view);
  return (count + n - 1) / n * view.spacing_y;
}

int content_width(WindowHandle window, const ListView& view) {
  if (is_report(window)) return row_width(window, view);
  return std::min(static_cast<int>(view.items.size()), columns(window, view)) * view.spacing_x;
}

void redraw(WindowHandle window) { system().invalidate_rect(window, std::nullopt, true); }

bool scroll(WindowHandle window, ListView& view, int dx, int dy) {
  const Rect area = item_area(window, view);
  view.scroll_x = std::clamp(view.scroll_x + dx, 0, std::max(0, content_width(window, view) - area.width()));
  view.scroll_y = std::clamp(view.scroll_y + dy, 0, std::max(0, content_height(window, view) - area.height()));
  redraw(window);
  return true;
}

bool ensure_visible(WindowHandle window, ListView& view, int index, bool partial_ok) {
  if (!view.valid(index)) return false;
  const Rect cell = bounds_of(window, view, index);
  const Rect client = item_area(window, view);
  const bool fully = cell.top >= client.top && cell.bottom <= client.bottom;
  const bool partly = cell.bottom > client.top && cell.top < client.bottom;
  if (fully || (partial_ok && partly)) return true;
  const int dy = cell.top < client.top ? cell.top - client.top : cell.bottom - client.bottom;
  return scroll(window, view, 0, dy);
}

// Changes one item's state and reports it to the parent at once.
void change_state(WindowHandle window, int index, std::uint32_t state, std::uint32_t mask) {
  ListView* view = list_views().find(window);
  if (!view || !view->valid(index)) return;
  Item& item = view->items[index];
  const std::uint32_t old_state = item.state;
  const std::uint32_t new_state = (old_state & ~mask) | (state & mask);
  if (new_state == old_state) return;
  item.state = new_state;
  redraw(window);
  ListViewNotify notify;
  notify.header.code = LVN_ITEMCHANGED;
  notify.item = index;
  notify.new_state = new_state;
  notify.old_state = old_state;
  notify.changed = LVIF_STATE;
  notify.param = item.param;
  notify_parent(window, notify.header);
}

// One item at most is focused; with LVS_SINGLESEL one at most selected.
std::uint32_t exclusive_bits(WindowHandle window, std::uint32_t state, std::uint32_t mask) {
  std::uint32_t bits = state & mask & LVIS_FOCUSED;
  if (style_of(window) & LVS_SINGLESEL) bits |= state & mask & LVIS_SELECTED;
  return bits;
}

bool set_item_state(WindowHandle window, int index, std::uint32_t state, std::uint32_t mask) {
  ListView* view = list_views().find(window);
  if (!view || (index != -1 && !view->valid(index))) return false;
  const int count = static_cast<int>(view->items.size());
  if (index == -1) {
    for (int i = 0; i < count; ++i) change_state(window, i, state, mask);
    return true;
  }
  if (const std::uint32_t exclusive = exclusive_bits(window, state, mask)) {
    for (int i = 0; i < count; ++i) {
      if (i != index) change_state(window, i, 0, exclusive);
    }
  }
  change_state(window, index, state, mask);
  return true;
}

int next_item(const ListView& view, int start, LParam flags) {
  for (int i = start + 1; i < static_cast<int>(view.items.size()); ++i) {
    const std::uint32_t wanted = static_cast<std::uint32_t>(flags) & (LVIS_FOCUSED | LVIS_SELECTED);
    if ((view.items[i].state & wanted) == wanted) return i;
  }
  return -1;
}

int insert_item(WindowHandle window, ListView& view, const ListViewItem* record) {
  if (!record) return -1;
  const int index = std::clamp(record->item, 0, static_cast<int>(view.items.size()));
  Item item;
  if ((record->mask & LVIF_TEXT) && record->text) item.text = record->text;
  if (record->mask & LVIF_PARAM) item.param = record->param;
  if (record->mask & LVIF_IMAGE) item.image = record->image;
  if (record->mask & LVIF_STATE) item.state = record->state & record->state_mask & (LVIS_FOCUSED | LVIS_SELECTED);
  view.items.insert(view.items.begin() + index, item);
  if (view.mark >= index) ++view.mark;
  redraw(window);
  return index;
}

bool delete_item(WindowHandle window, ListView& view, int index) {
  if (!view.valid(index)) return false;
  view.items.erase(view.items.begin() + index);
  if (view.mark == index) view.mark = -1;
  else if (view.mark > index) --view.mark;
  scroll(window, view, 0, 0);  // keeps the offset within what is left
  return true;
}

bool get_item(const ListView& view, ListViewItem* record) {
  if (!record || !view.valid(record->item)) return false;
  const Item& item = view.items[record->item];
  if (record->mask & LVIF_PARAM) record->param = item.param;
  if (record->mask & LVIF_IMAGE) record->image = item.image;
  if (record->mask & LVIF_STATE) record->state = item.state & record->state_mask;
  if ((record->mask & LVIF_TEXT) && record->text && record->text_max > 0) {
    const std::size_t n = std::min(item.text.size(), static_cast<std::size_t>(record->text_max - 1));
    std::copy_n(item.text.begin(), n, record->text);
    record->text[n] = u'\0';
  }
  return true;
}

bool item_rect(WindowHandle window, const ListView& view, int index, Rect* out) {
  if (!out || !view.valid(index)) return false;
  switch (out->left) {
    case LVIR_BOUNDS: *out = bounds_of(window, view, index); return true;
    case LVIR_ICON: *out = icon_of(window, view, index); return true;
    case LVIR_LABEL: *out = label_of(window, view, index); return true;
    default: return false;
  }
}

int item_at(WindowHandle window, const ListView& view, Point at) {
  if (!item_area(window, view).contains(at)) return -1;
  for (int i = 0; i < static_cast<int>(view.items.size()); ++i) {
    if (bounds_of(window, view, i).contains(at)) return i;
  }
  return -1;
}

// The column titles over the rows, scrolled sideways with them.
void paint_header(WindowHandle window, const ListView& view, DeviceContext& dc) {
  const int height = header_height(window, view);
  if (height == 0) return;
  dc.fill_rect({0, 0, client_of(window).width(), height}, sys_color_brush(COLOR_BTNFACE));
  int left = -view.scroll_x;
  for (const Column& column : view.columns) {
    const Rect cell{left, 0, left + column.width, height};
    draw_frame(dc, cell, sys_color(COLOR_WINDOWFRAME));
    Rect text{cell.left + kLabelGap, cell.top, cell.right - kLabelGap, cell.bottom};
    dc.draw_text(column.title, text, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | DT_VCENTER);
    left = cell.right;
  }
}

int insert_column(WindowHandle window, ListView& view, int place, const ListViewColumn* record) {
  if (!record || record->width < 0) return -1;
  const int index = std::clamp(place, 0, static_cast<int>(view.columns.size()));
  view.columns.insert(view.columns.begin() + index, Column{record->title ? record->title : u"", record->width});
  scroll(window, view, 0, 0);
  return index;
}

bool set_column_width(WindowHandle window, ListView& view, int index, int width) {
  if (index < 0 || index >= static_cast<int>(view.columns.size()) || width < 0) return false;
  view.columns[index].width = width;
  scroll(window, view, 0, 0);
  return true;
}

void paint_list_view(WindowHandle window, const ListView& view) {
  ControlCanvas canvas = begin_control_paint(window, WM_CTLCOLOREDIT, sys_color_brush(COLOR_WINDOW));
  const ColorRef text_color = canvas.dc.text_color();
  const bool report = is_report(window);
  for (int i = 0; i < static_cast<int>(view.items.size()); ++i) {
    const Rect cell = bounds_of(window, view, i);
    if (intersect(cell, canvas.client).empty()) continue;
    const Item& item = view.items[i];
    Rect label = label_of(window, view, i);
    const bool selected = (item.state & LVIS_SELECTED) != 0;
    if (selected) canvas.dc.fill_rect(report ? cell : label, sys_color_brush(COLOR_HIGHLIGHT));
    if (view.images) {
      const Rect icon = icon_of(window, view, i);
      view.images->draw(item.image, canvas.dc, icon.left, icon.top);
    }
    canvas.dc.set_text_color(selected ? sys_color(COLOR_HIGHLIGHTTEXT) : text_color);
    canvas.dc.draw_text(item.text, label, (report ? DT_LEFT : DT_CENTER) | DT_SINGLELINE | DT_NOPREFIX | DT_VCENTER);
    if (item.state & LVIS_FOCUSED) canvas.dc.draw_focus_rect(cell);
  }
  canvas.dc.set_text_color(text_color);
  paint_header(window, view, canvas.dc);
}

// What a tap or an arrow key does: the item alone focused and selected,
// and the selection mark on it.
void select_only(WindowHandle window, ListView& view, int index) {
  set_item_state(window, index, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
  for (int i = 0; i < static_cast<int>(view.items.size()); ++i) {
    if (i != index) change_state(window, i, 0, LVIS_SELECTED);
  }
  view.mark = index;
}

void tap(WindowHandle window, Point at) {
  system().set_focus(window);
  ListView* view = list_views().find(window);
  ListViewNotify notify;
  notify.header.code = NM_CLICK;
  notify.item = view ? item_at(window, *view, at) : -1;
  notify.action = at;
  if (notify.item >= 0) select_only(window, *view, notify.item);
  notify_parent(window, notify.header);
}

// A script's pick: item `index` scrolled into view and tapped; false for
// an index out of range.
bool pick_item(WindowHandle window, int index) {
  ListView* view = list_views().find(window);
  if (!view || index < 0 || index >= static_cast<int>(view->items.size())) return false;
  ensure_visible(window, *view, index, false);
  const Rect cell = bounds_of(window, *view, index);
  tap(window, {(cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2});
  return true;
}

void step_by_key(WindowHandle window, WParam key) {
  ListView* view = list_views().find(window);
  if (!view || view->items.empty()) return;
  const int across = is_report(window) ? 1 : columns(window, *view);
  const int step = key == VK_UP ? -across : key == VK_DOWN ? across : key == VK_LEFT ? -1 : 1;
  const int focused = next_item(*view, -1, LVNI_FOCUSED);
  const int target = std::clamp(focused < 0 ? 0 : focused + step, 0, static_cast<int>(view->items.size()) - 1);
  select_only(window, *view, target);
  ensure_visible(window, *view, target, false);
}

MessageResult list_message(WindowHandle window, ListView& view, std::uint32_t message, WParam wparam, LParam lparam) {
  const int index = static_cast<int>(static_cast<std::intptr_t>(wparam));
  switch (message) {
    case LVM_SETIMAGELIST: {
      const ImageList* previous = view.images;
      view.images = reinterpret_cast<const ImageList*>(lparam);
      redraw(window);
      return reinterpret_cast<MessageResult>(previous);
    }
    case LVM_GETITEMCOUNT: return static_cast<MessageResult>(view.items.size());
    case LVM_DELETEITEM: return delete_item(window, view, index);
    case LVM_DELETEALLITEMS:
      view.items.clear();
      view.mark = -1;
      view.scroll_x = view.scroll_y = 0;
      redraw(window);
      return 1;
    case LVM_GETNEXTITEM: return next_item(view, index, lparam);
    case LVM_GETITEMRECT: return item_rect(window, view, index, reinterpret_cast<Rect*>(lparam));
    case LVM_ENSUREVISIBLE: return ensure_visible(window, view, index, lparam != 0);
    case LVM_SCROLL: return scroll(window, view, index, static_cast<int>(lparam));
    case LVM_SETITEMSTATE: {
      const auto* record = reinterpret_cast<const ListViewItem*>(lparam);
      return record && set_item_state(window, index, record->state, record->state_mask);
    }
    case LVM_SETICONSPACING: {
      const MessageResult previous = make_lparam(view.spacing_x, view.spacing_y);
      const int cx = low_word(static_cast<WParam>(lparam));
      const int cy = high_word(static_cast<WParam>(lparam));
      if (cx > 0) view.spacing_x = cx;
      if (cy > 0) view.spacing_y = cy;
      scroll(window, view, 0, 0);
      return previous;
    }
    case LVM_GETSELECTIONMARK: return view.mark;
    case LVM_SETSELECTIONMARK: {
      const int previous = view.mark;
      view.mark = view.valid(static_cast<int>(lparam)) ? static_cast<int>(lparam) : -1;
      return previous;
    }
    case LVM_GETITEM: return get_item(view, reinterpret_cast<ListViewItem*>(lparam));
    case LVM_INSERTITEM: return insert_item(window, view, reinterpret_cast<const ListViewItem*>(lparam));
    case LVM_INSERTCOLUMN: return insert_column(window, view, index, reinterpret_cast<const ListViewColumn*>(lparam));
    case LVM_GETCOLUMNWIDTH: return index >= 0 && index < static_cast<int>(view.columns.size()) ? view.columns[index].width : 0;
    case LVM_SETCOLUMNWIDTH: return set_column_width(window, view, index, static_cast<int>(lparam));
    default:
      return system().default_procedure(window, message, wparam, lparam);
  }
}

}  // namespace

MessageResult list_view_procedure(WindowHandle window, std::uint32_t message, WParam wparam, LParam lparam) {
  switch (message) {
    case WM_PAINT:
      if (const ListView* view = list_views().find(window)) paint_list_view(window, *view);
      else system().default_procedure(window, message, wparam, lparam);
      return 0;
    case WM_LBUTTONDOWN:
      tap(window, param_point(lparam));
      return 0;
    case CM_PICK:
      return pick_item(window, static_cast<int>(wparam)) ? 1 : 0;
    case WM_KEYDOWN:
      if (wparam == VK_UP || wparam == VK_DOWN || wparam == VK_LEFT || wparam == VK_RIGHT) step_by_key(window, wparam);
      return 0;
    case WM_DESTROY:
      list_views().forget(window);
      forget_child_record(window);
      return 0;
    default:
      return list_message(window, list_views().at(window), message, wparam, lparam);
  }
}

}  // namespace ductra::platform
