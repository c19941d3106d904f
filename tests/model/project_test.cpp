#include "translator/model/project.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "tests/test_support.h"
#include "translator/model/text_escape.h"

namespace ulk {
namespace {
namespace fs = std::filesystem;

TEST(TextEscapeTest, EscapesAndUnescapesInOrder) {
  EXPECT_EQ(EscapeText("a\nb\r\nc\td"), "a\\nb\\r\\nc\\td");
  EXPECT_EQ(UnescapeText("a\\nb\\r\\nc\\td"), "a\nb\r\nc\td");
  EXPECT_EQ(UnescapeText("C:\\new\\table"), "C:\new\table") << "no escape of its own";
  EXPECT_EQ(EscapeText("\"quoted\" \\ plain"), "\"quoted\" \\ plain");
  EXPECT_EQ(UnescapeText("end\\"), "end\\") << "a backslash at the end stays";
  EXPECT_EQ(UnescapeText("\\\\n"), "\\\n") << "the second backslash escapes the n";
}

// Whether a stored text is the escaped form of a module's text, as
// generation asks before it writes a translation.
TEST(TextEscapeTest, EscapedFormOf) {
  struct Case {
    std::string_view stored, text;
    bool same;
  };
  const std::vector<Case> cases = {
      {"", "", true},           {"abc", "abc", true},         {"a\\nb", "a\nb", true},
      {"\\r\\n", "\r\n", true}, {"a\\tb\\t", "a\tb\t", true}, {"a\\qb", "a\\qb", true},
      {"a\nb", "a\nb", false},  {"abc", "abcd", false},       {"abcd", "abc", false},
      {"a\\", "a\n", false},    {"a\\nb", "a\rb", false},     {"x\\ny", "x\nz", false}};
  for (const Case& c : cases) {
    EXPECT_EQ(IsEscapedFormOf(c.stored, c.text), c.same) << c.stored << " / " << c.text;
    if (c.same) {
      EXPECT_EQ(UnescapeText(c.stored), c.text);
    }
  }
}

TEST(ModuleLanguageTest, SetEntryOverwritesOrAppends) {
  ModuleLanguage language;
  language.SetEntry("A (0)", "one", 1);
  language.SetEntry("B (0)", "two");
  TextEntry& updated = language.SetEntry("B (0)", "dos", 2);  // the last entry
  EXPECT_EQ(&updated, language.FindEntry("B (0)"));
  EXPECT_EQ(updated.text, "dos");
  EXPECT_EQ(updated.status, 2);
  ASSERT_EQ(language.EntryCount(), 2u);
  EXPECT_EQ(language.Entries().front().key, "A (0)");

  EXPECT_TRUE(language.RemoveEntry("A (0)"));
  EXPECT_FALSE(language.RemoveEntry("A (0)"));
  EXPECT_TRUE(language.RemoveEntry("B (0)"));
  EXPECT_EQ(language.EntryCount(), 0u);
  language.SetEntry("C (0)", "reused");
  EXPECT_EQ(language.FindEntry("C (0)")->text, "reused");
}

TEST(ModuleLanguageTest, CopiesHaveTheirOwnIndex) {
  ModuleLanguage original("English", "/out/en.dll", false);
  for (int i = 0; i < 100; ++i) original.SetEntry("K (" + std::to_string(i) + ")", "t");
  ModuleLanguage copy = original;
  copy.SetEntry("K (5)", "changed");
  copy.RemoveEntry("K (6)");
  EXPECT_EQ(original.FindEntry("K (5)")->text, "t");
  EXPECT_NE(original.FindEntry("K (6)"), nullptr);
  EXPECT_EQ(copy.FindEntry("K (5)")->text, "changed");
  EXPECT_EQ(copy.FindEntry("K (6)"), nullptr);

  ModuleLanguage assigned;
  assigned = copy;
  copy.Clear();
  EXPECT_EQ(assigned.FindEntry("K (5)")->text, "changed");
  EXPECT_EQ(copy.FindEntry("K (5)"), nullptr);

  ModuleLanguage moved = std::move(assigned);
  EXPECT_EQ(moved.FindEntry("K (99)")->text, "t");

  const std::size_t removed = moved.RemoveEntriesIf(
      [](const TextEntry& e) { return e.key.size() == 5; });  // "K (0)" .. "K (9)"
  EXPECT_EQ(removed, 9u);                                     // K (6) went before
  EXPECT_EQ(moved.FindEntry("K (1)"), nullptr);
  EXPECT_EQ(moved.Entries().front().key, "K (10)");
}

TEST(ModuleLanguageTest, Validation) {
  ModuleLanguage language(" \tEnglish ", "  ", false);
  EXPECT_FALSE(language.Validate());
  EXPECT_EQ(language.errorCode, kLanguageOutputEmpty);
  EXPECT_EQ(language.name, "English");
  language.outputFile = " /out/a.dll ";
  EXPECT_TRUE(language.Validate());
  EXPECT_EQ(language.outputFile, "/out/a.dll");

  ModuleLanguage original("Español", "/left/over.dll", true);
  EXPECT_TRUE(original.Validate());
  EXPECT_EQ(original.outputFile, "");

  ModuleLanguage unnamed("  ", "/x", true);
  EXPECT_FALSE(unnamed.Validate());
  EXPECT_EQ(unnamed.errorCode, kLanguageNameEmpty);
}

TEST(ModuleTest, ValidationCodes) {
  Module module;
  module.path = "/m.dll";
  EXPECT_FALSE(module.Validate());
  EXPECT_EQ(module.errorCode, kModuleNoDefault);

  module.AddLanguage(ModuleLanguage("English", "/o.dll", false));
  EXPECT_FALSE(module.Validate());
  EXPECT_EQ(module.errorCode, kModuleNoDefault);

  module.AddLanguage(ModuleLanguage("Español", "", true));
  EXPECT_TRUE(module.Validate());

  module.AddLanguage(ModuleLanguage("Català", "", true));
  module.AddLanguage(ModuleLanguage("", "", false));  // also invalid, but later
  EXPECT_FALSE(module.Validate());
  EXPECT_EQ(module.errorCode, kModuleSeveralDefaults);

  Module badLanguage;
  badLanguage.AddLanguage(ModuleLanguage("Español", "", true));
  badLanguage.AddLanguage(ModuleLanguage("English", "", false));
  EXPECT_FALSE(badLanguage.Validate());
  EXPECT_EQ(badLanguage.errorCode, kModuleBadLanguage);
}

TEST(ModuleTest, LanguagesAndNames) {
  Module module;
  module.path = "/app/sub/prog.exe";
  EXPECT_EQ(module.FileName(), "prog.exe");
  EXPECT_EQ(module.Folder(), "/app/sub");
  EXPECT_EQ(module.DefaultLanguageName(), "");
  module.AddLanguage(ModuleLanguage("English", "/o", false));
  module.AddLanguage(ModuleLanguage("Español", "", true));
  module.AddLanguage(ModuleLanguage("English", "/o2", false));  // duplicates are not refused
  EXPECT_EQ(module.LanguageCount(), 3u);
  EXPECT_EQ(module.DefaultLanguageName(), "Español");
  EXPECT_EQ(module.FindLanguage("English")->outputFile, "/o");
  EXPECT_TRUE(module.RemoveLanguage("English"));
  EXPECT_EQ(module.FindLanguage("English")->outputFile, "/o2");
  EXPECT_FALSE(module.RemoveLanguage("Deutsch"));
  EXPECT_TRUE(module.RemoveLanguage("English"));
  EXPECT_TRUE(module.RemoveLanguage("Español"));
  EXPECT_EQ(module.LanguageCount(), 0u);
  module.AddLanguage(ModuleLanguage("Deutsch", "/d", false));
  EXPECT_EQ(module.LanguageCount(), 1u);
}

TEST(ModuleTest, ResourceNamesOfKind) {
  Module module;
  ModuleLanguage& original = module.AddLanguage(ModuleLanguage("Español", "", true));
  for (const char* key : {"DL_S_ABOUT (0)", "MN_N_1 (0)", "DL_S_ABOUT (2)", "DL_N_101 (1)",
                          "DL_S_MY DLG (3)", "DL_S_ABOUT (4)"}) {
    original.SetEntry(key, "x");
  }
  std::vector<std::string> names{"stale"};
  module.ResourceNamesOfKind("DL_", names);
  EXPECT_EQ(names, (std::vector<std::string>{"DL_S_ABOUT", "DL_N_101", "DL_S_MY DLG"}));
  module.ResourceNamesOfKind("VS_", names);
  EXPECT_TRUE(names.empty());
}

class ProjectTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("ulk-project-" + std::to_string(::getpid()));
    fs::create_directories(dir_);
    file_ = (dir_ / "Mod.DLL").string();
    std::ofstream(file_) << "x";
  }
  void TearDown() override { fs::remove_all(dir_); }
  fs::path dir_;
  std::string file_;
};

