// The settings file's place under the XDG configuration folder.
#include "platform/user_settings.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>

namespace ulk {
namespace {

bool IsAbsolute(const char* path) {
  return path && path[0] == '/';
}

// The home folder of the password database, for a process started without
// HOME (a service, `env -i`).
std::string PasswordHome() {
  const passwd* entry = getpwuid(getuid());
  return entry && IsAbsolute(entry->pw_dir) ? std::string(entry->pw_dir) : std::string();
}

}  // namespace

std::string SettingsPathFor(std::string_view program, const char* xdgConfigHome, const char* home) {
  std::filesystem::path base;
  if (IsAbsolute(xdgConfigHome)) {
    base = xdgConfigHome;
  } else if (IsAbsolute(home)) {
    base = std::filesystem::path(home) / ".config";
  } else {
    return {};
  }
  const std::string name(program);
  return (base / name / (name + ".conf")).lexically_normal().string();
}

std::string UserSettingsPath(std::string_view program) {
  const char* home = std::getenv("HOME");
  if (IsAbsolute(home)) return SettingsPathFor(program, std::getenv("XDG_CONFIG_HOME"), home);
  const std::string fallback = PasswordHome();
  return SettingsPathFor(program, std::getenv("XDG_CONFIG_HOME"),
                         fallback.empty() ? nullptr : fallback.c_str());
}

int MakeSettingsFolder(const std::string& settingsPath) {
  const std::filesystem::path folder = std::filesystem::path(settingsPath).parent_path();
  if (folder.empty()) return ENOENT;
  // One level at a time, each new one private; one that exists keeps its
  // own permissions (the user's home, a shared ~/.config).
  std::filesystem::path level;
  for (const std::filesystem::path& part : folder) {
    level /= part;
    struct stat info {};
    if (::stat(level.c_str(), &info) != 0) {
      if (errno != ENOENT) return errno;
      // Another process may make it first.
      if (::mkdir(level.c_str(), 0700) == 0) continue;
      if (errno != EEXIST || ::stat(level.c_str(), &info) != 0) return errno;
    }
    if (!S_ISDIR(info.st_mode)) return ENOTDIR;
  }
  return 0;
}

}  // namespace ulk
