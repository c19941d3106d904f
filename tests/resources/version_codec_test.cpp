#include "translator/resources/version_codec.h"

#include <gtest/gtest.h>

#include "platform/version_info.h"
#include "tests/test_support.h"

namespace ulk {
namespace {

using testing::Bytes;

struct Value {
  std::u16string key;
  std::u16string text;
};

// A block of key and value (text) or children; lengths patched at the end.
class Block {
 public:
  static std::string Make(std::u16string_view key, std::uint16_t type, std::string_view value,
                          std::uint16_t valueLength, const std::vector<std::string>& children) {
    Bytes b;
    b.u16(0).u16(valueLength).u16(type).text(key).align4();
    std::string out = b.str() + std::string(value);
    for (const auto& child : children) {
      while (out.size() % 4) out.push_back('\0');
      out += child;
    }
    out[0] = static_cast<char>(out.size() & 0xFF);
    out[1] = static_cast<char>(out.size() >> 8);
    return out;
  }
  static std::string String(std::u16string_view key, std::u16string_view text) {
    Bytes v;
    if (!text.empty()) v.text(text);
    return Make(key, 1, v.str(), static_cast<std::uint16_t>(text.empty() ? 0 : text.size() + 1),
                {});
  }
};

std::string Fixed() {
  Bytes b;
  b.u32(0xFEEF04BD).u32(0x10000);
  for (int i = 0; i < 11; ++i) b.u32(0);
  return b.str();
}

std::string VarFileInfo(std::vector<std::uint32_t> pairs) {
  Bytes v;
  for (auto p : pairs) v.u32(p);
  return Block::Make(
      u"VarFileInfo", 1, {}, 0,
      {Block::Make(u"Translation", 0, v.str(), static_cast<std::uint16_t>(4 * pairs.size()), {})});
}

std::string Version(const std::vector<std::string>& children) {
  return Block::Make(u"VS_VERSION_INFO", 0, Fixed(), 52, children);
}

std::string Table(std::u16string_view key, const std::vector<Value>& values) {
  std::vector<std::string> strings;
  for (const auto& v : values) strings.push_back(Block::String(v.key, v.text));
  return Block::Make(key, 1, {}, 0, strings);
}

std::vector<std::string> Texts(const TemplateCodec& codec) {
  std::vector<std::string> out;
  for (const auto& item : codec.Items()) out.push_back(std::to_string(item.item) + ":" + item.text);
  return out;
}

const std::vector<Value> kValues = {
    {u"CompanyName", u"ACME"}, {u"Comments", u""}, {u"FileVersion", u"1.0"}};

TEST(VersionCodecTest, ItemsAreTheNonEmptyValuesOfTheFirstTable) {
  const std::string resource =
      Version({Block::Make(u"StringFileInfo", 1, {}, 0,
                           {Table(u"040904b0", kValues), Table(u"0c0a04b0", {{u"Other", u"x"}})}),
               VarFileInfo({0x04B00409})});
  VersionCodec codec;
  ASSERT_TRUE(codec.Parse(resource)) << codec.Problem();
  EXPECT_EQ(Texts(codec), (std::vector<std::string>{"0:ACME", "1:1.0"}));

  // Rebuilt with only the first table, values kept, lengths recomputed.
  FileVersionInfo info;
  info.LoadBlock(*codec.Build());
  EXPECT_EQ(info.translation(), 0x04B00409u);
  EXPECT_EQ(info.GetString("CompanyName"), "ACME");
  EXPECT_EQ(info.GetString("FileVersion"), "1.0");
  VersionNode root;
  ASSERT_TRUE(ParseVersionTree(*codec.Build(), root));
  EXPECT_EQ(root.Child(u"StringFileInfo")->children.size(), 1u);
}

TEST(VersionCodecTest, TranslationsAndTargetLocale) {
  const std::string resource =
      Version({VarFileInfo({0x04B00409, 0x04E40407}),  // the Var block first
               Block::Make(u"StringFileInfo", 1, {}, 0, {Table(u"040904b0", kValues)})});
  VersionCodec codec;
  ASSERT_TRUE(codec.Parse(resource));
  ASSERT_TRUE(codec.SetItemTranslation(0, "ACME Ibérica S.A. de C.V."));
  FileVersionInfo info;
  info.LoadBlock(*codec.Build("00000C0A"));
  EXPECT_EQ(info.translation(), 0x00000C0Au);
  EXPECT_EQ(info.GetString("CompanyName"), "ACME Ibérica S.A. de C.V.");
  EXPECT_EQ(info.GetString("FileVersion"), "1.0");
  ASSERT_TRUE(info.SelectTranslation(1)) << "the second pair stays";
  EXPECT_EQ(info.translation(), 0x04E40407u);

  FileVersionInfo ignored;
  ignored.LoadBlock(*codec.Build("0000C0A"));
  EXPECT_EQ(ignored.translation(), 0x04B00409u) << "a 7-character code is no locale";
}

TEST(VersionCodecTest, WithoutStringsTheResourceIsCopied) {
  const std::string resource = Version({VarFileInfo({0x04B00409})});
  VersionCodec codec;
  ASSERT_TRUE(codec.Parse(resource));
  EXPECT_EQ(codec.ItemCount(), 0u);
  EXPECT_EQ(*codec.Build(), resource);
  FileVersionInfo info;
  info.LoadBlock(*codec.Build("04B0040A"));
  EXPECT_EQ(info.translation(), 0x04B0040Au);
}

TEST(VersionCodecTest, LengthsThatDoNotFitAreRefused) {
  std::string resource =
      Version({Block::Make(u"StringFileInfo", 1, {}, 0, {Table(u"040904b0", kValues)})});
  VersionCodec codec;
  for (std::size_t size = 0; size < resource.size(); size += 2) {
    std::string cut = resource.substr(0, size);
    EXPECT_FALSE(codec.Parse(cut)) << size;
    EXPECT_FALSE(codec.Build().has_value());
  }
  std::string inner = resource;
  inner[92] = static_cast<char>(0xF0);  // StringFileInfo longer than the root
  inner[93] = 0x7F;
  EXPECT_FALSE(codec.Parse(inner));
  ASSERT_TRUE(codec.Parse(resource));
  codec.SetItemTranslation(0, std::string(40000, 'x'));
  EXPECT_FALSE(codec.Build().has_value()) << "a block longer than 16 bits can count";
}

TEST(VersionCodecTest, ReadHex) {
  std::uint32_t value = 0;
  EXPECT_TRUE(ReadHex("00000c0a", value));
  EXPECT_EQ(value, 0x0C0Au);
  EXPECT_TRUE(ReadHex("0x1F", value));
  EXPECT_EQ(value, 0x1Fu) << "other characters are skipped";
  EXPECT_FALSE(ReadHex("", value));
  EXPECT_FALSE(ReadHex("123456789", value));
}

}  // namespace
}  // namespace ulk