TEST_F(ProjectTest, AddModuleCanonicalisesAndNumbers) {
  Project project;
  Module first;
  first.path = "  " + (dir_ / "." / "Mod.DLL").string() + "  ";
  Module* added = project.AddModule(first, true);
  ASSERT_NE(added, nullptr);
  EXPECT_EQ(added->path, fs::canonical(file_).string());
  EXPECT_EQ(added->id, 1);

  Module missing;
  missing.path = (dir_ / "gone.dll").string();
  EXPECT_EQ(project.AddModule(missing, true), nullptr);
  EXPECT_EQ(project.ModuleCount(), 1u);
  Module* kept = project.AddModule(missing, false);
  ASSERT_NE(kept, nullptr);
  EXPECT_EQ(kept->path, (dir_ / "gone.dll").string());
  EXPECT_EQ(kept->id, 2);

  EXPECT_EQ(project.FindModuleByPath(file_ + " "), added);
  EXPECT_EQ(project.FindModuleByPath((dir_ / "gone.dll").string()), kept);
  EXPECT_EQ(project.FindModuleById(2), kept);

  EXPECT_TRUE(project.RemoveModule(file_));
  EXPECT_EQ(project.FindModuleById(2)->id, 2) << "no renumbering";
  Module third;
  third.path = file_;
  EXPECT_EQ(project.AddModule(third, true)->id, 3) << "ids are never reused";

  project.Clear();
  EXPECT_EQ(project.ModuleCount(), 0u);
  EXPECT_EQ(project.AddModule(third, true)->id, 1);
}

