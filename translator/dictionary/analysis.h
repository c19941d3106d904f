// The analysis a translation job starts with: for each target language,
// how many texts, words and characters are already translated, can be
// taken from an earlier translation as they stand (by key and text, or by
// text), repeat a text met before in the project, are close to something
// translated (by bands of score), or are new.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "translator/dictionary/dictionary_component.h"
#include "translator/model/operation_ui.h"
#include "translator/model/project.h"

namespace ulk {

enum AnalysisBand : std::size_t {
  kBandTranslated = 0,
  kBandContext,
  kBandExact,
  kBandRepetition,
  kBand95,  // 95-99
  kBand85,  // 85-94
  kBand75,  // 75-84
  kBand50,  // 50-74
  kBandNone,
  kBandCount,
};

// "Ya traducidos", "Contexto", "100 %", "Repeticiones", "95-99 %"...
const char* AnalysisBandLabel(AnalysisBand band);
// The band of a similar text's score (50 to 99); kBandNone below 50.
AnalysisBand BandOfScore(int score);

struct AnalysisCounts {
  std::size_t texts = 0;
  std::size_t words = 0;
  std::size_t characters = 0;
};

struct AnalysisLine {
  std::string module;  // file name; empty in the project's total
  std::string language;
  std::array<AnalysisCounts, kBandCount> bands{};
  AnalysisCounts Total() const;
};

struct AnalysisReport {
  // One line per module and target language, in project order, then one
  // per language for the whole project.
  std::vector<AnalysisLine> lines;
};

struct AnalysisSources {
  // Either may be absent. A dictionary gives 100 % by its exact look-up
  // and similar texts by its search (when the component has it); the other
  // project gives context matches, 100 % and similar texts from the module
  // of the same file name.
  DictionaryComponent* dictionary = nullptr;
  const Project* other = nullptr;
};

// Analyses `only` (every module when null) with progress through `ui`.
// Bands are taken in the order of the enumeration: a text already
// translated is only that; a repetition is a text whose original was met
// before in the same language and is not found as it stands.
AnalysisReport AnalyseProject(const Project& project, const Module* only,
                              const AnalysisSources& sources, OperationUi& ui);

// The report as comma-separated values, one line per module, language and
// band, with a header line.
std::string AnalysisCsv(const AnalysisReport& report);

}  // namespace ulk
