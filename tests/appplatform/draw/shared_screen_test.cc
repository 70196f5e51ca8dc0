// The device's screen in shared memory: what the device draws the
// application's process sees and the other way round, and a screen that is
// missing or damaged is reported without touching a pixel.
#include "appplatform/draw/shared_screen.h"

#include <gtest/gtest.h>

#include <cstring>

#include "appplatform/shared_memory.h"
#include "tests/appplatform/device_fixture.h"

namespace ductra::platform {
namespace {

using testing::DeviceFixture;

class SharedScreenTest : public DeviceFixture {};

TEST_F(SharedScreenTest, BothSidesDrawOnTheSamePixels) {
  std::shared_ptr<Bitmap> device;
  ASSERT_EQ(create_shared_screen(runtime(), 241, 320, &device), Status::ok);
  std::shared_ptr<Bitmap> application;
  ASSERT_EQ(open_shared_screen(runtime(), &application), Status::ok);
  ASSERT_EQ(application->width(), 241);
  ASSERT_EQ(application->height(), 320);
  EXPECT_EQ(application->stride_bytes(), 484);  // rows padded to four bytes

  application->set_color(240, 319, rgb(255, 0, 0));
  device->set_color(0, 0, rgb(0, 0, 255));
  EXPECT_EQ(device->color_at(240, 319), rgb(255, 0, 0));
  EXPECT_EQ(application->color_at(0, 0), rgb(0, 0, 255));

  // The mapping lives as long as a bitmap on it does.
  device.reset();
  EXPECT_EQ(application->color_at(240, 319), rgb(255, 0, 0));
}

TEST_F(SharedScreenTest, ASecondDeviceScreenAndImpossibleSidesAreRefused) {
  std::shared_ptr<Bitmap> first, second;
  ASSERT_EQ(create_shared_screen(runtime(), 240, 320, &first), Status::ok);
  EXPECT_EQ(create_shared_screen(runtime(), 240, 320, &second), Status::already_exists);
  EXPECT_EQ(second, nullptr);
  first.reset();
  for (const auto& [width, height] : {std::pair{0, 320}, {240, 0}, {1024, 320}, {240, 1024}}) {
    EXPECT_EQ(create_shared_screen(runtime(), width, height, &second), Status::invalid_argument) << width << "x" << height;
  }
  EXPECT_EQ(create_shared_screen(runtime(), 1023, 1023, &second), Status::ok);
}

TEST_F(SharedScreenTest, WithoutADeviceScreenNothingIsOpenedOrLeftBehind) {
  std::shared_ptr<Bitmap> screen;
  EXPECT_EQ(open_shared_screen(runtime(), &screen), Status::not_found);
  EXPECT_EQ(screen, nullptr);
  EXPECT_FALSE(std::filesystem::exists(runtime().object_path("shm", u"screen")));
}

TEST_F(SharedScreenTest, ADamagedHeaderIsReportedAsCorrupt) {
  const ScreenHeader damaged[] = {
      {0, 240, 320, 480},                       // no magic
      {kScreenMagic, 0, 320, 480},              // no width
      {kScreenMagic, 240, 5000, 480},           // too tall
      {kScreenMagic, 240, 320, 100},            // rows shorter than the width
      {kScreenMagic, 240, 320, 0xFFFFFFF0u},    // rows far apart
  };
  for (const ScreenHeader& header : damaged) {
    SharedMemory block;
    ASSERT_EQ(SharedMemory::open(runtime(), u"screen", sizeof header, &block), Status::ok);
    std::memcpy(block.bytes().data(), &header, sizeof header);
    std::shared_ptr<Bitmap> screen;
    EXPECT_EQ(open_shared_screen(runtime(), &screen), Status::corrupt)
        << header.magic << " " << header.width << "x" << header.height << " / " << header.stride_bytes;
    EXPECT_EQ(screen, nullptr);
  }
}

}  // namespace
}  // namespace ductra::platform
