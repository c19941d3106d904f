#include "platform/version_info.h"

#include <gtest/gtest.h>

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
