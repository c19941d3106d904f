// The about box's lines from a version block.
#include "uikit/about_text.h"

#include <gtest/gtest.h>

namespace ulk {
namespace {

FileVersionInfo InfoOf(const std::vector<std::pair<std::string, std::string>>& strings) {
  FileVersionInfo info;
  info.LoadBlock(BuildVersionBlock(FixedFileInfo{}, 0x04B00C0A, strings));
  return info;
}

TEST(AboutText, LinesFromTheVersionBlock) {
  const AboutText text = AboutTextOf(InfoOf({{"OriginalFilename", "ulk"},
                                             {"InternalName", "ULK"},
                                             {"FileVersion", "1, 0, 0, 0"},
                                             {"SpecialBuild", "Beta"},
                                             {"FileDescription", "Traductor de recursos"},
                                             {"LegalCopyright", "© 2024"},
                                             {"CompanyName", "Kelvanter"},
                                             {"Comments", "http://www.example.com"}}),
                                     false);
  EXPECT_EQ(text.group, "ulk");
  EXPECT_EQ(text.title, "ULK  v1, 0, 0, 0  Beta");
  EXPECT_EQ(text.description, "Traductor de recursos");
  EXPECT_EQ(text.copyright, "© 2024 Kelvanter");
  EXPECT_FALSE(text.language.empty());
  EXPECT_EQ(text.link, "http://www.example.com");
}

TEST(AboutText, ReleaseStandsForAnEmptySpecialBuildOnlyWhenAsked) {
  const FileVersionInfo info = InfoOf({{"InternalName", "Glossmith"}, {"FileVersion", "2"}});
  EXPECT_EQ(AboutTextOf(info, true).title, "Glossmith  v2  Release");
  EXPECT_EQ(AboutTextOf(info, false).title, "Glossmith  v2  ");
}

TEST(AboutText, NoVersionBlockLeavesEveryLineEmpty) {
  const AboutText text = AboutTextOf(FileVersionInfo(), true);
  EXPECT_TRUE(text.title.empty());
  EXPECT_TRUE(text.link.empty());
  EXPECT_TRUE(text.language.empty());
}

TEST(AboutText, OnlyWebAddressesOpen) {
  EXPECT_TRUE(IsOpenableLink("http://www.example.com"));
  EXPECT_FALSE(IsOpenableLink("www.example.com"));
  EXPECT_FALSE(IsOpenableLink("file:///etc/passwd"));
  EXPECT_FALSE(IsOpenableLink(""));
}

}  // namespace
}  // namespace ulk
