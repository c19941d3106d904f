// The exchange commands of ulk-cli (export, import, check, pseudo and the
// dictionaries' TMX files): each prints its operation's result; the
// command table of cli.cpp loads and saves the project around them.
#pragma once

#include <cstdio>
#include <string>

#include "translator/model/operation_ui.h"
#include "translator/model/project.h"

namespace ulk {

struct CliStreams {
  std::FILE* out;
  std::FILE* err;
};

int ExportCommand(const Project& project, const Module& module, const std::string& language,
                  const std::string& path, const CliStreams& io);
// `changed` tells whether the project must be saved.
int ImportCommand(Module& module, const std::string& language, const std::string& path,
                  const CliStreams& io, bool& changed);
// Exit status 1 when something was found.
int CheckCommand(const Project& project, const Module* module, const std::string* language,
                 bool json, OperationUi& ui, const CliStreams& io);
// Fits the dialogs of a target language (or the one named `dialogKey`);
// `changed` tells whether the project must be saved (never on a dry run).
// Exit status 1 when a control could not be fitted.
int FitCommand(Module& module, const std::string& language, const std::string* dialogKey,
               bool dryRun, bool json, const CliStreams& io, bool& changed);
int PseudoCommand(Module& module, const std::string& language, int expandPercent,
                  const CliStreams& io, bool& changed);
int ExportTmxCommand(const std::string& dictionary, const std::string& path, const CliStreams& io);
int ImportTmxCommand(const std::string& dictionary, const std::string& path, const CliStreams& io);

}  // namespace ulk
