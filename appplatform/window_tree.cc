#include "appplatform/window_tree.h"

#include <algorithm>

namespace ductra::platform {

namespace {

char16_t fold(char16_t c) { return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c; }

bool same_class_name(std::u16string_view a, std::u16string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char16_t x, char16_t y) { return fold(x) == fold(y); });
}

void erase_from(std::vector<WindowHandle>& list, WindowHandle window) {
  list.erase(std::remove(list.begin(), list.end(), window), list.end());
}

}  // namespace

WindowTree::WindowTree(Rect screen) : screen_(screen) {
  WindowRecord desktop;
  desktop.handle = kDesktopWindow;
  desktop.style = WS_VISIBLE;
  desktop.rect = screen;
  records_.emplace(kDesktopWindow.id, desktop);
}

WindowHandle WindowTree::create(const WindowSpec& spec, ThreadRef thread) {
  const bool child = (spec.style & WS_CHILD) != 0;
  if (child && (!spec.parent || !exists(spec.parent))) return {};
  if (!child && spec.parent && !exists(spec.parent)) return {};
  WindowRecord record;
  record.handle = WindowHandle{next_id_++};
  record.class_name = spec.class_name;
  record.title = spec.title;
  record.style = spec.style;
  record.ex_style = spec.ex_style;
  record.rect = spec.rect;
  record.parent = child ? spec.parent : kDesktopWindow;
  record.owner = child ? WindowHandle{} : top_level_of(spec.parent);
  record.thread = thread;
  if (record.owner && is_topmost(record.owner)) record.ex_style |= WS_EX_TOPMOST;
  const WindowHandle handle = record.handle;
  records_.emplace(handle.id, std::move(record));
  WindowRecord& stored = records_.at(handle.id);
  if (child) {
    siblings_of(stored).push_back(handle);  // a new child starts at the bottom
  } else {
    insert_at_top(siblings_of(stored), handle);
  }
  return handle;
}

std::vector<WindowHandle> WindowTree::subtree(WindowHandle window) const {
  std::vector<WindowHandle> out;
  if (window != kDesktopWindow && exists(window)) collect(window, out);
  return out;
}

std::vector<WindowHandle> WindowTree::destroy(WindowHandle window) {
  const std::vector<WindowHandle> removed = subtree(window);
  for (WindowHandle gone : removed) {
    const WindowRecord& record = records_.at(gone.id);
    if (exists(record.parent)) erase_from(siblings_of(record), gone);
  }
  for (WindowHandle gone : removed) records_.erase(gone.id);
  return removed;
}

void WindowTree::collect(WindowHandle window, std::vector<WindowHandle>& out) const {
  if (std::find(out.begin(), out.end(), window) != out.end()) return;
  for (const auto& [id, record] : records_) {
    if (record.owner == window) collect(record.handle, out);
  }
  for (WindowHandle child : records_.at(window.id).children) collect(child, out);
  out.push_back(window);
}

bool WindowTree::exists(WindowHandle window) const { return records_.count(window.id) != 0; }

const WindowRecord* WindowTree::find_record(WindowHandle window) const {
  auto it = records_.find(window.id);
  return it == records_.end() ? nullptr : &it->second;
}

WindowRecord* WindowTree::find_record(WindowHandle window) {
  auto it = records_.find(window.id);
  return it == records_.end() ? nullptr : &it->second;
}

void WindowTree::set_screen(Rect screen) {
  screen_ = screen;
  records_.at(kDesktopWindow.id).rect = screen;
}

bool WindowTree::set_rect(WindowHandle window, Rect rect) {
  WindowRecord* record = find_record(window);
  if (!record || window == kDesktopWindow) return false;
  record->rect = rect;
  return true;
}

std::vector<WindowHandle>& WindowTree::siblings_of(const WindowRecord& record) {
  return records_.at(record.parent.id).children;
}

const std::vector<WindowHandle>& WindowTree::siblings_of(const WindowRecord& record) const {
  return records_.at(record.parent.id).children;
}

bool WindowTree::is_topmost(WindowHandle window) const {
  const WindowRecord* record = find_record(window);
  return record && record->parent == kDesktopWindow && (record->ex_style & WS_EX_TOPMOST) != 0;
}

