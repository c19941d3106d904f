// The operations' messages, questions and status texts on the terminal:
// errors and warnings on standard error, information on standard output,
// questions answered by a fixed policy (no one is there to ask).
#pragma once

#include <cstdio>
#include <string>

#include "translator/model/operation_ui.h"

namespace ulk {

class TerminalUi : public OperationUi {
 public:
  TerminalUi(std::FILE* out, std::FILE* err) : out_(out), err_(err) {}

  // The answer to every Yes/No question ("go on anyway?").
  void SetAnswer(bool yes) { answer_ = yes; }
  // The answer to whether a file that is not a module may be replaced.
  void SetReplaceAnswer(bool yes) { replace_ = yes; }
  // An error was shown or a question asked (warnings do not count).
  bool SawErrors() const { return errors_ > 0; }

  void ShowMessage(const std::string& text, MessageIcon icon) override;
  bool AskYesNo(const std::string& text) override;
  bool ConfirmReplace(const std::string&) override { return replace_; }
  void PushStatusText(const std::string& text) override;
  void PopStatusText() override {}

 private:
  std::FILE* out_;
  std::FILE* err_;
  bool answer_ = false;
  bool replace_ = false;
  int errors_ = 0;
};

}  // namespace ulk
