#include "tools/inkrec/engine_session.h"

#include <algorithm>
#include <chrono>

#include "engine/foundation/utf.h"

namespace inkrec::tool {
namespace {

// Units of the result text, terminator included.
constexpr int kResultUnits = 4096;

// The result callback: keeps every question's readings and keeps the best.
int collect_segment(crResultChoice* choice, void* context) {
  auto* segments = static_cast<std::vector<Segment>*>(context);
  Segment segment;
  segment.word = choice->kind == 1;
  const auto* texts = static_cast<const crDynArray*>(choice->candidates.data);
  for (std::uint32_t i = 0; i < choice->candidates.count; ++i) {
    const auto* units = static_cast<const char16_t*>(texts[i].data);
    segment.candidates.emplace_back(units, units + texts[i].count);
  }
  segments->push_back(std::move(segment));
  choice->chosen = -1;
  return 0;
}

crRecognitionParams request_for(RequestChoice choice, std::vector<Segment>* segments,
                                std::u16string* buffer) {
  crRecognitionParams params{};
  params.callback = &collect_segment;
  params.delivery_mode = 3;  // ask about every letter and word
  params.third_word = 100;
  params.context = segments;
  params.first_switch = 1;
  params.second_switch = 1;
  params.word_pass = choice.words ? 1 : 0;
  params.cursive_split = choice.joined ? 1 : 0;
  params.skew_search = 1;
  params.skew_allowed = 1;
  params.layout_switch = 1;
  params.refine_trajectories = 1;
  params.result_buffer = buffer->data();
  params.result_size = static_cast<std::int32_t>(buffer->size());
  return params;
}

int add_strokes(const std::vector<std::vector<crPoint>>& strokes) {
  std::vector<crStrokeInput> inputs;
  inputs.reserve(strokes.size());
  for (const std::vector<crPoint>& stroke : strokes) {
    inputs.push_back({stroke.data(), static_cast<std::int32_t>(stroke.size())});
  }
  return crAddStroke(inputs.data(), static_cast<int>(inputs.size()), -1, -1);
}

}  // namespace

EngineSession::~EngineSession() {
  if (open_) crFreeCrMan();
}

int EngineSession::open(const std::string& data_file) {
  const std::u16string path = utf8_to_utf16(data_file);
  const int status = crInitCrMan(path.c_str(), 0, nullptr, nullptr, nullptr, nullptr, nullptr);
  open_ = status == 0;
  return status;
}

int EngineSession::set_charsets(std::span<const std::uint32_t> ids) {
  if (!ids.empty()) return crSetActiveCharSets(ids.data(), static_cast<int>(ids.size()));
  std::uint32_t count = 0;
  if (const int status = crmGetCharSetCount(&count); status != 0) return status;
  std::vector<std::uint32_t> all;
  for (std::uint32_t i = 0; i < count; ++i) {
    crCharSet charset{};
    if (const int status = crmGetCharSetByInd(i, &charset); status != 0) return status;
    all.push_back(charset.id);
  }
  return crSetActiveCharSets(all.data(), static_cast<int>(all.size()));
}

Recognition EngineSession::recognize(const std::vector<std::vector<crPoint>>& strokes,
                                     RequestChoice choice) {
  Recognition result;
  std::u16string buffer(kResultUnits, u'\0');
  const crRecognitionParams params = request_for(choice, &result.segments, &buffer);
  const auto start = std::chrono::steady_clock::now();
  result.status = add_strokes(strokes);
  if (result.status == 0) result.status = crRecognize(&params);
  const auto end = std::chrono::steady_clock::now();
  result.microseconds = std::chrono::duration<double, std::micro>(end - start).count();
  crClearPane();
  if (result.status == 0) result.text = buffer.substr(0, buffer.find(u'\0'));
  return result;
}

bool start_session(EngineSession& session, const std::string& data_file,
                   std::span<const std::uint32_t> charsets, std::string* error) {
  if (const int status = session.open(data_file); status != 0) {
    *error = "cannot start the engine on " + data_file + ": " + status_text(status);
    return false;
  }
  if (const int status = session.set_charsets(charsets); status != 0) {
    *error = "cannot make the charsets active: " + status_text(status);
    return false;
  }
  return true;
}

std::vector<std::u16string> sample_alternatives(const Recognition& recognition) {
  std::vector<std::u16string> texts = {recognition.text};
  if (recognition.segments.size() != 1) return texts;
  for (const std::u16string& candidate : recognition.segments[0].candidates) {
    if (std::find(texts.begin(), texts.end(), candidate) == texts.end()) {
      texts.push_back(candidate);
    }
  }
  return texts;
}

std::string status_text(int status) {
  char16_t text[256] = {};
  if (crReturnErrText(status, text) != 0) return "status " + std::to_string(status);
  return utf16_to_utf8(wide_view(text)) + " (status " + std::to_string(status) + ")";
}

}  // namespace inkrec::tool
