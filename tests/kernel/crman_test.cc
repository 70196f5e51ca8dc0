#include "engine/kernel/crman.h"
#include "engine/kernel/startup.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/foundation/status.h"
#include "inkrec/inkrec.h"
#include "tests/support/data_file.h"

namespace inkrec {
namespace {

using testing::TempDir;

class CrManTest : public ::testing::Test {
 protected:
  void SetUp() override {
    data_path_ = dir_.wide_file("qlmain.dt");
    testing::write_empty_data_file(dir_.file("qlmain.dt"));
  }
  void TearDown() override { crFreeCrMan(); }

  int init(int mode = 0) {
    return crInitCrMan(data_path_.c_str(), mode, nullptr, nullptr, nullptr, nullptr, nullptr);
  }

  TempDir dir_;
  std::u16string data_path_;
};

TEST_F(CrManTest, CreateKernelBeforeStartUpNeedsTheDatabase) {
  std::uint32_t id = 77;
  EXPECT_EQ(crmCreateKernel(&id), kNoDataStore);
  EXPECT_EQ(id, 77u);
  EXPECT_NE(crman_if_exists(), nullptr);  // an empty manager is left behind
  EXPECT_EQ(crmGetCountKernels(), 0);
}

TEST_F(CrManTest, StartUpCreatesActiveKernelInSlotZero) {
  ASSERT_EQ(init(), kOk);
  EXPECT_EQ(crmGetCountKernels(), 1);
  void* kernel = nullptr;
  EXPECT_EQ(crmGetCore(&kernel), kOk);
  void* by_id = nullptr;
  EXPECT_EQ(crmGetCore_ID(0, &by_id), kOk);
  EXPECT_EQ(kernel, by_id);
  EXPECT_EQ(init(), kKernelsExist);
}

TEST_F(CrManTest, DeletingActiveKernelActivatesFirstRemainingAndSlotsAreReused) {
  ASSERT_EQ(init(), kOk);
  std::uint32_t id = 0;
  ASSERT_EQ(crmCreateKernel(&id), kOk);
  EXPECT_EQ(id, 1u);
  void* second = nullptr;
  crmGetCore_ID(1, &second);
  ASSERT_EQ(crmSetActiveKernel(0), kOk);
  ASSERT_EQ(crmDeleteKernel(0), kOk);
  void* active = nullptr;
  EXPECT_EQ(crmGetCore(&active), kOk);
  EXPECT_EQ(active, second);
  EXPECT_EQ(crmDeleteKernel(0), kKernelAlreadyDeleted);
  EXPECT_EQ(crmDeleteKernel(2), kBadKernelId);
  EXPECT_EQ(crmSetActiveKernel(0), kKernelAlreadyDeleted);
  void* untouched = &id;
  EXPECT_EQ(crmGetCore_ID(0, &untouched), kKernelAlreadyDeleted);
  EXPECT_EQ(untouched, &id);

  ASSERT_EQ(crmCreateKernel(&id), kOk);
  EXPECT_EQ(id, 0u);
  crmGetCore(&active);
  void* reused = nullptr;
  crmGetCore_ID(0, &reused);
  EXPECT_EQ(active, reused);
  EXPECT_EQ(crmGetCountKernels(), 2);
}

TEST_F(CrManTest, DeletingLastKernelLeavesNoActiveKernel) {
  ASSERT_EQ(init(), kOk);
  ASSERT_EQ(crmDeleteKernel(0), kOk);
  void* active = &active;
  EXPECT_EQ(crmGetCore(&active), kBadArgument);
  EXPECT_EQ(active, nullptr);
  EXPECT_EQ(init(), kOk);  // no kernels: start-up may run again
}

TEST_F(CrManTest, UnknownModeBuildsNothing) {
  EXPECT_EQ(init(7), kBadDataMode);
  EXPECT_EQ(init(-1), kBadDataMode);
  ASSERT_NE(crman_if_exists(), nullptr);
  EXPECT_EQ(crman_if_exists()->data_store(), nullptr);
}

TEST_F(CrManTest, MissingDataFileLeavesManagerAsItWas) {
  const std::u16string missing = dir_.wide_file("absent.dt");
  EXPECT_EQ(crInitCrMan(missing.c_str(), 0, nullptr, nullptr, nullptr, nullptr, nullptr),
            kDataFileOpen);
  EXPECT_EQ(crman_if_exists()->data_store(), nullptr);
  EXPECT_EQ(crmGetCountKernels(), 0);
}

TEST_F(CrManTest, StartUpWithoutKernelTwiceReplacesTheDatabase) {
  ASSERT_EQ(crInitCrMan_NoKernel(data_path_.c_str(), 1, nullptr, nullptr, nullptr, nullptr), kOk);
  const DataStore* first = crman_if_exists()->data_store();
  ASSERT_NE(first, nullptr);
  ASSERT_EQ(crmInitCrMan_NoKernel(data_path_.c_str(), 1, nullptr, nullptr, nullptr, nullptr), kOk);
  EXPECT_NE(crman_if_exists()->data_store(), nullptr);
  EXPECT_EQ(crmGetCountKernels(), 0);
}

TEST_F(CrManTest, UserVariantFileSitsBesideTheDataUnlessGiven) {
  ASSERT_EQ(init(), kOk);
  EXPECT_EQ(crman_if_exists()->user_variant_file()->path(), dir_.wide_file("user.txt"));
  crFreeCrMan();
  const std::u16string own = dir_.wide_file("mine.txt");
  ASSERT_EQ(crmInitCrMan(data_path_.c_str(), 0, nullptr, nullptr, nullptr, nullptr, own.c_str()), kOk);
  EXPECT_EQ(crman_if_exists()->user_variant_file()->path(), own);
}

TEST_F(CrManTest, FreeDestroysEverythingAndAFreshManagerFollows) {
  ASSERT_EQ(init(), kOk);
  EXPECT_EQ(crFreeCrMan(), kOk);
  EXPECT_EQ(crman_if_exists(), nullptr);
  EXPECT_EQ(crFreeCrMan(), kOk);
  EXPECT_EQ(crmGetCountKernels(), 0);
  EXPECT_NE(crman_if_exists(), nullptr);
}

TEST_F(CrManTest, OutOfMemoryWhileCreatingKernelChangesNothing) {
  ASSERT_EQ(init(), kOk);
  std::uint32_t id = 9;
  {
    AllocationFailureScope fail;
    EXPECT_EQ(crmCreateKernel(&id), kOutOfMemory);
  }
  EXPECT_EQ(id, 9u);
  EXPECT_EQ(crmGetCountKernels(), 1);
}

TEST(DataModeTest, MapsModesToAccessAndKind) {
  const int expected[][2] = {{1, 0}, {0, 0}, {1, 1}, {0, 1}, {2, 0}, {1, 3}, {0, 3}};
  for (int mode = 0; mode < 7; ++mode) {
    DataMode data{};
    ASSERT_TRUE(data_mode(mode, &data));
    EXPECT_EQ(data.access_class, expected[mode][0]);
    EXPECT_EQ(data.store_kind, expected[mode][1]);
  }
  DataMode data{};
  EXPECT_FALSE(data_mode(7, &data));
}

}  // namespace
}  // namespace inkrec
