// Dialogs made from the application's templates, modal and modeless.
//
// A dialog window holds the template's controls (each with its id and the
// template's font) and sends its dialog procedure WM_INITDIALOG (wParam the
// first control with WS_TABSTOP, lParam the caller's parameter; a non-zero
// answer gives that control the focus), then every message it receives:
// WM_COMMAND from its controls, WM_NOTIFY, WM_CTLCOLOR* (the answer is a
// const Brush* the procedure keeps alive, or 0), WM_PAINT after the dialog
// has painted its background. A procedure answers 0 for a message it leaves
// to the dialog. Dialogs belong to the thread that made them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "appplatform/dialog/dialog_template.h"
#include "appplatform/window_system.h"

namespace ductra::platform {

inline constexpr char16_t kDialogClass[] = u"Dialog";

using DialogProcedure = WindowProcedure;

// The result dialog_box gives when the dialog could not be made (a
// template naming a class nobody registered, or no procedure).
inline constexpr std::intptr_t kDialogFailed = -1;

// A modeless dialog, shown when the template has WS_VISIBLE; null when it
// could not be made. The caller destroys it. With WS_CHILD in its style it
// is a child of `owner` (as a property sheet's page is).
WindowHandle create_dialog(const DialogTemplate& dialog_template, WindowHandle owner, DialogProcedure procedure,
                           LParam parameter);

// A modal dialog: the owner is disabled, the dialog shown and the process's
// UI responder asked to drive it, and the calling thread runs the dialog's
// messages until end_dialog; then the owner is enabled again and the dialog
// destroyed. Returns the value given to end_dialog, or kDialogFailed.
std::intptr_t dialog_box(const DialogTemplate& dialog_template, WindowHandle owner, DialogProcedure procedure,
                         LParam parameter);

// Ends a dialog with `result`: a modal one's loop returns it; a modeless one
// is hidden. False when `dialog` is not a dialog.
bool end_dialog(WindowHandle dialog, std::intptr_t result);

// The control with `id`; null when the dialog has none.
WindowHandle dialog_item(WindowHandle dialog, int id);
// The control with `id` that a person sees: the dialog's own, else one of
// a shown child dialog (a property sheet's page).
WindowHandle shown_control(WindowHandle dialog, int id);
// Sets a control's text and repaints it; false when there is no such control.
bool set_dialog_item_text(WindowHandle dialog, int id, std::u16string_view text);
std::u16string dialog_item_text(WindowHandle dialog, int id);

// The dialog keys of a message for the dialog or one of its controls:
// return asks for IDOK, escape for IDCANCEL (as WM_COMMAND to the dialog);
// tab gives the focus to the next shown, enabled control with WS_TABSTOP
// in the order the controls were made (those of a shown page in the page's
// place), shift and tab to the one before, round the ends. True when the
// message was taken; a modeless dialog's loop calls this before
// dispatching (the shift key's state is read from the key messages it
// sees).
bool is_dialog_message(WindowHandle dialog, const Message& message);

}  // namespace ductra::platform
