// Generating translated modules from fixtures built by windres and reading
// them back.
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "platform/system_error.h"
#include "platform/version_info.h"
#include "tests/test_support.h"
#include "translator/model/resource_engine.h"

namespace ulk {
namespace {

namespace fs = std::filesystem;

class GenerationTest : public ::testing::TestWithParam<const char*> {
 protected:
  GenerationTest() : dir_("generation") {}
  void SetUp() override {
    modulePath_ = dir_ / "app.dll";
    fs::copy_file(testing::FixturePath(GetParam()), modulePath_);
    module_.path = modulePath_;
    module_.AddOriginalLanguage();
    ResourceEngine engine;
    ASSERT_TRUE(engine.GetResources(&module_)) << engine.failureText;
  }
  ModuleLanguage& AddTarget(const std::string& name, const std::string& output) {
    return module_.AddLanguage(ModuleLanguage(name, output, false));
  }
  // key -> text of a module file as the reader sees it.
  std::map<std::string, std::string> TextsOf(const std::string& path) {
    ResourceEngine engine;
    EXPECT_TRUE(engine.ReadTexts(path)) << engine.failureText;
    return {engine.readTexts.begin(), engine.readTexts.end()};
  }

  testing::TempDir dir_;
  std::string modulePath_;
  Module module_;
};

TEST_P(GenerationTest, WithoutTranslationsEveryTemplateIsReproduced) {
  AddTarget("Klingon", dir_ / "out/tlh/app.dll");
  ResourceEngine engine;
  ASSERT_TRUE(engine.GenerateLanguages(&module_)) << engine.failureText;
  ModuleImage before;
  ModuleImage after;
  ASSERT_EQ(before.Open(modulePath_), 0);
  ASSERT_EQ(after.Open(dir_ / "out/tlh/app.dll"), 0) << after.Detail();
  std::size_t compared = 0;
  for (const auto& type : before.Resources()) {
    for (const auto& name : type.names) {
      for (const auto& data : name.languages) {
        const ResourceName* other = after.FindName(type.id, name.id);
        ASSERT_NE(other, nullptr) << type.id.Describe() << "/" << name.id.Describe();
        const auto same =
            std::find_if(other->languages.begin(), other->languages.end(),
                         [&](const ResourceData& d) { return d.language == data.language; });
        ASSERT_NE(same, other->languages.end());
        EXPECT_EQ(same->bytes, data.bytes) << type.id.Describe() << "/" << name.id.Describe();
        ++compared;
      }
    }
  }
  // 2 menus, 4 dialogs (ABOUT in two languages), 2 string blocks, the version
  EXPECT_EQ(compared, 9u);
  EXPECT_EQ(TextsOf(dir_ / "out/tlh/app.dll"), TextsOf(modulePath_));
  FileVersionInfo version(dir_ / "out/tlh/app.dll");
  EXPECT_EQ(version.translation(), 0x04B00C0Au) << "a user language keeps the version's locale";
}

TEST_P(GenerationTest, TranslationsReachTheModuleOnlyWhileTheirOriginalIsCurrent) {
  ModuleLanguage& english = AddTarget("Inglés (Estados Unidos)", dir_ / "en.dll");
  english.SetEntry("ST_N_1 (3)", "Line one\\nLine two");
  english.SetEntry("MN_N_1 (1)", "&Open\\tCtrl+O");
  english.SetEntry("MN_S_MAINEX (4)", "Paste special, a much longer text than before");
  english.SetEntry("DL_N_101 (0)", "About this sample library");
  english.SetEntry("DL_S_SETTINGS (4)", "Apply");
  english.SetEntry("VS_N_1 (1)", "Sample library");
  english.SetEntry("ST_N_1 (1)", "Open");
  module_.DefaultLanguage()->FindEntry("ST_N_1 (1)")->text = "Abrir (editado)";
  ResourceEngine engine;
  ASSERT_TRUE(engine.GenerateLanguages(&module_)) << engine.failureText;

  std::map<std::string, std::string> expected = TextsOf(modulePath_);
  expected["ST_N_1 (3)"] = "Line one\\nLine two";
  expected["MN_N_1 (1)"] = "&Open\\tCtrl+O";
  expected["MN_S_MAINEX (4)"] = "Paste special, a much longer text than before";
  expected["DL_N_101 (0)"] = "About this sample library";
  expected["DL_S_SETTINGS (4)"] = "Apply";
  expected["VS_N_1 (1)"] = "Sample library";
  EXPECT_EQ(TextsOf(dir_ / "en.dll"), expected) << "ST_N_1 (1) stays: its original was edited";

  FileVersionInfo version(dir_ / "en.dll");
  EXPECT_EQ(version.translation(), 0x00000409u) << "moved to the target's locale";
  EXPECT_EQ(version.GetString("FileDescription"), "Sample library");
  ModuleImage image;
  ASSERT_EQ(image.Open(dir_ / "en.dll"), 0);
  const ResourceName* versions = image.FindName(ResourceId::Number(16), ResourceId::Number(1));
  ASSERT_EQ(versions->languages.size(), 1u);
  EXPECT_EQ(versions->languages[0].language, 0x0409);
  EXPECT_EQ(image.FindName(ResourceId::Number(5), ResourceId::Name(std::string_view("ABOUT")))
                ->languages.size(),
            2u)
      << "the other language of a resource stays";
}

TEST_P(GenerationTest, OutputsThatAreTheModuleItselfAreRefused) {
  const std::string original = testing::ReadFileBytes(modulePath_);
  fs::create_directory(dir_ / "sub");
  fs::create_symlink(modulePath_, dir_ / "link.dll");
  for (const std::string& output :
       {dir_ / "APP.DLL", dir_ / "sub/../app.dll", dir_ / "link.dll", dir_ / "sub/../APP.DLL"}) {
    module_.languages.resize(1);
    AddTarget("Klingon", output);
    ResourceEngine engine;
    EXPECT_FALSE(engine.GenerateLanguages(&module_)) << output;
    EXPECT_EQ(engine.failureKind, kFailureCannotWrite);
    EXPECT_NE(engine.failureText.find(output), std::string::npos) << engine.failureText;
    EXPECT_EQ(testing::ReadFileBytes(modulePath_), original);
  }
}

TEST_P(GenerationTest, AFailingLanguageDoesNotStopTheNext) {
  testing::WriteFileBytes(dir_ / "blocker", "a file where a folder should be");
  AddTarget("Uno", dir_ / "a/b/c/one.dll");
  AddTarget("Dos", dir_ / "blocker/two.dll");
  AddTarget("Tres", dir_ / "three.dll");
  AddTarget("Cuatro", dir_ / "blocker/four.dll");
  ResourceEngine engine;
  EXPECT_FALSE(engine.GenerateLanguages(&module_));
  EXPECT_EQ(engine.failureKind, kFailureCannotWrite);
  EXPECT_TRUE(fs::exists(dir_ / "a/b/c/one.dll")) << "missing folders are created";
  EXPECT_TRUE(fs::exists(dir_ / "three.dll"));
  // Written on several threads, reported in the module's order: the last
  // failure is the one told.
  ASSERT_EQ(engine.written.size(), 2u);
  EXPECT_EQ(engine.written[0].first->name, "Uno");
  EXPECT_EQ(engine.written[1].first->name, "Tres");
  EXPECT_NE(engine.failureText.find("four.dll"), std::string::npos) << engine.failureText;

  // One language alone writes the same module as among others.
  const std::string name = "Tres";
  const std::string amongOthers = testing::ReadFileBytes(dir_ / "three.dll");
  fs::remove(dir_ / "three.dll");
  ResourceEngine single;
  EXPECT_TRUE(single.GenerateLanguages(&module_, &name));
  EXPECT_TRUE(testing::ReadFileBytes(dir_ / "three.dll") == amongOthers);
}

TEST_P(GenerationTest, AReadOnlyModuleGivesAWritableCopy) {
  fs::permissions(modulePath_, fs::perms::owner_read | fs::perms::group_read);
  AddTarget("Klingon", dir_ / "tlh.dll");
  ResourceEngine engine;
  ASSERT_TRUE(engine.GenerateLanguages(&module_)) << engine.failureText;
  EXPECT_NE(fs::status(dir_ / "tlh.dll").permissions() & fs::perms::owner_write, fs::perms::none);
}

TEST_P(GenerationTest, ModulesThatCannotBeReadAreReported) {
  AddTarget("Klingon", dir_ / "tlh.dll");
  Module incomplete;
  incomplete.path = modulePath_;
  ResourceEngine engine;
  EXPECT_FALSE(engine.GenerateLanguages(nullptr));
  EXPECT_EQ(engine.failureKind, kFailureNoModule);
  EXPECT_FALSE(engine.GenerateLanguages(&incomplete));
  EXPECT_EQ(engine.failureKind, kFailureTooFewLanguages);
  incomplete.AddLanguage(ModuleLanguage("A", "", true));
  incomplete.AddLanguage(ModuleLanguage("B", "", false));
  EXPECT_FALSE(engine.GenerateLanguages(&incomplete));
  EXPECT_EQ(engine.failureKind, kFailureInvalidModule);

  // Damaged between reading and generating.
  std::string bytes = testing::ReadFileBytes(modulePath_);
  ModuleImage image;
  ASSERT_EQ(image.Load(bytes), 0);
  std::uint64_t root = 0;
  image.FileOffsetOf(image.Headers().directories[kDirResource].rva, 16, root);
  bytes[static_cast<std::size_t>(root) + 14] = '\xFF';
  bytes[static_cast<std::size_t>(root) + 15] = '\xFF';
  testing::WriteFileBytes(modulePath_, bytes);
  EXPECT_FALSE(engine.GenerateLanguages(&module_));
  EXPECT_EQ(engine.failureKind, kFailureCannotOpen);
  EXPECT_NE(engine.failureText.find(modulePath_), std::string::npos);

  fs::remove(modulePath_);  // vanished
  EXPECT_FALSE(engine.GenerateLanguages(&module_));
  EXPECT_EQ(engine.failureKind, kFailureCannotOpen);
  EXPECT_FALSE(fs::exists(dir_ / "tlh.dll"));

  const std::size_t entries = module_.DefaultLanguage()->EntryCount();
  EXPECT_FALSE(engine.GetResources(&module_));
  EXPECT_EQ(engine.failureKind, kFailureCannotOpen);
  EXPECT_EQ(module_.DefaultLanguage()->EntryCount(), entries) << "nothing changes on failure";
}

// A NUL in a translation would end a template's text early and make the
// rest read as structure: the writer refuses the whole module, and the
// previous output stays.
TEST_P(GenerationTest, ATranslationWithANulIsNeverWritten) {
  ModuleLanguage& target = AddTarget("Klingon", dir_ / "nul.dll");
  testing::WriteFileBytes(dir_ / "nul.dll", "previous");
  for (const std::string prefix : {"MN_", "DL_", "ST_", "VS_"}) {
    for (const TextEntry& entry : module_.DefaultLanguage()->Entries()) {
      if (entry.key.rfind(prefix, 0) != 0) continue;
      target.SetEntry(entry.key, std::string("a\0b", 3));
      ResourceEngine engine;
      EXPECT_FALSE(engine.GenerateLanguages(&module_)) << entry.key;
      EXPECT_NE(engine.failureText.find("carácter nulo"), std::string::npos) << engine.failureText;
      EXPECT_EQ(testing::ReadFileBytes(dir_ / "nul.dll"), "previous") << entry.key;
      target.SetEntry(entry.key, "");
      break;
    }
  }
}

TEST_P(GenerationTest, AFullDiskLeavesNoHalfWrittenOutput) {
  AddTarget("Klingon", dir_ / "full.dll");
  const std::string original = testing::ReadFileBytes(modulePath_);
  struct rlimit saved {};
  ::getrlimit(RLIMIT_FSIZE, &saved);
  struct rlimit small = saved;
  small.rlim_cur = 1024;  // writes past 1 KiB fail as on a full disk
  const auto previous = ::signal(SIGXFSZ, SIG_IGN);
  ::setrlimit(RLIMIT_FSIZE, &small);
  ResourceEngine engine;
  const bool generated = engine.GenerateLanguages(&module_);
  ::setrlimit(RLIMIT_FSIZE, &saved);
  ::signal(SIGXFSZ, previous);
  EXPECT_FALSE(generated);
  EXPECT_EQ(engine.failureKind, kFailureCannotWrite);
  EXPECT_NE(engine.failureText.find("(#27)"), std::string::npos) << engine.failureText;
  EXPECT_FALSE(fs::exists(dir_ / "full.dll"));
  std::size_t files = 0;
  for (const auto& entry : fs::directory_iterator(dir_.path())) files += entry.is_regular_file();
  EXPECT_EQ(files, 1u) << "no temporary file is left";
  EXPECT_EQ(testing::ReadFileBytes(modulePath_), original);
}

INSTANTIATE_TEST_SUITE_P(BothFormats, GenerationTest,
                         ::testing::Values("sample32.dll", "sample64.dll"));

TEST(TemplateLibraryTest, ExtractedAndFilledWithAResource) {
  testing::TempDir dir("template");
  ResourceEngine engine;
  const std::string library = dir / "DLL0001.tmp";
  ASSERT_TRUE(engine.ExtractResourceToFile(ResourceId::Name(std::string_view("DLL")),
                                           ResourceId::Number(kTemplateLibraryId), library,
                                           nullptr));
  ModuleImage image;
  ASSERT_EQ(image.Open(library), 0) << image.Detail();
  EXPECT_FALSE(image.Headers().is64);
  EXPECT_TRUE(image.Resources().empty());

  EXPECT_FALSE(engine.ExtractResourceToFile(ResourceId::Name(std::string_view("DLL")),
                                            ResourceId::Number(150), library, nullptr));
  EXPECT_EQ(engine.failureKind, kFailureResourceNotFound);
  EXPECT_FALSE(engine.ExtractResourceToFile(ResourceId::Name(std::string_view("DLL")),
                                            ResourceId::Number(kTemplateLibraryId),
                                            dir / "no/such/folder/x.dll", nullptr));
  EXPECT_EQ(engine.failureKind, kFailureCannotCreateFile);

  ModuleImage sample;
  ASSERT_EQ(sample.Open(testing::FixturePath("sample64.dll")), 0);
  for (int copy = 0; copy < 2; ++copy) {  // the second replaces the first
    ASSERT_TRUE(engine.CopyResourceToLibrary(sample, ResourceId::Number(kRtDialog),
                                             ResourceId::Number(101), library))
        << engine.failureText;
  }
  ASSERT_EQ(image.Open(library), 0) << image.Detail();
  const ResourceName* dialog =
      image.FindName(ResourceId::Number(kRtDialog), ResourceId::Number(101));
  ASSERT_NE(dialog, nullptr);
  ASSERT_EQ(dialog->languages.size(), 1u);
  EXPECT_EQ(dialog->languages[0].language, 0);
  EXPECT_EQ(dialog->languages[0].bytes,
            sample.Find(ResourceId::Number(kRtDialog), ResourceId::Number(101))->bytes);

  EXPECT_FALSE(engine.CopyResourceToLibrary(sample, ResourceId::Number(kRtDialog),
                                            ResourceId::Number(999), library));
  EXPECT_EQ(engine.failureKind, kFailureNone) << "a missing resource has no kind";
  EXPECT_FALSE(engine.CopyResourceToLibrary(sample, ResourceId::Number(kRtDialog),
                                            ResourceId::Number(101), dir / "none.dll"));
  EXPECT_EQ(engine.failureKind, kFailureCannotLoadLibrary);
}

}  // namespace
}  // namespace ulk
