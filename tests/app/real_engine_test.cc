// The engine client on the real engine, where the build has it.
#ifdef INKREC_SHARED_LIBRARY

#include <unistd.h>

#include <gtest/gtest.h>

#include <fstream>
#include <optional>

#include "app/shell/ccore.h"
#include "tests/app/engine_client_support.h"

namespace ductra {
namespace {

// A data file with no records: the header and the end chunk.
void write_empty_data_file(const std::filesystem::path& path) {
  const unsigned char bytes[] = {'g',  's',  't',  0, 0x03, 0x01, 0, 0, 0xFF, 0xFF, 0, 0,
                                 0,    0,    0,    0, 0,    0,    0, 0, 0xFF, 0xFF, 0xFF, 0xFF};
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes), sizeof bytes);
}

class RealEngineTest : public ::testing::Test {
 protected:
  RealEngineTest() {
    std::string error;
    library_ = EngineLibrary::open(INKREC_SHARED_LIBRARY, &error);
    if (!library_) throw std::runtime_error(error);
    engine_ = std::make_unique<Engine>(*library_);
    root_ = std::filesystem::temp_directory_path() / ("ductra_real_engine_" + std::to_string(getpid()));
    std::filesystem::create_directories(root_);
  }
  ~RealEngineTest() override {
    core_.reset();
    std::filesystem::remove_all(root_);
  }

  void start(const std::filesystem::path& data_file) {
    core_.emplace(*engine_, shell_, CoreFiles{data_file, root_ / "rec_param.txt"});
  }

  std::unique_ptr<EngineLibrary> library_;
  std::unique_ptr<Engine> engine_;
  std::filesystem::path root_;
  testing::TestShell shell_;
  std::optional<CCore> core_;
};

TEST_F(RealEngineTest, StartsOnADataFileAndRecognisesInkWithoutError) {
  write_empty_data_file(root_ / "qlmain.dt");
  start(root_ / "qlmain.dt");
  ASSERT_TRUE(core_->has_engine());
  char version[16] = {};
  EXPECT_EQ(engine_->version(version, sizeof version), 462);
  EXPECT_STREQ(version, "9.0.462.11806");
  std::uint32_t charsets = 99;
  EXPECT_EQ(engine_->char_set_count(&charsets), 0);
  EXPECT_EQ(charsets, 0u);
  const std::uint32_t unknown[] = {5, 39};
  EXPECT_EQ(engine_->set_active_charsets(unknown), 0) << "unknown ids are left out, not refused";
  std::vector<std::uint32_t> active;
  EXPECT_EQ(engine_->active_charsets(&active), 0);
  EXPECT_TRUE(active.empty());

  core_->set_params(3, true, true, false);
  ASSERT_TRUE(core_->take_semaphore());
  const std::vector<InkPoint> stroke = {{0, 0}, {40, 40}, {80, 0}, {120, 40}};
  const InkStrokeView views[] = {stroke, stroke};
  EXPECT_EQ(core_->add_strokes(views, 1), InkOutcome::added);
  core_->request();
  ASSERT_TRUE(core_->take_semaphore()) << "the engine thread gives the semaphore back when done";
  auto lock = shell_.lock();
  EXPECT_EQ(shell_.recognized, 1);
  EXPECT_TRUE(shell_.engine_errors.empty());
  EXPECT_TRUE(shell_.start_failures.empty());
}

TEST_F(RealEngineTest, AMissingDataFileIsSaidAtStartUpWithTheEnginesMessage) {
  start(root_ / "absent" / "qlmain.dt");
  EXPECT_FALSE(core_->has_engine());
  std::uint32_t charsets = 0;
  EXPECT_EQ(engine_->char_set_count(&charsets), 4001) << "the engine was freed again";
  auto lock = shell_.lock();
  ASSERT_EQ(shell_.start_failures.size(), 1u);
  EXPECT_EQ(shell_.start_failures[0].data_file, root_ / "absent" / "qlmain.dt");
  EXPECT_NE(shell_.start_failures[0].status, 0);
  EXPECT_FALSE(shell_.start_failures[0].message.empty());
}

TEST_F(RealEngineTest, AnUnreadableDataFileIsSaidAtStartUp) {
  std::ofstream(root_ / "qlmain.dt") << "not a data file";
  start(root_ / "qlmain.dt");
  EXPECT_FALSE(core_->has_engine());
  auto lock = shell_.lock();
  ASSERT_EQ(shell_.start_failures.size(), 1u);
  EXPECT_NE(shell_.start_failures[0].status, 0);
}

}  // namespace
}  // namespace ductra

#endif  // INKREC_SHARED_LIBRARY