void WindowTree::insert_at_top(std::vector<WindowHandle>& siblings, WindowHandle window) {
  erase_from(siblings, window);
  auto position = siblings.begin();
  if (!is_topmost(window)) {
    position = std::find_if(siblings.begin(), siblings.end(), [&](WindowHandle w) { return !is_topmost(w); });
  }
  siblings.insert(position, window);
}

void WindowTree::raise_owned(WindowHandle owner) {
  std::vector<WindowHandle> owned;
  for (WindowHandle w : records_.at(kDesktopWindow.id).children) {
    if (records_.at(w.id).owner == owner) owned.push_back(w);
  }
  auto& top = records_.at(kDesktopWindow.id).children;
  // Keep the owned windows' order among themselves, just above the owner;
  // a topmost window owned by an ordinary one keeps its place in its band.
  for (auto it = owned.begin(); it != owned.end(); ++it) {
    WindowRecord& record = records_.at(it->id);
    if (is_topmost(owner)) record.ex_style |= WS_EX_TOPMOST;
    if (is_topmost(*it) && !is_topmost(owner)) continue;
    erase_from(top, *it);
    top.insert(std::find(top.begin(), top.end(), owner), *it);
  }
  for (WindowHandle w : owned) raise_owned(w);
}

bool WindowTree::set_z_order(WindowHandle window, WindowHandle insert_after) {
  WindowRecord* record = find_record(window);
  if (!record || window == kDesktopWindow) return false;
  const bool top_level = record->parent == kDesktopWindow;
  auto& siblings = siblings_of(*record);
  if (insert_after == HWND_TOPMOST || insert_after == HWND_NOTOPMOST) {
    if (!top_level) return true;
    if (insert_after == HWND_TOPMOST) {
      record->ex_style |= WS_EX_TOPMOST;
    } else {
      record->ex_style &= ~WS_EX_TOPMOST;
    }
    insert_at_top(siblings, window);
  } else if (insert_after == HWND_TOP) {
    insert_at_top(siblings, window);
  } else if (insert_after == HWND_BOTTOM) {
    if (top_level) record->ex_style &= ~WS_EX_TOPMOST;
    erase_from(siblings, window);
    siblings.push_back(window);
  } else {
    const WindowRecord* after = find_record(insert_after);
    if (!after || after->parent != record->parent || insert_after == window) return false;
    if (top_level) {
      record->ex_style = (record->ex_style & ~WS_EX_TOPMOST) | (after->ex_style & WS_EX_TOPMOST);
    }
    erase_from(siblings, window);
    siblings.insert(std::find(siblings.begin(), siblings.end(), insert_after) + 1, window);
  }
  if (top_level) raise_owned(window);
  return true;
}

Point WindowTree::client_origin(WindowHandle window) const {
  const WindowRecord* record = find_record(window);
  if (!record) return {};
  Rect r = window_rect(window);
  const int border = (record->style & WS_BORDER) ? kBorderWidth : 0;
  return {r.left + border, r.top + border};
}

Rect WindowTree::window_rect(WindowHandle window) const {
  const WindowRecord* record = find_record(window);
  if (!record) return {};
  if (window == kDesktopWindow || record->parent == kDesktopWindow) return record->rect;
  const Point origin = client_origin(record->parent);
  return record->rect.offset(origin.x, origin.y);
}

Rect WindowTree::client_rect(WindowHandle window) const {
  const WindowRecord* record = find_record(window);
  if (!record) return {};
  const int border = (record->style & WS_BORDER) ? kBorderWidth : 0;
  int width = record->rect.width() - 2 * border;
  int height = record->rect.height() - 2 * border;
  if (record->style & WS_VSCROLL) width -= kScrollBarWidth;
  if (record->style & WS_HSCROLL) height -= kScrollBarWidth;
  return {0, 0, std::max(width, 0), std::max(height, 0)};
}

bool WindowTree::is_visible(WindowHandle window) const {
  for (const WindowRecord* record = find_record(window); record; record = find_record(record->parent)) {
    if (!(record->style & WS_VISIBLE)) return false;
    if (record->handle == kDesktopWindow) return true;
  }
  return false;
}

