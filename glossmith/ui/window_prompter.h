// The browser's questions and messages shown as message boxes and dialogs
// over a window.
#pragma once

#include "glossmith/browser/browser_prompter.h"

class wxWindow;

namespace ulk::glossmith {

class WindowPrompter : public BrowserPrompter {
 public:
  explicit WindowPrompter(wxWindow* parent) : parent_(parent) {}

  void ShowError(const std::string& text) override;
  void ShowWarning(const std::string& text) override;
  bool AskYesNo(const std::string& text) override;
  bool EditText(TextDialogFields& fields) override;
  bool EditLanguageName(std::string& name) override;

 private:
  wxWindow* parent_;
};

}  // namespace ulk::glossmith
