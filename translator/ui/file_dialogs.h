// The file choices of the translator: modules to add, a module's new path,
// a language's output file and a dictionary, each through the toolkit's
// file dialog with the program's titles and filters; projects to read
// from and the file an analysis is saved to too. A choice returns the
// chosen path, or none when the user cancelled.
#pragma once

#include <optional>
#include <string>

#include <wx/string.h>

#include "translator/model/operation_ui.h"
#include "translator/model/project.h"

class wxWindow;

namespace ulk {

// A filter of the string table ("name|pattern|...||") as the file dialog
// takes it (without the closing "||").
wxString FileDialogFilter(int messageId);

// Asks for module files and adds them to `project`, then shows what could
// not be added (5036). Returns how many modules were added.
std::size_t AddModulesFromDialog(Project& project, wxWindow* parent, OperationUi& ui);

// A module's new path: an existing file, starting from the current one.
std::optional<std::string> ChooseModulePath(wxWindow* parent, const std::string& current);

// A language's output file, starting from `current`; asks before an
// existing file is chosen. A folder that does not exist is reported and
// gives none.
std::optional<std::string> ChooseOutputFile(wxWindow* parent, const std::string& current,
                                            OperationUi& ui);

// A dictionary to open, or the name of one to create (".dic" added when
// the name has no extension).
std::optional<std::string> ChooseDictionaryFile(wxWindow* parent);

// A project file to read (another project's translations), under the
// string table's title `titleId`.
std::optional<std::string> ChooseOtherProject(wxWindow* parent, int titleId);

// Reads another project (only to take from it) into `other`; a file that
// cannot be read or is refused is reported over `parent`.
bool LoadOtherProject(wxWindow* parent, const std::string& path, Project& other);

// The file an analysis is saved to; asks before an existing file is
// chosen.
std::optional<std::string> ChooseCsvFile(wxWindow* parent);

}  // namespace ulk
