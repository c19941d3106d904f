// The analysis of a project's work by bands of match.
#include "translator/dictionary/analysis.h"

#include <algorithm>
#include <map>
#include <unordered_map>
#include <unordered_set>

#include "platform/text_similarity.h"
#include "translator/dictionary/dictionary_translation.h"
#include "translator/model/leverage.h"
#include "translator/resources/resource_kind.h"

namespace ulk {
namespace {

constexpr int kLowestBand = 50;

void Count(AnalysisCounts& counts, const TextMeasure& measure) {
  ++counts.texts;
  counts.words += measure.words;
  counts.characters += measure.characters;
}

void AddInto(AnalysisLine& total, const AnalysisLine& line) {
  for (std::size_t band = 0; band < kBandCount; ++band) {
    total.bands[band].texts += line.bands[band].texts;
    total.bands[band].words += line.bands[band].words;
    total.bands[band].characters += line.bands[band].characters;
  }
}

std::size_t WorkOf(const Project& project, const Module* only) {
  std::size_t work = 0;
  for (const Module& module : project.modules) {
    if (only && &module != only) continue;
    if (const ModuleLanguage* original = module.DefaultLanguage()) {
      work += original->EntryCount() * (module.LanguageCount() - 1);
    }
  }
  return work;
}

// The analysis of one language of one module; `seen` holds the original
// texts met before in this language.
class LanguageAnalysis {
 public:
  LanguageAnalysis(const Module& module, const ModuleLanguage& language,
                   const AnalysisSources& sources, std::unordered_set<std::string>& seen)
      : module_(module), language_(language), sources_(sources), seen_(seen) {
    if (sources.other) {
      memory_ = MemoryOfModules(*sources.other, module, false, language.name);
    }
  }

  AnalysisBand BandOf(const TextEntry& entry) {
    const TextEntry* translated = language_.FindEntry(entry.key);
    if (translated && !translated->text.empty()) return kBandTranslated;
    LeverageMatch match = kLeverageExact;
    int score = 0;
    const TextEntry* remembered =
        sources_.other ? memory_.Find(entry, kLowestBand, match, score) : nullptr;
    if (remembered && match == kLeverageContext) return kBandContext;
    if (remembered && match == kLeverageExact) return kBandExact;
    const std::string kind(KindCodeOfKey(entry.key));
    DictionaryComponent* dictionary = sources_.dictionary;
    if (dictionary && dictionary->Find(kind, module_.DefaultLanguageName(), entry.text) &&
        !dictionary->GetFirst(language_.name).empty()) {
      return kBandExact;
    }
    if (!seen_.insert(entry.text).second) return kBandRepetition;
    int best = remembered ? score : 0;
    if (dictionary && dictionary->HasSimilarTexts()) {
      const std::vector<DictionaryMatch> similar = dictionary->FindSimilar(
          kind, module_.DefaultLanguageName(), entry.text, language_.name, kLowestBand, 1);
      if (!similar.empty()) best = std::max(best, similar.front().score);
    }
    // A text that differs only in form from a stored one is not 100 %.
    return BandOfScore(std::min(best, 99));
  }

 private:
  const Module& module_;
  const ModuleLanguage& language_;
  const AnalysisSources& sources_;
  std::unordered_set<std::string>& seen_;
  TranslationMemory memory_;
};

}  // namespace

const char* AnalysisBandLabel(AnalysisBand band) {
  static constexpr const char* kLabels[kBandCount] = {
      "Ya traducidos", "Contexto", "100 %",   "Repeticiones",    "95-99 %",
      "85-94 %",       "75-84 %",  "50-74 %", "Sin coincidencia"};
  return band < kBandCount ? kLabels[band] : "";
}

AnalysisBand BandOfScore(int score) {
  if (score >= 95) return kBand95;
  if (score >= 85) return kBand85;
  if (score >= 75) return kBand75;
  if (score >= kLowestBand) return kBand50;
  return kBandNone;
}

AnalysisCounts AnalysisLine::Total() const {
  AnalysisCounts total;
  for (const AnalysisCounts& counts : bands) {
    total.texts += counts.texts;
    total.words += counts.words;
    total.characters += counts.characters;
  }
  return total;
}

AnalysisReport AnalyseProject(const Project& project, const Module* only,
                              const AnalysisSources& sources, OperationUi& ui) {
  AnalysisReport report;
  if (sources.dictionary) PrepareSimilarTexts(*sources.dictionary, ui);
  const std::size_t work = WorkOf(project, only);
  ui.ShowProgress(true);
  ui.SetProgressRange(0, static_cast<int>(std::min<std::size_t>(work, INT32_MAX)));
  // Repetitions count across the modules of the project, per language.
  std::map<std::string, std::unordered_set<std::string>> seen;
  std::unordered_map<std::string, TextMeasure> measures;
  std::vector<std::string> languageOrder;
  std::size_t done = 0;
  for (const Module& module : project.modules) {
    if (only && &module != only) continue;
    const ModuleLanguage* original = module.DefaultLanguage();
    if (!original) continue;
    for (const ModuleLanguage& language : module.languages) {
      if (&language == original) continue;
      if (std::find(languageOrder.begin(), languageOrder.end(), language.name) ==
          languageOrder.end()) {
        languageOrder.push_back(language.name);
      }
      AnalysisLine line{std::string(module.FileName()), language.name, {}};
      LanguageAnalysis analysis(module, language, sources, seen[language.name]);
      for (const TextEntry& entry : original->Entries()) {
        auto measure = measures.find(entry.text);
        if (measure == measures.end()) {
          measure = measures.emplace(entry.text, MeasureText(entry.text)).first;
        }
        Count(line.bands[analysis.BandOf(entry)], measure->second);
        if (++done % 64 == 0) ui.SetProgressPos(static_cast<int>(std::min<std::size_t>(done, INT32_MAX)));
      }
      report.lines.push_back(std::move(line));
    }
  }
  const std::size_t modules = report.lines.size();
  for (const std::string& language : languageOrder) {
    AnalysisLine total{"", language, {}};
    for (std::size_t i = 0; i < modules; ++i) {
      if (report.lines[i].language == language) AddInto(total, report.lines[i]);
    }
    report.lines.push_back(std::move(total));
  }
  ui.ShowProgress(false);
  return report;
}

std::string AnalysisCsv(const AnalysisReport& report) {
  const auto field = [](const std::string& value) {
    if (value.find_first_of(",\"\n") == std::string::npos) return value;
    std::string quoted = "\"";
    for (const char c : value) {
      if (c == '"') quoted += '"';
      quoted += c;
    }
    return quoted + "\"";
  };
  std::string csv = "módulo,idioma,banda,textos,palabras,caracteres\n";
  for (const AnalysisLine& line : report.lines) {
    for (std::size_t band = 0; band < kBandCount; ++band) {
      const AnalysisCounts& counts = line.bands[band];
      csv += field(line.module.empty() ? "(proyecto)" : line.module) + "," + field(line.language) +
             "," + AnalysisBandLabel(static_cast<AnalysisBand>(band)) + "," +
             std::to_string(counts.texts) + "," + std::to_string(counts.words) + "," +
             std::to_string(counts.characters) + "\n";
    }
  }
  return csv;
}

}  // namespace ulk
