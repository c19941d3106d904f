// The windows the main window opens but does not own: the property dialogs,
// the user-languages dialog, the translation dialog and the resource
// preview. The main window calls these and does the rest itself (undo
// history, refresh, modified flag) as each result says.
#pragma once

#include <string>

#include "translator/model/project.h"

class wxWindow;

namespace ulk {

class UndoHistory;

// Project properties on `project`; true when accepted (the project was
// changed).
bool RunProjectPropertiesDialog(Project& project, wxWindow* parent);

// Properties of the module with `moduleId`; true when accepted.
bool RunModulePropertiesDialog(Project& project, int moduleId, wxWindow* parent);

// The user languages (kept in the settings, not in the project).
void RunUserLanguagesDialog(wxWindow* parent);

// The translation of the entry `key` of `module`; true when accepted (the
// module's entries were changed).
bool RunTranslationDialog(Module& module, const std::string& key, wxWindow* parent);

// Shows the dialog or menu of `resourceKey` ("DL_N_100") as it stands in
// the module, or translated.
void ShowResourcePreview(const Module& module, const std::string& resourceKey, bool translated,
                         wxWindow* parent);

// The layout editor for the dialog `dialogKey` ("DL_N_100") of `module`, in
// the one target language of a module with two, else in the one the user
// chooses; an accepted change is one step of `history`. True when the
// language's geometry changed.
bool EditDialogLayout(Module& module, const std::string& dialogKey, UndoHistory& history,
                      wxWindow* parent);

}  // namespace ulk
