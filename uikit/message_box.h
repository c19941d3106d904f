// The programs' message box: a text of the program's string table (already
// formatted) with the icon the message calls for and Spanish buttons, with
// the program's name as caption.
#pragma once

#include <string>

class wxWindow;

namespace ulk {

enum class MessageKind {
  kError,        // a failure; "Aceptar"
  kExclamation,  // missing input or partial success; "Aceptar"
  kQuestion,     // a question; "Sí" and "No"
  kInformation,  // success; "Aceptar"
};

// Shows the message modally over `parent` (null: the top window). Returns
// true for "Sí" (questions) or "Aceptar".
bool ShowMessageBox(wxWindow* parent, const std::string& text, MessageKind kind);

enum class MessageAnswer { kYes, kNo, kCancel };
// A question with "Sí", "No" and "Cancelar" (saving changes before the
// document closes), with the exclamation icon.
MessageAnswer AskYesNoCancel(wxWindow* parent, const std::string& text);

// The caption of every message box; by default the application's display
// name.
void SetMessageBoxCaption(const std::string& caption);

}  // namespace ulk
