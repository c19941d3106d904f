// Translating entries from the dictionary, feeding it with finished
// translations, and the dictionary's suggestions for one entry. The logic
// of the list's dictionary commands, without a window: progress and
// messages go through the caller's OperationUi, undo through its history.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/text_similarity.h"
#include "translator/dictionary/dictionary_component.h"
#include "translator/model/operation_ui.h"
#include "translator/model/project.h"
#include "translator/model/undo_history.h"

namespace ulk {

// A menu text as the dictionary also keeps it: cut before the escaped tab
// that introduces a shortcut ("\t"), and, when it holds no line feed, every
// single "&" removed ("&&" stays). `changed` tells whether anything went.
std::string NormaliseMenuText(std::string_view text, bool& changed);

// Makes the dictionary's index of similar texts ready (built first for a
// dictionary that has none), its progress on the bar through `ui`. False when the component has no such search or the index
// cannot be made.
bool PrepareSimilarTexts(DictionaryComponent& dictionary, OperationUi& ui);

// Looks the entry's original text up and takes the first translation into
// every other language (status 3, or 4 when there are more). With a
// `minimum` below 100, a language the text has no translation into takes
// the translation of the most similar text scoring at least that (status
// 3), marked for review when it scores below 100. True when the entry
// changed.
bool TranslateEntry(Module& module, const std::string& key, DictionaryComponent& dictionary,
                    int minimum = 100);

// Translates the entries of `keys` (empty keys skipped) with the progress
// bar shown. With a history, one undo step covers the changes: committed
// when something changed, discarded otherwise. Returns the changed keys.
// The index of similar texts is made ready first when `minimum` is below
// 100 (with its own progress while a dictionary without one gets it).
std::vector<std::string> TranslateKeys(Module& module, const std::vector<std::string>& keys,
                                       DictionaryComponent& dictionary, OperationUi& ui,
                                       UndoHistory* history, int minimum = 100);

// Stores the entry's translations (languages with a non-empty text), menu
// texts also without their markers and shortcuts. False when any store
// failed; the other languages are still stored.
bool AddEntryToDictionary(const Module& module, const std::string& key,
                          DictionaryComponent& dictionary);
// AddEntryToDictionary for every key, then "Error añadiendo un recurso al
// diccionario" (warning) when any failed. The project does not change.
bool AddKeysToDictionary(const Module& module, const std::vector<std::string>& keys,
                         DictionaryComponent& dictionary, OperationUi& ui);

struct Candidate {
  std::string label;  // "[95 %] " before a similar text's; cut after 60 characters, with "..."
  std::string text;   // the whole translation
  int score = 100;    // below 100 for the translation of a similar text
};
inline constexpr std::size_t kMaxCandidates = 20;
inline constexpr std::size_t kCandidateLabelChars = 60;

// The dictionary's translations of an entry into a language, then those
// of similar texts scoring at least 75 (when the component searches them)
// that are not already there, at most 20.
std::vector<Candidate> CandidatesFor(const Module& module, const std::string& key,
                                     const std::string& targetLanguage,
                                     DictionaryComponent& dictionary);
// Applies a chosen candidate: the target entry gets the whole text and the
// original entry status 3; a similar text's translation (score below 100)
// is marked for review. False for an empty text, a text that may not enter
// the project (CheckStoredText) or an unknown language.
bool ApplyCandidate(Module& module, const std::string& key, const std::string& targetLanguage,
                    const std::string& text, int score = 100);

// A similar earlier text of the dictionary as the translation dialog shows
// it: the parts of its original that the entry's text lacks are marked.
struct SimilarMatch {
  int score = 0;
  std::string source;
  std::string translation;
  std::vector<TextRange> differences;  // byte ranges of `source`
};
inline constexpr std::size_t kMaxShownMatches = 9;
// The best similar texts of the entry's original into `targetLanguage`,
// at most 9, best first; none when the component does not search them.
std::vector<SimilarMatch> MatchesFor(const Module& module, const std::string& key,
                                     const std::string& targetLanguage,
                                     DictionaryComponent& dictionary,
                                     int minimum = kDefaultMatchMinimum);

}  // namespace ulk
