// ulk-cli's exchange commands on the bundled example, against golden files
// (tests/cli/golden; ULK_UPDATE_GOLDEN=1 writes them anew).
#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include <gtest/gtest.h>

#include "tests/cli/cli_runner.h"
#include "tests/test_support.h"

namespace ulk {
namespace {

namespace fs = std::filesystem;
using testing::CliRun;

constexpr const char* kGerman = "Alemán (Alemania)";
constexpr const char* kEnglish = "Inglés (Estados Unidos)";

class ExchangeCliTest : public ::testing::Test {
 protected:
  ExchangeCliTest() : dir_("exchange-cli") {}
  void SetUp() override {
    for (const char* name : {"demo32.dll", "demo64.dll"}) {
      fs::copy_file(std::string(ULK_DEMO_DIR) + "/" + name, dir_ / name);
    }
    fs::copy_file(std::string(ULK_DEMO_SOURCE) + "/demo.ulk", dir_ / "demo.ulk");
  }
  CliRun Run(const std::vector<std::string>& arguments) {
    return testing::RunUlkCli(dir_.path().string(), arguments);
  }
  std::string File(const std::string& name) { return testing::ReadFileBytes(dir_ / name); }
  // Compares with the golden file, whose dates are those of the moment it
  // was written.
  static void ExpectGolden(const std::string& name, std::string text) {
    const auto date = text.find("PO-Revision-Date: ");
    if (date != std::string::npos) text.replace(date + 18, 21, "AAAA-MM-DD HH:MM+0000");
    const std::string path = std::string(ULK_GOLDEN_DIR) + "/" + name;
    if (std::getenv("ULK_UPDATE_GOLDEN")) testing::WriteFileBytes(path, text);
    EXPECT_EQ(text, testing::ReadFileBytes(path)) << name;
  }

