// Operation output in the main window.
#include "translator/ui/window_ui.h"

#include <wx/utils.h>

#include "translator/ui/main_frame.h"
#include "uikit/message_box.h"

namespace ulk {

MessageKind MessageKindOf(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::kError:
      return MessageKind::kError;
    case MessageIcon::kExclamation:
      return MessageKind::kExclamation;
    case MessageIcon::kQuestion:
      return MessageKind::kQuestion;
    case MessageIcon::kInformation:
      break;
  }
  return MessageKind::kInformation;
}

void WindowUi::ShowMessage(const std::string& text, MessageIcon icon) {
  ShowMessageBox(frame_, text, MessageKindOf(icon));
}

bool WindowUi::AskYesNo(const std::string& text) {
  return ShowMessageBox(frame_, text, MessageKind::kQuestion);
}

void WindowUi::PushStatusText(const std::string& text) {
  if (frame_) frame_->PushStatusText(text);
}

void WindowUi::PopStatusText() {
  if (frame_) frame_->PopStatusText();
}

void WindowUi::ShowProgress(bool show) {
  if (frame_) frame_->ShowProgress(show);
}

void WindowUi::SetProgressRange(int lower, int upper) {
  if (frame_) frame_->SetProgressRange(lower, upper);
}

void WindowUi::SetProgressPos(int position) {
  if (frame_) frame_->SetProgressPos(position);
}

void WindowUi::BeginWait() {
  wxBeginBusyCursor();
}

void WindowUi::EndWait() {
  wxEndBusyCursor();
}

}  // namespace ulk
