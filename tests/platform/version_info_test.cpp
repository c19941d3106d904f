#include "platform/version_info.h"

#include <gtest/gtest.h>

#include "platform/byte_stream.h"
#include "tests/test_support.h"

namespace ulk {
namespace {

using testing::FixturePath;

TEST(FileVersionInfoTest, ReadsAModulesVersionResource) {
  FileVersionInfo info(FixturePath("sample32.dll"));
  ASSERT_TRUE(info.HasBlock());
  EXPECT_EQ(info.translation(), 0x04B00C0Au);
  EXPECT_EQ(info.LanguageName(), "Español (España)");
  EXPECT_EQ(info.GetField(kFieldFileVersion), "1.2.3.4");
  EXPECT_EQ(info.GetField(7), "ACME");
  EXPECT_EQ(info.GetField(4), "Biblioteca de ejemplo");
  EXPECT_EQ(info.GetField(6), "") << "an empty value";
  EXPECT_EQ(info.GetField(kFieldFileVersionNumber), "v1.2.3.4");
  EXPECT_EQ(info.GetField(kFieldProductVersionNumber), "v1.2.0.0");
  EXPECT_EQ(info.GetField(kFieldFlagsMask), "0x3f");
  EXPECT_EQ(info.GetField(kFieldFlags), "0x0");
  EXPECT_EQ(info.GetField(kFieldOs), "VOS_NT_WINDOWS32");
  EXPECT_EQ(info.GetField(kFieldType), "VFT_DLL");
  EXPECT_EQ(info.GetField(kFieldSubtype), "VFT2_UNKNOWN [0x00000000]");
  EXPECT_EQ(info.GetField(kFieldDate), "null");
  EXPECT_EQ(info.GetField(12), "");
  EXPECT_EQ(info.GetField(99), "");
  EXPECT_EQ(info.GetString("fileversion"), "1.2.3.4") << "keys compare without case";

  ASSERT_TRUE(info.SelectTranslation(1));
  EXPECT_EQ(info.translation(), 0x04B00409u);
  EXPECT_EQ(info.GetField(4), "Sample library");
  EXPECT_EQ(info.GetField(kFieldFileVersion), "") << "not in the English table";
  EXPECT_FALSE(info.SelectTranslation(2));
  EXPECT_FALSE(info.SelectTranslation(-1));
  EXPECT_EQ(info.translation(), 0x04B00409u);
}

TEST(FileVersionInfoTest, FilesWithoutVersionInformation) {
  for (const std::string& path : {FixturePath("empty64.dll"), std::string("/no/such/file"),
                                  FixturePath("../CTestTestfile.cmake")}) {
    FileVersionInfo info(path);
    EXPECT_FALSE(info.HasBlock()) << path;
    EXPECT_EQ(info.translation(), 0u);
    EXPECT_FALSE(info.SelectTranslation(0));
    for (int field : {0, 5, 20, 24, 27}) EXPECT_EQ(info.GetField(field), "");
    EXPECT_EQ(info.LanguageName(), "Idioma neutro");
  }
}

TEST(FileVersionInfoTest, OurOwnBinariesCarryABlock) {
  FileVersionInfo self("");  // the running program: this test, built with one
  ASSERT_TRUE(self.HasBlock());
  EXPECT_EQ(self.GetField(kFieldFileVersion), "0, 0, 7, 9");
  EXPECT_EQ(self.GetField(kFieldFileVersionNumber), "v0.0.7.9");
  EXPECT_EQ(self.GetField(0), "ULK pruebas");
  EXPECT_EQ(self.LanguageName(), "Español (España)");
}

TEST(FileVersionInfoTest, BuiltBlocksParseBack) {
  FixedFileInfo fixed;
  fixed.fileType = 3;
  fixed.fileSubtype = 11;
  fixed.fileOS = 0;
  // 2001-02-03 04:05:06 as FILETIME.
  const std::uint64_t ticks = 126256467060000000ULL;
  fixed.fileDateMS = static_cast<std::uint32_t>(ticks >> 32);
  fixed.fileDateLS = static_cast<std::uint32_t>(ticks & 0xFFFFFFFF);
  FileVersionInfo info;
  info.LoadBlock(BuildVersionBlock(fixed, 0x04E40407, {{"CompanyName", "Ñandú GmbH"}, {"X", ""}}));
  EXPECT_EQ(info.translation(), 0x04E40407u);
  EXPECT_EQ(info.GetString("CompanyName"), "Ñandú GmbH");
  EXPECT_EQ(info.GetField(kFieldType), "VFT_DRV");
  EXPECT_EQ(info.GetField(kFieldSubtype), "VFT2_UNKNOWN [0x0000000b]");
  EXPECT_EQ(info.GetField(kFieldOs), "VOS_UNKNOWN [0x00000000]");
  EXPECT_EQ(info.GetField(kFieldDate), "03/02/2001 04:05:06");

  info.LoadBlock("\x10\x00garbage");
  EXPECT_FALSE(info.HasBlock());
  EXPECT_EQ(info.translation(), 0u);
}

// A block reads as the version codec reads it, which keeps each block's
// wType and wValueLength when it writes a translation there: the module it
// generated must read back whole. The strings of a table are texts whatever
// their wType; the file information and its tables hold blocks only; the
// root holds its fixed information and blocks.
TEST(FileVersionInfoTest, BlocksReadAsTheVersionCodecWritesThem) {
  struct Patch {
    const char* key;
    std::size_t before;  // where the field lies before the key: 4 wValueLength, 2 wType
    std::uint16_t value;
  };
  const std::string text = "Descripción bastante larga";
  const Patch patches[] = {
      {"FileDescription", 2, 0}, {"FileDescription", 2, 2}, {"FileDescription", 2, 0xFFFE},
      {"StringFileInfo", 4, 8},  {"0c0a04b0", 4, 12},       {"0c0a04b0", 2, 1},
      {"VS_VERSION_INFO", 2, 1},
  };
  for (const Patch& patch : patches) {
    SCOPED_TRACE(std::string(patch.key) + " " + std::to_string(patch.before) + " " +
                 std::to_string(patch.value));
    std::string block = BuildVersionBlock(FixedFileInfo{}, 0x04B00C0A,
                                          {{"FileDescription", text}, {"Comments", ""}});
    std::string key;
    for (const char c : std::string_view(patch.key)) key += {c, '\0'};
    const std::size_t at = block.find(key);
    ASSERT_NE(at, std::string::npos);
    StoreU16(block, at - patch.before, patch.value);
    FileVersionInfo info;
    info.LoadBlock(block);
    ASSERT_TRUE(info.HasBlock());
    EXPECT_EQ(info.translation(), 0x04B00C0Au);
    EXPECT_EQ(info.GetField(4), text);
    EXPECT_EQ(info.GetField(6), "");
    EXPECT_EQ(info.GetField(kFieldOs), "VOS_NT_WINDOWS32");
  }
}

// Every length of a block is 16 bits: strings that do not fit give no block,
// not one whose lengths were cut (and which reads as another).
TEST(FileVersionInfoTest, BlocksTooLongForTheirLengthsAreNotBuilt) {
  struct Case {
    std::size_t strings, units;
    bool fits;
  };
  const Case cases[] = {{1, 32000, true}, {1, 33000, false}, {1000, 10, true}, {2000, 10, false}};
  for (const Case& c : cases) {
    std::vector<std::pair<std::string, std::string>> strings;
    for (std::size_t i = 0; i < c.strings; ++i) {
      strings.emplace_back("K" + std::to_string(i), std::string(c.units, 'v'));
    }
    const std::string block = BuildVersionBlock(FixedFileInfo{}, 0x04B00C0A, strings);
    EXPECT_EQ(block.empty(), !c.fits) << c.strings << " x " << c.units;
    if (!c.fits) continue;
    FileVersionInfo info;
    info.LoadBlock(block);
    EXPECT_EQ(info.GetString("K" + std::to_string(c.strings - 1)), std::string(c.units, 'v'));
  }
}

TEST(FileVersionInfoTest, ReadableNames) {
  EXPECT_EQ(FileOsName(0x00040004), "VOS_NT_WINDOWS32");
  EXPECT_EQ(FileOsName(0x00010001), "VOS_DOS_WINDOWS16");
  EXPECT_EQ(FileTypeName(7), "VFT_STATIC_LIB");
  EXPECT_EQ(FileTypeName(6), "VFT_UNKNOWN [0x00000006]");
  EXPECT_EQ(FileSubtypeName(3, 10), "VFT2_DRV_COMM");
  EXPECT_EQ(FileSubtypeName(4, 3), "VFT2_FONT_TRUETYPE");
  EXPECT_EQ(FileSubtypeName(1, 3), "VFT2_UNKNOWN [0x00000003]");
  EXPECT_EQ(FileDateText(0, 0), "null");
  EXPECT_EQ(FileDateText(0, 1), "01/01/1601 00:00:00");
  EXPECT_EQ(FileDateText(0xFFFFFFFF, 0xFFFFFFFF), "") << "beyond year 9999";
}

TEST(VersionTreeTest, RefusesLengthsThatDoNotFit) {
  VersionNode root;
  EXPECT_FALSE(ParseVersionTree("", root));
  EXPECT_FALSE(ParseVersionTree(std::string("\xFF\x00\x00\x00\x00\x00", 6), root));
  EXPECT_FALSE(ParseVersionTree(std::string("\x08\x00\x00\x00\x00\x00\x41\x00", 8), root))
      << "unterminated key";
}

}  // namespace
}  // namespace ulk
