// The windows the main window opens: property dialogs, user languages, the
// translation dialog and the resource preview.
#include "translator/ui/dialog_hooks.h"

#include "translator/ui/language_dialogs.h"
#include "translator/ui/layout_editor_dlg.h"
#include "translator/ui/preview/preview_hosts.h"
#include "translator/ui/property_dialogs.h"
#include "translator/ui/translation_dlg.h"
#include "translator/ui/translator_app.h"

namespace ulk {

bool RunProjectPropertiesDialog(Project& project, wxWindow* parent) {
  return RunProjectProperties(project, parent);
}

bool RunModulePropertiesDialog(Project& project, int moduleId, wxWindow* parent) {
  return RunModuleProperties(project, moduleId, parent);
}

void RunUserLanguagesDialog(wxWindow* parent) {
  CUserLanguagesDlg dialog(parent);
  dialog.ShowModal();
}

bool RunTranslationDialog(Module& module, const std::string& key, wxWindow* parent) {
  return RunTranslation(module, key, parent);
}

void ShowResourcePreview(const Module& module, const std::string& resourceKey, bool translated,
                         wxWindow* parent) {
  if (!translated) {
    ShowOriginalPreview(module, resourceKey, parent);
    return;
  }
  const PreviewLanguageChooser choose = [parent](const std::vector<std::string>& names) {
    return RunLanguageSelect(parent, names);
  };
  ShowTranslatedPreview(module, resourceKey, choose, TheApp().templateLibraryPath(),
                        TheApp().previewOutputPath(), parent);
}

bool EditDialogLayout(Module& module, const std::string& dialogKey, UndoHistory& history,
                      wxWindow* parent) {
  const std::vector<std::string> names = PreviewLanguageNames(module);
  if (names.empty()) return false;
  const std::string language = names.size() == 1 ? names.front() : RunLanguageSelect(parent, names);
  if (language.empty()) return false;
  return RunLayoutEditor(module, dialogKey, language, history, parent);
}

}  // namespace ulk
