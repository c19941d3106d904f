// The window's side of the exchange with translators' tools, of the
// pseudo-translation and of the translation checks: choose the language and
// the file, run the operation, refresh the rows and say what happened.
#include <wx/filedlg.h>

#include "platform/files.h"
#include "translator/exchange/exchange_report.h"
#include "translator/model/messages.h"
#include "translator/ui/command_ids.h"
#include "translator/ui/file_dialogs.h"
#include "translator/ui/findings_dlg.h"
#include "translator/ui/language_dialogs.h"
#include "translator/ui/left_view.h"
#include "translator/ui/main_frame.h"
#include "translator/ui/translator_app.h"
#include "translator/ui/ulk_doc.h"
#include "translator/ui/ulk_view.h"
#include "uikit/list_ctrl_helper.h"
#include "uikit/message_box.h"
#include "uikit/wx_text.h"

namespace ulk {
namespace {

void Tell(wxWindow* parent, const std::string& text, MessageKind kind) {
  ShowMessageBox(parent, text, kind);
}

// The folder and name a file dialog starts from.
wxString FolderPart(const std::string& path) {
  const std::string_view folder = FolderOf(path);
  return folder.size() == path.size() ? wxString() : ToWx(std::string(folder));
}

}  // namespace

bool CULKView::CanExchange() const {
  const Module* module = CurrentModule();
  return module && module->LanguageCount() > 1;
}

std::string CULKView::ChooseTargetLanguage() {
  const Module* module = CurrentModule();
  if (!module) return {};
  const std::vector<std::string> names = TargetLanguageNames(*module);
  if (names.size() == 1) return names.front();
  if (names.empty()) return {};
  return RunLanguageSelect(GetFrame(), names);
}

void CULKView::OnExportLanguage() {
  const Module* module = CurrentModule();
  const std::string language = ChooseTargetLanguage();
  if (!module || language.empty()) return;
  const std::string suggested = SuggestedExchangePath(*module, language, ExchangeFormat::kXliff);
  wxFileDialog dialog(GetFrame(), ToWx(MessageText(kMsgExportTitle)), FolderPart(suggested),
                      ToWx(std::string(FileNameOf(suggested))),
                      FileDialogFilter(kMsgExchangeSaveFilter), wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
  if (dialog.ShowModal() != wxID_OK) return;
  const ExchangeFormat format =
      dialog.GetFilterIndex() == 1 ? ExchangeFormat::kPo : ExchangeFormat::kXliff;
  ExportLanguageTo(language, WithExchangeExtension(FromWx(dialog.GetPath()), format));
}

bool CULKView::ExportLanguageTo(const std::string& language, const std::string& path) {
  const Module* module = CurrentModule();
  if (!module) return false;
  ExportResult result;
  {
    WaitCursor wait(TheApp().MainFrame()->Ui());
    StatusText status(TheApp().MainFrame()->Ui(),
                      FormatMessage(kMsgExporting, std::string(FileNameOf(path)).c_str()));
    result = ExportTranslations(Doc()->GetProject(), *module, language, path);
  }
  if (!result.ok) {
    Tell(GetFrame(), FormatMessage(kMsgErrorExporting, result.message.c_str()),
         MessageKind::kError);
    return false;
  }
  const bool incomplete = !result.omitted.empty() || !result.sizesProblem.empty();
  Tell(GetFrame(), ExportReport(result, path),
       incomplete ? MessageKind::kExclamation : MessageKind::kInformation);
  return true;
}

void CULKView::OnImportLanguage() {
  const Module* module = CurrentModule();
  const std::string language = ChooseTargetLanguage();
  if (!module || language.empty()) return;
  const std::string suggested = SuggestedExchangePath(*module, language, ExchangeFormat::kXliff);
  wxFileDialog dialog(GetFrame(), ToWx(MessageText(kMsgImportTitle)), FolderPart(suggested),
                      wxString(), FileDialogFilter(kMsgExchangeOpenFilter),
                      wxFD_OPEN | wxFD_FILE_MUST_EXIST);
  if (dialog.ShowModal() != wxID_OK) return;
  ImportLanguageFrom(language, FromWx(dialog.GetPath()));
}

bool CULKView::ImportLanguageFrom(const std::string& language, const std::string& path) {
  Module* module = CurrentModule();
  if (!module) return false;
  ImportResult result;
  {
    WaitCursor wait(TheApp().MainFrame()->Ui());
    StatusText status(TheApp().MainFrame()->Ui(),
                      FormatMessage(kMsgImporting, std::string(FileNameOf(path)).c_str()));
    result = ImportTranslations(*module, language, path, &Doc()->History());
  }
  if (!result.ok) {
    Tell(GetFrame(), FormatMessage(kMsgErrorImporting, result.message.c_str()),
         MessageKind::kError);
    return false;
  }
  RefreshRowsOfKeys(result.changedKeys);
  Tell(GetFrame(), FormatMessage(kMsgImportDone, ImportReport(result).c_str()),
       ImportNeedsAttention(result) ? MessageKind::kExclamation : MessageKind::kInformation);
  return true;
}

void CULKView::OnPseudoTranslate() {
  const Module* module = CurrentModule();
  const std::string language = ChooseTargetLanguage();
  if (!module || language.empty()) return;
  if (!ShowMessageBox(GetFrame(), PseudoQuestion(language, TranslatedCount(*module, language)),
                      MessageKind::kQuestion)) {
    return;
  }
  PseudoTranslateLanguage(language);
}

bool CULKView::PseudoTranslateLanguage(const std::string& language) {
  Module* module = CurrentModule();
  if (!module) return false;
  const PseudoResult result =
      PseudoTranslate(*module, language, kDefaultPseudoExpansion, &Doc()->History());
  if (!result.ok) {
    Tell(GetFrame(), FormatMessage(kMsgErrorPseudoTranslating, result.message.c_str()),
         MessageKind::kError);
    return false;
  }
  RefreshRowsOfKeys(result.changedKeys);
  return true;
}

void CULKView::RefreshRowsOfKeys(const std::vector<std::string>& keys) {
  if (keys.empty()) return;
  SuspendRedraw();
  for (const std::string& key : keys) RefreshRowOfKey(key);
  ResumeRedraw();
  Doc()->EntriesChanged();
}

bool CULKView::SelectKey(const std::string& key) {
  const long row = FindRowOfKey(key);
  if (row < 0) return false;
  SelectRowOnly(row);
  list_->EnsureVisible(row);
  list_->SetFocus();
  return true;
}

// ---- The checks ----------------------------------------------------------

void CMainFrame::RunTranslationCheck(bool selectedModuleOnly) {
  CLeftView* tree = TreeView();
  if (!tree || !tree->Doc()) return;
  const Project& project = tree->Doc()->GetProject();
  const Module* module = selectedModuleOnly ? tree->GetSelectedModule() : nullptr;
  if (selectedModuleOnly && !module) return;
  CheckResult result;
  {
    WaitCursor wait(ui_);
    StatusText status(ui_, MessageText(kMsgCheckingTranslations));
    result = CheckTranslations(project, module, nullptr, ui_);
  }
  if (!findings_) {
    findings_ = new CFindingsDlg(this, [this](const Finding& finding) { GoToFinding(finding); });
  }
  findings_->SetResult(std::move(result));
  findings_->Show();
  findings_->Raise();
}

bool CMainFrame::GoToFinding(const Finding& finding) {
  CLeftView* tree = TreeView();
  CULKView* list = ListView();
  if (!tree || !list || !tree->Doc()) return false;
  Module* module = tree->Doc()->GetProject().FindModuleById(finding.moduleId);
  // A module removed (or another project opened) since the check.
  if (!module || module->FileName() != finding.moduleFile) {
    ShowMessageBox(this, FormatMessage(kMsgFindingModuleGone, finding.moduleFile.c_str()),
                   MessageKind::kExclamation);
    return false;
  }
  Raise();
  if (tree->GetSelectedModule() != module || list->FindRowOfKey(finding.key) < 0) {
    // The module's node lists all its texts.
    tree->SelectNode(module->id);
  }
  if (!list->SelectKey(finding.key)) {
    ShowMessageBox(this, FormatMessage(kMsgFindingKeyGone, finding.key.c_str()),
                   MessageKind::kExclamation);
    return false;
  }
  return true;
}

bool CMainFrame::HasModules() const {
  const CLeftView* tree = TreeView();
  return tree && tree->HasModules();
}

bool CMainFrame::HasSelectedModule() const {
  const CLeftView* tree = TreeView();
  return tree && tree->HasSelectedModule();
}

}  // namespace ulk
