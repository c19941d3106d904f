#include "translator/resources/version_codec.h"

#include <algorithm>

#include <gtest/gtest.h>

#include "platform/text.h"
#include "platform/version_info.h"
#include "tests/test_support.h"

namespace ulk {
namespace {

using testing::Bytes;

// How a String block stores its value: as resource compilers write it (an
// empty value is one zero code unit, wValueLength 1), without any value
// bytes (wValueLength 0), or with wValueLength counting bytes.
enum class Form { kCompiled, kNoValue, kLengthInBytes };

struct Value {
  std::u16string key;
  std::u16string text;
  Form form = Form::kCompiled;
};

// A block of key and value (text) or children; lengths patched at the end.
// A block's length ends with its last child, as compilers write it.
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
  static std::string String(const Value& v) {
    Bytes value;
    if (v.form != Form::kNoValue) value.text(v.text);
    const std::size_t units = v.form == Form::kNoValue ? 0 : v.text.size() + 1;
    return Make(v.key, 1, value.str(),
                static_cast<std::uint16_t>(v.form == Form::kLengthInBytes ? 2 * units : units), {});
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
  for (const auto& v : values) strings.push_back(Block::String(v));
  return Block::Make(key, 1, {}, 0, strings);
}

std::string Files(const std::vector<std::string>& tables) {
  return Block::Make(u"StringFileInfo", 1, {}, 0, tables);
}

std::vector<std::string> Texts(const TemplateCodec& codec) {
  std::vector<std::string> out;
  for (const auto& item : codec.Items()) out.push_back(std::to_string(item.item) + ":" + item.text);
  return out;
}

const std::vector<Value> kValues = {
    {u"CompanyName", u"ACME"}, {u"Comments", u"", Form::kNoValue}, {u"FileVersion", u"1.0"}};

// Empty values where real modules have them, first, inside and last; the
// last string's length (42) is no multiple of 4.
const std::vector<Value> kEmptyValues = {{u"InternalName", u""},
                                         {u"FileVersion", u"1.0"},
                                         {u"LegalCopyright", u""},
                                         {u"ProductName", u"Producto"},
                                         {u"CompanyName", u"ACME"}};

TEST(VersionCodecTest, ItemsAreTheNonEmptyValuesOfTheFirstTable) {
  const std::string resource =
      Version({Files({Table(u"040904b0", kValues), Table(u"0c0a04b0", {{u"Other", u"x"}})}),
               VarFileInfo({0x04B00409})});
  VersionCodec codec;
  ASSERT_TRUE(codec.Parse(resource)) << codec.Problem();
  EXPECT_EQ(Texts(codec), (std::vector<std::string>{"0:ACME", "1:1.0"}));

  // Translated: rebuilt with only the first table, lengths recomputed.
  codec.SetItemTranslation(1, "1.0 (es)");
  FileVersionInfo info;
  info.LoadBlock(*codec.Build());
  EXPECT_EQ(info.translation(), 0x04B00409u);
  EXPECT_EQ(info.GetString("CompanyName"), "ACME");
  EXPECT_EQ(info.GetString("FileVersion"), "1.0 (es)");
  VersionNode root;
  ASSERT_TRUE(ParseVersionTree(*codec.Build(), root));
  EXPECT_EQ(root.Child(u"StringFileInfo")->children.size(), 1u);
}

// Every version block these tests build comes back byte for byte when
// nothing is translated, when every value is "translated" to itself, and,
// with one string table, when it is moved to the locale it already has (which
// rebuilds it string by string rather than handing the resource back).
TEST(VersionCodecTest, UntranslatedBlocksRebuildByteForByte) {
  const std::string withEmpty =
      Version({Files({Table(u"0c0a04b0", kEmptyValues)}), VarFileInfo({0x04B00C0A})});
  struct Case {
    const char* name;
    std::string resource;
    const char* ownLocale;  // "" when a rebuild string by string changes it
  };
  const std::vector<Case> cases = {
      {"two tables",
       Version({Files({Table(u"040904b0", kValues), Table(u"0c0a04b0", {{u"Other", u"x"}})}),
                VarFileInfo({0x04B00409})}),
       ""},
      {"two tables, empty values",
       Version({Files({Table(u"0c0a04b0", kEmptyValues), Table(u"040904b0", {{u"Other", u"x"}})}),
                VarFileInfo({0x04B00C0A})}),
       ""},
      {"Var block first",
       Version({VarFileInfo({0x04B00409, 0x04E40407}), Files({Table(u"040904b0", kValues)})}),
       "04b00409"},
      {"no Var block", Version({Files({Table(u"040904b0", kValues)})}), "04b00409"},
      {"no strings", Version({VarFileInfo({0x04B00409})}), "04b00409"},
      {"empty values", withEmpty, "04b00c0a"},
      {"only an empty value", Version({Files({Table(u"0c0a04b0", {{u"InternalName", u""}})})}),
       "04b00c0a"},
      {"empty values without a value",
       Version({Files({Table(u"0c0a04b0", {{u"Comments", u"", Form::kNoValue},
                                           {u"InternalName", u""},
                                           {u"ProductName", u"P"},
                                           {u"LegalTrademarks", u"", Form::kNoValue}})})}),
       "04b00c0a"},
      {"wValueLength in bytes",
       Version({Files({Table(u"040904b0", {{u"FileVersion", u"1.0", Form::kLengthInBytes},
                                           {u"ProductName", u"P"}})})}),
       "04b00409"},
      {"bytes after the root", withEmpty + std::string(6, '\0'), ""},
      {"an empty table", Version({Files({Table(u"0c0a04b0", {})}), VarFileInfo({0x04B00C0A})}),
       "04b00c0a"},
  };
  for (const auto& [name, resource, ownLocale] : cases) {
    VersionCodec codec;
    ASSERT_TRUE(codec.Parse(resource)) << name << ": " << codec.Problem();
    EXPECT_EQ(*codec.Build(), resource) << name;
    if (*ownLocale) {
      EXPECT_EQ(*codec.Build(ownLocale), resource) << name << ", in its own locale";
    }
    for (std::size_t i = 0; i < codec.ItemCount(); ++i)
      codec.SetTranslationAt(i, codec.ItemAt(i).text);
    EXPECT_EQ(*codec.Build(), resource) << name << ", values translated to themselves";
  }
}

TEST(VersionCodecTest, UntranslatedStringsKeepTheirBytesInARebuiltBlock) {
  const std::string resource =
      Version({Files({Table(u"0c0a04b0", kEmptyValues), Table(u"040904b0", {{u"Other", u"x"}})}),
               VarFileInfo({0x04B00C0A})});
  VersionCodec codec;
  ASSERT_TRUE(codec.Parse(resource));
  EXPECT_EQ(Texts(codec), (std::vector<std::string>{"0:1.0", "1:Producto", "2:ACME"}));

  // Moved to another locale only: the table renamed, the pair rewritten,
  // the rest as it was.
  EXPECT_EQ(*codec.Build("00000409"),
            Version({Files({Table(u"04090000", kEmptyValues)}), VarFileInfo({0x00000409})}));

  // One value translated: the strings around it keep their bytes.
  codec.SetItemTranslation(1, "Product");
  const std::string rebuilt = *codec.Build("00000409");
  for (std::size_t i = 0; i < kEmptyValues.size(); ++i) {
    if (i == 3) continue;
    EXPECT_NE(rebuilt.find(Block::String(kEmptyValues[i])), std::string::npos)
        << Utf16ToUtf8(kEmptyValues[i].key);
  }
  VersionNode root;
  ASSERT_TRUE(ParseVersionTree(rebuilt, root));
  const VersionNode* table = root.Child(u"StringFileInfo")->Child(u"04090000");
  ASSERT_NE(table, nullptr);
  ASSERT_EQ(table->children.size(), kEmptyValues.size());
  for (const VersionNode& string : table->children) {
    const std::u16string expected =
        string.key == u"ProductName"
            ? u"Product"
            : std::find_if(kEmptyValues.begin(), kEmptyValues.end(), [&](const Value& v) {
                return v.key == string.key;
              })->text;
    EXPECT_EQ(string.Text(), expected) << Utf16ToUtf8(string.key);
  }
  EXPECT_EQ(table->Child(u"InternalName")->value.size(), 2u) << "one zero code unit";
}

TEST(VersionCodecTest, TranslationsAndTargetLocale) {
  const std::string resource =
      Version({VarFileInfo({0x04B00409, 0x04E40407}),  // the Var block first
               Files({Table(u"040904b0", kValues)})});
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
  FileVersionInfo info;
  info.LoadBlock(*codec.Build("04B0040A"));
  EXPECT_EQ(info.translation(), 0x04B0040Au);
}

TEST(VersionCodecTest, LengthsThatDoNotFitAreRefused) {
  std::string resource = Version({Files({Table(u"040904b0", kValues)})});
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
