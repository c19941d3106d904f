#include "translator/model/project_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

namespace ulk {
namespace {
namespace fs = std::filesystem;

constexpr const char* kHead =
    "[RESOURCE TRANSLATE PROJECT FILE]\nFILE VERSION = 1.2\nPROJECT NAME = Demo\n\n";

Project DemoProject() {
  Project project;
  project.name = "Demo";
  Module module;
  module.path = "C:\\app\\prog.exe";
  Module* stored = project.AddModule(module, false);
  ModuleLanguage& original = stored->AddLanguage(ModuleLanguage("Español", "", true));
  original.SetEntry("MN_N_128 (0)", "&Archivo");
  original.SetEntry("ST_N_7 (2)", "Línea uno\\nLínea dos");
  stored->AddLanguage(ModuleLanguage("English", "C:\\app\\English\\prog.exe", false))
      .SetEntry("MN_N_128 (0)", "&File");
  return project;
}

ProjectReadReason ReadReason(std::string_view text, Project* out = nullptr) {
  Project project;
  ProjectReadReason reason = kProjectReadOk;
  ReadProject(project, text, reason);
  if (out) *out = project;
  return reason;
}

TEST(ProjectFileTest, WritesTheExactLayout) {
  EXPECT_EQ(WriteProject(DemoProject()), std::string(kHead) +
                                             "[C:\\app\\prog.exe]\n"
                                             "\n"
                                             "DEFAULT LANGUAGE = Español\n"
                                             "MN_N_128 (0) = \"&Archivo\"\n"
                                             "ST_N_7 (2) = \"Línea uno\\nLínea dos\"\n"
                                             "\n"
                                             "LANGUAGE = English, C:\\app\\English\\prog.exe\n"
                                             "MN_N_128 (0) = \"&File\"\n"
                                             "\n");
  Project empty;
  empty.name = "Demo";
  EXPECT_EQ(WriteProject(empty), kHead);
}

TEST(ProjectFileTest, RoundTripKeepsEveryText) {
  Project project = DemoProject();
  ModuleLanguage& original = *project.modules.front().DefaultLanguage();
  original.SetEntry("DL_S_ABOUT (0)", "He said \"hi\" = ok \\t");
  original.SetEntry("ST_N_1 (0)", "");
  original.SetEntry("ST_N_1 (1)", "  padded  ");
  original.SetEntry("ST_N_1 (2)", "日本語 ñ €");
  Project back;
  ProjectReadReason reason;
  ASSERT_TRUE(ReadProject(back, WriteProject(project), reason));
  ASSERT_EQ(back.ModuleCount(), 1u);
  const Module& module = back.modules.front();
  EXPECT_EQ(module.path, "C:\\app\\prog.exe");
  EXPECT_EQ(back.name, "Demo");
  ASSERT_EQ(module.LanguageCount(), 2u);
  EXPECT_EQ(module.languages.back().outputFile, "C:\\app\\English\\prog.exe");
  const auto& before = original.Entries();
  const auto& after = module.DefaultLanguage()->Entries();
  EXPECT_TRUE(std::equal(before.begin(), before.end(), after.begin(), after.end()));
}

TEST(ProjectFileTest, Tolerance) {
  Project project;
  // Lower-case header with blanks inside the brackets, CRLF, tabs, no version.
  ASSERT_EQ(ReadReason("[ resource translate project file ]\r\n"
                       "project name\t=\tMy project\r\n"
                       "[/m.dll]\r\n"
                       "default language = Español\r\n"
                       "st_n_1 (0) = \"a\ttab\"\r\n"
                       "ST_N_1 (0) = \"later\"\r\n"
                       "ST_N_1 (1) = \"\"\r\n"
                       "ST_N_1 (2) = \"\r\n"
                       "ST_N_1 (3) = unquoted text\r\n"
                       "ST_N_1 (4) =   \"  inner  \"   \r\n"
                       "AUTHOR = x\r\n"
                       "language = English ,  /out/a,b.dll \r\n",
                       &project),
            kProjectReadOk);
  EXPECT_EQ(project.name, "My project");
  const Module& module = project.modules.front();
  const ModuleLanguage& original = *module.DefaultLanguage();
  EXPECT_EQ(original.FindEntry("ST_N_1 (0)")->text, "later");
  EXPECT_EQ(original.FindEntry("ST_N_1 (1)")->text, "");
  EXPECT_EQ(original.FindEntry("ST_N_1 (2)")->text, "\"");
  EXPECT_EQ(original.FindEntry("ST_N_1 (3)")->text, "unquoted text");
  EXPECT_EQ(original.FindEntry("ST_N_1 (4)")->text, "  inner  ");
  EXPECT_EQ(original.FindEntry("AUTHOR")->text, "x") << "inside a module, an entry";
  EXPECT_EQ(original.EntryCount(), 6u);
  EXPECT_EQ(module.languages.back().name, "English");
  EXPECT_EQ(module.languages.back().outputFile, "/out/a,b.dll");

  EXPECT_EQ(ReadReason("[RESOURCE TRANSLATE PROJECT FILE]"), kProjectReadOk);
  EXPECT_EQ(ReadReason("\n\n[RESOURCE TRANSLATE PROJECT FILE]\nDEFAULT LANGUAGE = x\n"),
            kProjectReadOk);
  EXPECT_EQ(ReadReason("[RESOURCE TRANSLATE PROJECT FILE]\nPROJECT NAME = p\n[ab]\n"
                       "DEFAULT LANGUAGE=\n"),
            kProjectReadOk)
      << "an empty language name is for validation to refuse";
}

TEST(ProjectFileTest, Versions) {
  const auto withVersion = [](const char* version) {
    return ReadReason(std::string("[RESOURCE TRANSLATE PROJECT FILE]\nFILE VERSION = ") + version +
                      "\nPROJECT NAME = p\n");
  };
  EXPECT_EQ(withVersion("1.2"), kProjectReadOk);
  EXPECT_EQ(withVersion("1.0"), kProjectReadOk);
  EXPECT_EQ(withVersion("0.9"), kProjectReadOk);
  EXPECT_EQ(withVersion("1.3"), kProjectReadOk);
  EXPECT_EQ(withVersion("1.4"), kProjectUnknownVersion);
  EXPECT_EQ(withVersion("2.0"), kProjectUnknownVersion);
  EXPECT_EQ(withVersion("12"), kProjectUnknownVersion);
}

TEST(ProjectFileTest, RefusedFiles) {
  const std::string header = "[RESOURCE TRANSLATE PROJECT FILE]\n";
  struct Case {
    std::string text;
    ProjectReadReason reason;
  } cases[] = {
      {"", kProjectUnknownFormat},
      {"\n \n\t\n", kProjectUnknownFormat},
      {"RESOURCE TRANSLATE PROJECT FILE\n", kProjectUnknownFormat},
      {"[OTHER FILE]\n", kProjectUnknownFormat},
      {"PROJECT NAME = x\n" + header, kProjectUnknownFormat},
      {header + "[/m.dll]\n", kProjectUnknownFormat},
      {header + "PROJECT NAME =\n[/m.dll]\n", kProjectUnknownFormat},
      {header + "AUTHOR = me\n", kProjectUnknownFormat},
      {header + "just words\n", kProjectUnknownFormat},
      {header + "PROJECT NAME = p\n[/m.dll]\nLANGUAGE = English\n", kProjectUnknownFormat},
      {header + "PROJECT NAME = p\n[/m.dll]\nST_N_1 (0) = \"orphan\"\n", kProjectUnknownFormat},
      {header + "PROJECT NAME = p\n[ ]\n", kProjectModuleFailed},
      {header + "PROJECT NAME = p\n[/m.dll]\nDEFAULT LANGUAGE = E\n = \"no key\"\n",
       kProjectEntryFailed},
      {std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), kProjectUnknownFormat},
      {std::string(10 << 20, 'A'), kProjectUnknownFormat},
      {header + "PROJECT NAME = p\n[/m.dll]\nDEFAULT LANGUAGE = E\nK = \"" +
           std::string(10 << 20, 'x') + "\"\n",
       kProjectReadOk},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ReadReason(c.text), c.reason) << c.text.substr(0, 80);
  }
}

