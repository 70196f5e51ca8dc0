// The relay window: the component's zero-height child of the input panel,
// through which the application (another process) delivers recognised text
// and its recognition-mode state.
//
// The application sends one WM_QUILLPAD_CHAR per unit and then the flush;
// the window queues the units and at the flush hands them to the input
// panel's callback (unit_delivery.h), which types them into the focused
// program. A WM_QUILLPAD_STATE selects the button's picture for the mode and
// reports both image lists through the callback.
//
// A caller may rely on this:
// - The queue never holds more than its capacity: a unit arriving at a full
//   queue first delivers what is queued, so nothing is lost and the order
//   is kept.
// - Without a callback nothing is called: a flush then drops the queued
//   units (they cannot be typed later into whatever has the focus by then).
// - The callback is held with a reference while it is registered.
// Everything runs on the thread that created the window (the input-panel
// manager's); one RelayWindow serves a process.
#pragma once

#include <memory>

#include "appplatform/com/interfaces.h"
#include "appplatform/window_system.h"
#include "inputpanel/relay_queue.h"
#include "inputpanel/sip_image_lists.h"

namespace ductra::quillpad {

class RelayWindow {
 public:
  // `dots_per_inch`: the screen's, which sizes the button's pictures.
  RelayWindow(platform::WindowSystem& windows, int dots_per_inch);
  // Destroys the window, unregisters the class and lets the callback go.
  ~RelayWindow();
  RelayWindow(const RelayWindow&) = delete;
  RelayWindow& operator=(const RelayWindow&) = delete;

  bool register_sip_window_class();
  // True when the window, a child of `panel`, exists afterwards.
  bool create_sip_window(platform::WindowHandle panel);
  // True when the window exists already or the class and window could be made.
  bool ensure_sip_window(platform::WindowHandle panel);
  void destroy_sip_window();
  void unregister_sip_window();
  platform::WindowHandle window() const { return window_; }

  // The input panel's callback; null forgets it.
  void set_callback(platform::IIMCallback* callback);
  // The panel's last state record; its flags go with every state report.
  void set_sip_info(const platform::SipInfo& info) { sip_info_ = info; }
  // The button's image lists and the index shown (flags 0, no rectangle);
  // no lists when they cannot be made.
  platform::ImInfo image_info();

  static platform::MessageResult procedure(platform::WindowHandle window, std::uint32_t message,
                                           platform::WParam wparam, platform::LParam lparam);

 private:
  void on_char(platform::WParam kind, platform::LParam unit);
  void flush();
  void report_state(platform::WParam indicator);
  SipImageLists* image_lists();

  platform::WindowSystem& windows_;
  const int dots_per_inch_;
  bool class_registered_ = false;
  platform::WindowHandle window_;
  platform::IIMCallback* callback_ = nullptr;
  platform::SipInfo sip_info_;
  std::unique_ptr<SipImageLists> images_;
  RelayQueue queue_;
};

}  // namespace ductra::quillpad
