// Runs the loader probe under Wine on a module and returns what it printed,
// one line per text. The tests that use it are skipped when Wine is missing,
// except in CI, where a missing Wine is a failure.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/test_support.h"

namespace ulk::testing {

inline bool CommandExists(const std::string& name) {
  return std::system(("command -v " + name + " >/dev/null 2>&1").c_str()) == 0;
}

// Skips (or, in CI, fails) the calling test when Wine cannot run.
#define ULK_REQUIRE_WINE()                                                                      \
  do {                                                                                          \
    if (!::ulk::testing::CommandExists("wine") || !::ulk::testing::CommandExists("xvfb-run")) { \
      const char* ci = std::getenv("CI");                                                       \
      if (ci && std::string(ci) == "true") FAIL() << "Wine and xvfb-run are needed in CI";      \
      GTEST_SKIP() << "Wine or xvfb-run is not installed: loader check skipped";                \
    }                                                                                           \
  } while (false)

// `rects`: NAME:ITEM:X:Y:CX:CY, the dialog units to compare with the real
// windows (lines "DR NAME ITEM MATCH" or "... DIFFERS").
inline std::vector<std::string> RunProbe(const std::string& module,
                                         const std::vector<std::string>& rects = {}) {
  const std::string prefix = std::string(ULK_FIXTURE_DIR) + "/wineprefix";
  std::string command = "xvfb-run -a env WINEPREFIX='" + prefix + "' WINEDEBUG=-all wine '" +
                        FixturePath("probe.exe") + "' 'Z:" + module + "'";
  for (const std::string& rect : rects) command += " '" + rect + "'";
  command += " 2>/dev/null";
  std::vector<std::string> lines;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) return lines;
  std::string output;
  char buffer[4096];
  std::size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, got);
  ::pclose(pipe);
  std::istringstream in(output);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() > 3 && (line.compare(0, 3, "ST ") == 0 || line.compare(0, 3, "MN ") == 0 ||
                            line.compare(0, 3, "DL ") == 0 || line.compare(0, 3, "VS ") == 0 ||
                            line.compare(0, 3, "MT ") == 0 || line.compare(0, 3, "DR ") == 0 ||
                            line.compare(0, 4, "LOAD") == 0)) {
      lines.push_back(line);
    }
  }
  return lines;
}

}  // namespace ulk::testing
