// Dictionary-assisted translation.
#include "translator/dictionary/dictionary_translation.h"

#include <algorithm>
#include <cstdint>

#include "platform/stored_text.h"
#include "platform/text.h"
#include "translator/model/messages.h"
#include "translator/resources/resource_kind.h"

namespace ulk {
namespace {

std::string KindOf(const std::string& key) {
  return std::string(KindCodeOfKey(key));
}

// Shows the progress bar for the lifetime of the object.
class Progress {
 public:
  Progress(OperationUi& ui, std::size_t count) : ui_(ui) {
    ui_.ShowProgress(true);
    ui_.SetProgressRange(0, static_cast<int>(count));
  }
  ~Progress() { ui_.ShowProgress(false); }
  void Step() { ui_.SetProgressPos(++position_); }

 private:
  OperationUi& ui_;
  int position_ = 0;
};

}  // namespace

std::string NormaliseMenuText(std::string_view text, bool& changed) {
  changed = false;
  std::string out(text);
  const auto tab = out.find("\\t");
  if (tab != std::string::npos) {
    out.erase(tab);
    changed = true;
  }
  if (out.find('\n') != std::string::npos) return out;
  std::string stripped;
  stripped.reserve(out.size());
  for (std::size_t i = 0; i < out.size(); ++i) {
    if (out[i] != '&') {
      stripped.push_back(out[i]);
    } else if (i + 1 < out.size() && out[i + 1] == '&') {
      stripped += "&&";
      ++i;
    } else {
      changed = true;
    }
  }
  return stripped;
}

namespace {

// Puts `text` into the language's entry; false when it was there already
// (and nothing else would change).
bool PutTranslation(ModuleLanguage& language, const std::string& key, const std::string& text,
                    ReviewState review, bool alwaysChanges) {
  if (TextEntry* translated = language.FindEntry(key)) {
    if (!alwaysChanges && translated->text == text) return false;
    if (translated->text != text) translated->review = review;
    translated->text = text;
  } else {
    language.SetEntry(key, text);
    if (review != kReviewTranslated) language.FindEntry(key)->review = review;
  }
  return true;
}

}  // namespace

bool PrepareSimilarTexts(DictionaryComponent& dictionary, OperationUi& ui) {
  if (!dictionary.HasSimilarTexts()) return false;
  Progress progress(ui, 0);
  return dictionary.PrepareSimilarTexts([&ui](std::int64_t done, std::int64_t total) {
    ui.SetProgressRange(0, static_cast<int>(std::min<std::int64_t>(total, INT32_MAX)));
    ui.SetProgressPos(static_cast<int>(std::min<std::int64_t>(done, INT32_MAX)));
    return true;
  });
}

bool TranslateEntry(Module& module, const std::string& key, DictionaryComponent& dictionary,
                    int minimum) {
  ModuleLanguage* original = module.DefaultLanguage();
  TextEntry* entry = original ? original->FindEntry(key) : nullptr;
  if (!entry) return false;
  const std::string kind = KindOf(key);
  const bool found = dictionary.Find(kind, original->name, entry->text);
  const bool similar = minimum < 100 && dictionary.HasSimilarTexts();
  if (!found && !similar) return false;
  bool changed = false;
  for (ModuleLanguage& language : module.languages) {
    if (&language == original) continue;
    std::string first = found ? dictionary.GetFirst(language.name) : std::string();
    bool several = false;
    if (!first.empty()) {
      several = !dictionary.GetNext().empty();
      if (!PutTranslation(language, key, first, kReviewTranslated, several)) continue;
      entry->status = several ? kStatusDictionarySeveral : kStatusDictionaryOne;
      changed = true;
      continue;
    }
    if (!similar) continue;
    // A similar text's translation is a start, not a finished translation.
    const std::vector<DictionaryMatch> best =
        dictionary.FindSimilar(kind, original->name, entry->text, language.name, minimum, 1);
    if (best.empty() || best.front().score < minimum) continue;
    const ReviewState review = best.front().score < 100 ? kReviewNeeded : kReviewTranslated;
    if (!PutTranslation(language, key, best.front().translation, review, false)) continue;
    entry->status = kStatusDictionaryOne;
    changed = true;
  }
  return changed;
}

std::vector<std::string> TranslateKeys(Module& module, const std::vector<std::string>& keys,
                                       DictionaryComponent& dictionary, OperationUi& ui,
                                       UndoHistory* history, int minimum) {
  std::vector<std::string> changed;
  if (module.LanguageCount() < 2) return changed;
  if (minimum < 100) PrepareSimilarTexts(dictionary, ui);
  if (history) history->BeginEdit(false);
  {
    Progress progress(ui, keys.size());
    for (const std::string& key : keys) {
      if (!key.empty()) {
        WaitCursor wait(ui);
        if (TranslateEntry(module, key, dictionary, minimum)) changed.push_back(key);
      }
      progress.Step();
    }
  }
  if (history) {
    if (changed.empty()) {
      history->DiscardEdit();
    } else {
      history->CommitEdit();
    }
  }
  return changed;
}

bool AddEntryToDictionary(const Module& module, const std::string& key,
                          DictionaryComponent& dictionary) {
  const ModuleLanguage* original = module.DefaultLanguage();
  const TextEntry* entry = original ? original->FindEntry(key) : nullptr;
  if (!entry) return true;
  const std::string kind = KindOf(key);
  bool ok = true;
  for (const ModuleLanguage& language : module.languages) {
    if (&language == original) continue;
    const TextEntry* translated = language.FindEntry(key);
    if (!translated || translated->text.empty()) continue;
    if (!dictionary.Set(kind, original->name, entry->text, language.name, translated->text)) {
      ok = false;
      continue;
    }
    if (kind != "MN") continue;
    bool sourceChanged = false;
    bool targetChanged = false;
    const std::string source = NormaliseMenuText(entry->text, sourceChanged);
    const std::string target = NormaliseMenuText(translated->text, targetChanged);
    if ((sourceChanged || targetChanged) &&
        !dictionary.Set(kind, original->name, source, language.name, target)) {
      ok = false;
    }
  }
  return ok;
}

bool AddKeysToDictionary(const Module& module, const std::vector<std::string>& keys,
                         DictionaryComponent& dictionary, OperationUi& ui) {
  if (module.LanguageCount() < 2) return true;
  bool ok = true;
  {
    Progress progress(ui, keys.size());
    for (const std::string& key : keys) {
      if (!key.empty()) {
        WaitCursor wait(ui);
        ok = AddEntryToDictionary(module, key, dictionary) && ok;
      }
      progress.Step();
    }
  }
  if (!ok) ui.ShowMessage(MessageText(kMsgErrorAddingToDictionary), MessageIcon::kExclamation);
  return ok;
}

std::vector<Candidate> CandidatesFor(const Module& module, const std::string& key,
                                     const std::string& targetLanguage,
                                     DictionaryComponent& dictionary) {
  std::vector<Candidate> candidates;
  const ModuleLanguage* original = module.DefaultLanguage();
  const TextEntry* entry = original ? original->FindEntry(key) : nullptr;
  if (!entry || !dictionary.IsOpened()) return candidates;
  const auto add = [&](std::string text, int score) {
    std::string label = score < 100 ? "[" + std::to_string(score) + " %] " : std::string();
    const std::string_view shown = FirstChars(text, kCandidateLabelChars);
    label += shown;
    if (shown.size() < text.size()) label += "...";
    candidates.push_back({std::move(label), std::move(text), score});
  };
  if (dictionary.Find(KindOf(key), original->name, entry->text)) {
    for (std::string text = dictionary.GetFirst(targetLanguage);
         !text.empty() && candidates.size() < kMaxCandidates; text = dictionary.GetNext()) {
      add(std::move(text), 100);
    }
  }
  if (candidates.size() < kMaxCandidates && dictionary.HasSimilarTexts()) {
    for (DictionaryMatch& match :
         dictionary.FindSimilar(KindOf(key), original->name, entry->text, targetLanguage,
                                kDefaultMatchMinimum, static_cast<int>(kMaxCandidates))) {
      const bool listed = std::any_of(candidates.begin(), candidates.end(),
                                      [&](const Candidate& c) { return c.text == match.translation; });
      if (listed || match.score >= 100) continue;
      add(std::move(match.translation), match.score);
      if (candidates.size() == kMaxCandidates) break;
    }
  }
  return candidates;
}

bool ApplyCandidate(Module& module, const std::string& key, const std::string& targetLanguage,
                    const std::string& text, int score) {
  ModuleLanguage* original = module.DefaultLanguage();
  ModuleLanguage* target = module.FindLanguage(targetLanguage);
  TextEntry* entry = original ? original->FindEntry(key) : nullptr;
  if (text.empty() || CheckStoredText(text) || !entry || !target || target == original) {
    return false;
  }
  PutTranslation(*target, key, text, score < 100 ? kReviewNeeded : kReviewTranslated, true);
  entry->status = kStatusDictionaryOne;
  return true;
}

std::vector<SimilarMatch> MatchesFor(const Module& module, const std::string& key,
                                     const std::string& targetLanguage,
                                     DictionaryComponent& dictionary, int minimum) {
  std::vector<SimilarMatch> matches;
  const ModuleLanguage* original = module.DefaultLanguage();
  const TextEntry* entry = original ? original->FindEntry(key) : nullptr;
  if (!entry || !dictionary.IsOpened() || !dictionary.HasSimilarTexts() ||
      targetLanguage == original->name) {
    return matches;
  }
  for (DictionaryMatch& match :
       dictionary.FindSimilar(KindOf(key), original->name, entry->text, targetLanguage, minimum,
                              static_cast<int>(kMaxShownMatches))) {
    std::vector<TextRange> differences = DifferingRanges(match.source, entry->text);
    matches.push_back({match.score, std::move(match.source), std::move(match.translation),
                       std::move(differences)});
  }
  return matches;
}

}  // namespace ulk
