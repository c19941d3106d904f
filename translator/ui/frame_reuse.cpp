// The main window's commands over other projects' work: reusing their
// translations, and the analysis of what is left to translate.
#include "platform/files.h"
#include "translator/dictionary/dictionary_component.h"
#include "translator/model/leverage.h"
#include "translator/model/messages.h"
#include "translator/ui/analysis_dlg.h"
#include "translator/ui/file_dialogs.h"
#include "translator/ui/left_view.h"
#include "translator/ui/main_frame.h"
#include "translator/ui/reuse_dlg.h"
#include "translator/ui/translator_app.h"
#include "translator/ui/ulk_doc.h"
#include "translator/ui/ulk_view.h"
#include "uikit/message_box.h"

namespace ulk {

void CMainFrame::ReuseTranslations() {
  if (!HasModules()) return;
  const std::optional<std::string> path = ChooseOtherProject(this, kMsgReuseTitle);
  if (!path) return;
  CReuseTranslationsDlg options(this, std::string(FileNameOf(*path)));
  if (options.ShowModal() != wxID_OK) return;
  ReuseTranslationsFrom(*path, options.Options());
}

bool CMainFrame::ReuseTranslationsFrom(const std::string& path, const LeverageOptions& options) {
  CLeftView* tree = TreeView();
  if (!tree || !tree->Doc()) return false;
  CULKDoc* doc = tree->Doc();
  Project other;
  if (!LoadOtherProject(this, path, other)) return false;
  const std::string name(FileNameOf(path));
  LeverageResult result;
  {
    WaitCursor wait(ui_);
    StatusText status(ui_, FormatMessage(kMsgReusing, name.c_str()));
    // The operation reports what it changed only once changed: the undo
    // step is made from the project as it was.
    const Project before = doc->GetProject();
    result = LeverageTranslations(doc->GetProject(), other, options);
    doc->History().RecordChanges(before, result.changed);
  }
  if (!result.changed.empty()) {
    if (CULKView* list = ListView()) list->Fill();
    doc->EntriesChanged();
  }
  ShowMessageBox(this, FormatMessage(kMsgReuseDone, name.c_str(), LeverageReport(result).c_str()),
                 result.Total() > 0 ? MessageKind::kInformation : MessageKind::kExclamation);
  return true;
}

void CMainFrame::ShowAnalysis() {
  CLeftView* tree = TreeView();
  if (!tree || !tree->Doc() || !HasModules()) return;
  DictionaryComponent* dictionary = TheApp().Dictionary();
  if (dictionary && !dictionary->IsOpened()) dictionary = nullptr;
  CAnalysisDlg dialog(this, tree->Doc()->GetProject(), dictionary, ui_);
  dialog.Analyse();
  dialog.ShowModal();
}

}  // namespace ulk
