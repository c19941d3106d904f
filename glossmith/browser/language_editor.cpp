// Creating, renaming and deleting languages.
#include "glossmith/browser/language_editor.h"

#include "glossmith/db/glossmith_messages.h"
#include "platform/stored_text.h"

namespace ulk {

void LanguageEditor::Fill() {
  rows_.clear();
  selected_ = -1;
  changed_ = true;
  rows_ = store_.ListLanguages();
}

void LanguageEditor::Select(long row) {
  selected_ = row >= 0 && row < static_cast<long>(rows_.size()) ? row : -1;
}

bool LanguageEditor::TakeChanged() {
  const bool changed = changed_;
  changed_ = false;
  return changed;
}

bool LanguageEditor::AskNewName(std::string& name) {
  if (!prompter_.EditLanguageName(name)) return false;
  if (name.empty()) {
    prompter_.ShowError(GlossmithMessageText(kGlossEmptyLanguageName));
    return false;
  }
  if (const TextProblem problem = CheckStoredText(name)) {
    prompter_.ShowError(GlossmithMessage(kGlossCannotStoreText, problem.what));
    return false;
  }
  // Any language of that name, the one being renamed included.
  if (store_.FindLanguage(name)) {
    prompter_.ShowWarning(GlossmithMessageText(kGlossLanguageExists));
    return false;
  }
  return true;
}

void LanguageEditor::Create() {
  std::string name;
  if (!AskNewName(name)) return;
  if (!store_.AddLanguage(name)) {
    prompter_.ShowError(GlossmithMessageText(kGlossCannotCreateLanguage));
    return;
  }
  Fill();
}

void LanguageEditor::Rename() {
  if (selected_ < 0) return;
  DictionaryLanguage& row = rows_[static_cast<std::size_t>(selected_)];
  std::string name = row.name;
  if (!AskNewName(name)) return;
  if (!store_.RenameLanguage(row.id, name)) {
    prompter_.ShowError(GlossmithMessageText(kGlossCannotRenameLanguage));
    return;
  }
  row.name = name;
  changed_ = true;
}

void LanguageEditor::Delete() {
  if (selected_ < 0) return;
  const DictionaryLanguage row = rows_[static_cast<std::size_t>(selected_)];
  if (!prompter_.AskYesNo(GlossmithMessage(kGlossAskDeleteLanguage, row.name))) return;
  if (!store_.DeleteLanguage(row.id)) {
    prompter_.ShowError(GlossmithMessageText(kGlossCannotDeleteLanguage));
    return;
  }
  Fill();
}

}  // namespace ulk