TEST(ModuleOriginalLanguageTest, TakesTheLanguageOfTheVersionInformation) {
  Module module;
  module.path = testing::FixturePath("sample64.dll");
  ModuleLanguage* original = module.AddOriginalLanguage();
  ASSERT_NE(original, nullptr);
  EXPECT_EQ(original->name, "Español (España)");
  EXPECT_TRUE(original->isDefault);
  EXPECT_EQ(module.DefaultLanguage(), original);

  Module plain;
  plain.path = testing::FixturePath("empty32.dll");
  ASSERT_NE(plain.AddOriginalLanguage(), nullptr);
  EXPECT_EQ(plain.DefaultLanguageName(), "Idioma neutro") << "no version information";

  Module unnamed;
  EXPECT_EQ(unnamed.AddOriginalLanguage(), nullptr);
  EXPECT_EQ(unnamed.LanguageCount(), 0u);
}

TEST_F(ProjectTest, CopiesAreDeep) {
  Project project;
  project.name = "Demo";
  Module module;
  module.path = file_;
  Module* stored = project.AddModule(module, true);
  stored->AddLanguage(ModuleLanguage("Español", "", true)).SetEntry("ST_N_1 (0)", "Hola");
  Project copy = project;
  copy.modules.front().DefaultLanguage()->SetEntry("ST_N_1 (0)", "Adiós");
  EXPECT_EQ(project.modules.front().DefaultLanguage()->FindEntry("ST_N_1 (0)")->text, "Hola");
  EXPECT_EQ(copy.nextModuleId, 2);
}

}  // namespace
}  // namespace ulk

namespace ulk {
namespace {

// Many inserts and removals in a random order, checked against a plain
// ordered list: the index must find exactly what the list holds.
TEST(ModuleLanguageIndexTest, AgreesWithAPlainListUnderChurn) {
  ModuleLanguage language;
  std::vector<std::pair<std::string, std::string>> reference;
  std::uint32_t state = 12345;
  const auto next = [&] {
    state = state * 1103515245u + 12345u;
    return (state >> 8) % 700;
  };
  for (int step = 0; step < 20000; ++step) {
    const std::string key = "ST_N_" + std::to_string(next()) + " (1)";
    const auto found = std::find_if(reference.begin(), reference.end(),
                                    [&](const auto& e) { return e.first == key; });
    if (step % 3 == 0) {
      EXPECT_EQ(language.RemoveEntry(key), found != reference.end());
      if (found != reference.end()) reference.erase(found);
    } else {
      language.SetEntry(key, std::to_string(step));
      if (found != reference.end()) {
        found->second = std::to_string(step);
      } else {
        reference.emplace_back(key, std::to_string(step));
      }
    }
  }
  ASSERT_EQ(language.EntryCount(), reference.size());
  auto it = language.Entries().begin();
  for (const auto& [key, text] : reference) {
    EXPECT_EQ(it->key, key);
    ASSERT_NE(language.FindEntry(key), nullptr) << key;
    EXPECT_EQ(language.FindEntry(key)->text, text);
    ++it;
  }
  for (int i = 0; i < 700; ++i) {
    const std::string key = "ST_N_" + std::to_string(i) + " (1)";
    const bool listed = std::any_of(reference.begin(), reference.end(),
                                    [&](const auto& e) { return e.first == key; });
    EXPECT_EQ(language.FindEntry(key) != nullptr, listed) << key;
  }
}

}  // namespace
}  // namespace ulk
