// Message boxes and dialogs for the browser.
#include "glossmith/ui/window_prompter.h"

#include <wx/utils.h>

#include "glossmith/ui/languages_dlg.h"
#include "glossmith/ui/text_dlg.h"
#include "uikit/message_box.h"

namespace ulk::glossmith {

void WindowPrompter::ShowError(const std::string& text) {
  BeforeShowing();
  wxBusyCursorSuspender normalCursor;
  ShowMessageBox(parent_, text, MessageKind::kError);
}

void WindowPrompter::ShowWarning(const std::string& text) {
  BeforeShowing();
  wxBusyCursorSuspender normalCursor;
  ShowMessageBox(parent_, text, MessageKind::kExclamation);
}

void WindowPrompter::ShowInformation(const std::string& text) {
  BeforeShowing();
  wxBusyCursorSuspender normalCursor;
  ShowMessageBox(parent_, text, MessageKind::kInformation);
}

bool WindowPrompter::AskYesNo(const std::string& text) {
  BeforeShowing();
  wxBusyCursorSuspender normalCursor;
  return ShowMessageBox(parent_, text, MessageKind::kQuestion);
}

bool WindowPrompter::EditText(TextDialogFields& fields) {
  BeforeShowing();
  wxBusyCursorSuspender normalCursor;
  CTextDlg dialog(parent_, fields);
  if (dialog.ShowModal() != wxID_OK) {
    fields.text.clear();
    return false;
  }
  fields = dialog.Fields();
  return true;
}

bool WindowPrompter::EditLanguageName(std::string& name) {
  BeforeShowing();
  wxBusyCursorSuspender normalCursor;
  CLanguageNameDlg dialog(parent_, name);
  if (dialog.ShowModal() != wxID_OK) return false;
  name = dialog.Name();
  return true;
}

}  // namespace ulk::glossmith
