// inkrec recognize: reads ink from a file or standard input and prints
// each sample's text and readings as soon as it is recognised.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>

#include "tools/inkrec/engine_session.h"
#include "tools/inkrec/ink_file.h"
#include "tools/inkrec/options.h"
#include "tools/inkrec/recognition_commands.h"
#include "tools/inkrec/sample_output.h"
#include "tools/inkrec/usage.h"

namespace inkrec::tool {
namespace {

// Recognises every sample of the stream; false when any line failed.
bool recognize_stream(std::istream& in, const std::string& name, const RecognitionOptions& options,
                      EngineSession& session) {
  bool all_read = true;
  std::string text;
  for (long line = 1; std::getline(in, text); ++line) {
    InkSample sample;
    sample.line = line;
    std::string error;
    if (!parse_ink_line(text, &sample, &error)) {
      if (error.empty()) continue;
      std::fprintf(stderr, "%s:%ld: %s\n", name.c_str(), line, error.c_str());
      all_read = false;
      continue;
    }
    const Recognition recognition = session.recognize(sample.strokes, options.request);
    const std::string result =
        options.json ? json_result(sample, recognition) : readable_result(sample, recognition);
    std::fputs(result.c_str(), stdout);
    std::fflush(stdout);
    if (recognition.status != 0) {
      std::fprintf(stderr, "%s:%ld: not recognised: %s\n", name.c_str(), line,
                   status_text(recognition.status).c_str());
      all_read = false;
    }
  }
  return all_read;
}

}  // namespace

int run_recognize(std::span<char* const> args) {
  RecognitionOptions options;
  std::string error;
  if (!parse_recognition_options(args, true, &options, &error)) {
    return usage_error("recognize", error);
  }
  const bool from_stdin = options.input.empty() || options.input == "-";
  std::ifstream file;
  if (!from_stdin) {
    file.open(options.input, std::ios::binary);
    if (!file) {
      std::fprintf(stderr, "inkrec: cannot read %s\n", options.input.c_str());
      return 1;
    }
  }
  EngineSession session;
  if (!start_session(session, data_file_path(options), options.charsets, &error)) {
    std::fprintf(stderr, "inkrec: %s\n", error.c_str());
    return 1;
  }
  const std::string name = from_stdin ? "<stdin>" : options.input;
  return recognize_stream(from_stdin ? std::cin : file, name, options, session) ? 0 : 1;
}

}  // namespace inkrec::tool
