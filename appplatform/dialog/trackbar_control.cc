// The trackbar: a horizontal channel with a thumb at its position within
// its range, and a tick every `tick frequency` positions. A press puts the
// thumb under the pen and the pen drags it; the parent hears WM_HSCROLL with
// TB_THUMBTRACK while it moves, then TB_THUMBPOSITION and TB_ENDTRACK when
// it is lifted (the position in the high word of wParam, lParam the
// trackbar). The arrow keys move it one position. TBM_SETPOS moves it
// silently; positions are always kept within the range.
#include "appplatform/dialog/child_record.h"
#include "appplatform/dialog/control_painting.h"
#include "appplatform/dialog/standard_controls.h"
#include "appplatform/draw/color.h"

namespace ductra::platform {
namespace {

constexpr int kInset = 6;
constexpr int kThumbHalf = 4;

struct Channel {
  int left;
  int right;
  int middle;
};

Channel channel_of(WindowHandle window) {
  const Rect c = WindowSystem::current().client_rect(window).value_or(Rect{});
  return {c.left + kInset, c.right - kInset - 1, (c.top + c.bottom) / 2};
}

int x_of(const Channel& channel, const Range& range, int position) {
  if (range.high <= range.low) return channel.left;
  return channel.left + (position - range.low) * (channel.right - channel.left) / (range.high - range.low);
}

int position_at(const Channel& channel, const Range& range, int x) {
  if (channel.right <= channel.left) return range.low;
  const int span = range.high - range.low;
  const int offset = x - channel.left;
  return range.clamp(range.low + (offset * span * 2 + (channel.right - channel.left)) / (2 * (channel.right - channel.left)));
}

void paint_trackbar(WindowHandle window) {
  ControlCanvas canvas = begin_control_paint(window, WM_CTLCOLORSTATIC, sys_color_brush(COLOR_STATIC));
  const ChildRecord& record = child_record(window);
  const Channel channel = channel_of(window);
  const Brush dark = solid_brush(sys_color(COLOR_WINDOWFRAME));
  canvas.dc.fill_rect({channel.left, channel.middle - 1, channel.right + 1, channel.middle + 1}, dark);
  const int step = record.tick_frequency > 0 ? record.tick_frequency : 1;
  for (int p = record.range.low; p <= record.range.high; p += step) {
    const int x = x_of(channel, record.range, p);
    canvas.dc.fill_rect({x, canvas.client.bottom - 4, x + 1, canvas.client.bottom - 1}, dark);
  }
  const int x = x_of(channel, record.range, record.range.position);
  const Rect thumb{x - kThumbHalf, canvas.client.top + 2, x + kThumbHalf + 1, canvas.client.bottom - 6};
  canvas.dc.fill_rect(thumb, sys_color_brush(COLOR_BTNFACE));
  draw_frame(canvas.dc, thumb, sys_color(COLOR_WINDOWFRAME));
}

void set_position(WindowHandle window, int position) {
  Range& range = child_record(window).range;
  position = range.clamp(position);
  if (position == range.position) return;
  range.position = position;
  WindowSystem::current().invalidate_rect(window, std::nullopt, true);
}

void tell_parent(WindowHandle window, int code) {
  WindowSystem& system = WindowSystem::current();
  system.send_message(system.parent(window), WM_HSCROLL, make_wparam(code, child_record(window).range.position),
                      static_cast<LParam>(window.id));
}

void end_move(WindowHandle window) {
  tell_parent(window, TB_THUMBPOSITION);
  tell_parent(window, TB_ENDTRACK);
}

// What a pen lifted at `position` does.
void pick(WindowHandle window, int position) {
  WindowSystem::current().set_focus(window);
  set_position(window, position);
  end_move(window);
}

MessageResult pointer_message(WindowHandle window, std::uint32_t message, LParam lparam) {
  WindowSystem& system = WindowSystem::current();
  if (message == WM_LBUTTONDOWN) {
    system.set_capture(window);
    system.set_focus(window);
  } else if (system.capture() != window) {
    return 0;
  }
  set_position(window, position_at(channel_of(window), child_record(window).range, param_point(lparam).x));
  if (message != WM_LBUTTONUP) {
    tell_parent(window, TB_THUMBTRACK);
    return 0;
  }
  system.release_capture();
  end_move(window);
  return 0;
}

void step_by_key(WindowHandle window, WParam key) {
  const int delta = key == VK_LEFT || key == VK_UP ? -1 : 1;
  set_position(window, child_record(window).range.position + delta);
  tell_parent(window, delta < 0 ? TB_LINEUP : TB_LINEDOWN);
  tell_parent(window, TB_ENDTRACK);
}

void set_range(WindowHandle window, int low, int high) {
  Range& range = child_record(window).range;
  range.low = low;
  range.high = high < low ? low : high;
  range.position = range.clamp(range.position);
  WindowSystem::current().invalidate_rect(window, std::nullopt, true);
}

}  // namespace

MessageResult trackbar_procedure(WindowHandle window, std::uint32_t message, WParam wparam, LParam lparam) {
  WindowSystem& system = WindowSystem::current();
  switch (message) {
    case WM_PAINT:
      paint_trackbar(window);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
      return pointer_message(window, message, lparam);
    case WM_KEYDOWN:
      if (wparam == VK_LEFT || wparam == VK_RIGHT || wparam == VK_UP || wparam == VK_DOWN) step_by_key(window, wparam);
      return 0;
    case CM_PICK:
      pick(window, static_cast<int>(static_cast<std::intptr_t>(wparam)));
      return 1;
    case TBM_GETPOS:
      return child_record(window).range.position;
    case TBM_GETRANGEMIN:
      return child_record(window).range.low;
    case TBM_GETRANGEMAX:
      return child_record(window).range.high;
    case TBM_SETPOS:
      set_position(window, static_cast<int>(lparam));
      return 0;
    case TBM_SETRANGE:
      set_range(window, static_cast<std::int16_t>(lparam & 0xFFFF), static_cast<std::int16_t>((lparam >> 16) & 0xFFFF));
      return 0;
    case TBM_SETTICFREQ:
      child_record(window).tick_frequency = static_cast<int>(wparam);
      system.invalidate_rect(window, std::nullopt, true);
      return 0;
    default:
      return control_default(window, message, wparam, lparam);
  }
}

}  // namespace ductra::platform
