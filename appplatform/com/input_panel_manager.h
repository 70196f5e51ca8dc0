// The input-panel manager: the registered input methods, the current and
// the default one, and the panel (shown or hidden) that the current one
// serves.
//
// The manager runs on a thread of its own that owns the panel window
// (class "SipWndClass"); every call, from any thread, is carried out there
// and waits for it, answering Sends to the caller's windows meanwhile. So
// input methods are only ever called on the manager's thread, and an input
// method that sends to an application which calls the manager back does not
// deadlock.
//
// Making an input method current: it is made through its factory and hears
// Select (with the panel window) first, so one that cannot be made or
// selected leaves the current one in place; then the one it replaces hears
// Hiding (when the panel is shown) and Deselect and is released; then the
// new one hears RegisterCallback, ReceiveSipInfo, GetInfo, and Showing when
// the panel is shown. Text and keys the current
// input method delivers through its callback go to the manager's KeySink.
//
// Other processes reach the manager through the panel window's messages
// (input_panel_calls.h); the work the manager's own calls hand to its
// thread goes as handed work (handed_work.h).
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "appplatform/com/interfaces.h"
#include "appplatform/thread.h"

namespace ductra::platform {

inline constexpr char16_t kPanelWindowClass[] = u"SipWndClass";

// Where typed text goes.
class KeySink {
 public:
  virtual ~KeySink() = default;
  virtual void send_string(std::u16string_view text) = 0;
  virtual void send_key(std::uint8_t virtual_key, bool up) = 0;
  virtual void send_character(std::uint32_t virtual_key, char32_t character, bool up) = 0;
};

struct InputMethodEntry {
  Guid clsid;
  std::u16string name;
  GetClassObjectFunction get_class_object = nullptr;
};

class InputPanelManager {
 public:
  // The panel's rectangle when shown (screen coordinates).
  InputPanelManager(KeySink& sink, Rect panel);
  // Hides the panel and deselects and releases the current input method.
  ~InputPanelManager();
  InputPanelManager(const InputPanelManager&) = delete;
  InputPanelManager& operator=(const InputPanelManager&) = delete;

  // False when the manager could not start, the entry has no factory, or
  // its class is registered already.
  bool register_input_method(const InputMethodEntry& entry);
  std::vector<InputMethodEntry> input_methods();

  // The default is the input method the user chose as theirs; false when
  // it is not registered.
  bool set_default(const Guid& clsid);
  std::optional<Guid> default_input_method();

  // Makes a registered input method current; true when it is (also when it
  // was already).
  bool set_current(const Guid& clsid);
  std::optional<Guid> current();

  // Shows or hides the panel; the current input method hears Showing or
  // Hiding. False when the manager is not running.
  bool show(bool on);
  // The panel's state; false (and `info` untouched) unless info.cb_size is
  // sizeof(SipInfo).
  bool get_info(SipInfo& info);
  // What the current input method last told of itself (GetInfo or SetImInfo).
  std::optional<ImInfo> input_method_info();

  WindowHandle panel_window() const { return panel_; }

 private:
  class Callback;
  struct State;

  static MessageResult panel_procedure(WindowHandle window, std::uint32_t message, WParam wparam, LParam lparam);
  // Runs `work` on the manager's thread and waits for it.
  bool run(const std::function<void()>& work);
  MessageResult answer_call(std::uint32_t message, WParam wparam, LParam lparam);
  void start_thread();
  SipInfo sip_info_locked() const;

  std::unique_ptr<State> state_;
  std::unique_ptr<Callback> callback_;
  std::unique_ptr<Thread> thread_;
  WindowHandle panel_;
};

}  // namespace ductra::platform