TEST(ProjectFileTest, FailureMessages) {
  EXPECT_EQ(ProjectReadFailureText("p.ulk", kProjectUnknownFormat),
            "Error abriendo el archivo p.ulk\nFormato del archivo desconocido");
  EXPECT_EQ(ProjectReadFailureText("p.ulk", kProjectUnknownVersion),
            "Error abriendo el archivo p.ulk\nVersión del archivo desconocida");
  EXPECT_EQ(ProjectReadFailureText("p.ulk", kProjectModuleFailed),
            "Error abriendo el archivo p.ulk\nError añadiendo el módulo \"?\" al proyecto");
  EXPECT_EQ(ProjectReadFailureText("p.ulk", kProjectLanguageFailed),
            "Error abriendo el archivo p.ulk\nError añadiendo idioma \"?\" al módulo");
  EXPECT_EQ(ProjectReadFailureText("p.ulk", kProjectEntryFailed),
            "Error abriendo el archivo p.ulk\nError añadiendo recurso");
}

TEST(ProjectFileTest, Encodings) {
  EXPECT_EQ(DecodeProjectBytes("\xEF\xBB\xBFPROJECT"), "PROJECT");
  EXPECT_EQ(DecodeProjectBytes("Espa\xC3\xB1ol"), "Espa\xC3\xB1ol");
  EXPECT_EQ(DecodeProjectBytes("Espa\xF1ol"), "Espa\xC3\xB1ol");
  // UTF-8 with one damaged byte is not re-read as Windows-1252.
  std::size_t line = 0;
  EXPECT_EQ(DecodeProjectBytes("Espa\xC3\xB1ol\nuno\ndos \xFF\n", &line), std::nullopt);
  EXPECT_EQ(line, 3u);
}

