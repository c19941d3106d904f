#include "platform/byte_stream.h"

#include <gtest/gtest.h>

namespace ulk {
namespace {

TEST(ByteReaderTest, ReadsEndingExactlyAtTheEndSucceedAndOnePastFails) {
  const std::string data("\x01\x02\x03\x04\x05\x06", 6);
  ByteReader r(data);
  std::uint32_t u32 = 0;
  std::uint16_t u16 = 0;
  ASSERT_TRUE(r.U32(u32));
  EXPECT_EQ(u32, 0x04030201u);
  ASSERT_TRUE(r.U16(u16));
  EXPECT_EQ(u16, 0x0605);
  EXPECT_TRUE(r.AtEnd());
  std::uint8_t u8 = 0;
  EXPECT_FALSE(r.U8(u8));

  ByteReader s(data);
  ASSERT_TRUE(s.Skip(3));
  EXPECT_FALSE(s.U32(u32)) << "needs 4, has 3";
  EXPECT_EQ(s.Offset(), 3u) << "a failed read does not move";
  EXPECT_TRUE(s.Seek(6));
  EXPECT_FALSE(s.Seek(7));
  EXPECT_FALSE(s.Skip(1));
  EXPECT_FALSE(s.PeekU32(3, u32));
  EXPECT_TRUE(s.PeekU16(4, u16));
  EXPECT_FALSE(s.PeekU16(~std::uint64_t{0}, u16)) << "no wrap-around";
}

TEST(ByteReaderTest, StringsAndSubRanges) {
  const std::string data("A\0B\0\0\0C\0", 8);
  ByteReader r(data);
  std::u16string text;
  ASSERT_TRUE(r.Utf16z(text));
  EXPECT_EQ(text, u"AB");
  EXPECT_EQ(r.Offset(), 6u);
  EXPECT_FALSE(r.Utf16z(text)) << "no terminator before the end";
  EXPECT_EQ(r.Offset(), 6u);
  EXPECT_TRUE(text.empty());

  ByteReader odd(std::string_view("A\0B", 3));
  EXPECT_FALSE(odd.Utf16z(text)) << "half a code unit is no terminator";

  EXPECT_TRUE(ByteReader(data).Sub(4, 4).has_value());
  EXPECT_FALSE(ByteReader(data).Sub(4, 5).has_value());
  EXPECT_FALSE(ByteReader(data).Sub(9, 0).has_value());
  EXPECT_FALSE(ByteReader(data).Sub(1, ~std::uint64_t{0}).has_value());

  ByteReader a(data);
  a.Skip(5);
  EXPECT_TRUE(a.AlignTo4());
  EXPECT_EQ(a.Offset(), 8u);
  ByteReader b(std::string_view("123456", 6));
  b.Skip(5);
  EXPECT_FALSE(b.AlignTo4());
  std::u16string units;
  ByteReader c(data);
  EXPECT_TRUE(c.Utf16(4, units));
  EXPECT_FALSE(c.Utf16(1, units));
}

TEST(ByteWriterTest, WritesPatchesAndAligns) {
  ByteWriter w;
  w.U16(0);
  w.Utf16z(u"ab");
  w.AlignTo4();
  EXPECT_EQ(w.Offset(), 8u);
  w.U32(0xA1B2C3D4);
  w.PatchU16(0, static_cast<std::uint16_t>(w.Offset()));
  EXPECT_EQ(w.Data(), std::string("\x0c\0a\0b\0\0\0\xd4\xc3\xb2\xa1", 12));
  EXPECT_EQ(AlignUp(13, 4), 16u);
  EXPECT_EQ(AlignUp(16, 512), 512u);
}

}  // namespace
}  // namespace ulk
