// inkrec eval: recognises every sample of a labelled file and prints the
// accuracy, the time per sample and the most frequent confusions.
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "tools/inkrec/engine_session.h"
#include "tools/inkrec/evaluation.h"
#include "tools/inkrec/ink_file.h"
#include "tools/inkrec/options.h"
#include "tools/inkrec/progress_bar.h"
#include "tools/inkrec/recognition_commands.h"
#include "tools/inkrec/usage.h"

namespace inkrec::tool {
namespace {

constexpr std::size_t kShownConfusions = 20;

double share(std::size_t part, std::size_t whole) {
  return whole == 0 ? 0.0 : 100.0 * static_cast<double>(part) / static_cast<double>(whole);
}

std::string shown(const std::u32string& text) {
  return text.empty() ? "(nothing)" : "\"" + utf32_to_utf8(text) + "\"";
}

void print_report(const EvaluationReport& report) {
  std::printf("samples: %zu\n", report.samples);
  std::printf("first answer right: %.1f%% (%zu)\n", share(report.first_right, report.samples),
              report.first_right);
  std::printf("right among the first five: %.1f%% (%zu)\n",
              share(report.top_five_right, report.samples), report.top_five_right);
  if (report.character_samples > 0) {
    std::printf("characters read in either case (of %zu): first answer %.1f%% (%zu), among the "
                "first five %.1f%% (%zu)\n",
                report.character_samples,
                share(report.first_right_any_case, report.character_samples),
                report.first_right_any_case,
                share(report.top_five_right_any_case, report.character_samples),
                report.top_five_right_any_case);
  }
  std::printf("time per sample: mean %.3f ms, 95th percentile %.3f ms\n",
              report.mean_microseconds / 1000, report.p95_microseconds / 1000);
  if (report.text_samples > 0) {
    std::printf("character error rate of the %zu words and lines: %.1f%% (%zu of %zu)\n",
                report.text_samples, share(report.character_edits, report.label_characters),
                report.character_edits, report.label_characters);
  }
  if (report.confusions.empty()) return;
  std::printf("most frequent confusions (expected, read, times):\n");
  for (const Confusion& confusion : report.confusions) {
    std::printf("  %s  %s  %zu\n", shown(confusion.expected).c_str(), shown(confusion.read).c_str(),
                confusion.count);
  }
}

// Keeps the labelled samples; reports the others and the lines that could
// not be read. False when any line was left out.
bool labelled_samples(const std::string& name, std::istream& in, std::vector<InkSample>* samples) {
  std::vector<InkSample> read;
  std::vector<InkError> errors;
  read_ink(in, &read, &errors);
  for (const InkError& error : errors) {
    std::fprintf(stderr, "%s:%ld: %s\n", name.c_str(), error.line, error.message.c_str());
  }
  bool all_labelled = errors.empty();
  for (InkSample& sample : read) {
    if (sample.labelled && !sample.label.empty()) {
      samples->push_back(std::move(sample));
      continue;
    }
    std::fprintf(stderr, "%s:%ld: a sample without a label, left out\n", name.c_str(), sample.line);
    all_labelled = false;
  }
  return all_labelled;
}

// Recognises the samples into the evaluation; false when any failed.
bool evaluate(const std::string& name, const std::vector<InkSample>& samples, RequestChoice request,
              EngineSession& session, Evaluation* evaluation) {
  bool all_recognised = true;
  ProgressBar progress("recognising", samples.size());
  for (const InkSample& sample : samples) {
    const Recognition recognition = session.recognize(sample.strokes, request);
    if (recognition.status != 0) {
      std::fprintf(stderr, "%s:%ld: not recognised: %s\n", name.c_str(), sample.line,
                   status_text(recognition.status).c_str());
      all_recognised = false;
    }
    const std::vector<std::u16string> answers = sample_alternatives(recognition);
    evaluation->add(utf8_to_utf32(sample.label), answers, recognition.microseconds);
    progress.step();
  }
  return all_recognised;
}

}  // namespace

int run_eval(std::span<char* const> args) {
  RecognitionOptions options;
  std::string error;
  if (!parse_recognition_options(args, false, &options, &error)) return usage_error("eval", error);
  if (options.input.empty()) return usage_error("eval", "a labelled ink file is needed");
  std::ifstream file(options.input, std::ios::binary);
  if (!file) {
    std::fprintf(stderr, "inkrec: cannot read %s\n", options.input.c_str());
    return 1;
  }
  std::vector<InkSample> samples;
  const bool all_labelled = labelled_samples(options.input, file, &samples);
  EngineSession session;
  if (!start_session(session, data_file_path(options), options.charsets, &error)) {
    std::fprintf(stderr, "inkrec: %s\n", error.c_str());
    return 1;
  }
  Evaluation evaluation;
  const bool all_recognised = evaluate(options.input, samples, options.request, session, &evaluation);
  print_report(evaluation.report(kShownConfusions));
  return all_labelled && all_recognised ? 0 : 1;
}

}  // namespace inkrec::tool
