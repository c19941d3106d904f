// Message boxes with Spanish buttons whatever GTK's own language.
#include "uikit/message_box.h"

#include <wx/app.h>
#include <wx/msgdlg.h>

#include "uikit/wx_text.h"

namespace ulk {
namespace {

std::string& Caption() {
  static std::string caption;
  return caption;
}

long StyleOf(MessageKind kind) {
  switch (kind) {
    case MessageKind::kError:
      return wxOK | wxICON_ERROR;
    case MessageKind::kExclamation:
      return wxOK | wxICON_EXCLAMATION;
    case MessageKind::kQuestion:
      return wxYES_NO | wxICON_QUESTION;
    case MessageKind::kInformation:
      break;
  }
  return wxOK | wxICON_INFORMATION;
}

}  // namespace

void SetMessageBoxCaption(const std::string& caption) {
  Caption() = caption;
}

namespace {

wxString CaptionText() {
  return Caption().empty() && wxTheApp ? wxTheApp->GetAppDisplayName() : ToWx(Caption());
}

}  // namespace

bool ShowMessageBox(wxWindow* parent, const std::string& text, MessageKind kind) {
  if (!parent && wxTheApp) parent = wxTheApp->GetTopWindow();
  wxMessageDialog dialog(parent, ToWx(text), CaptionText(), StyleOf(kind));
  dialog.SetYesNoLabels(ToWx("&Sí"), ToWx("&No"));
  dialog.SetOKLabel(ToWx("Aceptar"));
  const int answer = dialog.ShowModal();
  return answer == wxID_YES || answer == wxID_OK;
}

MessageAnswer AskYesNoCancel(wxWindow* parent, const std::string& text) {
  if (!parent && wxTheApp) parent = wxTheApp->GetTopWindow();
  wxMessageDialog dialog(parent, ToWx(text), CaptionText(),
                         wxYES_NO | wxCANCEL | wxICON_EXCLAMATION);
  dialog.SetYesNoCancelLabels(ToWx("&Sí"), ToWx("&No"), ToWx("Cancelar"));
  switch (dialog.ShowModal()) {
    case wxID_YES:
      return MessageAnswer::kYes;
    case wxID_NO:
      return MessageAnswer::kNo;
    default:
      return MessageAnswer::kCancel;
  }
}

}  // namespace ulk
