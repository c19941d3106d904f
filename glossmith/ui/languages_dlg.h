// The languages dialog (create, rename and delete the languages of the open
// dictionary) and the small dialog that asks for a language's name.
#pragma once

#include <string>

#include "glossmith/browser/language_editor.h"
#include "glossmith/ui/window_prompter.h"
#include "uikit/toolkit_dialog.h"

class wxTextCtrl;

namespace ulk {
class StripedListCtrl;
}  // namespace ulk

namespace ulk::glossmith {

class CLanguageNameDlg : public ToolkitDialog {
 public:
  // Names longer than the stored column (255 characters) cannot be typed.
  static constexpr int kMaxNameLength = 255;

  CLanguageNameDlg(wxWindow* parent, const std::string& name);
  std::string Name() const;
  wxTextCtrl* nameEdit() const { return name_; }

 private:
  wxTextCtrl* name_ = nullptr;
};

class CLanguagesDlg : public ToolkitDialog {
 public:
  // Every change goes to `store` at once.
  CLanguagesDlg(wxWindow* parent, DictionaryStore& store);

  LanguageEditor& editor() { return editor_; }
  StripedListCtrl* list() const { return list_; }

 private:
  void Run(void (LanguageEditor::*command)());
  // Shows the editor's rows and selection.
  void ShowLanguages();

  WindowPrompter prompter_;
  LanguageEditor editor_;
  StripedListCtrl* list_ = nullptr;
  bool showing_ = false;
};

}  // namespace ulk::glossmith
