// Reusing another project's translations.
#include "translator/model/leverage.h"


namespace ulk {
namespace {

std::vector<const Module*> Sources(const Module& module, const Project& other, bool allModules) {
  std::vector<const Module*> sources;
  for (const Module& candidate : other.modules) {
    if (allModules || candidate.FileName() == module.FileName()) sources.push_back(&candidate);
  }
  return sources;
}

TranslationMemory MemoryOf(const std::vector<const Module*>& sources, const std::string& language) {
  TranslationMemory memory;
  for (const Module* source : sources) {
    const ModuleLanguage* original = source->DefaultLanguage();
    const ModuleLanguage* target = source->FindLanguage(language);
    if (!original || !target || target == original) continue;
    ModuleLanguage::Cursor cursor = target->Entries().begin();
    for (const TextEntry& entry : original->Entries()) {
      if (const TextEntry* translated = target->FindEntryAfter(entry.key, cursor)) {
        memory.Add(entry, *translated);
      }
    }
  }
  return memory;
}

LanguageLeverage& LineOf(LeverageResult& result, const std::string& language) {
  for (LanguageLeverage& line : result.languages) {
    if (line.language == language) return line;
  }
  result.languages.push_back({language, {}});
  return result.languages.back();
}

}  // namespace

void TranslationMemory::Add(const TextEntry& original, const TextEntry& translated) {
  if (translated.text.empty()) return;
  context_.try_emplace(ContextKey(original.key, original.text), &translated);
  if (exact_.try_emplace(original.text, &translated).second) {
    similar_.Add(original.text);
    translations_.push_back(&translated);
  }
}

const TextEntry* TranslationMemory::Find(const TextEntry& original, int minimum,
                                         LeverageMatch& match, int& score) const {
  score = 100;
  if (const auto found = context_.find(ContextKey(original.key, original.text));
      found != context_.end()) {
    match = kLeverageContext;
    return found->second;
  }
  if (const auto found = exact_.find(original.text); found != exact_.end()) {
    match = kLeverageExact;
    return found->second;
  }
  if (minimum >= 100) return nullptr;
  const std::vector<SimilarTextIndex::Hit> best = similar_.Find(original.text, minimum, 1);
  if (best.empty()) return nullptr;
  match = kLeverageSimilar;
  score = best.front().similarity.score;
  return translations_[best.front().id];
}

std::string TranslationMemory::ContextKey(const std::string& key, const std::string& text) {
  std::string joined = key;
  joined += '\x1f';  // never in a stored key or text
  joined += text;
  return joined;
}

TranslationMemory MemoryOfModules(const Project& other, const Module& module, bool allModules,
                                  const std::string& language) {
  return MemoryOf(Sources(module, other, allModules), language);
}

std::size_t LeverageResult::Total() const {
  std::size_t total = 0;
  for (const LanguageLeverage& line : languages) total += line.Total();
  return total;
}

LeverageResult LeverageTranslations(Project& project, const Project& other,
                                    const LeverageOptions& options) {
  LeverageResult result;
  for (Module& module : project.modules) {
    const ModuleLanguage* original = module.DefaultLanguage();
    if (!original) continue;
    const std::vector<const Module*> sources = Sources(module, other, options.allModules);
    if (sources.empty()) continue;
    for (ModuleLanguage& language : module.languages) {
      if (&language == original) continue;
      const TranslationMemory memory = MemoryOf(sources, language.name);
      LanguageLeverage& line = LineOf(result, language.name);
      for (const TextEntry& entry : original->Entries()) {
        const TextEntry* existing = language.FindEntry(entry.key);
        if (existing && !existing->text.empty() && !options.overwrite) continue;
        LeverageMatch match = kLeverageContext;
        int score = 0;
        const TextEntry* found = memory.Find(entry, options.minimum, match, score);
        if (!found || (existing && existing->text == found->text)) continue;
        TextEntry& filled = language.SetEntry(entry.key, found->text);
        // A text found by its key and text keeps what was said of it; one
        // found by a similar text is only a start.
        filled.review = match == kLeverageSimilar ? kReviewNeeded
                        : match == kLeverageContext ? found->review
                                                    : kReviewTranslated;
        if (match == kLeverageContext) filled.note = found->note;
        ++line.filled[match];
        result.changed.emplace_back(module.path, entry.key);
      }
    }
  }
  return result;
}

}  // namespace ulk
