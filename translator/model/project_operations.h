// The translator's work on a project: adding and removing module files,
// validating a module, reading the resources of one module or of all, and
// generating the translated modules of one module or of the project. Each
// reports through the OperationUi its caller passes in; none touches the
// document: the caller clears the undo history, refreshes and sets the
// modified flag as the result says.
#pragma once

#include <string>
#include <vector>

#include "translator/model/operation_ui.h"
#include "translator/model/project.h"

namespace ulk {

// Adds the files in order: a file already in the project, or one whose
// original language cannot be read or which does not exist, adds a line to
// `errorText` (lines joined with line feeds). Returns how many were added.
std::size_t AddModuleFiles(Project& project, const std::vector<std::string>& paths,
                           std::string& errorText);

// AddModuleFiles, then the message "Error añadiendo módulos al proyecto"
// with the lines when there are any (exclamation icon). Returns how many
// were added.
std::size_t AddModules(Project& project, const std::vector<std::string>& paths, OperationUi& ui);

// The message the add-modules command shows for the error text, given
// whether the file dialog could return the selection.
void ShowAddModulesErrors(const std::string& errorText, bool selectionReturned, OperationUi& ui);

// Asks, then removes the module with that path. True when it was removed.
bool DeleteModule(Project& project, const std::string& path, OperationUi& ui);

// Validates with the status text shown; on failure `message` says why.
bool ValidateModule(Module& module, OperationUi& ui, std::string& message);

enum BatchResult { kBatchStop = 0, kBatchGoOn = 1 };
// Reads the module's resources into it. 1: go on; 0: stop. In a batch a
// failure asks whether to go on (Yes: 1); outside one it is shown (0).
int GetModuleResources(Module& module, bool inBatch, OperationUi& ui);

enum GenerateResult { kGenerateStop = 0, kGenerateDone = 1, kGenerateFailedGoOn = 2 };

struct GetResourcesResult {
  std::size_t read = 0;  // modules read successfully
  bool stopped = false;  // the user answered No, or one module failed
  // Some module was read: the caller clears the undo history, refreshes the
  // views and sets the modified flag (also after a stop, so that what was
  // read is not lost unasked).
  bool changed = false;
};
// One module (when `module` is not null) or all, in project order.
GetResourcesResult GetResourcesCommand(Project& project, Module* module, OperationUi& ui);

// A translated module a generation wrote.
struct GeneratedOutput {
  const Module* module = nullptr;
  const ModuleLanguage* language = nullptr;
  std::string path;  // absolute
};

struct GenerateCommandResult {
  std::size_t generated = 0;
  std::size_t failed = 0;
  bool stopped = false;
  std::vector<GeneratedOutput> written;  // in project order
};
// One module or the whole project, with the closing message of each. Every
// output is resolved against the project's folder and checked before it is
// written: the project file, a module of the project and another
// language's or module's output are refused; an existing file that is not
// a module is replaced only when ui.ConfirmReplace agrees.
GenerateCommandResult GenerateCommand(Project& project, Module* module, OperationUi& ui,
                                      const std::string* languageName = nullptr);

}  // namespace ulk
