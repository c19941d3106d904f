// What the administrator's operations ask of their window: messages,
// Yes/No questions and the two small editing dialogs. The window answers
// with message boxes and dialogs; tests answer from a script.
#pragma once

#include <string>

namespace ulk {

// The fields of the text dialog: what it shows on opening and, after OK,
// what the user chose.
struct TextDialogFields {
  std::string text;  // as the edit box holds it (line breaks, not "\n")
  std::string type;
  std::string caption;  // "" keeps the dialog's own caption
  bool typeChangeable = true;
};

class BrowserPrompter {
 public:
  virtual ~BrowserPrompter() = default;

  virtual void ShowError(const std::string& text) = 0;
  // Refused input: the exclamation icon.
  virtual void ShowWarning(const std::string& text) = 0;
  // What a long operation did.
  virtual void ShowInformation(const std::string& text) = 0;
  // True for Yes.
  virtual bool AskYesNo(const std::string& text) = 0;
  // The text dialog; false on Cancel.
  virtual bool EditText(TextDialogFields& fields) = 0;
  // The language-name dialog; false on Cancel.
  virtual bool EditLanguageName(std::string& name) = 0;
};

}  // namespace ulk
