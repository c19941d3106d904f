// The browser's operations.
#include "glossmith/browser/dictionary_browser.h"

#include <algorithm>

#include "glossmith/browser/text_types.h"
#include "glossmith/browser/tmx_reports.h"
#include "glossmith/db/glossmith_messages.h"
#include "platform/files.h"
#include "platform/stored_text.h"
#include "platform/text.h"

namespace ulk {
namespace {

constexpr const char* kDefaultType = "ST";

}  // namespace

DictionaryBrowser::DictionaryBrowser(BrowserPrompter& prompter)
    : prompter_(prompter), store_(connection_), title_(GlossmithMessageText(kGlossProgramName)) {}

bool DictionaryBrowser::Open(const std::string& path) {
  if (path.empty()) return false;
  ClearAll();
  title_ = GlossmithMessageText(kGlossProgramName);
  path_.clear();
  changes_.title = true;
  const OpenDictionaryResult opened = OpenDictionary(connection_, store_, path);
  if (!opened.ok) {
    prompter_.ShowError(opened.message);
    return false;
  }
  title_ += " [" + std::string(FileNameOf(path)) + "]";
  path_ = path;
  FillSelectors();
  if (!languages_.empty()) {
    source_ = 0;
    FillTexts();
    SelectFirstText();
  }
  if (languages_.size() >= 2) {
    target_ = 1;
    FillTranslations();
    SelectFirstTranslation();
  }
  return true;
}

void DictionaryBrowser::Close() {
  if (!IsOpen()) return;
  connection_.Close();
  path_.clear();
  title_ = GlossmithMessageText(kGlossProgramName);
  changes_.title = true;
  ClearAll();
}

void DictionaryBrowser::ClearAll() {
  languages_.clear();
  source_ = target_ = -1;
  texts_.Clear();
  translations_.Clear();
  selectedText_ = selectedTranslation_ = -1;
  changes_.selectors = changes_.texts = changes_.translations = true;
}

const std::string& DictionaryBrowser::LanguageId(int index) const {
  return languages_[static_cast<std::size_t>(index)].id;
}

void DictionaryBrowser::FillSelectors() {
  languages_.clear();
  source_ = target_ = -1;
  changes_.selectors = true;
  if (!IsOpen()) return;
  languages_ = store_.ListLanguages();
}

void DictionaryBrowser::FillTexts() {
  texts_.Clear();
  translations_.Clear();
  selectedText_ = selectedTranslation_ = -1;
  changes_.texts = changes_.translations = true;
  if (source_ < 0) return;
  store_.ForEachText(LanguageId(source_), filter_,
                     [this](std::string_view id, std::string_view type, std::string_view text) {
                       texts_.Append(id, type, text);
                     });
}

void DictionaryBrowser::FillTranslations() {
  translations_.Clear();
  selectedTranslation_ = -1;
  changes_.translations = true;
  if (selectedText_ < 0 || target_ < 0) return;
  store_.ForEachTranslation(
      texts_.Id(static_cast<std::size_t>(selectedText_)), LanguageId(target_),
      [this](std::string_view id, std::string_view type, std::string_view text) {
        translations_.Append(id, type, text);
      });
}

void DictionaryBrowser::SelectFirstText() {
  if (texts_.empty()) return;
  selectedText_ = 0;
  changes_.texts = true;
  changes_.revealText = 0;
  FillTranslations();
}

void DictionaryBrowser::SelectFirstTranslation() {
  if (translations_.empty()) return;
  selectedTranslation_ = 0;
  changes_.translations = true;
  changes_.revealTranslation = 0;
}

void DictionaryBrowser::SelectSource(int index) {
  if (index >= static_cast<int>(languages_.size())) return;
  source_ = std::max(index, -1);
  changes_.selectors = true;
  FillTexts();
  SelectFirstText();
}

void DictionaryBrowser::SelectTarget(int index) {
  if (index >= static_cast<int>(languages_.size())) return;
  target_ = std::max(index, -1);
  changes_.selectors = true;
  FillTranslations();
  SelectFirstTranslation();
}

void DictionaryBrowser::SelectText(long row) {
  if (row < 0 || row >= static_cast<long>(texts_.size())) row = -1;
  if (row == selectedText_) return;
  selectedText_ = row;
  // Translations of a text no longer selected would be misleading: the
  // list follows the selection, also when it goes away.
  FillTranslations();
}

void DictionaryBrowser::SelectTranslation(long row) {
  if (row < 0 || row >= static_cast<long>(translations_.size())) row = -1;
  selectedTranslation_ = row;
}

template <typename Change>
bool DictionaryBrowser::InTransaction(Change change) {
  if (!connection_.Begin()) return false;
  if (!change()) {
    const int code = connection_.LastResult();
    connection_.Rollback();
    connection_.NoteResult(code);
    return false;
  }
  if (!connection_.Commit()) {
    const int code = connection_.LastResult();
    // A commit that failed may leave the transaction open.
    connection_.Execute("rollback");
    connection_.NoteResult(code);
    return false;
  }
  return true;
}

std::string DictionaryBrowser::AskNewText(int captionId, std::string& type, bool typeChangeable) {
  TextDialogFields fields;
  fields.type = type;
  fields.caption = GlossmithMessageText(captionId);
  fields.typeChangeable = typeChangeable;
  if (!prompter_.EditText(fields)) return {};
  if (typeChangeable) type = fields.type;
  return Stored(fields.text);
}

std::string DictionaryBrowser::Stored(const std::string& edited) {
  // Line breaks are stored as "\n" on every path into the dictionary, as the
  // translator looks texts up; a tab as "\t"; anything else that no stored
  // text may hold is refused.
  std::string stored;
  if (const TextProblem problem = ToStoredText(StoredTextOf(edited), stored)) {
    prompter_.ShowError(GlossmithMessage(kGlossCannotStoreText, problem.what));
    return {};
  }
  return stored;
}

void DictionaryBrowser::AddText() {
  if (source_ < 0) return;
  std::string type = filter_.empty() ? kDefaultType : filter_;
  const std::string text = AskNewText(kGlossAddTextCaption, type, true);
  if (text.empty()) return;
  const std::string& language = LanguageId(source_);
  if (store_.FindText(type, language, text)) {
    prompter_.ShowWarning(GlossmithMessageText(kGlossTextExists));
    return;
  }
  const DictionaryId id = store_.AddText(type, language, text);
  if (!id) {
    prompter_.ShowError(GlossmithMessageWithCode(kGlossCannotInsertText, connection_.LastResult()));
    return;
  }
  texts_.Append(*id, type, text);
  changes_.texts = true;
  changes_.revealText = static_cast<long>(texts_.size()) - 1;
  FillTranslations();
}

void DictionaryBrowser::EditText(long row) {
  EditRow(false, row);
}

void DictionaryBrowser::EditTranslation(long row) {
  EditRow(true, row);
}

void DictionaryBrowser::EditRow(bool translation, long row) {
  const int language = translation ? target_ : source_;
  TextRows& rows = translation ? translations_ : texts_;
  if (language < 0 || row < 0 || row >= static_cast<long>(rows.size())) return;
  const auto at = static_cast<std::size_t>(row);
  const std::string id(rows.Id(at));
  const std::string type(rows.Type(at));
  const std::string old(rows.Text(at));

  TextDialogFields fields;
  fields.text = EditorTextOf(old);
  fields.type = type;
  fields.typeChangeable = false;
  if (!prompter_.EditText(fields)) return;
  if (fields.text.empty()) {
    if (!old.empty()) translation ? DeleteTranslation() : DeleteText();
    return;
  }
  // Empty when refused.
  const std::string text = Stored(fields.text);
  if (text.empty() || text == old) return;
  if (store_.FindText(type, LanguageId(language), text)) {
    prompter_.ShowWarning(GlossmithMessageText(kGlossEditedTextExists));
    return;
  }
  if (!store_.UpdateText(id, text)) {
    prompter_.ShowError(GlossmithMessageWithCode(kGlossCannotModifyText, connection_.LastResult()));
    return;
  }
  rows.SetText(at, text);
  (translation ? changes_.translations : changes_.texts) = true;
  // With one language on both sides the text may show in the other list.
  if (source_ == target_) {
    TextRows& other = translation ? texts_ : translations_;
    const long shown = other.Find(id);
    if (shown >= 0) {
      other.SetText(static_cast<std::size_t>(shown), text);
      (translation ? changes_.texts : changes_.translations) = true;
    }
  }
}

void DictionaryBrowser::DeleteText() {
  if (source_ < 0 || selectedText_ < 0) return;
  const long row = selectedText_;
  const std::string id(texts_.Id(static_cast<std::size_t>(row)));
  const std::string text(texts_.Text(static_cast<std::size_t>(row)));
  if (!prompter_.AskYesNo(GlossmithMessage(kGlossAskDeleteText, text))) return;
  if (store_.CountTextLinks(id) > 0) {
    if (!prompter_.AskYesNo(GlossmithMessage(kGlossAskDeleteLinkedText, text))) return;
    // Text and links go together: a failure leaves both as they were,
    // never links that name a text that is gone.
    int failure = kGlossCannotDeleteLinks;
    const bool deleted = InTransaction([&] {
      if (!store_.DeleteText(id)) {
        failure = kGlossCannotDeleteLink;
        return false;
      }
      return store_.UnlinkAll(id);
    });
    if (!deleted) {
      prompter_.ShowError(GlossmithMessageText(failure));
      return;
    }
  } else if (!store_.DeleteText(id)) {
    prompter_.ShowError(GlossmithMessageText(kGlossCannotDeleteText));
    return;
  }
  texts_.Erase(static_cast<std::size_t>(row));
  selectedText_ = -1;
  changes_.texts = true;
  const long count = static_cast<long>(texts_.size());
  if (count == 0) {
    FillTranslations();
    return;
  }
  selectedText_ = std::min(row, count - 1);
  changes_.revealText = selectedText_;
  FillTranslations();
}

void DictionaryBrowser::AddTranslation() {
  if (selectedText_ < 0 || target_ < 0) return;
  const auto at = static_cast<std::size_t>(selectedText_);
  const std::string sourceId(texts_.Id(at));
  std::string type(texts_.Type(at));
  const std::string text = AskNewText(kGlossAddTranslationCaption, type, false);
  if (text.empty()) return;
  const std::string& targetLanguage = LanguageId(target_);

  std::string translationId;
  bool created = false;
  bool propagated = true;
  int failure = kGlossCannotLink;
  // The new text and its links are stored together: a link that cannot be
  // made leaves no unlinked text behind.
  const bool linked = InTransaction([&] {
    DictionaryId found = store_.FindText(type, targetLanguage, text);
    if (!found) {
      found = store_.AddText(type, targetLanguage, text);
      if (!found) {
        failure = kGlossCannotInsertTranslation;
        return false;
      }
      created = true;
    }
    translationId = *found;
    // A text is no translation of itself.
    if (translationId == sourceId || !store_.Link(sourceId, translationId)) return false;
    propagated = store_.PropagateLink(sourceId, translationId);
    return true;
  });
  if (!linked) {
    prompter_.ShowError(GlossmithMessageText(failure));
    return;
  }
  if (!propagated) prompter_.ShowError(GlossmithMessageText(kGlossCannotUpdateOthers));
  if (created && LanguageId(source_) == targetLanguage) {
    texts_.Append(translationId, type, text);
    changes_.texts = true;
  }
  FillTranslations();
}

void DictionaryBrowser::DeleteTranslation() {
  if (target_ < 0 || selectedTranslation_ < 0 || selectedText_ < 0) return;
  const long row = selectedTranslation_;
  const std::string textId(texts_.Id(static_cast<std::size_t>(selectedText_)));
  const std::string text(texts_.Text(static_cast<std::size_t>(selectedText_)));
  const std::string translationId(translations_.Id(static_cast<std::size_t>(row)));
  const std::string translation(translations_.Text(static_cast<std::size_t>(row)));
  if (!prompter_.AskYesNo(GlossmithMessage(kGlossAskDeleteTranslation, text))) return;
  if (!InTransaction([&] { return store_.Unlink(textId, translationId); })) {
    prompter_.ShowError(GlossmithMessageText(kGlossCannotDeleteLink));
    return;
  }
  translations_.Erase(static_cast<std::size_t>(row));
  changes_.translations = true;
  const long count = static_cast<long>(translations_.size());
  selectedTranslation_ = count == 0 ? -1 : std::min(row, count - 1);
  changes_.revealTranslation = selectedTranslation_;

  if (store_.CountTextLinks(translationId) != 0) return;
  if (!prompter_.AskYesNo(GlossmithMessage(kGlossAskDeleteUnusedText, translation))) return;
  if (!store_.DeleteText(translationId)) {
    prompter_.ShowError(GlossmithMessageText(kGlossCannotDeleteLink));
    return;
  }
  // With one language on both sides the deleted text is also a texts row.
  const long shown = source_ == target_ ? texts_.Find(translationId) : -1;
  if (shown >= 0) {
    texts_.Erase(static_cast<std::size_t>(shown));
    if (shown < selectedText_) --selectedText_;
    changes_.texts = true;
  }
}

void DictionaryBrowser::SetFilter(std::string_view code) {
  filter_ = code;
  FillTexts();
}

bool DictionaryBrowser::FindNext() {
  if (find_.text.empty()) return false;
  const long count = static_cast<long>(texts_.size());
  const std::string needle = find_.matchCase ? find_.text : ToUpperUtf8(find_.text);
  long row = selectedText_;
  for (long step = 0; step < count; ++step) {
    if (find_.down) {
      // One past the last row counts as a step of its own and matches
      // nothing.
      if (++row > count) row = 0;
    } else {
      row = (row > 0 ? row : count) - 1;
    }
    if (row >= count) continue;
    const std::string_view text = texts_.Text(static_cast<std::size_t>(row));
    const bool found = find_.matchCase ? text.find(needle) != std::string_view::npos
                                       : ToUpperUtf8(text).find(needle) != std::string::npos;
    if (found) {
      selectedText_ = row;
      changes_.texts = true;
      changes_.revealText = row;
      FillTranslations();
      return true;
    }
  }
  return false;
}

BrowserCommandStates DictionaryBrowser::CommandStates() const {
  BrowserCommandStates states;
  states.addText = source_ >= 0;
  states.editText = selectedText_ >= 0;
  states.find = !texts_.empty();
  states.addTranslation = selectedText_ >= 0 && target_ >= 0;
  states.editTranslation = selectedTranslation_ >= 0;
  states.languages = IsOpen();
  states.exchange = IsOpen();
  return states;
}

bool DictionaryBrowser::ExportToTmx(const std::string& path, const TmxProgress& progress) {
  if (!IsOpen() || path.empty()) return false;
  const TmxExportResult result = ExportTmx(connection_, path, progress);
  if (!result.ok) {
    prompter_.ShowError(GlossmithMessage(kGlossCannotExportTmx, result.message));
    return false;
  }
  prompter_.ShowInformation(TmxExportReport(result, path));
  return true;
}

bool DictionaryBrowser::ImportFromTmx(const std::string& path, const TmxProgress& progress) {
  if (!IsOpen() || path.empty()) return false;
  const TmxImportResult result = ImportTmx(connection_, store_, path, progress);
  if (!result.ok) {
    prompter_.ShowError(GlossmithMessage(kGlossCannotImportTmx, result.message));
    return false;
  }
  ReloadLanguages(SourceName(), TargetName());
  prompter_.ShowInformation(TmxImportReport(result, path));
  return true;
}

std::string DictionaryBrowser::SourceName() const {
  return source_ < 0 ? std::string() : languages_[static_cast<std::size_t>(source_)].name;
}

std::string DictionaryBrowser::TargetName() const {
  return target_ < 0 ? std::string() : languages_[static_cast<std::size_t>(target_)].name;
}

void DictionaryBrowser::ReloadLanguages(const std::string& sourceName,
                                        const std::string& targetName) {
  ClearAll();
  FillSelectors();
  const auto indexOf = [this](const std::string& name) {
    for (std::size_t i = 0; i < languages_.size(); ++i) {
      if (languages_[i].name == name) return static_cast<int>(i);
    }
    return -1;
  };
  if (languages_.empty()) return;
  const int source = indexOf(sourceName);
  source_ = source >= 0 ? source : 0;
  FillTexts();
  SelectFirstText();
  int target = indexOf(targetName);
  if (target < 0) {
    // A target that is gone gives way to the second language (the first
    // when it is the only one); where none was chosen, as on opening, only
    // a second language is chosen.
    if (languages_.size() >= 2) {
      target = 1;
    } else if (!targetName.empty()) {
      target = 0;
    }
  }
  target_ = target;
  if (target_ < 0) return;
  FillTranslations();
  SelectFirstTranslation();
}

BrowserChanges DictionaryBrowser::TakeChanges() {
  BrowserChanges taken = changes_;
  changes_ = BrowserChanges();
  return taken;
}

}  // namespace ulk
