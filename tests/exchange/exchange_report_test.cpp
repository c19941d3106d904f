// The file names the window offers for an exchange and the report of an
// import, which lists at most a few keys of each kind.
#include "translator/exchange/exchange_report.h"

#include <gtest/gtest.h>

namespace ulk {
namespace {

Module ModuleAt(const std::string& path) {
  Module module;
  module.path = path;
  module.AddLanguage(ModuleLanguage("Español (España)", "", true));
  module.AddLanguage(ModuleLanguage("Inglés (Estados Unidos)", "/o/en.dll", false));
  module.AddLanguage(ModuleLanguage("Klingon a/b", "/o/tlh.dll", false));
  return module;
}

TEST(ExchangeReport, TargetLanguagesInModuleOrderWithoutTheOriginal) {
  EXPECT_EQ(TargetLanguageNames(ModuleAt("/a/app.dll")),
            (std::vector<std::string>{"Inglés (Estados Unidos)", "Klingon a/b"}));
}

TEST(ExchangeReport, SuggestedPathsAndExtensions) {
  struct Case {
    const char* modulePath;
    const char* language;
    ExchangeFormat format;
    const char* expected;
  };
  const Case cases[] = {
      {"/a/app.dll", "Inglés (Estados Unidos)", ExchangeFormat::kXliff, "/a/app.en-US.xlf"},
      {"/a/app.dll", "Inglés (Estados Unidos)", ExchangeFormat::kPo, "/a/app.en-US.po"},
      // No tag: the name itself, without a folder separator in it.
      {"/a/app.dll", "Klingon a/b", ExchangeFormat::kPo, "/a/app.Klingon a_b.po"},
      // A project written on the other system keeps its own separator.
      {"C:\\m\\app.exe", "Inglés (Estados Unidos)", ExchangeFormat::kXliff, "C:\\m\\app.en-US.xlf"},
      {"app", "Inglés (Estados Unidos)", ExchangeFormat::kXliff, "app.en-US.xlf"},
      {"/a/.hidden", "Inglés (Estados Unidos)", ExchangeFormat::kXliff, "/a/.hidden.en-US.xlf"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SuggestedExchangePath(ModuleAt(c.modulePath), c.language, c.format), c.expected)
        << c.modulePath << " " << c.language;
  }
  EXPECT_EQ(WithExchangeExtension("/t/x.po", ExchangeFormat::kXliff), "/t/x.po");
  EXPECT_EQ(WithExchangeExtension("/t/x.XLIFF", ExchangeFormat::kPo), "/t/x.XLIFF");
  EXPECT_EQ(WithExchangeExtension("/t/x", ExchangeFormat::kPo), "/t/x.po");
  EXPECT_EQ(WithExchangeExtension("/t/x.txt", ExchangeFormat::kXliff), "/t/x.txt.xlf");
}

TEST(ExchangeReport, ImportReportCountsAndListsAFewKeys) {
  ImportResult result;
  result.ok = true;
  result.units = 9;
  result.applied = 4;
  result.toReview = 2;
  result.skipped = 1;
  result.changedKeys = {"ST_N_1 (1)", "ST_N_1 (2)"};
  result.stale = {"ST_N_1 (3)", "ST_N_1 (4)", "ST_N_1 (5)"};
  result.unknown = {""};
  EXPECT_EQ(ImportReport(result, 2),
            "Unidades leídas: 9\nAplicadas: 4 (con cambios: 2)\nPor revisar: 2\nOmitidas: 1\n"
            "Desfasadas: 3\n"
            "Desconocidas: 1\n\nDesfasadas (el original ha cambiado):\n  ST_N_1 (3)\n  ST_N_1 "
            "(4)\n  ... y 1 más\n\nDesconocidas (no están en el módulo):\n  (sin clave)");
  EXPECT_TRUE(ImportNeedsAttention(result));
  result.stale.clear();
  result.unknown.clear();
  EXPECT_FALSE(ImportNeedsAttention(result));
}

TEST(ExchangeReport, PseudoQuestionCountsTheTranslationsItReplaces) {
  Module module = ModuleAt("/a/app.dll");
  module.FindLanguage("Inglés (Estados Unidos)")->SetEntry("ST_N_1 (1)", "Open");
  module.FindLanguage("Inglés (Estados Unidos)")->SetEntry("ST_N_1 (2)", "");
  EXPECT_EQ(TranslatedCount(module, "Inglés (Estados Unidos)"), 1u);
  EXPECT_EQ(TranslatedCount(module, "Nadie"), 0u);
  EXPECT_EQ(PseudoQuestion("X", 0), "¿Pseudotraducir el idioma \"X\"?");
  EXPECT_EQ(PseudoQuestion("X", 3),
            "Se sustituirán 3 traducción(es) del idioma \"X\" por una pseudotraducción.\n\n"
            "¿Desea continuar?");
}

TEST(ExchangeReport, AFindingWholeForThePaneUnderTheList) {
  Finding finding;
  finding.moduleFile = "app.dll";
  finding.language = "Alemán (Alemania)";
  finding.key = "DL_N_100 (3)";
  finding.check = CheckKind::kFormat;
  finding.original = "Abrir %s\\ndesde el disco";
  finding.detail = "falta %s";
  const std::string label = CheckLabel(CheckKind::kFormat);
  EXPECT_EQ(FindingText(finding), "app.dll · Alemán (Alemania) · DL_N_100 (3) · " + label +
                                      "\nDetalle: falta %s\nOriginal: Abrir %s\\ndesde el "
                                      "disco\nTraducción: (sin traducir)");
  finding.translation = "Öffnen";
  EXPECT_NE(FindingText(finding).find("\nTraducción: Öffnen"), std::string::npos);
}

}  // namespace
}  // namespace ulk
