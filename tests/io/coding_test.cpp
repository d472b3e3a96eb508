#include "io/coding.h"

#include <gtest/gtest.h>

namespace {

TEST(CodingTest, PinsLittleEndianBytes) {
  unsigned char buf[4];
  urduspell::EncodeFixed32(buf, 0x04030201u);
  EXPECT_EQ(buf[0], 0x01);
  EXPECT_EQ(buf[1], 0x02);
  EXPECT_EQ(buf[2], 0x03);
  EXPECT_EQ(buf[3], 0x04);
  EXPECT_EQ(urduspell::DecodeFixed32(buf), 0x04030201u);

  urduspell::EncodeFixed16(buf, 0xFEFF);
  EXPECT_EQ(buf[0], 0xFF);
  EXPECT_EQ(buf[1], 0xFE);
  EXPECT_EQ(urduspell::DecodeFixed16(buf), 0xFEFF);

  urduspell::EncodeFixed32(buf, static_cast<std::uint32_t>(-2));
  EXPECT_EQ(urduspell::DecodeSigned32(buf), -2);
}

}  // namespace
