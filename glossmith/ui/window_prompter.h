// The browser's questions and messages shown as message boxes and dialogs
// over a window.
#pragma once

#include <functional>

#include "glossmith/browser/browser_prompter.h"

class wxWindow;

namespace ulk::glossmith {

class WindowPrompter : public BrowserPrompter {
 public:
  explicit WindowPrompter(wxWindow* parent) : parent_(parent) {}

  // Called before every message or dialog (a progress window that would
  // stand over it goes away).
  void SetBeforeShowing(std::function<void()> beforeShowing) {
    beforeShowing_ = std::move(beforeShowing);
  }

  void ShowError(const std::string& text) override;
  void ShowWarning(const std::string& text) override;
  void ShowInformation(const std::string& text) override;
  bool AskYesNo(const std::string& text) override;
  bool EditText(TextDialogFields& fields) override;
  bool EditLanguageName(std::string& name) override;

 private:
  void BeforeShowing() const {
    if (beforeShowing_) beforeShowing_();
  }

  wxWindow* parent_;
  std::function<void()> beforeShowing_;
};

}  // namespace ulk::glossmith
