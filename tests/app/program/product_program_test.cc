// The program Ductra as a person or the component starts it, where the
// build has it (not in the ThreadSanitizer build, which has no engine).
#ifdef DUCTRA_PROGRAM

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace ductra {
namespace {

TEST(ProductProgramTest, WithoutARunningDeviceItSaysSoAndEndsWithCodeOne) {
  std::string pattern = (std::filesystem::temp_directory_path() / "ductra-program-XXXXXX").string();
  const std::filesystem::path root = ::mkdtemp(pattern.data());
  const std::filesystem::path errors = root / "stderr.txt";
  const std::string command = "DUCTRA_DEVICE_ROOT='" + root.string() + "' '" + DUCTRA_PROGRAM + "' start 2> '" +
                              errors.string() + "'";
  const int status = std::system(command.c_str());
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 1);
  std::stringstream text;
  text << std::ifstream(errors).rdbuf();
  EXPECT_NE(text.str().find("no device runs at " + root.string()), std::string::npos) << text.str();
  std::filesystem::remove_all(root);
}

}  // namespace
}  // namespace ductra

#endif  // DUCTRA_PROGRAM
