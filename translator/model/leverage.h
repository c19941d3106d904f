// Reusing the translations of another project (an older release of the
// same program, say): each text of this project's target languages is
// filled from the other project's language of the same name, by the first
// of three kinds of match that gives a translation.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/text_similarity.h"
#include "translator/model/project.h"

namespace ulk {

enum LeverageMatch : std::size_t {
  kLeverageContext = 0,  // same key, same original text
  kLeverageExact = 1,    // same original text elsewhere
  kLeverageSimilar = 2,  // a similar original text: marked for review
  kLeverageMatchCount = 3,
};

// What another project knows of one target language: its translations by
// key and original text, by original text, and by similar original text.
// Holds pointers into the other project, which must outlive it.
class TranslationMemory {
 public:
  void Add(const TextEntry& original, const TextEntry& translated);
  // The translation of `original` and how it was found (with the score of
  // the similar text, 100 otherwise); null when there is none. Similar
  // texts only when `minimum` is below 100.
  const TextEntry* Find(const TextEntry& original, int minimum, LeverageMatch& match,
                        int& score) const;

 private:
  static std::string ContextKey(const std::string& key, const std::string& text);

  std::unordered_map<std::string, const TextEntry*> context_;
  std::unordered_map<std::string, const TextEntry*> exact_;
  SimilarTextIndex similar_;
  std::vector<const TextEntry*> translations_;  // by the similar index's number
};

// The memory of `language` over the modules of `other` that serve `module`
// (those of its file name, or all).
TranslationMemory MemoryOfModules(const Project& other, const Module& module, bool allModules,
                                  const std::string& language);

struct LeverageOptions {
  // Similar texts scoring at least this are used; 100 uses none.
  int minimum = 100;
  // Existing translations are replaced too.
  bool overwrite = false;
  // Every module of the other project is searched, not only the one of
  // the same file name.
  bool allModules = false;
};

struct LanguageLeverage {
  std::string language;
  std::array<std::size_t, kLeverageMatchCount> filled{};
  std::size_t Total() const { return filled[0] + filled[1] + filled[2]; }
};

struct LeverageResult {
  // One line per target language name met, in the order met.
  std::vector<LanguageLeverage> languages;
  // The texts changed, as (module path, key), for the caller to refresh.
  std::vector<std::pair<std::string, std::string>> changed;
  std::size_t Total() const;
};

// Fills `project` from `other`. Texts that may not enter a project never
// come from `other` (its loader already refused them). A module with no
// module of the same file name in `other` (and allModules off) is passed
// over.
LeverageResult LeverageTranslations(Project& project, const Project& other,
                                    const LeverageOptions& options);

}  // namespace ulk
