// How `inkrec recognize` prints a sample's recognition: a readable block, or
// one JSON object on one line (--json).
//
// The readable block is the line number and the text in quotes, then one
// line per letter or word the engine read, with its readings best first.
// The JSON object has the members "line", "label" and "writer" (labelled
// samples only), "status", "error" (a failed recognition only), "text" and
// "segments", each segment {"kind": "letter" or "word", "candidates": [...]}.
#pragma once

#include <string>
#include <string_view>

#include "tools/inkrec/engine_session.h"
#include "tools/inkrec/ink_file.h"

namespace inkrec::tool {

std::string readable_result(const InkSample& sample, const Recognition& recognition);
std::string json_result(const InkSample& sample, const Recognition& recognition);

// The text as a JSON string, quotes included.
std::string json_string(std::string_view utf8);

}  // namespace inkrec::tool