  testing::TempDir dir_;
};

TEST_F(ExchangeCliTest, ExportWritesBothFormats) {
  const CliRun po = Run({"export", "demo.ulk", "demo32.dll", kGerman, "de.po"});
  EXPECT_EQ(po.status, 0) << po.err;
  EXPECT_EQ(po.out, "Unidades exportadas: 48 (traducidas: 20) -> de.po\n");
  ExpectGolden("export-de.po", File("de.po"));
  const CliRun xliff = Run({"export", "demo.ulk", "demo32.dll", kGerman, "de.xliff"});
  EXPECT_EQ(xliff.status, 0) << xliff.err;
  ExpectGolden("export-de.xliff", File("de.xliff"));

  const CliRun wrong = Run({"export", "demo.ulk", "demo32.dll", kGerman, "de.txt"});
  EXPECT_EQ(wrong.status, 1);
  EXPECT_EQ(wrong.err, "error: formato de archivo desconocido: de.txt (use .xlf, .xliff o .po)\n");
  const CliRun original = Run({"export", "demo.ulk", "demo32.dll", "Español (España)", "es.po"});
  EXPECT_EQ(original.status, 1);
  EXPECT_FALSE(fs::exists(dir_ / "es.po"));
}

TEST_F(ExchangeCliTest, ImportReportsAndSavesOnlyWhenSomethingChanged) {
  ASSERT_EQ(Run({"export", "demo.ulk", "demo32.dll", kGerman, "de.po"}).status, 0);
  const std::string before = File("demo.ulk");
  const CliRun same = Run({"import", "demo.ulk", "demo32.dll", kGerman, "de.po"});
  EXPECT_EQ(same.status, 0) << same.err;
  EXPECT_EQ(same.out,
            "Unidades: 48\nAplicadas: 20 (con cambios: 0)\nPor revisar: 0\nOmitidas: 28\n"
            "Desfasadas: 0\nDesconocidas: 0\n");
  EXPECT_EQ(File("demo.ulk"), before);

  std::string po = File("de.po");
  const std::string from = "msgid \"&Acerca de Notas...\"\nmsgstr \"\"";
  ASSERT_NE(po.find(from), std::string::npos);
  po.replace(po.find(from), from.size(), "msgid \"&Acerca de Notas...\"\nmsgstr \"Ü&ber...\"");
  // A suggestion the translator has not settled, with a note.
  const std::string cut = "msgctxt \"MN_N_1 (7)\"\nmsgid \"Cor&tar\\tCtrl+X\"\nmsgstr \"\"";
  ASSERT_NE(po.find(cut), std::string::npos);
  po.replace(po.find(cut), cut.size(),
             "# ¿Ausschneiden o Schneiden?\n#, fuzzy\nmsgctxt \"MN_N_1 (7)\"\n"
             "msgid \"Cor&tar\\tCtrl+X\"\nmsgstr \"&Ausschneiden\\tStrg+X\"");
  po += "\nmsgctxt \"ST_N_77 (1)\"\nmsgid \"x\"\nmsgstr \"y\"\n";
  testing::WriteFileBytes(dir_ / "de.po", po);
  const CliRun changed = Run({"import", "demo.ulk", "demo32.dll", kGerman, "de.po"});
  EXPECT_EQ(changed.status, 0) << changed.err;
  EXPECT_EQ(changed.out,
            "Unidades: 49\nAplicadas: 21 (con cambios: 2)\nPor revisar: 1\nOmitidas: 26\n"
            "Desfasadas: 0\nDesconocidas: 1\n  desconocida: ST_N_77 (1)\n");
  const std::string project = File("demo.ulk");
  EXPECT_NE(project.find("MN_N_1 (13) = \"Ü&ber...\""), std::string::npos);
  EXPECT_NE(project.find("MN_N_1 (7) = \"&Ausschneiden\\tStrg+X\"\nMN_N_1 (7) STATE = TO REVIEW\n"
                         "MN_N_1 (7) NOTE = \"¿Ausschneiden o Schneiden?\"\n"),
            std::string::npos)
      << project;

  const std::string saved = File("demo.ulk");
  testing::WriteFileBytes(dir_ / "bad.po", po + "msgid \"roto\nmsgstr \"\"\n");
  const CliRun bad = Run({"import", "demo.ulk", "demo32.dll", kGerman, "bad.po"});
  EXPECT_EQ(bad.status, 1);
  EXPECT_EQ(bad.err, "error: bad.po: línea 276: la cadena no termina en esta línea\n");
  EXPECT_EQ(bad.out, "");
  EXPECT_EQ(File("demo.ulk"), saved);

  // Octal escapes give bytes that are not UTF-8, which would have made the
  // project's next load read the whole file as Windows-1252.
  const std::string translated = "msgstr \"Ü&ber...\"";
  std::string octal = po;
  octal.replace(octal.find(translated), translated.size(), "msgstr \"\\334&ber...\"");
  testing::WriteFileBytes(dir_ / "octal.po", octal);
  const auto line =
      1 + std::ranges::count(std::string_view(octal).substr(0, octal.find("\\334")), '\n');
  const CliRun octalRun = Run({"import", "demo.ulk", "demo32.dll", kGerman, "octal.po"});
  EXPECT_EQ(octalRun.status, 1);
  EXPECT_EQ(octalRun.err, "error: octal.po: línea " + std::to_string(line) +
                              ": el texto de msgstr no es UTF-8 válido\n");
  EXPECT_EQ(File("demo.ulk"), saved);
}

// The example is what a new user checks first: its only findings are the
// German texts it leaves untranslated on purpose, and the shortcuts of
// "Abrir", "Guardar" and "Buscar", which its translators changed to the
// English and German custom (Ctrl+O, Ctrl+S, Ctrl+F) while the module's
// accelerators still bind Ctrl+A, Ctrl+G and Ctrl+B.
TEST_F(ExchangeCliTest, TheExampleChecksCleanButForItsUntranslatedTextsAndShortcuts) {
  const CliRun english = Run({"check", "demo.ulk", "--language", kEnglish});
  EXPECT_EQ(english.status, 1) << english.out;
  EXPECT_NE(english.out.find("Problemas encontrados: 6 "), std::string::npos) << english.out;

  const CliRun all = Run({"check", "demo.ulk", "--json"});
  EXPECT_EQ(all.status, 1);
  std::size_t findings = 0;
  std::size_t shortcuts = 0;
  for (std::size_t at = all.out.find("\"check\":\""); at != std::string::npos;
       at = all.out.find("\"check\":\"", at + 1)) {
    ++findings;
    const std::size_t start = at + 9;
    const std::string check = all.out.substr(start, all.out.find('"', start) - start);
    const std::size_t object = all.out.rfind('{', at);
    const std::string finding = all.out.substr(object, all.out.find('}', at) - object + 1);
    if (check == "shortcut") {
      ++shortcuts;
      EXPECT_TRUE(finding.find("\"key\":\"MN_N_1 (2)\"") != std::string::npos ||
                  finding.find("\"key\":\"MN_N_1 (3)\"") != std::string::npos ||
                  finding.find("\"key\":\"MN_N_1 (11)\"") != std::string::npos)
          << finding;
      continue;
    }
    EXPECT_EQ(check, "untranslated") << finding;
    EXPECT_NE(finding.find(std::string("\"language\":\"") + kGerman + "\""), std::string::npos)
        << finding;
  }
  // In both modules: three in English, two in German (which leaves "Buscar"
  // untranslated).
  EXPECT_EQ(shortcuts, 10u) << all.out;
  EXPECT_GT(findings, shortcuts) << all.out;
}

TEST_F(ExchangeCliTest, CheckPrintsFindingsAndFailsWhenThereAreAny) {
  // Two controls of one dialog with the access key T.
  ASSERT_EQ(Run({"set", "demo.ulk", "demo32.dll", "DL_N_200 (5)", kEnglish, "&Tags:"}).status, 0);
  const CliRun text = Run({"check", "demo.ulk", "demo32.dll", "--language", kEnglish});
  EXPECT_EQ(text.status, 1);
  ExpectGolden("check-en.txt", text.out);
  const CliRun json = Run({"check", "demo.ulk", "demo32.dll", "--language", kEnglish, "--json"});
  EXPECT_EQ(json.status, 1);
  ExpectGolden("check-en.json", json.out);
  const CliRun unknown = Run({"check", "demo.ulk", "--language", "Klingon"});
  EXPECT_EQ(unknown.status, 1);
  EXPECT_EQ(unknown.err, "error: ningún módulo tiene el idioma de destino Klingon\n");
  // Fixing what was found leaves nothing to report.
  ASSERT_EQ(Run({"set", "demo.ulk", "demo32.dll", "DL_N_200 (5)", kEnglish, "Ta&gs:"}).status, 0);
  // The shortcuts the accelerators bind.
  ASSERT_EQ(
      Run({"set", "demo.ulk", "demo32.dll", "MN_N_1 (2)", kEnglish, "&Open...\\tCtrl+A"}).status,
      0);
  ASSERT_EQ(Run({"set", "demo.ulk", "demo32.dll", "MN_N_1 (3)", kEnglish, "&Save\\tCtrl+G"}).status,
            0);
  ASSERT_EQ(
      Run({"set", "demo.ulk", "demo32.dll", "MN_N_1 (11)", kEnglish, "&Find...\\tCtrl+B"}).status,
      0);
  const CliRun clean = Run({"check", "demo.ulk", "demo32.dll", "--language", kEnglish});
  EXPECT_EQ(clean.status, 0) << clean.out;
  EXPECT_EQ(clean.out, "Problemas encontrados: 0 (textos revisados: 48)\n");
}

TEST_F(ExchangeCliTest, FitWidensWhatCheckFindsTooNarrowAndSavesOnlyWhenAsked) {
  ASSERT_EQ(
      Run({"set", "demo.ulk", "demo32.dll", "DL_N_200 (1)", kEnglish, "&Title of the new note:"})
          .status,
      0);
  const CliRun before = Run({"check", "demo.ulk", "demo32.dll", "--language", kEnglish});
  EXPECT_NE(before.out.find("DL_N_200 (1): ancho"), std::string::npos) << before.out;
  const std::string saved = File("demo.ulk");

  const CliRun dry = Run({"fit", "demo.ulk", "demo32.dll", kEnglish, "--dry-run"});
  EXPECT_EQ(dry.status, 0) << dry.err;
  EXPECT_EQ(File("demo.ulk"), saved);
  EXPECT_EQ(dry.out,
            "DL_N_200 (0): 0, 0, 240, 170 -> 0, 0, 256, 170 (diálogo ensanchado)\n"
            "DL_N_200 (1): 10, 12, 50, 8 -> 10, 12, 67, 8 (ensanchado)\n"
            "DL_N_200 (2): 65, 10, 165, 12 -> 81, 10, 165, 12 (movido para hacer sitio)\n"
            "Diálogos ajustados: 1 de 2; controles sin ajustar: 0 (prueba: no se ha guardado "
            "nada)\n");

  const CliRun fit = Run({"fit", "demo.ulk", "demo32.dll", kEnglish, "--json"});
  EXPECT_EQ(fit.status, 0) << fit.err;
  EXPECT_NE(fit.out.find("{\"key\":\"DL_N_200 (1)\",\"item\":1,\"before\":[10,12,50,8],"
                         "\"after\":[10,12,67,8],\"widened\":true}"),
            std::string::npos)
      << fit.out;
  const std::string project = File("demo.ulk");
  EXPECT_NE(project.find("FILE VERSION = 1.3\n"), std::string::npos);
  EXPECT_NE(project.find("DL_N_200 (1) RECT = 10, 12, 67, 8 FROM 10, 12, 50, 8 ID 65535\n"),
            std::string::npos)
      << project;
  const CliRun after = Run({"check", "demo.ulk", "demo32.dll", "--language", kEnglish});
  EXPECT_EQ(after.out.find("ancho"), std::string::npos) << after.out;
  EXPECT_EQ(after.out.find("solapamiento"), std::string::npos) << after.out;
  // Nothing more to do, nothing saved.
  const CliRun again = Run({"fit", "demo.ulk", "demo32.dll", kEnglish, "--dialog", "DL_N_200"});
  EXPECT_EQ(again.status, 0);
  EXPECT_EQ(File("demo.ulk"), project);

  EXPECT_EQ(Run({"fit", "demo.ulk", "demo32.dll", kEnglish, "--dialog", "DL_N_9"}).status, 1);
  EXPECT_EQ(Run({"fit", "demo.ulk", "demo32.dll", "Klingon"}).status, 1);
  EXPECT_EQ(Run({"fit", "demo.ulk", "demo32.dll"}).status, 2);
}

TEST_F(ExchangeCliTest, PseudoFillsALanguage) {
  const CliRun run = Run({"pseudo", "demo.ulk", "demo32.dll", kGerman, "--expand", "50"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "Textos pseudotraducidos: 48 (con cambios: 48)\n");
  const CliRun list = Run({"list", "demo.ulk", "demo32.dll", "--kind", "MN"});
  ExpectGolden("pseudo-menus.txt", list.out);
  for (const char* expand : {"-1", "abc", "1001", ""}) {
    const CliRun bad = Run({"pseudo", "demo.ulk", "demo32.dll", kGerman, "--expand", expand});
    EXPECT_EQ(bad.status, 2) << expand;
  }
  const CliRun original = Run({"pseudo", "demo.ulk", "demo32.dll", "Español (España)"});
  EXPECT_EQ(original.status, 1);
  EXPECT_EQ(original.err,
            "error: el módulo demo32.dll no tiene el idioma de destino Español (España)\n");
}

TEST_F(ExchangeCliTest, DictionariesThroughTmx) {
  testing::WriteFileBytes(dir_ / "in.tmx", R"(<?xml version="1.0" encoding="UTF-8"?>
<tmx version="1.4"><header creationtool="x" creationtoolversion="1" segtype="phrase"
 o-tmf="x" adminlang="en" srclang="es-ES" datatype="plaintext"/><body>
<tu><prop type="x-text-type">MN</prop>
 <tuv xml:lang="es-ES"><seg>&amp;Abrir</seg></tuv>
 <tuv xml:lang="en-US"><seg>&amp;Open</seg></tuv>
 <tuv xml:lang="de-DE"><seg>Ö&amp;ffnen</seg></tuv></tu>
</body></tmx>)");
  const CliRun imported = Run({"import-tmx", "new.dic", "in.tmx"});
  EXPECT_EQ(imported.status, 0) << imported.err;
  EXPECT_EQ(imported.out,
            "Unidades: 1 (omitidas: 0)\nTextos añadidos: 3\nTextos reutilizados: 0\nEnlaces: 2\n"
            "Idioma añadido: Español (España)\nIdioma añadido: Inglés (Estados Unidos)\n"
            "Idioma añadido: Alemán (Alemania)\n");
  const CliRun exported = Run({"export-tmx", "new.dic", "out.tmx"});
  EXPECT_EQ(exported.status, 0) << exported.err;
  // Each variant is linked with the unit's source variant only.
  EXPECT_EQ(exported.out, "Unidades exportadas: 2 -> out.tmx\n");
  ExpectGolden("export.tmx", File("out.tmx"));
  const CliRun missing = Run({"export-tmx", "none.dic", "x.tmx"});
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.err, "error: el diccionario none.dic no existe\n");
  EXPECT_FALSE(fs::exists(dir_ / "none.dic"));
  testing::WriteFileBytes(dir_ / "bad.tmx", "<tmx><body>\n<tu>\n</body></tmx>");
  const CliRun bad = Run({"import-tmx", "new.dic", "bad.tmx"});
  EXPECT_EQ(bad.status, 1);
  EXPECT_EQ(bad.err.rfind("error: bad.tmx: línea 3", 0), 0u) << bad.err;
}

}  // namespace
}  // namespace ulk
