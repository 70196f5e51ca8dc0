// The window tree of the device: every window's record, the z-order (the
// topmost band above the rest, owned windows above their owners), the
// relations, coordinates, look-ups and hit tests.
//
// It is plain data with no locking and no messages: the window server owns
// one, guards it, and turns its answers into messages. A child's rectangle
// is kept in its parent's client coordinates, a top-level window's in screen
// coordinates; every query answers in the coordinates its name says.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "appplatform/window_types.h"

namespace ductra::platform {

// The thread that owns a window: its procedure runs there.
struct ThreadRef {
  std::int32_t process = 0;
  std::uint32_t thread = 0;
  friend bool operator==(const ThreadRef&, const ThreadRef&) = default;
};

// A scroll bar's range and page, as a window reports them.
struct ScrollRange {
  int min = 0;
  int max = 0;
  unsigned page = 0;
  bool set = false;
};

struct WindowSpec {
  std::u16string class_name;
  std::u16string title;
  std::uint32_t style = 0;
  std::uint32_t ex_style = 0;
  Rect rect;                  // in the parent's client coordinates
  WindowHandle parent;        // the parent of a child, the owner of any other
};

struct WindowRecord {
  WindowHandle handle;
  std::u16string class_name;
  std::u16string title;
  std::uint32_t style = 0;
  std::uint32_t ex_style = 0;
  Rect rect;
  WindowHandle parent;
  WindowHandle owner;
  ThreadRef thread;
  std::vector<WindowHandle> children;  // top of the z-order first
  Rect update;                         // the part waiting to be painted
  bool erase = false;
  ScrollRange horizontal;
  ScrollRange vertical;
};

// Width of a scroll bar and thickness of a border, in pixels.
inline constexpr int kScrollBarWidth = 13;
inline constexpr int kBorderWidth = 1;

class WindowTree {
 public:
  explicit WindowTree(Rect screen);

  // The new window's handle, or a null one when the parent (of a child)
  // does not exist.
  WindowHandle create(const WindowSpec& spec, ThreadRef thread);
  // Removes the window, its children and the windows it owns; returns every
  // handle removed, the deepest first.
  std::vector<WindowHandle> destroy(WindowHandle window);
  // What destroy would remove, in the same order.
  std::vector<WindowHandle> subtree(WindowHandle window) const;

  bool exists(WindowHandle window) const;
  const WindowRecord* find_record(WindowHandle window) const;
  WindowRecord* find_record(WindowHandle window);

  void set_screen(Rect screen);
  Rect screen() const { return screen_; }

  // Moves and sizes in the parent's client coordinates.
  bool set_rect(WindowHandle window, Rect rect);
  // Places the window in its siblings' order: HWND_TOP, HWND_BOTTOM,
  // HWND_TOPMOST, HWND_NOTOPMOST or below a given sibling. Owned windows
  // follow their owner to the top.
  bool set_z_order(WindowHandle window, WindowHandle insert_after);

  Rect window_rect(WindowHandle window) const;  // screen coordinates
  Rect client_rect(WindowHandle window) const;  // client coordinates
  Point client_origin(WindowHandle window) const;  // screen coordinates
  // Visible, and every ancestor visible too.
  bool is_visible(WindowHandle window) const;

  WindowHandle relation(WindowHandle window, int relation) const;
  WindowHandle top_level_of(WindowHandle window) const;
  // A top-level window by class (case-insensitive) and title (exact); an
  // absent criterion matches any. Searched from the top of the z-order.
  WindowHandle find(std::optional<std::u16string_view> class_name,
                    std::optional<std::u16string_view> title) const;
  // The deepest visible window at a screen point. A disabled window hides
  // what lies under it but is not answered: its parent is, or none.
  WindowHandle window_from_point(Point screen_point) const;
  // The child of `parent` at a point of its client area, hidden and
  // disabled children included; the parent itself when no child is there;
  // none when the point lies outside the parent.
  WindowHandle child_from_point(WindowHandle parent, Point client_point) const;

  // Adds a part of the client area (all of it when absent) to the update
  // region. False when nothing was added.
  bool invalidate(WindowHandle window, std::optional<Rect> client_part, bool erase);
  // Hands out and clears the update region.
  std::optional<std::pair<Rect, bool>> take_update(WindowHandle window);

  std::vector<WindowHandle> top_level_windows() const;
  // Every window, depth first from the top of the z-order: a window, then
  // its children, then its next sibling.
  std::vector<WindowHandle> walk() const;
  std::vector<WindowHandle> windows_of_process(std::int32_t process) const;

 private:
  std::vector<WindowHandle>& siblings_of(const WindowRecord& record);
  const std::vector<WindowHandle>& siblings_of(const WindowRecord& record) const;
  bool is_topmost(WindowHandle window) const;
  void insert_at_top(std::vector<WindowHandle>& siblings, WindowHandle window);
  void raise_owned(WindowHandle owner);
  WindowHandle hit(WindowHandle window, Point screen_point) const;
  void collect(WindowHandle window, std::vector<WindowHandle>& out) const;
  void walk_from(WindowHandle window, std::vector<WindowHandle>& out) const;

  Rect screen_;
  std::uint32_t next_id_ = kDesktopWindow.id + 1;
  std::map<std::uint32_t, WindowRecord> records_;
};

}  // namespace ductra::platform
