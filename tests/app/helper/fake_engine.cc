// The scripted engine of fake_engine.h.
#define INKREC_BUILDING 1
#include "tests/app/helper/fake_engine.h"

#include "inkrec/figure_output.h"

#include <algorithm>
#include <atomic>
#include <deque>
#include <map>
#include <mutex>
#include <new>
#include <set>
#include <string_view>

#define FAKE_API extern "C" __attribute__((visibility("default")))

namespace {

constexpr int kNoKernel = 4001;
constexpr int kKernelsExist = 4029;
constexpr int kStopped = 4034;

struct Fake {
  std::mutex mutex;
  fake_engine::Hooks hooks;
  int start_status = 0;
  std::deque<int> add_stroke_statuses;
  std::set<std::uint32_t> known_charsets;
  std::vector<std::uint32_t> dictionary_charsets;
  std::map<std::uint32_t, std::u16string> charset_codes;
  int charset_count_status = 0;
  std::deque<fake_engine::Recognition> recognitions;
  fake_engine::Copybook copybook;
  std::string failing_call;
  int failing_status = 0;
  int calls_before_failure = 0;
  fake_engine::Observed observed;
  std::atomic<bool> quick{false};
  std::atomic<bool> stop{false};
  // The address crmGetFigOutList gives; nothing is stored behind it.
  const char figure_output = 0;
};

Fake& fake();

// A charset's record: its id and its scripted code, the rest empty.
void fill_charset(std::uint32_t id, crCharSet* out) {
  *out = crCharSet{};
  out->id = id;
  const auto code = fake().charset_codes.find(id);
  if (code != fake().charset_codes.end()) std::ranges::copy(code->second, out->word_list_code);
}

Fake& fake() {
  static Fake instance;
  return instance;
}

void called(const char* name) {
  if (fake().hooks.on_call != nullptr) fake().hooks.on_call(name, fake().hooks.context);
}

// The scripted failure of entry point `name`, or 0. Call under the mutex.
int scripted_failure(const char* name) {
  if (fake().failing_call != name) return 0;
  if (fake().calls_before_failure > 0) {
    --fake().calls_before_failure;
    return 0;
  }
  return fake().failing_status;
}

// Runs `body` on the copybook for an entry point that needs a started
// engine and may be scripted to fail.
template <typename Body>
int on_copybook(const char* name, Body body) {
  called(name);
  std::lock_guard lock(fake().mutex);
  if (!fake().observed.started) return kNoKernel;
  if (const int status = scripted_failure(name)) return status;
  return body(fake().copybook);
}

template <typename Record>
int record_at(const std::vector<Record>& records, uint32_t index, Record* out) {
  if (out == nullptr || index >= records.size()) return -2;
  *out = records[index];
  return 0;
}

// Replaces the record with the id of `record`; `id` reads a record's id.
template <typename Record, typename Id>
int replace_record(std::vector<Record>& records, const Record* record, Id id) {
  if (record == nullptr) return -2;
  for (Record& stored : records) {
    if (id(stored) == id(*record)) {
      stored = *record;
      return 0;
    }
  }
  return -2;
}

template <typename T>
crDynArray allocated_array(std::size_t count) {
  void* data = count == 0 ? nullptr : ::operator new(sizeof(T) * count);
  return {0, static_cast<uint32_t>(count), static_cast<uint32_t>(count), data};
}

// A shape as the engine hands it out: every array its own allocation.
void copy_shape(const std::vector<fake_engine::ShapeElement>& elements, crShape* out) {
  *out = crShape{};
  out->samples = allocated_array<crSample>(elements.size());
  for (std::size_t e = 0; e < elements.size(); ++e) {
    const fake_engine::ShapeElement& element = elements[e];
    crSample& sample = static_cast<crSample*>(out->samples.data)[e];
    sample = crSample{};
    sample.first_guide = element.first_guide;
    sample.second_guide = element.second_guide;
    sample.strokes = allocated_array<crDynArray>(element.strokes.size());
    for (std::size_t k = 0; k < element.strokes.size(); ++k) {
      crDynArray& stroke = static_cast<crDynArray*>(sample.strokes.data)[k];
      stroke = allocated_array<crPoint>(element.strokes[k].size());
      std::ranges::copy(element.strokes[k], static_cast<crPoint*>(stroke.data));
    }
  }
}

bool started() {
  std::lock_guard lock(fake().mutex);
  return fake().observed.started;
}

void raise(std::atomic<bool>& flag) {
  flag = true;
  if (fake().hooks.wake != nullptr) fake().hooks.wake(fake().hooks.context);
}

void free_array(crDynArray& array) {
  ::operator delete(array.data);
  array = {};
}

// Asks the callback one question as the engine would; a bad answer fails the
// recognition with -2.
int ask(const crRecognitionParams& params, const fake_engine::Question& question) {
  crResultChoice choice{};
  const auto n = static_cast<std::uint32_t>(question.alternatives.size());
  auto* texts = static_cast<crDynArray*>(::operator new(sizeof(crDynArray) * std::max(n, 1u)));
  for (std::uint32_t i = 0; i < n; ++i) {
    const std::u16string& text = question.alternatives[i];
    auto* units = static_cast<char16_t*>(::operator new(sizeof(char16_t) * (text.size() + 1)));
    std::copy(text.begin(), text.end(), units);
    texts[i] = {0, static_cast<std::uint32_t>(text.size()), static_cast<std::uint32_t>(text.size()),
                units};
  }
  choice.candidates = {0, n, n, texts};
  choice.kind = question.kind;
  choice.left = question.box[0];
  choice.top = question.box[1];
  choice.right = question.box[2];
  choice.bottom = question.box[3];
  choice.chosen = -1;
  int status = params.callback(&choice, params.context);
  const bool offered = choice.chosen >= 0 && static_cast<std::uint32_t>(choice.chosen) < n;
  const bool allowed = offered || choice.chosen == -1 || choice.chosen == -3 ||
                       (choice.chosen == -2 && question.kind == 1);
  if (status == 0 && !allowed) status = -2;
  {
    std::lock_guard lock(fake().mutex);
    fake().observed.answers.push_back(
        {choice.chosen, std::u16string(static_cast<const char16_t*>(choice.returned_text.data),
                                       choice.returned_text.count)});
  }
  for (std::uint32_t i = 0; i < n; ++i) free_array(texts[i]);
  free_array(choice.candidates);
  free_array(choice.returned_text);
  return status;
}

// Works for `ms` by the test's clock; false when the stop flag (heeded) or
// the end of the thread ended the work. The quick flag (heeded) ends it at
// once.
bool work(const fake_engine::Recognition& script, std::uint32_t ms) {
  const fake_engine::Hooks& hooks = fake().hooks;
  if (ms == 0) return !(script.heeds_stop && fake().stop);
  const std::uint64_t start = hooks.now(hooks.context);
  for (;;) {
    if (script.heeds_stop && fake().stop) return false;
    if (script.heeds_quick && fake().quick) return true;
    const std::uint64_t done = hooks.now(hooks.context) - start;
    if (done >= ms) return true;
    if (!hooks.pause(static_cast<std::uint32_t>(ms - done), hooks.context)) return false;
  }
}

void write_text(const crRecognitionParams& params, const std::u16string& text) {
  if (params.result_size < 1) return;
  const std::size_t n = std::min<std::size_t>(text.size(), params.result_size - 1);
  std::copy_n(text.begin(), n, params.result_buffer);
  params.result_buffer[n] = 0;
}

int recognize(const crRecognitionParams& params) {
  fake_engine::Recognition script;
  {
    std::lock_guard lock(fake().mutex);
    fake().observed.requests.push_back(params);
    if (!fake().recognitions.empty()) {
      script = fake().recognitions.front();
      fake().recognitions.pop_front();
    }
  }
  fake().quick = false;
  fake().stop = false;
  const std::uint32_t before = std::min(script.ask_after_ms, script.work_ms);
  if (!work(script, before)) return kStopped;
  if (params.callback != nullptr && params.delivery_mode != 0) {
    for (const fake_engine::Question& question : script.questions) {
      if (const int status = ask(params, question); status != 0) return status;
    }
  }
  if (!work(script, script.work_ms - before)) return kStopped;
  write_text(params, script.text);
  return script.status;
}

}  // namespace

