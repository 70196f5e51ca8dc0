#include "app/shell/shell_window_core.h"

#include "app/shell/shell_messages.h"

namespace ductra {

void ShellWindowCore::send_variants(crResultChoice& choice) {
  windows_.send_message(shell_window_, WM_DUCTRA_VARIANTS, 0, reinterpret_cast<platform::LParam>(&choice));
}

void ShellWindowCore::post_recognized() { windows_.post_message(shell_window_, WM_DUCTRA_RECOGNIZED, 0, 0); }

void ShellWindowCore::post_stroke_error() {
  windows_.post_message(shell_window_, WM_DUCTRA_STROKE_ERROR, 0, 0);
}

// Called on the engine thread when its wait failed: the loop it ends is the
// UI thread's, reached through the shell window.
void ShellWindowCore::quit_application() {
  input_panel_.select_default_input_method();
  windows_.post_message(shell_window_, platform::WM_QUIT, 0, 0);
}

}  // namespace ductra
