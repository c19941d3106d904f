#include "translator/model/property_edits.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "tests/test_support.h"
#include "translator/model/messages.h"

namespace ulk {
namespace {

Module TwoTargets() {
  Module module;
  module.id = 7;
  module.path = "/home/a/prog.exe";
  module.AddLanguage(ModuleLanguage("Español (España)", "", true));
  module.AddLanguage(ModuleLanguage("Inglés (Estados Unidos)", "/home/a/English/prog.exe", false));
  module.AddLanguage(ModuleLanguage("Alemán (Alemania)", "de.exe", false));
  return module;
}

TEST(PropertyEditsTest, DefaultOutputFilePutsTheLanguageFolderBeforeTheFileName) {
  const struct {
    const char* path;
    const char* language;
    const char* expected;
  } cases[] = {
      {"/home/a/prog.exe", "English", "/home/a/English/prog.exe"},
      {"C:\\app\\prog.exe", "English", "C:\\app\\English\\prog.exe"},
      {"prog.exe", "English", "English/prog.exe"},
      {"/prog.exe", "Inglés (Estados Unidos)", "/Inglés (Estados Unidos)/prog.exe"},
      {"D:\\w/x\\prog.dll", "de", "D:\\w/x\\de\\prog.dll"},  // the last separator's kind
      {"", "English", ""},
      {"/home/a/prog.exe", "", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DefaultOutputFile(c.path, c.language), c.expected) << c.path;
  }
}

TEST(PropertyEditsTest, NamesSortAsASpanishReaderLooksForThemAndOnce) {
  std::vector<std::string> names = {"inglés", "Árabe", "Zulú", "alemán", "Árabe", "Bengalí"};
  SortLanguageNames(names);
  EXPECT_EQ(names, (std::vector<std::string>{"alemán", "Árabe", "Bengalí", "inglés", "Zulú"}));
}

TEST(PropertyEditsTest, TheOriginalLanguageChoiceNeverOffersATargetLanguage) {
  const Module module = TwoTargets();
  const std::vector<std::string> user = {"Klingon", "Alemán (Alemania)"};
  const std::vector<std::string> system = {"Inglés (Estados Unidos)", "Francés (Francia)",
                                           "Español (España)"};
  const std::vector<std::string> choices = OriginalLanguageChoices(module, user, system);
  EXPECT_EQ(choices,
            (std::vector<std::string>{"Español (España)", "Francés (Francia)", "Klingon"}));

  // Without an original language nothing is added for it.
  Module bare;
  EXPECT_EQ(OriginalLanguageChoices(bare, {}, {"Francés (Francia)"}),
            (std::vector<std::string>{"Francés (Francia)"}));
}

TEST(PropertyEditsTest, SelectingAnOriginalLanguageRenamesOrAddsIt) {
  Module module = TwoTargets();
  SelectOriginalLanguage(module, "Catalán (España)");
  EXPECT_EQ(module.DefaultLanguageName(), "Catalán (España)");
  EXPECT_EQ(module.LanguageCount(), 3u);
  Module bare;
  SelectOriginalLanguage(bare, "Catalán (España)");
  ASSERT_EQ(bare.LanguageCount(), 1u);
  EXPECT_TRUE(bare.languages.front().isDefault);
}

TEST(PropertyEditsTest, TargetChoicesLeaveOutTheModulesOtherLanguages) {
  const Module module = TwoTargets();
  const std::vector<std::string> system = {"Inglés (Estados Unidos)", "Francés (Francia)",
                                           "Español (España)", "Alemán (Alemania)"};
  EXPECT_EQ(TargetLanguageChoices(module, "Alemán (Alemania)", {"Klingon"}, system),
            (std::vector<std::string>{"Alemán (Alemania)", "Francés (Francia)", "Klingon"}));
  EXPECT_EQ(TargetLanguageChoices(module, "", {}, system),
            (std::vector<std::string>{"Francés (Francia)"}));
  // A name neither list has is still offered as the current one.
  EXPECT_EQ(TargetLanguageChoices(module, "Élfico", {}, {}), (std::vector<std::string>{"Élfico"}));
}

TEST(PropertyEditsTest, ListRowsOfTheProjectAndModuleDialogs) {
  Project project;
  Module module = TwoTargets();
  project.modules.push_back(module);
  const std::vector<ModuleRow> modules = ProjectModuleRows(project);
  ASSERT_EQ(modules.size(), 1u);
  EXPECT_EQ(modules[0].id, 7);
  EXPECT_EQ(modules[0].fileName, "prog.exe");
  EXPECT_EQ(modules[0].language, "Español (España)");
  EXPECT_EQ(modules[0].folder, "/home/a");

  const std::vector<TargetLanguageRow> languages = TargetLanguageRows(module);
  ASSERT_EQ(languages.size(), 2u);
  EXPECT_EQ(languages[0].name, "Inglés (Estados Unidos)");
  EXPECT_EQ(languages[0].fileName, "prog.exe");
  EXPECT_EQ(languages[0].folder, "/home/a/English/");
  EXPECT_EQ(languages[1].fileName, "de.exe");
  EXPECT_EQ(languages[1].folder, "");
  EXPECT_EQ(TargetLanguageCount(module), 2u);
}

TEST(PropertyEditsTest, UserLanguagesShowOnceAndOnlyTheirOwnAreDeletable) {
  const std::vector<std::string> user = {"Klingon", "Élfico", "Klingon", "Francés (Francia)"};
  const std::vector<std::string> system = {"Francés (Francia)", "Alemán (Alemania)"};
  const std::vector<UserLanguageRow> own = UserLanguageRows(user, system, false);
  ASSERT_EQ(own.size(), 3u);
  EXPECT_EQ(own[0].name, "Élfico");
  EXPECT_EQ(own[2].name, "Klingon");

  const std::vector<UserLanguageRow> all = UserLanguageRows(user, system, true);
  ASSERT_EQ(all.size(), 4u);
  EXPECT_EQ(all[0].name, "Alemán (Alemania)");
  EXPECT_FALSE(all[0].deletable);
  EXPECT_EQ(all[2].name, "Francés (Francia)");
  EXPECT_TRUE(all[2].deletable) << "a user's language that the system also has";
}

TEST(PropertyEditsTest, WhichNamesTheSettingsCanKeep) {
  const struct {
    std::string name;
    bool storable;
  } cases[] = {
      {"Inglés (Estados Unidos)", true},
      {"Klingon [tlhIngan Hol] = #1; \\x", true},
      {std::string(259, 'a'), true},
      {std::string(260, 'a'), false},
      {std::string(129, 'a') + std::string(130, 'n') + "ñ", false},  // 260 characters
      {"", false},
      {"Inglés/EEUU", false},
      {"Inglés, /etc/passwd", false},  // would end the name in the project file
      {"Línea\nnueva", false},
      {"Tab\tulado", false},
      {"..", false},
      {"...a", true},
      {"\xff\xfe", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsStorableLanguageName(c.name), c.storable) << c.name;
}

TEST(PropertyEditsTest, ModuleValidationMessages) {
  Module twoDefaults = TwoTargets();
  twoDefaults.AddLanguage(ModuleLanguage("Catalán (España)", "", true));
  std::string message;
  EXPECT_FALSE(ValidateModuleProperties(twoDefaults, message));
  EXPECT_EQ(message, "Un módulo sólo puede tener un idioma por defecto");

  Module noDefault = TwoTargets();
  noDefault.languages.pop_front();
  EXPECT_FALSE(ValidateModuleProperties(noDefault, message));
  EXPECT_EQ(message, "Un módulo debe tener un idioma por defecto");

  // Every language that fails is named, not only the first; a nameless one
  // is not.
  Module badLanguages = TwoTargets();
  for (ModuleLanguage& language : badLanguages.languages) {
    if (!language.isDefault) language.outputFile = "  ";
  }
  badLanguages.AddLanguage(ModuleLanguage(" ", "x.dll", false));
  EXPECT_FALSE(ValidateModuleProperties(badLanguages, message));
  EXPECT_EQ(message, "Datos del idioma no válidos\nInglés (Estados Unidos)\nAlemán (Alemania)");

  Module good = TwoTargets();
  EXPECT_TRUE(ValidateModuleProperties(good, message));
  EXPECT_EQ(message, "");

  EXPECT_EQ(LanguageValidationMessage(kLanguageNameEmpty), kMsgMustSelectLanguage);
  EXPECT_EQ(LanguageValidationMessage(kLanguageOutputEmpty), kMsgMustEnterOutputFile);
  EXPECT_EQ(LanguageValidationMessage(kLanguageOk), 0);
}

TEST(PropertyEditsTest, FileDialogsStartInTheNearestFolderThatExists) {
  testing::TempDir dir("nearest");
  const std::string root = dir.path().string();
  std::filesystem::create_directories(dir.path() / "a");
  testing::WriteFileBytes((dir.path() / "a" / "file").string(), "x");
  EXPECT_EQ(NearestExistingFolder(root + "/a/prog.exe"), root + "/a");
  EXPECT_EQ(NearestExistingFolder(root + "/a/English/deeper/prog.exe"), root + "/a");
  // A file where a folder should be: the folder above it.
  EXPECT_EQ(NearestExistingFolder(root + "/a/file/prog.exe"), root + "/a");
  EXPECT_EQ(NearestExistingFolder("  "), "");
}

TEST(PropertyEditsTest, SystemLanguagesIncludeSpanishOfSpain) {
  const std::vector<std::string>& names = SystemLanguageNames();
  EXPECT_GT(names.size(), 50u);
  EXPECT_NE(std::find(names.begin(), names.end(), "Español (España)"), names.end());
}

}  // namespace
}  // namespace ulk
