// The user-dictionary editor: the words of one user dictionary, chosen by
// its language, with soft keys to add a word (through the word dialog) and
// to delete the selected one, and the dictionary switch of that language's
// configuration (changeable only in the separate-letters mode). Every
// change is saved to the engine's dictionary file at once; when the engine
// refuses a change or the save fails, a box says why and the list is
// filled again from the engine, so it never shows a word the engine does
// not hold. UI thread only.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "app/settings/help_titled_dialog.h"
#include "app/settings/page_services.h"
#include "app/settings/word_dialog.h"
#include "app/shell/engine.h"

namespace ductra {

class DictionariesDialog final : public HelpTitledDialog {
 public:
  // Everything given must outlive the dialog.
  DictionariesDialog(int recognize_mode, Configurations& configurations, Engine& engine, WordDialogHost& host,
                     const PageServices& services)
      : mode_(recognize_mode), configurations_(configurations), engine_(engine), host_(host), services_(services) {}

  // Runs the dialog (template 130, soft keys add and delete).
  std::intptr_t run(platform::WindowHandle parent);

  int on_init_dialog() override;
  int on_command(int id, int code) override;
  int on_notify(int control_id, const platform::NotifyHeader& header) override;
  int on_help() override;

 private:
  void select_charset(std::uint32_t charset);
  void read_word_count();
  void fill_languages() const;
  void fill_words() const;
  void update_controls() const;
  void add_word();
  void delete_word();
  void switch_dictionary() const;
  // The text of word `word` of the selected dictionary; nothing when the
  // engine cannot give it.
  std::optional<std::u16string> word_text(std::uint32_t word) const;
  // Says a refused change (the engine's `status`) and refills the list.
  void report_refusal(int status);
  void select_word(int word) const;

  int mode_;
  Configurations& configurations_;
  Engine& engine_;
  WordDialogHost& host_;
  const PageServices& services_;
  std::uint32_t dictionary_count_ = 0;
  std::uint32_t selected_dictionary_ = 0;
  std::uint32_t selected_charset_ = 0;
  std::uint32_t word_count_ = 0;
  int selected_word_ = -1;
};

}  // namespace ductra
