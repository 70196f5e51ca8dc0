// The word dialog: asks for one word for a user dictionary and accepts it
// only when the engine's check passes (1 to 50 characters of the
// dictionary's alphabet) and the dictionary does not hold it yet; a refused
// word is said in a box and the dialog stays open for correction. The
// dialog does not add the word: its caller does. While it is open the
// input panel shows the user's default input method, so the word can be
// typed. UI thread only.
#pragma once

#include <cstdint>
#include <string>

#include "app/settings/dialog.h"
#include "app/shell/engine.h"

namespace ductra {

// What the word dialog needs of the input panel and the controller.
class WordDialogHost {
 public:
  virtual ~WordDialogHost() = default;
  // The user's default input method, its panel shown.
  virtual void select_default_input_method() = 0;
  // The program's own input method, its panel shown or hidden.
  virtual void select_own_input_method(bool shown) = 0;
  // The controller's dialog-open flag.
  virtual void set_dialog_open(bool open) = 0;
  // Hides the input panel while a box is open (false: as it was).
  virtual void hide_panel_for_box(bool hidden) = 0;
};

// The longest word a user dictionary takes.
inline constexpr std::size_t kMaxWordUnits = 50;

class WordDialog final : public Dialog {
 public:
  // `from_prompt`: opened from the alternatives menu (the panel is shown
  // again afterwards). Everything given must outlive the dialog.
  WordDialog(std::u16string text, std::uint32_t dictionary, bool from_prompt, Engine& engine, WordDialogHost& host)
      : text_(std::move(text)), dictionary_(dictionary), from_prompt_(from_prompt), engine_(engine), host_(host) {}

  // Runs the dialog; true when a word was accepted (text()).
  bool run(platform::WindowHandle parent);
  const std::u16string& text() const { return text_; }

  int on_init_dialog() override;
  int on_command(int id, int code) override;

 private:
  // Whether the typed word may be added; a refusal is said in a box.
  bool accept_word();
  void refuse(std::uint32_t text_id);

  std::u16string text_;
  std::uint32_t dictionary_;
  bool from_prompt_;
  Engine& engine_;
  WordDialogHost& host_;
};

}  // namespace ductra
