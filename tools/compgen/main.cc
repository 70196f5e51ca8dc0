// compgen: generates the constant sources of the composition tables from
// their design text, which gives the data twice: once with named shared code
// lists, once with every code spelled out. Both renderings are read and
// cross-checked; the sources are written only when they agree.
//
//   compgen NAMED_TEXT LITERAL_TEXT OUT_DIR          writes the sources
//   compgen --check NAMED_TEXT LITERAL_TEXT OUT_DIR  compares them with OUT_DIR
//
// Exits 0 on success, 1 when the texts disagree or (with --check) a source
// differs, 2 on a usage or file error.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "tools/compgen/renderings.h"
#include "tools/compgen/source_writer.h"
#include "tools/compgen/table_data.h"

namespace {

std::optional<std::string> read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

bool write_file(const std::string& path, const std::string& content) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << content;
  out.close();
  return static_cast<bool>(out);
}

int report(const std::vector<std::string>& problems) {
  for (const std::string& problem : problems) std::cerr << "compgen: " << problem << "\n";
  return problems.empty() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  const bool check = !args.empty() && args[0] == "--check";
  if (check) args.erase(args.begin());
  if (args.size() != 3) {
    std::cerr << "usage: compgen [--check] NAMED_TEXT LITERAL_TEXT OUT_DIR\n";
    return 2;
  }
  const std::optional<std::string> named_text = read_file(args[0]);
  const std::optional<std::string> literal_text = read_file(args[1]);
  if (!named_text || !literal_text) {
    std::cerr << "compgen: cannot read " << (named_text ? args[1] : args[0]) << "\n";
    return 2;
  }
  std::vector<std::string> problems;
  const compgen::NamedRendering named = compgen::parse_named(*named_text, &problems);
  const compgen::LiteralRendering literal = compgen::parse_literal(*literal_text, &problems);
  const std::optional<compgen::TableData> data = compgen::resolve(named, literal, &problems);
  if (!data) return report(problems);

  for (const auto& [name, content] : compgen::write_sources(*data)) {
    const std::string path = args[2] + "/" + name;
    if (check) {
      if (read_file(path) != content) problems.push_back(path + " differs from the design text");
    } else if (!write_file(path, content)) {
      std::cerr << "compgen: cannot write " << path << "\n";
      return 2;
    }
  }
  return report(problems);
}
