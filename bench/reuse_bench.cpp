// Analysis and reuse on a project of 20,000 texts:
//   reuse_bench LIBTERMVAULT DICTIONARY
// DICTIONARY is the one fuzzy_bench leaves (1,000,000 texts). The project's
// texts are the dictionary's own (two in five), texts near them (three in
// ten), texts met again in the project (one in ten) and new ones. Measures
// the analysis against the dictionary (against exact look-ups of the same
// texts) and reuse from another project of the same size (against looking
// every text up in a map of the other's).
#include <cstdio>
#include <string>
#include <unordered_map>

#include "bench/bench_util.h"
#include "bench/interface_texts.h"
#include "translator/dictionary/analysis.h"
#include "translator/model/leverage.h"

namespace {

using ulk::bench::Phrase;
using ulk::bench::Random;
using ulk::bench::Variant;
using ulk::bench::Vocabulary;

constexpr int kTexts = 20000;
constexpr int kPairs = 500000;  // as fuzzy_bench stores them

class QuietUi : public ulk::OperationUi {
 public:
  void ShowMessage(const std::string&, ulk::MessageIcon) override {}
  bool AskYesNo(const std::string&) override { return false; }
  void PushStatusText(const std::string&) override {}
  void PopStatusText() override {}
  void SetProgressPos(int) override { ++steps; }
  int steps = 0;
};

std::string Key(int n) {
  return "ST_N_" + std::to_string(n / 16 + 1) + " (" + std::to_string(n % 16) + ")";
}

ulk::Project MakeProject(const std::vector<std::string>& texts, const char* path) {
  ulk::Project project;
  project.name = "Banco";
  ulk::Module module;
  module.path = path;
  ulk::Module* added = project.AddModule(module, false);
  ulk::ModuleLanguage& original = added->AddLanguage(ulk::ModuleLanguage("English", "", true));
  for (int n = 0; n < kTexts; ++n) original.SetEntry(Key(n), texts[static_cast<std::size_t>(n)]);
  added->AddLanguage(ulk::ModuleLanguage("Español", "/out/es.dll", false));
  return project;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "uso: reuse_bench LIBTERMVAULT DICCIONARIO\n");
    return 2;
  }
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  const Vocabulary vocabulary;
  std::vector<std::string> stored;
  {
    Random random{11};  // fuzzy_bench's texts, in its order
    for (int n = 0; n < kPairs; ++n) stored.push_back(Phrase(vocabulary, random));
  }
  Random random{21};
  std::vector<std::string> texts;
  for (int n = 0; n < kTexts; ++n) {
    const std::string& known = stored[static_cast<std::size_t>(random.Below(kPairs))];
    const int kind = random.Below(10);
    if (kind < 4) {
      texts.push_back(known);
    } else if (kind < 7) {
      texts.push_back(Variant(vocabulary, known, random));
    } else if (kind < 8 && n > 0) {
      texts.push_back(texts[static_cast<std::size_t>(random.Below(n))]);
    } else {
      texts.push_back(Phrase(vocabulary, random));
    }
  }
  ulk::Project project = MakeProject(texts, "/bench/app.dll");

  ulk::DictionaryComponent dictionary;
  if (!dictionary.Load({argv[1]}) || !dictionary.Open(argv[2])) {
    std::fprintf(stderr, "no se pudo abrir %s\n", argv[2]);
    return 1;
  }
  const double lookups = ulk::bench::Seconds([&] {
    for (const std::string& text : texts) {
      if (dictionary.Find("ST", "English", text)) dictionary.GetFirst("Español");
    }
  });
  QuietUi ui;
  ulk::AnalysisReport report;
  const double analysis = ulk::bench::Seconds([&] {
    report = ulk::AnalyseProject(project, nullptr, {&dictionary, nullptr}, ui);
  });
  ulk::bench::Report("analysis of 20,000 texts, 1,000,000 in the dictionary", analysis, "s",
                     lookups, "exact look-ups of the texts", "<= 60 s");
  const ulk::AnalysisLine& total = report.lines.back();
  std::printf("  progress moved %d times;", ui.steps);
  for (std::size_t band = 0; band < ulk::kBandCount; ++band) {
    std::printf(" %s %zu;", ulk::AnalysisBandLabel(static_cast<ulk::AnalysisBand>(band)),
                total.bands[band].texts);
  }
  std::printf("\n");

  // Another project of the same size: seven in ten of its texts as in this
  // one (half of them under the same key), the rest near or new.
  std::vector<std::string> older = texts;
  for (int n = 0; n < kTexts; ++n) {
    const int kind = random.Below(10);
    auto& text = older[static_cast<std::size_t>(n)];
    if (kind >= 7) text = kind == 9 ? Phrase(vocabulary, random) : Variant(vocabulary, text, random);
    if (kind >= 4 && kind < 7) std::swap(text, older[static_cast<std::size_t>(random.Below(kTexts))]);
  }
  ulk::Project other = MakeProject(older, "/old/app.dll");
  ulk::ModuleLanguage& spanish = *other.modules.front().FindLanguage("Español");
  for (int n = 0; n < kTexts; ++n) spanish.SetEntry(Key(n), "ES " + older[static_cast<std::size_t>(n)]);

  std::size_t found = 0;
  const double mapped = ulk::bench::Seconds([&] {
    std::unordered_map<std::string, std::string> byText;
    for (int n = 0; n < kTexts; ++n) byText.emplace(older[static_cast<std::size_t>(n)], Key(n));
    for (const std::string& text : texts) found += byText.count(text);
  });
  ulk::LeverageOptions options;
  options.minimum = 75;
  ulk::LeverageResult result;
  const double leverage =
      ulk::bench::Seconds([&] { result = ulk::LeverageTranslations(project, other, options); });
  ulk::bench::Report("reuse of 20,000 texts from 20,000", leverage, "s", mapped,
                     "texts looked up in a map", "<= 1 s");
  const ulk::LanguageLeverage& line = result.languages.front();
  std::printf("  context %zu, 100 %% %zu, similar %zu (of %zu found by text)\n",
              line.filled[ulk::kLeverageContext], line.filled[ulk::kLeverageExact],
              line.filled[ulk::kLeverageSimilar], found);
  return 0;
}