// Values that would break the line grammar: refused by the check the save
// runs, which names the value, rather than written as a corrupt file.
TEST(ProjectFileTest, ValuesThatBreakTheGrammarCannotBeSaved) {
  struct Case {
    const char* what;
    void (*spoil)(Project&);
    const char* named;
  };
  const Case cases[] = {
      {"a line break in a text",
       [](Project& p) {
         p.modules.front().languages.back().SetEntry("MN_N_128 (1)", "a\nLANGUAGE = x, /etc/x");
       },
       "El texto de MN_N_128 (1) en English"},
      {"a NUL in a text",
       [](Project& p) {
         p.modules.front().languages.back().SetEntry("MN_N_128 (1)", std::string("a\0b", 3));
       },
       "carácter nulo"},
      {"invalid UTF-8",
       [](Project& p) { p.modules.front().languages.back().SetEntry("MN_N_128 (1)", "\xFF"); },
       "no es UTF-8"},
      {"a tab",
       [](Project& p) { p.modules.front().languages.back().SetEntry("MN_N_128 (1)", "a\tb"); },
       "tabulador"},
      {"a key with =",
       [](Project& p) { p.modules.front().languages.back().SetEntry("MN = X", "a"); },
       "La clave MN = X"},
      {"a language name with a comma",
       [](Project& p) { p.modules.front().languages.back().name = "English, /etc/passwd"; },
       "coma"},
      {"an output with a line break",
       [](Project& p) { p.modules.front().languages.back().outputFile = "a\n[b]"; }, "La salida"},
      {"a module path with a line break", [](Project& p) { p.modules.front().path = "a\nb"; },
       "La ruta"},
  };
  for (const Case& c : cases) {
    Project project = DemoProject();
    EXPECT_EQ(UnwritableValue(project), "");
    c.spoil(project);
    EXPECT_NE(UnwritableValue(project).find(c.named), std::string::npos)
        << c.what << ": " << UnwritableValue(project);
  }
}

