// ulk-cli on the bundled example: every command's output and exit status.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <algorithm>
#include <filesystem>

#include <gtest/gtest.h>

#include "platform/pe_image.h"
#include "tests/cli/cli_runner.h"
#include "tests/test_support.h"

namespace ulk {
namespace {

namespace fs = std::filesystem;
using testing::CliRun;

class CliTest : public ::testing::Test {
 protected:
  CliTest() : dir_("cli") {}
  void SetUp() override {
    // The modules as built, the project as it stands in the sources (with
    // paths relative to its folder).
    for (const char* name : {"demo32.dll", "demo64.dll"}) {
      fs::copy_file(std::string(ULK_DEMO_DIR) + "/" + name, dir_ / name);
    }
    fs::copy_file(std::string(ULK_DEMO_SOURCE) + "/demo.ulk", dir_ / "demo.ulk");
  }
  CliRun Run(const std::vector<std::string>& arguments) {
    return testing::RunUlkCli(dir_.path().string(), arguments);
  }
  std::string Project() { return testing::ReadFileBytes(dir_ / "demo.ulk"); }
  // The language the version block of a written module lies under; 0 when
  // the module or its version block cannot be found.
  std::uint16_t VersionLanguage(const std::string& name) {
    ModuleImage image;
    if (image.Open(dir_ / name) != 0) return 0;
    const ResourceData* version = image.Find(ResourceId::Number(16), ResourceId::Number(1));
    return version ? version->language : 0;
  }

