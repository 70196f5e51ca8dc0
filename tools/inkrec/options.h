// The options of the recognition commands (recognize, eval): the input,
// the charsets, the data folder, the word search and the output form.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "tools/inkrec/engine_session.h"

namespace inkrec::tool {

struct RecognitionOptions {
  std::string input;                 // "-" or empty: standard input
  std::vector<std::uint32_t> charsets;  // empty: every charset of the data
  std::string data_dir;              // empty: the default data
  RequestChoice request;             // the word search (default on), joined writing (off)
  bool json = false;
};

// Reads the arguments after the command's name. json_allowed says whether
// --json is one of the command's options. False with *error set for an
// unknown option, a missing or bad value or a second input.
bool parse_recognition_options(std::span<char* const> args, bool json_allowed,
                               RecognitionOptions* options, std::string* error);

// The data file the options name: qlmain.dt in --data's folder, else in the
// default data folder (the installed one beside the tool when it is there,
// else the source tree's data/).
std::string data_file_path(const RecognitionOptions& options);

}  // namespace inkrec::tool
