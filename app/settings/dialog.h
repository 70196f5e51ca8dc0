// The base of every dialog and settings page of the application: it binds
// an object to a dialog window made from one of the program's templates
// (translated by the localizer) and turns the window's messages into the
// virtual operations below, which a dialog overrides.
//
// The object exists before its window: its owner builds it, runs it with
// run_modal() or hands it to the settings sheet through make_page(), and
// destroys it afterwards; the window binds itself at WM_INITDIALOG, and
// until then every message is answered 0 and reaches no operation. A
// control id the template lacks gives a null window, and every operation
// on it does nothing. UI thread only.
#pragma once

#include <cstdint>
#include <string_view>

#include "appplatform/dialog/notify_header.h"
#include "appplatform/dialog/property_sheet.h"
#include "appplatform/draw/device_context.h"
#include "appplatform/draw/pen_and_brush.h"
#include "appplatform/window_types.h"

namespace ductra {

// Common control ids: the title strip of every template and the help
// command.
inline constexpr int kTitleControl = 1025;
inline constexpr int kHelpCommand = 9;

// The dialog's full-screen form, with a menu bar and without one.
inline constexpr std::uint32_t kFullScreenWithMenuBar = 5;
inline constexpr std::uint32_t kFullScreenEmptyMenu = 37;

// The back key's hot-key code.
inline constexpr int kBackKeyHotKey = 27;

class Dialog {
 public:
  Dialog() = default;
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;
  virtual ~Dialog() = default;

  // The dialog window's client rectangle; false without a window.
  virtual bool get_client_rect(platform::Rect& out);
  // Places the controls; the base does nothing and returns `width`.
  virtual int layout(int width, int height);
  virtual void on_size();
  // The background brush of a control about to paint (`kind`: 0 edit, 1
  // list box, 2 button, 3 dialog, 4 scroll bar, 5 static); null for the
  // control's own colours. The brush must outlive the paint.
  virtual const platform::Brush* on_ctl_color(platform::DeviceContext* dc, platform::WindowHandle control, int kind);
  // The control's rectangle in the dialog's client coordinates; `out` is
  // left alone when there is no such control.
  virtual void get_control_rect(int id, platform::Rect& out);
  // Any message the operations below do not take.
  virtual platform::MessageResult on_message(std::uint32_t message, platform::WParam wparam, platform::LParam lparam);
  virtual void on_paint(platform::DeviceContext& dc);
  virtual int on_back_key(platform::WParam wparam, platform::LParam lparam);
  // IDOK ends the dialog with 1, IDCANCEL with 2, the help command asks for
  // help; those answer 1, any other id 0.
  virtual int on_command(int id, int code);
  // The menu bar (when the dialog has one) and the full-screen form.
  virtual int on_init_dialog();
  virtual int on_destroy();
  virtual int on_notify(int control_id, const platform::NotifyHeader& header);
  virtual int on_hscroll(int code, int position, platform::WindowHandle control);
  virtual int on_help();
  virtual int on_lbutton_down(platform::WParam keys, int x, int y);

  // The procedure of a dialog window bound to a Dialog.
  static platform::MessageResult dialog_proc(platform::WindowHandle window, std::uint32_t message,
                                             platform::WParam wparam, platform::LParam lparam);
  // The procedure of a settings page: at WM_INITDIALOG lParam is its
  // PropertySheetPage, whose parameter is the object.
  static platform::MessageResult page_proc(platform::WindowHandle window, std::uint32_t message,
                                           platform::WParam wparam, platform::LParam lparam);

  // Runs template `dialog_id` modally with this object and menu bar
  // `menu_bar_id` (0: none); the value the dialog ended with, or
  // platform::kDialogFailed when it could not be made.
  std::intptr_t run_modal(platform::WindowHandle parent, int dialog_id, std::uint32_t menu_bar_id);

  platform::WindowHandle window() const { return window_; }
  platform::WindowHandle menu_bar() const { return menu_bar_; }
  std::uint32_t menu_bar_id() const { return menu_bar_id_; }

  platform::WindowHandle item(int id) const;
  void set_item_text(int id, std::u16string_view text) const;
  void enable_item(int id, bool enable) const;
  void show_item(int id, bool show) const;
  // A message sent to control `id`; 0 when there is no such control.
  platform::MessageResult send_item(int id, std::uint32_t message, platform::WParam wparam = 0,
                                    platform::LParam lparam = 0) const;

 protected:
  // Binds the object to its window; the first operation it hears is
  // on_init_dialog.
  void bind(platform::WindowHandle window) { window_ = window; }

 private:
  platform::MessageResult dispatch(std::uint32_t message, platform::WParam wparam, platform::LParam lparam);

  platform::WindowHandle window_;
  platform::WindowHandle menu_bar_;
  std::uint32_t menu_bar_id_ = 0;
};

}  // namespace ductra
