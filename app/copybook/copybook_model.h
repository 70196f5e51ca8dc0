// The model behind the copybook dialog: the charset box, the letter list,
// the variant list and the use buttons of the dialog's controls, joined so
// that choosing a charset lists its letters, choosing a letter lists its
// variants and sets the caption, choosing a variant sets the use buttons,
// and a use button writes the use of the chosen variant to the engine at
// once. Restore, once the user confirms it, sets every variant back to
// often and lists everything again.
//
// When the model goes after any use was written, the engine is asked once,
// under the wait cursor, to write the user's variant choices to its file;
// when that fails the user is told in an error box (the application goes
// on), so choices are never lost without a word. Any other engine failure
// goes to report_engine_error. UI thread only.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "app/copybook/alphabet.h"
#include "app/copybook/charsets_handler.h"
#include "app/copybook/glyphs.h"
#include "app/copybook/use_radio_group.h"
#include "app/shell/engine.h"
#include "appplatform/dialog/list_view.h"
#include "appplatform/window_types.h"

namespace ductra {

// Control ids of the copybook dialog.
inline constexpr int kCharsetBox = 1113;
inline constexpr int kLetterList = 1114;
inline constexpr int kPreviousLetter = 1115;
inline constexpr int kNextLetter = 1116;
inline constexpr int kVariantCaption = 1117;
inline constexpr int kUseOftenButton = 1118;
inline constexpr int kUseRarelyButton = 1119;
inline constexpr int kUseNeverButton = 1120;
inline constexpr int kVariantList = 1121;
inline constexpr int kRestoreButton = 1126;

// Texts: the restore question, and the box when the choices cannot be saved.
inline constexpr std::uint32_t kRestoreQuestion = 71;
inline constexpr std::uint32_t kChoicesNotSavedText = 72;

// What the copybook needs of the application; everything must outlive it.
struct CopybookServices {
  Engine& engine;
  // An engine failure, reported as the engine thread's are.
  std::function<void(const ExceptionInfo&)> report_engine_error;
  // An error box of two string ids (the second 0 for none).
  std::function<void(std::uint32_t first, std::uint32_t second)> show_error_box;
};

class CopybookModel {
 public:
  // Binds the dialog's controls and lists the charsets, selecting
  // `charset` (0, or one the engine lacks: the first of the list).
  CopybookModel(platform::WindowHandle dialog, std::uint32_t charset, const CopybookServices& services);
  ~CopybookModel();
  CopybookModel(const CopybookModel&) = delete;
  CopybookModel& operator=(const CopybookModel&) = delete;

  // A command of the dialog; 1 when it was one of the lists' own.
  int on_command(int id, int code);
  // True when the change came from the letter or the variant list.
  bool on_item_changed(const platform::ListViewNotify& notification);
  // True when the click came from the variant list, which then shows the
  // focused variant being written.
  bool on_variant_click(const platform::NotifyHeader& header);
  // Lists the charsets again, selecting `charset`.
  void refill(std::uint32_t charset);

  bool changed() const { return changed_; }
  Glyphs& glyphs() { return glyphs_; }

 private:
  static void on_charset_selected(void* model);
  static void on_letter_selected(void* model);
  static void on_variant_selected(void* model);

  CopybookList control(int id, void (*on_select)(void*));
  void report(const std::optional<ExceptionInfo>& failure) const;
  void set_use(std::int32_t use);
  void restore();
  void save_choices();

  platform::WindowHandle dialog_;
  const CopybookServices& services_;
  Charsets_Handler charsets_;
  Alphabet alphabet_;
  Glyphs glyphs_;
  UseRadioGroup use_radios_;
  bool changed_ = false;
};

}  // namespace ductra
