// The settings file's place: the XDG rules, and its folders made on a new
// account whose home holds nothing yet.
#include "platform/user_settings.h"

#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "tests/test_support.h"

namespace ulk {
namespace {

namespace fs = std::filesystem;
using testing::ScopedEnv;

TEST(UserSettings, PathFollowsTheXdgRules) {
  const struct {
    const char* xdg;
    const char* home;
    const char* expected;
  } cases[] = {
      {nullptr, "/home/ana", "/home/ana/.config/ULK/ULK.conf"},
      {"", "/home/ana", "/home/ana/.config/ULK/ULK.conf"},
      {"/srv/cfg", "/home/ana", "/srv/cfg/ULK/ULK.conf"},
      {"/srv/cfg/", "/home/ana", "/srv/cfg/ULK/ULK.conf"},
      {"/srv/cfg", nullptr, "/srv/cfg/ULK/ULK.conf"},
      // A relative XDG_CONFIG_HOME is ignored, as the XDG rules say.
      {"cfg", "/home/ana", "/home/ana/.config/ULK/ULK.conf"},
      {"/home/ana/../bea", "/home/ana", "/home/bea/ULK/ULK.conf"},
      {nullptr, nullptr, ""},
      {"cfg", "ana", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SettingsPathFor("ULK", c.xdg, c.home), c.expected)
        << (c.xdg ? c.xdg : "(none)") << " " << (c.home ? c.home : "(none)");
  }
}

unsigned ModeOf(const fs::path& path) {
  struct stat info {};
  EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
  return info.st_mode & 07777u;
}

TEST(UserSettings, AnEmptyHomeGetsItsPrivateSettingsFolder) {
  testing::TempDir home("settings-home");
  ScopedEnv homeVariable("HOME", home.path().string());
  ScopedEnv xdg("XDG_CONFIG_HOME", std::nullopt);

  const std::string path = UserSettingsPath("ULK");
  EXPECT_EQ(path, (home.path() / ".config" / "ULK" / "ULK.conf").string());
  ASSERT_FALSE(fs::exists(home.path() / ".config"));
  ASSERT_EQ(MakeSettingsFolder(path), 0);
  EXPECT_EQ(ModeOf(home.path() / ".config"), 0700u);
  EXPECT_EQ(ModeOf(home.path() / ".config" / "ULK"), 0700u);
  EXPECT_TRUE(static_cast<bool>(std::ofstream(path) << "[Languages]\n"));
  EXPECT_TRUE(fs::is_regular_file(path));
  // A second start finds it made, and leaves the permissions the user chose.
  fs::permissions(home.path() / ".config", fs::perms(0755));
  EXPECT_EQ(MakeSettingsFolder(path), 0);
  EXPECT_EQ(ModeOf(home.path() / ".config"), 0755u);
}

TEST(UserSettings, AFileInTheWayOfTheFolderIsRefused) {
  testing::TempDir home("settings-blocked");
  { std::ofstream(home / "cfg") << "not a folder"; }
  EXPECT_EQ(MakeSettingsFolder(SettingsPathFor("ULK", (home / "cfg").c_str(), nullptr)), ENOTDIR);
  EXPECT_EQ(MakeSettingsFolder(home / "cfg/ULK.conf"), ENOTDIR);
}

}  // namespace
}  // namespace ulk
