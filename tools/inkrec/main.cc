// inkrec: the engine's command-line tool.
//
//   inkrec recognize [INK] [options]        recognises ink, sample by sample
//   inkrec eval LABELLED [options]          measures the recognition on
//                                           labelled ink
//   inkrec version                          prints the engine's version text
//   inkrec error CODE                       prints the message of a status code
//   inkrec wordlist build [--levels|--counts] WORDS.txt OUT.wlb
//                                           builds a word list from a plain
//                                           UTF-8 list, one word a line,
//                                           optionally with a frequency (or,
//                                           with --levels, with its level;
//                                           with --counts, with its count)
//   inkrec db build RECIPE OUT.dt           builds a recognition database
//                                           from a recipe (see recipe.h)
//   inkrec db measure DB.dt WRITERS SAMPLES...
//                                           the nearest-etalon accuracy of a
//                                           database on held-out writers
//                                           (see held_out_measure.h)
//   inkrec db joined-letters DB.dt WORDS OUT
//                                           the letters of labelled words as
//                                           the split of joined writing cuts
//                                           them (see joined_letters.h)
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/database/word_list_builder.h"
#include "engine/foundation/utf.h"
#include "inkrec/inkrec.h"
#include "tools/inkrec/database_builder.h"
#include "tools/inkrec/held_out_measure.h"
#include "tools/inkrec/joined_letters.h"
#include "tools/inkrec/recipe.h"
#include "tools/inkrec/recognition_commands.h"
#include "tools/inkrec/usage.h"

namespace {

int usage() {
  inkrec::tool::print_usage(stderr);
  return 2;
}

bool is_help(std::string_view arg) { return arg == "--help" || arg == "-h"; }

// `inkrec --help` and `inkrec COMMAND ... --help`.
int help(const char* command) {
  if (is_help(command)) {
    inkrec::tool::print_usage(stdout);
    return 0;
  }
  return inkrec::tool::print_command_usage(command, stdout) ? 0 : usage();
}

bool asks_for_help(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (is_help(argv[i])) return true;
  }
  return false;
}

int print_version() {
  char text[64];
  const int build = crmGetVersion(text, sizeof text);
  std::printf("inkrec %s (build %d)\n", text, build);
  return 0;
}

int print_error(const char* argument) {
  char* end = nullptr;
  errno = 0;
  const long code = std::strtol(argument, &end, 10);
  if (errno != 0 || end == argument || *end != '\0' || code < INT32_MIN || code > INT32_MAX) {
    std::fprintf(stderr, "inkrec: not a status code: %s\n", argument);
    return 2;
  }
  char16_t text[256];
  const int status = crReturnErrText(static_cast<int>(code), text);
  if (status != 0) {
    std::fprintf(stderr, "inkrec: no message for %ld (status %d)\n", code, status);
    return 1;
  }
  std::printf("%s\n", inkrec::utf16_to_utf8(inkrec::wide_view(text)).c_str());
  return 0;
}

const char* word_fault_text(inkrec::WordFault fault) {
  switch (fault) {
    case inkrec::WordFault::kNone:
      break;
    case inkrec::WordFault::kLength:
      return "a word must have 1 to 100 UTF-16 units";
    case inkrec::WordFault::kControlUnit:
      return "control characters cannot stand in a word";
    case inkrec::WordFault::kLeadingDigit:
      return "a word cannot begin with the digits 1 to 5";
  }
  return "";
}

// Why a line of a list of the given column cannot stand in it, or null.
const char* line_fault_text(inkrec::WordListLine kind, const inkrec::WordListEntry& entry,
                            inkrec::WordListColumn column) {
  const bool levels = column == inkrec::WordListColumn::kLevel;
  if (kind == inkrec::WordListLine::kMalformed) {
    switch (column) {
      case inkrec::WordListColumn::kLevel:
        return "not a word and a level";
      case inkrec::WordListColumn::kCount:
        return "not a word and a count";
      case inkrec::WordListColumn::kFrequency:
        break;
    }
    return "not a word and a frequency";
  }
  if (levels && !entry.numbered) return "a word without its level";
  if (levels && entry.frequency > inkrec::kMaxWordLevel) return "a level must be 0 to 18";
  const inkrec::WordFault fault = inkrec::check_list_word(entry.word);
  return fault == inkrec::WordFault::kNone ? nullptr : word_fault_text(fault);
}

// Reads the plain list; a refused line is reported and left out.
bool read_word_list(const char* path, inkrec::WordListColumn column,
                    std::vector<inkrec::WordListEntry>* words) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "inkrec: cannot read %s\n", path);
    return false;
  }
  std::set<std::u16string> seen;
  std::string line;
  for (long number = 1; std::getline(in, line); ++number) {
    if (number == 1 && line.starts_with("\xEF\xBB\xBF")) line.erase(0, 3);
    inkrec::WordListEntry entry;
    const inkrec::WordListLine kind = inkrec::parse_word_list_line(line, &entry);
    if (kind == inkrec::WordListLine::kEmpty) continue;
    if (const char* fault = line_fault_text(kind, entry, column); fault != nullptr) {
      std::fprintf(stderr, "%s:%ld: %s, left out\n", path, number, fault);
      continue;
    }
    if (!seen.insert(entry.word).second) {
      std::fprintf(stderr, "%s:%ld: a repeated word, left out\n", path, number);
      continue;
    }
    words->push_back(std::move(entry));
  }
  return true;
}