TEST(ProjectFileTest, DamagedTextIsRefusedWithItsLine) {
  for (const std::string& bad :
       {std::string("X (0) = \"a\0b\"", 13), std::string("X (0) = \"a\rb\"")}) {
    Project project;
    ProjectReadReason reason = kProjectReadOk;
    std::size_t line = 0;
    const std::string text = std::string(kHead) + "[m.dll]\nDEFAULT LANGUAGE = E\n" + bad + "\n";
    EXPECT_FALSE(ReadProject(project, text, reason, &line));
    EXPECT_EQ(reason, kProjectDamagedText);
    EXPECT_EQ(line, 7u);
  }
  // A line ended by CR LF is no stray CR.
  Project project;
  ProjectReadReason reason = kProjectReadOk;
  EXPECT_TRUE(
      ReadProject(project, std::string(kHead) + "[m.dll]\r\nDEFAULT LANGUAGE = E\r\n", reason));
}

// What 1.3 adds: facts after their entries, and the version only when one
// is written.
TEST(ProjectFileTest, StatusesStatesAndNotesAreWrittenAfterTheirEntry) {
  Project project = DemoProject();
  Module& module = project.modules.front();
  ModuleLanguage& original = *module.DefaultLanguage();
  ModuleLanguage& english = module.languages.back();
  original.FindEntry("MN_N_128 (0)")->status = kStatusDictionarySeveral;
  original.FindEntry("ST_N_7 (2)")->note = "Texto de \"ayuda\" = sí\\n 日本";
  english.FindEntry("MN_N_128 (0)")->review = kReviewNeeded;
  english.SetEntry("ST_N_7 (2)", "Line one\\nLine two").review = kReviewDone;
  english.SetEntry("DL_N_100 (0)", "").note = "¿Qué es esto?";
  const std::string written = WriteProject(project);
  EXPECT_EQ(written,
            "[RESOURCE TRANSLATE PROJECT FILE]\nFILE VERSION = 1.3\nPROJECT NAME = Demo\n\n"
            "[C:\\app\\prog.exe]\n"
            "\n"
            "DEFAULT LANGUAGE = Español\n"
            "MN_N_128 (0) = \"&Archivo\"\n"
            "MN_N_128 (0) STATUS = 4\n"
            "ST_N_7 (2) = \"Línea uno\\nLínea dos\"\n"
            "ST_N_7 (2) NOTE = \"Texto de \"ayuda\" = sí\\n 日本\"\n"
            "\n"
            "LANGUAGE = English, C:\\app\\English\\prog.exe\n"
            "MN_N_128 (0) = \"&File\"\n"
            "MN_N_128 (0) STATE = TO REVIEW\n"
            "ST_N_7 (2) = \"Line one\\nLine two\"\n"
            "ST_N_7 (2) STATE = REVIEWED\n"
            "DL_N_100 (0) = \"\"\n"
            "DL_N_100 (0) NOTE = \"¿Qué es esto?\"\n"
            "\n");
  Project back;
  ProjectReadReason reason;
  ASSERT_TRUE(ReadProject(back, written, reason));
  for (const auto& [before, after] : {std::pair{&original, back.modules.front().DefaultLanguage()},
                                      std::pair{&english, &back.modules.front().languages.back()}}) {
    EXPECT_TRUE(std::equal(before->Entries().begin(), before->Entries().end(),
                           after->Entries().begin(), after->Entries().end()))
        << before->name;
  }
  EXPECT_EQ(WriteProject(back), written);

  // Every status and state goes and comes back; taking the last one away
  // writes the old version again, byte for byte.
  for (std::int32_t status = kStatusUnchanged; status <= kStatusDictionarySeveral; ++status) {
    for (std::int32_t review = kReviewTranslated; review < kReviewStateCount; ++review) {
      Project plain = DemoProject();
      plain.modules.front().DefaultLanguage()->FindEntry("ST_N_7 (2)")->status = status;
      plain.modules.front().languages.back().FindEntry("MN_N_128 (0)")->review = review;
      ASSERT_TRUE(ReadProject(back, WriteProject(plain), reason));
      EXPECT_EQ(back.modules.front().DefaultLanguage()->FindEntry("ST_N_7 (2)")->status, status);
      EXPECT_EQ(back.modules.front().languages.back().FindEntry("MN_N_128 (0)")->review, review);
      if (status == kStatusUnchanged && review == kReviewTranslated) {
        EXPECT_EQ(WriteProject(plain), WriteProject(DemoProject()));
      }
    }
  }
}

