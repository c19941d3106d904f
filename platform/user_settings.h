// Where a program keeps its user settings: a file of its own under the
// user's XDG configuration folder, whose folders are made on first use.
#pragma once

#include <string>
#include <string_view>

namespace ulk {

// "BASE/PROGRAM/PROGRAM.conf", BASE being `xdgConfigHome` when it is an
// absolute path (the XDG rule: an empty or relative value is ignored), else
// `home` + "/.config"; "" when neither gives an absolute folder. Either may
// be null.
std::string SettingsPathFor(std::string_view program, const char* xdgConfigHome, const char* home);

// SettingsPathFor over this process's XDG_CONFIG_HOME and HOME, the user's
// entry in the password database standing in for an unset HOME.
std::string UserSettingsPath(std::string_view program);

// Makes the folder of `settingsPath` and those above it that are missing,
// each readable by the user alone (0700). 0 when the folder is there
// afterwards, else the errno of the failure (ENOTDIR when a file stands in
// its way).
int MakeSettingsFolder(const std::string& settingsPath);

}  // namespace ulk
