// The user dictionaries as the alternatives menu offers them: words go to
// the dictionary of the current configuration's charset, and a word is
// edited in the word dialog, which accepts it only when the engine's check
// passes and the dictionary does not hold it yet. UI thread.
#pragma once

#include "app/configurations/recognition_configurations.h"
#include "app/delivery/delivery_interfaces.h"
#include "app/settings/word_dialog.h"

namespace ductra {

class ConfigurationWords final : public DictionaryWords {
 public:
  // Everything given must outlive the object.
  ConfigurationWords(RecognitionConfigurations& configurations, Engine& engine, WordDialogHost& host)
      : configurations_(configurations), engine_(engine), host_(host) {}

  std::uint32_t current_charset() override { return configurations_.configurations().current(); }
  std::optional<std::u16string> edit_word(std::u16string_view word, std::uint32_t dictionary,
                                          platform::WindowHandle parent) override;

 private:
  RecognitionConfigurations& configurations_;
  Engine& engine_;
  WordDialogHost& host_;
};

}  // namespace ductra