TEST(ProjectFileTest, FactsAreReadOnlyWhereTheyBelong) {
  const std::string head =
      "[RESOURCE TRANSLATE PROJECT FILE]\nFILE VERSION = 1.3\nPROJECT NAME = p\n[m.dll]\n"
      "DEFAULT LANGUAGE = E\nMN_N_1 (0) = \"a\"\n";
  const std::string english = "LANGUAGE = I, out.dll\nMN_N_1 (0) = \"b\"\n";
  Project project;
  // Keys and state names are read in any case, as every key is.
  ASSERT_EQ(ReadReason(head + "mn_n_1 (0) status = 2\n" + english + "MN_N_1 (0) State = reviewed\n",
                       &project),
            kProjectReadOk);
  EXPECT_EQ(project.modules.front().DefaultLanguage()->FindEntry("MN_N_1 (0)")->status, 2);
  EXPECT_EQ(project.modules.front().languages.back().FindEntry("MN_N_1 (0)")->review,
            kReviewDone);
  for (const std::string& bad : {
           head + "MN_N_2 (0) NOTE = \"no entry\"\n",
           head + "MN_N_1 (0) STATUS = 5\n",
           head + "MN_N_1 (0) STATUS = 1x\n",
           head + "MN_N_1 (0) STATE = TO REVIEW\n",
           head + english + "MN_N_1 (0) STATUS = 2\n",
           head + english + "MN_N_1 (0) STATE = maybe\n",
       }) {
    EXPECT_EQ(ReadReason(bad), kProjectEntryFailed) << bad;
  }
  // A file of the old version says nothing of the sort: such a key is an
  // entry of its own there, as it always was.
  std::string old = head + "MN_N_1 (0) STATUS = 2\n";
  old.replace(old.find("1.3"), 3, "1.2");
  ASSERT_EQ(ReadReason(old, &project), kProjectReadOk);
  const ModuleLanguage& original = *project.modules.front().DefaultLanguage();
  EXPECT_EQ(original.FindEntry("MN_N_1 (0)")->status, kStatusUnchanged);
  ASSERT_NE(original.FindEntry("MN_N_1 (0) STATUS"), nullptr);
  // ... and cannot be written beside facts, where it would be read as one.
  EXPECT_EQ(UnwritableValue(project), "");
  project.modules.front().DefaultLanguage()->FindEntry("MN_N_1 (0)")->note = "n";
  EXPECT_NE(UnwritableValue(project).find("MN_N_1 (0) STATUS"), std::string::npos);
  project.modules.front().DefaultLanguage()->FindEntry("MN_N_1 (0)")->note = "a\nb";
  project.modules.front().DefaultLanguage()->RemoveEntry("MN_N_1 (0) STATUS");
  EXPECT_NE(UnwritableValue(project).find("La nota de MN_N_1 (0)"), std::string::npos);
}

