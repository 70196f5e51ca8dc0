// Runs scripts/unipen-recipe over the UNIPEN-like tree a test wrote into
// `dir` (its writers in dir/writers.txt), writing the recipe into dir/OUT
// and the script's output into dir/OUT.log: the script's exit status, 0
// when it succeeded. For the tools' tests, which know where the scripts are.
#pragma once

#include <cstdlib>
#include <string>

#include "tests/support/temp_dir.h"

namespace inkrec::testing {

inline int run_unipen_recipe(const TempDir& dir, const std::string& out, const std::string& options = "") {
  const std::string command = std::string("python3 ") + INKREC_SCRIPTS + "/unipen-recipe " + options +
                              dir.path().string() + " " + dir.file("writers.txt") + " " + dir.file(out) +
                              " > " + dir.file(out + ".log") + " 2>&1";
  return std::system(command.c_str());
}

}  // namespace inkrec::testing
