#include "tools/inkrec/sample_output.h"

#include <cstdio>

#include "engine/foundation/utf.h"

namespace inkrec::tool {
namespace {

const char* segment_kind(const Segment& segment) { return segment.word ? "word" : "letter"; }

std::string json_candidates(const Segment& segment) {
  std::string out = "[";
  for (const std::u16string& candidate : segment.candidates) {
    if (out.size() > 1) out += ",";
    out += json_string(utf16_to_utf8(candidate));
  }
  return out + "]";
}

}  // namespace

std::string json_string(std::string_view utf8) {
  std::string out = "\"";
  for (const char c : utf8) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (byte < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
      out += escaped;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

std::string readable_result(const InkSample& sample, const Recognition& recognition) {
  std::string out = "line " + std::to_string(sample.line) + ": ";
  if (recognition.status != 0) return out + "not recognised: " + status_text(recognition.status) + "\n";
  out += "\"" + utf16_to_utf8(recognition.text) + "\"";
  if (sample.labelled) out += " (label \"" + sample.label + "\")";
  out += "\n";
  for (const Segment& segment : recognition.segments) {
    out += std::string("  ") + segment_kind(segment) + ":";
    for (const std::u16string& candidate : segment.candidates) {
      out += " \"" + utf16_to_utf8(candidate) + "\"";
    }
    out += "\n";
  }
  return out;
}

std::string json_result(const InkSample& sample, const Recognition& recognition) {
  std::string out = "{\"line\":" + std::to_string(sample.line);
  if (sample.labelled) {
    out += ",\"label\":" + json_string(sample.label) + ",\"writer\":" + json_string(sample.writer);
  }
  out += ",\"status\":" + std::to_string(recognition.status);
  if (recognition.status != 0) out += ",\"error\":" + json_string(status_text(recognition.status));
  out += ",\"text\":" + json_string(utf16_to_utf8(recognition.text)) + ",\"segments\":[";
  for (std::size_t i = 0; i < recognition.segments.size(); ++i) {
    const Segment& segment = recognition.segments[i];
    if (i > 0) out += ",";
    out += std::string("{\"kind\":\"") + segment_kind(segment) +
           "\",\"candidates\":" + json_candidates(segment) + "}";
  }
  return out + "]}\n";
}

}  // namespace inkrec::tool