// Dialog geometry: one line per control that differs, after the dialog's
// last entry in its language (or at the end of it when it has none).
TEST(ProjectFileTest, GeometryIsWrittenBesideItsDialog) {
  Project project = DemoProject();
  ModuleLanguage& english = project.modules.front().languages.back();
  english.SetEntry("DL_N_100 (0)", "About");
  english.SetEntry("DL_N_100 (2)", "Version");
  english.SetEntry("ST_N_7 (2)", "Line");
  english.dialogGeometry["DL_N_100"][2] = {{40, 10, 130, 8}, {40, 10, 100, 8}, 1001};
  english.dialogGeometry["DL_N_100"][0] = {{0, 0, 230, 120}, {0, 0, 200, 120}, 0};
  english.dialogGeometry["DL_N_300"][1] = {{-3, 4, 5, 6}, {-3, 4, 1, 6}, 65535};
  const std::string written = WriteProject(project);
  EXPECT_NE(written.find("FILE VERSION = 1.3\n"), std::string::npos);
  EXPECT_NE(written.find("LANGUAGE = English, C:\\app\\English\\prog.exe\n"
                         "MN_N_128 (0) = \"&File\"\n"
                         "DL_N_100 (0) = \"About\"\n"
                         "DL_N_100 (2) = \"Version\"\n"
                         "DL_N_100 (0) RECT = 0, 0, 230, 120 FROM 0, 0, 200, 120\n"
                         "DL_N_100 (2) RECT = 40, 10, 130, 8 FROM 40, 10, 100, 8 ID 1001\n"
                         "ST_N_7 (2) = \"Line\"\n"
                         "DL_N_300 (1) RECT = -3, 4, 5, 6 FROM -3, 4, 1, 6 ID 65535\n\n"),
            std::string::npos)
      << written;
  Project back;
  ProjectReadReason reason = kProjectReadOk;
  ASSERT_TRUE(ReadProject(back, written, reason)) << reason;
  EXPECT_EQ(back.modules.front().languages.back().dialogGeometry, english.dialogGeometry);
  EXPECT_EQ(WriteProject(back), written);
  // Without geometry (or anything else of 1.3) the file is 1.2 as before.
  english.dialogGeometry.clear();
  EXPECT_NE(WriteProject(project).find("FILE VERSION = 1.2\n"), std::string::npos);
}

TEST(ProjectFileTest, GeometryFromOthersIsRefusedUnlessItIsSound) {
  const std::string head =
      "[RESOURCE TRANSLATE PROJECT FILE]\nFILE VERSION = 1.3\nPROJECT NAME = p\n[m.dll]\n"
      "DEFAULT LANGUAGE = E\nDL_N_1 (1) = \"a\"\nLANGUAGE = I, out.dll\n";
  Project project;
  ASSERT_EQ(ReadReason(head + "dl_n_1 (1) rect = 1,2 , 3,4 FROM 1, 2, 0, 4 ID 7\n", &project),
            kProjectReadOk);
  const auto& geometry = project.modules.front().languages.back().dialogGeometry;
  ASSERT_EQ(geometry.count("DL_N_1"), 1u);
  EXPECT_EQ(geometry.at("DL_N_1").at(1), (ControlGeometry{{1, 2, 3, 4}, {1, 2, 0, 4}, 7}));
  for (const char* bad : {
           "DL_N_1 (1) RECT = 1, 2, 3, 4 FROM 1, 2, 3, 4\n",           // no identifier
           "DL_N_1 (0) RECT = 1, 2, 3, 4 FROM 1, 2, 3, 4 ID 1\n",      // the dialog has none
           "DL_N_1 (1) RECT = 1, 2, 32768, 4 FROM 1, 2, 3, 4 ID 1\n",  // past 16 bits
           "DL_N_1 (1) RECT = -32769, 2, 3, 4 FROM 1, 2, 3, 4 ID 1\n",
           "DL_N_1 (1) RECT = 1, 2, -3, 4 FROM 1, 2, 3, 4 ID 1\n",  // negative size
           "DL_N_1 (1) RECT = 1, 2, 3, 4 FROM 1, 2, 3, 4 ID 65536\n",
           "DL_N_1 (1) RECT = 99999999999999999999, 2, 3, 4 FROM 1, 2, 3, 4 ID 1\n",
           "DL_N_1 (1) RECT = 1, 2, 3 FROM 1, 2, 3, 4 ID 1\n",
           "DL_N_1 (1) RECT = 1, 2, 3, 4 FROM 1, 2, 3, 4 ID 1 x\n",
           "DL_N_1 (1) RECT = 1, 2, 3, 4\n", "DL_N_1 (1) RECT =\n",
           "ST_N_1 (1) RECT = 1, 2, 3, 4 FROM 1, 2, 3, 4 ID 1\n",   // not a dialog
           "DL_N_1 (01) RECT = 1, 2, 3, 4 FROM 1, 2, 3, 4 ID 1\n",  // not a key of ours
           "DL_N_1 (65536) RECT = 1, 2, 3, 4 FROM 1, 2, 3, 4 ID 1\n",  // no such control
           "DL_N_1 (1) RECT = 1, 2, 3, 4 FROM 1, 2, 3, 4 ID 1\n"
           "DL_N_1 (1) RECT = 5, 2, 3, 4 FROM 1, 2, 3, 4 ID 1\n",  // twice
           "DL_N_1 (1) SIZE = 1, 2\n",                             // an unknown fact
       }) {
    EXPECT_EQ(ReadReason(head + bad), kProjectEntryFailed) << bad;
  }
  // Geometry belongs to a target language.
  std::string original = head;
  original.replace(original.find("LANGUAGE = I"), 0,
                   "DL_N_1 (1) RECT = 1, 2, 3, 4 FROM 1, 2, 3, 4 ID 1\n");
  EXPECT_EQ(ReadReason(original), kProjectEntryFailed);
}

class ProjectFileOnDiskTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("ulk-pf-" + std::to_string(::getpid()));
    fs::create_directories(dir_);
    path_ = (dir_ / "demo.ulk").string();
  }
  void TearDown() override { fs::remove_all(dir_); }
  fs::path dir_;
  std::string path_;
};

TEST_F(ProjectFileOnDiskTest, SaveAndLoad) {
  ASSERT_EQ(SaveProjectFile(DemoProject(), path_), "");
  Project loaded;
  const ProjectLoadResult result = LoadProjectFile(loaded, path_);
  ASSERT_TRUE(result.ok) << result.message;
  EXPECT_EQ(WriteProject(loaded), WriteProject(DemoProject()));
}

TEST_F(ProjectFileOnDiskTest, ARefusedGeometryLineIsNamed) {
  std::ofstream(path_) << "[RESOURCE TRANSLATE PROJECT FILE]\nFILE VERSION = 1.3\n"
                          "PROJECT NAME = p\n[m.dll]\nDEFAULT LANGUAGE = E\nLANGUAGE = I, o.dll\n"
                          "DL_N_1 (1) RECT = 70000, 0, 1, 1 FROM 0, 0, 1, 1 ID 1\n";
  Project project;
  const ProjectLoadResult result = LoadProjectFile(project, path_);
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.message,
            "Error abriendo el archivo demo.ulk\nError añadiendo recurso (línea 7)");
  EXPECT_TRUE(project.modules.empty());
}

TEST_F(ProjectFileOnDiskTest, AFailedLoadLeavesANewProject) {
  std::ofstream(path_) << "[RESOURCE TRANSLATE PROJECT FILE]\nFILE VERSION = 9.0\n";
  Project project = DemoProject();
  const ProjectLoadResult refused = LoadProjectFile(project, path_);
  EXPECT_FALSE(refused.ok);
  EXPECT_EQ(refused.reason, kProjectUnknownVersion);
  EXPECT_EQ(refused.message, "Error abriendo el archivo demo.ulk\nVersión del archivo desconocida");
  EXPECT_EQ(project.name, "Nuevo proyecto");
  EXPECT_EQ(project.ModuleCount(), 0u);

  const std::string missing = (dir_ / "missing.ulk").string();
  const ProjectLoadResult absent = LoadProjectFile(project, missing);
  EXPECT_EQ(absent.fileError, ENOENT);
  EXPECT_EQ(absent.message, missing +
                                "\nImposible encontrar este archivo.\nCompruebe que la ruta y el "
                                "nombre de archivo son correctos");
}

TEST_F(ProjectFileOnDiskTest, WindowsProjectsAreRead) {
  std::ofstream(path_, std::ios::binary)
      << "[RESOURCE TRANSLATE PROJECT FILE]\r\nFILE VERSION = 1.2\r\nPROJECT NAME = Men\xFA\r\n"
         "\r\n[C:\\app\\prog.exe]\r\n\r\nDEFAULT LANGUAGE = Espa\xF1ol\r\n"
         "MN_N_1 (0) = \"&Archivo\"\r\n";
  Project project;
  ASSERT_TRUE(LoadProjectFile(project, path_).ok);
  EXPECT_EQ(project.name, "Menú");
  EXPECT_EQ(project.modules.front().DefaultLanguageName(), "Español");
}

