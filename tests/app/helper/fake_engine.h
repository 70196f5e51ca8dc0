// A scripted stand-in for the recognition engine: a shared library with the
// engine's entry points, which a test loads as it would load the engine and
// steers through the fake_engine_* functions below.
//
// The test scripts the statuses, the charsets the database knows, and each
// recognition: the questions it puts to the result callback, how long it
// works (in steps the test's pause hook carries out, so time is the test's
// clock) and whether it heeds the quick and stop flags. Every entry point
// reports its name to the test's call hook first. Questions are allocated,
// and returned texts freed, with plain ::operator new and delete, as the
// engine does.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "inkrec/inkrec.h"

namespace fake_engine {

struct Hooks {
  // Called first in every entry point with its name.
  void (*on_call)(const char* name, void* context) = nullptr;
  // Lets `ms` pass; may return early when a flag was raised (wake). False
  // when the calling thread is to end: the recognition then ends as stopped.
  bool (*pause)(std::uint32_t ms, void* context) = nullptr;
  // Called when the quick or the stop flag is raised.
  void (*wake)(void* context) = nullptr;
  // The test's clock, in milliseconds.
  std::uint64_t (*now)(void* context) = nullptr;
  void* context = nullptr;
};

struct Question {
  std::uint32_t kind = 0;  // 0 a letter, 1 a word
  std::vector<std::u16string> alternatives;
  std::int32_t box[4] = {0, 0, 0, 0};
};

struct Recognition {
  int status = 0;           // returned when the work ends normally
  std::u16string text;      // written to the result buffer (cut to its size)
  std::uint32_t work_ms = 0;
  bool heeds_quick = true;  // the quick flag ends the work at once
  bool heeds_stop = true;   // the stop flag ends it with 4034 and no text
  std::uint32_t ask_after_ms = 0;   // work done before the questions
  std::vector<Question> questions;  // put to the callback
};

struct Answer {
  std::int32_t chosen = 0;
  std::u16string returned_text;
};

struct AddedWord {
  std::uint32_t charset = 0;
  std::u16string text;
  std::uint32_t probability = 0;
  friend bool operator==(const AddedWord&, const AddedWord&) = default;
};

// One element of a copybook shape: strokes in shape units and two guides.
struct ShapeElement {
  std::vector<std::vector<crPoint>> strokes;
  std::int16_t first_guide = 0;
  std::int16_t second_guide = 0;
};

// The database's part the copybook reads: the letters of the charsets, the
// variants and complex variants in index order, and the shapes by id (an
// id not given is no shape: -2). crmVariantSet and crmComplexVariantSet
// replace the record of the same id (-2 when there is none).
struct Copybook {
  std::vector<crCharSetSymb> symbols;
  std::vector<crVariant> variants;
  std::vector<crComplexVariant> complex_variants;
  std::map<std::uint16_t, std::vector<ShapeElement>> shapes;
};

struct Observed {
  bool started = false;
  std::u16string data_file;
  int data_mode = -1;
  std::vector<std::vector<crPoint>> pane;
  std::vector<std::uint32_t> active_charsets;
  std::vector<crRecognitionParams> requests;
  std::vector<std::uint32_t> debug_modes;
  std::vector<Answer> answers;
  int recognitions_ended = 0;
  std::vector<AddedWord> added_words;  // to a user dictionary of their charset
  int dictionary_saves = 0;
  std::vector<crVariant> variants_set;  // by crmVariantSet, in order
  std::vector<crComplexVariant> complex_variants_set;
  int variant_file_writes = 0;  // crmSetVariantsAndWrite calls
  int shapes_given = 0;         // copies crmGetShape handed out
};

}  // namespace fake_engine

extern "C" {
// Forgets everything (the engine is not started) and installs the hooks.
void fake_engine_reset(const fake_engine::Hooks* hooks);
// The status of the next start (0 by default).
void fake_engine_script_start(int status);
// Statuses of the next crAddStroke calls, in order (0 once they are used up).
void fake_engine_script_add_stroke(const int* statuses, int count);
// The charsets the database knows (active ones are set with crSetActiveCharSets).
void fake_engine_script_charsets(const std::uint32_t* ids, int count);
// The three-letter code of a known charset's record (empty by default).
void fake_engine_script_charset_code(std::uint32_t id, const char16_t* code);
// The status of crmGetCharSetCount (0 by default).
void fake_engine_script_charset_count(int status);
// The next recognition (a recognition without script returns 0 and no text).
void fake_engine_script_recognition(const fake_engine::Recognition* recognition);
// The user dictionaries, by their charsets (none by default). A word added
// for a charset without a dictionary is refused with 7.
void fake_engine_script_user_dictionaries(const std::uint32_t* charsets, int count);
// The copybook's records (none by default).
void fake_engine_script_copybook(const fake_engine::Copybook* copybook);
// Entry point `name` answers `status` from its call number `after` + 1 on
// (one such failure at a time; a null name takes it away).
void fake_engine_script_failure(const char* name, int status, int after);
void fake_engine_observe(fake_engine::Observed* out);
// What crmGetFigOutList hands out (a test reads it with a reader of its own).
const void* fake_engine_figure_output();
}
