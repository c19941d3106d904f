// The findings list of a translation check.
#include "translator/ui/findings_dlg.h"

#include <algorithm>

#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "translator/exchange/exchange_report.h"
#include "translator/ui/dialog_ids.h"
#include "uikit/list_ctrl_helper.h"
#include "uikit/wx_text.h"

namespace ulk {
namespace {

constexpr const char* kCaption = "Comprobación de traducciones";
constexpr const char* kColumns[] = {"Módulo",  "Idioma",   "Recurso",   "Comprobación",
                                    "Detalle", "Original", "Traducción"};
// Texts can be long: a column is fitted to them, but no wider than this.
constexpr int kMaxColumnWidth = 180;
constexpr int kDetailColumn = 4;

}  // namespace

CFindingsDlg::CFindingsDlg(wxWindow* parent, GoTo goTo)
    : UlkDialog(parent, kDlgFindings, kCaption), goTo_(std::move(goTo)) {
  auto* top = new wxBoxSizer(wxVERTICAL);
  notes_ = new wxStaticText(this, wxID_ANY, wxString());
  top->Add(notes_, 0, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, 10);
  list_ = MakeList(kCtlList, true, wxSize(1090, 300));
  for (const char* column : kColumns) list_->AppendColumn(ToWx(column));
  top->Add(list_, 1, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, 10);
  // The selected finding whole: the list's columns cut long texts short.
  whole_ = new wxTextCtrl(this, kCtlFindingText, wxString(), wxDefaultPosition, wxSize(-1, 72),
                          wxTE_MULTILINE | wxTE_READONLY);
  top->Add(whole_, 0, wxEXPAND | wxALL, 10);
  count_ = MakeCountLine();
  top->Add(count_, 0, wxEXPAND | wxLEFT | wxRIGHT, 10);
  top->Add(MakeButtons("&Ir al recurso", "Cerrar"), 0, wxEXPAND | wxALL, 10);
  SetSizer(top);
  notes_->Hide();
  FitToContents();
  list_->Bind(wxEVT_LIST_ITEM_ACTIVATED, [this](wxListEvent& event) { GoToRow(event.GetIndex()); });
  list_->Bind(wxEVT_LIST_ITEM_SELECTED, [this](wxListEvent& event) { ShowWhole(event.GetIndex()); });
}

const Finding* CFindingsDlg::FindingAt(long row) const {
  if (row < 0 || row >= list_->GetItemCount()) return nullptr;
  const auto index = static_cast<std::size_t>(list_->GetItemData(row));
  return index < result_.findings.size() ? &result_.findings[index] : nullptr;
}

void CFindingsDlg::ShowWhole(long row) {
  const Finding* finding = FindingAt(row);
  whole_->ChangeValue(finding ? ToWx(FindingText(*finding)) : wxString());
}

void CFindingsDlg::SetResult(CheckResult result) {
  result_ = std::move(result);
  list_->Freeze();
  list_->DeleteAllItems();
  whole_->ChangeValue(wxString());
  long row = 0;
  for (const Finding& finding : result_.findings) {
    const std::string texts[] = {finding.moduleFile,        finding.language, finding.key,
                                 CheckLabel(finding.check), finding.detail,   finding.original,
                                 finding.translation};
    list_->InsertItem(row, ToWx(texts[0]));
    for (int column = 1; column < static_cast<int>(std::size(texts)); ++column) {
      list_->SetItem(row, column, ToWx(texts[column]));
    }
    list_->SetItemData(row, row);
    ++row;
  }
  FitColumns();
  list_->Thaw();
  if (row > 0) ListCtrlHelper(list_).SelectRow(0);
  count_->ChangeValue(ToWx(CheckSummary(result_)));
  std::string notes;
  for (const std::string& note : result_.notes) {
    if (!notes.empty()) notes += '\n';
    notes += "Sin comprobar: " + note;
  }
  notes_->SetLabelText(ToWx(notes));
  notes_->Show(!notes.empty());
  Layout();
}

void CFindingsDlg::FitColumns() {
  ListCtrlHelper helper(list_);
  int used = 0;
  for (int column = 0; column < list_->GetColumnCount(); ++column) {
    helper.FitColumn(column);
    list_->SetColumnWidth(column, std::min(list_->GetColumnWidth(column), kMaxColumnWidth));
    used += list_->GetColumnWidth(column);
  }
  // Room left over goes to the detail, the longest text of a finding.
  const int room = list_->GetClientSize().x - used;
  if (room > 0) list_->SetColumnWidth(kDetailColumn, list_->GetColumnWidth(kDetailColumn) + room);
}

bool CFindingsDlg::Accept() {
  GoToRow(list_->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED));
  return false;
}

void CFindingsDlg::GoToRow(long row) {
  const Finding* finding = FindingAt(row);
  if (finding && goTo_) goTo_(*finding);
}

}  // namespace ulk
