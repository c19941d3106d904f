// The languages dialog and the language-name dialog.
#include "glossmith/ui/languages_dlg.h"

#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "glossmith/db/glossmith_messages.h"
#include "glossmith/ui/glossmith_art.h"
#include "glossmith/ui/glossmith_ids.h"
#include "uikit/command_id.h"
#include "uikit/list_ctrl_helper.h"
#include "uikit/striped_list.h"
#include "uikit/wx_text.h"

namespace ulk::glossmith {
namespace {

// The list of languages: even rows light blue, odd rows white.
StripedListCtrl* NewLanguageList(wxWindow* parent) {
  auto* list = new StripedListCtrl(parent, kLanguagesList,
                                   wxLC_SINGLE_SEL | wxLC_HRULES | wxLC_VRULES | wxBORDER_SUNKEN);
  list->SetRowColours(wxColour(224, 224, 255), *wxWHITE);
  return list;
}

wxSizer* OkCancelButtons(wxWindow* parent, bool withCancel) {
  auto* ok = new wxButton(parent, wxID_OK, ToWx("&OK"));
  ok->SetDefault();
  auto* buttons = new wxBoxSizer(wxHORIZONTAL);
  buttons->AddStretchSpacer();
  buttons->Add(ok);
  if (withCancel) {
    buttons->Add(new wxButton(parent, wxID_CANCEL, ToWx("&Cancelar")), 0, wxLEFT,
                 parent->FromDIP(6));
  }
  return buttons;
}

}  // namespace

CLanguageNameDlg::CLanguageNameDlg(wxWindow* parent, const std::string& name)
    : ToolkitDialog(parent, kLanguageNameDialog, "Nombre del idioma", wxDEFAULT_DIALOG_STYLE) {
  name_ = new wxTextCtrl(this, kTextEdit, ToWx(name), wxDefaultPosition, FromDIP(wxSize(260, -1)));
  name_->SetMaxLength(kMaxNameLength);
  auto* row = new wxBoxSizer(wxHORIZONTAL);
  row->Add(new wxStaticText(this, wxID_ANY, ToWx("Texto:")), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT,
           FromDIP(8));
  row->Add(name_, 1, wxEXPAND);
  auto* top = new wxBoxSizer(wxVERTICAL);
  top->Add(row, 0, wxEXPAND | wxALL, FromDIP(10));
  top->Add(OkCancelButtons(this, true), 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, FromDIP(10));
  SetSizerAndFit(top);
  name_->SetFocus();
  name_->SelectAll();
  CentreOnParent();
}

std::string CLanguageNameDlg::Name() const {
  return FromWx(name_->GetValue());
}

CLanguagesDlg::CLanguagesDlg(wxWindow* parent, DictionaryStore& store)
    : ToolkitDialog(parent, kLanguagesDialog, "Idiomas"),
      prompter_(this),
      editor_(store, prompter_) {
  auto* placeholder = new wxWindow(this, kLanguagesToolbarPlace);
  list_ = NewLanguageList(this);
  list_->SetSource({[this](long row, long column) -> std::string_view {
                      const DictionaryLanguage& language =
                          editor_.rows()[static_cast<std::size_t>(row)];
                      return column == 0 ? language.id : language.name;
                    },
                    nullptr});
  list_->AppendColumn(ToWx(GlossmithMessageText(kGlossIdHeader)), wxLIST_FORMAT_LEFT, 0);
  list_->AppendColumn(ToWx(GlossmithMessageText(kGlossNameHeader)));

  auto* top = new wxBoxSizer(wxVERTICAL);
  top->Add(placeholder, 0, wxLEFT | wxRIGHT | wxTOP, FromDIP(7));
  top->Add(list_, 1, wxEXPAND | wxALL, FromDIP(7));
  top->Add(OkCancelButtons(this, false), 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, FromDIP(7));
  SetSizer(top);

  auto* toolbar = new DialogToolbar();
  toolbar->CreateInPlaceOf(this, kLanguagesToolbarPlace,
                           {kLanguagesToolbar,
                            {{kCmdCreateLanguage, CommandImage(kCmdCreateLanguage, 24)},
                             {0, {}},
                             {kCmdRenameLanguage, CommandImage(kCmdRenameLanguage, 24)},
                             {kCmdDeleteLanguage, CommandImage(kCmdDeleteLanguage, 24)}}});
  SetSize(ConvertDialogToPixels(wxSize(267, 191)));
  SetMinTrackSize(GetSize().x / 2, GetSize().y / 2);
  SetEscapeId(wxID_OK);

  Bind(
      wxEVT_TOOL, [this](wxCommandEvent&) { Run(&LanguageEditor::Create); },
      WxId(kCmdCreateLanguage));
  Bind(
      wxEVT_TOOL, [this](wxCommandEvent&) { Run(&LanguageEditor::Rename); },
      WxId(kCmdRenameLanguage));
  Bind(
      wxEVT_TOOL, [this](wxCommandEvent&) { Run(&LanguageEditor::Delete); },
      WxId(kCmdDeleteLanguage));
  Bind(
      wxEVT_UPDATE_UI, [this](wxUpdateUIEvent& event) { event.Enable(editor_.CanRename()); },
      WxId(kCmdRenameLanguage));
  Bind(
      wxEVT_UPDATE_UI, [this](wxUpdateUIEvent& event) { event.Enable(editor_.CanDelete()); },
      WxId(kCmdDeleteLanguage));
  list_->Bind(wxEVT_LIST_ITEM_SELECTED, [this](wxListEvent& event) {
    if (!showing_) editor_.Select(event.GetIndex());
  });
  list_->Bind(wxEVT_LIST_ITEM_DESELECTED, [this](wxListEvent&) {
    if (!showing_) editor_.Select(list_->SelectedRow());
  });
  list_->Bind(wxEVT_LIST_ITEM_ACTIVATED, [this](wxListEvent& event) {
    editor_.Select(event.GetIndex());
    Run(&LanguageEditor::Rename);
  });
  list_->Bind(wxEVT_SIZE, [this](wxSizeEvent& event) {
    event.Skip();
    ListCtrlHelper(list_).ShareWidth(1);
  });

  editor_.Fill();
  ShowLanguages();
  Layout();
  ListCtrlHelper(list_).ShareWidth(1);
  list_->SetFocus();
  CentreOnParent();
}

void CLanguagesDlg::Run(void (LanguageEditor::*command)()) {
  (editor_.*command)();
  ShowLanguages();
}

void CLanguagesDlg::ShowLanguages() {
  showing_ = true;
  if (editor_.TakeChanged()) list_->ShowRowCount(static_cast<long>(editor_.rows().size()));
  list_->SetSelectedRow(editor_.selected());
  showing_ = false;
}

}  // namespace ulk::glossmith
