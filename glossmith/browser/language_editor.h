// The languages dialog without its window: the languages of the open
// dictionary, and creating, renaming and deleting them. Each change goes
// to the dictionary at once; deleting a language (its texts and every link
// that names one of them) is one transaction.
#pragma once

#include <string>
#include <vector>

#include "glossmith/browser/browser_prompter.h"
#include "glossmith/browser/dictionary_browser.h"
#include "glossmith/db/dictionary_store.h"

namespace ulk {

class LanguageEditor {
 public:
  LanguageEditor(DictionaryStore& store, BrowserPrompter& prompter)
      : store_(store), prompter_(prompter) {}

  // The languages by name; nothing selected afterwards.
  void Fill();
  const std::vector<DictionaryLanguage>& rows() const { return rows_; }
  long selected() const { return selected_; }
  // A row the user selected, or -1.
  void Select(long row);
  bool CanRename() const { return selected_ >= 0; }
  bool CanDelete() const { return selected_ >= 0; }

  void Create();
  void Rename();
  void Delete();

  // True once after the rows (not only the selection) changed.
  bool TakeChanged();

 private:
  // The name the user gave, or none when cancelled or refused (1011, 504).
  bool AskNewName(std::string& name);

  DictionaryStore& store_;
  BrowserPrompter& prompter_;
  std::vector<DictionaryLanguage> rows_;
  long selected_ = -1;
  bool changed_ = false;
};

}  // namespace ulk