TEST_F(ProjectFileOnDiskTest, ADamagedUtf8FileIsRefusedNotGarbled) {
  std::ofstream(path_, std::ios::binary)
      << kHead << "[m.dll]\n\nDEFAULT LANGUAGE = Espa\xC3\xB1ol\nST_N_1 (0) = \"\xFF\"\n";
  Project project;
  const ProjectLoadResult result = LoadProjectFile(project, path_);
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.reason, kProjectDamagedText);
  EXPECT_EQ(result.line, 8u);
  EXPECT_NE(result.message.find("(línea 8)"), std::string::npos) << result.message;
  EXPECT_EQ(project.ModuleCount(), 0u);
}

// Module and output paths are relative to the project's folder, read and
// written so, whatever the current folder: the folder can be moved.
TEST_F(ProjectFileOnDiskTest, RelativePathsFollowTheProjectFolder) {
  fs::create_directories(dir_ / "mods");
  std::ofstream(dir_ / "mods" / "a.dll") << "x";
  const std::string text = std::string(kHead) +
                           "[mods/a.dll]\n\nDEFAULT LANGUAGE = E\n\n"
                           "LANGUAGE = Deutsch, out/de/a.dll\n\n"
                           "[../elsewhere/b.dll]\n\nDEFAULT LANGUAGE = E\n\n";
  std::ofstream(path_) << text;
  const fs::path previous = fs::current_path();
  fs::current_path(fs::temp_directory_path());
  Project project;
  const ProjectLoadResult result = LoadProjectFile(project, path_);
  fs::current_path(previous);
  ASSERT_TRUE(result.ok) << result.message;
  EXPECT_EQ(project.modules.front().path, fs::canonical(dir_ / "mods" / "a.dll").string());
  EXPECT_EQ(project.ResolvePath(project.modules.front().languages.back().outputFile),
            (fs::canonical(dir_) / "out" / "de" / "a.dll").string());
  EXPECT_EQ(WriteProject(project), text) << "written back as it was read";

  // A module added inside the folder is written relative too; one outside
  // it, absolute.
  Module inside;
  inside.path = (dir_ / "mods" / "a.dll").string();
  project.AddModule(inside, true)->AddLanguage(ModuleLanguage("E", "", true));
  Module outside;
  outside.path = "/usr/lib/other.dll";
  project.AddModule(outside, false)->AddLanguage(ModuleLanguage("E", "", true));
  const std::string written = WriteProject(project);
  EXPECT_NE(written.find("\n[mods/a.dll]\n\nDEFAULT LANGUAGE = E\n\n[/usr/lib/other.dll]"),
            std::string::npos)
      << written;

  // Saved elsewhere, relative outputs still name the same files.
  fs::create_directories(dir_ / "sub");
  project.SetFilePath((dir_ / "sub" / "copy.ulk").string());
  EXPECT_EQ(project.ResolvePath(project.modules.front().languages.back().outputFile),
            (fs::canonical(dir_) / "out" / "de" / "a.dll").string());
  EXPECT_NE(WriteProject(project).find("[../mods/a.dll]"), std::string::npos);
}

TEST_F(ProjectFileOnDiskTest, AFailedSaveKeepsThePreviousFile) {
  ASSERT_EQ(SaveProjectFile(DemoProject(), path_), "");
  ::chmod(path_.c_str(), 0444);
  Project other;
  other.name = "Other";
  EXPECT_NE(SaveProjectFile(other, path_), "");
  Project loaded;
  ASSERT_TRUE(LoadProjectFile(loaded, path_).ok);
  EXPECT_EQ(loaded.name, "Demo");

  ::chmod(path_.c_str(), 0644);
  Project spoilt = DemoProject();
  spoilt.modules.front().languages.back().SetEntry("MN_N_128 (1)", "a\nb");
  const std::string problem = SaveProjectFile(spoilt, path_);
  EXPECT_NE(problem.find("salto de línea"), std::string::npos) << problem;
  ASSERT_TRUE(LoadProjectFile(loaded, path_).ok);
  EXPECT_EQ(WriteProject(loaded), WriteProject(DemoProject()));
}

}  // namespace
}  // namespace ulk