WindowHandle WindowTree::relation(WindowHandle window, int relation) const {
  const WindowRecord* record = find_record(window);
  if (!record) return {};
  if (relation == GW_CHILD) return record->children.empty() ? WindowHandle{} : record->children.front();
  if (relation == GW_OWNER) return record->owner;
  if (window == kDesktopWindow) return {};
  const auto& siblings = siblings_of(*record);
  auto at = std::find(siblings.begin(), siblings.end(), window);
  switch (relation) {
    case GW_HWNDFIRST: return siblings.front();
    case GW_HWNDLAST: return siblings.back();
    case GW_HWNDNEXT: return (at + 1 == siblings.end()) ? WindowHandle{} : *(at + 1);
    case GW_HWNDPREV: return (at == siblings.begin()) ? WindowHandle{} : *(at - 1);
    default: return {};
  }
}

WindowHandle WindowTree::top_level_of(WindowHandle window) const {
  const WindowRecord* record = find_record(window);
  while (record && record->parent && record->parent != kDesktopWindow) record = find_record(record->parent);
  return record && record->handle != kDesktopWindow ? record->handle : WindowHandle{};
}

WindowHandle WindowTree::find(std::optional<std::u16string_view> class_name, std::optional<std::u16string_view> title) const {
  for (WindowHandle w : records_.at(kDesktopWindow.id).children) {
    const WindowRecord& record = records_.at(w.id);
    if (class_name && !same_class_name(*class_name, record.class_name)) continue;
    if (title && *title != record.title) continue;
    return w;
  }
  return {};
}

WindowHandle WindowTree::hit(WindowHandle window, Point screen_point) const {
  const WindowRecord& record = records_.at(window.id);
  if (!(record.style & WS_VISIBLE) || !window_rect(window).contains(screen_point)) return {};
  for (WindowHandle child : record.children) {
    const WindowRecord& c = records_.at(child.id);
    if (!(c.style & WS_VISIBLE) || !window_rect(child).contains(screen_point)) continue;
    if (c.style & WS_DISABLED) return window;
    return hit(child, screen_point);
  }
  return window;
}

WindowHandle WindowTree::window_from_point(Point screen_point) const {
  for (WindowHandle w : records_.at(kDesktopWindow.id).children) {
    const WindowRecord& record = records_.at(w.id);
    if (!(record.style & WS_VISIBLE) || !record.rect.contains(screen_point)) continue;
    if (record.style & WS_DISABLED) return {};
    return hit(w, screen_point);
  }
  return {};
}

WindowHandle WindowTree::child_from_point(WindowHandle parent, Point client_point) const {
  const WindowRecord* record = find_record(parent);
  if (!record) return {};
  const Point origin = client_origin(parent);
  const Point screen_point{client_point.x + origin.x, client_point.y + origin.y};
  if (!window_rect(parent).contains(screen_point)) return {};
  for (WindowHandle child : record->children) {
    if (records_.at(child.id).rect.contains(client_point)) return child;
  }
  return parent;
}

bool WindowTree::invalidate(WindowHandle window, std::optional<Rect> client_part, bool erase) {
  WindowRecord* record = find_record(window);
  if (!record) return false;
  const Rect client = client_rect(window);
  const Rect part = client_part ? intersect(*client_part, client) : client;
  if (part.empty()) return false;
  record->update = unite(record->update, part);
  record->erase = record->erase || erase;
  return true;
}

std::optional<std::pair<Rect, bool>> WindowTree::take_update(WindowHandle window) {
  WindowRecord* record = find_record(window);
  if (!record || record->update.empty()) return std::nullopt;
  auto answer = std::make_pair(record->update, record->erase);
  record->update = {};
  record->erase = false;
  return answer;
}

std::vector<WindowHandle> WindowTree::top_level_windows() const { return records_.at(kDesktopWindow.id).children; }

std::vector<WindowHandle> WindowTree::walk() const {
  std::vector<WindowHandle> out;
  for (WindowHandle w : records_.at(kDesktopWindow.id).children) walk_from(w, out);
  return out;
}

void WindowTree::walk_from(WindowHandle window, std::vector<WindowHandle>& out) const {
  out.push_back(window);
  for (WindowHandle child : records_.at(window.id).children) walk_from(child, out);
}

std::vector<WindowHandle> WindowTree::windows_of_process(std::int32_t process) const {
  std::vector<WindowHandle> out;
  for (const auto& [id, record] : records_) {
    if (id != kDesktopWindow.id && record.thread.process == process) out.push_back(record.handle);
  }
  return out;
}

}  // namespace ductra::platform
