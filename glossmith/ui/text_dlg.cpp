// The text dialog.
#include "glossmith/ui/text_dlg.h"

#include <wx/bmpcbox.h>
#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "glossmith/browser/text_types.h"
#include "glossmith/db/glossmith_messages.h"
#include "glossmith/ui/glossmith_art.h"
#include "glossmith/ui/glossmith_ids.h"
#include "uikit/message_box.h"
#include "uikit/wx_text.h"

namespace ulk::glossmith {
namespace {

// Messages look as strings do, forms as dialogs.
const Art kTypeArt[kTextTypeCount] = {Art::kStringType,  Art::kDialogType, Art::kMenuType,
                                      Art::kVersionType, Art::kStringType, Art::kDialogType};

}  // namespace

CTextDlg::CTextDlg(wxWindow* parent, const TextDialogFields& fields)
    : ToolkitDialog(parent, kTextDialog,
                    fields.caption.empty() ? std::string("Modificar texto") : fields.caption),
      fields_(fields) {
  text_ = new wxTextCtrl(this, kTextEdit, ToWx(fields.text), wxDefaultPosition,
                         FromDIP(wxSize(380, 110)), wxTE_MULTILINE);
  type_ = new wxBitmapComboBox(this, kTypePicker, wxString(), wxDefaultPosition, wxDefaultSize, 0,
                               nullptr, wxCB_READONLY);
  for (int i = 0; i < kTextTypeCount; ++i) {
    type_->Append(ToWx(GlossmithMessageText(kTextTypes[i].nameId)),
                  ArtImage(kTypeArt[i]).GetBitmap(FromDIP(wxSize(16, 16))));
  }
  type_->SetSelection(std::max(0, TextTypeIndex(fields.type)));
  // The toolkit measures the picker without its image and would cut it.
  type_->SetMinSize(wxSize(type_->GetBestSize().x + FromDIP(40), -1));
  type_->Enable(fields.typeChangeable);

  auto* ok = new wxButton(this, wxID_OK, ToWx("&OK"));
  auto* cancel = new wxButton(this, wxID_CANCEL, ToWx("&Cancelar"));
  ok->SetDefault();

  auto* grid = new wxFlexGridSizer(2, FromDIP(wxSize(8, 8)));
  grid->AddGrowableCol(1);
  grid->AddGrowableRow(0);
  grid->Add(new wxStaticText(this, wxID_ANY, ToWx("Texto:")), 0, wxALIGN_TOP | wxTOP, 3);
  grid->Add(text_, 1, wxEXPAND);
  grid->Add(new wxStaticText(this, wxID_ANY, ToWx("Tipo:")), 0, wxALIGN_CENTER_VERTICAL);
  grid->Add(type_, 0);
  auto* buttons = new wxBoxSizer(wxHORIZONTAL);
  buttons->AddStretchSpacer();
  buttons->Add(ok, 0, wxRIGHT, FromDIP(6));
  buttons->Add(cancel);
  auto* top = new wxBoxSizer(wxVERTICAL);
  top->Add(grid, 1, wxEXPAND | wxALL, FromDIP(10));
  top->Add(buttons, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, FromDIP(10));
  SetSizerAndFit(top);
  SetMinTrackSize(GetSize().x, GetSize().y);

  Bind(
      wxEVT_BUTTON, [this](wxCommandEvent&) { OnOk(); }, wxID_OK);
  // Return makes a new line in the text; Ctrl+Return accepts the dialog.
  text_->Bind(wxEVT_KEY_DOWN, [this](wxKeyEvent& event) {
    if (event.GetKeyCode() == WXK_RETURN && event.ControlDown()) {
      OnOk();
      return;
    }
    event.Skip();
  });
  text_->SetFocus();
  text_->SetInsertionPointEnd();
  CentreOnParent();
}

TextDialogFields CTextDlg::Fields() const {
  TextDialogFields fields = fields_;
  const int index = type_->GetSelection();
  fields.type = index >= 0 && index < kTextTypeCount ? kTextTypes[index].code : "";
  fields.text = FromWx(text_->GetValue());
  return fields;
}

void CTextDlg::OnOk() {
  if (!IsValidTypeCode(Fields().type)) {
    ShowMessageBox(this, GlossmithMessageText(kGlossTypeTooLong), MessageKind::kExclamation);
    return;
  }
  EndModal(wxID_OK);
}

}  // namespace ulk::glossmith