FAKE_API void fake_engine_reset(const fake_engine::Hooks* hooks) {
  std::lock_guard lock(fake().mutex);
  fake().hooks = *hooks;
  fake().start_status = 0;
  fake().add_stroke_statuses.clear();
  fake().known_charsets.clear();
  fake().dictionary_charsets.clear();
  fake().charset_codes.clear();
  fake().charset_count_status = 0;
  fake().recognitions.clear();
  fake().copybook = {};
  fake().failing_call.clear();
  fake().observed = {};
  fake().quick = false;
  fake().stop = false;
}

FAKE_API void fake_engine_script_start(int status) {
  std::lock_guard lock(fake().mutex);
  fake().start_status = status;
}

FAKE_API void fake_engine_script_add_stroke(const int* statuses, int count) {
  std::lock_guard lock(fake().mutex);
  fake().add_stroke_statuses.insert(fake().add_stroke_statuses.end(), statuses, statuses + count);
}

FAKE_API void fake_engine_script_charsets(const std::uint32_t* ids, int count) {
  std::lock_guard lock(fake().mutex);
  fake().known_charsets.insert(ids, ids + count);
}

FAKE_API void fake_engine_script_charset_code(std::uint32_t id, const char16_t* code) {
  std::lock_guard lock(fake().mutex);
  fake().charset_codes[id] = std::u16string(code).substr(0, 3);
}

