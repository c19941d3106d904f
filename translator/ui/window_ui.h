// The operations' messages, questions, status texts, progress bar and wait
// cursor, shown by the main window: what ulk-cli does on the terminal.
#pragma once

#include "translator/model/operation_ui.h"
#include "uikit/message_box.h"

class wxWindow;

namespace ulk {

class CMainFrame;

// The toolkit's message box kind for an operation's message icon.
MessageKind MessageKindOf(MessageIcon icon);

class WindowUi : public OperationUi {
 public:
  explicit WindowUi(CMainFrame* frame) : frame_(frame) {}

  void ShowMessage(const std::string& text, MessageIcon icon) override;
  bool AskYesNo(const std::string& text) override;
  void PushStatusText(const std::string& text) override;
  void PopStatusText() override;
  void ShowProgress(bool show) override;
  void SetProgressRange(int lower, int upper) override;
  void SetProgressPos(int position) override;
  void BeginWait() override;
  void EndWait() override;

 private:
  CMainFrame* frame_;
};

}  // namespace ulk
