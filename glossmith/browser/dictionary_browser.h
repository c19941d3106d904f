// The administrator's browser without its window: the open dictionary, the
// two language selectors, the texts of the source language and the
// translations of the selected text, with the commands that change them.
// Every change goes to the dictionary at once. The window shows what this
// holds, reports the user's selections here and applies the changes it
// takes from TakeChanges; messages and dialogs go through the prompter.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "glossmith/browser/browser_prompter.h"
#include "glossmith/browser/text_rows.h"
#include "glossmith/db/dictionary_store.h"
#include "glossmith/exchange/tmx_exchange.h"

namespace ulk {

// Which buttons are enabled (the open and filter buttons always are).
struct BrowserCommandStates {
  bool addText = false;
  bool editText = false;  // also delete text
  bool find = false;
  bool addTranslation = false;
  bool editTranslation = false;  // also delete translation
  bool languages = false;
  bool exchange = false;  // TMX import and export
};

struct FindSettings {
  std::string text;
  bool matchCase = false;
  bool down = true;
};

// What changed since the window last looked.
struct BrowserChanges {
  bool title = false;
  bool selectors = false;     // the names or the selected entries
  bool texts = false;         // the rows or the selection of the texts list
  bool translations = false;  // the same for the translations list
  long revealText = -1;       // a texts row to scroll into view
  long revealTranslation = -1;
};

class DictionaryBrowser {
 public:
  DictionaryBrowser(BrowserPrompter& prompter);
  DictionaryBrowser(const DictionaryBrowser&) = delete;
  DictionaryBrowser& operator=(const DictionaryBrowser&) = delete;

  // Closes the dictionary in use, then opens (or creates, when there is no
  // such file) the one at `path`. A file that cannot be opened (1010) or is
  // no dictionary (1002) leaves the browser closed. True when open.
  bool Open(const std::string& path);
  void Close();
  bool IsOpen() const { return connection_.IsOpen(); }
  // The open dictionary's path as given to Open; "" when none is open.
  const std::string& path() const { return path_; }
  // "Glossmith", or "Glossmith [name.dic]" while a dictionary is open.
  const std::string& title() const { return title_; }

  const std::vector<DictionaryLanguage>& languages() const { return languages_; }
  int source() const { return source_; }
  int target() const { return target_; }
  // A selector's entry (-1: none) chosen by the user: the texts list is
  // filled and its first row selected, or the translations list refilled
  // and its first row selected.
  void SelectSource(int index);
  void SelectTarget(int index);

  const TextRows& texts() const { return texts_; }
  const TextRows& translations() const { return translations_; }
  long selectedText() const { return selectedText_; }
  long selectedTranslation() const { return selectedTranslation_; }
  // A row the user selected (-1: the selection went away). Selecting a text
  // refills the translations list.
  void SelectText(long row);
  void SelectTranslation(long row);

  // The commands of the texts and translations lists. Each does nothing
  // when its button would be disabled.
  void AddText();
  void EditText(long row);
  void DeleteText();
  void AddTranslation();
  void EditTranslation(long row);
  void DeleteTranslation();

  // "" shows every type.
  void SetFilter(std::string_view code);
  const std::string& filter() const { return filter_; }

  FindSettings& find() { return find_; }
  // Selects the next texts row holding the find text, wrapping around the
  // list; false (and the selection kept) when none does.
  bool FindNext();

  BrowserCommandStates CommandStates() const;

  // TMX exchange of the open dictionary (nothing when none is open); the
  // counts, or why nothing was done, are shown. An import is one step: a
  // failure leaves the dictionary as it was. After it the selectors and
  // lists are filled again, the languages chosen before kept where they
  // still exist. True when done.
  bool ExportToTmx(const std::string& path, const TmxProgress& progress = {});
  bool ImportFromTmx(const std::string& path, const TmxProgress& progress = {});

  // After the languages dialog: the selectors filled again, the remembered
  // names selected where they still exist, the lists refilled.
  std::string SourceName() const;
  std::string TargetName() const;
  void ReloadLanguages(const std::string& sourceName, const std::string& targetName);

  BrowserChanges TakeChanges();

  DictionaryConnection& connection() { return connection_; }
  DictionaryStore& store() { return store_; }

 private:
  const std::string& LanguageId(int index) const;
  void ClearAll();
  void FillSelectors();
  void FillTexts();
  void FillTranslations();
  void SelectFirstText();
  void SelectFirstTranslation();
  // Runs one change in a managed transaction: rolled back when `change`
  // returns false or the commit fails.
  template <typename Change>
  bool InTransaction(Change change);
  void EditRow(bool translation, long row);
  // The text dialog for a new text or translation; "" when cancelled or
  // refused.
  std::string AskNewText(int captionId, std::string& type, bool typeChangeable);
  // The stored form of what the text dialog holds; "" (the reason shown)
  // when no dictionary may hold it.
  std::string Stored(const std::string& edited);

  BrowserPrompter& prompter_;
  DictionaryConnection connection_;
  DictionaryStore store_;
  std::string title_;
  std::string path_;
  std::vector<DictionaryLanguage> languages_;
  int source_ = -1;
  int target_ = -1;
  std::string filter_;
  TextRows texts_;
  TextRows translations_;
  long selectedText_ = -1;
  long selectedTranslation_ = -1;
  FindSettings find_;
  BrowserChanges changes_;
};

}  // namespace ulk