int build_word_list(const char* words_path, const char* out_path, inkrec::WordListColumn column) {
  std::vector<inkrec::WordListEntry> words;
  if (!read_word_list(words_path, column, &words)) return 1;
  std::vector<std::uint8_t> image;
  if (const int status = inkrec::build_word_list(words, &image, column); status != 0) {
    std::fprintf(stderr, "inkrec: cannot build the word list (status %d)\n", status);
    return 1;
  }
  if (const int status = inkrec::write_word_list(out_path, image); status != 0) {
    std::fprintf(stderr, "inkrec: cannot write %s (status %d)\n", out_path, status);
    return 1;
  }
  std::printf("%s: %zu words, %zu bytes\n", out_path, words.size(), image.size());
  return 0;
}

int build_database(const char* recipe_path, const char* out_path) {
  inkrec::tool::Recipe recipe;
  std::string error;
  if (!inkrec::tool::read_recipe(recipe_path, &recipe, &error) ||
      !inkrec::tool::build_database(recipe, out_path, &error)) {
    std::fprintf(stderr, "inkrec: %s\n", error.c_str());
    return 1;
  }
  std::printf("%s: %zu charsets, %zu symbols, %zu shapes, %zu variants, %zu complex variants\n",
              out_path, recipe.charsets.size(), recipe.symbs.size(), recipe.shapes.size(),
              recipe.variants.size(), recipe.complex_variants.size());
  return 0;
}

double percent(int part, int whole) { return whole == 0 ? 0.0 : 100.0 * part / whole; }

int measure_database(int argc, char** argv) {
  const std::vector<std::string> sample_paths(argv + 5, argv + argc);
  std::vector<inkrec::tool::HeldOutRow> rows;
  std::string error;
  if (!inkrec::tool::measure_held_out(argv[3], argv[4], sample_paths, &rows, &error)) {
    std::fprintf(stderr, "inkrec: %s\n", error.c_str());
    return 1;
  }
  std::printf("| characters | samples | first answer | top five |\n|---|---:|---:|---:|\n");
  for (const inkrec::tool::HeldOutRow& row : rows) {
    std::printf("| %s | %d | %.1f%% | %.1f%% |\n", row.name.c_str(), row.samples,
                percent(row.first, row.samples), percent(row.top_five, row.samples));
  }
  std::printf("\nLetters among both cases, the case ignored:\n\n");
  std::printf("| characters | samples | first answer | top five |\n|---|---:|---:|---:|\n");
  for (const inkrec::tool::HeldOutRow& row : rows) {
    if (!row.letters) continue;
    std::printf("| %s | %d | %.1f%% | %.1f%% |\n", row.name.c_str(), row.samples,
                percent(row.first_either_case, row.samples),
                percent(row.top_five_either_case, row.samples));
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return usage();
  if (asks_for_help(argc, argv)) return help(argv[1]);
  const std::span<char* const> rest(argv + 2, static_cast<std::size_t>(argc - 2));
  if (std::string_view(argv[1]) == "recognize") return inkrec::tool::run_recognize(rest);
  if (std::string_view(argv[1]) == "eval") return inkrec::tool::run_eval(rest);
  if (argc == 2 && std::string_view(argv[1]) == "version") return print_version();
  if (argc == 3 && std::string_view(argv[1]) == "error") return print_error(argv[2]);
  if (argc == 5 && std::string_view(argv[1]) == "wordlist" &&
      std::string_view(argv[2]) == "build") {
    return build_word_list(argv[3], argv[4], inkrec::WordListColumn::kFrequency);
  }
  if (argc == 6 && std::string_view(argv[1]) == "wordlist" &&
      std::string_view(argv[2]) == "build" && std::string_view(argv[3]) == "--levels") {
    return build_word_list(argv[4], argv[5], inkrec::WordListColumn::kLevel);
  }
  if (argc == 6 && std::string_view(argv[1]) == "wordlist" &&
      std::string_view(argv[2]) == "build" && std::string_view(argv[3]) == "--counts") {
    return build_word_list(argv[4], argv[5], inkrec::WordListColumn::kCount);
  }
  if (argc == 5 && std::string_view(argv[1]) == "db" && std::string_view(argv[2]) == "build") {
    return build_database(argv[3], argv[4]);
  }
  if (argc >= 6 && std::string_view(argv[1]) == "db" && std::string_view(argv[2]) == "measure") {
    return measure_database(argc, argv);
  }
  if (argc == 6 && std::string_view(argv[1]) == "db" &&
      std::string_view(argv[2]) == "joined-letters") {
    return inkrec::tool::run_joined_letters(argv[3], argv[4], argv[5]);
  }
  return usage();
}
