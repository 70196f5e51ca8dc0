// The application's calls into the recognition engine.
//
// Every call takes the engine gate for its duration and returns the engine's
// status unchanged, with three exceptions a caller may rely on:
// set_quick_flag and set_stop_flag take no gate (they are meant for another
// thread while a recognition holds it); active_charsets gives the engine the
// room of its array, and set_active_charsets first leaves out the ids the
// database does not know, because one unknown id would leave no charset
// active at all. The engine's statuses are listed in inkrec/inkrec.h.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "app/shell/engine_gate.h"
#include "app/shell/engine_library.h"

namespace ductra {

class Engine {
 public:
  // The library must outlive the Engine.
  explicit Engine(const EngineLibrary& library) : e_(library.exports()) {}
  Engine(const Engine&) = delete;
  Engine& operator=(const Engine&) = delete;

  EngineGate& gate() { return gate_; }
  // The engine's functions, for readers of what it hands out (its figure
  // output); calls through them take no gate.
  const EngineExports& exports() const { return e_; }

  // Life cycle: starts on a data file, opened read-only; the further
  // arguments of the engine's start stay empty.
  int init(const std::u16string& data_file);
  int free();

  // Ink and recognition.
  int add_stroke(std::span<const crPoint> points);
  int clear_pane();
  int recognize(const crRecognitionParams& params);
  int set_quick_flag();
  int set_stop_flag();
  // The debug mode of the next recognitions (3 keeps their figure output).
  int set_debug_mode(std::uint32_t mode);
  // The engine's figure output of the last recognition, which the engine
  // owns: read it in place, under the gate, before the next recognition.
  int figure_output(void** list);

  // Charsets.
  static constexpr std::uint32_t kMaxActiveCharsets = 256;
  int active_charsets(std::vector<std::uint32_t>* ids);
  int set_active_charsets(std::span<const std::uint32_t> ids);
  int char_set_count(std::uint32_t* count);
  int char_set(std::uint32_t id, crCharSet* out);
  int char_set_by_index(std::uint32_t index, crCharSet* out);

  // The message of a status code.
  std::u16string error_text(int code);
  int version(char* buffer, int size);

  // Writes the user's variant choices ("user.txt") and changes no record.
  int write_user_variants();

  // User dictionaries.
  int user_dictionary_count(std::uint32_t* count);
  int user_dictionary_charset(std::uint32_t dictionary, std::uint32_t* charset_id);
  int user_dictionary_word_count(std::uint32_t dictionary, std::uint32_t* count);
  int user_dictionary_word_length(std::uint32_t dictionary, std::uint32_t word, std::uint32_t* length);
  // `text` holds the word's length + 1 units.
  int user_dictionary_word(std::uint32_t dictionary, std::uint32_t word, char16_t* text);
  int check_user_dictionary_word(std::uint32_t dictionary, const char16_t* text, std::uint8_t* ok);
  int add_user_dictionary_word(std::uint32_t charset_id, const char16_t* text,
                               std::uint32_t probability);
  int remove_user_dictionary_word(std::uint32_t charset_id, std::uint32_t word);
  int search_user_dictionary(std::uint32_t charset_id, const char16_t* text,
                             std::uint32_t* position, std::uint8_t* found);
  int save_user_dictionaries();

 private:
  template <typename Function, typename... Args>
  int gated(Function function, Args... args) {
    EngineGate::Hold hold(gate_);
    return function(args...);
  }

  const EngineExports& e_;
  EngineGate gate_;
};

}  // namespace ductra
