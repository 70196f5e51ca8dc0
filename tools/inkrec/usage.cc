#include "tools/inkrec/usage.h"

#include <string>

namespace inkrec::tool {
namespace {

struct CommandUsage {
  std::string_view name;
  std::string_view synopsis;
  std::string_view description;
};

constexpr std::string_view kRecognitionOptions =
    "  --charsets IDS   the charsets to read, ids separated by commas (default: all of the data)\n"
    "  --data DIR       the folder of the data file qlmain.dt (default: the installed data)\n"
    "  --words on|off   check readings against the word lists (default: on)\n"
    "  --joined on|off  read joined (cursive) writing: split strokes into letters and the\n"
    "                   links between them, as the application's joined mode (default: off)\n";

constexpr CommandUsage kCommands[] = {
    {"recognize", "inkrec recognize [INK] [--charsets IDS] [--data DIR] [--words on|off] [--joined on|off] [--json]",
     "Recognises each sample of the ink file INK (standard input when INK is - or absent) and\n"
     "prints its text and the readings of each letter or word, best first. A sample is a line,\n"
     "label<TAB>writer<TAB>strokes or the strokes alone; strokes are separated by ';', points\n"
     "by blanks, a point is x,y. A line that cannot be read is reported with its number.\n"
     "  --json           one JSON object a sample\n"},
    {"eval", "inkrec eval LABELLED [--charsets IDS] [--data DIR] [--words on|off] [--joined on|off]",
     "Recognises every sample of a labelled ink file and prints the share read right at first\n"
     "and among the first five readings, the mean and 95th-percentile time per sample and the\n"
     "twenty most frequent confusions. A one-character label is judged by the first character\n"
     "read, a longer one by the whole text, which also gives the character error rate.\n"},
    {"version", "inkrec version", "Prints the engine's version text.\n"},
    {"error", "inkrec error CODE", "Prints the message of a status code.\n"},
    {"wordlist", "inkrec wordlist build [--levels|--counts] WORDS.txt OUT.wlb",
     "Builds a word list from a plain UTF-8 list, one word a line, optionally followed by\n"
     "blanks and a frequency. Each word is stored with a level, 0 (rare) to 18 (frequent):\n"
     "from the frequencies on a log scale from the least frequent word (0) to the most\n"
     "frequent (18), or 12 for every word when no line has a frequency.\n"
     "  --levels   the number after each word is its level, 0 to 18\n"
     "  --counts   the number after each word is how often it occurs in a corpus of some\n"
     "             50 million words: six levels a decade, level 9 at 1000, 18 from about\n"
     "             26 100, 0 below 39 and for a word without a count\n"},
    {"db",
     "inkrec db build RECIPE OUT.dt\n"
     "       inkrec db measure DB.dt WRITERS SAMPLES...\n"
     "       inkrec db joined-letters DB.dt WORDS OUT",
     "build: builds a recognition database from a recipe. measure: the share of held-out\n"
     "writers' characters whose nearest etalon in the database names them. joined-letters:\n"
     "the letters of the labelled words of WORDS as the split of joined writing cuts them,\n"
     "aligned to their labels, one a line (letter, writer, strokes) into OUT.\n"},
};

const CommandUsage* find_command(std::string_view name) {
  for (const CommandUsage& command : kCommands) {
    if (command.name == name) return &command;
  }
  return nullptr;
}

bool has_options(std::string_view name) { return name == "recognize" || name == "eval"; }

}  // namespace

void print_usage(std::FILE* out) {
  std::string text;
  for (const CommandUsage& command : kCommands) {
    text += (text.empty() ? "usage: " : "       ") + std::string(command.synopsis) + "\n";
  }
  text += "       inkrec [COMMAND] --help\n";
  std::fputs(text.c_str(), out);
}

bool print_command_usage(std::string_view name, std::FILE* out) {
  const CommandUsage* command = find_command(name);
  if (command == nullptr) return false;
  std::string text = "usage: " + std::string(command->synopsis) + "\n\n" +
                     std::string(command->description);
  if (has_options(name)) text += kRecognitionOptions;
  std::fputs(text.c_str(), out);
  return true;
}

int usage_error(std::string_view command, std::string_view problem) {
  std::fprintf(stderr, "inkrec %.*s: %.*s\n", static_cast<int>(command.size()), command.data(),
               static_cast<int>(problem.size()), problem.data());
  if (!print_command_usage(command, stderr)) print_usage(stderr);
  return 2;
}

}  // namespace inkrec::tool
