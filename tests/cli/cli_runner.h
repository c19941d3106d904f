// Runs the real ulk-cli in a folder and collects what it printed.
#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "tests/test_support.h"

namespace ulk::testing {

struct CliRun {
  int status = -1;
  std::string out;
  std::string err;
};

inline std::string ShellQuote(const std::string& word) {
  std::string quoted = "'";
  for (const char c : word) {
    if (c == '\'') {
      quoted += "'\\''";
    } else {
      quoted.push_back(c);
    }
  }
  return quoted + "'";
}

// `environment`: variables ("NAME=value") the program is run with.
inline CliRun RunUlkCli(const std::string& folder, const std::vector<std::string>& arguments,
                        const std::vector<std::string>& environment = {}) {
  std::string command = "cd " + ShellQuote(folder) + " && env";
  for (const std::string& variable : environment) command += " " + ShellQuote(variable);
  command += " " + ShellQuote(ULK_CLI_PATH);
  for (const std::string& argument : arguments) command += " " + ShellQuote(argument);
  const std::string outPath = folder + "/.cli-out";
  const std::string errPath = folder + "/.cli-err";
  command += " >" + ShellQuote(outPath) + " 2>" + ShellQuote(errPath);
  const int raw = std::system(command.c_str());
  CliRun run;
  run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  run.out = ReadFileBytes(outPath);
  run.err = ReadFileBytes(errPath);
  std::remove(outPath.c_str());
  std::remove(errPath.c_str());
  return run;
}

}  // namespace ulk::testing