  testing::TempDir dir_;
};

TEST_F(CliTest, BadUsageExitsWithTwo) {
  const std::vector<std::vector<std::string>> cases = {
      {},
      {"frobnicate"},
      {"stats"},
      {"stats", "a", "b"},
      {"list", "demo.ulk"},
      {"stats", "demo.ulk", "--verbose"},
      {"new", "x.ulk"},
      {"generate", "demo.ulk", "--language"},
      {"list", "demo.ulk", "demo32.dll", "--kind", "XX"}};
  for (const auto& arguments : cases) {
    const CliRun run = Run(arguments);
    EXPECT_EQ(run.status, 2) << ::testing::PrintToString(arguments);
    EXPECT_NE(run.err.find("Uso: ulk-cli ORDEN"), std::string::npos);
    EXPECT_EQ(run.out, "");
  }
  const CliRun unknown = Run({"frobnicate"});
  EXPECT_EQ(unknown.err.substr(0, unknown.err.find('\n')),
            "ulk-cli: orden desconocida: frobnicate");
  const CliRun help = Run({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.out.substr(0, help.out.find('\n')), "Uso: ulk-cli ORDEN [ARGUMENTOS]");
}

TEST_F(CliTest, MissingProjectsAndModules) {
  const CliRun missing = Run({"stats", "nowhere.ulk"});
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.err,
            "error: nowhere.ulk\nImposible encontrar este archivo.\nCompruebe que la ruta y el "
            "nombre de archivo son correctos\n");
  testing::WriteFileBytes(dir_ / "bad.ulk",
                          "[RESOURCE TRANSLATE PROJECT FILE]\nFILE VERSION = 3.0\n");
  const CliRun bad = Run({"stats", "bad.ulk"});
  EXPECT_EQ(bad.status, 1);
  EXPECT_EQ(bad.err,
            "error: Error abriendo el archivo bad.ulk\nVersión del archivo desconocida\n"
            "Formato de archivo no esperado.\n");
  const CliRun module = Run({"list", "demo.ulk", "other.dll"});
  EXPECT_EQ(module.status, 1);
  EXPECT_EQ(module.err, "error: el módulo other.dll no está en el proyecto\n");
  const CliRun add = Run({"add", "demo.ulk", "demo32.dll", "missing.dll"});
  EXPECT_EQ(add.status, 1);
  EXPECT_EQ(add.err,
            "aviso: Error añadiendo módulos al proyecto\n"
            "El módulo \"demo32.dll\" ya está en el proyecto\n"
            "Error añadiendo el módulo \"missing.dll\" al proyecto\n");
}

TEST_F(CliTest, StatsAndListOnTheExample) {
  const std::string before = Project();
  const CliRun stats = Run({"stats", "demo.ulk"});
  EXPECT_EQ(stats.status, 0);
  const std::string here = fs::canonical(dir_.path()).string();
  EXPECT_EQ(
      stats.out,
      "Proyecto: Notas (ejemplo)\n"
      "demo32.dll (" +
          here +
          "/demo32.dll): 48 textos en Español (España)\n"
          "  estados: 0=48\n"
          "  Inglés (Estados Unidos): 48 traducidos, 0 sin traducir -> "
          "traducciones/en-US/demo32.dll\n"
          "  Alemán (Alemania): 20 traducidos, 28 sin traducir -> traducciones/de-DE/demo32.dll\n"
          "demo64.dll (" +
          here +
          "/demo64.dll): 48 textos en Español (España)\n"
          "  estados: 0=48\n"
          "  Inglés (Estados Unidos): 48 traducidos, 0 sin traducir -> "
          "traducciones/en-US/demo64.dll\n"
          "  Alemán (Alemania): 20 traducidos, 28 sin traducir -> traducciones/de-DE/demo64.dll\n");
  const CliRun versions = Run({"list", "demo.ulk", "demo32.dll", "--kind", "VS"});
  EXPECT_EQ(versions.status, 0);
  // The texts, then the review state of each target language, then the
  // note of each language.
  EXPECT_EQ(versions.out,
            "Clave\tEstado\tEspañol (España)\tInglés (Estados Unidos)\tAlemán (Alemania)"
            "\tRevisión Inglés (Estados Unidos)\tRevisión Alemán (Alemania)"
            "\tNota Español (España)\tNota Inglés (Estados Unidos)\tNota Alemán (Alemania)\n"
            "VS_N_1 (0)\t0\tEjemplo de ULK\tULK example\t\ttraducido\t\t\t\t\n"
            "VS_N_1 (1)\t0\tBiblioteca de recursos de Notas\tNotes resource library\t"
            "Ressourcenbibliothek für Notizen\ttraducido\ttraducido\t\t\t\n"
            "VS_N_1 (2)\t0\t1.0.0.0\t1.0.0.0\t\ttraducido\t\t\t\t\n"
            "VS_N_1 (3)\t0\tDominio público\tPublic domain\t\ttraducido\t\t\t\t\n"
            "VS_N_1 (4)\t0\tNotas\tNotes\t\ttraducido\t\t\t\t\n");
  const CliRun json = Run({"list", "demo.ulk", here + "/demo64.dll", "--kind", "ST", "--json"});
  EXPECT_EQ(json.status, 0);
  EXPECT_EQ(
      json.out.rfind("[{\"key\":\"ST_N_1 (1)\",\"status\":0,\"texts\":{\"Español "
                     "(España)\":\"Notas\",\"Inglés "
                     "(Estados Unidos)\":\"Notes\",\"Alemán (Alemania)\":\"Notizen\"},"
                     "\"review\":{\"Inglés (Estados Unidos)\":\"translated\",\"Alemán "
                     "(Alemania)\":\"translated\"},\"notes\":{}},{\"key\":\"",
                     0),
      0u)
      << json.out;
  EXPECT_NE(json.out.find("\"Alemán (Alemania)\":null"), std::string::npos);
  const CliRun statsJson = Run({"stats", "demo.ulk", "--json"});
  EXPECT_NE(statsJson.out.find("{\"name\":\"Alemán (Alemania)\",\"output\":\"traducciones/de-DE/"
                               "demo32.dll\",\"translated\":20,\"untranslated\":28,"
                               "\"toReview\":0,\"reviewed\":0,\"notes\":0}"),
            std::string::npos);
  EXPECT_EQ(Project(), before) << "reading commands do not save";
  const CliRun languages = Run({"languages"});
  EXPECT_NE(languages.out.find("00000C0A\tEspañol (España)\n"), std::string::npos);
}

TEST_F(CliTest, ReadGenerateAndSetOnTheExample) {
  const CliRun read = Run({"read", "demo.ulk"});
  EXPECT_EQ(read.status, 0);
  EXPECT_EQ(read.out, "Módulos leídos: 2\n");
  EXPECT_EQ(read.err,
            "Validando módulo demo32.dll...\nLeyendo recursos del módulo demo32.dll...\n"
            "Validando módulo demo64.dll...\nLeyendo recursos del módulo demo64.dll...\n");
  const CliRun generate =
      Run({"generate", "demo.ulk", "demo64.dll", "--language", "Alemán (Alemania)"});
  EXPECT_EQ(generate.status, 0);
  const std::string here = fs::canonical(dir_.path()).string();
  EXPECT_EQ(generate.out,
            "Módulo demo64.dll generando correctamente\n"
            "demo64.dll [Alemán (Alemania)]: " +
                here + "/traducciones/de-DE/demo64.dll\n");
  EXPECT_FALSE(fs::exists(dir_ / "traducciones/en-US/demo64.dll"));
  EXPECT_EQ(Run({"generate", "demo.ulk", "--language", "Klingon"}).status, 1);

  EXPECT_EQ(Run({"set", "demo.ulk", "demo32.dll", "ST_N_1 (3)", "Alemán (Alemania)",
                 "Datei kann nicht geöffnet werden:\\n%s"})
                .status,
            0);
  EXPECT_NE(Project().find("ST_N_1 (3) = \"Datei kann nicht geöffnet werden:\\n%s\""),
            std::string::npos);
  const CliRun original =
      Run({"set", "demo.ulk", "demo32.dll", "ST_N_1 (3)", "Español (España)", "x"});
  EXPECT_EQ(original.status, 1);
  EXPECT_EQ(original.err, "error: el idioma original no se traduce: Español (España)\n");
  EXPECT_EQ(Run({"set", "demo.ulk", "demo32.dll", "ST_N_9 (9)", "Alemán (Alemania)", "x"}).status,
            1);
}

// An output path with accents is compared in capitals, and the version
// block gets the language of its code.
TEST_F(CliTest, ReviewStatesAndNotesAreKeptAndCounted) {
  constexpr const char* kEnglish = "Inglés (Estados Unidos)";
  const std::string plain = Project();
  EXPECT_NE(plain.find("FILE VERSION = 1.2\n"), std::string::npos);
  // Every key is checked first: a key without translation marks nothing.
  const CliRun untranslated = Run({"review", "demo.ulk", "demo32.dll", "Alemán (Alemania)",
                                   "reviewed", "ST_N_1 (1)", "ST_N_1 (3)"});
  EXPECT_EQ(untranslated.status, 1);
  EXPECT_EQ(untranslated.err,
            "error: la clave ST_N_1 (3) no está traducida en Alemán (Alemania)\n");
  EXPECT_EQ(Run({"review", "demo.ulk", "demo32.dll", kEnglish, "maybe"}).status, 2);
  EXPECT_EQ(Project(), plain);

  const CliRun all = Run({"review", "demo.ulk", "demo32.dll", kEnglish, "reviewed"});
  EXPECT_EQ(all.status, 0) << all.err;
  EXPECT_EQ(all.out, "Textos marcados como revisado: 48 de 48\n");
  const CliRun some =
      Run({"review", "demo.ulk", "demo32.dll", kEnglish, "to-review", "ST_N_1 (1)", "VS_N_1 (0)"});
  EXPECT_EQ(some.out, "Textos marcados como por revisar: 2 de 2\n");
  ASSERT_EQ(Run({"note", "demo.ulk", "demo32.dll", "ST_N_1 (1)", kEnglish, "¿\"Notes\" o Notas?"})
                .status,
            0);
  // A new text is translated again, whatever was said of the old one.
  ASSERT_EQ(Run({"set", "demo.ulk", "demo32.dll", "VS_N_1 (0)", kEnglish, "ULK sample"}).status, 0);
  const std::string saved = Project();
  EXPECT_NE(saved.find("FILE VERSION = 1.3\n"), std::string::npos);
  EXPECT_NE(saved.find("ST_N_1 (1) STATE = TO REVIEW\nST_N_1 (1) NOTE = \"¿\"Notes\" o Notas?\"\n"),
            std::string::npos)
      << saved;

  const CliRun toReview =
      Run({"list", "demo.ulk", "demo32.dll", "--state", "to-review", "--language", kEnglish});
  EXPECT_EQ(toReview.out,
            "Clave\tEstado\tEspañol (España)\tInglés (Estados Unidos)"
            "\tRevisión Inglés (Estados Unidos)\tNota Español (España)"
            "\tNota Inglés (Estados Unidos)\n"
            "ST_N_1 (1)\t0\tNotas\tNotes\tpor revisar\t\t¿\"Notes\" o Notas?\n");
  const CliRun translated = Run({"list", "demo.ulk", "demo32.dll", "--state", "translated",
                                 "--language", kEnglish, "--json"});
  EXPECT_EQ(translated.out.rfind("[{\"key\":\"VS_N_1 (0)\"", 0), 0u) << translated.out;
  EXPECT_NE(translated.out.find("\"review\":{\"Inglés (Estados Unidos)\":\"translated\"}"),
            std::string::npos);
  EXPECT_EQ(Run({"list", "demo.ulk", "demo32.dll", "--state", "fuzzy"}).status, 2);
  EXPECT_EQ(Run({"list", "demo.ulk", "demo32.dll", "--language", "Klingon"}).status, 1);

  const CliRun stats = Run({"stats", "demo.ulk"});
  EXPECT_NE(stats.out.find("  Inglés (Estados Unidos): 48 traducidos, 0 sin traducir -> "
                           "traducciones/en-US/demo32.dll\n"
                           "    1 por revisar, 46 revisados, 1 con nota\n"),
            std::string::npos)
      << stats.out;

  // Taking every state and note away writes the old version again.
  ASSERT_EQ(Run({"review", "demo.ulk", "demo32.dll", kEnglish, "translated"}).status, 0);
  ASSERT_EQ(Run({"note", "demo.ulk", "demo32.dll", "ST_N_1 (1)", kEnglish, ""}).status, 0);
  ASSERT_EQ(Run({"set", "demo.ulk", "demo32.dll", "VS_N_1 (0)", kEnglish, "ULK example"}).status,
            0);
  std::string expected = plain;
  // `set` marks the original as translated by hand, which is kept.
  const std::string original = "VS_N_1 (0) = \"Ejemplo de ULK\"\n";
  expected.replace(expected.find("FILE VERSION = 1.2"), 18, "FILE VERSION = 1.3");
  expected.insert(expected.find(original) + original.size(), "VS_N_1 (0) STATUS = 2\n");
  EXPECT_EQ(Project(), expected);
}

TEST_F(CliTest, AnOutputPathWithAccents) {
  ASSERT_EQ(Run({"add-language", "demo.ulk", "demo64.dll", "Francés (Francia)", "--output",
                 "salida/módulo/demo64.dll"})
                .status,
            0);
  const CliRun generate =
      Run({"generate", "demo.ulk", "demo64.dll", "--language", "Francés (Francia)"});
  ASSERT_EQ(generate.status, 0) << generate.err;
  EXPECT_EQ(VersionLanguage("salida/módulo/demo64.dll"), 0x040C);
}

// Relative paths lead from the project's folder, whatever folder the
// program runs in, and stay relative when the project is saved: the folder
// can be moved.
TEST_F(CliTest, RelativePathsLeadFromTheProjectFolder) {
  testing::TempDir elsewhere("cli-elsewhere");
  const std::string project = dir_ / "demo.ulk";
  const CliRun read = testing::RunUlkCli(elsewhere.path().string(), {"read", project});
  EXPECT_EQ(read.status, 0) << read.err;
  ASSERT_EQ(testing::RunUlkCli(elsewhere.path().string(), {"set", project, "demo32.dll",
                                                           "ST_N_1 (3)", "Alemán (Alemania)", "x"})
                .status,
            0);
  const std::string saved = Project();
  EXPECT_EQ(saved.find(fs::canonical(dir_.path()).string()), std::string::npos)
      << "no path was made absolute";
  EXPECT_NE(saved.find("\n[demo32.dll]\n"), std::string::npos);
  EXPECT_NE(saved.find("LANGUAGE = Alemán (Alemania), traducciones/de-DE/demo32.dll\n"),
            std::string::npos);

  const fs::path moved = elsewhere.path() / "moved";
  fs::create_directories(moved);
  for (const char* name : {"demo.ulk", "demo32.dll", "demo64.dll"})
    fs::copy_file(dir_ / name, moved / name);
  const CliRun generate = testing::RunUlkCli(moved.string(), {"generate", "demo.ulk"});
  EXPECT_EQ(generate.status, 0) << generate.err;
  EXPECT_TRUE(fs::exists(moved / "traducciones/de-DE/demo64.dll"));
  EXPECT_FALSE(fs::exists(dir_ / "traducciones"));
}

// After a failure, only the outputs this run wrote are listed; a file that
// is not a module is replaced only with --force.
TEST_F(CliTest, GenerateListsWhatItWroteAndAsksForForce) {
  ASSERT_EQ(Run({"generate", "demo.ulk"}).status, 0);
  ::chmod((dir_ / "traducciones/de-DE/demo32.dll").c_str(), 0444);
  const CliRun again = Run({"generate", "demo.ulk", "--keep-going"});
  EXPECT_EQ(again.status, 1);
  const std::string here = fs::canonical(dir_.path()).string();
  EXPECT_EQ(again.out, "demo32.dll [Inglés (Estados Unidos)]: " + here +
                           "/traducciones/en-US/demo32.dll\n"
                           "demo64.dll [Inglés (Estados Unidos)]: " +
                           here +
                           "/traducciones/en-US/demo64.dll\n"
                           "demo64.dll [Alemán (Alemania)]: " +
                           here + "/traducciones/de-DE/demo64.dll\n");

  testing::WriteFileBytes(dir_ / "traducciones/en-US/demo64.dll", "notes");
  const CliRun refused =
      Run({"generate", "demo.ulk", "demo64.dll", "--language", "Inglés (Estados Unidos)"});
  EXPECT_EQ(refused.status, 1);
  EXPECT_NE(refused.err.find(here + "/traducciones/en-US/demo64.dll ya existe y no es un módulo"),
            std::string::npos)
      << refused.err;
  EXPECT_EQ(testing::ReadFileBytes(dir_ / "traducciones/en-US/demo64.dll"), "notes");
  EXPECT_EQ(Run({"generate", "demo.ulk", "demo64.dll", "--language", "Inglés (Estados Unidos)",
                 "--force"})
                .status,
            0);
  EXPECT_NE(VersionLanguage("traducciones/en-US/demo64.dll"), 0);
}

// What `set` stores passes the same gate as every other text.
TEST_F(CliTest, SetRefusesTextsThatCannotBeStored) {
  const std::string before = Project();
  const CliRun control =
      Run({"set", "demo.ulk", "demo32.dll", "ST_N_1 (3)", "Alemán (Alemania)", "a\x01"});
  EXPECT_EQ(control.status, 1);
  EXPECT_EQ(control.err, "error: el texto contiene el carácter de control U+0001\n");
  const CliRun invalid =
      Run({"set", "demo.ulk", "demo32.dll", "ST_N_1 (3)", "Alemán (Alemania)", "a\xFF"});
  EXPECT_EQ(invalid.status, 1);
  EXPECT_EQ(Project(), before);
  ASSERT_EQ(Run({"set", "demo.ulk", "demo32.dll", "ST_N_1 (3)", "Alemán (Alemania)",
                 "uno\ndos\\nLANGUAGE = x, /tmp/x"})
                .status,
            0);
  EXPECT_NE(Project().find("ST_N_1 (3) = \"uno\\ndos\\nLANGUAGE = x, /tmp/x\"\n"),
            std::string::npos)
      << "a raw line break is stored escaped";
}

// A generation writes the same modules every time, named resources too.
TEST_F(CliTest, GenerationsAreRepeatable) {
  fs::copy_file(testing::FixturePath("sample64.dll"), dir_ / "sample64.dll");
  ASSERT_EQ(Run({"add", "demo.ulk", "sample64.dll"}).status, 0);
  ASSERT_EQ(Run({"add-language", "demo.ulk", "sample64.dll", "Alemán (Alemania)", "--output",
                 "traducciones/de-DE/sample64.dll"})
                .status,
            0);
  ASSERT_EQ(Run({"generate", "demo.ulk"}).status, 0);
  std::vector<std::string> outputs;
  for (const char* language : {"en-US", "de-DE"}) {
    for (const char* module : {"demo32.dll", "demo64.dll"}) {
      outputs.push_back(dir_ / (std::string("traducciones/") + language + "/" + module));
    }
  }
  outputs.push_back(dir_ / "traducciones/de-DE/sample64.dll");
  std::vector<std::string> first;
  for (const std::string& output : outputs) first.push_back(testing::ReadFileBytes(output));
  const CliRun again = Run({"generate", "demo.ulk"});
  ASSERT_EQ(again.status, 0) << again.err;
  for (std::size_t i = 0; i < outputs.size(); ++i) {
    EXPECT_TRUE(testing::ReadFileBytes(outputs[i]) == first[i]) << outputs[i];
  }
  EXPECT_EQ(VersionLanguage("traducciones/de-DE/demo64.dll"), 0x0407);
}

TEST_F(CliTest, AReadOnlyProjectIsNotLost) {
  ::chmod((dir_ / "demo.ulk").c_str(), 0444);
  const std::string before = Project();
  const CliRun set = Run({"set", "demo.ulk", "demo32.dll", "ST_N_1 (3)", "Alemán (Alemania)", "x"});
  EXPECT_EQ(set.status, 1);
  EXPECT_EQ(set.err.substr(0, set.err.find('\n')), "error: Imposible guardar documento.");
  EXPECT_EQ(Project(), before);
}

TEST_F(CliTest, NewProjectFromScratch) {
  EXPECT_EQ(Run({"new", "mine.ulk", "--name", "Mío"}).status, 0);
  EXPECT_EQ(testing::ReadFileBytes(dir_ / "mine.ulk"),
            "[RESOURCE TRANSLATE PROJECT FILE]\nFILE VERSION = 1.2\nPROJECT NAME = Mío\n\n");
  const CliRun again = Run({"new", "mine.ulk", "--name", "Otro"});
  EXPECT_EQ(again.status, 1);
  EXPECT_EQ(again.err, "error: el archivo mine.ulk ya existe\n");
  const CliRun add = Run({"add", "mine.ulk", "demo32.dll"});
  EXPECT_EQ(add.status, 0);
  EXPECT_EQ(add.out, "Módulo demo32.dll añadido (Español (España))\n");
  const CliRun language = Run({"add-language", "mine.ulk", "demo32.dll", "Francés (Francia)"});
  EXPECT_EQ(language.status, 0);
  const std::string here = fs::canonical(dir_.path()).string();
  EXPECT_EQ(language.out, "Idioma Francés (Francia) añadido a demo32.dll: " + here +
                              "/Francés (Francia)/demo32.dll\n");
  EXPECT_EQ(Run({"add-language", "mine.ulk", "demo32.dll", "Francés (Francia)"}).status, 1);
}

TEST_F(CliTest, DictionaryCommands) {
  const CliRun add =
      Run({"add-to-dictionary", "demo.ulk", "demo32.dll", "--dictionary", "notas.dic"});
  EXPECT_EQ(add.status, 0) << add.err;
  EXPECT_EQ(add.out, "Textos enviados al diccionario: 48\n");
  // A fresh project of the same module, translated from that dictionary.
  ASSERT_EQ(Run({"new", "fresh.ulk", "--name", "Nuevo"}).status, 0);
  ASSERT_EQ(Run({"add", "fresh.ulk", "demo64.dll"}).status, 0);
  ASSERT_EQ(
      Run({"add-language", "fresh.ulk", "demo64.dll", "Alemán (Alemania)", "--output", "de.dll"})
          .status,
      0);
  ASSERT_EQ(Run({"read", "fresh.ulk"}).status, 0);
  const CliRun translate =
      Run({"translate", "fresh.ulk", "demo64.dll", "--dictionary", "notas.dic"});
  EXPECT_EQ(translate.status, 0) << translate.err;
  EXPECT_EQ(translate.out, "Textos traducidos: 20 de 48\n");
  const CliRun list = Run({"list", "fresh.ulk", "demo64.dll", "--kind", "DL"});
  // The status says where the text came from, also after the save.
  EXPECT_NE(list.out.find("DL_N_200 (11)\t3\tCancelar\tAbbrechen\ttraducido\t\t\n"),
            std::string::npos)
      << list.out;

  const CliRun mistyped = Run({"translate", "fresh.ulk", "demo64.dll", "--dictionary", "nota.dic"});
  EXPECT_EQ(mistyped.status, 1);
  EXPECT_FALSE(fs::exists(dir_ / "nota.dic")) << "a mistyped name made a new dictionary";

  testing::WriteFileBytes(dir_ / "broken.dic", "no dictionary");
  const CliRun broken = Run({"translate", "fresh.ulk", "demo64.dll", "--dictionary", "broken.dic"});
  EXPECT_EQ(broken.status, 1);
  EXPECT_EQ(broken.err, "error: Error abriendo/creando el diccionario:\n\n[broken.dic]\n");
}

TEST_F(CliTest, AnalysisAndReuseOfAnotherProject) {
  ASSERT_EQ(Run({"new", "fresh.ulk", "--name", "Nuevo"}).status, 0);
  ASSERT_EQ(Run({"add", "fresh.ulk", "demo64.dll"}).status, 0);
  ASSERT_EQ(
      Run({"add-language", "fresh.ulk", "demo64.dll", "Alemán (Alemania)", "--output", "de.dll"})
          .status,
      0);
  ASSERT_EQ(Run({"read", "fresh.ulk"}).status, 0);
  const CliRun before = Run({"analyze", "fresh.ulk", "--from", "demo.ulk", "--csv"});
  ASSERT_EQ(before.status, 0) << before.err;
  EXPECT_EQ(before.out.substr(0, before.out.find('\n')),
            "módulo,idioma,banda,textos,palabras,caracteres");
  EXPECT_NE(before.out.find("demo64.dll,Alemán (Alemania),Contexto,20,36,202\n"),
            std::string::npos)
      << before.out;
  EXPECT_NE(before.out.find("(proyecto),Alemán (Alemania),Ya traducidos,0,0,0\n"),
            std::string::npos);

  const CliRun reuse = Run({"leverage", "fresh.ulk", "--from", "demo.ulk", "--min-score", "75"});
  ASSERT_EQ(reuse.status, 0) << reuse.err;
  EXPECT_EQ(reuse.out,
            "Alemán (Alemania): 23 (contexto: 20, 100 %: 1, parecidos, por revisar: 2)\n"
            "Textos reutilizados: 23\n");
  const CliRun review = Run({"list", "fresh.ulk", "demo64.dll", "--state", "to-review"});
  EXPECT_EQ(std::count(review.out.begin(), review.out.end(), '\n'), 3) << review.out;

  const CliRun after = Run({"analyze", "fresh.ulk", "demo64.dll", "--from", "demo.ulk", "--json"});
  ASSERT_EQ(after.status, 0) << after.err;
  EXPECT_NE(after.out.find(R"("translated":{"texts":23,)"), std::string::npos) << after.out;

  for (const char* bad : {"0", "101", "75%", ""}) {
    EXPECT_EQ(Run({"leverage", "fresh.ulk", "--from", "demo.ulk", "--min-score", bad}).status, 2)
        << bad;
  }
  EXPECT_EQ(Run({"analyze", "fresh.ulk", "--json", "--csv"}).status, 2);
  EXPECT_EQ(Run({"leverage", "fresh.ulk"}).status, 2);
  testing::WriteFileBytes(dir_ / "broken.ulk", "not a project");
  const CliRun broken = Run({"leverage", "fresh.ulk", "--from", "broken.ulk"});
  EXPECT_EQ(broken.status, 1);
  EXPECT_FALSE(broken.err.empty());
}

}  // namespace
}  // namespace ulk