FAKE_API void fake_engine_script_charset_count(int status) {
  std::lock_guard lock(fake().mutex);
  fake().charset_count_status = status;
}

FAKE_API void fake_engine_script_recognition(const fake_engine::Recognition* recognition) {
  std::lock_guard lock(fake().mutex);
  fake().recognitions.push_back(*recognition);
}

FAKE_API void fake_engine_script_user_dictionaries(const std::uint32_t* charsets, int count) {
  std::lock_guard lock(fake().mutex);
  fake().dictionary_charsets.assign(charsets, charsets + count);
}

FAKE_API void fake_engine_script_copybook(const fake_engine::Copybook* copybook) {
  std::lock_guard lock(fake().mutex);
  fake().copybook = *copybook;
}

FAKE_API void fake_engine_script_failure(const char* name, int status, int after) {
  std::lock_guard lock(fake().mutex);
  fake().failing_call = name != nullptr ? name : "";
  fake().failing_status = status;
  fake().calls_before_failure = after;
}

FAKE_API void fake_engine_observe(fake_engine::Observed* out) {
  std::lock_guard lock(fake().mutex);
  *out = fake().observed;
}

FAKE_API const void* fake_engine_figure_output() { return &fake().figure_output; }

extern "C" {

int crInitCrMan(const char16_t* data_path, int mode, const char16_t*, const char16_t*,
                const crDynArray*, const crDynArray*, const char16_t*) {
  called("crInitCrMan");
  std::lock_guard lock(fake().mutex);
  if (fake().observed.started) return kKernelsExist;
  fake().observed.data_file = data_path;
  fake().observed.data_mode = mode;
  fake().observed.started = fake().start_status == 0;
  return fake().start_status;
}

int crFreeCrMan(void) {
  called("crFreeCrMan");
  std::lock_guard lock(fake().mutex);
  fake().observed.started = false;
  fake().observed.pane.clear();
  fake().observed.active_charsets.clear();
  return 0;
}

int crAddStroke(const crStrokeInput* strokes, int count, int16_t, int16_t) {
  called("crAddStroke");
  std::lock_guard lock(fake().mutex);
  if (!fake().observed.started) return kNoKernel;
  if (strokes == nullptr || count < 1) return -2;
  if (!fake().add_stroke_statuses.empty()) {
    const int status = fake().add_stroke_statuses.front();
    fake().add_stroke_statuses.pop_front();
    if (status != 0) return status;
  }
  for (int i = 0; i < count; ++i) {
    fake().observed.pane.emplace_back(strokes[i].points, strokes[i].points + strokes[i].count);
  }
  return 0;
}

int crClearPane(void) {
  called("crClearPane");
  std::lock_guard lock(fake().mutex);
  if (!fake().observed.started) return kNoKernel;
  fake().observed.pane.clear();
  return 0;
}

int crRecognize(const crRecognitionParams* params) {
  called("crRecognize");
  if (!started()) return kNoKernel;
  if (params == nullptr || params->result_buffer == nullptr) return -2;
  const int status = recognize(*params);
  called("crRecognize ended");
  std::lock_guard lock(fake().mutex);
  ++fake().observed.recognitions_ended;
  return status;
}

int crmSetQuickFlag(void) {
  called("crmSetQuickFlag");
  if (!started()) return kNoKernel;
  raise(fake().quick);
  return 0;
}

int crmSetDebugMode(uint32_t mode) {
  called("crmSetDebugMode");
  std::lock_guard lock(fake().mutex);
  if (!fake().observed.started) return kNoKernel;
  fake().observed.debug_modes.push_back(mode);
  return 0;
}

int crmGetFigOutList(void** out_list) {
  called("crmGetFigOutList");
  std::lock_guard lock(fake().mutex);
  if (!fake().observed.started) return kNoKernel;
  if (out_list == nullptr) return -2;
  *out_list = const_cast<char*>(&fake().figure_output);
  return 0;
}

// Nothing stands behind the figure output's address: every read refuses.
int crFigOutGroupCount(const void*, uint32_t*) { return -2; }
int crFigOutFigureCount(const void*, uint32_t, uint32_t*) { return -2; }
int crFigOutFigureIndex(const void*, uint32_t, uint32_t, int16_t*) { return -2; }
int crFigOutFigureReadings(const void*, uint32_t, uint32_t, uint32_t, crFigOutReading*, uint32_t,
                           uint32_t*) {
  return -2;
}
int crFigOutGroupAnswers(const void*, uint32_t, crFigOutReading*, uint32_t, uint32_t*) {
  return -2;
}

int crmSetStopFlag(void) {
  called("crmSetStopFlag");
  if (!started()) return kNoKernel;
  raise(fake().stop);
  return 0;
}

int crGetActiveCharSets(uint32_t* ids, uint32_t* count) {
  called("crGetActiveCharSets");
  std::lock_guard lock(fake().mutex);
  if (!fake().observed.started) return kNoKernel;
  if (ids == nullptr || count == nullptr) return 0;
  const std::vector<std::uint32_t>& active = fake().observed.active_charsets;
  std::copy_n(active.begin(), std::min<std::size_t>(active.size(), *count), ids);
  *count = static_cast<std::uint32_t>(active.size());
  return 0;
}

int crSetActiveCharSets(const uint32_t* ids, int count) {
  called("crSetActiveCharSets");
  std::lock_guard lock(fake().mutex);
  if (!fake().observed.started) return kNoKernel;
  if (count < 0 || (ids == nullptr && count > 0)) return -2;
  fake().observed.active_charsets.clear();
  for (int i = 0; i < count; ++i) {
    if (!fake().known_charsets.contains(ids[i])) {
      fake().observed.active_charsets.clear();
      return -1;
    }
    fake().observed.active_charsets.push_back(ids[i]);
  }
  return 0;
}

int crReturnErrText(int code, char16_t* buffer) {
  called("crReturnErrText");
  const std::u16string text = u"fake message " + std::u16string(1, char16_t(u'0' + code % 10));
  std::copy(text.c_str(), text.c_str() + text.size() + 1, buffer);
  return 0;
}

int crmGetVersion(char* buffer, int size) {
  called("crmGetVersion");
  if (buffer == nullptr) return -2;
  if (size > 0) buffer[0] = 0;
  return 462;
}

int crmGetCharSetCount(uint32_t* out_count) {
  called("crmGetCharSetCount");
  std::lock_guard lock(fake().mutex);
  if (!fake().observed.started) return kNoKernel;
  if (fake().charset_count_status != 0) return fake().charset_count_status;
  *out_count = static_cast<std::uint32_t>(fake().known_charsets.size());
  return 0;
}

int crmGetCharSet(uint32_t id, crCharSet* out) {
  called("crmGetCharSet");
  std::lock_guard lock(fake().mutex);
  if (!fake().observed.started) return kNoKernel;
  if (!fake().known_charsets.contains(id)) return -2;
  fill_charset(id, out);
  return 0;
}

int crmGetCharSetByInd(uint32_t index, crCharSet* out) {
  called("crmGetCharSetByInd");
  std::lock_guard lock(fake().mutex);
  if (!fake().observed.started) return kNoKernel;
  if (index >= fake().known_charsets.size()) return -2;
  fill_charset(*std::next(fake().known_charsets.begin(), index), out);
  return 0;
}

int crmSetVariantsAndWrite(const crDynArray*, const crDynArray*) {
  called("crmSetVariantsAndWrite");
  std::lock_guard lock(fake().mutex);
  if (!fake().observed.started) return -1;
  ++fake().observed.variant_file_writes;
  return scripted_failure("crmSetVariantsAndWrite");
}

int crmGetCharSetSymbCount(uint32_t charset_id, uint32_t* out_count) {
  return on_copybook("crmGetCharSetSymbCount", [&](const fake_engine::Copybook& c) {
    if (out_count == nullptr) return -2;
    *out_count = static_cast<uint32_t>(std::ranges::count_if(
        c.symbols, [&](const crCharSetSymb& s) { return charset_id == 0 || s.charset_id == charset_id; }));
    return 0;
  });
}

int crmGetCharSetSymbByInd(uint32_t index, crCharSetSymb* out) {
  return on_copybook("crmGetCharSetSymbByInd",
                     [&](const fake_engine::Copybook& c) { return record_at(c.symbols, index, out); });
}

int crmVariantGetCountAll(uint32_t* out_count) {
  return on_copybook("crmVariantGetCountAll", [&](const fake_engine::Copybook& c) {
    if (out_count == nullptr) return -2;
    *out_count = static_cast<uint32_t>(c.variants.size());
    return 0;
  });
}

int crmVariantGetByInd(uint32_t index, crVariant* out) {
  return on_copybook("crmVariantGetByInd",
                     [&](const fake_engine::Copybook& c) { return record_at(c.variants, index, out); });
}

int crmVariantSet(const crVariant* record) {
  return on_copybook("crmVariantSet", [&](fake_engine::Copybook& c) {
    const int status = replace_record(c.variants, record, [](const crVariant& v) { return v.id; });
    if (status == 0) fake().observed.variants_set.push_back(*record);
    return status;
  });
}

int crmComplexVariantGetCountAll(uint32_t* out_count) {
  return on_copybook("crmComplexVariantGetCountAll", [&](const fake_engine::Copybook& c) {
    if (out_count == nullptr) return -2;
    *out_count = static_cast<uint32_t>(c.complex_variants.size());
    return 0;
  });
}

int crmComplexVariantGetByInd(uint32_t index, crComplexVariant* out) {
  return on_copybook("crmComplexVariantGetByInd",
                     [&](const fake_engine::Copybook& c) { return record_at(c.complex_variants, index, out); });
}

int crmComplexVariantSet(const crComplexVariant* record) {
  return on_copybook("crmComplexVariantSet", [&](fake_engine::Copybook& c) {
    const int status = replace_record(c.complex_variants, record, [](const crComplexVariant& v) { return v.id; });
    if (status == 0) fake().observed.complex_variants_set.push_back(*record);
    return status;
  });
}

int crmGetShape(uint16_t id, crShape* shape) {
  return on_copybook("crmGetShape", [&](const fake_engine::Copybook& c) {
    const auto found = c.shapes.find(id);
    if (shape == nullptr || found == c.shapes.end()) return -2;  // the caller passes an empty shape
    copy_shape(found->second, shape);
    ++fake().observed.shapes_given;
    return 0;
  });
}

// The user-dictionary entry points answer as an engine with the scripted
// (empty) dictionaries would; they count and take words, nothing more.
int crGetCountOfUserDictionaries(uint32_t* out_count) {
  called("crGetCountOfUserDictionaries");
  if (!started()) return kNoKernel;
  std::lock_guard lock(fake().mutex);
  *out_count = static_cast<uint32_t>(fake().dictionary_charsets.size());
  return 0;
}

int crGetIdOfCharSetOfUserDictionary(uint32_t dictionary, uint32_t* out_charset) {
  called("crGetIdOfCharSetOfUserDictionary");
  if (!started()) return kNoKernel;
  std::lock_guard lock(fake().mutex);
  if (dictionary >= fake().dictionary_charsets.size()) return 1;
  *out_charset = fake().dictionary_charsets[dictionary];
  return 0;
}

int crGetCountOfWordsInUserDictionary(uint32_t, uint32_t*) {
  called("crGetCountOfWordsInUserDictionary");
  return started() ? 1 : kNoKernel;
}

int crGetLengthOfWordInUserDictionary(uint32_t, uint32_t, uint32_t*) {
  called("crGetLengthOfWordInUserDictionary");
  return started() ? 1 : kNoKernel;
}

int crGetTextOfWordInUserDictionary(uint32_t, uint32_t, char16_t*) {
  called("crGetTextOfWordInUserDictionary");
  return started() ? 1 : kNoKernel;
}

// Any word of 1 to 50 units suits every dictionary.
int crCheckTextOfWordForUserDictionary(uint32_t, const char16_t* text, uint8_t* ok) {
  called("crCheckTextOfWordForUserDictionary");
  if (!started()) return kNoKernel;
  if (text == nullptr || ok == nullptr) return -2;
  const std::size_t length = std::u16string_view(text).size();
  *ok = length >= 1 && length <= 50 ? 1 : 0;
  return 0;
}

int crAddWordToUserDictionary(uint32_t charset, const char16_t* text, uint32_t probability) {
  called("crAddWordToUserDictionary");
  if (!started()) return kNoKernel;
  std::lock_guard lock(fake().mutex);
  const auto& charsets = fake().dictionary_charsets;
  if (std::find(charsets.begin(), charsets.end(), charset) == charsets.end()) return 7;
  fake().observed.added_words.push_back({charset, text, probability});
  return 0;
}

int crRemoveWordFromUserDictionary(uint32_t, uint32_t) {
  called("crRemoveWordFromUserDictionary");
  return started() ? -2 : kNoKernel;
}

// Found: the word was added to a dictionary of the charset.
int crSearchWordInUserDictionary(uint32_t charset, const char16_t* text, uint32_t* position, uint8_t* found) {
  called("crSearchWordInUserDictionary");
  if (!started()) return kNoKernel;
  if (text == nullptr || position == nullptr || found == nullptr) return -2;
  std::lock_guard lock(fake().mutex);
  const std::vector<fake_engine::AddedWord>& words = fake().observed.added_words;
  const auto word = std::find_if(words.begin(), words.end(), [&](const fake_engine::AddedWord& added) {
    return added.charset == charset && added.text == text;
  });
  *found = word != words.end() ? 1 : 0;
  *position = static_cast<uint32_t>(word - words.begin());
  return 0;
}

int crSaveUserDictionariesToFile(void) {
  called("crSaveUserDictionariesToFile");
  if (!started()) return kNoKernel;
  std::lock_guard lock(fake().mutex);
  ++fake().observed.dictionary_saves;
  return 0;
}

}  // extern "C"
