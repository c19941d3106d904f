// ulk-cli: the translator's engine for scripts and build pipelines.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace ulk {

enum CliExit : int { kExitOk = 0, kExitFailure = 1, kExitUsage = 2 };

// Runs one command line (without the program name); returns the exit
// status. Output goes to `out`, messages and errors to `err`.
int RunCli(const std::vector<std::string>& arguments, std::FILE* out, std::FILE* err);

}  // namespace ulk
