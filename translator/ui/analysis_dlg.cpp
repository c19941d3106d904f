// The analysis window: one table row per module, language and band.
#include "translator/ui/analysis_dlg.h"

#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include "platform/files.h"
#include "platform/system_error.h"
#include "translator/dictionary/dictionary_component.h"
#include "translator/model/messages.h"
#include "translator/ui/dialog_ids.h"
#include "translator/ui/file_dialogs.h"
#include "uikit/list_ctrl_helper.h"
#include "uikit/message_box.h"
#include "uikit/wx_text.h"

namespace ulk {
namespace {

constexpr const char* kColumns[] = {"Módulo", "Idioma",   "Banda",
                                    "Textos", "Palabras", "Caracteres"};
constexpr int kFirstNumberColumn = 3;
constexpr int kScrollBarRoom = 28;

}  // namespace

CAnalysisDlg::CAnalysisDlg(wxWindow* parent, const Project& project,
                           DictionaryComponent* dictionary, OperationUi& progress)
    : UlkDialog(parent, kDlgAnalysis, "Análisis del proyecto"),
      project_(project),
      dictionary_(dictionary),
      progress_(progress) {
  auto* top = new wxBoxSizer(wxVERTICAL);
  sources_ = new wxStaticText(this, kCtlAnalysisSources, wxString());
  top->Add(sources_, 0, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, 10);
  table_ = MakeList(kCtlList, true, wxSize(560, 380));
  for (int column = 0; column < static_cast<int>(std::size(kColumns)); ++column) {
    table_->AppendColumn(ToWx(kColumns[column]),
                         column >= kFirstNumberColumn ? wxLIST_FORMAT_RIGHT : wxLIST_FORMAT_LEFT);
  }
  top->Add(table_, 1, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, 10);

  auto* buttons = new wxBoxSizer(wxHORIZONTAL);
  auto* compare = new wxButton(this, kCtlCompare, ToWx("C&omparar con otro proyecto..."));
  auto* save = new wxButton(this, kCtlSaveCsv, ToWx("&Guardar como CSV..."));
  buttons->Add(compare, 0, wxRIGHT, 8);
  buttons->Add(save, 0, wxRIGHT, 8);
  // "Cerrar" alone: Return and Escape both close.
  buttons->Add(MakeButtons("Cerrar", ""), 1, wxEXPAND);
  top->Add(buttons, 0, wxEXPAND | wxALL, 10);
  SetSizer(top);
  sources_->SetLabelText(ToWx(SourcesText()));
  FitToContents();

  Bind(
      wxEVT_BUTTON,
      [this](wxCommandEvent&) {
        if (const auto path = ChooseOtherProject(this, kMsgCompareTitle)) CompareWith(*path);
      },
      kCtlCompare);
  Bind(
      wxEVT_BUTTON,
      [this](wxCommandEvent&) {
        if (const auto path = ChooseCsvFile(this)) SaveCsv(*path);
      },
      kCtlSaveCsv);
}

std::string CAnalysisDlg::SourcesText() const {
  std::string text = "Comparado con: ";
  if (dictionary_) text += "el diccionario " + std::string(FileNameOf(dictionary_->path()));
  if (dictionary_ && !otherName_.empty()) text += " y ";
  if (!otherName_.empty()) text += "el proyecto " + otherName_;
  if (!dictionary_ && otherName_.empty()) {
    text +=
        "nada (sin diccionario abierto ni otro proyecto: solo se cuentan los textos ya "
        "traducidos, las repeticiones y los nuevos)";
  }
  return text;
}

void CAnalysisDlg::Analyse() {
  AnalysisSources sources;
  sources.dictionary = dictionary_;
  sources.other = otherName_.empty() ? nullptr : &other_;
  {
    WaitCursor wait(progress_);
    StatusText status(progress_, MessageText(kMsgAnalysing));
    report_ = AnalyseProject(project_, nullptr, sources, progress_);
  }
  sources_->SetLabelText(ToWx(SourcesText()));
  FillTable();
  Layout();
}

void CAnalysisDlg::FillTable() {
  table_->Freeze();
  table_->DeleteAllItems();
  long row = 0;
  const auto addRow = [this, &row](const AnalysisLine& line, const std::string& band,
                                   const AnalysisCounts& counts) {
    table_->InsertItem(row, ToWx(line.module.empty() ? "(proyecto)" : line.module));
    const std::string cells[] = {line.language, band, std::to_string(counts.texts),
                                 std::to_string(counts.words), std::to_string(counts.characters)};
    for (int column = 1; column <= static_cast<int>(std::size(cells)); ++column) {
      table_->SetItem(row, column, ToWx(cells[column - 1]));
    }
    ++row;
  };
  for (const AnalysisLine& line : report_.lines) {
    for (std::size_t band = 0; band < kBandCount; ++band) {
      addRow(line, AnalysisBandLabel(static_cast<AnalysisBand>(band)), line.bands[band]);
    }
    addRow(line, "Total", line.Total());
  }
  // Each column as wide as its texts, none stretched (a wide column of
  // right-aligned numbers puts them far from their band); the table as wide
  // as its columns and a scroll bar, so that nothing is cut.
  ListCtrlHelper helper(table_);
  int used = 0;
  for (int column = 0; column < table_->GetColumnCount(); ++column) {
    helper.FitColumn(column, true);
    used += table_->GetColumnWidth(column);
  }
  table_->Thaw();
  const int wanted = used + kScrollBarRoom;
  if (table_->GetMinSize().x < wanted) {
    table_->SetMinSize(wxSize(wanted, table_->GetMinSize().y));
    FitToContents();
  }
}

bool CAnalysisDlg::CompareWith(const std::string& path) {
  Project other;
  if (!LoadOtherProject(this, path, other)) return false;
  other_ = std::move(other);
  otherName_ = std::string(FileNameOf(path));
  Analyse();
  return true;
}

bool CAnalysisDlg::SaveCsv(const std::string& path) {
  if (const int error = WriteFileAtomically(path, AnalysisCsv(report_)); error != 0) {
    ShowMessageBox(
        this,
        FormatMessage(kMsgErrorSavingAnalysis, path.c_str(), SystemErrorText(error, path).c_str()),
        MessageKind::kError);
    return false;
  }
  return true;
}

}  // namespace ulk
