#include "engine/database/property_flags.h"

#include <gtest/gtest.h>

namespace inkrec {
namespace {

using Reader = int (PropertyFlags::*)() const;
using Writer = void (PropertyFlags::*)(int);

struct Accessor {
  Reader read;
  Writer write;
};

const Accessor kAccessors[24] = {
    {&PropertyFlags::bit0, &PropertyFlags::set_bit0},
    {&PropertyFlags::bit1, &PropertyFlags::set_bit1},
    {&PropertyFlags::bit2, &PropertyFlags::set_bit2},
    {&PropertyFlags::bit3, &PropertyFlags::set_bit3},
    {&PropertyFlags::bit4, &PropertyFlags::set_bit4},
    {&PropertyFlags::bit5, &PropertyFlags::set_bit5},
    {&PropertyFlags::bit6, &PropertyFlags::set_bit6},
    {&PropertyFlags::bit7, &PropertyFlags::set_bit7},
    {&PropertyFlags::bit8, &PropertyFlags::set_bit8},
    {&PropertyFlags::bit9, &PropertyFlags::set_bit9},
    {&PropertyFlags::bit10, &PropertyFlags::set_bit10},
    {&PropertyFlags::bit11, &PropertyFlags::set_bit11},
    {&PropertyFlags::bit12, &PropertyFlags::set_bit12},
    {&PropertyFlags::bit13, &PropertyFlags::set_bit13},
    {&PropertyFlags::bit14, &PropertyFlags::set_bit14},
    {&PropertyFlags::bit15, &PropertyFlags::set_bit15},
    {&PropertyFlags::bit16, &PropertyFlags::set_bit16},
    {&PropertyFlags::bit17, &PropertyFlags::set_bit17},
    {&PropertyFlags::bit18, &PropertyFlags::set_bit18},
    {&PropertyFlags::bit19, &PropertyFlags::set_bit19},
    {&PropertyFlags::bit20, &PropertyFlags::set_bit20},
    {&PropertyFlags::bit21, &PropertyFlags::set_bit21},
    {&PropertyFlags::bit22, &PropertyFlags::set_bit22},
    {&PropertyFlags::bit23, &PropertyFlags::set_bit23},
};

TEST(PropertyFlagsTest, EachAccessorOwnsItsBit) {
  for (int k = 0; k < 24; ++k) {
    PropertyFlags flags(0xA5A5A5A5);
    const std::uint32_t before = flags.value();
    (flags.*kAccessors[k].write)(2);  // any non-zero argument sets
    EXPECT_EQ(flags.value(), before | 1u << k) << k;
    EXPECT_EQ((flags.*kAccessors[k].read)(), 1) << k;
    (flags.*kAccessors[k].write)(0);
    EXPECT_EQ(flags.value(), before & ~(1u << k)) << k;
    EXPECT_EQ((flags.*kAccessors[k].read)(), 0) << k;
  }
}

TEST(PropertyFlagsTest, WholeWordOperations) {
  PropertyFlags flags;
  EXPECT_TRUE(flags.is_empty());
  flags.assign(255);
  flags.set_mask(3, 0);
  EXPECT_EQ(flags.value(), 252u);
  flags.set_mask(0x300, -1);
  EXPECT_EQ(flags.value(), 0x3FCu);
  EXPECT_TRUE(flags.any(0x100));
  EXPECT_FALSE(flags.any(0x3));
  flags.clear();
  EXPECT_EQ(flags.value(), 0u);

  const PropertyFlags top_bit(0x80000000);
  EXPECT_FALSE(top_bit.is_empty());
  const PropertyFlags high(0xFF800000);
  EXPECT_EQ(high.bit23(), 1);
  EXPECT_EQ(high.bit22(), 0);
}

}  // namespace
}  // namespace inkrec
